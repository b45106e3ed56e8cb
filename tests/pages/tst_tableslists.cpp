// Tables by id with their selection arithmetic, and the list level commands.

#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "engine/Lists.h"
#include "engine/Tables.h"
#include "engine/TextControl.h"

#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

namespace {
void caretToEnd(TextControl& tc)
{
    QTextCursor end(tc.doc()->body());
    end.movePosition(QTextCursor::End);
    tc.setTextCursor(end);
}
} // namespace

class TstTablesLists : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void insertKeepsCallersIdOrMakesOne()
    {
        TextControl tc;
        QCOMPARE(tc.TableInsert(2, 3, -1, 7), 7);
        caretToEnd(tc);
        const int fresh = tc.TableInsert(1, 1, -1, -1);
        QVERIFY(fresh > 0 && fresh != 7);
        caretToEnd(tc);
        const int dup = tc.TableInsert(1, 1, -1, 7);
        QVERIFY(dup != 7 && dup != fresh);
        QCOMPARE(tc.TableRows(7), 2);
        QCOMPARE(tc.TableColumns(7), 3);
        QCOMPARE(Tables::all(tc.doc()->body()).size(), 3);
        QCOMPARE(tc.TableInsert(0, 2, -1, 9), 0); // no rows: nothing inserted
    }

    void cellTextsReadAndWrite()
    {
        TextControl tc;
        const int id = tc.TableInsert(3, 2, -1, 4);
        tc.setTableCellText(id, 1, 1, QStringLiteral("Name"));
        tc.setTableCellText(id, 3, 2, QStringLiteral("Zeile 1\r\nZeile 2"));
        QCOMPARE(tc.TableCellText(id, 1, 1), QStringLiteral("Name"));
        QCOMPARE(tc.TableCellText(id, 3, 2), QStringLiteral("Zeile 1\r\nZeile 2"));
        QCOMPARE(tc.TableCellText(id, 2, 2), QString());
        QCOMPARE(tc.TableCellText(id, 4, 1), QString()); // outside
        QCOMPARE(tc.TableCellText(99, 1, 1), QString()); // unknown table
        tc.setTableCellText(id, 1, 1, QStringLiteral("X"));
        QCOMPARE(tc.TableCellText(id, 1, 1), QStringLiteral("X"));
        QCOMPARE(tc.TableCellLength(id, 1, 1), 1);
        QCOMPARE(tc.TableCellLength(id, 3, 2), 15);
    }

    void caretAfterTableAndFormat()
    {
        // As an envelope is built: small sender table, line breaks, then the address table.
        TextControl tc;
        tc.setFontSize(7);
        QCOMPARE(tc.TableInsert(3, 1, -1, 10), 10);
        QCOMPARE(tc.TableAtInputPos(), 0); // the caret stands after the table
        tc.setFontSize(12);
        tc.setSelText(QStringLiteral("\r\n\r\n"));
        QCOMPARE(tc.TableInsert(6, 2, -1, 11), 11);
        tc.setTableCellText(10, 1, 1, QStringLiteral("Absender"));
        tc.setTableCellText(11, 2, 2, QStringLiteral("Empfänger"));
        QTextCursor c(tc.doc()->body());
        c.setPosition(tc.TableCellStart(10, 1, 1)); // after the first character
        QCOMPARE(c.charFormat().fontPointSize(), 7.0);
        c.setPosition(tc.TableCellStart(11, 2, 2));
        QCOMPARE(c.charFormat().fontPointSize(), 12.0);
        QVERIFY(Tables::find(tc.doc()->body(), 10)->lastPosition() < Tables::find(tc.doc()->body(), 11)->firstPosition());
    }

    void equalColumnWidths()
    {
        QTextDocument d;
        QTextCursor c(&d);
        const int id = Tables::insert(c, 1, 4);
        const QTextTableFormat f = Tables::find(&d, id)->format();
        QCOMPARE(f.columnWidthConstraints().size(), 4);
        for (const QTextLength& l : f.columnWidthConstraints())
            QCOMPARE(l.rawValue(), 25.0);
        QCOMPARE(f.width().rawValue(), 100.0);
        QCOMPARE(f.intProperty(EngineProperty::TableId), id);
    }

    void spanArithmetic_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<int>("lastLength");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::newRow("row of one cell") << 10 << 10 << 4 << 9 << 4;
        QTest::newRow("table") << 2 << 20 << 3 << 1 << 21;
        QTest::newRow("no cell") << 0 << 5 << 1 << -1 << 0;
    }

    void spanArithmetic()
    {
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(int, lastLength);
        const Tables::Span s = Tables::spanFromCells(first, last, lastLength);
        QTEST(s.start, "start");
        QTEST(s.length, "length");
    }

    void cellSelectionFromItsStart()
    {
        // Text before the table so that cell (1, 2) starts at position 10 (counted from 1).
        TextControl tc;
        tc.setText(QStringLiteral("Vor\n"));
        caretToEnd(tc);
        const int id = tc.TableInsert(1, 2, -1, 1);
        tc.setTableCellText(id, 1, 1, QStringLiteral("abc"));
        tc.setTableCellText(id, 1, 2, QStringLiteral("Wert"));
        QCOMPARE(tc.TableCellStart(id, 1, 2), 10);
        QCOMPARE(tc.TableCellLength(id, 1, 2), 4);
        tc.setSelStart(10);
        QCOMPARE(tc.TableColAtInputPos(), 2);
        QVERIFY(tc.TableSelect(3));
        QCOMPARE(tc.SelStart(), 9);
        QCOMPARE(tc.SelLength(), 4);
        QCOMPARE(tc.SelText(), QStringLiteral("Wert"));
    }

    void selectTableRowAndCell()
    {
        TextControl tc;
        const int id = tc.TableInsert(2, 2, -1, 3);
        tc.setTableCellText(id, 1, 1, QStringLiteral("a"));
        tc.setTableCellText(id, 1, 2, QStringLiteral("b"));
        tc.setTableCellText(id, 2, 1, QStringLiteral("c"));
        tc.setTableCellText(id, 2, 2, QStringLiteral("dd"));
        tc.setSelStart(tc.TableCellStart(id, 2, 1) - 1);
        QCOMPARE(tc.TableRowAtInputPos(), 2);
        QVERIFY(tc.TableSelect(2));
        QCOMPARE(tc.SelStart(), tc.TableCellStart(id, 2, 1) - 1);
        // Qt keeps a selection across cells as a block of cells: row 2, both columns.
        int row = -1, rows = 0, col = -1, cols = 0;
        tc.textCursor().selectedTableCells(&row, &rows, &col, &cols);
        QCOMPARE(QList<int>({row, rows, col, cols}), QList<int>({1, 1, 0, 2}));
        QCOMPARE(tc.TableCellText(id, 2, 1), QStringLiteral("c"));
        tc.setSelStart(tc.TableCellStart(id, 1, 1));
        QVERIFY(tc.TableSelect(1));
        QCOMPARE(tc.SelStart(), tc.TableCellStart(id, 1, 1) - 1);
        QVERIFY(tc.SelText().contains(QStringLiteral("dd")));
        caretToEnd(tc); // outside the table
        QVERIFY(!tc.TableSelect(1));
    }

    void inputPositionAndInsertDelete()
    {
        TextControl tc;
        const int id = tc.TableInsert(2, 2, -1, 5);
        tc.setTableCellText(id, 2, 2, QStringLiteral("unten rechts"));
        tc.setSelStart(tc.TableCellStart(id, 2, 2) - 1);
        QCOMPARE(tc.TableAtInputPos(), id);
        QCOMPARE(tc.TableRowAtInputPos(), 2);
        QCOMPARE(tc.TableColAtInputPos(), 2);
        QVERIFY(tc.TableInsertLines(1)); // above row 2
        QCOMPARE(tc.TableRows(id), 3);
        QCOMPARE(tc.TableCellText(id, 3, 2), QStringLiteral("unten rechts"));
        QVERIFY(tc.TableInsertColumn(2)); // right of column 2
        QCOMPARE(tc.TableColumns(id), 3);
        QCOMPARE(tc.TableCellText(id, 3, 2), QStringLiteral("unten rechts"));
        tc.setSelStart(tc.TableCellStart(id, 3, 2) - 1);
        QVERIFY(tc.TableDeleteColumns());
        QCOMPARE(tc.TableColumns(id), 2);
        tc.setSelStart(tc.TableCellStart(id, 1, 1) - 1);
        QVERIFY(tc.TableDeleteLines());
        QCOMPARE(tc.TableRows(id), 2);
        // Selecting the whole table and deleting its rows removes it.
        tc.setSelStart(tc.TableCellStart(id, 1, 1) - 1);
        QVERIFY(tc.TableSelect(1));
        QVERIFY(tc.TableDeleteLines());
        QCOMPARE(Tables::find(tc.doc()->body(), id), nullptr);
    }

    void canTests()
    {
        TextControl tc;
        QVERIFY(tc.TableCanInsert());
        QVERIFY(!tc.TableCanInsertLines());
        QVERIFY(!tc.TableCanDeleteColumn());
        const int id = tc.TableInsert(1, 1, -1, 1);
        tc.setSelStart(tc.TableCellStart(id, 1, 1) - 1);
        QVERIFY(!tc.TableCanInsert());
        QVERIFY(tc.TableCanInsertLines());
        QVERIFY(tc.TableCanInsertColumn());
        QVERIFY(tc.TableCanDeleteLines());
        QVERIFY(tc.TableCanDeleteColumn());
        QCOMPARE(tc.TableInsert(1, 1, -1, 2), 0); // no table inside a table
    }

    void listLevels_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("indent1");
        QTest::addColumn<int>("indent2");
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("newIndent1");
        QTest::addColumn<int>("newIndent2");
        QTest::addColumn<int>("newLevel");
        QTest::newRow("bullets larger") << 2 << 1 << 0 << 360 << 1 << 360 << 720 << 2;
        QTest::newRow("bullets smaller") << 2 << -1 << 360 << 720 << 2 << 0 << 360 << 1;
        QTest::newRow("bullets wide distance") << 2 << 1 << 200 << 700 << 1 << 700 << 1200 << 2;
        QTest::newRow("numbers larger") << 4 << 1 << 0 << 360 << 1 << 360 << 720 << 2;
        QTest::newRow("numbers smaller") << 4 << -1 << 720 << 1080 << 3 << 360 << 720 << 2;
    }

    void listLevels()
    {
        QFETCH(int, type);
        QFETCH(int, step);
        QFETCH(int, indent1);
        QFETCH(int, indent2);
        QFETCH(int, level);
        QFETCH(int, newIndent2);
        TextControl tc;
        tc.setText(QStringLiteral("Punkt"));
        const bool bullets = type == 2;
        auto set = [&](int ix, int v) { bullets ? tc.setBulletAttribute(ix, v) : tc.setNumberingAttribute(ix, v); };
        auto get = [&](int ix) { return bullets ? tc.BulletAttribute(ix) : tc.NumberingAttribute(ix); };
        const int levelIx = bullets ? 2 : 3, i1 = bullets ? 3 : 4, i2 = bullets ? 5 : 9;
        set(levelIx, level);
        set(i1, indent1);
        set(i2, indent2);
        tc.setListType(type);
        QCOMPARE(tc.ListType(), type);
        QCOMPARE(get(i1), indent1);
        QCOMPARE(get(i2), indent2);
        tc.ListIndentChange(step);
        QCOMPARE(tc.ListType(), type);
        QTEST(get(levelIx), "newLevel");
        QTEST(get(i1), "newIndent1");
        QCOMPARE(get(i2), newIndent2);
        // The text starts at the second indent.
        QCOMPARE(tc.textCursor().blockFormat().leftMargin(), Document::twipsToPixels(newIndent2));
    }

    void numberingStyles_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("qtStyle");
        QTest::newRow("1, 2, 3") << 3 << int(QTextListFormat::ListDecimal);
        QTest::newRow("A, B, C") << 4 << int(QTextListFormat::ListUpperAlpha);
        QTest::newRow("a, b, c") << 5 << int(QTextListFormat::ListLowerAlpha);
        QTest::newRow("I, II, III, IV") << 6 << int(QTextListFormat::ListUpperRoman);
        QTest::newRow("i, ii, iii, iv") << 7 << int(QTextListFormat::ListLowerRoman);
    }

    void numberingStyles()
    {
        QFETCH(int, style);
        TextControl tc;
        tc.setText(QStringLiteral("eins"));
        tc.ListNumberingStyle(style);
        QCOMPARE(tc.ListType(), 4);
        QCOMPARE(tc.NumberingAttribute(1), style);
        QTEST(int(tc.textCursor().currentList()->format().style()), "qtStyle");
        tc.setListType(2);
        QCOMPARE(tc.ListType(), 2);
        tc.setListType(0);
        QCOMPARE(tc.ListType(), 0);
        tc.ListIndentChange(1); // no level on a plain paragraph
        QCOMPARE(tc.ListType(), 0);
        QCOMPARE(tc.textCursor().blockFormat().leftMargin(), 0.0);
    }
};

QTEST_MAIN(TstTablesLists)
#include "tst_tableslists.moc"
