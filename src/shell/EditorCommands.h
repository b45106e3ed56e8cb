#pragma once
// Ties the insert, format, table and extras commands and the header, footer and field
// items of the view menu to a document window.

class frmMDIChild;

namespace EditorCommands {

void connect(frmMDIChild* w);

} // namespace EditorCommands
