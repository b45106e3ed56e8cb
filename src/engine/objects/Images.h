#pragma once
// Images in a document: inline ones (a character of the text) and fixed ones (drawn
// at a page position on the page of their zero-width anchor character). The pixels
// live in the document's resources under the image's name.

#include <QImage>
#include <QString>
#include <QStringList>
#include <QTextImageFormat>

class QPainter;
class QTextCursor;
class QTextDocument;

namespace Images {

// Inserts `file` at the cursor as a character, scaled by the percentages; returns
// the image id or 0 when the file is no readable image.
int insertAsChar(QTextCursor& c, const QString& file, int scaleX = 100, int scaleY = 100);
int insertAsChar(QTextCursor& c, const QImage& image, int scaleX = 100, int scaleY = 100);
// Inserts a fixed image anchored at the cursor, at x/y twips from the page corner.
int insertFixed(QTextCursor& c, const QString& file, int xTwips, int yTwips, int scaleX = 100,
                int scaleY = 100);
int insertFixed(QTextCursor& c, const QImage& image, int xTwips, int yTwips, int scaleX = 100,
                int scaleY = 100);

// Id of the image that is the selection (a one-character selection); 0 otherwise.
int selectedId(const QTextCursor& c);
int positionOf(const QTextDocument* doc, int id); // -1 when absent
// Distance to the text by side: 1 left, 2 top, 3 right, 4 bottom (twips).
int distance(const QTextDocument* doc, int id, int side);
bool setDistance(QTextDocument* doc, int id, int side, int twips);
// Fixed images: page position in twips.
QPoint fixedPosition(const QTextDocument* doc, int id);
bool setFixedPosition(QTextDocument* doc, int id, QPoint twips);
// Where the fixed image anchored at `anchorPos` is drawn, pixels from the page corner.
QRectF fixedRect(const QTextDocument* doc, int anchorPos);

// Whether the picture shows as a grey box on screen.
bool shownAsBox(const QTextDocument* doc, int id);
bool setShownAsBox(QTextDocument* doc, int id, bool on);
// The picture's pixels, written to `path` in the format its ending names (PNG, JPEG,
// BMP); false with a German reason in `error`.
bool savePicture(const QTextDocument* doc, int id, const QString& path, QString* error);

// While one of these lives, pictures marked as grey boxes are drawn as boxes: the
// surface holds one while it paints the screen, so print, preview and files show the
// picture.
class ScreenPainting {
public:
    ScreenPainting();
    ~ScreenPainting();
    ScreenPainting(const ScreenPainting&) = delete;
    ScreenPainting& operator=(const ScreenPainting&) = delete;
    static bool active();
};

// A fixed picture as an inline one of its size, for formats without page positions.
QTextImageFormat asInline(const QTextCharFormat& fixed);

// Gives the pictures that came without an id (from other formats) one; they can then
// be selected and set like pictures inserted here.
void numberImages(QTextDocument* doc);

// Formats offered when an image is saved, "|"-separated.
QString exportFormats();

// Handlers for fixed pictures and for inline ones with distances to the text.
void installHandlers(QTextDocument* doc);
void paintFixed(QPainter* p, QTextDocument* doc, int anchorPos);

} // namespace Images
