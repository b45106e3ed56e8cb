#pragma once
// Run and paragraph properties of WordprocessingML, as Qt formats, with the
// inheritance of document defaults, styles and numbering levels.

#include "engine/formats/zip/XmlTree.h"

#include <QHash>
#include <QSet>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextListFormat>

namespace Docx {

// Paragraph properties: the Qt block format plus what Word keeps beside it.
struct ParaProps {
    QTextBlockFormat block;
    int numId = -1; // -1 not said, 0 "no list"
    int ilvl = -1;
    int heading = 0;
    // Indents in twips as Word states them; lists need them before they become pixels.
    int left = INT_MIN, right = INT_MIN, first = INT_MIN;
    void mergeFrom(const ParaProps& o);
};

struct Style {
    QString id, name, basedOn, type;
    ParaProps para;
    QTextCharFormat chars;
    bool tableBorders = false;
};

struct Level {
    QTextListFormat::Style style = QTextListFormat::ListDecimal;
    QString prefix, suffix = QStringLiteral(".");
    int left = INT_MIN, hanging = 0;
    bool bullet = false;
    bool parentNumbers = false; // "%1.%2.": the label starts with the parent's
    int start = 1;
};

class Styles {
public:
    // Reads styles.xml (may be null), numbering.xml (may be null) and the theme's fonts.
    void read(const ZipPackage::XmlNode* styles, const ZipPackage::XmlNode* numbering,
              const ZipPackage::XmlNode* theme);

    // Parses <w:rPr> / <w:pPr>. Properties the document cannot show go to `unsupported`.
    QTextCharFormat runProperties(const ZipPackage::XmlNode* rPr) const;
    ParaProps paragraphProperties(const ZipPackage::XmlNode* pPr) const;

    // Effective formats of a style id through its basedOn chain.
    ParaProps paragraphStyle(const QString& id) const;
    QTextCharFormat charStyle(const QString& id) const;
    bool tableStyleHasBorders(const QString& id) const;
    QString defaultParagraphStyle() const { return m_defaultPara; }

    QTextCharFormat defaultChars() const { return m_defaultChars; }
    ParaProps defaultPara() const { return m_defaultParaProps; }
    QFont defaultFont() const;

    // The level of a list; nullptr when not defined.
    const Level* level(int numId, int ilvl) const;

    QSet<QString>& unsupported() const { return m_unsupported; }

private:
    QString themeFont(const QString& which) const;
    QHash<QString, Style> m_styles;
    QString m_defaultPara;
    QTextCharFormat m_defaultChars;
    ParaProps m_defaultParaProps;
    QHash<int, QHash<int, Level>> m_abstract; // abstractNumId -> levels
    QHash<int, int> m_numToAbstract;
    QHash<int, QHash<int, Level>> m_overrides;
    QString m_minorFont, m_majorFont;
    mutable QSet<QString> m_unsupported;
};

// The on/off value of a toggle property such as <w:b/> or <w:b w:val="0"/>.
bool isOn(const ZipPackage::XmlNode& n);
int intAttr(const ZipPackage::XmlNode& n, QLatin1StringView name, int fallback = 0);

} // namespace Docx
