#include "LineHeights.h"

#include "Paginator.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QHash>
#include <QPaintDevice>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <cmath>

namespace LineHeights {

namespace {

// The paragraph's own line height, kept in the copy only (never written to a file).
constexpr int OwnType = QTextFormat::UserProperty + 0x7f01;  // -1: none given
constexpr int OwnHeight = QTextFormat::UserProperty + 0x7f02;

struct Metrics {
    double ascent = 0, descent = 0, gap = 0; // layout units
};

class Fonts {
public:
    explicit Fonts(const QTextDocument* d) : m_doc(d), m_device(d->documentLayout()->paintDevice()) {}
    const QPaintDevice* device() const { return m_device; }
    Metrics of(int formatIndex, const QTextCharFormat& f)
    {
        auto it = m_known.constFind(formatIndex);
        if (it != m_known.cend())
            return *it;
        const QFontMetricsF m(f.font().resolve(m_doc->defaultFont()), m_device);
        const Metrics out{m.ascent(), m.descent(), qMax(0.0, m.leading())};
        m_known.insert(formatIndex, out);
        return out;
    }

private:
    const QTextDocument* m_doc;
    const QPaintDevice* m_device;
    QHash<int, Metrics> m_known;
};

// The tallest ascent, descent and gap of the paragraph's text (of its mark when it is
// empty); false for a paragraph with pictures or other objects, whose lines Qt sizes
// by them.
bool tallest(const QTextBlock& b, Fonts& fonts, Metrics* out)
{
    auto take = [out](const Metrics& m) {
        out->ascent = qMax(out->ascent, m.ascent);
        out->descent = qMax(out->descent, m.descent);
        out->gap = qMax(out->gap, m.gap);
    };
    if (b.length() == 1) {
        take(fonts.of(b.charFormatIndex(), b.charFormat()));
        return true;
    }
    for (auto it = b.begin(); !it.atEnd(); ++it) {
        const QTextFragment frag = it.fragment();
        const QTextCharFormat f = frag.charFormat();
        if (f.objectType() != QTextFormat::NoObject)
            return false;
        take(fonts.of(frag.charFormatIndex(), f));
    }
    return true;
}

QTextBlockFormat matched(QTextBlockFormat f, const QTextBlock& b, Fonts& fonts)
{
    if (f.hasProperty(OwnType)) {
        const int type = f.intProperty(OwnType);
        if (type < 0) {
            f.clearProperty(QTextFormat::LineHeightType);
            f.clearProperty(QTextFormat::LineHeight);
        } else {
            f.setLineHeight(f.doubleProperty(OwnHeight), type);
        }
        f.clearProperty(OwnType);
        f.clearProperty(OwnHeight);
    }
    const int type = f.lineHeightType();
    Metrics m;
    if (!fonts.device() || (type != QTextBlockFormat::SingleHeight && type != QTextBlockFormat::ProportionalHeight
                            && type != QTextBlockFormat::LineDistanceHeight)
        || !tallest(b, fonts, &m))
        return f;
    const double perTwip = fonts.device()->logicalDpiY() / 1440.0;
    const double office = (std::round(m.ascent / perTwip) + std::round(m.descent / perTwip) + std::round(m.gap / perTwip)) * perTwip;
    const double qt = std::ceil(m.ascent + m.descent + m.gap);
    if (office <= 0 || std::abs(office - qt) < 1e-3)
        return f;
    f.setProperty(OwnType, f.hasProperty(QTextFormat::LineHeightType) ? type : -1);
    f.setProperty(OwnHeight, f.lineHeight());
    // Qt scales a line distance by the layout's units per 96-dpi pixel.
    const double scale = Paginator::layoutScale(b.document());
    if (type == QTextBlockFormat::ProportionalHeight)
        f.setLineHeight(f.lineHeight() * office / qt, QTextBlockFormat::ProportionalHeight);
    else
        f.setLineHeight(f.lineHeight() + (office - qt) / scale, QTextBlockFormat::LineDistanceHeight);
    return f;
}

} // namespace

QTextBlockFormat matched(QTextBlockFormat f, const QTextBlock& b)
{
    Fonts fonts(b.document());
    return matched(f, b, fonts);
}

void match(QTextDocument* copy)
{
    Fonts fonts(copy);
    if (!fonts.device())
        return;
    QTextCursor c(copy);
    c.beginEditBlock();
    for (QTextBlock b = copy->begin(); b.isValid(); b = b.next()) {
        const QTextBlockFormat f = b.blockFormat();
        if (const QTextBlockFormat want = matched(f, b, fonts); want != f) {
            c.setPosition(b.position());
            c.setBlockFormat(want);
        }
    }
    c.endEditBlock();
}

} // namespace LineHeights
