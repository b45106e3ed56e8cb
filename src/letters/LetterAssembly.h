#pragma once
// Writes one letter from AppState::LetterData into an editing surface, part after part
// at the caret: letterhead (or the end of a loaded template), sender line, address
// block, date, references, subject, salutation, body, closing and attachments.
// The document window and the command-line letters both build through here.
//
// A step the surface cannot take (a size of 0, a text where a number belongs) is
// skipped; the rest of the letter is written all the same.

#include <QDate>
#include <QString>

#include <functional>

class TextControl;
struct AppState;

namespace AddressPlacement {
class Memo;
}

namespace LetterAssembly {

// Where a letter differs from the composer's. The default is the composer's letter;
// the serial letters switch every item.
struct Variant {
    bool alwaysLetterhead = false; // the sender block even when ShowLetterhead is off
    bool companyLine = false;      // "Firma " above the name for the title "Firma"
    // "Unser Zeichen:"/"Ihr Zeichen:" labels in the date line, the values below it,
    // instead of the date followed by one reference line.
    bool referencesBesideDate = false;
    QString date;                  // the date text; empty: today's long date
    bool subjectPrefix = true;     // "Betreff: " before the subject
    // Writes text at the caret right after the salutation, before the text block.
    std::function<void(TextControl&)> body;
    // Letters of one run keep the address placement here; the build functions then
    // return true whether or not the block ends inside the address field.
    AddressPlacement::Memo* placement = nullptr;
};

// Each returns false when the letterhead leaves no room for the address block in the
// address window (AddressPlacement); the block then follows the letterhead.

// A new letter in the empty surface `s`: top margin, letterhead from the sender
// fields (nine empty lines without it), then the letter itself. Nothing is written
// when the composer was cancelled.
bool buildLetter(TextControl& s, AppState& app, const QDate& today);
// The same from the top margin on, whatever LetterCancelled says, as `v` varies it.
bool buildLetter(TextControl& s, AppState& app, const QDate& today, const Variant& v);

// The letter behind the content of a loaded letterhead template in `s`.
bool buildOnTemplate(TextControl& s, AppState& app, const QDate& today, const Variant& v = {});

// The part both share: from the address block, which starts at the top of the address
// window, to the attachments line.
bool writeAddressToEnd(TextControl& s, AppState& app, const QDate& today, const Variant& v = {});

} // namespace LetterAssembly
