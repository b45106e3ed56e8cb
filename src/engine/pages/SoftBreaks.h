#pragma once
// Qt measures tab stops from where each line starts, so one list of stops cannot serve
// a paragraph whose first line starts elsewhere than the others (a first-line or hanging
// indent): the stops are kept against the first line. In a printed copy the lines after
// soft breaks of such a paragraph become paragraphs of their own, with the stops moved
// to their start; a soft break and a paragraph end are one character each, so every
// position stays that of the body. Lines that wrap by themselves keep the first line's
// stops.

#include <QTextFormat>

class QTextBlock;
class QTextDocument;

namespace SoftBreaks {

// Block format of a line made a paragraph of its own (bool).
constexpr int LineProperty = QTextFormat::UserProperty + 66;

// A paragraph with an indented first line and a tab after a soft break.
bool needsSplit(const QTextBlock& b);
// Splits those paragraphs of a copy that is still in 96-dpi pixels.
void split(QTextDocument* copy);

} // namespace SoftBreaks
