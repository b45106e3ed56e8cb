#include "ObjectSelection.h"

#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "Images.h"
#include "engine/pages/Paginator.h"
#include "engine/surface/ShownLayout.h"
#include "engine/surface/TextControl.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextImageFormat>

using namespace EngineProperty;

namespace ObjectSelection {

namespace {

constexpr double kHandle = 7; // side of a handle, screen pixels

// Fixed pictures are drawn only where the view shows pages.
bool pagesShown(const TextControl& s) { return s.ViewMode() != 0; }

QTextCharFormat formatAt(const QTextDocument* doc, int pos)
{
    const QTextBlock b = doc->findBlock(pos);
    for (auto it = b.begin(); !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        if (pos >= f.position() && pos < f.position() + f.length())
            return f.charFormat();
    }
    return {};
}

QRectF inlineRect(const TextControl& s, int pos, const QTextImageFormat& f)
{
    // Measured where the surface shows the text: the page views show printed copies.
    const ShownLayout::Pieces pieces = s.shownPieces();
    const ShownLayout::Piece& piece = pieces.at(ShownLayout::pieceOf(pieces, pos));
    const ShownLayout::Place at = ShownLayout::placeOf(piece.d, pos - piece.start);
    if (!at.line.isValid())
        return {};
    const double unit = piece.scale;
    const double left = piece.origin.x() + (at.origin.x() + at.line.cursorToX(at.rel)) / unit;
    const double right = piece.origin.x() + (at.origin.x() + at.line.cursorToX(at.rel + 1)) / unit;
    const double top = piece.origin.y() + (at.origin.y() + at.line.y()) / unit;
    const double ascent = at.line.ascent() / unit;
    // An inline picture stands on the baseline of its line, inside its distances.
    auto px = [&](int property) { return Document::twipsToPixels(qMax(0, f.intProperty(property))); };
    const double bottom = top + ascent - px(ImageDistanceB);
    const double height = f.height() > 0 ? f.height() : ascent;
    return QRectF(QPointF(left + px(ImageDistanceL), bottom - height), QPointF(right - px(ImageDistanceR), bottom));
}

QRectF fixedRect(const TextControl& s, int pos)
{
    QTextDocument* body = const_cast<QTextDocument*>(s.doc()->body());
    const int page = s.paginator()->pageOfPosition(pos);
    return Images::fixedRect(body, pos).translated(s.sheetRect(page).topLeft());
}

} // namespace

QRectF shownRect(const TextControl& s, int id)
{
    const QTextDocument* body = s.doc()->body();
    const int pos = Images::positionOf(body, id);
    if (pos < 0)
        return {};
    const QTextCharFormat f = formatAt(body, pos);
    if (f.isImageFormat())
        return inlineRect(s, pos, f.toImageFormat());
    if (f.objectType() == EngineObject::FixedImage && pagesShown(s))
        return fixedRect(s, pos);
    return {};
}

int imageAt(const TextControl& s, const QPoint& viewportPos)
{
    const QTextDocument* body = s.doc()->body();
    const QPointF at = s.toDocument(viewportPos);
    // Fixed pictures lie over the text: they are hit first.
    if (pagesShown(s)) {
        for (QTextBlock b = body->begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextFragment f = it.fragment();
                if (f.charFormat().objectType() == EngineObject::FixedImage
                    && fixedRect(s, f.position()).contains(at))
                    return f.charFormat().intProperty(ImageId);
            }
    }
    // The caret lands before or after the picture that was clicked.
    const int pos = s.cursorAt(viewportPos).position();
    for (int p : {pos, pos - 1}) {
        if (p < 0)
            continue;
        const QTextCharFormat f = formatAt(body, p);
        if (f.isImageFormat() && inlineRect(s, p, f.toImageFormat()).contains(at))
            return f.intProperty(ImageId);
    }
    return 0;
}

QRectF handlesArea(const QRectF& r)
{
    const double m = kHandle / 2 + 1;
    return r.adjusted(-m, -m, m, m);
}

void paintHandles(QPainter* p, const QRectF& r)
{
    p->save();
    p->setRenderHint(QPainter::Antialiasing, false);
    p->setPen(QPen(Qt::black, 1));
    p->setBrush(Qt::NoBrush);
    p->drawRect(r);
    p->setBrush(Qt::white);
    const double xs[] = {r.left(), r.center().x(), r.right()};
    const double ys[] = {r.top(), r.center().y(), r.bottom()};
    for (double y : ys)
        for (double x : xs)
            if (x != r.center().x() || y != r.center().y())
                p->drawRect(QRectF(x - kHandle / 2, y - kHandle / 2, kHandle, kHandle));
    p->restore();
}

} // namespace ObjectSelection
