#pragma once
// Keeps the paginated copy of a body in step with the body: an edit of the body is
// replayed on the copy paragraph by paragraph, so that the copy's layout is updated
// incrementally instead of copying and laying out the whole document again.

#include <QTextBlockFormat>

class QTextBlock;

class QTextDocument;

namespace PaginatedCopy {

// Qt scales a paragraph's space above and below, tab stops and list indents to a layout
// device of another resolution, but not its left and right indents and its first-line
// indent: a copy laid out at `scale` layout units per 96-dpi pixel gets them scaled here.
QTextBlockFormat scaled(QTextBlockFormat f, double scale);
void scaleIndents(QTextDocument* copy, double scale);

// The format a body paragraph `b` gets in the copy: scaled, and spaced from its
// neighbours as office programs space paragraphs (space after and before added up,
// none carried over a page break).
QTextBlockFormat spaced(const QTextBlock& b, double scale);
// Spaces the copy's paragraphs that way, and the tables by their neighbours' spacing,
// which Qt drops.
void addSpacing(QTextDocument* copy);

// Replays the body's change (pos, removed, added as in contentsChange) on `copy`,
// which must have equalled the body before the change. Returns false when the edit
// cannot be replayed safely (tables and other frames, a copy that differs); the
// caller then rebuilds the copy. Indents are scaled as scaleIndents() does.
bool mirror(const QTextDocument* body, QTextDocument* copy, int pos, int removed, int added, double scale = 1);

} // namespace PaginatedCopy
