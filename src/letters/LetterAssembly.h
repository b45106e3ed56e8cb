#pragma once
// Writes one letter from AppState::LetterData into an editing surface, part after part
// at the caret: letterhead (or the end of a loaded template), sender line, address
// block, date, references, subject, salutation, body, closing and attachments.
// The document window and the command-line letters both build through here.
//
// A step the surface cannot take (a size of 0, a text where a number belongs) is
// skipped; the rest of the letter is written all the same.

#include <QDate>

class TextControl;
struct AppState;

namespace LetterAssembly {

// A new letter in the empty surface `s`: top margin, letterhead from the sender
// fields (nine empty lines without it), then the letter itself. Nothing is written
// when the composer was cancelled.
void buildLetter(TextControl& s, AppState& app, const QDate& today);

// The letter behind the content of a loaded letterhead template in `s`.
void buildOnTemplate(TextControl& s, AppState& app, const QDate& today);

// The part both share: from the address block to the attachments line.
void writeAddressToEnd(TextControl& s, AppState& app, const QDate& today);

} // namespace LetterAssembly
