#include "FirstSpacing.h"

#include "Paginator.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>

namespace FirstSpacing {

namespace {

// Kept on the copy: the space (96-dpi pixels; 0 once given up), what was pushed down
// by it, and where the first paragraph was put.
constexpr char kSpace[] = "qx_firstSpace";
constexpr char kPushed[] = "qx_firstPushed";
constexpr char kPlacedAt[] = "qx_firstPlacedAt";
constexpr char kWatched[] = "qx_firstWatched";

QTextFrame* outermostFrame(const QTextBlock& b)
{
    QTextFrame* f = QTextCursor(b).currentFrame();
    while (f && f->parentFrame() && f->parentFrame() != b.document()->rootFrame())
        f = f->parentFrame();
    return f;
}

// The table that Qt places right after the first paragraph: one that follows it, or
// follows an empty paragraph after it (which Qt hides in the table's border).
QTextFrame* tableAfter(const QTextBlock& first)
{
    const QTextBlock next = first.next();
    QTextFrame* f = outermostFrame(next);
    if (f != first.document()->rootFrame())
        return f;
    f = outermostFrame(next.next());
    if (next.length() == 1 && qobject_cast<QTextTable*>(f) && f->firstPosition() == next.position() + 1)
        return f;
    return nullptr;
}

// Moves what follows the first paragraph down by `delta`: a table by its top margin,
// a paragraph by the first one's space after (Qt collapses it with the next one's
// space before, which the copy already holds summed up, so the larger one grows).
void push(QTextDocument* copy, double delta)
{
    const QTextBlock first = copy->begin();
    if (QTextFrame* f = tableAfter(first)) {
        QTextFrameFormat ff = f->frameFormat();
        ff.setTopMargin(ff.topMargin() + delta);
        f->setFrameFormat(ff);
        return;
    }
    QTextBlockFormat bf = first.blockFormat();
    const double next = first.next().blockFormat().topMargin();
    bf.setBottomMargin(delta > 0 ? qMax(bf.bottomMargin(), next) + delta : bf.bottomMargin() + delta);
    QTextCursor(first).setBlockFormat(bf);
}

} // namespace

void reserve(QTextDocument* copy)
{
    if (copy->property(kSpace).isValid())
        return;
    const QTextBlock first = copy->begin();
    const double space = first.blockFormat().topMargin();
    const bool inRoot = outermostFrame(first) == copy->rootFrame();
    copy->setProperty(kSpace, inRoot && space > 0 ? space : 0.0);
    if (!inRoot || space <= 0)
        return;
    const QTextBlock next = first.next();
    if (!next.isValid() || (first.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter)
        || (next.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore))
        return; // nothing follows on this page
    copy->setProperty(kPushed, true);
    push(copy, space);
}

void apply(QTextDocument* copy)
{
    const double space = copy->property(kSpace).toDouble();
    const QTextBlock first = copy->begin();
    QTextLayout* l = first.layout();
    if (space <= 0 || !l)
        return;
    QAbstractTextDocumentLayout* layout = copy->documentLayout();
    if (!copy->property(kWatched).toBool()) {
        copy->setProperty(kWatched, true);
        // Emitted at the end of every relayout, which may have put the paragraph back.
        QObject::connect(layout, &QAbstractTextDocumentLayout::update, copy, [copy] { apply(copy); });
    }
    layout->documentSize(); // completes a lazy layout, which could move it back later
    const QPointF at = l->position();
    const QVariant placed = copy->property(kPlacedAt);
    if (l->lineCount() == 0 || (placed.isValid() && at.y() == placed.toDouble()))
        return;
    const double s = Paginator::layoutScale(copy);
    const double pageHeight = copy->pageSize().height();
    const double bottom = pageHeight - copy->rootFrame()->frameFormat().bottomMargin() * s;
    if (pageHeight > 0 && at.y() + l->boundingRect().bottom() + space * s > bottom) {
        // A paragraph that fills the first page keeps its place; what follows returns.
        copy->setProperty(kSpace, 0.0);
        if (copy->property(kPushed).toBool())
            push(copy, -space);
        return;
    }
    l->setPosition(QPointF(at.x(), at.y() + space * s));
    copy->setProperty(kPlacedAt, at.y() + space * s);
}

} // namespace FirstSpacing
