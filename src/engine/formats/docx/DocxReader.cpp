#include "DocxReader.h"

#include "DocxBodyReader.h"
#include "DocxNames.h"
#include "DocxStyles.h"
#include "engine/Document.h"
#include "engine/formats/zip/XmlTree.h"
#include "engine/formats/zip/ZipPackage.h"

#include <QTextDocument>
#include <QUrl>

using ZipPackage::XmlNode;
using namespace Docx;

namespace {

QLatin1StringView L(const char* s) { return QLatin1StringView(s); }

const QString kNotWord = QStringLiteral("Die Datei ist kein Word-Dokument (DOCX) und kann nicht gelesen werden.");

struct Part {
    QString path;
    XmlNode root;
    Rels rels;
};

class PackageReader {
public:
    PackageReader(ZipPackage::Reader& zip, QString* error) : zip(zip), error(error) {}

    // Reads `path` and its relationships; a missing optional part is no error.
    bool load(const QString& path, Part* part, bool required)
    {
        part->path = path;
        if (!zip.contains(path)) {
            if (required && error)
                *error = kNotWord;
            return !required;
        }
        QByteArray data;
        if (!zip.read(path, &data, error) || !ZipPackage::parseXml(data, path, &part->root, error))
            return false;
        const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
        const QString relsPath = path.left(slash + 1) + QStringLiteral("_rels/") + path.mid(slash + 1) + QStringLiteral(".rels");
        return relationships(relsPath, path, &part->rels);
    }

    bool relationships(const QString& relsPath, const QString& source, Rels* out)
    {
        if (!zip.contains(relsPath))
            return true;
        QByteArray data;
        XmlNode root;
        if (!zip.read(relsPath, &data, error) || !ZipPackage::parseXml(data, relsPath, &root, error))
            return false;
        for (const XmlNode& r : root.children) {
            if (r.name != u"Relationship")
                continue;
            Rel rel;
            rel.type = r.attr(QString(), L("Type"));
            rel.external = r.attr(QString(), L("TargetMode")) == u"External";
            const QString target = r.attr(QString(), L("Target"));
            rel.target = rel.external ? target : ZipPackage::resolve(source, QUrl::fromPercentEncoding(target.toUtf8()));
            out->insert(r.attr(QString(), L("Id")), rel);
        }
        return true;
    }

    QString target(const Rels& rels, const char* kind) const
    {
        const QString type = relType(kind);
        for (const Rel& r : rels)
            if (r.type == type && !r.external)
                return r.target;
        return {};
    }

    ZipPackage::Reader& zip;
    QString* error;
};

void readSection(const XmlNode* sectPr, PageGeometry& g, Document& doc)
{
    if (!sectPr)
        return;
    if (const XmlNode* sz = sectPr->child(W, L("pgSz"))) {
        g.width = qBound(1440, intAttr(*sz, L("w"), g.width), 31680 * 2);
        g.height = qBound(1440, intAttr(*sz, L("h"), g.height), 31680 * 2);
        // A landscape page may still be stated with portrait measures.
        if (sz->attr(W, L("orient")) == u"landscape" && g.width < g.height)
            std::swap(g.width, g.height);
    }
    if (const XmlNode* m = sectPr->child(W, L("pgMar"))) {
        g.marginT = qBound(0, qAbs(intAttr(*m, L("top"), g.marginT)), g.height / 2);
        g.marginB = qBound(0, qAbs(intAttr(*m, L("bottom"), g.marginB)), g.height / 2);
        g.marginL = qBound(0, intAttr(*m, L("left"), g.marginL) + intAttr(*m, L("gutter"), 0), g.width / 2);
        g.marginR = qBound(0, intAttr(*m, L("right"), g.marginR), g.width / 2);
        doc.setHeaderDistance(qBound(0, intAttr(*m, L("header"), doc.headerDistance()), g.height / 2));
        doc.setFooterDistance(qBound(0, intAttr(*m, L("footer"), doc.footerDistance()), g.height / 2));
    }
}

} // namespace

bool DocxReader::sniff(const QByteArray& data) const
{
    return ZipPackage::looksLikeZip(data) && data.left(4096).contains("word/");
}

