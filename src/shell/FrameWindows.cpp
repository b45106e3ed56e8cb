#include "FrameWindows.h"

#include "frmMDIChild.h"

#include <QMdiArea>
#include <QPointer>

namespace FrameWindows {

void tile(const QMdiArea* area, const QList<frmMDIChild*>& windows, Qt::Orientation stack)
{
    if (windows.isEmpty())
        return;
    const QRect rect = area->viewport()->rect();
    const int n = int(windows.size());
    for (int i = 0; i < n; ++i) {
        frmMDIChild* w = windows[i];
        if (w->isMinimized() || w->isMaximized())
            w->showNormal();
        if (stack == Qt::Vertical) {
            const int h = rect.height() / n;
            w->setGeometry(0, i * h, rect.width(), h);
        } else {
            const int wd = rect.width() / n;
            w->setGeometry(i * wd, 0, wd, rect.height());
        }
    }
}

void arrangeIcons(const QMdiArea* area, const QList<frmMDIChild*>& windows)
{
    int x = 0;
    const int bottom = area->viewport()->height();
    for (frmMDIChild* w : windows) {
        if (!w->isMinimized())
            continue;
        w->move(x, bottom - w->height());
        x += w->width();
    }
}

bool closeAll(const QMdiArea* area)
{
    // A window's close may take others with it; each is checked while it still exists.
    const QList<QMdiSubWindow*> list = area->subWindowList();
    for (QMdiSubWindow* sw : list) {
        QPointer<QMdiSubWindow> guard(sw);
        if (guard && !guard->isHidden() && !guard->close())
            return false;
    }
    return true;
}

} // namespace FrameWindows
