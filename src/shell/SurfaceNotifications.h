#pragma once
// What a document window does on its editing surface's notifications: it marks the
// document modified, refreshes the frame's toolbar and header/footer buttons, toggles
// the insert mode, shows the context menu or the image dialog on a right click, follows
// hyperlinks and opens files dropped on the text.

class frmMDIChild;

namespace SurfaceNotifications {

void connect(frmMDIChild* w);

} // namespace SurfaceNotifications
