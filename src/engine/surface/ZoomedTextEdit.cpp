#include "ZoomedTextEdit.h"

#include "ShownLayout.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QtMath>

namespace {
const double kMaxOverhang = 200; // document pixels

// Where pixels drawn at scroll offset `drawnScroll` are now: scrolling moved them along.
QRect nowAt(const QRect& drawn, const QPoint& drawnScroll, const QPoint& scroll)
{
    return drawn.translated(drawnScroll - scroll);
}
} // namespace

ZoomedTextEdit::ZoomedTextEdit(QWidget* parent) : QTextEdit(parent)
{
    routeTextControl();
    connect(horizontalScrollBar(), &QScrollBar::rangeChanged, this, &ZoomedTextEdit::adjustScrollRanges);
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, [this](int, int maximum) {
        if (!m_fixingRange) // set by QTextEdit: its unzoomed text height less the viewport's
            m_guessedHeight = maximum > 0 ? maximum + viewport()->height() : 0;
        adjustScrollRanges();
    });
    connect(this, &QTextEdit::cursorPositionChanged, this, &ZoomedTextEdit::restartBlink);
    // A copy's layout knows nothing of the selection.
    connect(this, &QTextEdit::selectionChanged, this, &ZoomedTextEdit::repaintSelectionChange);
    connect(this, &QTextEdit::cursorPositionChanged, this, &ZoomedTextEdit::repaintSelectionChange);
}

void ZoomedTextEdit::routeTextControl()
{
    // QTextEdit repaints and scrolls to rectangles of its internal control as if they
    // were viewport pixels; here they go through the zoom instead.
    QObject* control = nullptr;
    for (QObject* child : children())
        if (child->inherits("QWidgetTextControl"))
            control = child;
    if (!control) {
        qWarning("ZoomedTextEdit: no text control found; the zoom shows wrong");
        return;
    }
    QObject::disconnect(control, SIGNAL(updateRequest(QRectF)), this, nullptr);
    QObject::disconnect(control, SIGNAL(visibilityRequest(QRectF)), this, nullptr);
    connect(control, SIGNAL(updateRequest(QRectF)), this, SLOT(repaintDocumentRect(QRectF)));
    connect(control, SIGNAL(visibilityRequest(QRectF)), this, SLOT(revealDocumentRect(QRectF)));
    // After QTextEdit's own adjustment, which knows no zoom.
    connect(control, SIGNAL(documentSizeChanged(QSizeF)), this, SLOT(takeTextSize(QSizeF)));
}

void ZoomedTextEdit::setZoom(double factor)
{
    factor = qBound(0.05, factor, 8.0);
    if (qFuzzyCompare(factor, m_zoom))
        return;
    m_zoom = factor;
    adjustScrollRanges();
    viewport()->update();
}

