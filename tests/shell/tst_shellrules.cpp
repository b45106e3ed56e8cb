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
        QTest::addColumn<int>("twips");
        QTest::addColumn<int>("zoom");
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
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("zoom");
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

QTEST_MAIN(TestShellRules)
#include "tst_shellrules.moc"
