#pragma once
// Serial letters without windows:
//   qx-text --serial-letters [--database FILE] [--group NAME | --all] [--block N]
//           [--text FILE] [--template] (--single-pdf FILE | --convert-to EXT [--outdir DIR])
// writes the mail-merge letter for every address of the group (or all), in the order
// of the mail-merge window's left list, with the common text read from FILE (any
// format the program reads): one PDF with every letter starting on a new page, or one
// file "Serienbrief_NNNN_Nachname.EXT" per letter. Progress goes to stderr ("Brief 120
// von 5000"). Returns 0, 1 when the database, the text, the block or the template is
// missing or a file could not be written, 2 for bad arguments.
//
// One surface is reused for every letter and each letter is painted and written before
// the next one is laid out, so memory stays flat however many letters there are.

#include <QStringList>

// `args` are the program's arguments without the program name.
int runSerialCommand(const QStringList& args);

namespace SerialCommand {
QString usageLine();
// "Serienbrief_0007_Müller.pdf": the number padded to four digits, the last name
// without the characters file systems refuse.
QString fileName(int number, const QString& lastName, const QString& ext);
} // namespace SerialCommand
