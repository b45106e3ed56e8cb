#pragma once
// Pictures the user can grasp: which picture lies under the mouse, where a picture is
// shown (document pixels of the surface), and the handles around a selected one.

#include <QRectF>

class QPainter;
class QPoint;
class TextControl;

namespace ObjectSelection {

// Id of the picture shown under the viewport point, 0 when there is none. Fixed
// pictures count only where the surface shows the printed pages.
int imageAt(const TextControl& s, const QPoint& viewportPos);
// Where the picture `id` is shown, document pixels; empty when it is not shown.
QRectF shownRect(const TextControl& s, int id);
// The eight handles around `r` (viewport pixels) and the area they cover.
void paintHandles(QPainter* p, const QRectF& r);
QRectF handlesArea(const QRectF& r);

} // namespace ObjectSelection
