#include "PagesEventFilter.h"

#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "engine/objects/Fields.h"
#include "engine/objects/Images.h"
#include "Paginator.h"
#include "engine/surface/TextControl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextBlock>

PagesEventFilter::PagesEventFilter(TextControl& surface) : QObject(&surface), m_surface(surface) {}

bool PagesEventFilter::eventFilter(QObject* watched, QEvent* event)
{
    TextControl& s = m_surface;
    if (watched == s.headerFooterEditor() && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        s.HeaderFooterLeave();
        return true;
    }
    if (watched == s.viewport() && event->type() == QEvent::MouseButtonRelease) {
        // A click on a hyperlink field reports its target.
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() == Qt::LeftButton && !s.textCursor().hasSelection()) {
            QTextDocument* body = s.doc()->body();
            const int pos = s.cursorAt(me->position().toPoint()).position();
            const int id = Fields::atPosition(body, pos);
            const Fields::Range r = Fields::find(body, id);
            if (id > 0 && pos > r.start && pos < r.end && Fields::linkKind(body, id) > 0)
                Q_EMIT s.HyperlinkClicked(Fields::linkTarget(body, id));
        }
    }
    if (s.ViewMode() == 0 || watched == &s)
        return false;
    if (watched != s.viewport())
        return false;
    return layoutViewEvent(event);
}

bool PagesEventFilter::layoutViewEvent(QEvent* event)
{
    TextControl& s = m_surface;
    Document* doc = s.doc();
    Paginator* paginator = s.paginator();
    const double scale = s.zoom();
    // Viewport point to page number and 96-dpi pixels on that page.
    auto pagePoint = [&](QPointF viewportPos, int* page) {
        const QPointF docPos = s.toDocument(viewportPos);
        *page = s.sheetAt(docPos);
        return docPos - s.sheetRect(*page).topLeft();
    };
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* me = static_cast<QMouseEvent*>(event);
        int page = 0;
        const QPointF pp = pagePoint(me->position(), &page);
        if (me->button() == Qt::LeftButton && (me->modifiers() & Qt::AltModifier)) {
            // Alt + left mouse grabs a fixed image on this page.
            QTextDocument* d = doc->body();
            for (QTextBlock b = d->begin(); b.isValid(); b = b.next())
                for (auto it = b.begin(); !it.atEnd(); ++it) {
                    const QTextFragment f = it.fragment();
                    if (f.charFormat().objectType() != EngineObject::FixedImage)
                        continue;
                    if (paginator->pageOfPosition(f.position()) == page
                        && Images::fixedRect(d, f.position()).contains(pp)) {
                        m_movingImage = f.charFormat().intProperty(EngineProperty::ImageId);
                        s.setObjectSelected(m_movingImage);
                        m_moveStart = me->position().toPoint();
                        m_moveOrigin = Images::fixedPosition(d, m_movingImage);
                        return true;
                    }
                }
        }
        QWidget* hfEditor = s.headerFooterEditor();
        if (s.HeaderFooterActive() && hfEditor && !hfEditor->geometry().contains(me->position().toPoint()))
            s.HeaderFooterLeave();
        s.setObjectSelected(0);
        return false;
    }
    case QEvent::MouseMove:
        if (m_movingImage) {
            auto* me = static_cast<QMouseEvent*>(event);
            const QPointF delta = QPointF(me->position().toPoint() - m_moveStart) / scale;
            Images::setFixedPosition(doc->body(), m_movingImage,
                                     m_moveOrigin + QPoint(qRound(Document::pixelsToTwips(delta.x())),
                                                           qRound(Document::pixelsToTwips(delta.y()))));
            s.viewport()->update();
            return true;
        }
        return false;
    case QEvent::MouseButtonRelease:
        if (m_movingImage) {
            m_movingImage = 0;
            return true;
        }
        return false;
    case QEvent::MouseButtonDblClick: {
        // A double click into a header or footer edits it.
        auto* me = static_cast<QMouseEvent*>(event);
        int page = 0;
        const QPointF pp = pagePoint(me->position(), &page);
        // Each section's sheet has its own margins and parts.
        const PageGeometry g = paginator->pageGeometry(page);
        int slot = 0;
        if (pp.y() < Document::twipsToPixels(g.marginT))
            slot = 1;
        else if (pp.y() > Document::twipsToPixels(g.height - g.marginB))
            slot = 4;
        return slot && s.HeaderFooterActivateOn(page, slot);
    }
    default:
        return false;
    }
}
