#pragma once
// A copy of a body laid out as printed, in two steps: readying it (resolution, office
// paragraph spacing, scaled indents, the first paragraph's space), which needs no
// fonts, and the layout itself. Serial letters ready each copy on the thread that
// writes the letters; the layout is done there too while the painting thread lags
// behind, else by that thread.

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
// Lays a readied copy out here, as the Paginator painting it would, for painting on
// another thread: the layout lets go of this thread's font engines and timers. A body
// with sections is left to the Paginator, which lays out a copy per section.
void layOut(Document& copy);
// The resolution layOut(Document&) laid `body` out at; 0 when it did not.
int laidOutDpi(const QTextDocument* body);

} // namespace PrintCopy
