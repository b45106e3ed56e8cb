#pragma once
// Finds the address database file at start and sets AppState::AddressDbPath. Called by
// the main frame's load step; false means the program must end (the message has been
// shown through the prompter).

#include <QString>

struct AppState;

// Where the companion program lives when it is installed system-wide (its own folder,
// the place where it keeps "address50.adr" too).
QString systemAddressProgramFolder();

// `removable`: the program runs from a removable drive; `driveRoot` is that drive's
// mount point (empty: the mount of ProgramFolder).
bool LocateAddressDatabase(AppState& state, bool removable, const QString& driveRoot);

// The same with the system-wide companion folder given (tests).
bool LocateAddressDatabase(AppState& state, bool removable, const QString& driveRoot,
                           const QString& systemProgramFolder);
