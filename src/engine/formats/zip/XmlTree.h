#pragma once
// A package member's XML as a small tree, read through ZipPackage::nextToken (no DTD,
// so no entity expansion) with a depth limit. Readers of DOCX and ODT walk it with
// look-ahead, which tables and fields need.

#include <QByteArray>
#include <QString>
#include <QXmlStreamAttributes>
#include <vector>

namespace ZipPackage {

struct XmlNode {
    QString ns;   // namespace URI; empty for text nodes
    QString name; // local name; empty for text nodes
    QString text; // character data of a text node
    QXmlStreamAttributes attrs;
    std::vector<XmlNode> children;

    bool isText() const { return name.isEmpty(); }
    bool is(const QString& uri, QLatin1StringView local) const { return name == local && ns == uri; }
    const XmlNode* child(const QString& uri, QLatin1StringView local) const;
    // The attribute in namespace `uri`; `fallback` when absent.
    QString attr(const QString& uri, QLatin1StringView local, const QString& fallback = QString()) const;
    bool hasAttr(const QString& uri, QLatin1StringView local) const;
    // The text of all text nodes below, in order.
    QString allText() const;
};

// Parses `data` into `root` (the document element). `part` names the member in errors.
bool parseXml(const QByteArray& data, const QString& part, XmlNode* root, QString* error);

} // namespace ZipPackage
