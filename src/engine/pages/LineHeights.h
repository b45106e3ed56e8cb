#pragma once
// Lines as high as office programs make them. Qt rounds the sum of a line's ascent,
// descent and line gap up to whole layout units; office programs round each of the three,
// as the font's hhea table gives them, to whole twips. At print resolution DejaVu Sans
// 11 pt (204.2 + 51.9 twips) thus got 12.85 pt a line against their 12.8, and a long
// letter a line less on a page. The printed copy's paragraphs get the difference as a
// line distance of their own (Liberation Sans 11 pt needs none: 199 + 47 + 7 twips).

#include <QTextBlockFormat>

class QTextBlock;
class QTextDocument;

namespace LineHeights {

// `f`, meant for the paragraph `b` of a copy that has its layout device, with the
// difference added; the paragraph's own line height stays in the format, so that the
// copy can be matched anew at another resolution.
QTextBlockFormat matched(QTextBlockFormat f, const QTextBlock& b);
// Every paragraph of the copy.
void match(QTextDocument* copy);

} // namespace LineHeights
