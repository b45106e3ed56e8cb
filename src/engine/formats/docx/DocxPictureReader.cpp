// Pictures of the body reader: inline ones become image characters, ones anchored to
// the page or its margins fixed images; pictures anchored to a paragraph stand in the
// text, since the document places fixed images by page position only.
#include "DocxBodyReader.h"

#include "DocxNames.h"
#include "engine/EngineProperties.h"
#include "engine/objects/Images.h"
#include "engine/formats/FixedPicture.h"
#include "engine/formats/zip/ZipPackage.h"

#include <QImage>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

using ZipPackage::XmlNode;
using namespace EngineProperty;

namespace Docx {

namespace {

QLatin1StringView L(const char* s) { return QLatin1StringView(s); }

const XmlNode* findBlip(const XmlNode& n)
{
    if (n.is(A, L("blip")))
        return &n;
    for (const XmlNode& c : n.children)
        if (const XmlNode* b = findBlip(c))
            return b;
    return nullptr;
}

qint64 emu(const XmlNode* n, QLatin1StringView name)
{
    return n ? n->attr(QString(), name).toLongLong() : 0;
}

int emuToTwips(qint64 v) { return int(qBound<qint64>(qint64(-10000000), v / EmuPerTwip, qint64(10000000))); }

// Offset of an anchored picture from the page corner, twips; false when it is not
// placed relative to the page.
bool pageOffset(const XmlNode* pos, int pageStart, int marginStart, int* twips)
{
    if (!pos)
        return false;
    const QString from = pos->attr(QString(), L("relativeFrom"));
    const XmlNode* off = pos->child(WP, L("posOffset"));
    if (!off)
        return false;
    const int v = emuToTwips(off->allText().trimmed().toLongLong());
    if (from == u"page") {
        *twips = pageStart + v;
        return true;
    }
    if (from == u"margin" || from == u"column") {
        *twips = marginStart + v;
        return true;
    }
    return false;
}

} // namespace

void BodyReader::readDrawing(const XmlNode& drawing, QTextCursor& c, const QTextCharFormat& f)
{
    const XmlNode* frame = drawing.child(WP, L("inline"));
    bool anchored = false;
    if (!frame) {
        frame = drawing.child(WP, L("anchor"));
        anchored = frame != nullptr;
    }
    if (!frame)
        return;
    const XmlNode* blip = findBlip(*frame);
    const QString rel = blip ? blip->attr(R, L("embed")) : QString();
    if (rel.isEmpty() || !m_rels.contains(rel) || m_rels.value(rel).external) {
        m_ctx.unsupported.insert(QStringLiteral("Diagramme, Formen und Textfelder"));
        return;
    }
    QByteArray bytes;
    QString error;
    if (!m_ctx.zip.read(m_rels.value(rel).target, &bytes, &error)) {
        m_ctx.unsupported.insert(QStringLiteral("fehlende oder zu große Bilder"));
        return;
    }
    const QImage img = QImage::fromData(bytes);
    if (img.isNull()) {
        m_ctx.unsupported.insert(QStringLiteral("Bilder in einem nicht lesbaren Format"));
        return;
    }
    const XmlNode* extent = frame->child(WP, L("extent"));
    int w = emuToTwips(emu(extent, L("cx")));
    int h = emuToTwips(emu(extent, L("cy")));
    if (w <= 0 || h <= 0) {
        w = qRound(Document::pixelsToTwips(img.width()));
        h = qRound(Document::pixelsToTwips(img.height()));
    }
    const int id = m_nextImageId++;
    const QString name = QStringLiteral("image://%1/%2").arg(id).arg(img.cacheKey());
    m_doc->addResource(QTextDocument::ImageResource, QUrl(name), img);
    auto distance = [&](const char* a) { return emuToTwips(frame->attr(QString(), L(a)).toLongLong()); };

    int x = 0, y = 0;
    const PageGeometry& g = m_ctx.page;
    const bool fixed = anchored && pageOffset(frame->child(WP, L("positionH")), 0, g.marginL, &x)
                       && pageOffset(frame->child(WP, L("positionV")), 0, g.marginT, &y);
    if (anchored && !fixed)
        m_ctx.unsupported.insert(QStringLiteral("am Absatz ausgerichtete Bilder (stehen im Text)"));
    if (fixed) {
        insertFixedPicture(c, f, {id, name, x, y, w, h, distance("distL"), distance("distT"), distance("distR"), distance("distB")});
        return;
    }
    QTextImageFormat imf;
    imf.merge(f);
    imf.setObjectType(QTextFormat::ImageObject);
    imf.setName(name);
    imf.setWidth(Document::twipsToPixels(w));
    imf.setHeight(Document::twipsToPixels(h));
    imf.setProperty(ImageId, id);
    for (const auto& [prop, attr] : {std::pair{ImageDistanceL, "distL"}, {ImageDistanceT, "distT"},
                                     {ImageDistanceR, "distR"}, {ImageDistanceB, "distB"}})
        if (const int d = distance(attr))
            imf.setProperty(prop, d);
    c.insertText(QString(QChar::ObjectReplacementCharacter), imf);
}

} // namespace Docx
