#include "TableColumns.h"

#include <QTextTable>

namespace TableColumns {

namespace {

double shift(const QTextTableFormat& f)
{
    return f.borderCollapse() && f.border() > 0 ? 1.5 * f.border() : 0;
}

} // namespace

double firstEdge(const QTextTableFormat& f)
{
    return f.leftMargin() + shift(f);
}

double marginForEdge(const QTextTableFormat& f, double edge)
{
    return edge - shift(f);
}

QList<double> widths(const QTextTable* t, double textWidth)
{
    const QList<QTextLength> constraints = t->format().columnWidthConstraints();
    QList<double> widths;
    double fixed = 0;
    int variable = 0;
    for (int c = 0; c < t->columns(); ++c) {
        const QTextLength l = constraints.value(c);
        double w = -1;
        if (l.type() == QTextLength::FixedLength)
            w = l.rawValue();
        else if (l.type() == QTextLength::PercentageLength)
            w = textWidth * l.rawValue() / 100.0;
        if (w >= 0)
            fixed += w;
        else
            ++variable;
        widths << w;
    }
    const double share = variable ? qMax(20.0, (textWidth - fixed) / variable) : 0;
    for (double& w : widths)
        if (w < 0)
            w = share;
    return widths;
}

} // namespace TableColumns
