#include "OdtReader.h"

#include "OdtBodyReader.h"
#include "OdtNames.h"
#include "OdtStyles.h"
#include "engine/Document.h"
#include "engine/formats/zip/XmlTree.h"
#include "engine/formats/zip/ZipPackage.h"

#include <QTextDocument>

using ZipPackage::XmlNode;
using namespace Odt;

namespace {

QLatin1StringView L(const char* s) { return QLatin1StringView(s); }
const QString kNotOdt = QStringLiteral("Die Datei ist kein OpenDocument-Text (ODT) und kann nicht gelesen werden.");

const XmlNode* masterPage(const XmlNode& styles, const QString& name)
{
    const XmlNode* ms = styles.child(OFFICE, L("master-styles"));
    if (!ms)
        return nullptr;
    const XmlNode* first = nullptr;
    for (const XmlNode& m : ms->children) {
        if (!m.is(STYLE, L("master-page")))
            continue;
        if (!first)
            first = &m;
        if (m.attr(STYLE, L("name")) == name)
            return &m;
    }
    return name.isEmpty() ? first : nullptr;
}

const XmlNode* pageLayout(const XmlNode& styles, const QString& name)
{
    const XmlNode* as = styles.child(OFFICE, L("automatic-styles"));
    if (as)
        for (const XmlNode& p : as->children)
            if (p.is(STYLE, L("page-layout")) && p.attr(STYLE, L("name")) == name)
                return &p;
    return nullptr;
}

int twips(const XmlNode* n, const QString& ns, const char* name, int fallback)
{
    bool ok = false;
    const double v = n ? twipsOf(n->attr(ns, L(name)), &ok) : 0;
    return ok ? qRound(v) : fallback;
}

// Page size and margins; ODF's top margin reaches to the header, whose band counts too.
void readPage(const XmlNode* layout, bool header, bool footer, Document& doc, PageGeometry& g)
{
    const XmlNode* p = layout ? layout->child(STYLE, L("page-layout-properties")) : nullptr;
    if (!p)
        return;
    g.width = qBound(1440, twips(p, FO, "page-width", g.width), 63360);
    g.height = qBound(1440, twips(p, FO, "page-height", g.height), 63360);
    const int top = twips(p, FO, "margin-top", 0), bottom = twips(p, FO, "margin-bottom", 0);
    g.marginL = qBound(0, twips(p, FO, "margin-left", g.marginL), g.width / 2);
    g.marginR = qBound(0, twips(p, FO, "margin-right", g.marginR), g.width / 2);
    g.marginT = top;
    g.marginB = bottom;
    auto band = [&](const char* style, const char* margin) {
        const XmlNode* s = layout->child(STYLE, L(style));
        const XmlNode* hp = s ? s->child(STYLE, L("header-footer-properties")) : nullptr;
        return qMax(twips(hp, FO, "min-height", 0), twips(hp, FO, "height", 0)) + twips(hp, FO, margin, 0);
    };
    if (header) {
        doc.setHeaderDistance(top);
        g.marginT = top + band("header-style", "margin-bottom");
    }
    if (footer) {
        doc.setFooterDistance(bottom);
        g.marginB = bottom + band("footer-style", "margin-top");
    }
    g.marginT = qBound(0, g.marginT, g.height / 2);
    g.marginB = qBound(0, g.marginB, g.height / 2);
}

} // namespace

bool OdtReader::sniff(const QByteArray& data) const
{
    return ZipPackage::looksLikeZip(data) && data.mid(30, 60).startsWith("mimetypeapplication/vnd.oasis.opendocument.text");
}

