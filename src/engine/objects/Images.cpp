#include "Images.h"

#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "TextBoxes.h"
#include "engine/formats/DocumentTransfer.h"
#include "engine/formats/InputFile.h"
#include "app/SafeSave.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextObjectInterface>
#include <QUrl>

using namespace EngineProperty;

namespace Images {

namespace {

int screenPainters = 0;

bool drawnAsBox(const QTextFormat& f) { return ScreenPainting::active() && f.boolProperty(ImageShownAsBox); }

void paintBox(QPainter* p, const QRectF& r)
{
    p->save();
    p->setPen(QPen(QColor(0x80, 0x80, 0x80), 0));
    p->setBrush(QColor(0xc0, 0xc0, 0xc0));
    p->drawRect(r);
    p->restore();
}

// Anchors of fixed images take no room in the text.
class FixedAnchor : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    using QObject::QObject;
    QSizeF intrinsicSize(QTextDocument*, int, const QTextFormat&) override { return {0, 0}; }
    void drawObject(QPainter*, const QRectF&, QTextDocument*, int, const QTextFormat&) override {}
};

// Inline pictures keep their distances to the text: Qt's own handler draws the
// picture inside the room the distances leave.
class SpacedImage : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    SpacedImage(QTextObjectInterface* plain, QObject* parent) : QObject(parent), m_plain(plain) {}

    QSizeF intrinsicSize(QTextDocument* doc, int pos, const QTextFormat& f) override
    {
        const QMarginsF m = margins(doc, f);
        return m_plain->intrinsicSize(doc, pos, f) + QSizeF(m.left() + m.right(), m.top() + m.bottom());
    }
    void drawObject(QPainter* p, const QRectF& rect, QTextDocument* doc, int pos, const QTextFormat& f) override
    {
        if (drawnAsBox(f))
            paintBox(p, rect.marginsRemoved(margins(doc, f)));
        else
            m_plain->drawObject(p, rect.marginsRemoved(margins(doc, f)), doc, pos, f);
    }

private:
    static QMarginsF margins(QTextDocument* doc, const QTextFormat& f)
    {
        // Layout units: 96-dpi pixels scaled to the layout's device, as Qt sizes images.
        const QPaintDevice* dev = doc->documentLayout()->paintDevice();
        const double scale = dev ? dev->logicalDpiY() / 96.0 : 1.0;
        auto px = [&](int property) { return Document::twipsToPixels(qMax(0, f.intProperty(property))) * scale; };
        return {px(ImageDistanceL), px(ImageDistanceT), px(ImageDistanceR), px(ImageDistanceB)};
    }
    QTextObjectInterface* m_plain;
};

struct Hit {
    int position = -1;
    QTextCharFormat format;
};

Hit findImage(const QTextDocument* doc, int id)
{
    if (id <= 0)
        return {};
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (f.charFormat().intProperty(ImageId) == id)
                return {f.position(), f.charFormat()};
        }
    return {};
}

int highestId(const QTextDocument* doc)
{
    int high = 0;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            high = qMax(high, it.fragment().charFormat().intProperty(ImageId));
    return high;
}

bool applyFormat(QTextDocument* doc, int pos, const QTextCharFormat& f)
{
    QTextCursor c(doc);
    c.setPosition(pos);
    c.setPosition(pos + 1, QTextCursor::KeepAnchor);
    c.setCharFormat(f);
    return true;
}

QString addResource(QTextDocument* doc, const QImage& image, int id)
{
    const QString name = QStringLiteral("image://%1/%2").arg(id).arg(image.cacheKey());
    doc->addResource(QTextDocument::ImageResource, QUrl(name), image);
    return name;
}

} // namespace

int insertAsChar(QTextCursor& c, const QString& file, int scaleX, int scaleY)
{
    // Only a regular picture file of sensible size, decoded within the memory limit.
    const QImage img = InputFile::readPicture(file);
    return img.isNull() ? 0 : insertAsChar(c, img, scaleX, scaleY);
}

int insertAsChar(QTextCursor& c, const QImage& image, int scaleX, int scaleY)
{
    QTextDocument* doc = c.document();
    const int id = highestId(doc) + 1;
    QTextImageFormat f;
    f.setName(addResource(doc, image, id));
    f.setWidth(image.width() * scaleX / 100.0);
    f.setHeight(image.height() * scaleY / 100.0);
    f.setProperty(ImageId, id);
    c.insertImage(f);
    return id;
}

