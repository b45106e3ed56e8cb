#pragma once
// The captions, check marks and enabled states of a document window's menus, brought up
// to date as a menu opens or the state they show changes.

#include <QList>

class QAction;
class frmMDIChild;

namespace MenuState {

// Undo and redo with the kind of step they act on; cut, copy and paste as the
// selection and the clipboard allow.
void updateEditMenu(frmMDIChild* w);
// The header/footer item (not in the draft view) and the check at the current zoom.
void updateViewMenu(frmMDIChild* w);
// Rebuilds the numbered list of open windows at the end of the window menu; `entries`
// holds what the last call added and is replaced.
void updateWindowList(frmMDIChild* w, QList<QAction*>& entries);
// "Lupe einschalten" or "Lupe ausschalten".
void updateMagnifierCaption(frmMDIChild* w);

} // namespace MenuState
