#pragma once
// The frame's own menu, shown while no document window is open, and what the toolbar's
// buttons run.

#include <QString>

class QMenu;
class frmMDIParent;

namespace FrameBars {

// "&Datei" with "&Neu", "&Öffnen..." and the recent files.
QMenu* buildFileMenu(frmMDIParent* frame);

// The command of the toolbar button `key` (its objectName).
void runButton(frmMDIParent* frame, const QString& key);

} // namespace FrameBars
