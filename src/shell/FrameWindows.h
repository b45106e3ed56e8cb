#pragma once
// Arranging the document windows in the frame's area and closing them all at the end.

#include <QList>
#include <Qt>

class QMdiArea;
class frmMDIChild;

namespace FrameWindows {

// Tiles `windows` over the whole area in rows (Qt::Vertical: one above the other) or
// in columns; minimised and maximised ones are restored first.
void tile(const QMdiArea* area, const QList<frmMDIChild*>& windows, Qt::Orientation stack);

// The minimised ones among `windows` in a row along the bottom edge.
void arrangeIcons(const QMdiArea* area, const QList<frmMDIChild*>& windows);

// Runs the close check of every shown window of `area`; false as soon as one stays.
bool closeAll(const QMdiArea* area);

} // namespace FrameWindows
