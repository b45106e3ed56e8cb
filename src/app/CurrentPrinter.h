#pragma once
// The application's current printer: what the print dialog chose stays the printer
// of every later print job, preview and mail merge until the dialog chooses again.

#include <QStringList>
#include <functional>

class QPrinter;

// Created on first use for the system's default printer, in high resolution.
QPrinter& currentPrinter();
// Starts again from the system's default printer (tests use it between cases).
void resetCurrentPrinter();

// Names of the installed printers. Tests replace the source to play a machine with or
// without printers; an empty function restores the print system's list.
QStringList installedPrinters();
void setInstalledPrintersSource(std::function<QStringList()> source);
