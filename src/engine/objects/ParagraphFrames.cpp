#include "ParagraphFrames.h"

#include "engine/Document.h"
#include "engine/pages/BlockBand.h"
#include "engine/BlockRange.h"
#include "engine/EngineProperties.h"
#include "TabStops.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <functional>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

using namespace EngineProperty;

namespace ParagraphFrames {

namespace {


int uniform(const QTextCursor& c, int property, int fallback)
{
    int value = -2;
    forEachSelectedBlock(c, [&](const QTextBlock& b) {
        const QTextBlockFormat f = b.blockFormat();
        const int v = f.hasProperty(property) ? f.intProperty(property) : fallback;
        value = value == -2 ? v : (value == v ? v : -1);
    });
    return value == -2 ? fallback : value;
}

void setProperty(QTextCursor c, int property, const std::function<int(int)>& fn, int fallback)
{
    c.beginEditBlock();
    forEachSelectedBlock(c, [&](const QTextBlock& b) {
        QTextBlockFormat f = b.blockFormat();
        f.setProperty(property, fn(f.hasProperty(property) ? f.intProperty(property) : fallback));
        QTextCursor bc(b);
        bc.setBlockFormat(f);
    });
    c.endEditBlock();
}

} // namespace

bool hasFrame(const QTextBlockFormat& f)
{
    return f.intProperty(FrameStyle) & (FrameBits::Left | FrameBits::Right | FrameBits::Top
                                        | FrameBits::Bottom | FrameBits::TabLines);
}

int combine(int current, int word)
{
    int parts = (current & 0x1f) | (word & 0x1f);
    parts &= ~((word >> 8) & 0x1f);
    int styles = current & 0xe0;
    if (word & (FrameBits::Single | FrameBits::Double))
        styles = word & 0xe0;
    return parts | styles;
}

int style(const QTextCursor& c) { return uniform(c, FrameStyle, 0); }
int lineWidth(const QTextCursor& c) { return uniform(c, FrameLineWidth, DefaultLineWidth); }
int distance(const QTextCursor& c) { return uniform(c, FrameDistance, 0); }

void setStyle(QTextCursor c, int word)
{
    setProperty(c, FrameStyle, [word](int cur) { return combine(cur, word); }, 0);
}

void setLineWidth(QTextCursor c, int twips)
{
    setProperty(c, FrameLineWidth, [twips](int) { return qMax(0, twips); }, DefaultLineWidth);
}

void setDistance(QTextCursor c, int twips)
{
    setProperty(c, FrameDistance, [twips](int) { return qMax(0, twips); }, 0);
}

void paint(QPainter* p, QTextDocument* doc, const QTextBlock& block, const QRectF& area, double scale)
{
    const QTextBlockFormat f = block.blockFormat();
    const int s = f.intProperty(FrameStyle);
    const double width = scale * Document::twipsToPixels(f.hasProperty(FrameLineWidth) ? f.intProperty(FrameLineWidth)
                                                                                      : DefaultLineWidth);
    const double dist = scale * Document::twipsToPixels(f.intProperty(FrameDistance));
    // Qt's block rectangle starts at the layout's origin, not at the indented lines.
    QRectF text = doc->documentLayout()->blockBoundingRect(block);
    const double margin = text.left(); // where tab stops count from
    if (const QTextLayout* l = block.layout())
        text.translate(l->boundingRect().left(), 0);
    QRectF r = text.adjusted(-dist, -dist, dist, dist);
    // Connected frames leave out the line between neighbours of the same style.
    bool top = s & FrameBits::Top, bottom = s & FrameBits::Bottom;
    if (s & FrameBits::Connected) {
        if (block.previous().isValid() && block.previous().blockFormat().intProperty(FrameStyle) == s)
            top = false;
        if (block.next().isValid() && block.next().blockFormat().intProperty(FrameStyle) == s)
            bottom = false;
    }
    // A paragraph that runs over a page end is open there. The frame's own distance
    // may reach into the page margin.
    const bool cutTop = text.top() < area.top() - 0.5, cutBottom = text.bottom() > area.bottom() + 0.5;
    if (cutTop)
        r.setTop(area.top());
    if (cutBottom)
        r.setBottom(area.bottom());
    p->save();
    p->setRenderHint(QPainter::Antialiasing, false);
    auto line = [&](QPointF a, QPointF b, QPointF step) {
        p->drawLine(a, b);
        if (s & FrameBits::Double)
            p->drawLine(a + step, b + step);
    };
    p->setPen(QPen(Qt::black, width));
    const double gap = 2 * width;
    if (s & FrameBits::Left)
        line(r.topLeft(), r.bottomLeft(), {gap, 0});
    if (s & FrameBits::Right)
        line(r.topRight(), r.bottomRight(), {-gap, 0});
    if (top && !cutTop)
        line(r.topLeft(), r.topRight(), {0, gap});
    if (bottom && !cutBottom)
        line(r.bottomLeft(), r.bottomRight(), {0, -gap});
    if (s & FrameBits::TabLines)
        for (const QTextOption::Tab& t : TabStops::fromMargin(f))
            p->drawLine(QPointF(margin + t.position * scale, r.top()), QPointF(margin + t.position * scale, r.bottom()));
    p->restore();
}

void paintVisible(QPainter* p, QTextDocument* doc, const QRectF& visible)
{
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    const int hit = layout->hitTest(visible.topLeft(), Qt::FuzzyHit);
    QTextBlock b = hit < 0 ? doc->begin() : doc->findBlock(hit);
    // A frame reaches above its paragraph by its distance.
    for (int i = 0; i < 2 && b.previous().isValid(); ++i)
        b = b.previous();
    const QRectF open(visible.left(), -1e9, visible.width(), 2e9);
    for (; b.isValid(); b = b.next()) {
        const QRectF r = layout->blockBoundingRect(b);
        if (r.top() > visible.bottom() + 100)
            break;
        if (hasFrame(b.blockFormat()))
            paint(p, doc, b, open);
    }
}

void paintRules(QPainter* p, QTextDocument* doc, const QRectF& area, double scale, QTextBlock from)
{
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    // Found by bisection: a hit test walks a long document from its start on every paint.
    QTextBlock b = from.isValid() ? from : BlockBand::firstReaching(doc, area.top());
    if (b.previous().isValid())
        b = b.previous();
    p->save();
    p->setPen(QPen(Qt::black, scale));
    for (; b.isValid(); b = b.next()) {
        const QRectF r = layout->blockBoundingRect(b);
        if (r.top() > area.bottom())
            break;
        const QTextBlockFormat f = b.blockFormat();
        if (r.bottom() < area.top() || !f.hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth))
            continue;
        // Where Qt puts it: across the paragraph, in the middle of an empty one.
        const double width = f.lengthProperty(QTextFormat::BlockTrailingHorizontalRulerWidth).value(r.width());
        const double y = b.length() == 1 ? r.top() + r.height() / 2 : r.bottom();
        double x = r.left();
        if (f.alignment() & Qt::AlignHCenter)
            x += (r.width() - width) / 2;
        else if (f.alignment() & Qt::AlignRight)
            x += r.width() - width;
        p->drawLine(QLineF(x, y, x + width, y));
    }
    p->restore();
}

} // namespace ParagraphFrames
