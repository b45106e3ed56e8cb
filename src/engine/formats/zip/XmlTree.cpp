#include "XmlTree.h"

#include "ZipPackage.h"

namespace ZipPackage {

namespace {
// Deeper nesting than any office suite writes; guards the readers' recursion.
constexpr int kMaxDepth = 200;
}

const XmlNode* XmlNode::child(const QString& uri, QLatin1StringView local) const
{
    for (const XmlNode& c : children)
        if (c.is(uri, local))
            return &c;
    return nullptr;
}

QString XmlNode::attr(const QString& uri, QLatin1StringView local, const QString& fallback) const
{
    for (const QXmlStreamAttribute& a : attrs)
        if (a.name() == local && a.namespaceUri() == uri)
            return a.value().toString();
    return fallback;
}

bool XmlNode::hasAttr(const QString& uri, QLatin1StringView local) const
{
    for (const QXmlStreamAttribute& a : attrs)
        if (a.name() == local && a.namespaceUri() == uri)
            return true;
    return false;
}

QString XmlNode::allText() const
{
    if (isText())
        return text;
    QString out;
    for (const XmlNode& c : children)
        out += c.allText();
    return out;
}

bool parseXml(const QByteArray& data, const QString& part, XmlNode* root, QString* error)
{
    QXmlStreamReader r(data);
    std::vector<XmlNode*> stack;
    bool haveRoot = false;
    while (!r.atEnd()) {
        const QXmlStreamReader::TokenType t = nextToken(r);
        if (t == QXmlStreamReader::Invalid)
            break;
        if (t == QXmlStreamReader::StartElement) {
            XmlNode* node = nullptr;
            if (stack.empty()) {
                if (haveRoot)
                    break;
                haveRoot = true;
                node = root;
            } else {
                if (stack.size() >= kMaxDepth) {
                    r.raiseError(QStringLiteral("depth"));
                    break;
                }
                stack.back()->children.emplace_back();
                node = &stack.back()->children.back();
            }
            node->ns = r.namespaceUri().toString();
            node->name = r.name().toString();
            node->attrs = r.attributes();
            stack.push_back(node);
        } else if (t == QXmlStreamReader::EndElement) {
            if (!stack.empty())
                stack.pop_back();
        } else if (t == QXmlStreamReader::Characters && !stack.empty()) {
            std::vector<XmlNode>& kids = stack.back()->children;
            if (!kids.empty() && kids.back().isText())
                kids.back().text += r.text();
            else {
                kids.emplace_back();
                kids.back().text = r.text().toString();
            }
        }
    }
    if (r.hasError() || !haveRoot) {
        if (error)
            *error = xmlErrorText(r, part);
        return false;
    }
    return true;
}

} // namespace ZipPackage
