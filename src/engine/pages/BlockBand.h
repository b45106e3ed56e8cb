#pragma once
// Finds the blocks of a laid-out document that a horizontal band can show, without
// walking the document from its start: the layout flows down in document order, so the
// band's first block is found by bisection. Inside a table the order goes down each
// cell in turn, so there a whole row of the outermost table counts as one step of the
// flow. Pagination, page decorations and input positions look at one page this way,
// which keeps a long document's pages linear in its length. The document is laid out
// in full first: meant for paginated documents, whose page count needs that anyway.

#include <QTextBlock>

class QTextDocument;

namespace BlockBand {

// The first block that can reach below `y` (document units): the start of the step
// of the flow that holds `y`. The document's first block when `y` is above it all.
QTextBlock firstReaching(QTextDocument* d, double y);

// True when `b` and every block after it start at or below `y`, so a walk down a band
// ending at `y` can stop there.
bool startsBelow(QTextDocument* d, const QTextBlock& b, double y);

// Calls `fn` for each block from firstReaching(d, top) until one that startsBelow(d,
// ·, bottom), or until `fn` returns false. The caller still tests each block's rectangle.
template<typename Fn>
void forEach(QTextDocument* d, double top, double bottom, Fn fn)
{
    for (QTextBlock b = firstReaching(d, top); b.isValid() && !startsBelow(d, b, bottom); b = b.next())
        if (!fn(b))
            break;
}

} // namespace BlockBand
