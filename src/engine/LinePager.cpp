#include "LinePager.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QTextBlock>
#include <QTextFrame>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

void LinePager::setPageBodyHeight(double h)
{
    h = qMax(1.0, h);
    if (m_device.dotsPerMeterX() != 56693) { // 1440 dpi: one device pixel is one twip
        m_device.setDotsPerMeterX(56693);
        m_device.setDotsPerMeterY(56693);
    }
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
    m_blockTop.resize(m_nextBlock + 1);
    if (m_nextBlock == 0)
        m_metrics.clear(); // the default font may have changed
}

QPair<double, double> LinePager::ascentDescent(int formatIndex, const QTextFormat& f)
{
    auto it = m_metrics.constFind(formatIndex);
    if (it != m_metrics.cend())
        return *it;
    const QFont font(f.toCharFormat().font().resolve(m_doc->defaultFont()), &m_device);
    const QFontMetricsF fm(font, &m_device);
    return *m_metrics.insert(formatIndex, {fm.ascent(), fm.descent()});
}

double LinePager::lineHeight(const QTextBlock& block, const QTextLine& line)
{
    const QString text = block.text();
    const int from = line.textStart();
    const int to = from + qMax(1, line.textLength());
    double ascent = 0, descent = 0;
    bool any = false;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment frag = it.fragment();
        const int fs = frag.position() - block.position();
        if (fs >= to || fs + frag.length() <= from)
            continue;
        // Images and other objects: only the layout knows their height.
        if (frag.text().contains(QChar::ObjectReplacementCharacter))
            return line.height() / m_unitsPerTwip;
        const auto ad = ascentDescent(frag.charFormatIndex(), frag.charFormat());
        ascent = qMax(ascent, ad.first);
        descent = qMax(descent, ad.second);
        any = true;
    }
    if (!any) {
        const auto ad = ascentDescent(-1 - block.charFormatIndex(), block.charFormat());
        ascent = ad.first;
        descent = ad.second;
    }
    double h = ascent + descent;
    const QTextBlockFormat bf = block.blockFormat();
    if (bf.lineHeightType() == QTextBlockFormat::ProportionalHeight)
        h *= bf.lineHeight() / 100.0;
    else if (bf.lineHeightType() == QTextBlockFormat::FixedHeight)
        h = bf.lineHeight() * 15.0;
    else if (bf.lineHeightType() == QTextBlockFormat::MinimumHeight)
        h = qMax(h, bf.lineHeight() * 15.0);
    else if (bf.lineHeightType() == QTextBlockFormat::LineDistanceHeight)
        h += bf.lineHeight() * 15.0;
    return h;
}

void LinePager::scanBlock(int blockNumber)
{
    const QTextBlock block = m_doc->findBlockByNumber(blockNumber);
    if (!block.isValid())
        return;
    m_doc->documentLayout()->blockBoundingRect(block); // lays the block out
    const QTextLayout* layout = block.layout();
    const int lines = layout ? layout->lineCount() : 0;
    const QTextBlockFormat bf = block.blockFormat();
    const bool breakBefore =
        blockNumber > 0
        && ((bf.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            || (block.previous().blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter));
    // Paragraphs inside tables and frames: their heights come from the layout.
    const bool inFrame = m_doc->frameAt(block.position()) != m_doc->rootFrame();
    double y = m_blockTop.at(blockNumber) + bf.topMargin() * 15.0;
    for (int i = 0; i < qMax(1, lines); ++i) {
        double h = 0;
        if (i < lines) {
            const QTextLine line = layout->lineAt(i);
            h = inFrame ? line.height() / m_unitsPerTwip : lineHeight(block, line);
        }
        const bool first = m_starts.isEmpty();
        const double top = first ? 0 : m_starts.last().y;
        if (first || (i == 0 && breakBefore) || (y + h > top + m_bodyHeight + 0.01 && y > top))
            m_starts.append({blockNumber, i, y});
        y += h;
    }
    y += bf.bottomMargin() * 15.0;
    m_blockTop.resize(blockNumber + 1);
    m_blockTop.append(y);
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
