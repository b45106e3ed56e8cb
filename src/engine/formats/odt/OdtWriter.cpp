#include "OdtWriter.h"

#include "OdtBodyWriter.h"
#include "OdtNames.h"
#include "engine/Document.h"
#include "engine/formats/zip/ZipPackage.h"

#include <QTextDocument>

using namespace Odt;

namespace {

const QString kMime = QStringLiteral("application/vnd.oasis.opendocument.text");
const QString kXmlHead = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");

// The page: ODF's page margin reaches to the header, whose band then fills the rest of
// our top margin, so the text starts where the document says with or without header.
QString pageLayout(const Document& doc, bool header, bool footer)
{
    const PageGeometry& g = doc.page();
    const int top = header ? qMin(doc.headerDistance(), g.marginT) : g.marginT;
    const int bottom = footer ? qMin(doc.footerDistance(), g.marginB) : g.marginB;
    QString s = QStringLiteral("<style:page-layout style:name=\"pm1\"><style:page-layout-properties fo:page-width=\"%1\" "
                               "fo:page-height=\"%2\" style:print-orientation=\"%3\" fo:margin-top=\"%4\" fo:margin-bottom=\"%5\" "
                               "fo:margin-left=\"%6\" fo:margin-right=\"%7\"/>")
                    .arg(pt(g.width), pt(g.height), g.width > g.height ? QStringLiteral("landscape") : QStringLiteral("portrait"),
                         pt(top), pt(bottom), pt(g.marginL), pt(g.marginR));
    if (header)
        s += QStringLiteral("<style:header-style><style:header-footer-properties fo:min-height=\"%1\" fo:margin-bottom=\"0pt\" "
                            "style:dynamic-spacing=\"false\"/></style:header-style>")
                 .arg(pt(g.marginT - top));
    if (footer)
        s += QStringLiteral("<style:footer-style><style:header-footer-properties fo:min-height=\"%1\" fo:margin-top=\"0pt\" "
                            "style:dynamic-spacing=\"false\"/></style:footer-style>")
                 .arg(pt(g.marginB - bottom));
    return s + QStringLiteral("</style:page-layout>");
}

} // namespace

bool OdtWriter::write(const Document& doc, const WriteOptions&, QByteArray* out, QString* error)
{
    const PageGeometry& g = doc.page();
    const int textWidth = qMax(720, g.width - g.marginL - g.marginR);
    Media media;

    // Headers and footers live in styles.xml, with their own automatic styles.
    auto part = [&](int bits) -> QString {
        const QTextDocument* d = doc.headerFooter(bits);
        if (!d)
            return {};
        BodyWriter w(d, media, textWidth, QStringLiteral("M%1_").arg(bits));
        const QString content = w.content();
        m_partStyles += w.automaticStyles();
        return content;
    };
    m_partStyles.clear();
    const QString header = part(1), headerFirst = part(2), footer = part(4), footerFirst = part(8);
    const bool hasHeader = doc.headerFooter(1) || doc.headerFooter(2);
    const bool hasFooter = doc.headerFooter(4) || doc.headerFooter(8);
    const bool titlePage = doc.headerFooter(2) || doc.headerFooter(8);
    auto master = [&](const QString& name, const QString& display, const QString& next, const QString& h, const QString& f,
                      bool withH, bool withF) {
        QString m = QStringLiteral("<style:master-page style:name=\"%1\" style:display-name=\"%2\" style:page-layout-name=\"pm1\"%3>")
                        .arg(name, display, next.isEmpty() ? QString() : QStringLiteral(" style:next-style-name=\"%1\"").arg(next));
        if (withH)
            m += QStringLiteral("<style:header>%1</style:header>").arg(h.isEmpty() ? QStringLiteral("<text:p/>") : h);
        if (withF)
            m += QStringLiteral("<style:footer>%1</style:footer>").arg(f.isEmpty() ? QStringLiteral("<text:p/>") : f);
        return m + QStringLiteral("</style:master-page>");
    };
    QString masterPages = master(QStringLiteral("Standard"), QStringLiteral("Standard"), QString(), header, footer,
                                 doc.headerFooter(1), doc.headerFooter(4));
    if (titlePage)
        // The first page shows the default part where it has none of its own, as ours does.
        masterPages += master(QStringLiteral("First_20_Page"), QStringLiteral("Erste Seite"), QStringLiteral("Standard"),
                              doc.headerFooter(2) ? headerFirst : header, doc.headerFooter(8) ? footerFirst : footer,
                              doc.headerFooter(2) || doc.headerFooter(1), doc.headerFooter(8) || doc.headerFooter(4));

    const QFont font = doc.body()->defaultFont();
    const QString styles =
        kXmlHead + QStringLiteral("<office:document-styles %1><office:styles><style:default-style style:family=\"paragraph\">"
                                  "<style:paragraph-properties fo:margin-top=\"0pt\" fo:margin-bottom=\"0pt\"/>"
                                  "<style:text-properties fo:font-family=\"%2\" style:font-name=\"%2\" fo:font-size=\"%3pt\" "
                                  "fo:language=\"de\" fo:country=\"DE\"/></style:default-style>"
                                  "<style:style style:name=\"Standard\" style:family=\"paragraph\"/></office:styles>"
                                  "<office:automatic-styles>%4%5</office:automatic-styles><office:master-styles>%6"
                                  "</office:master-styles></office:document-styles>")
                       .arg(rootNamespaces(), esc(font.family()), QString::number(font.pointSizeF()),
                            pageLayout(doc, hasHeader, hasFooter), m_partStyles, masterPages);

    BodyWriter body(doc.body(), media, textWidth, QString());
    const QString text = body.content(titlePage ? QStringLiteral("First_20_Page") : QString());
    const QString content = kXmlHead + QStringLiteral("<office:document-content %1><office:automatic-styles>%2</office:automatic-styles>"
                                                      "<office:body><office:text>%3</office:text></office:body></office:document-content>")
                                           .arg(rootNamespaces(), body.automaticStyles(), text);

    QString manifest = kXmlHead + QStringLiteral("<manifest:manifest xmlns:manifest=\"%1\" manifest:version=\"1.3\">"
                                                 "<manifest:file-entry manifest:full-path=\"/\" manifest:version=\"1.3\" manifest:media-type=\"%2\"/>"
                                                 "<manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/>"
                                                 "<manifest:file-entry manifest:full-path=\"styles.xml\" manifest:media-type=\"text/xml\"/>")
                                      .arg(MANIFEST, kMime);
    for (const auto& [path, bytes] : std::as_const(media.files))
        manifest += QStringLiteral("<manifest:file-entry manifest:full-path=\"%1\" manifest:media-type=\"image/%2\"/>")
                        .arg(path, path.section(QLatin1Char('.'), -1));
    manifest += QStringLiteral("</manifest:manifest>");

    ZipPackage::Writer zip;
    zip.add(QStringLiteral("mimetype"), kMime.toLatin1(), true);
    zip.add(QStringLiteral("content.xml"), content.toUtf8());
    zip.add(QStringLiteral("styles.xml"), styles.toUtf8());
    for (const auto& [path, bytes] : std::as_const(media.files))
        zip.add(path, bytes, true);
    zip.add(QStringLiteral("META-INF/manifest.xml"), manifest.toUtf8());
    return zip.finish(out, error);
}
