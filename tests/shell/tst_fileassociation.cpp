#include "TestCommon.h"
#include "engine/surface/TextControl.h"
#include "shell/FileAssociation.h"
#include "shell/ShellRules.h"


using namespace FileAssociation;

namespace {

QString readText(const QString& path) { return QString::fromUtf8(readAll(path)); }

bool registerTxm(const Target& t, const QString& command = QStringLiteral("qx-text %1"))
{
    return RegisterFileType(QStringLiteral(".txm"), QStringLiteral("Textdokument"), QStringLiteral("QX-Text.exe"),
                            command, t);
}

} // namespace

class TestFileAssociation : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writesTypeEntryAndDefault()
    {
        QTemporaryDir dir;
        const Target t{dir.filePath(QStringLiteral("share")), dir.filePath(QStringLiteral("config"))};
        QVERIFY(registerTxm(t, QStringLiteral("\"/opt/qx text/qx-text\" %1")));
        QCOMPARE(mimeTypeFor(QStringLiteral("TXM")), QStringLiteral("application/x-qx-text-txm"));
        const QString xml = readText(t.dataFolder + QStringLiteral("/mime/packages/qx-text.xml"));
        QVERIFY(xml.contains(QStringLiteral("<mime-type type=\"application/x-qx-text-txm\">")));
        QVERIFY(xml.contains(QStringLiteral("<glob pattern=\"*.txm\"/>")));
        const QString entry = readText(t.dataFolder + QStringLiteral("/applications/qx-text.desktop"));
        QVERIFY(entry.contains(QStringLiteral("\nExec=\"/opt/qx text/qx-text\" %f\n")));
        QVERIFY(entry.contains(QStringLiteral("\nMimeType=application/x-qx-text-txm;\n")));
        QCOMPARE(readText(t.configFolder + QStringLiteral("/mimeapps.list")),
                 QStringLiteral("[Default Applications]\n"
                                "application/x-qx-text-txm=qx-text.desktop\n"));
    }

    void keepsOtherDefaultsAndReplacesOwnLine()
    {
        QTemporaryDir dir;
        const Target t{dir.filePath(QStringLiteral("share")), dir.path()};
        const QString list = dir.filePath(QStringLiteral("mimeapps.list"));
        QVERIFY(writeAll(list, "[Added Associations]\ntext/plain=gedit.desktop;\n\n"
                               "[Default Applications]\napplication/x-qx-text-txm=old.desktop\n"
                               "text/html=firefox.desktop\n"));
        QVERIFY(registerTxm(t));
        QVERIFY(registerTxm(t));
        QCOMPARE(readText(list),
                 QStringLiteral("[Added Associations]\ntext/plain=gedit.desktop;\n\n"
                                "[Default Applications]\napplication/x-qx-text-txm=qx-text.desktop\n"
                                "text/html=firefox.desktop\n"));
    }

    void stopsAtTheFirstFailingStep()
    {
        QTemporaryDir dir;
        const QString blocker = dir.filePath(QStringLiteral("share"));
        QVERIFY(writeAll(blocker, "x")); // a file where the folder should be
        const Target t{blocker, dir.filePath(QStringLiteral("config"))};
        QVERIFY(!registerTxm(t));
        QVERIFY(!QFile::exists(t.configFolder + QStringLiteral("/mimeapps.list")));
    }

    // The toolbar and zoom rules of the frame, without a window.
    void headerFooterStep_data()
    {
        // part: -1: the button does nothing
        addColumns<QString, int, int, bool>("key", "current", "part", "store");
        const QString sw = QStringLiteral("SwitchBetweenHeaderAndFooter");
        const QString def = QStringLiteral("GoToDefault");
        QTest::newRow("switch 1>4") << sw << 1 << 4 << true;
        QTest::newRow("switch 8>2") << sw << 8 << 2 << true;
        QTest::newRow("switch 0 re-activates 0") << sw << 0 << 0 << false;
        QTest::newRow("default 2>1") << def << 2 << 1 << false;
        QTest::newRow("default 4 nothing") << def << 4 << -1 << false;
        QTest::newRow("other key") << QStringLiteral("Save") << 1 << -1 << false;
    }
    void headerFooterStep()
    {
        QFETCH(QString, key);
        QFETCH(int, current);
        QFETCH(int, part);
        const auto step = ShellRules::headerFooterStep(key, current);
        if (part < 0) {
            QVERIFY(!step.has_value());
            return;
        }
        QVERIFY(step.has_value());
        QCOMPARE(step->part, part);
        QTEST(step->store, "store");
    }

    void zoomForWidth_data()
    {
        addColumns<int, int>("twips", "zoom");
        QTest::newRow("rounds, not truncates") << 6100 << 49; // 48.8
        QTest::newRow("zero") << 0 << 0;
    }
    void zoomForWidth()
    {
        QFETCH(int, twips);
        QTEST(ShellRules::zoomForWidth(twips), "zoom");
    }

    void zoomFromCaption_data()
    {
        addColumns<QString, int>("caption", "zoom");
        QTest::newRow("10%") << "10%" << 10;
        QTest::newRow("access key") << "&200%" << 200;
        QTest::newRow("no number") << "Zoom" << 0;
    }
    void zoomFromCaption()
    {
        QFETCH(QString, caption);
        QTEST(ShellRules::zoomFromCaption(caption), "zoom");
    }
};

QTEST_MAIN(TestFileAssociation)
#include "tst_fileassociation.moc"
