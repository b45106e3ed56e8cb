#pragma once
// Letters without windows, for scripts and for checking:
//   qx-text --letter NR[,NR...] [--block N] [--database FILE] --convert-to EXT [--outdir DIR]
// builds for each address number the letter "Brief erstellen" would build with the
// composer's stored options and its initial check boxes, and writes "Brief_NR.EXT"
// (default folder: the current one; created when missing). Prints one line per file;
// returns 0, 1 when the database or an address does not exist or a file could not be
// written, 2 for bad arguments. A missing text block is reported and left out.

#include <QDate>
#include <QStringList>

class TextControl;
struct AppState;
struct ComposerInput;

// `args` are the program's arguments without the program name.
int runLetterCommand(const QStringList& args);

namespace LetterCommand {
// Builds the letter of `in` into the empty surface `s` as the document window does;
// false when the letterhead leaves no room above the address window.
bool build(const ComposerInput& in, AppState& app, TextControl& s, const QDate& today);
} // namespace LetterCommand
