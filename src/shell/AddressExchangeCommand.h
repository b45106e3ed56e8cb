#pragma once
// Address lists in and out without windows:
//   qx-text --import-addresses FILE [--group NAME] [--database FILE] [--duplicates skip|update|add]
//   qx-text --export-addresses FILE [--group NAME] [--database FILE] [--encoding utf-8|windows-1252]
// The import reads CSV or vCard, guesses the columns from the header and writes all
// addresses in one transaction; its summary goes to stdout. The export writes the
// addresses (or those of the group) as vCard 4.0 when FILE ends in ".vcf", else as
// CSV. Returns 0, 1 when nothing could be taken or written, 2 for bad arguments.

#include <QStringList>

// `args` are the program's arguments without the program name.
int runAddressExchange(const QStringList& args);

namespace AddressExchangeCommand {
QString usageLines();
}
