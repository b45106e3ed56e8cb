#pragma once
// Keeps the recipient's address in the window of a window envelope, whatever stands
// above it. The address field of a DIN 5008 letter (form B) starts 45 mm below the
// sheet's top edge and is 45 mm high; folded into a DL window envelope, that is what
// the window shows.

#include "engine/Document.h"

#include <QFont>
#include <QList>
#include <QString>
#include <QTextFormat>

#include <utility>

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

// The placement of the last measured letter, for the letters of a run after it: where
// the page and everything above the address block (text, formats, tables) are the same,
// the block takes the same paragraph changes without the measuring layout. Placements
// that depended on the block's own height are not kept.
class Memo {
public:
    // How often a placement was measured rather than taken from the memo.
    int measured() const { return m_measured; }

    // What the block's place depends on.
    struct Above {
        PageGeometry page;
        int start = -1;
        QString text;
        QList<QTextFormat> formats;
        QFont font;
        double margin = 0;
        bool operator==(const Above&) const = default;
    };

private:
    friend void placeInWindow(TextControl& s, int start, int end, Memo& memo);
    bool m_valid = false;
    Above m_above;
    QList<std::pair<int, QTextBlockFormat>> m_merges;
    int m_measured = 0;
};

// Places the block as moveToWindow() does, through `memo`; whether the block ends
// inside the field is not told (serial letters do not warn).
void placeInWindow(TextControl& s, int start, int end, Memo& memo);

// The warning for a letterhead that leaves no room above the address field.
QString letterheadTooLongText();

} // namespace AddressPlacement
