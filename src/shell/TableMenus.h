#pragma once
// The table menu's own commands: rows and columns, deleting, selecting, grid lines and
// the table settings. Inserting a new table is tied elsewhere.

class frmMDIChild;

namespace TableMenus {

void connect(frmMDIChild* w);
// Enables and checks the items for the input position (the menu does it when it opens).
void mnuTable_Click(frmMDIChild* w);

} // namespace TableMenus
