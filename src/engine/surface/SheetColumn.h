#pragma once
// Where the page views put the printed pages: sheets one under the other, each centred
// on the widest, in document pixels (96 dpi, unzoomed). A body with sections has sheets
// of several sizes; each section's copy is shown over its own sheets.

#include "ShownLayout.h"
#include "engine/pages/Paginator.h"

#include <QList>
#include <QRectF>

class SheetColumn {
public:
    explicit SheetColumn(Paginator& paginator);

    int pageCount() const;
    double width() const { return m_width; }
    double height() const;
    // The sheet of printed page `page` (1-based, kept in range).
    QRectF sheet(int page) const;
    const PageGeometry& geometry(int page) const;
    // The page whose sheet reaches down past `y`; the last one below them all.
    int pageAt(double y) const;
    // The laid-out copies over their sheets.
    ShownLayout::Pieces pieces() const;

private:
    struct Run {
        Paginator::Printed printed;
        QPointF origin; // of its first sheet
        QSizeF size;    // of each of its sheets
    };
    const Run& runOf(int page) const;
    QList<Run> m_runs;
    double m_width = 0;
    Paginator* m_single = nullptr; // counts the pages of a body without sections
};
