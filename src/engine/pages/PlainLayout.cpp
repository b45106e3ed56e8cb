#include "PlainLayout.h"

#include "Paginator.h"
#include "PlainPages.h"

#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>

PlainLayout* PlainLayout::install(QTextDocument* copy, const PageGeometry& g)
{
    std::unique_ptr<PlainPages> lines = PlainPages::make(copy, g);
    if (!lines)
        return nullptr;
    auto* layout = new PlainLayout(copy, g);
    layout->m_lines = std::move(lines);
    layout->m_builtFor = layout->builtFor();
    layout->setPaintDevice(Paginator::printDevice());
    // Installing tells the layout of the whole text: its lines are known already.
    layout->m_installing = true;
    copy->setDocumentLayout(layout);
    layout->m_installing = false;
    return layout;
}

PlainLayout::PlainLayout(QTextDocument* copy, const PageGeometry& g) : QAbstractTextDocumentLayout(copy), m_page(g) {}

PlainLayout::~PlainLayout() = default;

bool PlainLayout::rebuild()
{
    QTextDocument* d = document();
    for (QTextBlock b = d->begin(); b.isValid(); b = b.next())
        b.clearLayout();
    m_wrapped.clear();
    m_lines = PlainPages::make(d, m_page);
    m_builtFor = builtFor();
    return fits();
}

QString PlainLayout::builtFor() const
{
    const QTextDocument* d = document();
    const QTextFrameFormat f = d->rootFrame()->frameFormat();
    return QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9 %10")
        .arg(d->revision())
        .arg(d->characterCount())
        .arg(d->blockCount())
        .arg(d->defaultFont().key())
        .arg(int(d->defaultTextOption().wrapMode()))
        .arg(f.topMargin())
        .arg(f.leftMargin())
        .arg(f.rightMargin())
        .arg(f.bottomMargin())
        .arg(d->documentMargin());
}

void PlainLayout::setPage(const PageGeometry& g)
{
    if (g == m_page)
        return;
    m_page = g;
    rebuild();
    Q_EMIT documentSizeChanged(documentSize());
    Q_EMIT pageCountChanged(pageCount());
    Q_EMIT update();
}

void PlainLayout::documentChanged(int from, int charsRemoved, int charsAdded)
{
    if (m_installing)
        return;
    QTextDocument* d = document();
    const int pagesBefore = pageCount();
    const int linesBefore = m_lines ? m_lines->lineCount() : 0;
    // The whole text (a new font or page) is broken anew, an edit only where it was made.
    if (from == 0 && charsAdded >= d->characterCount()) {
        if (m_lines && builtFor() == m_builtFor)
            return;
        rebuild();
    } else {
        for (int& pos : m_wrapped)
            if (pos >= from + charsRemoved)
                pos += charsAdded - charsRemoved;
        if (m_lines && !m_lines->update(from, charsRemoved, charsAdded))
            m_lines.reset();
        m_builtFor = builtFor();
    }
    if (!m_lines) {
        Q_EMIT update();
        Q_EMIT leftPlainPath();
        return;
    }
    const QTextBlock first = d->findBlock(from);
    for (QTextBlock b = first; b.isValid() && b.position() <= from + charsAdded; b = b.next())
        b.clearLayout();
    const double top = m_lines->lineTop(m_lines->lineOfPosition(first.position()));
    if (m_lines->lineCount() != linesBefore) {
        // Every line below moved: paragraphs laid out there may now cross a page end elsewhere.
        for (int pos : std::as_const(m_wrapped))
            d->findBlock(pos).clearLayout();
        m_wrapped.clear();
        Q_EMIT update(QRectF(0, top, documentSize().width(), documentSize().height() - top + m_lines->pageHeight()));
    } else {
        const QTextBlock last = d->findBlock(from + charsAdded);
        const double bottom = m_lines->lineTop(m_lines->lineOfPosition(last.isValid() ? last.position() + last.length() - 1 : from))
                              + m_lines->lineHeight();
        Q_EMIT update(QRectF(0, top, documentSize().width(), bottom - top));
    }
    if (pageCount() != pagesBefore) {
        Q_EMIT documentSizeChanged(documentSize());
        Q_EMIT pageCountChanged(pageCount());
    }
}

int PlainLayout::lineCount() const { return m_lines ? m_lines->lineCount() : 0; }

int PlainLayout::pageCount() const { return m_lines ? m_lines->pageCount() : 1; }

QSizeF PlainLayout::documentSize() const
{
    const double scale = Paginator::PrintDpi / 96.0;
    const QSizeF page = Paginator::pageSizePixels(m_page) * scale;
    return {page.width(), page.height() * pageCount()};
}

QRectF PlainLayout::frameBoundingRect(QTextFrame* frame) const
{
    return frame == document()->rootFrame() ? QRectF(QPointF(), documentSize()) : QRectF();
}

QRectF PlainLayout::blockBoundingRect(const QTextBlock& block) const
{
    if (!m_lines || !block.isValid() || block.document() != document())
        return {};
    // Asking for the rectangle lays the paragraph out, as Qt's layout does.
    if (m_lines->layOutBlock(block) > 1)
        m_wrapped.push_back(block.position());
    const double top = m_lines->lineTop(m_lines->lineOfPosition(block.position()));
    const double bottom = m_lines->lineTop(m_lines->lineOfPosition(block.position() + block.length() - 1)) + m_lines->lineHeight();
    return {m_lines->left(), top, m_lines->width(), bottom - top};
}

int PlainLayout::hitTest(const QPointF& point, Qt::HitTestAccuracy accuracy) const
{
    if (!m_lines)
        return -1;
    const int start = m_lines->lineStart(m_lines->lineAt(point.y()));
    const QTextBlock b = document()->findBlock(start);
    const QRectF r = blockBoundingRect(b);
    const QTextLine line = b.layout()->lineForTextPosition(start - b.position());
    if (!line.isValid())
        return b.position();
    const QPointF at = point - r.topLeft();
    if (accuracy == Qt::ExactHit
        && (at.y() < line.y() || at.y() > line.y() + line.height() || at.x() < line.x()
            || at.x() > line.x() + line.naturalTextWidth()))
        return -1;
    return b.position() + line.xToCursor(at.x());
}

void PlainLayout::draw(QPainter* painter, const PaintContext& context)
{
    if (!m_lines)
        return;
    const QRectF clip = context.clip.isValid() ? context.clip : QRectF(QPointF(), documentSize());
    const int last = m_lines->lineStart(m_lines->lineAt(clip.bottom()));
    painter->save();
    painter->setPen(context.palette.color(QPalette::Text));
    for (QTextBlock b = document()->findBlock(m_lines->lineStart(m_lines->lineAt(clip.top())));
         b.isValid() && b.position() <= last; b = b.next()) {
        const QRectF r = blockBoundingRect(b);
        QList<QTextLayout::FormatRange> selections;
        const int start = b.position(), end = b.position() + b.length();
        for (const Selection& s : context.selections) {
            const int from = s.cursor.selectionStart(), to = s.cursor.selectionEnd();
            if (from >= end || to <= start || from == to)
                continue;
            QTextLayout::FormatRange o;
            o.start = qMax(from, start) - start;
            o.length = qMin(to, end) - start - o.start;
            o.format = s.format;
            selections.append(o);
        }
        // Positions far down a long text stay out of the layout's fixed point.
        painter->save();
        painter->translate(r.topLeft());
        b.layout()->draw(painter, QPointF(), selections, clip.translated(-r.topLeft()));
        painter->restore();
    }
    painter->restore();
}
