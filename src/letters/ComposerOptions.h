#pragma once
// What the letter composer shows when it opens, without the window: the sender row of
// `Briefkopf`, the layout row of `Optionen`, the letter-text font of "FontText.txt"
// and the initial state of the unbound check boxes; and the recipient fields of an
// address row. The command-line letters build from these.

#include "LetterInput.h"

class RecordSource;

namespace ComposerOptions {

// Fills the stored options of the database at `databasePath` and of `workFolder` into
// `in` (the rest keeps the window's initial values). False with a German text when the
// database cannot be read.
bool load(const QString& databasePath, const QString& workFolder, ComposerInput* in, QString* error);

// The recipient fields from the current row of a record source over `Addressen`.
void setRecipient(ComposerInput& in, const RecordSource& address);

} // namespace ComposerOptions
