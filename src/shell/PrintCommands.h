#pragma once
// The print commands of the frame and the document windows: the print setup that
// every print command runs first, printing one document and printing all open ones.
// Pages come from each surface's PrintDoc on the application's current printer.

#include <QList>
#include <QString>
#include <memory>

class QWidget;
class TextControl;
class clsPrintDialog;

namespace PrintCommands {

// Replaces `dialog` by a fresh print dialog object prepared for the pages of
// `surface` (null: one page), shows it and writes the program-wide print settings.
void PrintSetup(std::unique_ptr<clsPrintDialog>& dialog, TextControl* surface, QWidget* owner);

// Prints pages first..last (last 0: to the end) of `surface` `copies` times (0 becomes
// 1) under the job name `jobName`, with the hourglass and a cancellable progress window
// for long jobs. A job that could not be printed is reported; a cancelled one is not.
bool PrintDocument(TextControl* surface, int& copies, const QString& jobName, int first = 1,
                   int last = 0);

// Prints each surface whole, `copies` times each, under the job name "MyPrintJob".
void PrintAll(const QList<TextControl*>& surfaces, int copies);

} // namespace PrintCommands
