#pragma once
// Column widths of a table as the writers need them: fixed and percentage widths as
// given, the columns without a width sharing what is left of the text width (at
// least 20 pixels each), all in 96-dpi pixels.

#include <QList>

class QTextTable;

namespace TableColumns {

QList<double> widths(const QTextTable* t, double textWidth);

} // namespace TableColumns
