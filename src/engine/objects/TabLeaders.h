#pragma once
// Tab leaders: dots, hyphens or a line that fill the room a tab leaves before its stop
// (a table of contents, a price list). Qt lays tabs out but draws nothing in them; a
// stop's leader is kept in the delimiter of a left, right or centre stop, which Qt
// uses only for decimal stops.

#include <QChar>
#include <QTextBlock>
#include <QTextOption>

class QPainter;
class QRectF;
class QTextDocument;

namespace TabLeaders {

// The leader of a stop; a null character when it has none.
QChar of(const QTextOption::Tab& t);
QTextOption::Tab with(QTextOption::Tab t, QChar leader);

// Draws the leaders of the paragraphs that lie in `area` (layout units of `doc`,
// `scale` of them per 96-dpi pixel). `from`, when valid, is a block at or above the
// area's top (a paginated document knows it without walking from the start).
void paint(QPainter* p, QTextDocument* doc, const QRectF& area, double scale = 1, QTextBlock from = {});

} // namespace TabLeaders
