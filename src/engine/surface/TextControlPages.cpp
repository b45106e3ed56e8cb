// The surface's pages: page views, printing, headers and footers.
#include "TextControl.h"

#include "app/CurrentPrinter.h"
#include "engine/Document.h"
#include "engine/objects/Images.h"
#include "engine/objects/PageNumberObject.h"
#include "engine/pages/HeaderFooterEditing.h"
#include "engine/pages/PagePrinter.h"
#include "engine/pages/PagesEventFilter.h"
#include "engine/pages/Paginator.h"
#include "engine/pages/PlainLayout.h"
#include "ScreenView.h"
#include "SheetColumn.h"
#include "ShownLayout.h"

#include <QTextCursor>
#include <QTimer>

// Pages, headers and footers

void TextControl::initPages()
{
    m_paginator = new Paginator(m_doc, this);
    // A copy laid out anew is shown from scratch.
    // A surface never shown (serial letters) is not laid out for it; showing it
    // resizes it, which sets the view up anew.
    connect(m_paginator, &Paginator::invalidated, this, [this] {
        if (showsCopy() && isVisible())
            shownDocumentReplaced();
        // A body placed as printed that an edit took off the plain path (or whose page
        // changed) gets its layout anew, once the edit is through.
        if (qobject_cast<PlainLayout*>(m_doc->body()->documentLayout()))
            QTimer::singleShot(0, this, [this] { m_view->update(); });
    });
    PageNumberObject::install(m_doc->body());
    Images::installHandlers(m_doc->body());
    m_pagesFilter = new PagesEventFilter(*this);
    viewport()->installEventFilter(m_pagesFilter);
    installEventFilter(m_pagesFilter);
    connect(this, &QTextEdit::cursorPositionChanged, this, [this] {
        m_fieldCurrent = 0;
        m_objectSelected = 0; // a fixed picture stays selected until the caret moves
        resetFieldFormatAtCaret();
    });
    connect(this, &QTextEdit::selectionChanged, this, &TextControl::refreshObjectHandles);
    connect(m_doc, &Document::headerFooterSetChanged, this, [this](int bits) {
        if (HeaderFooterActive() && !(bits & HeaderFooterActive()))
            HeaderFooterLeave(); // before the part is deleted
        viewport()->update();
    });
}

// Pages --------------------------------------------------------------------------

bool TextControl::showsCopy() const { return m_view && m_view->showsPages(); }

QTextDocument* TextControl::shownDocument() const
{
    return showsCopy() ? m_paginator->layoutDocument() : document();
}

double TextControl::shownScale() const
{
    return showsCopy() ? Paginator::layoutScale(m_paginator->layoutDocument()) : 1.0;
}

ShownLayout::Pieces TextControl::shownPieces() const
{
    return showsCopy() ? SheetColumn(*m_paginator).pieces() : ZoomedTextEdit::shownPieces();
}

QRectF TextControl::sheetRect(int page) const { return m_view->sheet(page); }
int TextControl::sheetAt(const QPointF& docPos) const { return m_view->pageAt(docPos); }

PageGeometry TextControl::caretPage() const
{
    if (!showsCopy() || !m_paginator->hasSections())
        return m_doc->page();
    return m_paginator->pageGeometry(m_paginator->pageOfPosition(textCursor().position()));
}

bool TextControl::PrintDoc(const QString& docName, int first, int last, int copies)
{
    return PagePrinter::print(*m_paginator, m_printer ? m_printer : &currentPrinter(), docName,
                              first, last, copies);
}

QImage TextControl::PageImage(int page, double dpi) const { return m_paginator->renderPage(page, dpi); }

// Headers and footers -------------------------------------------------------------

int TextControl::HeaderFooterSet() const { return m_doc->headerFooterSet(); }
void TextControl::setHeaderFooterSet(int bits) { m_doc->setHeaderFooterSet(bits); }

int TextControl::HeaderFooterDistance(int index) const { return m_hf->distance(index); }
void TextControl::setHeaderFooterDistance(int index, int twips) { m_hf->setDistance(index, twips); }
int TextControl::HeaderFooterFlags() const { return m_hf->flags(); }
void TextControl::setHeaderFooterFlags(int flags) { m_hf->setFlags(flags); }

void TextControl::setHeaderFooterDisplay(int v)
{
    m_hfDisplay = v;
    viewport()->update();
}

bool TextControl::HeaderFooterActivate(int part) { return m_hf->activate(part); }
bool TextControl::HeaderFooterActivateOn(int page, int slot) { return m_hf->activateOn(page, slot); }
int TextControl::HeaderFooterActive() const { return m_hf ? m_hf->active() : 0; }
void TextControl::HeaderFooterLeave()
{
    if (m_hf)
        m_hf->leave();
}
QTextEdit* TextControl::headerFooterEditor() const { return m_hf ? m_hf->editor() : nullptr; }

// Fields ---------------------------------------------------------------------------

QTextDocument* TextControl::activePart() const
{
    if (QTextEdit* part = activePartEditor())
        return part->document();
    return m_doc->body();
}

QTextEdit* TextControl::activePartEditor() const
{
    return m_hf ? m_hf->activeEditor() : nullptr;
}

QTextEdit* TextControl::activeEditor() const
{
    if (QTextEdit* part = activePartEditor())
        return part;
    return const_cast<TextControl*>(this);
}

QTextCursor TextControl::activeCursor() const
{
    if (QTextEdit* part = activePartEditor())
        return part->textCursor();
    return textCursor();
}
