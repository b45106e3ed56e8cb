#include "LabelFit.h"

#include "engine/Document.h"
#include "engine/pages/Paginator.h"
#include "engine/surface/TextControl.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QTextTable>

#include <cmath>
#include <map>

namespace LabelFit {

namespace {

constexpr double Fits = 1.0001;

// The width the paragraph's lines have: its cell's fixed column (or the page's text
// width outside tables) less paddings and the paragraph's indents, in body units.
// 0 when a column has no fixed width.
double availableWidth(const Document& doc, const QTextBlock& b)
{
    const QTextBlockFormat bf = b.blockFormat();
    double width = 0;
    if (const QTextTable* t = QTextCursor(b).currentTable()) {
        const QTextTableCell cell = t->cellAt(b.position());
        const QList<QTextLength> columns = t->format().columnWidthConstraints();
        for (int c = cell.column(); c < cell.column() + cell.columnSpan(); ++c) {
            if (c >= columns.size() || columns[c].type() != QTextLength::FixedLength)
                return 0;
            width += columns[c].rawValue();
        }
        const QTextTableCellFormat cf = cell.format().toTableCellFormat();
        const double padding = t->format().cellPadding();
        width -= cf.hasProperty(QTextFormat::TableCellLeftPadding) ? cf.leftPadding() : padding;
        width -= cf.hasProperty(QTextFormat::TableCellRightPadding) ? cf.rightPadding() : padding;
    } else {
        const PageGeometry& g = doc.page();
        width = Document::twipsToPixels(g.width - g.marginL - g.marginR);
    }
    return width - bf.leftMargin() - bf.rightMargin() - qMax(0.0, bf.textIndent());
}

// How much wider than its room the widest line of the paragraph `b` is in the printed
// layout `d`, as a ratio (1 or less: it fits).
double overflow(const Document& doc, QTextDocument* d, const QTextBlock& b)
{
    const double room = availableWidth(doc, b);
    const QTextBlock printed = d->findBlock(b.position());
    d->documentLayout()->blockBoundingRect(printed); // lays it out
    const QTextLayout* l = printed.layout();
    if (room <= 0 || !l || l->lineCount() == 0)
        return 1;
    double natural = 0;
    for (int i = 0; i < l->lineCount(); ++i)
        natural = qMax(natural, l->lineAt(i).naturalTextWidth());
    return natural / Paginator::layoutScale(d) / room;
}

double largestPoints(const QTextBlock& b)
{
    double points = 0;
    for (auto it = b.begin(); !it.atEnd(); ++it)
        points = qMax(points, it.fragment().charFormat().fontPointSize());
    return points;
}

// Scales the type of the whole paragraph by `factor`, to half points and no smaller
// than MinPoints.
void scaleType(const QTextBlock& b, double factor)
{
    QTextCursor c(b);
    for (auto it = b.begin(); !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        const double points = f.charFormat().fontPointSize() > 0 ? f.charFormat().fontPointSize() : 12;
        QTextCharFormat cf;
        cf.setFontPointSize(qMax(MinPoints, std::floor(points * factor * 2) / 2));
        c.setPosition(f.position());
        c.setPosition(f.position() + f.length(), QTextCursor::KeepAnchor);
        c.mergeCharFormat(cf);
    }
}

// Height of the cell at `position` in the printed layout `d`, padding included, in
// the body's units.
double cellHeight(QTextDocument* d, const QTextTableCell& bodyCell)
{
    const double scale = Paginator::layoutScale(d);
    QAbstractTextDocumentLayout* l = d->documentLayout();
    const double top = l->blockBoundingRect(d->findBlock(bodyCell.firstPosition())).top();
    const double bottom = l->blockBoundingRect(d->findBlock(bodyCell.lastPosition())).bottom();
    const QTextTableCellFormat f = bodyCell.format().toTableCellFormat();
    return (bottom - top) / scale + f.topPadding() + f.bottomPadding();
}

QTextTableCell cellOf(const QTextBlock& b)
{
    const QTextTable* t = QTextCursor(b).currentTable();
    return t ? t->cellAt(b.position()) : QTextTableCell();
}

} // namespace

QList<int> fieldPositions(const TextControl& s, const QList<int>& ids)
{
    QList<int> positions;
    for (int id : ids)
        if (const int start = s.FieldStart(id); start > 0)
            positions << start - 1;
    return positions;
}

int fit(TextControl& s, const QList<int>& positions, bool mayWrap)
{
    QTextDocument* body = s.doc()->body();
    std::map<int, QTextBlock> open; // paragraphs still to look at, by position
    for (int pos : positions)
        if (const QTextBlock b = body->findBlock(pos); b.isValid())
            open.emplace(b.position(), b);

    // Smaller type first: each round measures once and scales what is too wide (glyph
    // widths do not scale exactly, so a later round may take another step).
    std::map<int, QTextBlock> changed;
    std::map<int, double> cellsBefore; // cell height before anything wrapped, by cell start
    for (int round = 0; round < 4 && !open.empty(); ++round) {
        const std::unique_ptr<QTextDocument> printed = Paginator::printedCopy(*s.doc());
        for (auto it = open.begin(); it != open.end();) {
            const double ratio = overflow(*s.doc(), printed.get(), it->second);
            if (ratio <= Fits || largestPoints(it->second) <= MinPoints) {
                it = ratio <= Fits ? open.erase(it) : std::next(it);
                continue;
            }
            if (const QTextTableCell cell = cellOf(it->second); cell.isValid())
                cellsBefore.emplace(cell.firstPosition(), cellHeight(printed.get(), cell));
            changed.emplace(*it);
            scaleType(it->second, round == 0 ? 1 / ratio : 0.95);
            ++it;
        }
        // What is at the smallest type and still too wide stays open for wrapping.
        bool progress = false;
        for (const auto& [pos, b] : open)
            progress = progress || largestPoints(b) > MinPoints;
        if (!progress)
            break;
    }
    if (!open.empty()) {
        // Still too wide: measured once more, what does not fit wraps.
        const std::unique_ptr<QTextDocument> printed = Paginator::printedCopy(*s.doc());
        for (const auto& [pos, b] : open) {
            if (!mayWrap || overflow(*s.doc(), printed.get(), b) <= Fits)
                continue;
            if (const QTextTableCell cell = cellOf(b); cell.isValid())
                cellsBefore.emplace(cell.firstPosition(), cellHeight(printed.get(), cell));
            changed.emplace(pos, b);
            QTextBlockFormat wrap;
            wrap.setNonBreakableLines(false);
            QTextCursor(b).mergeBlockFormat(wrap);
        }
    }
    if (cellsBefore.empty())
        return int(changed.size());
    // A cell keeps its height: the wrapped lines take their room from the free space
    // above and below the lines.
    const std::unique_ptr<QTextDocument> printed = Paginator::printedCopy(*s.doc());
    for (const auto& [start, before] : cellsBefore) {
        QTextTableCell cell = cellOf(body->findBlock(start));
        QTextTableCellFormat f = cell.format().toTableCellFormat();
        const double content = cellHeight(printed.get(), cell) - f.topPadding() - f.bottomPadding();
        const double free = qMax(0.0, before - content);
        f.setTopPadding(free / 2);
        f.setBottomPadding(free - free / 2);
        cell.setFormat(f);
    }
    return int(changed.size());
}

} // namespace LabelFit
