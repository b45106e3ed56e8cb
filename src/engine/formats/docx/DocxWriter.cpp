#include "DocxWriter.h"

#include "DocxBodyWriter.h"
#include "DocxNames.h"
#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "engine/formats/zip/ZipPackage.h"

#include <QTextDocument>
#include <QTextList>
#include <QXmlStreamWriter>

using namespace Docx;

namespace {

QString num(qint64 v) { return QString::number(v); }

void startPart(QXmlStreamWriter& x)
{
    x.setAutoFormatting(false);
    x.writeStartDocument(QStringLiteral("1.0"), true);
}

void declareNamespaces(QXmlStreamWriter& x)
{
    x.writeNamespace(W, QStringLiteral("w"));
    x.writeNamespace(R, QStringLiteral("r"));
    x.writeNamespace(WP, QStringLiteral("wp"));
    x.writeNamespace(A, QStringLiteral("a"));
    x.writeNamespace(PIC, QStringLiteral("pic"));
}

QByteArray relationships(const QList<Relationship>& rels)
{
    QByteArray out;
    QXmlStreamWriter x(&out);
    startPart(x);
    x.writeDefaultNamespace(PKG_RELS);
    x.writeStartElement(PKG_RELS, QStringLiteral("Relationships"));
    for (const Relationship& r : rels) {
        x.writeEmptyElement(PKG_RELS, QStringLiteral("Relationship"));
        x.writeAttribute(QStringLiteral("Id"), r.id);
        x.writeAttribute(QStringLiteral("Type"), r.type);
        x.writeAttribute(QStringLiteral("Target"), r.target);
        if (r.external)
            x.writeAttribute(QStringLiteral("TargetMode"), QStringLiteral("External"));
    }
    x.writeEndElement();
    x.writeEndDocument();
    return out;
}

// One text (body or header/footer part) as a whole part; `root` is "document", "hdr" or "ftr".
QByteArray textPart(const QTextDocument* d, const QString& root, PackageState& package, QList<Relationship>* rels,
                    const std::function<void(QXmlStreamWriter&)>& sectionProperties = {})
{
    QByteArray out;
    QXmlStreamWriter x(&out);
    startPart(x);
    declareNamespaces(x);
    x.writeStartElement(W, root);
    if (root == u"document")
        x.writeStartElement(W, QStringLiteral("body"));
    BodyWriter body(d, package, x);
    body.writeContent();
    if (sectionProperties)
        sectionProperties(x);
    if (root == u"document")
        x.writeEndElement();
    x.writeEndElement();
    x.writeEndDocument();
    *rels = body.relationships();
    return out;
}

QByteArray styles(const QFont& font)
{
    QByteArray out;
    QXmlStreamWriter x(&out);
    startPart(x);
    x.writeNamespace(W, QStringLiteral("w"));
    x.writeStartElement(W, QStringLiteral("styles"));
    x.writeStartElement(W, QStringLiteral("docDefaults"));
    x.writeStartElement(W, QStringLiteral("rPrDefault"));
    x.writeStartElement(W, QStringLiteral("rPr"));
    x.writeEmptyElement(W, QStringLiteral("rFonts"));
    for (const char* a : {"ascii", "hAnsi", "cs", "eastAsia"})
        x.writeAttribute(W, QLatin1String(a), font.family());
    x.writeEmptyElement(W, QStringLiteral("sz"));
    x.writeAttribute(W, QStringLiteral("val"), num(qRound(font.pointSizeF() * 2)));
    x.writeEmptyElement(W, QStringLiteral("lang"));
    x.writeAttribute(W, QStringLiteral("val"), QStringLiteral("de-DE"));
    x.writeEndElement();
    x.writeEndElement();
    x.writeStartElement(W, QStringLiteral("pPrDefault"));
    x.writeStartElement(W, QStringLiteral("pPr"));
    x.writeEmptyElement(W, QStringLiteral("spacing"));
    x.writeAttribute(W, QStringLiteral("before"), QStringLiteral("0"));
    x.writeAttribute(W, QStringLiteral("after"), QStringLiteral("0"));
    x.writeAttribute(W, QStringLiteral("line"), QStringLiteral("240"));
    x.writeAttribute(W, QStringLiteral("lineRule"), QStringLiteral("auto"));
    x.writeEndElement();
    x.writeEndElement();
    x.writeEndElement(); // docDefaults
    auto style = [&](const QString& id, const QString& name, int heading) {
        x.writeStartElement(W, QStringLiteral("style"));
        x.writeAttribute(W, QStringLiteral("type"), QStringLiteral("paragraph"));
        if (heading == 0)
            x.writeAttribute(W, QStringLiteral("default"), QStringLiteral("1"));
        x.writeAttribute(W, QStringLiteral("styleId"), id);
        x.writeEmptyElement(W, QStringLiteral("name"));
        x.writeAttribute(W, QStringLiteral("val"), name);
        if (heading > 0) {
            x.writeEmptyElement(W, QStringLiteral("basedOn"));
            x.writeAttribute(W, QStringLiteral("val"), QStringLiteral("Normal"));
            x.writeEmptyElement(W, QStringLiteral("next"));
            x.writeAttribute(W, QStringLiteral("val"), QStringLiteral("Normal"));
            x.writeEmptyElement(W, QStringLiteral("qFormat"));
            x.writeStartElement(W, QStringLiteral("pPr"));
            x.writeEmptyElement(W, QStringLiteral("keepNext"));
            x.writeEmptyElement(W, QStringLiteral("outlineLvl"));
            x.writeAttribute(W, QStringLiteral("val"), num(heading - 1));
            x.writeEndElement();
        }
        x.writeEndElement();
    };
    style(QStringLiteral("Normal"), QStringLiteral("Normal"), 0);
    for (int h = 1; h <= 6; ++h)
        style(QStringLiteral("Heading%1").arg(h), QStringLiteral("heading %1").arg(h), h);
    x.writeEndElement();
    x.writeEndDocument();
    return out;
}

QString bulletText(QTextListFormat::Style s)
{
    switch (s) {
    case QTextListFormat::ListCircle: return QStringLiteral("\u25E6");
    case QTextListFormat::ListSquare: return QStringLiteral("\u25AA");
    default: return QStringLiteral("\u2022");
    }
}

QString numberFormat(QTextListFormat::Style s)
{
    switch (s) {
    case QTextListFormat::ListDecimal: return QStringLiteral("decimal");
    case QTextListFormat::ListLowerAlpha: return QStringLiteral("lowerLetter");
    case QTextListFormat::ListUpperAlpha: return QStringLiteral("upperLetter");
    case QTextListFormat::ListLowerRoman: return QStringLiteral("lowerRoman");
    case QTextListFormat::ListUpperRoman: return QStringLiteral("upperRoman");
    default: return QStringLiteral("bullet");
    }
}

// One abstract numbering per list of the document; every level carries the list's
// style so that a level change in another program keeps the look.
QByteArray numbering(const QList<QTextList*>& lists)
{
    QByteArray out;
    QXmlStreamWriter x(&out);
    startPart(x);
    x.writeNamespace(W, QStringLiteral("w"));
    x.writeStartElement(W, QStringLiteral("numbering"));
    for (int i = 0; i < lists.size(); ++i) {
        const QTextListFormat lf = lists[i]->format();
        const QString fmt = numberFormat(lf.style());
        x.writeStartElement(W, QStringLiteral("abstractNum"));
        x.writeAttribute(W, QStringLiteral("abstractNumId"), num(i + 1));
        x.writeEmptyElement(W, QStringLiteral("multiLevelType"));
        x.writeAttribute(W, QStringLiteral("val"), QStringLiteral("hybridMultilevel"));
        const int ownLevel = qBound(1, lf.hasProperty(EngineProperty::ListLevel) ? lf.intProperty(EngineProperty::ListLevel) : lf.indent(), 9);
        for (int level = 0; level < 9; ++level) {
            x.writeStartElement(W, QStringLiteral("lvl"));
            x.writeAttribute(W, QStringLiteral("ilvl"), num(level));
            x.writeEmptyElement(W, QStringLiteral("start"));
            x.writeAttribute(W, QStringLiteral("val"), QStringLiteral("1"));
            x.writeEmptyElement(W, QStringLiteral("numFmt"));
            x.writeAttribute(W, QStringLiteral("val"), fmt);
            x.writeEmptyElement(W, QStringLiteral("lvlText"));
            x.writeAttribute(W, QStringLiteral("val"), fmt == u"bullet" ? bulletText(lf.style())
                                                                      : lf.numberPrefix() + QStringLiteral("%%1").arg(level + 1) + lf.numberSuffix());
            x.writeEmptyElement(W, QStringLiteral("lvlJc"));
            x.writeAttribute(W, QStringLiteral("val"), QStringLiteral("left"));
            int left = 360 * (level + 1);
            int hanging = 360;
            if (level + 1 == ownLevel && lf.hasProperty(EngineProperty::ListIndentText)) {
                left = lf.intProperty(EngineProperty::ListIndentText);
                hanging = qMax(0, left - lf.intProperty(EngineProperty::ListIndentMarker));
            }
            x.writeStartElement(W, QStringLiteral("pPr"));
            x.writeEmptyElement(W, QStringLiteral("ind"));
            x.writeAttribute(W, QStringLiteral("left"), num(left));
            x.writeAttribute(W, QStringLiteral("hanging"), num(hanging));
            x.writeEndElement();
            x.writeEndElement();
        }
        x.writeEndElement();
    }
    for (int i = 0; i < lists.size(); ++i) {
        x.writeStartElement(W, QStringLiteral("num"));
        x.writeAttribute(W, QStringLiteral("numId"), num(i + 1));
        x.writeEmptyElement(W, QStringLiteral("abstractNumId"));
        x.writeAttribute(W, QStringLiteral("val"), num(i + 1));
        x.writeEndElement();
    }
    x.writeEndElement();
    x.writeEndDocument();
    return out;
}

QByteArray contentTypes(const QStringList& overrides, const QStringList& types, const QSet<QString>& media)
{
    QByteArray out;
    QXmlStreamWriter x(&out);
    startPart(x);
    x.writeDefaultNamespace(CT);
    x.writeStartElement(CT, QStringLiteral("Types"));
    auto def = [&](const QString& ext, const QString& type) {
        x.writeEmptyElement(CT, QStringLiteral("Default"));
        x.writeAttribute(QStringLiteral("Extension"), ext);
        x.writeAttribute(QStringLiteral("ContentType"), type);
    };
    def(QStringLiteral("rels"), QStringLiteral("application/vnd.openxmlformats-package.relationships+xml"));
    def(QStringLiteral("xml"), QStringLiteral("application/xml"));
    for (const QString& ext : media)
        def(ext, QStringLiteral("image/") + ext);
    for (int i = 0; i < overrides.size(); ++i) {
        x.writeEmptyElement(CT, QStringLiteral("Override"));
        x.writeAttribute(QStringLiteral("PartName"), QLatin1Char('/') + overrides[i]);
        x.writeAttribute(QStringLiteral("ContentType"),
                         QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.") + types[i]
                             + QStringLiteral("+xml"));
    }
    x.writeEndElement();
    x.writeEndDocument();
    return out;
}

} // namespace

