#pragma once
// Writing a text block into an editing surface at the caret, with the block's own
// font, size, style and colour, and turning the surface's font back to plain Arial 10.

#include "TextBlockFile.h"

#include <QColor>
#include <QString>

class TextControl;

namespace TextBlockInsert {

// The colour of a colour number; system colours (negative numbers) give the
// system's window-text colour.
QColor colour(qint32 number);
// The window-text colour the surface returns to after an insert.
QColor windowTextColour();

// Block text as an edit box shows it (line breaks "\n") and as the file keeps it
// (CR LF, as a multi-line box on the original platform gave it).
QString toEditText(const QString& fileText);
QString toFileText(const QString& editText);

// Sets the surface's font, size, styles and colour to the block's, inserts its text at
// the caret (replacing a selection), then resets the font (resetFont).
void write(TextControl& surface, const TextBlock& block);
// "Arial", 10 points, not bold, italic, underlined or struck through, window-text colour.
void resetFont(TextControl& surface);

} // namespace TextBlockInsert
