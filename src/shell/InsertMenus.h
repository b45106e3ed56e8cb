#pragma once
// The insert menu's own commands: images, page numbers, fields, page end and date.

class frmMDIChild;
class TextControl;
class QWidget;

namespace InsertMenus {

void connect(frmMDIChild* w);

// "Feld": asks for field names until an empty answer or No; each becomes a field
// whose data is its name, followed by two blanks.
void mnuInsert_Field_Click(TextControl* s, QWidget* owner);
// "Seitenzahlen": a page-number field, only when the document has a header or footer.
void mnuInsert_PageNumbers_Click(TextControl* s, QWidget* owner);
// Images from a chosen file: as a character (fixed = false) or as a movable object.
void insertImage(TextControl* s, QWidget* owner, bool movable);

} // namespace InsertMenus