int insertFixed(QTextCursor& c, const QString& file, int x, int y, int scaleX, int scaleY)
{
    // Only a regular picture file of sensible size, decoded within the memory limit.
    const QImage img = InputFile::readPicture(file);
    return img.isNull() ? 0 : insertFixed(c, img, x, y, scaleX, scaleY);
}

int insertFixed(QTextCursor& c, const QImage& image, int x, int y, int scaleX, int scaleY)
{
    QTextDocument* doc = c.document();
    installHandlers(doc);
    const int id = highestId(doc) + 1;
    // The text's format, without what a picture just before the caret would lend it.
    QTextCharFormat f = c.charFormat();
    for (int p = ImageId; p <= ImageName; ++p)
        f.clearProperty(p);
    for (int p : {int(ImageShownAsBox), int(QTextFormat::ImageName), int(QTextFormat::ImageWidth),
                  int(QTextFormat::ImageHeight), int(QTextFormat::ImageQuality)})
        f.clearProperty(p);
    f.setObjectType(EngineObject::FixedImage);
    f.setProperty(ImageId, id);
    f.setProperty(ImageName, addResource(doc, image, id));
    f.setProperty(ImagePosX, x);
    f.setProperty(ImagePosY, y);
    f.setProperty(ImageWidth, int(Document::pixelsToTwips(image.width()) * scaleX / 100));
    f.setProperty(ImageHeight, int(Document::pixelsToTwips(image.height()) * scaleY / 100));
    const QTextCharFormat before = c.charFormat();
    c.insertText(QString(QChar::ObjectReplacementCharacter), f);
    c.setCharFormat(before);
    return id;
}

int selectedId(const QTextCursor& c)
{
    if (c.selectionEnd() - c.selectionStart() != 1)
        return 0;
    QTextCursor probe(c.document());
    probe.setPosition(c.selectionEnd());
    return probe.charFormat().intProperty(ImageId);
}

int positionOf(const QTextDocument* doc, int id) { return findImage(doc, id).position; }

int distance(const QTextDocument* doc, int id, int side)
{
    if (side < 1 || side > 4)
        return 0;
    return findImage(doc, id).format.intProperty(ImageDistanceL + side - 1);
}

bool setDistance(QTextDocument* doc, int id, int side, int twips)
{
    Hit h = findImage(doc, id);
    if (h.position < 0 || side < 1 || side > 4)
        return false;
    h.format.setProperty(ImageDistanceL + side - 1, qMax(0, twips));
    return applyFormat(doc, h.position, h.format);
}

QPoint fixedPosition(const QTextDocument* doc, int id)
{
    const Hit h = findImage(doc, id);
    return {h.format.intProperty(ImagePosX), h.format.intProperty(ImagePosY)};
}

bool setFixedPosition(QTextDocument* doc, int id, QPoint twips)
{
    Hit h = findImage(doc, id);
    if (h.position < 0 || h.format.objectType() != EngineObject::FixedImage)
        return false;
    h.format.setProperty(ImagePosX, twips.x());
    h.format.setProperty(ImagePosY, twips.y());
    return applyFormat(doc, h.position, h.format);
}

QRectF fixedRect(const QTextDocument* doc, int anchorPos)
{
    QTextCursor c(const_cast<QTextDocument*>(doc));
    c.setPosition(anchorPos + 1);
    const QTextCharFormat f = c.charFormat();
    if (f.objectType() != EngineObject::FixedImage)
        return {};
    return {Document::twipsToPixels(f.intProperty(ImagePosX)), Document::twipsToPixels(f.intProperty(ImagePosY)),
            Document::twipsToPixels(f.intProperty(ImageWidth)), Document::twipsToPixels(f.intProperty(ImageHeight))};
}

bool shownAsBox(const QTextDocument* doc, int id) { return findImage(doc, id).format.boolProperty(ImageShownAsBox); }

bool setShownAsBox(QTextDocument* doc, int id, bool on)
{
    Hit h = findImage(doc, id);
    if (h.position < 0)
        return false;
    if (on)
        h.format.setProperty(ImageShownAsBox, true);
    else
        h.format.clearProperty(ImageShownAsBox);
    QTextCursor c(doc);
    c.setPosition(h.position);
    c.setPosition(h.position + 1, QTextCursor::KeepAnchor);
    // Set, not merged: a cleared property must go.
    c.setCharFormat(h.format);
    return true;
}

