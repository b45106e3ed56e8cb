#include "ZoomedTextEdit.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QtMath>

namespace {
const double kMaxOverhang = 200; // document pixels

// QTextEdit's handlers read the position of the event they are given; the copy carries
// the position they must see.
template <typename Handler>
void passMouse(QMouseEvent* e, const QPointF& pos, Handler handler)
{
    QMouseEvent moved(e->type(), pos, e->scenePosition(), e->globalPosition(), e->button(), e->buttons(),
                      e->modifiers(), e->pointingDevice());
    moved.setTimestamp(e->timestamp());
    handler(&moved);
    e->setAccepted(moved.isAccepted());
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

QPointF ZoomedTextEdit::forTextEdit(const QPointF& p) const { return toDocument(p) - scrollOffset(); }

QTextCursor ZoomedTextEdit::cursorAt(const QPoint& viewportPos) const
{
    return cursorForPosition(forTextEdit(viewportPos).toPoint());
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

QAbstractTextDocumentLayout::PaintContext ZoomedTextEdit::paintContext() const
{
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.palette = palette();
    for (const ExtraSelection& s : extraSelections())
        ctx.selections.append({s.cursor, s.format});
    const QTextCursor c = textCursor();
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
    const QPoint scroll = scrollOffset();
    QAbstractTextDocumentLayout::PaintContext ctx = paintContext();
    ctx.clip = QRectF(QPointF(r.topLeft() + scroll) / m_zoom, QSizeF(r.size()) / m_zoom).adjusted(-1, -1, 1, 1);
    p->save();
    p->translate(-scroll);
    p->scale(m_zoom, m_zoom);
    document()->documentLayout()->draw(p, ctx);
    paintOverText(p, ctx.clip);
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
        p->fillRect(caret, ctx.palette.color(QPalette::Text));
    m_caretShown = caret;
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
    viewport()->update(m_caretShown);
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

void ZoomedTextEdit::mousePressEvent(QMouseEvent* e)
{
    passMouse(e, forTextEdit(e->position()), [this](QMouseEvent* m) { QTextEdit::mousePressEvent(m); });
}

void ZoomedTextEdit::mouseMoveEvent(QMouseEvent* e)
{
    passMouse(e, forTextEdit(e->position()), [this](QMouseEvent* m) { QTextEdit::mouseMoveEvent(m); });
}

void ZoomedTextEdit::mouseReleaseEvent(QMouseEvent* e)
{
    passMouse(e, forTextEdit(e->position()), [this](QMouseEvent* m) { QTextEdit::mouseReleaseEvent(m); });
}

void ZoomedTextEdit::mouseDoubleClickEvent(QMouseEvent* e)
{
    passMouse(e, forTextEdit(e->position()), [this](QMouseEvent* m) { QTextEdit::mouseDoubleClickEvent(m); });
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
        viewport()->update(m_caretShown);
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
    viewport()->update(m_caretShown);
    QTextEdit::dragLeaveEvent(e);
}

void ZoomedTextEdit::dropEvent(QDropEvent* e)
{
    m_dropPosition = -1;
    viewport()->update(m_caretShown);
    QDropEvent moved(forTextEdit(e->position()), e->possibleActions(), e->mimeData(), e->buttons(), e->modifiers());
    moved.setDropAction(e->dropAction());
    QTextEdit::dropEvent(&moved);
    e->setDropAction(moved.dropAction());
    e->setAccepted(moved.isAccepted());
}

QVariant ZoomedTextEdit::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query == Qt::ImCursorRectangle)
        return QRectF(caretRect().translated(viewport()->pos()));
    return QTextEdit::inputMethodQuery(query);
}
