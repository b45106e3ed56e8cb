#include "PageEstimate.h"

#include "engine/Document.h"
#include "Paginator.h"

#include <QFontMetricsF>
#include <QHash>
#include <QTextBlock>
#include <QTextDocument>

#include <cmath>

namespace PageEstimate {

namespace {

struct Metrics {
    double charWidth; // the font's widest average, an upper bound for text
    double lineHeight;
    QFontMetricsF exact;
};

// Font measures per character format, measured once each.
class FontTable {
public:
    // Format indices count into the document's list of all formats.
    explicit FontTable(const QTextDocument* d) : m_doc(d), m_formats(d->allFormats()) {}
    const Metrics& at(int index)
    {
        const auto found = m_metrics.constFind(index);
        if (found != m_metrics.constEnd())
            return *found;
        const QTextCharFormat format = m_formats.value(index).toCharFormat();
        const QFontMetricsF fm(format.font().resolve(m_doc->defaultFont()), Paginator::printDevice(96));
        return *m_metrics.insert(index, Metrics{fm.averageCharWidth(), fm.lineSpacing(), fm});
    }

private:
    const QTextDocument* m_doc;
    const QList<QTextFormat> m_formats;
    QHash<int, Metrics> m_metrics;
};

double lineHeight(const QTextBlockFormat& f, double font)
{
    switch (f.lineHeightType()) {
    case QTextBlockFormat::FixedHeight:
        return f.lineHeight();
    case QTextBlockFormat::MinimumHeight:
        return qMax(font, f.lineHeight());
    case QTextBlockFormat::ProportionalHeight:
        return font * f.lineHeight() / 100;
    case QTextBlockFormat::LineDistanceHeight:
        return font + f.lineHeight();
    default:
        return font;
    }
}

} // namespace

double pages(const QTextDocument* d, const PageGeometry& g, bool measure)
{
    const double bodyHeight = qMax(1.0, Document::twipsToPixels(g.height - g.marginT - g.marginB));
    const double bodyWidth = qMax(1.0, Document::twipsToPixels(g.width - g.marginL - g.marginR));
    FontTable fonts(d);
    double count = 1, y = 0;
    const auto newPage = [&] {
        if (y > 0)
            ++count;
        y = 0;
    };
    for (QTextBlock b = d->begin(); b.isValid(); b = b.next()) {
        const QTextBlockFormat f = b.blockFormat();
        if (f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            newPage();
        double height = fonts.at(b.charFormatIndex()).lineHeight;
        double width = 0;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            const Metrics& fm = fonts.at(frag.charFormatIndex());
            width += frag.length() * fm.charWidth;
            height = qMax(height, fm.lineHeight);
        }
        // Indents of any size leave at least a word's room, as the layout does.
        const double room = qMax(bodyWidth / 8, bodyWidth - f.leftMargin() - f.rightMargin() - f.textIndent());
        // Only text that may wrap is measured; a line ends a word early.
        if (measure && width > room) {
            width = 0;
            for (auto it = b.begin(); !it.atEnd(); ++it)
                width += fonts.at(it.fragment().charFormatIndex()).exact.horizontalAdvance(it.fragment().text());
        }
        const double lines = qMax(1.0, std::ceil(width / (room * 0.95)));
        const double h = qMax(0.0, lineHeight(f, height));
        y += qMax(0.0, f.topMargin()) + qMax(0.0, f.bottomMargin());
        if (y >= bodyHeight)
            newPage();
        // Lines fill the rest of this page, then whole pages.
        const double perPage = h > 0 ? qMax(1.0, std::floor(bodyHeight / h)) : 1e9;
        const double here = y > 0 ? std::floor((bodyHeight - y) / qMax(h, 1e-9)) : perPage;
        if (lines <= here) {
            y += lines * h;
        } else {
            const double rest = lines - qMax(0.0, here);
            const double full = std::ceil(rest / perPage);
            count += full;
            y = (rest - (full - 1) * perPage) * h;
        }
        if (f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter)
            newPage();
    }
    return count;
}

} // namespace PageEstimate
