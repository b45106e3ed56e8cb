#pragma once
// Sends pages painted by a Paginator to a printer: page range, copies, a progress
// report per sheet that may cancel the job. The print commands and the print preview
// print through it; the pages themselves come from the paginator only.

#include <QString>
#include <functional>

class Paginator;
class QPrinter;

namespace PagePrinter {

// Told before each sheet (1-based) of `sheets`; returning false cancels the job.
using Progress = std::function<bool(int sheet, int sheets)>;

// The progress handler of every following job; the shell installs one that shows a
// cancellable progress window for long jobs. An empty function removes it.
void setProgress(Progress progress);

// Prints pages first..last (0 = to the end) `copies` times, collated. With more than
// one copy the printer's own copy count is set to 1 so the sheets are not multiplied
// again; with one copy the copy count chosen in the print dialog stays in force.
// False when nothing could be printed or the job was cancelled.
bool print(Paginator& pages, QPrinter* printer, const QString& docName, int first, int last,
           int copies);

// True when the last job was cancelled through the progress handler.
bool lastCancelled();

} // namespace PagePrinter
