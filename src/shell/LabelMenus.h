#pragma once
// The label commands of a document window: "Etiketten drucken" opens the address picker
// for labels (not modal), "Adresse für Vorlage auswählen" opens it modal. The picker's
// label buttons run through the label builder with this shell's document operations.

class frmMDIChild;

namespace LabelMenus {

// Connects the window's label menu items (found by object name).
void connect(frmMDIChild* w);

// The label command of `w`: the picker, not modal, for label printing.
void showPicker(frmMDIChild* w);

} // namespace LabelMenus
