#pragma once
// The menu items and toolbar buttons that open the formatting dialogs (table, paragraph
// frames, image options, header and footer distances, hyperlink) for a document.

class frmMDIChild;
class frmMDIParent;

namespace FormatDialogMenus {

// Connects the window's "&Tabelle" (insert), "&Rahmen und Linien (Absatz)",
// "&Grafik..." and "&Hyperlink" items.
void connectMenus(frmMDIChild* window);
// Connects the frame's "HeaderProperties" and "Tabelle" buttons; they act on the
// active document.
void connectToolbar(frmMDIParent* frame);

void showTableDialog(frmMDIChild* window);
void showFramesDialog(frmMDIChild* window);
void showImageDialog(frmMDIChild* window);
void showHeaderDialog(frmMDIChild* window);
void showHyperlinkDialog(frmMDIChild* window);

} // namespace FormatDialogMenus
