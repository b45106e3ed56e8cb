#pragma once
// Qt lays the first paragraph of a document out without its space before (it only
// collapses that space with the paragraph above, and there is none). Other office
// programs keep it, and a letter's address depends on it. A printed copy gets it back
// without being laid out twice: what follows the first paragraph is pushed down by the
// space before the copy is laid out, and the laid-out paragraph is then moved down into
// the gap, however many lines it has.

class QTextDocument;

namespace FirstSpacing {

// Before the copy is first laid out; later calls leave it as it is.
void reserve(QTextDocument* copy);
// Once the copy is laid out completely. The copy keeps the paragraph in place from
// then on: a relayout that puts it back at the top moves it down again.
void apply(QTextDocument* copy);

} // namespace FirstSpacing
