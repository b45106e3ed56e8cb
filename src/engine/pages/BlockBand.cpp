#include "BlockBand.h"

#include <QAbstractTextDocumentLayout>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

namespace BlockBand {

namespace {

// One step of the flow: a block outside tables, or a row of an outermost table (its
// cells are laid out side by side, and a cell spanning rows from above belongs to it).
struct Step {
    QTextBlock first; // first in document order
    double top = 0;   // highest top of its blocks' starts
};

QTextTable* outermostTable(QTextDocument* d, int pos)
{
    QTextTable* table = nullptr;
    for (QTextFrame* f = d->frameAt(pos); f && f->parentFrame(); f = f->parentFrame())
        if (auto* t = qobject_cast<QTextTable*>(f))
            table = t;
    return table;
}

Step stepOf(QTextDocument* d, const QTextBlock& b)
{
    QAbstractTextDocumentLayout* layout = d->documentLayout();
    QTextTable* table = outermostTable(d, b.position());
    const QTextTableCell cell = table ? table->cellAt(b.position()) : QTextTableCell();
    if (!cell.isValid())
        return {b, layout->blockBoundingRect(b).top()};
    Step s{b, layout->blockBoundingRect(b).top()};
    for (int c = 0; c < table->columns(); ++c) {
        const QTextTableCell other = table->cellAt(cell.row(), c);
        if (!other.isValid())
            continue;
        const QTextBlock first = other.firstCursorPosition().block();
        if (first.position() < s.first.position())
            s.first = first;
        s.top = qMin(s.top, layout->blockBoundingRect(first).top());
    }
    return s;
}

} // namespace

QTextBlock firstReaching(QTextDocument* d, double y)
{
    // Positions of blocks not laid out yet would be taken for zero.
    d->pageCount();
    // Largest block number whose step starts at or above y; steps start in order.
    int lo = 0, hi = d->blockCount() - 1;
    if (hi < 0)
        return {};
    if (stepOf(d, d->findBlockByNumber(0)).top > y)
        return d->begin();
    while (lo < hi) {
        const int mid = lo + (hi - lo + 1) / 2;
        if (stepOf(d, d->findBlockByNumber(mid)).top <= y)
            lo = mid;
        else
            hi = mid - 1;
    }
    // Everything before that step ends where it begins, so above y. One step more
    // covers the blocks Qt tucks into a table's border beside its last row.
    const QTextBlock first = stepOf(d, d->findBlockByNumber(lo)).first;
    return first.previous().isValid() ? stepOf(d, first.previous()).first : first;
}

bool startsBelow(QTextDocument* d, const QTextBlock& b, double y)
{
    const Step s = stepOf(d, b);
    return s.first == b && s.top >= y;
}

} // namespace BlockBand
