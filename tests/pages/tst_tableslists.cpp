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
        QCOMPARE(tc.TableInsert(0, 2, -1, 9), 0); // no rows: nothing inserted
    }

    void cellTextsReadAndWrite()
    {
        TextControl tc;
        const int id = tc.TableInsert(3, 2, -1, 4);
        tc.setTableCellText(id, 3, 2, QStringLiteral("Zeile 1\r\nZeile 2"));
        QCOMPARE(tc.TableCellText(id, 3, 2), QStringLiteral("Zeile 1\r\nZeile 2"));
        QCOMPARE(tc.TableCellText(id, 4, 1) + tc.TableCellText(99, 1, 1), QString()); // outside, unknown table
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
        tc.setSelStart(10);
        QCOMPARE(tc.TableColAtInputPos(), 2);
        QVERIFY(tc.TableSelect(3));
        QCOMPARE(tc.SelText(), QStringLiteral("Wert"));
    }

    void selectTableRowAndCell()
    {
        TextControl tc;
        const int id = tc.TableInsert(2, 2, -1, 3);
        tc.setTableCellText(id, 1, 1, QStringLiteral("a"));
        tc.setTableCellText(id, 2, 1, QStringLiteral("c"));
        tc.setTableCellText(id, 2, 2, QStringLiteral("dd"));
        tc.setSelStart(tc.TableCellStart(id, 2, 1) - 1);
        QCOMPARE(tc.TableRowAtInputPos(), 2);
        QVERIFY(tc.TableSelect(2));
        // Qt keeps a selection across cells as a block of cells: row 2, both columns.
        int row = -1, rows = 0, col = -1, cols = 0;
        tc.textCursor().selectedTableCells(&row, &rows, &col, &cols);
        QCOMPARE(QList<int>({row, rows, col, cols}), QList<int>({1, 1, 0, 2}));
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
        QVERIFY(tc.TableInsertLines(1)); // above row 2
        QCOMPARE(tc.TableRows(id), 3);
        QCOMPARE(tc.TableCellText(id, 3, 2), QStringLiteral("unten rechts"));
        QVERIFY(tc.TableInsertColumn(2)); // right of column 2
        QCOMPARE(tc.TableCellText(id, 3, 2), QStringLiteral("unten rechts"));
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
        QVERIFY(tc.TableCanInsert() && !tc.TableCanInsertLines() && !tc.TableCanDeleteColumn());
        const int one = tc.TableInsert(1, 1, -1, 1);
        tc.setSelStart(tc.TableCellStart(one, 1, 1) - 1);
        QVERIFY(!tc.TableCanInsert() && tc.TableCanInsertLines() && tc.TableCanInsertColumn());
        QVERIFY(tc.TableCanDeleteLines() && tc.TableCanDeleteColumn());
        QCOMPARE(tc.TableInsert(1, 1, -1, 2), 0); // no table inside a table
    }

    void listLevels()
    {
        // Numbers one level smaller: both indents move back by one step.
        TextControl numbers;
        numbers.setText(QStringLiteral("Punkt"));
        numbers.setNumberingAttribute(3, 3);
        numbers.setNumberingAttribute(4, 720);
        numbers.setNumberingAttribute(9, 1080);
        numbers.setListType(4);
        numbers.ListIndentChange(-1);
        QCOMPARE(numbers.ListType(), 4);
        QCOMPARE(QList<int>({numbers.NumberingAttribute(3), numbers.NumberingAttribute(4), numbers.NumberingAttribute(9)}),
                 QList<int>({2, 360, 720}));
        // Bullets one level larger keep their own distance between the indents.
        TextControl bullets;
        bullets.setText(QStringLiteral("Punkt"));
        bullets.setBulletAttribute(2, 1);
        bullets.setBulletAttribute(3, 200);
        bullets.setBulletAttribute(5, 700);
        bullets.setListType(2);
        bullets.ListIndentChange(1);
        QCOMPARE(QList<int>({bullets.BulletAttribute(2), bullets.BulletAttribute(3), bullets.BulletAttribute(5)}),
                 QList<int>({2, 700, 1200}));
        // The text starts at the second indent.
        QCOMPARE(bullets.textCursor().blockFormat().leftMargin(), Document::twipsToPixels(1200));
    }

    void numberingStyles()
    {
        TextControl tc;
        tc.setText(QStringLiteral("eins"));
        tc.ListNumberingStyle(7); // i, ii, iii
        QCOMPARE(tc.ListType(), 4);
        QCOMPARE(tc.textCursor().currentList()->format().style(), QTextListFormat::ListLowerRoman);
        tc.setListType(0);
        tc.ListIndentChange(1); // no level on a plain paragraph
        QCOMPARE(tc.ListType(), 0);
        QCOMPARE(tc.textCursor().blockFormat().leftMargin(), 0.0);
    }
};

QTEST_MAIN(TstTablesLists)
#include "tst_tableslists.moc"
