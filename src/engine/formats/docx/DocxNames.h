#pragma once
// Namespaces, relationship types and units of WordprocessingML packages.

#include <QColor>
#include <QString>

namespace Docx {

inline const QString W = QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");
inline const QString R = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
inline const QString WP = QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing");
inline const QString A = QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/main");
inline const QString PIC = QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/picture");
inline const QString PKG_RELS = QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships");
inline const QString CT = QStringLiteral("http://schemas.openxmlformats.org/package/2006/content-types");

// Relationship types (the part after ".../relationships/").
inline QString relType(const char* kind)
{
    return QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships/")
           + QLatin1String(kind);
}

// Picture extents are EMU: 914400 per inch, so 635 per twip and 9525 per pixel at 96 dpi.
constexpr qint64 EmuPerTwip = 635;

// Word's highlight colours by name.
struct Highlight {
    const char* name;
    QRgb rgb;
};
inline constexpr Highlight kHighlights[] = {
    {"yellow", 0xFFFF00},   {"green", 0x00FF00},     {"cyan", 0x00FFFF},      {"magenta", 0xFF00FF},
    {"blue", 0x0000FF},     {"red", 0xFF0000},       {"darkBlue", 0x000080},  {"darkCyan", 0x008080},
    {"darkGreen", 0x008000}, {"darkMagenta", 0x800080}, {"darkRed", 0x800000}, {"darkYellow", 0x808000},
    {"darkGray", 0x808080}, {"lightGray", 0xC0C0C0}, {"black", 0x000000},     {"white", 0xFFFFFF},
};

// Tab leaders by Word's name; the character is the one a stop keeps (TabLeaders).
struct Leader {
    const char* name;
    char16_t leader;
};
inline constexpr Leader kLeaders[] = {
    {"dot", u'.'}, {"hyphen", u'-'}, {"underscore", u'_'}, {"heavy", u'='}, {"middleDot", 0x00B7},
};

inline QString hex(const QColor& c) { return c.name(QColor::HexRgb).mid(1).toUpper(); }

} // namespace Docx
