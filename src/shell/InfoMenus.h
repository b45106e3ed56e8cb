#pragma once
// The document window's help menu and word count, and the help pictures of the windows
// below the shell (letter composer, address picker), tied to the help screens.

class frmMDIChild;

namespace InfoMenus {

// Connects "Anzahl Wörter ermitteln" and the help menu of `w`, and gives the letter
// composer and the address picker their help screens.
void connect(frmMDIChild* w);

} // namespace InfoMenus
