#include "LocalTextDocument.h"

#include "InputFile.h"

#include <QImage>
#include <QSet>
#include <QTextBlock>
#include <QUrl>

namespace {

// Drawn where a picture cannot be read: a small grey box.
QImage missingPicture()
{
    QImage img(16, 16, QImage::Format_RGB32);
    img.fill(QColor(200, 200, 200));
    return img;
}

} // namespace

QVariant LocalTextDocument::loadResource(int type, const QUrl& name)
{
    const QUrl url = name.isRelative() ? baseUrl().resolved(name) : name;
    const bool local = url.isLocalFile() || url.scheme().isEmpty();
    const QString path = url.isLocalFile() ? url.toLocalFile() : url.path();
    if (type == QTextDocument::StyleSheetResource) {
        QByteArray css;
        if (local && InputFile::read(path, 0, &css, nullptr, 4 * 1024 * 1024))
            return QString::fromUtf8(css);
        return {};
    }
    if (type != QTextDocument::ImageResource)
        return {};
    QImage img;
    if (url.scheme() == u"qrc")
        img = QImage(QLatin1Char(':') + url.path()); // built into the program
    else if (local)
        img = InputFile::readPicture(path);
    if (img.isNull())
        img = missingPicture();
    // As an own resource (not only Qt's cache) so that clones carry it.
    addResource(type, name, img);
    return img;
}

void LocalTextDocument::loadPictures(QTextDocument* doc)
{
    if (!doc)
        return;
    QSet<QString> seen;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (!f.isImageFormat())
                continue;
            const QString name = f.toImageFormat().name();
            if (name.isEmpty() || seen.contains(name))
                continue;
            seen.insert(name);
            // resource() looks under the name resolved against the base URL, clones
            // without that base under the name as written: keep it under both.
            const QVariant v = doc->resource(QTextDocument::ImageResource, QUrl(name));
            if (v.isValid())
                doc->addResource(QTextDocument::ImageResource, QUrl(name), v);
        }
    }
}
