// Tables of the body reader: the grid from w:tblGrid and each row's spans, vertical
// merges from w:vMerge, borders, shading and cell margins.
#include "DocxBodyReader.h"

#include "DocxNames.h"

#include <QTextTable>

using ZipPackage::XmlNode;

namespace Docx {

namespace {

constexpr int kMaxColumns = 64;
constexpr int kMaxCells = 250000;

QLatin1StringView L(const char* s) { return QLatin1StringView(s); }
double px(int twips) { return Document::twipsToPixels(twips); }

bool anyBorder(const XmlNode* borders)
{
    if (!borders)
        return false;
    for (const XmlNode& side : borders->children) {
        const QString v = side.attr(W, L("val"));
        if (!side.isText() && !v.isEmpty() && v != u"none" && v != u"nil")
            return true;
    }
    return false;
}

struct Placed {
    int row, col, colSpan, rowSpan;
    const XmlNode* tc;
};

} // namespace

void BodyReader::readTable(const XmlNode& tbl, QTextCursor& c, bool& first)
{
    const XmlNode* tblPr = tbl.child(W, L("tblPr"));
    bool borders = false;
    int padLeft = 108, padRight = 108;
    if (tblPr) {
        if (const XmlNode* st = tblPr->child(W, L("tblStyle")))
            borders = m_ctx.styles.tableStyleHasBorders(st->attr(W, L("val")));
        if (const XmlNode* b = tblPr->child(W, L("tblBorders")))
            borders = anyBorder(b);
        if (const XmlNode* mar = tblPr->child(W, L("tblCellMar"))) {
            if (const XmlNode* l = mar->child(W, L("left")))
                padLeft = intAttr(*l, L("w"), padLeft);
            if (const XmlNode* r = mar->child(W, L("right")))
                padRight = intAttr(*r, L("w"), padRight);
        }
    }
    QList<int> grid;
    if (const XmlNode* g = tbl.child(W, L("tblGrid")))
        for (const XmlNode& col : g->children)
            if (col.is(W, L("gridCol")))
                grid << qMax(0, intAttr(col, L("w")));

    // Place every cell on the grid.
    QList<Placed> placed;
    int rows = 0, columns = int(grid.size());
    for (const XmlNode& tr : tbl.children) {
        if (!tr.is(W, L("tr")))
            continue;
        int col = 0;
        if (const XmlNode* trPr = tr.child(W, L("trPr")))
            if (const XmlNode* gb = trPr->child(W, L("gridBefore")))
                col = qBound(0, intAttr(*gb, L("val")), kMaxColumns - 1);
        for (const XmlNode& tc : tr.children) {
            if (!tc.is(W, L("tc")) || col >= kMaxColumns)
                continue;
            const XmlNode* tcPr = tc.child(W, L("tcPr"));
            int span = 1;
            bool continued = false;
            if (tcPr) {
                if (const XmlNode* gs = tcPr->child(W, L("gridSpan")))
                    span = qBound(1, intAttr(*gs, L("val"), 1), kMaxColumns - col);
                if (const XmlNode* vm = tcPr->child(W, L("vMerge")))
                    continued = vm->attr(W, L("val")) != u"restart";
            }
            bool merged = false;
            if (continued) {
                for (qsizetype i = placed.size() - 1; i >= 0; --i) {
                    Placed& above = placed[i];
                    if (above.col == col && above.row + above.rowSpan == rows) {
                        ++above.rowSpan;
                        merged = true;
                        break;
                    }
                }
            }
            if (!merged)
                placed.append({rows, col, span, 1, &tc});
            col += span;
        }
        columns = qMax(columns, col);
        ++rows;
        if (qint64(rows) * qMax(1, columns) > kMaxCells)
            break;
    }
    columns = qMin(columns, kMaxColumns);
    if (rows == 0 || columns == 0)
        return;
    // Some suites draw the lines cell by cell; the document knows lines for the whole
    // table only, so lines around every cell count as the table's.
    int lined = 0;
    for (const Placed& p : std::as_const(placed))
        if (const XmlNode* tcPr = p.tc->child(W, L("tcPr")))
            lined += anyBorder(tcPr->child(W, L("tcBorders")));
    if (!borders && lined == placed.size())
        borders = true;
    else if (!borders && lined > 0)
        m_ctx.unsupported.insert(QStringLiteral("Rahmenlinien einzelner Tabellenzellen"));

    QTextTableFormat tf;
    tf.setBorder(borders ? 1 : 0);
    tf.setBorderStyle(borders ? QTextFrameFormat::BorderStyle_Solid : QTextFrameFormat::BorderStyle_None);
    tf.setCellSpacing(0);
    tf.setCellPadding(0);
    if (borders)
        tf.setBorderCollapse(true);
    if (grid.size() == columns) {
        QList<QTextLength> widths;
        for (int w : grid)
            widths << QTextLength(QTextLength::FixedLength, px(w));
        tf.setColumnWidthConstraints(widths);
    }
    if (first) {
        // A table cannot replace the empty first block; it goes before it.
        first = false;
    }
    QTextTable* table = c.insertTable(rows, columns, tf);

    for (const Placed& p : std::as_const(placed)) {
        QTextCursor cc = table->cellAt(p.row, p.col).firstCursorPosition();
        bool cellFirst = true;
        readBlocks(*p.tc, cc, cellFirst);
    }
    for (const Placed& p : std::as_const(placed)) {
        QTextTableCell cell = table->cellAt(p.row, p.col);
        QTextTableCellFormat f = cell.format().toTableCellFormat();
        int pads[4] = {padLeft, 0, padRight, 0}; // left, top, right, bottom
        if (const XmlNode* tcPr = p.tc->child(W, L("tcPr"))) {
            if (const XmlNode* shd = tcPr->child(W, L("shd"))) {
                const QString fill = shd->attr(W, L("fill"));
                if (fill.size() == 6)
                    f.setBackground(QColor(QLatin1Char('#') + fill));
            }
            if (const XmlNode* mar = tcPr->child(W, L("tcMar"))) {
                const char* sides[4] = {"left", "top", "right", "bottom"};
                for (int i = 0; i < 4; ++i)
                    if (const XmlNode* s = mar->child(W, L(sides[i])))
                        pads[i] = intAttr(*s, L("w"), pads[i]);
            }
        }
        f.setLeftPadding(px(pads[0]));
        f.setTopPadding(px(pads[1]));
        f.setRightPadding(px(pads[2]));
        f.setBottomPadding(px(pads[3]));
        cell.setFormat(f);
    }
    for (const Placed& p : std::as_const(placed)) {
        const int rs = qMin(p.rowSpan, rows - p.row);
        const int cs = qMin(p.colSpan, columns - p.col);
        if (rs <= 1 && cs <= 1)
            continue;
        table->mergeCells(p.row, p.col, rs, cs);
        QTextTableCell cell = table->cellAt(p.row, p.col);
        QTextCharFormat f = cell.format();
        f.setProperty(QTextFormat::TableCellRowSpan, rs);
        f.setProperty(QTextFormat::TableCellColumnSpan, cs);
        cell.setFormat(f);
    }
    c.setPosition(table->lastPosition() + 1);
    // The block after the table is empty and takes the next paragraph.
    first = true;
}

} // namespace Docx
