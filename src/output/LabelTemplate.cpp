#include "LabelTemplate.h"

#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "engine/Fields.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextTable>

namespace LabelTemplate {

namespace {

struct Widths {
    int size;
    int street;
    int town;
};
constexpr Widths kWidths[] = {{10, 33, 27}, {11, 29, 23}, {12, 25, 19}, {14, 22, 15}};

const Widths& widthsFor(int fontSize)
{
    for (const Widths& w : kWidths)
        if (w.size == fontSize)
            return w;
    return kWidths[0];
}

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

} // namespace

QList<int> fontSizes() { return {10, 11, 12, 14}; }

QString fileName(int fontSize) { return QStringLiteral("Etiketten_Vorlage_F%1.ttx").arg(fontSize); }

int streetWidth(int fontSize) { return widthsFor(fontSize).street; }

int townWidth(int fontSize) { return widthsFor(fontSize).town; }

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
    // The paragraph after the table must fit in the room left below the last row.
    QTextCursor after(body);
    after.setPosition(t->lastPosition() + 1);
    QTextBlockFormat tiny;
    tiny.setLineHeight(1, QTextBlockFormat::FixedHeight);
    QTextCharFormat small = chars;
    small.setFontPointSize(1);
    after.setBlockFormat(tiny);
    after.setBlockCharFormat(small);
    c.endEditBlock();
    body->clearUndoRedoStacks();
    body->setModified(false);
}

} // namespace LabelTemplate
