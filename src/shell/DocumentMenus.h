#pragma once
// The file, edit and window menus of a document window, and the few insert, format and
// extras items that act through the frame: each item tied to its command.

class frmMDIChild;

namespace DocumentMenus {

// Connects the window's file, edit and window menu items (found by object name).
void connect(frmMDIChild* w);

} // namespace DocumentMenus
