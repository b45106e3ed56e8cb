// Help screens and the about box: pictures built in, window sized to the picture,
// closing by click and Escape only, and the system-information command.

#include "TestCommon.h"

#include "help/HelpScreens.h"
#include "help/SysInfo.h"
#include "help/frmAbout.h"
#include "help/frmHilfeEtikett.h"
#include "help/frmHilfeSerienbrief.h"
#include "help/hilfe3.h"

#include <QRegularExpression>
#include <QScreen>
#include <memory>

namespace {

std::unique_ptr<HelpScreen> make(const QString& name)
{
    if (name == QLatin1String("hilfe3"))
        return std::make_unique<hilfe3>();
    if (name == QLatin1String("frmHilfeSerienbrief"))
        return std::make_unique<frmHilfeSerienbrief>();
    return std::make_unique<frmHilfeEtikett>();
}

// Share of pixels that are not white: a page of text, not an empty picture.
double inked(const QImage& image)
{
    int ink = 0;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            ink += image.pixel(x, y) != qRgb(255, 255, 255);
    return ink / double((image.width() / 3) * (image.height() / 3));
}

} // namespace

class TstHelp : public QObject {
    Q_OBJECT
    ScriptedPrompter* m_prompts = nullptr;

private Q_SLOTS:
    void initTestCase() { m_prompts = installScriptedPrompter(); }
    void init() { m_prompts->clear(); }

    void screens_data()
    {
        // border: pixels beside the picture
        addColumns<QString, int>("name", "border");
        QTest::newRow("hilfe3") << "hilfe3" << 100 / 15;
        QTest::newRow("frmHilfeSerienbrief") << "frmHilfeSerienbrief" << 0;
        QTest::newRow("frmHilfeEtikett") << "frmHilfeEtikett" << 0;
    }
    void screens()
    {
        QFETCH(QString, name);
        QFETCH(int, border);
        const auto w = make(name);
        const QPixmap picture = w->Picture1->pixmap();
        const double ink = inked(picture.toImage());
        QVERIFY2(ink > 0.02 && ink < 0.6, qPrintable(QString::number(ink)));
        // As large as the picture, unless the screen is smaller: then the picture scrolls.
        const QSize want = picture.size() + QSize(border, border);
        const QSize room = w->screen()->availableGeometry().size() - QSize(0, 40);
        QCOMPARE(w->size(), want.boundedTo(room));
    }

    void closingByEscapeAndClickOnly()
    {
        hilfe3 k;
        k.show();
        QVERIFY(QTest::qWaitForWindowExposed(&k));
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Space, Qt::Key_F1}) {
            QTest::keyClick(&k, key);
            QVERIFY(k.isVisible());
        }
        QTest::mouseClick(k.Picture1, Qt::RightButton);
        QVERIFY(k.isVisible());
        QTest::keyClick(&k, Qt::Key_Escape);
        QVERIFY(!k.isVisible());
        QCOMPARE(k.result(), int(QDialog::Rejected));
        k.show();
        // The border beside the picture belongs to the window.
        QTest::mouseClick(&k, Qt::LeftButton, {}, QPoint(k.width() - 2, k.height() - 2));
        QVERIFY(!k.isVisible());
    }

    void sysInfo_data()
    {
        addColumns<QString, bool, bool>("tool", "starts", "message");
        QTest::newRow("none installed") << "" << true << true;
        QTest::newRow("installed") << "/usr/bin/kinfocenter" << true << false;
        QTest::newRow("fails to start") << "/usr/bin/kinfocenter" << false << true;
    }
    void sysInfo()
    {
        QFETCH(QString, tool);
        QFETCH(bool, starts);
        QFETCH(bool, message);
        QStringList started;
        SysInfo::setFinder([tool] { return tool; });
        SysInfo::setStarter([&started, starts](const QString& p) {
            started << p;
            return starts;
        });
        frmAbout a;
        QTest::mouseClick(a.cmdSysInfo, Qt::LeftButton);
        SysInfo::setFinder({});
        SysInfo::setStarter({});
        QCOMPARE(started, tool.isEmpty() ? QStringList() : QStringList{tool});
        QCOMPARE(m_prompts->count(QStringLiteral("message")), message ? 1 : 0);
        if (message)
            QCOMPARE(m_prompts->last().text,
                     QString::fromUtf8("Systeminformationsprogramm zur Zeit nicht verfügbar."));
    }
};

QTEST_MAIN(TstHelp)
#include "tst_help.moc"