bool DocxReader::read(const QByteArray& data, Document& into, QString* error)
{
    ZipPackage::Reader zip;
    if (!zip.open(data, error))
        return false;
    PackageReader pkg(zip, error);
    Rels rootRels;
    if (!pkg.relationships(QStringLiteral("_rels/.rels"), QString(), &rootRels))
        return false;
    QString mainPath = pkg.target(rootRels, "officeDocument");
    if (mainPath.isEmpty())
        mainPath = QStringLiteral("word/document.xml");
    Part main;
    if (!pkg.load(mainPath, &main, true))
        return false;
    const XmlNode* body = main.root.child(W, L("body"));
    if (!main.root.is(W, L("document")) || !body) {
        FormatErrors::set(error, kNotWord);
        return false;
    }
    Part styles, numbering, theme;
    if (!pkg.load(pkg.target(main.rels, "styles"), &styles, false)
        || !pkg.load(pkg.target(main.rels, "numbering"), &numbering, false)
        || !pkg.load(pkg.target(main.rels, "theme"), &theme, false))
        return false;
    Styles st;
    st.read(styles.root.name.isEmpty() ? nullptr : &styles.root, numbering.root.name.isEmpty() ? nullptr : &numbering.root,
            theme.root.name.isEmpty() ? nullptr : &theme.root);

    QSet<QString> unsupported;
    PageGeometry g = into.page();
    const XmlNode* sectPr = body->child(W, L("sectPr"));
    readSection(sectPr, g, into);
    into.setPage(g);
    into.body()->setDefaultFont(st.defaultFont());

    // Header and footer parts of the last section: 1 header, 2 first-page header,
    // 4 footer, 8 first-page footer.
    QHash<int, QString> partRels;
    const bool titlePage = sectPr && sectPr->child(W, L("titlePg")) && isOn(*sectPr->child(W, L("titlePg")));
    if (sectPr) {
        for (const XmlNode& ref : sectPr->children) {
            const bool header = ref.is(W, L("headerReference"));
            if (!header && !ref.is(W, L("footerReference")))
                continue;
            const QString type = ref.attr(W, L("type"), QStringLiteral("default"));
            if (type == u"even") {
                unsupported.insert(QStringLiteral("eigene Kopf- und Fußzeilen für gerade Seiten"));
                continue;
            }
            if (type == u"first" && !titlePage)
                continue;
            partRels.insert((header ? 1 : 4) * (type == u"first" ? 2 : 1), ref.attr(R, L("id")));
        }
    }
    // A reference to a part the package lacks leaves its slot empty.
    for (auto it = partRels.begin(); it != partRels.end();) {
        const QString target = main.rels.value(it.value()).target;
        it = target.isEmpty() || !zip.contains(target) ? partRels.erase(it) : std::next(it);
    }
    int bits = 0;
    for (auto it = partRels.cbegin(); it != partRels.cend(); ++it)
        bits |= it.key();
    if (titlePage)
        bits |= (bits & 1 ? 2 : 0) | (bits & 4 ? 8 : 0);
    into.setHeaderFooterSet(bits);

    ReadContext ctx{zip, st, g, unsupported, {}};
    for (auto it = partRels.cbegin(); it != partRels.cend(); ++it) {
        const Rel rel = main.rels.value(it.value());
        Part part;
        if (!pkg.load(rel.target, &part, false))
            return false;
        if (QTextDocument* d = into.headerFooter(it.key()))
            BodyReader(d, ctx, part.rels).readAll(part.root);
    }
    QList<QPair<int, QString>> headerNotes = ctx.notes;
    BodyReader bodyReader(into.body(), ctx, main.rels);
    bodyReader.readAll(*body);

    // The document has no notes: they follow the text, numbered as their marks.
    if (!ctx.notes.isEmpty()) {
        unsupported.insert(QStringLiteral("Fuß- und Endnoten (stehen am Ende des Textes)"));
        Part foot, end;
        if (!pkg.load(pkg.target(main.rels, "footnotes"), &foot, false)
            || !pkg.load(pkg.target(main.rels, "endnotes"), &end, false))
            return false;
        BodyReader notesFoot(into.body(), ctx, foot.rels);
        BodyReader notesEnd(into.body(), ctx, end.rels);
        for (const auto& [number, key] : std::as_const(ctx.notes)) {
            const bool isFoot = key.startsWith(QLatin1Char('f'));
            const XmlNode& root = isFoot ? foot.root : end.root;
            for (const XmlNode& n : root.children)
                if ((n.name == u"footnote" || n.name == u"endnote") && n.attr(W, L("id")) == key.mid(1))
                    (isFoot ? notesFoot : notesEnd).appendNote(n, number);
        }
    }
    Q_UNUSED(headerNotes);
    unsupported.unite(st.unsupported());
    if (!unsupported.isEmpty()) {
        QStringList items = unsupported.values();
        items.sort();
        addNote(QStringLiteral("Einige Bestandteile der Datei kann die Textverarbeitung nicht darstellen: %1.")
                    .arg(items.join(QStringLiteral(", "))));
    }
    return true;
}
