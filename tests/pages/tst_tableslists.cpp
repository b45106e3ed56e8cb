// Tables by id with their selection arithmetic, the list level commands, and fields:
// ids, enumeration and link kinds through edits and undo.

#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "engine/objects/Fields.h"
#include "engine/objects/Lists.h"
#include "engine/objects/Tables.h"
#include "engine/surface/TextControl.h"

#include "TestCommon.h"
#include <QTextList>

namespace {
void caretToEnd(TextControl& tc)
{
    QTextCursor end(tc.doc()->body());
    end.movePosition(QTextCursor::End);
    tc.setTextCursor(end);
}

QList<int> walk(const QTextDocument* d, int kind = 0)
{
    QList<int> ids;
    for (int id = Fields::next(d, 0, kind); id > 0; id = Fields::next(d, id, kind))
        ids.append(id);
    return ids;
}
} // namespace

class TstTablesLists : public QObject {
    Q_OBJECT
private Q_SLOTS:
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

    void tabGoesFromCellToCell()
    {
        TextControl tc;
        const int id = tc.TableInsert(2, 2, -1, 5);
        tc.setSelStart(tc.TableCellStart(id, 1, 1) - 1);
        auto at = [&] { return QPoint(tc.TableRowAtInputPos(), tc.TableColAtInputPos()); };
        QTest::keyClicks(&tc, QStringLiteral("a"));
        QTest::keyClick(&tc, Qt::Key_Tab);
        QCOMPARE(at(), QPoint(1, 2));
        QTest::keyClicks(&tc, QStringLiteral("b"));
        QTest::keyClick(&tc, Qt::Key_Tab);
        QCOMPARE(at(), QPoint(2, 1));
        QTest::keyClick(&tc, Qt::Key_Tab);
        QTest::keyClicks(&tc, QStringLiteral("d"));
        // Tab in the last cell: a new row to write on.
        QTest::keyClick(&tc, Qt::Key_Tab);
        QCOMPARE(tc.TableRows(id), 3);
        QCOMPARE(at(), QPoint(3, 1));
        // Shift+Tab goes back and takes the cell's text, as typing replaces it.
        QTest::keyClick(&tc, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(at(), QPoint(2, 2));
        QCOMPARE(tc.SelText(), QStringLiteral("d"));
        QCOMPARE(tc.TableCellText(id, 1, 1) + "|" + tc.TableCellText(id, 1, 2) + "|" + tc.TableCellText(id, 2, 1),
                 QStringLiteral("a|b|"));
        QVERIFY(!tc.Text().contains(QLatin1Char('\t')));
        // The added row is one undo step of its own.
        tc.Undo();
        QCOMPARE(tc.TableRows(id), 2);
        QCOMPARE(tc.TableCellText(id, 2, 2), QStringLiteral("d"));
        // Outside a table Tab types a tab.
        caretToEnd(tc);
        QTest::keyClick(&tc, Qt::Key_Tab);
        QVERIFY(tc.Text().endsWith(QLatin1Char('\t')));
    }

    void tableOnAListLineHasNoBullet()
    {
        TextControl tc;
        tc.setText(QStringLiteral("Punkt"));
        tc.setListType(2);
        caretToEnd(tc);
        tc.setSelText(QStringLiteral("\r\n"));
        const int id = tc.TableInsert(2, 2);
        QVERIFY(id > 0);
        // Only "Punkt" keeps its bullet: the empty line in front of the table has no
        // height and its bullet would stand in the first cell.
        QStringList items;
        for (QTextBlock b = tc.doc()->body()->begin(); b.isValid(); b = b.next())
            if (b.textList())
                items << b.text();
        QCOMPARE(items, QStringList{QStringLiteral("Punkt")});
        QCOMPARE(tc.TableCellStart(id, 1, 1), 8); // after "Punkt", the empty line and the table's start
    }

    void cellSelectionFromItsStart()
    {
        // Text before the table so that cell (1, 2) starts at position 10 (counted from 1).
        TextControl tc;
        tc.setText(QStringLiteral("Vor\n"));
        caretToEnd(tc);
        const int id = tc.TableInsert(1, 2, -1, 1);
        tc.setTableCellText(id, 1, 1, QStringLiteral("abc"));
        tc.setTableCellText(id, 1, 2, QStringLiteral("Wert\r\nx"));
        QCOMPARE(tc.TableCellText(id, 1, 2), QStringLiteral("Wert\r\nx"));
        QCOMPARE(tc.TableCellLength(id, 1, 2), 6); // a paragraph end counts once
        QCOMPARE(tc.TableCellText(id, 2, 1) + tc.TableCellText(99, 1, 1), QString()); // outside, unknown table
        QCOMPARE(tc.TableCellStart(id, 1, 2), 10);
        tc.setSelStart(10);
        QCOMPARE(tc.TableColAtInputPos(), 2);
        QVERIFY(tc.TableSelect(3));
        QCOMPARE(tc.SelText(), QStringLiteral("Wert\r\nx"));
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


    void idsSurviveEditsUndoAndRedo()
    {
        QTextDocument d;
        QTextCursor c(&d);
        c.insertText(QStringLiteral("xy"));
        const int first = Fields::insert(c, QStringLiteral("Name"));
        Fields::setData(&d, first, QStringLiteral("Nachname"));
        c.setPosition(1);
        const int second = Fields::insert(c, QStringLiteral("Ort"));
        QCOMPARE(d.toPlainText(), QStringLiteral("xOrtyName"));
        // Typing before both fields moves them but keeps ids and data.
        QTextCursor t(&d);
        t.insertText(QStringLiteral("123"));
        QCOMPARE(walk(&d), QList<int>({second, first})); // position order, not creation order
        QCOMPARE(Fields::find(&d, first).start, 8);
        QCOMPARE(Fields::data(&d, first), QStringLiteral("Nachname"));
        d.undo(); // the typing
        QCOMPARE(Fields::find(&d, first).start, 5);
        d.undo(); // the second field
        QCOMPARE(walk(&d), QList<int>({first}));
        d.redo();
        QCOMPARE(walk(&d), QList<int>({second, first}));
        // Asking for an id in use gives a fresh one.
        const int fourth = Fields::insert(c, QStringLiteral("W"), first);
        QVERIFY(fourth != first);
    }

    void typingAfterFieldStaysOutside()
    {
        TextControl tc;
        tc.setViewMode(2);
        const int id = tc.FieldInsert(QStringLiteral("Vorname"));
        QTest::keyClicks(&tc, QStringLiteral("ab"));
        QCOMPARE(Fields::text(tc.doc()->body(), id), QStringLiteral("Vorname"));
        QCOMPARE(tc.Text(), QStringLiteral("Vornameab"));
        // Moving the caret back to the field's end and typing does not join it either.
        tc.setSelStart(7);
        QTest::keyClicks(&tc, QStringLiteral("Q"));
        QCOMPARE(Fields::text(tc.doc()->body(), id), QStringLiteral("Vorname"));
    }

    void deleteKeepsOrDropsText()
    {
        QTextDocument d;
        QTextCursor c(&d);
        c.insertText(QStringLiteral("a"));
        const int kept = Fields::insert(c, QStringLiteral("[Feld]"));
        const int dropped = Fields::insert(c, QStringLiteral("[weg]"));
        c.insertText(QStringLiteral("b"));
        QVERIFY(Fields::remove(&d, kept, true) && Fields::remove(&d, dropped, false));
        QCOMPARE(d.toPlainText(), QStringLiteral("a[Feld]b"));
        QCOMPARE(Fields::next(&d, 0), 0);
        QVERIFY(!Fields::remove(&d, kept, true));
    }

    void markHyperlinksColoursLinksOnly()
    {
        TextControl tc;
        tc.setText(QStringLiteral("Text "));
        tc.setSelStart(5);
        const int link = tc.FieldInsert(QStringLiteral("Verweis"));
        tc.setFieldLinkKind(link, 1);
        tc.setSelText(QStringLiteral(" "));
        const int plain = tc.FieldInsert(QStringLiteral("Feld"));
        tc.setSelStart(1);
        tc.setSelLength(2);
        tc.MarkHyperlinks();
        QCOMPARE(QPoint(tc.SelStart(), tc.SelLength()), QPoint(1, 2)); // selection kept
        QTextCursor probe(tc.doc()->body());
        probe.setPosition(Fields::find(tc.doc()->body(), link).start + 3);
        QCOMPARE(probe.charFormat().foreground().color(), QColor(0, 0, 255));
        QVERIFY(probe.charFormat().fontUnderline());
        probe.setPosition(Fields::find(tc.doc()->body(), plain).start + 2);
        QVERIFY(!probe.charFormat().fontUnderline());
    }
};

QTEST_MAIN(TstTablesLists)
#include "tst_tableslists.moc"
