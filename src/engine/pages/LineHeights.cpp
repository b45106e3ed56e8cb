#include "LineHeights.h"

#include "Paginator.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QHash>
#include <QPaintDevice>
#include <QRawFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QtEndian>

#include <cmath>

namespace LineHeights {

namespace {

// The paragraph's own line height, kept in the copy only (never written to a file).
constexpr int OwnType = QTextFormat::UserProperty + 0x7f01;  // -1: none given
constexpr int OwnHeight = QTextFormat::UserProperty + 0x7f02;

// Ascent, descent and line gap: as Qt lays the line out (layout units), and as the font's
// hhea table gives them at the font's size (twips).
struct Metrics {
    double ascent = 0, descent = 0, gap = 0;
    double twips[3] = {0, 0, 0};
    bool known = true; // false without a size in points or without the table
};

Metrics metricsOf(const QFont& font, const QPaintDevice* device)
{
    const QFontMetricsF m(font, device);
    Metrics out{m.ascent(), m.descent(), qMax(0.0, m.leading())};
    const QRawFont raw = QRawFont::fromFont(font);
    const QByteArray hhea = raw.isValid() ? raw.fontTable("hhea") : QByteArray();
    if (hhea.size() < 10 || raw.unitsPerEm() <= 0 || font.pointSizeF() <= 0) {
        out.known = false;
        return out;
    }
    const double perUnit = font.pointSizeF() * 20 / raw.unitsPerEm();
    out.twips[0] = qFromBigEndian<qint16>(hhea.constData() + 4) * perUnit;
    out.twips[1] = -qFromBigEndian<qint16>(hhea.constData() + 6) * perUnit;
    out.twips[2] = qMax(0, int(qFromBigEndian<qint16>(hhea.constData() + 8))) * perUnit;
    return out;
}

class Fonts {
public:
    explicit Fonts(const QTextDocument* d) : m_doc(d), m_device(d->documentLayout()->paintDevice()) {}
    const QPaintDevice* device() const { return m_device; }
    Metrics of(int formatIndex, const QTextCharFormat& f)
    {
        auto it = m_known.constFind(formatIndex);
        if (it != m_known.cend())
            return *it;
        const Metrics out = metricsOf(f.font().resolve(m_doc->defaultFont()), m_device);
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
        for (int i = 0; i < 3; ++i)
            out->twips[i] = qMax(out->twips[i], m.twips[i]);
        out->known = out->known && m.known;
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
        || !tallest(b, fonts, &m) || !m.known)
        return f;
    const double perTwip = fonts.device()->logicalDpiY() / 1440.0;
    const double office = (std::round(m.twips[0]) + std::round(m.twips[1]) + std::round(m.twips[2])) * perTwip;
    const double exact = m.ascent + m.descent + m.gap;
    const double qt = std::ceil(exact);
    // Only a matter of rounding: other metrics than the table's (a font that asks for
    // its typographic ones, a fallback font for some characters) stay Qt's.
    if (office <= 0 || std::abs(office - qt) < 1e-3 || std::abs(office - exact) > 1.5 * perTwip)
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
