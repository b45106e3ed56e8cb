#pragma once
// Keeps the recipient's address in the window of a window envelope, whatever stands
// above it. The address field of a DIN 5008 letter (form B) starts 45 mm below the
// sheet's top edge and is 45 mm high; folded into a DL window envelope, that is what
// the window shows.

#include <QString>

class TextControl;

namespace AddressPlacement {

constexpr double WindowTopMm = 45;
constexpr double WindowBottomMm = 90;

// Puts the block of paragraphs from `start` to the paragraph at `end` (the one after
// its last line) into the address field of the first page: its first line
// WindowTopMm below the top edge, moved down by a space above it or up by narrowing
// the empty lines right before it. Where text before it reaches into the field, the
// block follows that text and is pulled up only as far as it must to end inside the
// field. Returns false when it cannot end inside the field.
bool moveToWindow(TextControl& s, int start, int end);

// The warning for a letterhead that leaves no room above the address field.
QString letterheadTooLongText();

} // namespace AddressPlacement
