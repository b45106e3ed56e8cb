#include "LinePager.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

void LinePager::setPageBodyHeight(double h)
{
    h = qMax(1.0, h);
    if (h != m_bodyHeight) {
        m_bodyHeight = h;
        invalidateAll();
    }
}

void LinePager::invalidateFrom(int blockNumber)
{
    blockNumber = qMax(0, blockNumber);
    while (!m_starts.isEmpty() && m_starts.last().block >= blockNumber)
        m_starts.removeLast();
    m_nextBlock = qMin(m_nextBlock, blockNumber);
    if (m_starts.isEmpty())
        m_nextBlock = 0;
}

void LinePager::scanBlock(int blockNumber)
{
    const QTextBlock block = m_doc->findBlockByNumber(blockNumber);
    if (!block.isValid())
        return;
    const QRectF rect = m_doc->documentLayout()->blockBoundingRect(block);
    const QTextLayout* layout = block.layout();
    const int lines = layout ? layout->lineCount() : 0;
    const bool breakBefore =
        blockNumber > 0
        && ((block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            || (block.previous().blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter));
    for (int i = 0; i < qMax(1, lines); ++i) {
        double y = rect.top();
        double h = rect.height();
        if (i < lines) {
            const QTextLine line = layout->lineAt(i);
            y += line.y();
            h = line.height();
        }
        if (m_starts.isEmpty()) {
            m_starts.append({blockNumber, i, y});
            continue;
        }
        const double top = m_starts.last().y;
        if ((i == 0 && breakBefore) || (y + h > top + m_bodyHeight + 0.01 && y > top))
            m_starts.append({blockNumber, i, y});
    }
}

void LinePager::scanUntil(int blockNumber)
{
    const int last = qMin(blockNumber, m_doc->blockCount() - 1);
    while (m_nextBlock <= last)
        scanBlock(m_nextBlock++);
}

int LinePager::pageCount()
{
    scanUntil(m_doc->blockCount() - 1);
    return qMax(1, int(m_starts.size()));
}

PagedPosition LinePager::positionOf(int docPosition)
{
    PagedPosition r;
    const QTextBlock block = m_doc->findBlock(qMax(0, docPosition));
    if (!block.isValid())
        return r;
    const int b = block.blockNumber();
    scanUntil(b);
    m_doc->documentLayout()->blockBoundingRect(block); // makes sure the block is laid out
    const QTextLayout* layout = block.layout();
    const int inBlock = docPosition - block.position();
    int li = 0;
    int lineStart = 0;
    if (layout && layout->lineCount() > 0) {
        const QTextLine line = layout->lineForTextPosition(inBlock);
        if (line.isValid()) {
            li = line.lineNumber();
            lineStart = line.textStart();
        }
    }
    // The page is the last one that starts at or before this line.
    auto it = std::upper_bound(m_starts.cbegin(), m_starts.cend(), std::pair{b, li},
                               [](const std::pair<int, int>& k, const PageStart& s) {
                                   return k.first < s.block || (k.first == s.block && k.second < s.line);
                               });
    const int pageIndex = qMax(0, int(it - m_starts.cbegin()) - 1);
    r.page = pageIndex + 1;
    int lineOnPage = 1;
    if (!m_starts.isEmpty()) {
        const PageStart& s = m_starts.at(pageIndex);
        if (s.block == b) {
            lineOnPage = li - s.line + 1;
        } else {
            QTextBlock it2 = m_doc->findBlockByNumber(s.block);
            lineOnPage = qMax(1, (it2.layout() ? it2.layout()->lineCount() : 1)) - s.line;
            for (it2 = it2.next(); it2.isValid() && it2.blockNumber() < b; it2 = it2.next())
                lineOnPage += qMax(1, it2.layout() ? it2.layout()->lineCount() : 1);
            lineOnPage += li + 1;
        }
    }
    r.line = lineOnPage;
    r.column = inBlock - lineStart + 1;
    return r;
}

int LinePager::positionAt(const PagedPosition& p)
{
    const int pages = pageCount();
    if (m_starts.isEmpty())
        return 0;
    const PageStart& s = m_starts.at(qBound(1, p.page, pages) - 1);
    QTextBlock block = m_doc->findBlockByNumber(s.block);
    int li = s.line;
    // Walk p.line - 1 lines forward, staying on the document.
    for (int n = 1; n < p.line; ++n) {
        const int lines = qMax(1, block.layout() ? block.layout()->lineCount() : 1);
        if (li + 1 < lines) {
            ++li;
        } else if (block.next().isValid()) {
            block = block.next();
            m_doc->documentLayout()->blockBoundingRect(block);
            li = 0;
        } else {
            break;
        }
    }
    const QTextLayout* layout = block.layout();
    if (!layout || layout->lineCount() == 0)
        return block.position();
    const QTextLine line = layout->lineAt(qMin(li, layout->lineCount() - 1));
    // The last position of a wrapped line is the start of the next one; stop before it.
    int maxCol = line.textLength();
    if (line.lineNumber() == layout->lineCount() - 1)
        maxCol = block.length() - 1 - line.textStart();
    else
        maxCol = qMax(0, maxCol - 1);
    const int col = qBound(0, p.column - 1, maxCol);
    return block.position() + line.textStart() + col;
}
