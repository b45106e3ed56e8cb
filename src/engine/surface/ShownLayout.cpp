#include "ShownLayout.h"

#include "engine/pages/BlockBand.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextDocument>

namespace ShownLayout {

Place placeOf(QTextDocument* d, int pos)
{
    Place out;
    pos = qBound(0, pos, qMax(0, d->characterCount() - 1));
    out.block = d->findBlock(pos);
    if (!out.block.isValid())
        return out;
    // Asking for the rectangle lays the block out first.
    out.origin = d->documentLayout()->blockBoundingRect(out.block).topLeft();
    out.rel = pos - out.block.position();
    if (const QTextLayout* l = out.block.layout())
        out.line = l->lineForTextPosition(out.rel);
    return out;
}

QRectF caretRect(QTextDocument* d, int pos, bool overwrite)
{
    const Place at = placeOf(d, pos);
    if (!at.block.isValid())
        return {};
    const QPaintDevice* device = d->documentLayout()->paintDevice();
    auto metrics = [&](const QFont& f) { return device ? QFontMetricsF(f, device) : QFontMetricsF(f); };
    if (!at.line.isValid())
        return {at.origin, QSizeF(0, metrics(at.block.charFormat().font()).height())};
    const double x = at.line.cursorToX(at.rel);
    double w = 0;
    if (overwrite)
        w = at.rel < at.line.textStart() + at.line.textLength()
                ? at.line.cursorToX(at.rel + 1) - x
                : metrics(at.block.layout()->font()).horizontalAdvance(QLatin1Char(' '));
    return {at.origin.x() + x, at.origin.y() + at.line.y(), w, at.line.height()};
}

int hitTest(QTextDocument* d, const QPointF& at)
{
    const int pos = d->documentLayout()->hitTest(at, Qt::FuzzyHit);
    return pos < 0 ? qMax(0, d->characterCount() - 1) : pos;
}

namespace {

// The nearest laid-out line before (step -1) or after (+1) line `index` of `b`.
bool neighbour(QTextBlock& b, int& index, int step)
{
    index += step;
    while (b.isValid() && (!b.layout() || index < 0 || index >= b.layout()->lineCount())) {
        b = step < 0 ? b.previous() : b.next();
        if (!b.isValid())
            return false;
        b.document()->documentLayout()->blockBoundingRect(b); // lays it out
        index = step < 0 ? (b.layout() ? b.layout()->lineCount() - 1 : -1) : 0;
    }
    return b.isValid();
}

// The last position a caret can take on `line` of `b`: a wrapped line ends before the
// first character of the next one, after a space that wrapped it.
int lineEnd(const QTextBlock& b, const QTextLine& line)
{
    const int end = line.textStart() + line.textLength();
    if (line.lineNumber() + 1 < b.layout()->lineCount() && end > line.textStart())
        return end - 1;
    return end;
}

// The position on line `index` of `b` nearest to `x` (layout units).
int onLine(const QTextBlock& b, int index, double x)
{
    const QTextLine line = b.layout()->lineAt(index);
    const double left = b.document()->documentLayout()->blockBoundingRect(b).left();
    const int rel = qMin(line.xToCursor(x - left), lineEnd(b, line));
    return b.position() + qMax(rel, line.textStart());
}

} // namespace

int move(QTextDocument* d, int pos, Move m, double x)
{
    const Place at = placeOf(d, pos);
    if (!at.line.isValid())
        return -1;
    switch (m) {
    case LineStart: return at.block.position() + at.line.textStart();
    case LineEnd: return at.block.position() + lineEnd(at.block, at.line);
    case LineUp:
    case LineDown: break;
    }
    QTextBlock b = at.block;
    int index = at.line.lineNumber();
    if (!neighbour(b, index, m == LineUp ? -1 : 1))
        return -1;
    return onLine(b, index, x);
}

int pieceOf(const Pieces& pieces, int pos)
{
    int i = 0;
    while (i + 1 < pieces.size() && pieces.at(i + 1).start <= pos)
        ++i;
    return i;
}

int pieceAt(const Pieces& pieces, const QPointF& at)
{
    int i = 0;
    while (i + 1 < pieces.size() && pieces.at(i + 1).origin.y() <= at.y())
        ++i;
    return i;
}

QRectF caretRect(const Pieces& pieces, int pos, bool overwrite)
{
    if (pieces.isEmpty())
        return {};
    const Piece& p = pieces.at(pieceOf(pieces, pos));
    return p.toDocument(caretRect(p.d, pos - p.start, overwrite));
}

int hitTest(const Pieces& pieces, const QPointF& at, Qt::HitTestAccuracy accuracy)
{
    if (pieces.isEmpty())
        return -1;
    const Piece& p = pieces.at(pieceAt(pieces, at));
    if (accuracy == Qt::ExactHit) {
        const int pos = p.d->documentLayout()->hitTest(p.toLayout(at), Qt::ExactHit);
        return pos < 0 ? -1 : p.start + pos;
    }
    return p.start + hitTest(p.d, p.toLayout(at));
}

int move(const Pieces& pieces, int pos, Move m, double x)
{
    if (pieces.isEmpty())
        return -1;
    const int i = pieceOf(pieces, pos);
    const Piece& p = pieces.at(i);
    const int to = move(p.d, pos - p.start, m, (x - p.origin.x()) * p.scale);
    if (to >= 0 || (m != LineUp && m != LineDown))
        return to < 0 ? -1 : p.start + to;
    // On into the next piece's first line or the last line of the one before.
    const int next = m == LineDown ? i + 1 : i - 1;
    if (next < 0 || next >= pieces.size())
        return -1;
    const Piece& n = pieces.at(next);
    QTextBlock b = m == LineDown ? n.d->firstBlock() : n.d->lastBlock();
    n.d->documentLayout()->blockBoundingRect(b); // lays it out
    int index = m == LineDown ? -1 : (b.layout() ? b.layout()->lineCount() : 0);
    if (!neighbour(b, index, m == LineUp ? -1 : 1))
        return -1;
    return n.start + onLine(b, index, (x - n.origin.x()) * n.scale);
}

} // namespace ShownLayout

