#include "MenuState.h"

#include "MenuWiring.h"
#include "ShellRules.h"
#include "frmMDIChild.h"

#include "engine/surface/TextControl.h"

#include <QMdiArea>
#include <QPointer>

namespace MenuState {

void updateEditMenu(frmMDIChild* w)
{
    const TextControl* s = w->surface();
    const int undo = s->UndoKind();
    const int redo = s->RedoKind();
    QAction* u = MenuWiring::item(w, QStringLiteral("mnuEdit_Undo"));
    QAction* r = MenuWiring::item(w, QStringLiteral("mnuEdit_Redo"));
    u->setText(ShellRules::undoCaption(undo));
    r->setText(ShellRules::redoCaption(redo));
    u->setEnabled(undo != 0);
    r->setEnabled(redo != 0);
    const bool canCopy = s->CanCopy();
    MenuWiring::item(w, QStringLiteral("mnuEdit_Cut"))->setEnabled(canCopy);
    MenuWiring::item(w, QStringLiteral("mnuEdit_Copy"))->setEnabled(canCopy);
    MenuWiring::item(w, QStringLiteral("mnuEdit_Paste"))->setEnabled(s->CanPaste());
}

void updateViewMenu(frmMDIChild* w)
{
    const TextControl* s = w->surface();
    MenuWiring::item(w, QStringLiteral("mnuView_HeaderFooter"))->setEnabled(s->ViewMode() != 0);
    const int zoom = s->ZoomFactor();
    for (int i = 1; i <= 11; ++i) {
        QAction* a = MenuWiring::item(w, QStringLiteral("mnuView_ZoomItem(%1)").arg(i));
        a->setChecked(ShellRules::zoomFromCaption(a->text()) == zoom);
    }
}

void updateWindowList(frmMDIChild* w, QList<QAction*>& entries)
{
    QMenu* menu = w->findChild<QMenu*>(QStringLiteral("mnuWindow"));
    qDeleteAll(entries);
    entries.clear();
    QMdiArea* area = w->mdiArea();
    if (!menu || !area)
        return;
    entries << menu->addSeparator();
    int n = 0;
    for (QMdiSubWindow* sw : area->subWindowList()) {
        if (!sw->isVisible() && !sw->isMinimized())
            continue;
        QAction* a = menu->addAction(QStringLiteral("&%1 %2").arg(++n).arg(sw->windowTitle()));
        a->setObjectName(QStringLiteral("mnuWindowList(%1)").arg(n));
        a->setCheckable(true);
        a->setChecked(sw == area->currentSubWindow());
        QPointer<QMdiSubWindow> target(sw);
        QObject::connect(a, &QAction::triggered, w, [area, target] {
            if (target)
                area->setActiveSubWindow(target);
        });
        entries << a;
    }
}

void updateMagnifierCaption(frmMDIChild* w)
{
    if (QAction* a = MenuWiring::item(w, QStringLiteral("mnuLupe")))
        a->setText(w->magnifierOn() ? QStringLiteral("Lupe ausschalten") : QStringLiteral("Lupe einschalten"));
}

} // namespace MenuState
