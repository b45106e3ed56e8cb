#include "ScreenView.h"

#include "engine/Document.h"
#include "engine/pages/HeaderFooterEditing.h"
#include "engine/pages/Paginator.h"
#include "engine/pages/PlainLayout.h"
#include "engine/objects/Images.h"
#include "engine/objects/PageNumberObject.h"
#include "engine/objects/ParagraphFrames.h"
#include "engine/objects/TabLeaders.h"
#include "engine/objects/Tables.h"
#include "SheetColumn.h"
#include "TextControl.h"

#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QTextFrame>
#include <QtMath>

ScreenView::ScreenView(TextControl* surface, Document* doc, Paginator* paginator)
    : m_surface(surface), m_doc(doc), m_paginator(paginator)
{
    // The vertical bar is always there: the text column is laid out knowing its width,
    // and its coming and going cannot cover the text or move the sheet.
    surface->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void ScreenView::setMode(int mode)
{
    m_mode = qBound(0, mode, 2);
    update();
}

void ScreenView::setZoom(int percent)
{
    const int z = qBound(10, percent, 400);
    if (z == m_zoom)
        return;
    const int twips = m_surface->ScrollPosY();
    // A caret the user could see stays in sight; otherwise the same place stays on top.
    const bool caretShown = m_surface->viewport()->rect().intersects(m_surface->caretRect());
    m_zoom = z;
    m_surface->setZoom(z / 100.0);
    update();
    m_surface->setScrollPosY(twips);
    if (caretShown)
        m_surface->reveal(m_surface->caretRect());
}

QSizeF ScreenView::columnSize() const
{
    // Until the sheets are measured: one sheet of the document's page. Without sections
    // all sheets have the document's width, which holds whatever was measured before.
    const QSizeF page = Paginator::pageSizePixels(m_doc->page());
    if (m_column.isEmpty())
        return page;
    return {m_sectionsWidth > 0 ? m_sectionsWidth : page.width(), m_column.height()};
}

void ScreenView::update()
{
    // Margins resize the viewport, which comes back here through resized().
    if (m_updating)
        return;
    m_updating = true;
    TextControl* s = m_surface;
    QTextDocument* body = m_doc->body();
    const bool relayouting = s->m_relayouting;
    s->m_relayouting = true; // widths and page heights are no content change
    // The body is laid out in 96-dpi pixels at every zoom; the surface zooms by painting.
    // A reader may have cleared the margins. The width is set only when it changes:
    // QTextDocument lays the whole text out anew on every setTextWidth.
    Document::setRootMargins(body, m_doc->page());
    if (s->lineWrapMode() != QTextEdit::FixedPixelWidth)
        s->setLineWrapMode(QTextEdit::FixedPixelWidth);
    placeViewport();
    // The normal view wraps at the window, whatever the zoom.
    const int width = m_mode == 0 ? qMax(10, qFloor(s->viewport()->width() / zoomFactor()))
                                  : qRound(Document::twipsToPixels(m_doc->page().width));
    if (s->lineWrapColumnOrWidth() != width)
        s->setLineWrapColumnOrWidth(width);
    if (body->textWidth() != width)
        body->setTextWidth(width);
    const bool pages = showsPages();
    // The page views show the printed copy: the body itself is never paginated.
    if (body->pageSize().height() > 0)
        body->setPageSize(QSizeF(body->pageSize().width(), -1));
    s->viewport()->setBackgroundRole(pages ? QPalette::Window : QPalette::Base);
    chooseBodyLayout();
    s->m_relayouting = relayouting;
    m_updating = false;
    if (!pages)
        s->HeaderFooterLeave();
    if (s->m_hf)
        s->m_hf->place();
    s->adjustScrollRanges();
    s->update();
    s->viewport()->update();
    Q_EMIT s->ViewChanged();
}

void ScreenView::chooseBodyLayout()
{
    QTextDocument* body = m_doc->body();
    auto* plain = qobject_cast<PlainLayout*>(body->documentLayout());
    const bool wanted = showsPages() && body->blockCount() >= PlainLayout::LongDocument;
    const PageGeometry g = Paginator::bodyGeometry(*m_doc);
    if (plain && wanted && plain->fits()) {
        plain->setPage(g);
        return;
    }
    if (plain) {
        // Qt's layout again, made when next asked for; it holds the objects' handlers.
        body->setDocumentLayout(nullptr);
        PageNumberObject::install(body);
        Images::installHandlers(body);
    }
    const QString state = QStringLiteral("%1 %2").arg(body->revision()).arg(body->characterCount());
    if (!wanted || state == m_notPlain)
        return;
    if (!PlainLayout::install(body, g))
        m_notPlain = state;
}

void ScreenView::placeViewport()
{
    // The room beside the scroll bar, whatever the margins are now.
    TextControl* s = m_surface;
    const QMargins now = s->viewportMargins();
    const int inner = s->viewport()->width() + now.left() + now.right();
    // The widest sheet's width (whole pixels), zoomed as the scroll range is.
    const int pageW = qRound(qRound(columnSize().width()) * zoomFactor());
    QMargins want;
    if (showsPages()) {
        // The sheets stand in the middle of the desk, which the viewport paints.
        want = QMargins(qMax(8, (inner - pageW) / 2), 0, 0, 0);
    }
    if (want != now)
        s->setViewportMargins(want);
}

void ScreenView::resized()
{
    if (m_updating)
        return;
    update();
}

QSizeF ScreenView::contentsSize(QSizeF text) const
{
    // The text ends where it ends; the page views scroll over the printed sheets.
    if (!showsPages())
        return text;
    // Not asked while the body is read or laid out anew: the copy would be taken of a
    // half-read document (pictures still missing). The last count stands meanwhile.
    // Nor for a surface never shown (serial letters): its copy would follow every edit.
    if (!m_updating && !m_surface->m_relayouting && m_surface->isVisible()) {
        const SheetColumn column(*m_paginator);
        const QSizeF was = columnSize();
        m_column = QSizeF(column.width(), column.height());
        m_sectionsWidth = m_paginator->hasSections() ? column.width() : 0;
        // Sheets of another width are centred anew, once the measuring is over.
        if (qRound(was.width()) != qRound(columnSize().width()))
            QMetaObject::invokeMethod(m_surface, [s = m_surface] { s->m_view->update(); }, Qt::QueuedConnection);
    }
    return columnSize();
}

int ScreenView::textLeftX() const
{
    // The text area of the caret's sheet: sections have sheets of their own.
    double left = Document::twipsToPixels(m_doc->page().marginL);
    if (showsPages() && m_paginator->hasSections()) {
        const SheetColumn column(*m_paginator);
        const int page = m_paginator->pageOfPosition(m_surface->textCursor().position());
        left = column.sheet(page).left() + Document::twipsToPixels(column.geometry(page).marginL);
    }
    const int margin = qRound(left * zoomFactor());
    return m_surface->viewport()->geometry().left() - m_surface->horizontalScrollBar()->value() + margin;
}

QRectF ScreenView::sheet(int page) const { return SheetColumn(*m_paginator).sheet(page); }

int ScreenView::pageAt(const QPointF& docPos) const { return SheetColumn(*m_paginator).pageAt(docPos.y()); }

void ScreenView::reveal(const QRect& r) { m_surface->reveal(r); }

void ScreenView::paintLayout(QPaintEvent* e)
{
    TextControl* s = m_surface;
    // Sheets at the zoom; the paginator paints in page pixels.
    const double scale = zoomFactor();
    const int dx = -s->horizontalScrollBar()->value(), dy = -s->verticalScrollBar()->value();
    const SheetColumn column(*m_paginator);
    const int pages = column.pageCount();
    const QRect visible = s->viewport()->rect();
    const int firstPage = column.pageAt(-dy / scale);
    const int lastPage = column.pageAt((visible.height() - dy) / scale);
    auto shownSheet = [&](int page) {
        const QRectF r = column.sheet(page);
        return QRectF(dx + r.left() * scale, dy + r.top() * scale, r.width() * scale, r.height() * scale);
    };
    {
        QPainter p(s->viewport());
        p.fillRect(e->rect(), s->palette().color(QPalette::Window));
        for (int page = firstPage; page <= lastPage; ++page) {
            // A thin strip of desk between the sheets.
            p.fillRect(shownSheet(page).adjusted(0, page > 1 ? 3 : 0, 0, page < pages ? -3 : 0), Qt::white);
        }
    }
    QPainter p(s->viewport());
    s->paintContents(&p, e->rect());
    p.setRenderHint(QPainter::Antialiasing);
    for (int page = firstPage; page <= lastPage; ++page) {
        p.save();
        p.translate(shownSheet(page).topLeft());
        p.scale(scale, scale);
        const int layers = (s->m_hfDisplay ? Paginator::HeaderFooter : 0) | Paginator::Decorations;
        m_paginator->paintPage(&p, page, layers);
        // Margin guides: where the text area begins and ends.
        const PageGeometry& g = column.geometry(page);
        p.setPen(QPen(QColor(200, 200, 200), 0, Qt::DotLine));
        p.drawRect(QRectF(Document::twipsToPixels(g.marginL), Document::twipsToPixels(g.marginT),
                          Document::twipsToPixels(g.width - g.marginL - g.marginR),
                          Document::twipsToPixels(g.height - g.marginT - g.marginB)));
        p.restore();
    }
    if (s->m_tableGridLines) {
        const QRectF shown(s->toDocument(visible.topLeft()), s->toDocument(visible.bottomRight()));
        for (const ShownLayout::Piece& piece : column.pieces()) {
            p.save();
            p.translate(dx, dy);
            p.scale(scale, scale);
            p.translate(piece.origin);
            p.scale(1 / piece.scale, 1 / piece.scale);
            Tables::paintGridLines(&p, piece.d, QPointF(), QRectF(piece.toLayout(shown.topLeft()), piece.toLayout(shown.bottomRight())));
            p.restore();
        }
    }
    if (s->m_hf)
        s->m_hf->place();
}

void ScreenView::paintTextExtras()
{
    TextControl* s = m_surface;
    const QRectF visible(s->toDocument(QPointF()), s->toDocument(s->viewport()->rect().bottomRight()));
    QPainter p(s->viewport());
    p.translate(-s->scrollOffset());
    p.scale(s->zoom(), s->zoom());
    if (s->m_tableGridLines)
        Tables::paintGridLines(&p, m_doc->body(), QPointF(), visible);
    ParagraphFrames::paintVisible(&p, m_doc->body(), visible);
    TabLeaders::paint(&p, m_doc->body(), visible);
}
