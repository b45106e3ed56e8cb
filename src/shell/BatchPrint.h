#pragma once
// Printing documents without windows, through the same print routine as the menu:
//   qx-text --print [--printer NAME] [--copies N] FILE...
// Without --printer the system's default printer is used. Returns 0, 1 when a file
// could not be read or printed, 2 for bad arguments or when no printer is installed.

#include <QStringList>

// `args` are the program's arguments without the program name.
int runBatchPrint(const QStringList& args);
