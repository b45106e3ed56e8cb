#pragma once
// How many pages a document will print on, told from its paragraphs' fonts, spacing and
// lengths without laying anything out. It lets a long print copy be laid out once, at a
// resolution where its positions fit Qt's layout, instead of being laid out, found
// wrapped and laid out again. Tables count as if their cells stood one below the other
// and pictures as a line: the figure is a guide, not a page count.

struct PageGeometry;
class QTextDocument;

namespace PageEstimate {

// Pages of `d` (96-dpi pixels, its paragraphs unscaled) on pages of `g`; at least 1.
// Without `measure`, wrapping text counts each character at its font's average
// width, which is quicker and rougher.
double pages(const QTextDocument* d, const PageGeometry& g, bool measure = true);

} // namespace PageEstimate
