// Pictures of the body writer: inline ones as wp:inline, fixed ones as wp:anchor at
// their page position.
#include "DocxBodyWriter.h"

#include "DocxNames.h"
#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "engine/formats/DocumentTransfer.h"

#include <QBuffer>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QXmlStreamWriter>

using namespace EngineProperty;

namespace Docx {

void BodyWriter::writePicture(const QTextCharFormat& f)
{
    const bool fixed = f.objectType() == EngineObject::FixedImage;
    const QString name = fixed ? f.stringProperty(ImageName) : f.toImageFormat().name();
    QByteArray kind;
    QByteArray bytes = DocumentTransfer::imageBytes(m_doc, name, &kind);
    const QImage img = DocumentTransfer::image(m_doc, name);
    if (bytes.isEmpty() || img.isNull())
        return;
    if (kind != "png" && kind != "jpeg" && kind != "jpg" && kind != "gif") {
        bytes.clear();
        QBuffer buf(&bytes);
        buf.open(QIODevice::WriteOnly);
        img.save(&buf, "PNG");
        kind = "png";
    }
    if (kind == "jpg")
        kind = "jpeg";
    const int n = m_package.nextPictureId++;
    const QString path = QStringLiteral("media/image%1.%2").arg(n).arg(QString::fromLatin1(kind));
    m_package.media.append({QStringLiteral("word/") + path, bytes});
    const QString rel = addRelationship(relType("image"), path, false);

    qint64 cx = 0, cy = 0;
    if (fixed) {
        cx = qint64(f.intProperty(ImageWidth)) * EmuPerTwip;
        cy = qint64(f.intProperty(ImageHeight)) * EmuPerTwip;
    } else {
        const QTextImageFormat imf = f.toImageFormat();
        const double w = imf.width() > 0 ? imf.width() : img.width();
        const double h = imf.height() > 0 ? imf.height() : img.height();
        cx = qRound64(Document::pixelsToTwips(w)) * EmuPerTwip;
        cy = qRound64(Document::pixelsToTwips(h)) * EmuPerTwip;
    }
    auto dist = [&](int prop) { return QString::number(qint64(f.intProperty(prop)) * EmuPerTwip); };
    auto empty = [this](const QString& ns, const char* name, std::initializer_list<std::pair<const char*, QString>> attrs) {
        m_xml.writeEmptyElement(ns, QLatin1String(name));
        for (const auto& [k, v] : attrs)
            m_xml.writeAttribute(QLatin1String(k), v);
    };
    const QString cxs = QString::number(cx), cys = QString::number(cy), ids = QString::number(n);

    m_xml.writeStartElement(W, QStringLiteral("r"));
    m_xml.writeStartElement(W, QStringLiteral("drawing"));
    m_xml.writeStartElement(WP, fixed ? QStringLiteral("anchor") : QStringLiteral("inline"));
    m_xml.writeAttribute(QStringLiteral("distT"), dist(ImageDistanceT));
    m_xml.writeAttribute(QStringLiteral("distB"), dist(ImageDistanceB));
    m_xml.writeAttribute(QStringLiteral("distL"), dist(ImageDistanceL));
    m_xml.writeAttribute(QStringLiteral("distR"), dist(ImageDistanceR));
    if (fixed) {
        for (const auto& [k, v] : {std::pair{"simplePos", "0"}, {"relativeHeight", "1"}, {"behindDoc", "0"},
                                   {"locked", "0"}, {"layoutInCell", "1"}, {"allowOverlap", "1"}})
            m_xml.writeAttribute(QLatin1String(k), QLatin1String(v));
        empty(WP, "simplePos", {{"x", QStringLiteral("0")}, {"y", QStringLiteral("0")}});
        for (const auto& [axis, prop] : {std::pair{"positionH", ImagePosX}, {"positionV", ImagePosY}}) {
            m_xml.writeStartElement(WP, QLatin1String(axis));
            m_xml.writeAttribute(QStringLiteral("relativeFrom"), QStringLiteral("page"));
            m_xml.writeTextElement(WP, QStringLiteral("posOffset"), QString::number(qint64(f.intProperty(prop)) * EmuPerTwip));
            m_xml.writeEndElement();
        }
    }
    empty(WP, "extent", {{"cx", cxs}, {"cy", cys}});
    empty(WP, "effectExtent", {{"l", QStringLiteral("0")}, {"t", QStringLiteral("0")}, {"r", QStringLiteral("0")}, {"b", QStringLiteral("0")}});
    if (fixed)
        m_xml.writeEmptyElement(WP, QStringLiteral("wrapNone"));
    empty(WP, "docPr", {{"id", ids}, {"name", QStringLiteral("Bild %1").arg(n)}});
    m_xml.writeStartElement(A, QStringLiteral("graphic"));
    m_xml.writeStartElement(A, QStringLiteral("graphicData"));
    m_xml.writeAttribute(QStringLiteral("uri"), PIC);
    m_xml.writeStartElement(PIC, QStringLiteral("pic"));
    m_xml.writeStartElement(PIC, QStringLiteral("nvPicPr"));
    empty(PIC, "cNvPr", {{"id", ids}, {"name", QStringLiteral("image%1").arg(n)}});
    m_xml.writeEmptyElement(PIC, QStringLiteral("cNvPicPr"));
    m_xml.writeEndElement();
    m_xml.writeStartElement(PIC, QStringLiteral("blipFill"));
    m_xml.writeEmptyElement(A, QStringLiteral("blip"));
    m_xml.writeAttribute(R, QStringLiteral("embed"), rel);
    m_xml.writeStartElement(A, QStringLiteral("stretch"));
    m_xml.writeEmptyElement(A, QStringLiteral("fillRect"));
    m_xml.writeEndElement();
    m_xml.writeEndElement();
    m_xml.writeStartElement(PIC, QStringLiteral("spPr"));
    m_xml.writeStartElement(A, QStringLiteral("xfrm"));
    empty(A, "off", {{"x", QStringLiteral("0")}, {"y", QStringLiteral("0")}});
    empty(A, "ext", {{"cx", cxs}, {"cy", cys}});
    m_xml.writeEndElement();
    m_xml.writeStartElement(A, QStringLiteral("prstGeom"));
    m_xml.writeAttribute(QStringLiteral("prst"), QStringLiteral("rect"));
    m_xml.writeEmptyElement(A, QStringLiteral("avLst"));
    m_xml.writeEndElement();
    m_xml.writeEndElement(); // spPr
    m_xml.writeEndElement(); // pic
    m_xml.writeEndElement(); // graphicData
    m_xml.writeEndElement(); // graphic
    m_xml.writeEndElement(); // inline / anchor
    m_xml.writeEndElement(); // drawing
    m_xml.writeEndElement(); // r
}

} // namespace Docx
