#pragma once
// What the program does with its command line before any window exists: batch
// conversion, letters, the usage text for --help and for unknown options, and the check that
// a display is there at all (Qt would abort without one).

#include <QStringList>

namespace StartCommand {

// The German usage text, for the window mode and the batch conversion.
QString usage();

// Handles what needs no window. Returns the exit code when the program is done
// (batch conversion, letters, --help, an unknown option), -1 when the windows should start.
// `args` are the program's arguments without the program name.
int runWithoutWindows(const QStringList& args);

// False when no window system can be reached: no platform chosen by QT_QPA_PLATFORM
// and neither DISPLAY nor WAYLAND_DISPLAY set.
bool displayAvailable();

// The German text shown when there is no display.
QString noDisplayMessage();

} // namespace StartCommand
