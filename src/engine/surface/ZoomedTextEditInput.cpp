// Mouse, input method and caret keys of the zoomed surface: mouse events are
// passed on to QTextEdit with the point it must see.
#include "ZoomedTextEdit.h"

#include "ShownLayout.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

namespace {
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

QVariant ZoomedTextEdit::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query == Qt::ImCursorRectangle)
        return QRectF(caretRect().translated(viewport()->pos()));
    return QTextEdit::inputMethodQuery(query);
}

bool ZoomedTextEdit::moveAlongShownLines(QKeyEvent* e)
{
    if (!showsCopy())
        return false;
    using K = QKeySequence::StandardKey;
    struct Binding {
        K move, select;
        ShownLayout::Move how;
        int pages; // the page keys move by a viewport's height
    };
    static const Binding bindings[] = {
        {QKeySequence::MoveToPreviousLine, QKeySequence::SelectPreviousLine, ShownLayout::LineUp, 0},
        {QKeySequence::MoveToNextLine, QKeySequence::SelectNextLine, ShownLayout::LineDown, 0},
        {QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine, ShownLayout::LineStart, 0},
        {QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine, ShownLayout::LineEnd, 0},
        {QKeySequence::MoveToPreviousPage, QKeySequence::SelectPreviousPage, ShownLayout::LineUp, -1},
        {QKeySequence::MoveToNextPage, QKeySequence::SelectNextPage, ShownLayout::LineDown, 1},
    };
    const Binding* found = nullptr;
    bool select = false;
    for (const Binding& b : bindings)
        if (e->matches(b.move) || e->matches(b.select)) {
            found = &b;
            select = e->matches(b.select);
            break;
        }
    if (!found)
        return false;
    e->accept();
    QTextCursor c = textCursor();
    const ShownLayout::Pieces shown = shownPieces();
    const bool vertical = found->how == ShownLayout::LineUp || found->how == ShownLayout::LineDown;
    if (!vertical || m_goalPos != c.position() || m_goalX < 0)
        m_goalX = ShownLayout::caretRect(shown, c.position(), false).left();
    int to = -1;
    if (found->pages) {
        // A viewport's height further, the view scrolled along with the caret.
        const double step = viewport()->height() / m_zoom * found->pages;
        const QRectF caret = ShownLayout::caretRect(shown, c.position(), false);
        to = ShownLayout::hitTest(shown, QPointF(m_goalX, caret.center().y() + step));
        QScrollBar* bar = verticalScrollBar();
        bar->setValue(bar->value() + found->pages * viewport()->height());
    } else {
        to = ShownLayout::move(shown, c.position(), found->how, m_goalX);
    }
    if (to < 0) // past the first or last line: to the text's start or end, as Qt does
        to = found->how == ShownLayout::LineUp ? 0 : (found->how == ShownLayout::LineDown ? document()->characterCount() - 1 : c.position());
    c.setPosition(qBound(0, to, document()->characterCount() - 1), select ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
    setTextCursor(c);
    m_goalPos = vertical ? c.position() : -1;
    ensureCursorVisible();
    return true;
}
