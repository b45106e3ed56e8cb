#pragma once
// A dialog narrower than its title shows "Tabel… ügen" in its title bar. The
// program's dialogs are made wide enough for the whole title before they show.

#include <QString>

class QFont;
class QMessageBox;
class QWidget;

namespace DialogTitle {

// Width in pixels a title bar needs for `title`: the text in bold plus room for
// the window's icon and buttons.
int roomFor(const QString& title, const QFont& font);

// Raises the minimum width of the top-level `dialog` to roomFor its title (never
// beyond the screen).
void keepVisible(QWidget* dialog);

// The same for a message box, which sizes itself as it shows.
void keepVisible(QMessageBox* box);

} // namespace DialogTitle
