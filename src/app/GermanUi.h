#pragma once
// The program speaks German also where Qt writes the texts: the buttons and labels of
// the standard dialogs (file, print, colour) and number and date formats.

namespace GermanUi {

// Makes German the default locale and installs Qt's own German translation (from Qt's
// translations folder, else the program folder's "translations"). Returns false when
// no translation was found; the dialogs then stay English.
bool install();

} // namespace GermanUi
