#include "HeaderFooterEditing.h"

#include "engine/Document.h"
#include "engine/objects/PageNumberObject.h"
#include "Paginator.h"
#include "engine/surface/ScreenView.h"
#include "engine/surface/TextControl.h"

HeaderFooterEditing::HeaderFooterEditing(TextControl& surface, ScreenView& view, QObject* filter)
    : m_surface(surface), m_view(view), m_filter(filter)
{
}

QTextEdit* HeaderFooterEditing::editor() const { return m_editor; }

QTextEdit* HeaderFooterEditing::activeEditor() const
{
    if (m_active && m_editor && m_part)
        return m_editor;
    return nullptr;
}

bool HeaderFooterEditing::activate(int part)
{
    return edit(m_surface.doc()->headerFooter(part), part, 0);
}

bool HeaderFooterEditing::activateOn(int page, int slot)
{
    const Paginator::PagePart p = m_surface.paginator()->partOn(page, slot);
    return edit(p.d, p.kind, page);
}

bool HeaderFooterEditing::edit(QTextDocument* d, int kind, int page)
{
    if (!d)
        return false;
    // Parts are edited on the sheets: either page view will do.
    if (m_surface.ViewMode() == 0)
        m_surface.setViewMode(1);
    if (!m_editor) {
        m_editor = new ZoomedTextEdit(m_surface.viewport());
        m_editor->setObjectName(QStringLiteral("HeaderFooterEditor"));
        m_editor->setFrameStyle(QFrame::NoFrame);
        m_editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_editor->setLineWrapMode(QTextEdit::FixedPixelWidth);
        m_editor->installEventFilter(m_filter);
    }
    m_active = kind;
    m_part = d;
    m_page = page;
    PageNumberObject::install(d);
    m_editor->setDocument(d);
    m_editor->setLineWrapColumnOrWidth(int(d->textWidth()));
    connect(d, &QTextDocument::contentsChanged, this, &HeaderFooterEditing::onPartChanged,
            Qt::UniqueConnection);
    place();
    m_view.reveal(m_editor->geometry());
    place();
    m_editor->show();
    m_editor->setFocus();
    Q_EMIT m_surface.HeaderFooterActivated(kind);
    return true;
}

void HeaderFooterEditing::leave()
{
    if (!m_active)
        return;
    m_active = 0;
    m_part = nullptr;
    if (m_editor) {
        m_editor->hide();
        m_editor->setDocument(nullptr); // holds no part that may be removed later
    }
    m_surface.setFocus();
    m_surface.viewport()->update();
    Q_EMIT m_surface.HeaderFooterLeft();
}

void HeaderFooterEditing::onPartChanged()
{
    place();
    m_surface.viewport()->update();
}

void HeaderFooterEditing::place()
{
    if (!m_editor || !m_active || !m_part)
        return;
    Paginator* paginator = m_surface.paginator();
    // A part chosen on a page is edited there. The document's parts of the first page
    // are edited on it, the others on the caret's page (the second one when the first
    // page has its own).
    int page = m_page;
    if (page == 0) {
        page = 1;
        if (m_active == 1 || m_active == 4) {
            page = paginator->pageOfPosition(m_surface.textCursor().position());
            if (page == 1 && paginator->partForPage(1, m_active) != m_active)
                page = 2;
        }
    }
    page = qBound(1, page, paginator->pageCount());
    QRectF r = paginator->partRect(m_part, page, m_active == 1 || m_active == 2);
    r.setHeight(qMax(r.height(), 20.0));
    r.translate(m_surface.sheetRect(page).topLeft());
    // The part is shown at the body's zoom, painted like the body.
    m_editor->setZoom(m_surface.zoom());
    r = QRectF(m_surface.toViewport(r.topLeft()), r.size() * m_surface.zoom());
    if (m_editor->geometry() != r.toAlignedRect())
        m_editor->setGeometry(r.toAlignedRect());
}

int HeaderFooterEditing::distance(int index) const
{
    const Document* doc = m_surface.doc();
    return index == 4 || index == 8 ? doc->footerDistance() : doc->headerDistance();
}

void HeaderFooterEditing::setDistance(int index, int twips)
{
    Document* doc = m_surface.doc();
    if (index == 4 || index == 8)
        doc->setFooterDistance(qMax(0, twips));
    else
        doc->setHeaderDistance(qMax(0, twips));
    place();
    m_surface.viewport()->update();
}

int HeaderFooterEditing::flags() const { return (m_surface.doc()->headerFooterSet() & 10) ? 15 : 5; }

void HeaderFooterEditing::setFlags(int flags)
{
    Document* doc = m_surface.doc();
    int set = doc->headerFooterSet();
    if (flags & 2) {
        if (set & 1) set |= 2;
        if (set & 4) set |= 8;
        if (!(set & 5)) set |= 2;
    } else {
        set &= ~10;
    }
    doc->setHeaderFooterSet(set);
}