QPoint ZoomedTextEdit::scrollOffset() const
{
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

QPointF ZoomedTextEdit::toDocument(const QPointF& viewportPos) const
{
    return (viewportPos + scrollOffset()) / m_zoom;
}

QPointF ZoomedTextEdit::toViewport(const QPointF& docPos) const { return docPos * m_zoom - scrollOffset(); }

ShownLayout::Pieces ZoomedTextEdit::shownPieces() const
{
    QTextDocument* d = shownDocument();
    return {{d, 0, d->characterCount(), QPointF(), shownScale()}};
}

QPointF ZoomedTextEdit::forTextEdit(const QPointF& p) const
{
    if (!showsCopy())
        return toDocument(p) - scrollOffset();
    // The copy tells the position; QTextEdit gets the middle of that position's caret
    // in the document's own layout, where its hit test finds the same position.
    QTextDocument* own = document();
    const int pos = ShownLayout::hitTest(shownPieces(), toDocument(p));
    const QRectF caret = ShownLayout::caretRect(own, pos, false);
    return QPointF(caret.left(), caret.center().y()) - scrollOffset();
}

QTextCursor ZoomedTextEdit::cursorAt(const QPoint& viewportPos) const
{
    if (!showsCopy())
        return cursorForPosition(forTextEdit(viewportPos).toPoint());
    QTextCursor c(document());
    c.setPosition(qBound(0, ShownLayout::hitTest(shownPieces(), toDocument(viewportPos)), document()->characterCount() - 1));
    return c;
}

void ZoomedTextEdit::watchShownDocument(const ShownLayout::Pieces& pieces)
{
    QList<QPointer<QTextDocument>> shown;
    if (showsCopy())
        for (const ShownLayout::Piece& p : pieces)
            shown.append(p.d);
    if (shown == m_watched)
        return;
    for (const QPointer<QTextDocument>& d : std::as_const(m_watched))
        if (d)
            disconnect(d->documentLayout(), nullptr, this, nullptr);
    m_watched = shown;
    for (const QPointer<QTextDocument>& d : std::as_const(shown)) {
        QAbstractTextDocumentLayout* layout = d->documentLayout();
        const QTextDocument* copy = d;
        connect(layout, &QAbstractTextDocumentLayout::update, this, [this, copy](const QRectF& r) { repaintShownRect(copy, r); });
        connect(layout, &QAbstractTextDocumentLayout::pageCountChanged, this, &ZoomedTextEdit::adjustScrollRanges);
    }
}

void ZoomedTextEdit::shownDocumentReplaced()
{
    viewport()->update();
    adjustScrollRanges();
}

void ZoomedTextEdit::repaintShownRect(const QTextDocument* d, const QRectF& r)
{
    // The copy's own rectangle where it is shown; "all of it" as Qt asks for it stays all.
    for (const ShownLayout::Piece& p : shownPieces())
        if (p.d == d)
            return r.isValid() ? repaintArea(p.toDocument(r)) : viewport()->update();
    viewport()->update();
}

void ZoomedTextEdit::repaintSelectionChange()
{
    const QTextCursor c = textCursor();
    const int start = c.selectionStart(), end = c.selectionEnd();
    const int oldStart = m_selStart, oldEnd = m_selEnd;
    m_selStart = start;
    m_selEnd = end;
    if (!showsCopy() || (start == oldStart && end == oldEnd) || (start == end && oldStart == oldEnd))
        return;
    // The lines between the ends that moved.
    int from = qMin(start, oldStart), to = qMax(end, oldEnd);
    if (start == oldStart) {
        from = qMin(end, oldEnd);
    } else if (end == oldEnd) {
        to = qMax(start, oldStart);
    }
    const ShownLayout::Pieces pieces = shownPieces();
    const QRectF a = ShownLayout::caretRect(pieces, from, false), b = ShownLayout::caretRect(pieces, to, false);
    const QRect lines = zoomed(QRectF(0, a.top(), 1, b.bottom() - a.top()));
    viewport()->update(QRect(0, lines.top() - 1, viewport()->width(), lines.height() + 2));
}

void ZoomedTextEdit::takeTextSize(const QSizeF& size)
{
    m_textSize = size;
    m_textSizeOf = document();
    adjustScrollRanges();
}

QSizeF ZoomedTextEdit::contentsSize() const
{
    // The size the layout last told, as far as it got: asking it for the whole size would
    // lay a long document out at once.
    if (m_textSizeOf != document())
        return document()->documentLayout()->documentSize();
    // While the layout still works through a long text, QTextEdit guesses the rest from
    // how far it got; its range tells the guess, so that the bar's end is the text's end.
    return {m_textSize.width(), qMax(m_textSize.height(), m_guessedHeight)};
}

void ZoomedTextEdit::adjustScrollRanges()
{
    // Called from the bars' rangeChanged too, before a bar clamps its value to the
    // unzoomed range QTextEdit just set: so the view does not jump.
    if (m_fixingRange)
        return;
    m_fixingRange = true;
    const QSizeF size = contentsSize() * m_zoom;
    auto fix = [](QScrollBar* bar, int maximum, int page) {
        maximum = qMax(0, maximum);
        if (bar->minimum() != 0 || bar->maximum() != maximum)
            bar->setRange(0, maximum);
        bar->setPageStep(page);
    };
    const QSize vp = viewport()->size();
    fix(horizontalScrollBar(), qRound(size.width()) - vp.width(), vp.width());
    fix(verticalScrollBar(), qCeil(size.height() - 0.01) - vp.height(), vp.height());
    m_fixingRange = false;
}

void ZoomedTextEdit::reveal(const QRect& r)
{
    const QRect vp = viewport()->rect();
    auto shift = [](QScrollBar* bar, int low, int high, int vpLow, int vpHigh) {
        if (high > vpHigh)
            bar->setValue(bar->value() + qMin(high - vpHigh, low - vpLow));
        else if (low < vpLow)
            bar->setValue(bar->value() + low - vpLow);
    };
    shift(verticalScrollBar(), r.top(), r.bottom(), vp.top(), vp.bottom());
    shift(horizontalScrollBar(), r.left(), r.right(), vp.left(), vp.right());
}

QRect ZoomedTextEdit::zoomed(const QRectF& docRect) const
{
    return QRectF(toViewport(docRect.topLeft()), docRect.size() * m_zoom).toAlignedRect();
}

double ZoomedTextEdit::overhang(const QRectF& r) const
{
    // Set tighter than their letters (an exact or reduced line spacing), letters reach
    // into the lines around, the more the larger the line. Repaints follow the caret:
    // its paragraph and those beside it tell (a look-up by place would be too slow).
    auto tight = [](const QTextBlock& b) {
        if (!b.isValid())
            return false;
        const QTextBlockFormat f = b.blockFormat();
        switch (f.lineHeightType()) {
        case QTextBlockFormat::FixedHeight: return true;
        case QTextBlockFormat::ProportionalHeight: return f.lineHeight() < 100;
        case QTextBlockFormat::LineDistanceHeight: return f.lineHeight() < 0;
        default: return false;
        }
    };
    const QTextBlock b = textCursor().block();
    if (tight(b) || tight(b.previous()) || tight(b.next()))
        return qMin(4 + r.height() / 2, kMaxOverhang);
    // Otherwise only a little: accents, italics, antialiasing.
    return 3;
}

void ZoomedTextEdit::repaintDocumentRect(const QRectF& r)
{
    if (!r.isValid())
        return viewport()->update();
    // Rectangles of the document's own layout mean nothing in the shown copy, which
    // reports its own.
    if (!showsCopy())
        repaintArea(r);
}

void ZoomedTextEdit::repaintArea(const QRectF& r)
{
    // The layout asks for "this line to the right end" and "from here to the end" with
    // INT_MAX sizes, which overflow int once zoomed: only the part in view is kept.
    const QRectF visible(toDocument(QPointF()), QSizeF(viewport()->size()) / m_zoom);
    const QRectF inReach = r.intersected(visible.adjusted(-kMaxOverhang, -kMaxOverhang, kMaxOverhang, kMaxOverhang));
    if (inReach.isEmpty())
        return;
    const double pad = overhang(inReach);
    const QRectF padded = inReach.adjusted(-pad, -pad, pad, pad).intersected(visible);
    if (!padded.isEmpty())
        viewport()->update(zoomed(padded).adjusted(-1, -1, 1, 1));
}

void ZoomedTextEdit::revealDocumentRect(const QRectF& r)
{
    if (showsCopy()) {
        // The caret in the shown copy, with the room beside it that QTextEdit asks for;
        // a window not yet shown has no viewport of its size to scroll.
        if (isVisible())
            reveal(zoomed(documentCaretRect(textCursor()).adjusted(-5, 0, 5, 0)));
        return;
    }
    // Inside an edit block the layout lags behind the text and the control asks for a
    // place at the top; whoever ends the block asks again.
    const QTextCursor c = textCursor();
    if (!c.block().layout() || !c.block().layout()->lineForTextPosition(c.positionInBlock()).isValid())
        return;
    // The layout may not have told its growth yet (it lays out lazily): the range must
    // reach the place to scroll to.
    if (m_textSizeOf == document() && (r.bottom() > m_textSize.height() || r.right() > m_textSize.width())) {
        m_textSize = m_textSize.expandedTo(QSizeF(r.right(), r.bottom()));
        adjustScrollRanges();
    }
    reveal(zoomed(r));
}

QRectF ZoomedTextEdit::documentCaretRect(const QTextCursor& c) const
{
    if (showsCopy())
        return ShownLayout::caretRect(shownPieces(), c.position(), overwriteMode() && !c.hasSelection());
    const QTextBlock block = c.block();
    if (!block.isValid() || !block.layout())
        return {};
    const QPointF at = document()->documentLayout()->blockBoundingRect(block).topLeft();
    const int rel = c.position() - block.position();
    const QTextLine line = block.layout()->lineForTextPosition(rel);
    if (!line.isValid())
        return {at, QSizeF(0, QFontMetricsF(block.charFormat().font()).height())};
    const double x = line.cursorToX(rel);
    double w = 0;
    if (overwriteMode() && !c.hasSelection())
        w = rel < line.textStart() + line.textLength() ? line.cursorToX(rel + 1) - x
                                                       : QFontMetricsF(block.layout()->font()).horizontalAdvance(' ');
    return {at.x() + x, at.y() + line.y(), w, line.height()};
}

QRect ZoomedTextEdit::caretRect() const { return caretRect(textCursor()); }

QRect ZoomedTextEdit::caretRect(const QTextCursor& c) const
{
    // One screen pixel wide at every zoom (wider over a character in overwrite mode).
    const QRectF r = documentCaretRect(c);
    const QPointF at = toViewport(r.topLeft());
    return QRect(qFloor(at.x()), qFloor(at.y()), qMax(1, qRound(r.width() * m_zoom)), qCeil(r.height() * m_zoom));
}

namespace {
// A cursor of the document as a cursor of piece `p`; null when it lies beside the piece.
QTextCursor inPiece(const ShownLayout::Piece& p, const QTextCursor& c, bool onePiece)
{
    if (p.d == c.document() || c.isNull())
        return c;
    if (!onePiece && (c.selectionEnd() < p.start || c.selectionStart() >= p.end))
        return {};
    const int last = p.d->characterCount() - 1;
    QTextCursor out(p.d);
    out.setPosition(qBound(0, c.anchor() - p.start, last));
    out.setPosition(qBound(0, c.position() - p.start, last), QTextCursor::KeepAnchor);
    return out;
}
} // namespace

QAbstractTextDocumentLayout::PaintContext ZoomedTextEdit::paintContext(const ShownLayout::Piece& p, bool onePiece) const
{
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.palette = palette();
    for (const ExtraSelection& s : extraSelections())
        if (const QTextCursor c = inPiece(p, s.cursor, onePiece); !c.isNull())
            ctx.selections.append({c, s.format});
    const QTextCursor c = inPiece(p, textCursor(), onePiece);
    if (c.hasSelection()) {
        const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
        QAbstractTextDocumentLayout::Selection s;
        s.cursor = c;
        s.format.setBackground(palette().brush(group, QPalette::Highlight));
        s.format.setForeground(palette().brush(group, QPalette::HighlightedText));
        ctx.selections.append(s);
    }
    ctx.cursorPosition = -1; // drawn by paintContents, one screen pixel wide
    return ctx;
}

void ZoomedTextEdit::paintContents(QPainter* p, const QRect& r)
{
    const ShownLayout::Pieces pieces = shownPieces();
    watchShownDocument(pieces);
    const QPoint scroll = scrollOffset();
    const QRectF clip = QRectF(QPointF(r.topLeft() + scroll) / m_zoom, QSizeF(r.size()) / m_zoom).adjusted(-1, -1, 1, 1);
    p->save();
    p->translate(-scroll);
    p->scale(m_zoom, m_zoom);
    for (const ShownLayout::Piece& piece : pieces) {
        QAbstractTextDocumentLayout::PaintContext ctx = paintContext(piece, pieces.size() == 1);
        ctx.clip = QRectF(piece.toLayout(clip.topLeft()), clip.size() * piece.scale);
        p->save();
        p->translate(piece.origin);
        p->scale(1 / piece.scale, 1 / piece.scale);
        piece.d->documentLayout()->draw(p, ctx);
        p->restore();
    }
    paintOverText(p, clip);
    p->restore();
    QRect caret;
    if (m_dropPosition >= 0) {
        QTextCursor at(document());
        at.setPosition(qBound(0, m_dropPosition, document()->characterCount() - 1));
        caret = caretRect(at);
    } else if (m_caretOn && hasFocus() && !isReadOnly()) {
        caret = caretRect();
    }
    if (!caret.isNull() && caret.intersects(r))
        p->fillRect(caret, palette().color(QPalette::Text));
    m_caretShown = caret;
    m_caretScroll = scroll;
}

void ZoomedTextEdit::paintEvent(QPaintEvent* e)
{
    QPainter p(viewport());
    paintContents(&p, e->rect());
}

void ZoomedTextEdit::restartBlink()
{
    m_caretOn = true;
    const int flash = QApplication::cursorFlashTime();
    if (hasFocus() && flash > 0)
        m_blink.start(flash / 2, this);
    else
        m_blink.stop();
    updateCaret();
}

void ZoomedTextEdit::updateCaret()
{
    // Finding the caret lays the shown document out: not for a surface nobody sees, nor
    // halfway through reading a file (a long text would be copied before it is whole).
    if (!isVisible())
        return;
    if (settling())
        return viewport()->update();
    viewport()->update(nowAt(m_caretShown, m_caretScroll, scrollOffset()));
    viewport()->update(caretRect());
}

void ZoomedTextEdit::timerEvent(QTimerEvent* e)
{
    if (e->timerId() != m_blink.timerId())
        return QTextEdit::timerEvent(e);
    m_caretOn = !m_caretOn;
    updateCaret();
}

void ZoomedTextEdit::focusInEvent(QFocusEvent* e)
{
    QTextEdit::focusInEvent(e);
    restartBlink();
}

void ZoomedTextEdit::focusOutEvent(QFocusEvent* e)
{
    QTextEdit::focusOutEvent(e);
    m_blink.stop();
    m_caretOn = false;
    updateCaret();
}

void ZoomedTextEdit::dragMoveEvent(QDragMoveEvent* e)
{
    // Handled here rather than by QTextEdit, whose drag scrolling reads the unzoomed
    // position; the drop itself goes to QTextEdit.
    if (isReadOnly() || !canInsertFromMimeData(e->mimeData())) {
        e->ignore();
        return;
    }
    const int at = cursorAt(e->position().toPoint()).position();
    if (at != m_dropPosition) {
        viewport()->update(nowAt(m_caretShown, m_caretScroll, scrollOffset()));
        m_dropPosition = at;
        QTextCursor c(document());
        c.setPosition(at);
        viewport()->update(caretRect(c));
    }
    if (e->source() == viewport())
        e->setDropAction(e->modifiers() & Qt::ControlModifier ? Qt::CopyAction : Qt::MoveAction);
    else
        e->acceptProposedAction();
    e->accept();
}

void ZoomedTextEdit::dragLeaveEvent(QDragLeaveEvent* e)
{
    m_dropPosition = -1;
    viewport()->update(nowAt(m_caretShown, m_caretScroll, scrollOffset()));
    QTextEdit::dragLeaveEvent(e);
}

void ZoomedTextEdit::dropEvent(QDropEvent* e)
{
    m_dropPosition = -1;
    viewport()->update(nowAt(m_caretShown, m_caretScroll, scrollOffset()));
    QDropEvent moved(forTextEdit(e->position()), e->possibleActions(), e->mimeData(), e->buttons(), e->modifiers());
    moved.setDropAction(e->dropAction());
    QTextEdit::dropEvent(&moved);
    e->setDropAction(moved.dropAction());
    e->setAccepted(moved.isAccepted());
}
