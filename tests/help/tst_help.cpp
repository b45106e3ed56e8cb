// Help screens and the about box: pictures built in, window sized to the picture,
// closing by click and Escape only, and the system-information command.

#include "TestFiles.h"

#include "help/HelpScreens.h"
#include "help/SysInfo.h"
#include "help/frmAbout.h"
#include "help/frmHilfeEtikett.h"
#include "help/frmHilfeSerienbrief.h"
#include "help/hilfe3.h"

#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
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
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("border"); // pixels beside the picture
        QTest::newRow("hilfe3") << "hilfe3" << "Hilfe Kontorix" << 100 / 15;
        QTest::newRow("frmHilfeSerienbrief") << "frmHilfeSerienbrief" << "  Hilfe Serienbrief" << 0;
        QTest::newRow("frmHilfeEtikett") << "frmHilfeEtikett" << "Hilfe Etiketten" << 0;
    }
    void screens()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(int, border);
        const auto w = make(name);
        QCOMPARE(w->objectName(), name);
        QCOMPARE(w->windowTitle(), caption);
        const QPixmap picture = w->Picture1->pixmap();
        QVERIFY(picture.width() >= 600 && picture.height() >= 400);
        const double ink = inked(picture.toImage());
        QVERIFY2(ink > 0.02 && ink < 0.6, qPrintable(QString::number(ink)));
        QCOMPARE(w->Picture1->pos(), QPoint(0, 0));
        // As large as the picture, unless the screen is smaller: then the picture scrolls.
        const QSize want = picture.size() + QSize(border, border);
        const QSize room = w->screen()->availableGeometry().size() - QSize(0, 40);
        QCOMPARE(w->size(), want.boundedTo(room));
        QCOMPARE(w->Picture1->size(), picture.size());
    }

    void keys_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("hilfe3") << "hilfe3";
        QTest::newRow("frmHilfeSerienbrief") << "frmHilfeSerienbrief";
        QTest::newRow("frmHilfeEtikett") << "frmHilfeEtikett";
    }
    void keys()
    {
        QFETCH(QString, name);
        const auto w = make(name);
        w->show();
        for (int key : {int(Qt::Key_Return), int(Qt::Key_Enter), int(Qt::Key_Space), int(Qt::Key_A),
                        int(Qt::Key_F1), int(Qt::Key_Down)}) {
            QTest::keyClick(w.get(), Qt::Key(key));
            QVERIFY2(w->isVisible(), qPrintable(QString::number(key, 16)));
        }
        QTest::keyClick(w.get(), Qt::Key_Escape);
        QVERIFY(!w->isVisible());
        QCOMPARE(w->result(), int(QDialog::Rejected));
    }

    void clickOnPictureCloses()
    {
        frmHilfeSerienbrief w;
        w.show();
        QTest::mouseClick(w.Picture1, Qt::RightButton);
        QVERIFY(w.isVisible());
        QTest::mouseClick(w.Picture1, Qt::LeftButton);
        QVERIFY(!w.isVisible());
        hilfe3 k;
        k.show();
        QVERIFY(QTest::qWaitForWindowExposed(&k));
        // The border beside the picture belongs to the window.
        QTest::mouseClick(&k, Qt::LeftButton, {}, QPoint(k.width() - 2, k.height() - 2));
        QVERIFY(!k.isVisible());
    }

    void entryPointsShowModally_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("window");
        QTest::newRow("Kontorix") << 0 << "hilfe3";
        QTest::newRow("Serienbrief") << 1 << "frmHilfeSerienbrief";
        QTest::newRow("Etikett") << 2 << "frmHilfeEtikett";
        QTest::newRow("About") << 3 << "frmAbout";
    }
    void entryPointsShowModally()
    {
        QFETCH(int, which);
        QFETCH(QString, window);
        void (*show[])(QWidget*) = {HelpScreens::showKontorix, HelpScreens::showSerienbrief,
                                    HelpScreens::showEtikett, HelpScreens::showAbout};
        show[which](nullptr);
        QCOMPARE(m_prompts->count(QStringLiteral("exec")), 1);
        QCOMPARE(m_prompts->last().text, window);
    }

    void about()
    {
        frmAbout a;
        QCOMPARE(a.lblCompanyProduct->text(), QStringLiteral("Textverarbeitung mit Kontorix"));
        QVERIFY(QRegularExpression(QStringLiteral("^Version \\d+\\.\\d+\\.\\d+$"))
                    .match(a.lblVersion->text())
                    .hasMatch());
        QCOMPARE(a.cmdSysInfo->text(), QStringLiteral("&Systeminfo..."));
        QVERIFY(!a.Picture1->pixmap().isNull());
        a.show();
        QTest::mouseClick(a.cmdOK, Qt::LeftButton);
        QCOMPARE(a.result(), int(QDialog::Accepted));
    }

    void sysInfo_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<bool>("starts");
        QTest::addColumn<bool>("message");
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
