#pragma once
// Makes label lines that are wider than their label fit without cutting them: their
// type gets smaller, down to MinPoints, and what is still too wide wraps onto another
// line. A label cell keeps its height where its free space above and below allows.

#include <QList>

class TextControl;

namespace LabelFit {

constexpr double MinPoints = 6;

// Fits every paragraph that holds one of `positions` (body positions, 0-based). With
// `mayWrap` false a paragraph only gets smaller type. Returns the number of
// paragraphs changed.
int fit(TextControl& s, const QList<int>& positions, bool mayWrap = true);

// The positions of the fields of `s` whose names are in `names`.
QList<int> fieldPositions(const TextControl& s, const QList<int>& ids);

} // namespace LabelFit