namespace ShownLayout {

void paintControlChars(QPainter* p, QTextDocument* d, const QRectF& clip)
{
    QAbstractTextDocumentLayout* layout = d->documentLayout();
    BlockBand::forEach(d, clip.top(), clip.bottom(), [&](const QTextBlock& b) {
        const QTextLayout* l = b.layout();
        if (!l || !b.isVisible() || l->lineCount() == 0)
            return true;
        const QPointF origin = layout->blockBoundingRect(b).topLeft();
        const QString text = b.text();
        for (int i = 0; i < l->lineCount(); ++i) {
            const QTextLine line = l->lineAt(i);
            QFont f = b.charFormat().font();
            f.setPixelSize(qMax(1, qRound(line.ascent() * 0.8)));
            p->setFont(f);
            const int end = line.textStart() + line.textLength();
            auto mark = [&](int at, const QString& sign) {
                const double x1 = origin.x() + line.cursorToX(at);
                const double x2 = at < end ? origin.x() + line.cursorToX(at + 1) : x1 + line.ascent();
                const QRectF box(x1, origin.y() + line.y(), qMax(x2 - x1, line.ascent() / 2), line.ascent());
                p->drawText(box, Qt::AlignLeft | Qt::AlignBottom, sign);
            };
            for (int at = line.textStart(); at < end && at < text.size(); ++at) {
                const QChar c = text.at(at);
                if (c == QLatin1Char(' ') || c == QChar::Nbsp)
                    mark(at, QStringLiteral("\u00B7"));
                else if (c == QLatin1Char('\t'))
                    mark(at, QStringLiteral("\u2192"));
                else if (c == QChar::LineSeparator)
                    mark(at, QStringLiteral("\u21B5"));
            }
            if (i + 1 == l->lineCount())
                mark(end, QStringLiteral("\u00B6"));
        }
        return true;
    });
}

} // namespace ShownLayout
