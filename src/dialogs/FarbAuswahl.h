#pragma once
// The colour chooser behind the text-colour and background-colour commands.

class QWidget;

namespace FarbAuswahl {

// Shows the colour chooser owned by `owner`, starting without a chosen colour and with
// empty custom colours; with `fullOpen` the custom-colour part is open from the start.
// Returns the chosen colour as 0x00BBGGRR, or -1 when the user cancelled.
int ShowColorDialog(QWidget* owner, bool fullOpen);

} // namespace FarbAuswahl
