#pragma once
// What other office suites place on the page rather than in the text: positioned
// frames (paragraphs with \pos... words), shapes (\shp) holding a picture or a text
// box, and foot- and endnotes. The reader collects them here; `placeOnPages` resolves
// their positions once the page geometry and the layout are known.
// A picture's distances to the text are the shape properties dxWrapDistLeft ...
// dyWrapDistBottom in EMU, inside {\*\picprop} for pictures in the text.

#include <QImage>
#include <QString>
#include <QTextCharFormat>

#include <memory>

class Document;
class QTextDocument;
class RtfSink;

namespace RtfShapes {

constexpr int EmuPerTwip = 635;

// Reference of a position: the page's edge, the margin, or the anchoring paragraph.
enum class Ref { Page, Margin, Paragraph };
// How a position is meant: a distance from the reference, or aligned in it.
enum class Align { Absolute, Start, Center, End };

struct Placement {
    Ref refX = Ref::Margin, refY = Ref::Margin;
    Align alignX = Align::Absolute, alignY = Align::Absolute;
    int x = 0, y = 0; // twips from the reference
    // Width and height in twips; 0 = as the content needs; a negative height is exact,
    // a positive one a minimum.
    int width = 0, height = 0;
    bool operator==(const Placement&) const = default;
};

// A frame of \pos paragraphs as the paragraph words describe it.
struct FrameWords {
    bool on = false;
    Placement place;
    bool operator==(const FrameWords&) const = default;
    // Takes a frame word; false when `w` is none.
    bool word(const QByteArray& w, int p);
};

// A shape while its group is read.
struct Shape {
    Shape() { place.refY = Ref::Paragraph; } // a shape's default anchoring
    RtfSink* flow = nullptr; // where its anchor goes
    int left = 0, top = 0, right = 0, bottom = 0;
    Placement place;
    int type = 0;
    int padX = 144, padY = 72; // default text insets, twips
    int line = 15;             // border width, twips (0.75 pt unless the file says otherwise); 0 none
    int distance[4] = {};      // to the text, twips: left, top, right, bottom
    QString name, value;       // of the \sp being read
    QImage picture;
    std::shared_ptr<QTextDocument> text;
    std::shared_ptr<RtfSink> sink;
    bool hasText = false;
    // Takes a control word of \shpinst; false when `w` is none.
    bool word(const QByteArray& w, int p);
    // The \sp group ended: takes its name and value.
    void property();
    // The distances given into the picture or anchor format `f`.
    void applyDistances(QTextFormat& f) const;
};

// An anchor for a picture placed on the page (no room in the text).
QTextCharFormat pictureAnchor(const QTextCharFormat& base, const QString& name, const Placement& place);
// An anchor for a text box holding `text`; paddings in twips.
QTextCharFormat textBoxAnchor(const QTextCharFormat& base, const QTextDocument& text, const Placement& place,
                              int padX, int padY, int line = 0);

// Turns the placements of every anchor of the body into page positions and sizes.
// Paragraph-relative positions need a layout, which is made once.
void placeOnPages(Document& doc);

// Shrinks tables of the body that are wider than the text area to its width; true when
// one was.
bool fitTables(Document& doc);

// Writing: the opening of the shape group for the fixed image or text box `f`, up to
// where its picture (\sp pib) or its text (\shptxt) follows; close with "}}".
// `shapeId` is unique in the file.
QByteArray shapeStart(const QTextCharFormat& f, int shapeId);
// {\*\picprop ...} with the distances of a picture in the text; empty when all are 0.
QByteArray distanceProperties(const QTextFormat& f);

// Note marks: `n` in the numbering an RTF note word names ("ftnnar", "aftnnrlc", ...).
QString noteNumber(int n, const QByteArray& style);

} // namespace RtfShapes
