#pragma once
// "Extras › Rechtschreibung während der Eingabe prüfen": one checker for all document
// windows, the option remembered in the work folder, and the right-click menu on a
// marked word.

class QString;
class SpellChecker;
class TextControl;
class frmMDIChild;

namespace SpellOption {

// The program's checker of `language` ("de_DE", "de_AT", "de_CH", "en_US") on the work
// folder's user dictionary; one per language, shared by all windows.
SpellChecker* checker(const QString& language);
bool isOn();
void setOn(bool on);
// Gives an editor the checker of its document's language and the option's state; also
// what SpellMarks::prepare does for the editors of other windows (set up with the frame).
void attach(TextControl* s);
// Gives the window's surface the checker, ties the Extras items to the option and the dialog.
void connect(frmMDIChild* w);

} // namespace SpellOption
