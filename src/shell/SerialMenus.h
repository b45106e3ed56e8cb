#pragma once
// The mail-merge window from the document windows' menus and the toolbar, and the
// document-window operations it runs its letters through.

class frmMDIChild;
class frmSerienKontorix;
struct SerialHost;

namespace SerialMenus {

// Connects "Serienbrief erstellen aus Kontorix" of the extras and insert menus.
void connect(frmMDIChild* window);

// Shows the mail-merge window, not modal; an open one is brought to the front.
frmSerienKontorix* open();

// New document windows, the letterhead template, the frame's print setup and the
// first page printed under the window's caption.
SerialHost host();

} // namespace SerialMenus
