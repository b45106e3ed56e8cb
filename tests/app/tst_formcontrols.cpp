#include "app/FormControls.h"

#include "TestCommon.h"
#include <QWidget>

using namespace FormControls;

class TestFormControls : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void optionsAreAnArrayFilledRowByRow_data()
    {
        addColumns<int, int, int>("count", "columns", "firstRow");
        QTest::newRow("three to a row, last row short") << 11 << 3 << 0;
        QTest::newRow("below other rows") << 5 << 2 << 3;
    }
    void optionsAreAnArrayFilledRowByRow()
    {
        QFETCH(int, count);
        QFETCH(int, columns);
        QFETCH(int, firstRow);
        QWidget window;
        auto* grid = new QGridLayout(&window);
        QStringList captions;
        for (int i = 0; i < count; ++i)
            captions << QStringLiteral("Wahl %1").arg(i);
        QList<QRadioButton*> options;
        addOptions(grid, options, QStringLiteral("Option1"), captions, columns, firstRow);

        QCOMPARE(options.size(), count);
        for (int i = 0; i < count; ++i) {
            QCOMPARE(options[i]->objectName(), QStringLiteral("Option1(%1)").arg(i));
            QLayoutItem* at = grid->itemAtPosition(firstRow + i / columns, i % columns);
            QVERIFY(at);
            QCOMPARE(at->widget(), options[i]);
        }
    }
};

QTEST_MAIN(TestFormControls)
#include "tst_formcontrols.moc"
