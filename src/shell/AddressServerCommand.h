#pragma once
// Setting up the shared address store without windows:
//   qx-text --create-address-server URL      tables, indexes and the desk role on the server
//   qx-text --copy-addresses FROM TO         addresses, letterhead and options from one
//                                            store (file or server) to another
// A password the server asks for is read from the terminal without echo (or taken
// from ~/.pgpass). Returns 0, 1 when it failed (nothing changed), 2 for bad arguments.

#include <QStringList>

// `args` are the program's arguments without the program name.
int runAddressServerCommand(const QStringList& args);

namespace AddressServerCommand {
bool wanted(const QStringList& args);
QString usageLines();
} // namespace AddressServerCommand
