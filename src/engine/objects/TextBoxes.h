#pragma once
// Text boxes: fixed images whose content is text, as other office suites place an
// address block or an information block on the page. The text is kept as HTML in the
// anchor's format and laid out in the box's width whenever the page is painted.

#include <QString>

#include <memory>

class QPainter;
class QRectF;
class QTextCharFormat;
class QTextDocument;

namespace TextBoxes {

bool isTextBox(const QTextCharFormat& f);
// The box's text laid out at 96 dpi in `widthPx` pixels.
std::unique_ptr<QTextDocument> layOut(const QString& html, double widthPx);
// Height of `html` laid out in `widthPx`, pixels.
double heightOf(const QString& html, double widthPx);
// The box's text with line breaks between its paragraphs, for formats without page
// positions, where the box's text stands at its anchor.
QString plainText(const QTextCharFormat& f);
// Paints the text box `f` into `rect` (96-dpi pixels of the page).
void paint(QPainter* p, const QRectF& rect, const QTextCharFormat& f);

} // namespace TextBoxes
