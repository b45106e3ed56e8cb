#include "engine/TextControl.h"
#include "shell/ShellRules.h"

#include <QTest>

using namespace ShellRules;

class TestShellRules : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void headerFooterStep_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("part"); // -1: the button does nothing
        QTest::addColumn<bool>("store");
        const QString sw = QStringLiteral("SwitchBetweenHeaderAndFooter");
        const QString first = QStringLiteral("GoToFirstPage");
        const QString def = QStringLiteral("GoToDefault");
        QTest::newRow("switch 1>4") << sw << 1 << 4 << true;
        QTest::newRow("switch 4>1") << sw << 4 << 1 << true;
        QTest::newRow("switch 2>8") << sw << 2 << 8 << true;
        QTest::newRow("switch 8>2") << sw << 8 << 2 << true;
        QTest::newRow("switch 0 re-activates 0") << sw << 0 << 0 << false;
        QTest::newRow("switch 3 re-activates 3") << sw << 3 << 3 << false;
        QTest::newRow("first 4>8") << first << 4 << 8 << false;
        QTest::newRow("first 1>2") << first << 1 << 2 << false;
        QTest::newRow("first 2 nothing") << first << 2 << -1 << false;
        QTest::newRow("first 8 nothing") << first << 8 << -1 << false;
        QTest::newRow("first 0 nothing") << first << 0 << -1 << false;
        QTest::newRow("default 8>4") << def << 8 << 4 << false;
        QTest::newRow("default 2>1") << def << 2 << 1 << false;
        QTest::newRow("default 1 nothing") << def << 1 << -1 << false;
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
        QTest::addColumn<int>("twips");
        QTest::addColumn<int>("zoom");
        QTest::newRow("6000 twips") << 6000 << 48;
        QTest::newRow("1000 px") << pixelsToTwips(1000) << 120;
        QTest::newRow("rounds, not truncates") << 6100 << 49; // 48.8
        QTest::newRow("zero") << 0 << 0;
    }
    void zoomForWidth()
    {
        QFETCH(int, twips);
        QTEST(ShellRules::zoomForWidth(twips), "zoom");
    }

    void editCaptions_data()
    {
        QTest::addColumn<int>("undoKind");
        QTest::addColumn<QString>("undo");
        QTest::addColumn<int>("redoKind");
        QTest::addColumn<QString>("redo");
        QTest::newRow("typing") << 1 << "Rückgängig Eingabe" << 10 << "Wiederholen Eingabe";
        QTest::newRow("deleting") << 2 << "Rückgängig Löschen" << 11 << "Wiederholen Löschen";
        QTest::newRow("formatting") << 3 << "Rückgängig Formatierung" << 12
                                    << "Wiederholen Formatierung";
        QTest::newRow("none") << 0 << "Rückgängig" << 0 << "Wiederholen";
        QTest::newRow("other") << 4 << "Rückgängig" << 13 << "Wiederholen";
        // The redo kinds are not the undo kinds.
        QTest::newRow("swapped") << 10 << "Rückgängig" << 1 << "Wiederholen";
    }
    void editCaptions()
    {
        QFETCH(int, undoKind);
        QFETCH(int, redoKind);
        QTEST(undoCaption(undoKind), "undo");
        QTEST(redoCaption(redoKind), "redo");
    }

    void zoomFromCaption_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("zoom");
        QTest::newRow("10%") << "10%" << 10;
        QTest::newRow("150%") << "150%" << 150;
        QTest::newRow("400%") << "400%" << 400;
        QTest::newRow("access key") << "&200%" << 200;
        QTest::newRow("no number") << "Zoom" << 0;
    }
    void zoomFromCaption()
    {
        QFETCH(QString, caption);
        QTEST(ShellRules::zoomFromCaption(caption), "zoom");
    }
};

QTEST_MAIN(TestShellRules)
#include "tst_shellrules.moc"
