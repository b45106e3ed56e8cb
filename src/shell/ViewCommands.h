#pragma once
// The header, footer and field items of the view menu.

class frmMDIChild;
class QWidget;
class TextControl;

namespace ViewCommands {

void connect(frmMDIChild* w);

// Header/footer items: 1 "&Kopf und Fußzeilen", 2 "Nur K&opfzeile", 3 "Nur F&ußzeile".
void showHeaderFooter(frmMDIChild* w, int item);
// "Informationen aktives Feld": number, text and data of the current field.
void mnuInfoFeld_Click(TextControl* s, QWidget* owner);

} // namespace ViewCommands
