#pragma once
// Plain rules of the print preview: which buttons are enabled, the page label, the
// zoom factor that fits a page into a picture and where the page pictures go. All
// lengths are twips.

#include <QRectF>
#include <QSizeF>
#include <QString>

namespace PreviewRules {

struct Controls {
    bool next = false, previous = false, pages = false, zoomIn = false, zoomOut = false;
    QString label;
};
// `zoom` 0 = fitted, 1 = 75 %, 2 = 100 %.
Controls controls(int current, int pages, int zoom);

// Percent at which a page of `page` fits into `picture`; below 10 nothing is drawn.
int fitFactor(QSizeF picture, QSizeF page);

// Fitted layout (zoom level 0) of one or two pictures in a view of `view`.
struct Placement {
    QRectF first, second;
};
Placement fitted(QSizeF view, QSizeF page, bool twoPages);

// One direction at zoom level 1 or 2: the scroll bar and the picture's edge.
struct Axis {
    int maximum = 0, largeChange = 1, smallChange = 1;
    bool scrollable = false; // scroll bar enabled
    double edge = 0;         // left or top of the picture in the view
};
Axis zoomed(double picture, double view, int scrollValue);

// Picture size at zoom level 1 (75 % of the page) or 2 (100 %). Each level is at least
// a quarter larger than the one before, starting from `fitted`, the picture of level 0:
// in a large window the fitted page is already bigger than 75 %, and enlarging must
// never make it smaller.
QSizeF zoomedSize(QSizeF page, int zoom, QSizeF fitted);

} // namespace PreviewRules
