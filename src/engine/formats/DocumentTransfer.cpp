#include "DocumentTransfer.h"

#include "engine/SectionParts.h"
#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "engine/objects/TabStops.h"

#include <QBuffer>
#include <QImageReader>
#include <QPixmap>
#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QUrl>

namespace DocumentTransfer {

namespace {

void copyResources(const QTextDocument* from, QTextDocument* to)
{
    for (const QString& name : imageNames(from)) {
        const QUrl url(name);
        const QVariant v = from->resource(QTextDocument::ImageResource, url);
        if (v.isValid())
            to->addResource(QTextDocument::ImageResource, url, v);
    }
}

} // namespace

void copyText(const QTextDocument* from, QTextDocument* to)
{
    const bool undo = to->isUndoRedoEnabled();
    to->setUndoRedoEnabled(false);
    to->clear();
    to->setDefaultFont(from->defaultFont());
    TabStops::setDefaultDistance(to, TabStops::defaultDistance(from));
    copyResources(from, to);
    QTextCursor c(to);
    c.insertFragment(QTextDocumentFragment(from));
    to->rootFrame()->setFrameFormat(from->rootFrame()->frameFormat());
    to->setUndoRedoEnabled(undo);
    to->setModified(false);
}

namespace {

void copyPageAndParts(const Document& from, Document& to)
{
    to.setPage(from.page());
    to.setHeaderDistance(from.headerDistance());
    to.setFooterDistance(from.footerDistance());
    to.setHeaderFooterSet(from.headerFooterSet());
    for (int part : {1, 2, 4, 8})
        if (QTextDocument* d = to.headerFooter(part))
            copyText(from.headerFooter(part), d);
    // Later sections' sets keep their ids: the section breaks name them.
    SectionParts::clear(to);
    for (int id : SectionParts::ids(from)) {
        while (SectionParts::ids(to).isEmpty() || SectionParts::ids(to).last() < id)
            SectionParts::add(to);
        for (int part : {1, 2, 4, 8})
            if (const QTextDocument* d = SectionParts::part(from, id, part))
                copyText(d, SectionParts::part(to, id, part, true));
    }
}

} // namespace

void replace(Document& target, const Document& source)
{
    copyPageAndParts(source, target);
    copyText(source.body(), target.body());
}

void insert(QTextCursor& at, const Document& source)
{
    copyResources(source.body(), at.document());
    at.beginEditBlock();
    at.insertFragment(QTextDocumentFragment(source.body()));
    at.endEditBlock();
}

void copySelection(const QTextCursor& selection, const Document& from, Document& into)
{
    copyPageAndParts(from, into);
    QTextDocument* body = into.body();
    body->setDefaultFont(from.body()->defaultFont());
    QTextCursor c(body);
    c.insertFragment(selection.selection());
    copyResources(from.body(), body);
}

QStringList imageNames(const QTextDocument* doc)
{
    QStringList names;
    QSet<QString> seen;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            // Inline images name their pixels in the image format, fixed ones in a property.
            const QString name = f.isImageFormat() ? f.toImageFormat().name()
                                 : f.objectType() == EngineObject::FixedImage ? f.stringProperty(EngineProperty::ImageName)
                                                                              : QString();
            if (!name.isEmpty() && !seen.contains(name)) {
                seen.insert(name);
                names << name;
            }
        }
    }
    return names;
}

QImage image(const QTextDocument* doc, const QString& name)
{
    const QVariant v = doc->resource(QTextDocument::ImageResource, QUrl(name));
    if (v.typeId() == QMetaType::QImage)
        return v.value<QImage>();
    if (v.typeId() == QMetaType::QPixmap)
        return v.value<QPixmap>().toImage();
    if (v.typeId() == QMetaType::QByteArray)
        return QImage::fromData(v.toByteArray());
    return {};
}

QByteArray imageBytes(const QTextDocument* doc, const QString& name, QByteArray* format)
{
    const QVariant v = doc->resource(QTextDocument::ImageResource, QUrl(name));
    if (v.typeId() == QMetaType::QByteArray) {
        QByteArray bytes = v.toByteArray();
        if (format) {
            QBuffer buf(&bytes);
            *format = QImageReader::imageFormat(&buf);
        }
        return bytes;
    }
    const QImage img = image(doc, name);
    if (img.isNull())
        return {};
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    if (format)
        *format = "png";
    return bytes;
}

} // namespace DocumentTransfer
