#include "LabelTemplate.h"

#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "engine/objects/Fields.h"
#include "engine/objects/Tables.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextTable>

#include <cmath>

namespace LabelTemplate {

namespace {

double px(double twips) { return Document::twipsToPixels(twips); }

// Fixed line heights keep every label exactly one label high, whatever it holds.
double lineHeightFor(int fontSize) { return fontSize * 1.2 * 96.0 / 72.0; }

// The five lines of a label; each entry is one field or a literal blank.
const QList<QStringList>& labelLines()
{
    static const QList<QStringList> lines{{QStringLiteral("Anrede")},
                                          {QStringLiteral("Vorname"), QStringLiteral(" "), QStringLiteral("Nachname")},
                                          {QStringLiteral("Strasse")},
                                          {QStringLiteral("LKZ"), QStringLiteral("PLZ"), QStringLiteral(" "),
                                           QStringLiteral("Ort")},
                                          {QStringLiteral("Land")}};
    return lines;
}

void writeLabel(QTextCursor& c, int n, const QTextCharFormat& chars, int fontSize)
{
    QTextDocument* doc = c.document();
    const QList<QStringList>& lines = labelLines();
    const double lineHeight = lineHeightFor(fontSize);
    for (int i = 0; i < lines.size(); ++i) {
        QTextBlockFormat b;
        b.setLineHeight(lineHeight, QTextBlockFormat::FixedHeight);
        b.setLeftMargin(px(TextInset));
        // A long name runs past the label's edge instead of taking a second line.
        b.setNonBreakableLines(true);
        if (i > 0)
            c.insertBlock(b, chars);
        else
            c.setBlockFormat(b);
        c.setBlockCharFormat(chars);
        c.setCharFormat(chars);
        for (const QString& part : lines[i]) {
            if (part == u" ") {
                c.insertText(part, chars);
                continue;
            }
            const int id = Fields::insert(c, QString());
            Fields::setData(doc, id, QString::number(n) + part);
            c.setCharFormat(chars);
        }
    }
}

// The three columns of labels, without borders, padding or spacing.
QTextTableFormat gridFormat()
{
    QTextTableFormat table;
    QList<QTextLength> widths;
    for (int i = 0; i < Columns; ++i)
        widths << QTextLength(QTextLength::FixedLength, px(LabelWidth));
    table.setColumnWidthConstraints(widths);
    table.setWidth(QTextLength(QTextLength::FixedLength, px(LabelWidth) * Columns));
    table.setBorder(0);
    table.setBorderCollapse(true);
    table.setCellPadding(0);
    table.setCellSpacing(0);
    table.setMargin(0);
    return table;
}

// The paragraph after the table must fit in the room left below the last row.
void shrinkParagraphAfter(const QTextTable* t, QTextCharFormat chars)
{
    QTextCursor after(t->document());
    after.setPosition(t->lastPosition() + 1);
    QTextBlockFormat tiny;
    tiny.setLineHeight(1, QTextBlockFormat::FixedHeight);
    chars.setFontPointSize(1);
    after.setBlockFormat(tiny);
    after.setBlockCharFormat(chars);
}

} // namespace

void shapeTable(QTextDocument* doc, int id)
{
    QTextTable* t = Tables::find(doc, id);
    if (!t || t->rows() != Rows * 8 || t->columns() != Columns)
        return;
    QTextCursor c(doc);
    c.beginEditBlock();
    QTextTableFormat table = gridFormat();
    table.setProperty(EngineProperty::TableId, id);
    t->setFormat(table);
    // The layout rounds a fixed line height to whole pixels: the rows get whole pixels
    // that add up to the labels' height.
    const double rowHeight = px(LabelHeight) / 8;
    for (int r = 0; r < t->rows(); ++r) {
        QTextBlockFormat row;
        row.setLineHeight(std::round((r + 1) * rowHeight) - std::round(r * rowHeight), QTextBlockFormat::FixedHeight);
        row.setLeftMargin(px(TextInset));
        row.setNonBreakableLines(true);
        for (int col = 0; col < t->columns(); ++col) {
            const QTextTableCell cell = t->cellAt(r, col);
            for (QTextBlock b = doc->findBlock(cell.firstPosition()); b.isValid() && b.position() <= cell.lastPosition();
                 b = b.next())
                QTextCursor(b).mergeBlockFormat(row);
        }
    }
    c.setPosition(t->lastPosition() + 1);
    shrinkParagraphAfter(t, c.charFormat());
    c.endEditBlock();
}

QList<int> fontSizes() { return {10, 11, 12, 14}; }

QString fileName(int fontSize) { return QStringLiteral("Etiketten_Vorlage_F%1.ttx").arg(fontSize); }

QStringList fieldNames()
{
    return {QStringLiteral("Anrede"), QStringLiteral("Vorname"), QStringLiteral("Nachname"), QStringLiteral("Strasse"),
            QStringLiteral("LKZ"),    QStringLiteral("PLZ"),     QStringLiteral("Ort"),      QStringLiteral("Land")};
}

void build(Document& doc, int fontSize)
{
    QTextDocument* body = doc.body();
    body->clear();
    PageGeometry g;
    g.width = PageWidth;
    g.height = PageHeight;
    g.marginL = MarginSide;
    g.marginR = MarginSide;
    g.marginT = MarginTop;
    g.marginB = MarginBottom;
    doc.setPage(g);
    doc.applyPage();

    QTextCharFormat chars;
    chars.setFontFamilies({QStringLiteral("Arial")});
    chars.setFontPointSize(fontSize);

    QTextTableFormat table = gridFormat();
    table.setProperty(EngineProperty::TableId, 1);

    QTextCursor c(body);
    c.beginEditBlock();
    QTextTable* t = c.insertTable(Rows, Columns, table);
    for (int n = 1; n <= Labels; ++n) {
        QTextTableCell cell = t->cellAt((n - 1) / Columns, (n - 1) % Columns);
        QTextCursor c = cell.firstCursorPosition();
        writeLabel(c, n, chars, fontSize);
        // The five lines sit in the middle of the label. Qt drops the top margin of a
        // cell's first paragraph, so the room goes into the cell's padding; the cell
        // format is its first paragraph's char format, so it is set after the text.
        const double free = px(LabelHeight) - 5 * lineHeightFor(fontSize);
        QTextTableCellFormat padding = cell.format().toTableCellFormat();
        padding.setTopPadding(free / 2);
        padding.setBottomPadding(free - free / 2);
        cell.setFormat(padding);
    }
    shrinkParagraphAfter(t, chars);
    c.endEditBlock();
    body->clearUndoRedoStacks();
    body->setModified(false);
}

} // namespace LabelTemplate