bool OdtReader::read(const QByteArray& data, Document& into, QString* error)
{
    ZipPackage::Reader zip;
    if (!zip.open(data, error))
        return false;
    if (!zip.contains(QStringLiteral("content.xml"))) {
        FormatErrors::set(error, kNotOdt);
        return false;
    }
    QByteArray bytes;
    XmlNode content, styles;
    if (!zip.read(QStringLiteral("content.xml"), &bytes, error)
        || !ZipPackage::parseXml(bytes, QStringLiteral("content.xml"), &content, error))
        return false;
    if (zip.contains(QStringLiteral("styles.xml"))
        && (!zip.read(QStringLiteral("styles.xml"), &bytes, error)
            || !ZipPackage::parseXml(bytes, QStringLiteral("styles.xml"), &styles, error)))
        return false;
    const XmlNode* body = content.child(OFFICE, L("body"));
    const XmlNode* text = body ? body->child(OFFICE, L("text")) : nullptr;
    if (!content.is(OFFICE, L("document-content")) || !text) {
        FormatErrors::set(error, kNotOdt);
        return false;
    }
    Styles st;
    st.add(styles, false);
    st.add(content, true);
    into.body()->setDefaultFont(st.defaultFont());

    QSet<QString> unsupported;
    // Pictures placed on the page need its margins before the master page is known.
    PageGeometry pre = into.page();
    if (const XmlNode* m = masterPage(styles, QStringLiteral("Standard")) ? masterPage(styles, QStringLiteral("Standard")) : masterPage(styles, QString()))
        readPage(pageLayout(styles, m->attr(STYLE, L("page-layout-name"))), m->child(STYLE, L("header")),
                 m->child(STYLE, L("footer")), into, pre);
    ReadContext ctx{zip, st, pre, unsupported, {}};
    // The body first: its first paragraph may name the master page of page one.
    BodyReader bodyReader(into.body(), ctx, true);
    bodyReader.readAll(*text);

    const XmlNode* standard = masterPage(styles, QStringLiteral("Standard"));
    if (!standard)
        standard = masterPage(styles, QString());
    const XmlNode* firstMaster = bodyReader.firstMasterPage().isEmpty() ? nullptr : masterPage(styles, bodyReader.firstMasterPage());
    if (firstMaster == standard)
        firstMaster = nullptr;
    const XmlNode* pageOne = firstMaster ? firstMaster : standard;
    // Parts: 1 header, 2 first-page header, 4 footer, 8 first-page footer.
    QHash<int, const XmlNode*> parts;
    auto take = [&](const XmlNode* master, int bits, const char* name) {
        if (const XmlNode* p = master ? master->child(STYLE, L(name)) : nullptr)
            if (p->attr(STYLE, L("display"), QStringLiteral("true")) != u"false")
                parts.insert(bits, p);
    };
    take(standard, 1, "header");
    take(standard, 4, "footer");
    take(standard, 2, "header-first");
    take(standard, 8, "footer-first");
    if (firstMaster) {
        take(firstMaster, 2, "header");
        take(firstMaster, 8, "footer");
        // A first page without a part of its own shows none, where ours would show the
        // default part: an empty part keeps it empty.
        if (!parts.contains(2) && parts.contains(1))
            parts.insert(2, nullptr);
        if (!parts.contains(8) && parts.contains(4))
            parts.insert(8, nullptr);
    }
    if (standard && (standard->child(STYLE, L("header-left")) || standard->child(STYLE, L("footer-left"))))
        unsupported.insert(QStringLiteral("eigene Kopf- und Fußzeilen für linke Seiten"));
    int bits = 0;
    for (auto it = parts.cbegin(); it != parts.cend(); ++it)
        bits |= it.key();
    PageGeometry g = into.page();
    const XmlNode* layout = pageOne ? pageLayout(styles, pageOne->attr(STYLE, L("page-layout-name"))) : nullptr;
    readPage(layout, bits & 3, bits & 12, into, g);
    into.setPage(g);
    into.setHeaderFooterSet(bits);
    ctx.page = g;
    for (auto it = parts.cbegin(); it != parts.cend(); ++it)
        if (it.value())
            if (QTextDocument* d = into.headerFooter(it.key()))
                BodyReader(d, ctx, false).readAll(*it.value());
    if (!ctx.notes.isEmpty())
        bodyReader.appendNotes();

    unsupported.unite(st.unsupported());
    if (!unsupported.isEmpty()) {
        QStringList items = unsupported.values();
        items.sort();
        addNote(QStringLiteral("Einige Bestandteile der Datei kann die Textverarbeitung nicht darstellen: %1.")
                    .arg(items.join(QStringLiteral(", "))));
    }
    return true;
}