bool DocxWriter::write(const Document& doc, const WriteOptions&, QByteArray* out, QString* error)
{
    const PageGeometry& g = doc.page();
    PackageState package;
    package.textWidthTwips = qMax(720, g.width - g.marginL - g.marginR);
    ZipPackage::Writer zip;
    QStringList overrides{QStringLiteral("word/document.xml"), QStringLiteral("word/styles.xml")};
    QStringList types{QStringLiteral("document.main"), QStringLiteral("styles")};

    // Header and footer parts first: the section properties of the body refer to them.
    // The first page shows the default part where it has none of its own.
    QList<Relationship> docRels{{QStringLiteral("rId1"), relType("styles"), QStringLiteral("styles.xml"), false}};
    struct Ref {
        bool header;
        QString kind, id;
    };
    QList<Ref> refs;
    const bool titlePage = doc.headerFooterSet() & (2 | 8);
    int partNo = 0;
    auto addPart = [&](int part, bool header, const QString& kind) {
        const QTextDocument* d = doc.headerFooter(part);
        if (!d)
            return;
        const QString name = QStringLiteral("%1%2.xml").arg(header ? u"header" : u"footer").arg(++partNo);
        QList<Relationship> rels;
        zip.add(QStringLiteral("word/") + name, textPart(d, header ? QStringLiteral("hdr") : QStringLiteral("ftr"), package, &rels));
        if (!rels.isEmpty())
            zip.add(QStringLiteral("word/_rels/") + name + QStringLiteral(".rels"), relationships(rels));
        const QString id = QStringLiteral("rId%1").arg(docRels.size() + 1);
        docRels.append({id, relType(header ? "header" : "footer"), name, false});
        overrides << QStringLiteral("word/") + name;
        types << (header ? QStringLiteral("header") : QStringLiteral("footer"));
        refs.append({header, kind, id});
    };
    addPart(1, true, QStringLiteral("default"));
    addPart(4, false, QStringLiteral("default"));
    addPart(titlePage ? (doc.headerFooter(2) ? 2 : 1) : 0, true, QStringLiteral("first"));
    addPart(titlePage ? (doc.headerFooter(8) ? 8 : 4) : 0, false, QStringLiteral("first"));

    auto section = [&](QXmlStreamWriter& x) {
        x.writeStartElement(W, QStringLiteral("sectPr"));
        for (const Ref& r : std::as_const(refs)) {
            x.writeEmptyElement(W, r.header ? QStringLiteral("headerReference") : QStringLiteral("footerReference"));
            x.writeAttribute(W, QStringLiteral("type"), r.kind);
            x.writeAttribute(R, QStringLiteral("id"), r.id);
        }
        x.writeEmptyElement(W, QStringLiteral("pgSz"));
        x.writeAttribute(W, QStringLiteral("w"), num(g.width));
        x.writeAttribute(W, QStringLiteral("h"), num(g.height));
        if (g.width > g.height)
            x.writeAttribute(W, QStringLiteral("orient"), QStringLiteral("landscape"));
        x.writeEmptyElement(W, QStringLiteral("pgMar"));
        x.writeAttribute(W, QStringLiteral("top"), num(g.marginT));
        x.writeAttribute(W, QStringLiteral("right"), num(g.marginR));
        x.writeAttribute(W, QStringLiteral("bottom"), num(g.marginB));
        x.writeAttribute(W, QStringLiteral("left"), num(g.marginL));
        x.writeAttribute(W, QStringLiteral("header"), num(doc.headerDistance()));
        x.writeAttribute(W, QStringLiteral("footer"), num(doc.footerDistance()));
        x.writeAttribute(W, QStringLiteral("gutter"), QStringLiteral("0"));
        if (titlePage)
            x.writeEmptyElement(W, QStringLiteral("titlePg"));
        x.writeEndElement();
    };
    QList<Relationship> bodyRels;
    const QByteArray body = textPart(doc.body(), QStringLiteral("document"), package, &bodyRels, section);
    for (Relationship r : std::as_const(bodyRels))
        docRels.append(r);
    if (!package.lists.isEmpty()) {
        zip.add(QStringLiteral("word/numbering.xml"), numbering(package.lists));
        docRels.append({QStringLiteral("rIdNumbering"), relType("numbering"), QStringLiteral("numbering.xml"), false});
        overrides << QStringLiteral("word/numbering.xml");
        types << QStringLiteral("numbering");
    }
    zip.add(QStringLiteral("word/document.xml"), body);
    zip.add(QStringLiteral("word/styles.xml"), styles(doc.body()->defaultFont()));
    zip.add(QStringLiteral("word/_rels/document.xml.rels"), relationships(docRels));
    QSet<QString> media;
    for (const auto& [path, bytes] : std::as_const(package.media)) {
        zip.add(path, bytes, true);
        media.insert(path.section(QLatin1Char('.'), -1));
    }
    zip.add(QStringLiteral("_rels/.rels"),
            relationships({{QStringLiteral("rId1"), relType("officeDocument"), QStringLiteral("word/document.xml"), false}}));
    zip.add(QStringLiteral("[Content_Types].xml"), contentTypes(overrides, types, media));
    return zip.finish(out, error);
}
