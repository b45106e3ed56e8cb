#include "TabLeaders.h"

#include "engine/pages/BlockBand.h"

#include <QAbstractTextDocumentLayout>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace TabLeaders {

QChar of(const QTextOption::Tab& t) { return t.type == QTextOption::DelimiterTab ? QChar() : t.delimiter; }

QTextOption::Tab with(QTextOption::Tab t, QChar leader)
{
    if (t.type != QTextOption::DelimiterTab)
        t.delimiter = leader;
    return t;
}

namespace {

bool hasLeaders(const QList<QTextOption::Tab>& tabs)
{
    for (const QTextOption::Tab& t : tabs)
        if (!of(t).isNull())
            return true;
    return false;
}

void fill(QPainter* p, const QFont& font, QChar leader, double left, double right, double baseline)
{
    QFontMetricsF fm(font);
    const double gap = fm.horizontalAdvance(QLatin1Char(' ')) / 2;
    left += gap;
    right -= gap;
    if (right - left < 1)
        return;
    if (leader == u'_' || leader == u'=') {
        // A line under the text, thicker for the "thick" leader.
        const double w = qMax(fm.lineWidth(), 0.5) * (leader == u'=' ? 2 : 1);
        p->fillRect(QRectF(left, baseline + fm.underlinePos() - w / 2, right - left, w), Qt::black);
        return;
    }
    const double step = fm.horizontalAdvance(leader);
    if (step <= 0)
        return;
    // Leaders on a fixed grid line up from one line to the next. A painter takes a font
    // at its own device's resolution: the size in the layout's units is set as pixels.
    QFont drawn(font);
    drawn.setPixelSize(qMax(1, QFontInfo(font).pixelSize()));
    p->setFont(drawn);
    p->setPen(Qt::black);
    for (double x = std::ceil(left / step) * step; x + step <= right + 0.01; x += step)
        p->drawText(QPointF(x, baseline), QString(leader));
}

} // namespace

void paint(QPainter* p, QTextDocument* doc, const QRectF& area, double scale, QTextBlock from)
{
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    // Found by bisection: a hit test walks a long document from its start on every paint.
    QTextBlock b = from.isValid() ? from : BlockBand::firstReaching(doc, area.top());
    if (b.previous().isValid())
        b = b.previous();
    p->save();
    for (; b.isValid(); b = b.next()) {
        const QRectF r = layout->blockBoundingRect(b);
        if (r.top() > area.bottom())
            break;
        const QList<QTextOption::Tab> tabs = b.blockFormat().tabPositions();
        if (r.bottom() < area.top() || !hasLeaders(tabs) || !b.text().contains(QLatin1Char('\t')) || !b.layout())
            continue;
        const QTextLayout* l = b.layout();
        const QString text = b.text();
        for (int i = 0; i < text.size(); ++i) {
            if (text.at(i) != u'\t')
                continue;
            const QTextLine line = l->lineForTextPosition(i);
            if (!line.isValid())
                continue;
            const double x0 = line.cursorToX(i), x1 = line.cursorToX(i + 1);
            // The stop the tab ran to: the first at or after where it ends.
            QChar leader;
            for (const QTextOption::Tab& t : tabs)
                if (line.x() + t.position * scale >= x1 - scale) {
                    leader = of(t);
                    break;
                }
            if (leader.isNull())
                continue;
            QTextCharFormat cf;
            for (auto it = b.begin(); !it.atEnd(); ++it)
                if (it.fragment().contains(b.position() + i))
                    cf = it.fragment().charFormat();
            // The font as the layout measured it: in its units.
            const QFont font(cf.font().resolve(doc->defaultFont()), layout->paintDevice());
            fill(p, font, leader, r.left() + x0, r.left() + x1, r.top() + line.y() + line.ascent());
        }
    }
    p->restore();
}

} // namespace TabLeaders
