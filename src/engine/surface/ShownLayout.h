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

} // namespace ShownLayout

class QPainter;

namespace ShownLayout {

// Marks spaces, tabs, line breaks and paragraph ends of the lines of `d` within `clip`
// (layout units) as the control-character view shows them: the copy keeps the printed
// text option, so they are drawn over it rather than laid out.
void paintControlChars(QPainter* p, QTextDocument* d, const QRectF& clip);

} // namespace ShownLayout
