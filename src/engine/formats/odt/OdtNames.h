#pragma once
// Namespaces and units of OpenDocument text packages.

#include <QString>

namespace Odt {

inline const QString OFFICE = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
inline const QString STYLE = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:style:1.0");
inline const QString TEXT = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
inline const QString TABLE = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
inline const QString DRAW = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:drawing:1.0");
inline const QString FO = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0");
inline const QString XLINK = QStringLiteral("http://www.w3.org/1999/xlink");
inline const QString SVG = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0");
inline const QString MANIFEST = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:manifest:1.0");
inline const QString XMLNS = QStringLiteral("http://www.w3.org/XML/1998/namespace");

// The namespace declarations of our content.xml and styles.xml roots.
inline QString rootNamespaces()
{
    return QStringLiteral(
        "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
        "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" "
        "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
        "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
        "xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\" "
        "xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\" "
        "xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
        "xmlns:svg=\"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0\" office:version=\"1.3\"");
}

// Tab leaders: the line ODF draws (style:leader-style) and the character a stop keeps
// (TabLeaders), the first of a style when reading.
struct Leader {
    const char* style;
    char16_t leader;
};
inline constexpr Leader kLeaders[] = {
    {"dotted", u'.'}, {"dotted", 0x00B7}, {"dash", u'-'}, {"solid", u'_'}, {"long-dash", u'-'}, {"dot-dash", u'.'}, {"dot-dot-dash", u'.'}, {"wave", u'_'},
};

// Lengths are written in points (twips / 20) and read in any unit ODF allows.
inline QString pt(double twips) { return QString::number(twips / 20.0, 'f', 2) + QStringLiteral("pt"); }

// A length such as "2.5cm", "10pt", "0.5in", "12mm", "1pc" or "96px" in twips; `ok`
// false when it is none.
inline double twipsOf(const QString& length, bool* ok = nullptr)
{
    static const std::pair<const char*, double> units[] = {{"cm", 1440 / 2.54}, {"mm", 144 / 2.54}, {"in", 1440},
                                                           {"pt", 20},          {"pc", 240},        {"px", 15}};
    for (const auto& [unit, factor] : units) {
        if (length.endsWith(QLatin1String(unit))) {
            bool good = false;
            const double v = length.chopped(2).toDouble(&good);
            if (ok)
                *ok = good;
            return good ? v * factor : 0;
        }
    }
    if (ok)
        *ok = false;
    return 0;
}

inline QString esc(const QString& s)
{
    QString out;
    out.reserve(s.size());
    for (QChar c : s) {
        switch (c.unicode()) {
        case u'&': out += QStringLiteral("&amp;"); break;
        case u'<': out += QStringLiteral("&lt;"); break;
        case u'>': out += QStringLiteral("&gt;"); break;
        case u'"': out += QStringLiteral("&quot;"); break;
        default:
            if (c.unicode() >= 0x20 || c == u'\t')
                out += c;
        }
    }
    return out;
}

} // namespace Odt
