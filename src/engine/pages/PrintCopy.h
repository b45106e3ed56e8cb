#pragma once
// A copy of a body laid out as printed, in two steps: readying it (resolution, office
// paragraph spacing, scaled indents, the first paragraph's space), which needs no
// fonts, and the layout itself. Serial letters ready each copy on the thread that
// writes the letters and lay it out on the one that paints it, with that thread's fonts.

struct PageGeometry;
class Document;
class QTextDocument;

namespace PrintCopy {

// Everything before a layout at `dpi`, or at the coarser resolution the copy's estimated
// length needs; returns the resolution.
int prepare(QTextDocument* copy, const PageGeometry& g, int dpi);
// Lays the copy out at `dpi` (from prepare()), or the next coarser resolution where it
// does not wrap; returns the resolution used.
int layOut(QTextDocument* copy, const PageGeometry& g, int dpi);

// Readies the body of a Document::paintingCopy(); the Paginator that paints the copy
// then only lays it out.
void prepare(Document& copy);
// The resolution prepare(Document&) chose for `body`; 0 when it was not readied.
int preparedDpi(const QTextDocument* body);

} // namespace PrintCopy
