#include "app/FormControls.h"

#include <QTest>
#include <QWidget>

using namespace FormControls;

class TestFormControls : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void captionsStandLeftOfTheirFields_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("span");
        QTest::newRow("first column") << 0 << 0 << 1;
        QTest::newRow("third column") << 2 << 2 << 1;
        QTest::newRow("spanning") << 1 << 0 << 3;
    }
    void captionsStandLeftOfTheirFields()
    {
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(int, span);
        QWidget window;
        auto* grid = new QGridLayout(&window);
        QLineEdit* field = edit(QStringLiteral("Text4"));
        addLabelled(grid, {{"Straße", field, row, col, span}});

        const int fieldAt = grid->indexOf(field);
        int r, c, rs, cs;
        grid->getItemPosition(fieldAt, &r, &c, &rs, &cs);
        QCOMPARE(QList<int>({r, c, rs, cs}), QList<int>({row, col + 1, 1, span}));
        QLayoutItem* at = grid->itemAtPosition(row, col);
        QVERIFY(at);
        auto* caption = qobject_cast<QLabel*>(at->widget());
        QVERIFY(caption);
        QCOMPARE(caption->text(), QStringLiteral("Straße"));
        QCOMPARE(caption->buddy(), field);
    }

    void optionsAreAnArrayFilledRowByRow_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("firstRow");
        QTest::newRow("one column") << 4 << 1 << 0;
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
            QCOMPARE(options[i]->text(), captions[i]);
            QLayoutItem* at = grid->itemAtPosition(firstRow + i / columns, i % columns);
            QVERIFY(at);
            QCOMPARE(at->widget(), options[i]);
        }
        // One group: choosing one clears the others.
        options.first()->setChecked(true);
        options.last()->setChecked(true);
        QCOMPARE(options.first()->isChecked(), count == 1);
    }

    void buttonsNeverTakeEnter()
    {
        QPushButton* b = button(QStringLiteral("Command1"), QStringLiteral("Brief &erstellen"), QStringLiteral("Hinweis"));
        QCOMPARE(b->objectName(), QStringLiteral("Command1"));
        QCOMPARE(b->toolTip(), QStringLiteral("Hinweis"));
        QVERIFY(!b->autoDefault());
        QVERIFY(!b->isDefault());
        delete b;
    }
};

QTEST_MAIN(TestFormControls)
#include "tst_formcontrols.moc"
