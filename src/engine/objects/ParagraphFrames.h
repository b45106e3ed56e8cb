#pragma once
// Paragraph frames: lines around paragraphs, kept in the block format as a style word
// (parts and line style in the low byte), a line width and a distance in twips.

#include <QTextBlock>
#include <QTextBlockFormat>

class QPainter;
class QRectF;
class QTextBlock;
class QTextCursor;
class QTextDocument;

namespace ParagraphFrames {

constexpr int DefaultLineWidth = 20; // twips, 1 pt

bool hasFrame(const QTextBlockFormat& f);
// Values over the paragraphs of the selection; -1 when they differ.
int style(const QTextCursor& c);
int lineWidth(const QTextCursor& c);
int distance(const QTextCursor& c);
// The low byte switches parts and styles on, the high byte switches parts off.
void setStyle(QTextCursor c, int style);
void setLineWidth(QTextCursor c, int twips);
void setDistance(QTextCursor c, int twips);
// Combines an existing style with a style word as the frames dialog writes it.
int combine(int current, int word);

// Draws the frame of `block` in the document's layout units (`scale` of them per
// 96-dpi pixel), limited vertically to `area`.
void paint(QPainter* p, QTextDocument* doc, const QTextBlock& block, const QRectF& area, double scale = 1);
// Draws the rule lines (an <hr> of HTML) of the paragraphs in `area` one pixel at
// 96 dpi strong: Qt draws them one layout unit thin, a hairline at print resolution.
// `from` as for TabLeaders::paint.
void paintRules(QPainter* p, QTextDocument* doc, const QRectF& area, double scale, QTextBlock from = {});
// Draws the frames of the paragraphs in `visible` (document pixels, not paginated).
void paintVisible(QPainter* p, QTextDocument* doc, const QRectF& visible);

} // namespace ParagraphFrames
