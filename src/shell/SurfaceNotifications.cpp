#include "SurfaceNotifications.h"

#include "DocumentFiles.h"
#include "FileDropFilter.h"
#include "FormatDialogMenus.h"
#include "MenuState.h"
#include "frmMDIChild.h"
#include "frmMDIParent.h"

#include "app/AppState.h"
#include "engine/spelling/SpellMenu.h"
#include "engine/surface/TextControl.h"

#include <QDesktopServices>
#include <QMdiArea>
#include <QMenu>
#include <QUrl>

namespace SurfaceNotifications {

namespace {

void onMouseDown(frmMDIChild* w, Qt::MouseButton button, QPoint pos)
{
    TextControl* s = w->surface();
    w->raise();
    if (button == Qt::RightButton && s->ObjectSelected() != 0) {
        FormatDialogMenus::showImageDialog(w);
    } else if (QMenu* spelling = button == Qt::RightButton ? SpellMenu::forWordAt(s, pos, w) : nullptr) {
        spelling->setAttribute(Qt::WA_DeleteOnClose);
        spelling->popup(s->viewport()->mapToGlobal(pos));
    } else if (button == Qt::RightButton) {
        for (QMenu* m : w->menus())
            if (m->objectName() == QLatin1String("mnuEdit"))
                m->popup(s->viewport()->mapToGlobal(pos));
    }
    MenuState::updateMagnifierCaption(w);
}

void setHeaderFooterButtons(bool inPart, bool firstPage, bool defaultPart)
{
    if (frmMDIParent* f = frmMDIParent::instance())
        f->setHeaderFooterButtons(inPart, firstPage, defaultPart);
}

} // namespace

void connect(frmMDIChild* w)
{
    TextControl* s = w->surface();
    // A file dropped on the text opens as a document, as on the frame.
    s->viewport()->installEventFilter(
        new FileDropFilter(w, [](const QString& path) { DocumentFiles::OpenDocument(path); }));
    // A change that leaves the caret where it was (a format from a dialog or a key)
    // still makes Undo possible, so the toolbar follows changes as well as the caret.
    const auto refreshToolbar = [] {
        frmMDIParent* f = frmMDIParent::instance();
        if (f && !appState().ToolbarRefreshOff)
            f->UpdateToolbar();
    };
    QObject::connect(s, &TextControl::Change, w, [w, refreshToolbar] {
        w->DirtyFlag = true;
        refreshToolbar();
    });
    QObject::connect(s, &TextControl::PosChange, w, refreshToolbar);
    QObject::connect(s, &TextControl::KeyDown, w, [s](int key, Qt::KeyboardModifiers mods) {
        if (key == Qt::Key_Insert && !(mods & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)))
            s->setInsertionMode(!s->InsertionMode());
    });
    QObject::connect(s, &TextControl::MouseDown, w,
                     [w](Qt::MouseButton button, QPoint pos) { onMouseDown(w, button, pos); });
    QObject::connect(s, &TextControl::UserActivated, w, [w] {
        if (QMdiArea* area = w->mdiArea())
            area->setActiveSubWindow(w);
    });
    QObject::connect(s, &TextControl::HeaderFooterActivated, w, [w, s](int n) {
        const bool firstPageParts = (s->HeaderFooterSet() & (2 | 8)) != 0;
        setHeaderFooterButtons(true, (n == 1 || n == 4) && firstPageParts, n == 2 || n == 8);
        w->HeaderFooterActive = n;
    });
    QObject::connect(s, &TextControl::HeaderFooterLeft, w, [] { setHeaderFooterButtons(false, false, false); });
    QObject::connect(s, &TextControl::HyperlinkClicked, w, [](const QString& target) {
        if (!target.isEmpty())
            QDesktopServices::openUrl(QUrl::fromUserInput(target));
    });
}

} // namespace SurfaceNotifications