bool savePicture(const QTextDocument* doc, int id, const QString& path, QString* error)
{
    const Hit h = findImage(doc, id);
    const QString name = h.format.isImageFormat() ? h.format.toImageFormat().name() : h.format.stringProperty(ImageName);
    const QImage img = h.position < 0 ? QImage() : DocumentTransfer::image(doc, name);
    if (img.isNull()) {
        if (error)
            *error = QStringLiteral("Das Bild hat keine Bildpunkte, die gespeichert werden könnten.");
        return false;
    }
    const QString suffix = QFileInfo(path).suffix().toLower();
    const QByteArray format = suffix == u"jpg" || suffix == u"jpeg" ? "JPEG" : suffix == u"bmp" ? "BMP" : suffix == u"png" ? "PNG" : "";
    if (format.isEmpty()) {
        if (error)
            *error = QStringLiteral("Bilder lassen sich als PNG (.png), JPEG (.jpg) oder BMP (.bmp) speichern.");
        return false;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // JPEG has no transparency: transparent parts become white, not black.
    QImage out = img;
    if (format == "JPEG" && img.hasAlphaChannel()) {
        out = QImage(img.size(), QImage::Format_RGB32);
        out.fill(Qt::white);
        QPainter(&out).drawImage(0, 0, img);
    }
    if (!out.save(&buffer, format.constData(), format == "JPEG" ? 90 : -1)) {
        if (error)
            *error = QStringLiteral("Das Bild konnte nicht umgewandelt werden.");
        return false;
    }
    return SafeSave::saveFile(path, bytes, error);
}

ScreenPainting::ScreenPainting() { ++screenPainters; }
ScreenPainting::~ScreenPainting() { --screenPainters; }
bool ScreenPainting::active() { return screenPainters > 0; }

QTextImageFormat asInline(const QTextCharFormat& fixed)
{
    QTextImageFormat f;
    f.setName(fixed.stringProperty(ImageName));
    f.setWidth(Document::twipsToPixels(fixed.intProperty(ImageWidth)));
    f.setHeight(Document::twipsToPixels(fixed.intProperty(ImageHeight)));
    f.setProperty(ImageId, fixed.intProperty(ImageId));
    return f;
}

void numberImages(QTextDocument* doc)
{
    int next = highestId(doc);
    QList<int> unnumbered;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QTextCharFormat cf = f.charFormat();
            if ((cf.isImageFormat() || cf.objectType() == EngineObject::FixedImage) && cf.intProperty(ImageId) <= 0)
                for (int i = 0; i < f.length(); ++i)
                    unnumbered.append(f.position() + i);
        }
    for (int pos : unnumbered) {
        QTextCursor c(doc);
        c.setPosition(pos + 1);
        QTextCharFormat f = c.charFormat();
        f.setProperty(ImageId, ++next);
        applyFormat(doc, pos, f);
    }
}

QString exportFormats()
{
    return QStringLiteral("PNG (*.png)|JPEG (*.jpg)|BMP (*.bmp)");
}

void installHandlers(QTextDocument* doc)
{
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    if (!layout->handlerForObject(EngineObject::FixedImage))
        layout->registerHandler(EngineObject::FixedImage, new FixedAnchor(layout));
    QTextObjectInterface* plain = layout->handlerForObject(QTextFormat::ImageObject);
    if (plain && !dynamic_cast<SpacedImage*>(plain))
        layout->registerHandler(QTextFormat::ImageObject, new SpacedImage(plain, layout));
}

void paintFixed(QPainter* p, QTextDocument* doc, int anchorPos)
{
    QTextCursor c(doc);
    c.setPosition(anchorPos + 1);
    const QTextCharFormat f = c.charFormat();
    if (drawnAsBox(f)) {
        paintBox(p, fixedRect(doc, anchorPos));
        return;
    }
    if (TextBoxes::isTextBox(f)) {
        TextBoxes::paint(p, fixedRect(doc, anchorPos), f);
        return;
    }
    const QImage img = doc->resource(QTextDocument::ImageResource, QUrl(f.stringProperty(ImageName))).value<QImage>();
    if (!img.isNull())
        p->drawImage(fixedRect(doc, anchorPos), img);
}

} // namespace Images

#include "Images.moc"
