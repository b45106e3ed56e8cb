#pragma once
// Keeps the paginated copy of a body in step with the body: an edit of the body is
// replayed on the copy paragraph by paragraph, so that the copy's layout is updated
// incrementally instead of copying and laying out the whole document again.

class QTextDocument;

namespace PaginatedCopy {

// Replays the body's change (pos, removed, added as in contentsChange) on `copy`,
// which must have equalled the body before the change. Returns false when the edit
// cannot be replayed safely (tables and other frames, a copy that differs); the
// caller then rebuilds the copy.
bool mirror(const QTextDocument* body, QTextDocument* copy, int pos, int removed, int added);

} // namespace PaginatedCopy
