#pragma once
// Column widths of a table as the writers need them: fixed and percentage widths as
// given, the columns without a width sharing what is left of the text width (at
// least 20 pixels each), all in 96-dpi pixels.

#include <QList>

class QTextTable;
class QTextTableFormat;

namespace TableColumns {

QList<double> widths(const QTextTable* t, double textWidth);

// Where the first column's edge stands from the text's left edge (pixels), and the left
// margin that puts it at `edge`. Qt 6.4 lays a table with collapsed lines out with that
// edge one and a half line widths right of the margin (the table's line and its half,
// rounded); office programs put the line's middle on the edge.
double firstEdge(const QTextTableFormat& f);
double marginForEdge(const QTextTableFormat& f, double edge);

} // namespace TableColumns
