#pragma once
// The format menu's own commands: the surface's character, paragraph, list, tab and
// style dialogs, list levels and numbering styles. The colour items and the frame and
// image dialogs are tied elsewhere.

class frmMDIChild;

namespace FormatMenus {

void connect(frmMDIChild* w);

} // namespace FormatMenus
