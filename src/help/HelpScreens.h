#pragma once
// The help screens and the about box, shown modally. Windows of lower layers reach them
// through hooks that the shell ties to these functions.

class QWidget;

namespace HelpScreens {

void showKontorix(QWidget* owner);    // hilfe3, the letter composer's help
void showSerienbrief(QWidget* owner); // frmHilfeSerienbrief
void showEtikett(QWidget* owner);     // frmHilfeEtikett, the address picker's help
void showAbout(QWidget* owner);       // frmAbout

} // namespace HelpScreens
