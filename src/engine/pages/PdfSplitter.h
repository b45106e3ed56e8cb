#pragma once
// Cuts a PDF that our PDF export wrote (Qt's PDF engine: one cross-reference table,
// a flat page list) into files of consecutive pages. Each file gets its own copy of
// every object its pages use, fonts included, so it stands on its own. Many letters
// converted in one run are painted into one PDF and cut apart here: Qt subsets and
// embeds each font once per PDF it writes, which cost more than the painting.

#include <QByteArray>
#include <QList>

namespace PdfSplitter {

// Splits `pdf` into parts of `pageCounts` pages each, in page order (the counts add
// up to the page count). False, with `parts` empty, when the file is not laid out
// as expected; the caller then writes the parts one by one instead.
bool split(const QByteArray& pdf, const QList<int>& pageCounts, QList<QByteArray>* parts);

} // namespace PdfSplitter
