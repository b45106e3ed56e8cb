#pragma once
// Styles of an OpenDocument text: paragraph, text, cell, column and frame properties
// as Qt formats, followed through their parents; list styles; the page layout.

#include "engine/formats/zip/XmlTree.h"

#include <QHash>
#include <QSet>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextListFormat>

namespace Odt {

struct OdtStyle {
    QString parent, masterPage;
    QTextBlockFormat block;
    QTextCharFormat chars;
    const ZipPackage::XmlNode* node = nullptr; // for cell, column and graphic properties
};

struct LevelStyle {
    QTextListFormat::Style style = QTextListFormat::ListDecimal;
    QString prefix, suffix;
    int text = 0, marker = 0;   // twips
    bool parentNumbers = false; // text:display-levels above 1: the parents' numbers lead
};

class Styles {
public:
    // Adds the styles of one part: office:font-face-decls, office:styles and
    // office:automatic-styles. `automatic` ones are kept apart per part (their names
    // repeat between content.xml and styles.xml).
    void add(const ZipPackage::XmlNode& root, bool contentPart);

    QTextBlockFormat paragraph(const QString& name, bool contentPart) const;
    QTextCharFormat text(const QString& name, bool contentPart) const;
    QString masterPageOf(const QString& name, bool contentPart) const;
    const ZipPackage::XmlNode* node(const QString& name, bool contentPart) const;
    LevelStyle listLevel(const QString& listStyle, int level, bool contentPart) const;
    QFont defaultFont() const;

    QSet<QString>& unsupported() const { return m_unsupported; }

private:
    const OdtStyle* find(const QString& name, bool contentPart) const;
    QList<const OdtStyle*> chainOf(const QString& name, bool contentPart) const;
    void parseProperties(const ZipPackage::XmlNode& style, OdtStyle& into) const;
    QHash<QString, OdtStyle> m_common, m_content, m_styles;
    QHash<QString, const ZipPackage::XmlNode*> m_listCommon, m_listContent, m_listStyles;
    QHash<QString, QString> m_fontFaces;
    QTextCharFormat m_default;
    mutable QSet<QString> m_unsupported;
};

} // namespace Odt
