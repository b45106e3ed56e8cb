#pragma once
// "Extras › Rechtschreibung während der Eingabe prüfen": one checker for all document
// windows, the option remembered in the work folder, and the right-click menu on a
// marked word.

class SpellChecker;
class frmMDIChild;

namespace SpellOption {

// The program's checker (German, Germany) on the work folder's user dictionary.
SpellChecker* checker();
bool isOn();
void setOn(bool on);
// Gives the window's surface the checker and ties the Extras item to the option.
void connect(frmMDIChild* w);

} // namespace SpellOption
