#pragma once
// Measuring and walking the layout a surface shows when that is not its own document's:
// the page views show a copy of the body laid out as printed, with the same character
// positions. Positions are the body's; rectangles and points are the copy's layout units.

#include <QRectF>
#include <QTextBlock>
#include <QTextLayout>

class QTextDocument;

namespace ShownLayout {

// The line that shows position `pos` of `d` and its block's top-left corner; an
// invalid line when the block is not laid out (hidden).
struct Place {
    QTextBlock block;
    QTextLine line;
    QPointF origin;
    int rel = 0; // pos within the block
};
Place placeOf(QTextDocument* d, int pos);

// Where the caret at `pos` stands; `overwrite` makes it as wide as the next character.
QRectF caretRect(QTextDocument* d, int pos, bool overwrite);
// The position nearest to `at`.
int hitTest(QTextDocument* d, const QPointF& at);

enum Move { LineUp, LineDown, LineStart, LineEnd };
// Where the caret goes from `pos`; `x` is the column kept across lines going up or
// down. -1 when there is no line to go to.
int move(QTextDocument* d, int pos, Move m, double x);

// A laid-out copy as the page views show it: it holds the body's positions from `start`
// to `end` (its own positions are the body's less `start`), and its layout's origin
// stands at `origin` in document pixels, `scale` layout units to the pixel. A body with
// sections is shown in one piece per section, one under the other; any other in one.
struct Piece {
    QTextDocument* d = nullptr;
    int start = 0;
    int end = 0;
    QPointF origin;
    double scale = 1;
    QPointF toLayout(const QPointF& docPoint) const { return (docPoint - origin) * scale; }
    QRectF toDocument(const QRectF& layoutRect) const
    {
        return {origin + layoutRect.topLeft() / scale, layoutRect.size() / scale};
    }
};
using Pieces = QList<Piece>;

// The piece that shows body position `pos`; the piece under document point `at`.
int pieceOf(const Pieces& pieces, int pos);
int pieceAt(const Pieces& pieces, const QPointF& at);
// As above for the body's positions and document pixels, across the pieces. An exact
// hit test gives -1 where no character is; going up from a piece's first line or down
// from its last goes on in the piece before or after.
QRectF caretRect(const Pieces& pieces, int pos, bool overwrite);
int hitTest(const Pieces& pieces, const QPointF& at, Qt::HitTestAccuracy accuracy = Qt::FuzzyHit);
int move(const Pieces& pieces, int pos, Move m, double x);

} // namespace ShownLayout

class QPainter;

namespace ShownLayout {

// Marks spaces, tabs, line breaks and paragraph ends of the lines of `d` within `clip`
// (layout units) as the control-character view shows them: the copy keeps the printed
// text option, so they are drawn over it rather than laid out.
void paintControlChars(QPainter* p, QTextDocument* d, const QRectF& clip);

} // namespace ShownLayout
