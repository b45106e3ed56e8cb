#pragma once
// One serial letter: the letter sequence fed from the mail-merge window's controls
// and the current address, with the common text in front of the text block. The
// window, the command-line run and the benchmark all write their letters here.
//
// Differences from the composer's letter (all parameters of LetterAssembly): the
// sender letterhead is always written, the title "Firma" gets its own line above the
// name, date and references have their own layout, the subject has no prefix, the
// member number line follows its check box, and a missing text block is reported
// and left out.

#include "letters/AddressPlacement.h"
#include "letters/LetterInput.h"

#include <QDate>
#include <QTextDocumentFragment>

#include <memory>

class QMimeData;
class TextControl;
struct AppState;

namespace SerialLetter {

// The text every letter shares, taken once from what the clipboard holds (or from a
// file) and inserted into each letter without touching the clipboard again.
class CommonText {
public:
    CommonText() = default;
    // Our own fragments, rich text (HTML) or plain text, in that order of preference.
    static CommonText fromMimeData(const QMimeData* data);
    static CommonText fromPlainText(const QString& text);
    static CommonText fromFragment(const QTextDocumentFragment& fragment);

    bool isEmpty() const { return m_fragment.isEmpty(); }
    QString toPlainText() const { return m_fragment.toPlainText(); }
    // Inserts the text at the caret of `s`, formats included.
    void insertInto(TextControl& s) const;

private:
    QTextDocumentFragment m_fragment;
};

// What one letter is written from besides the address and the common text.
struct Options {
    QString date;        // txtDatum; empty: today's long date
    QDate today = QDate::currentDate();
    // Set by the caller after the first letter with a missing block, so the message
    // comes once per run in batch use; the window leaves it off (one per letter).
    bool quietMissingBlock = false;
    // Shared by the letters of a run (copies of the options share it): the address is
    // measured into the window once for a letterhead, not once a letter.
    std::shared_ptr<AddressPlacement::Memo> placement = std::make_shared<AddressPlacement::Memo>();
};

// Writes the letter for the address in `in` (controls plus current row; BlockNumber is
// the chosen option, 0 none) into the empty surface `s`: page top margin, letterhead,
// address and the rest. False when the chosen text block is missing: the message
// "Der Textbaustein N existiert nicht! ..." was shown and the letter written without it.
bool write(TextControl& s, AppState& app, const ComposerInput& in, const CommonText& text,
           const Options& options = {});

// The same letter behind the content of a template already loaded into `s`.
bool writeOnTemplate(TextControl& s, AppState& app, const ComposerInput& in, const CommonText& text,
                     const Options& options = {});

// The message shown for a missing text block `n`.
QString missingBlockMessage(int n);

} // namespace SerialLetter
