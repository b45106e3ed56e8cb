#include "Magnifier.h"

#include "MenuWiring.h"
#include "frmMDIChild.h"

#include "engine/surface/TextControl.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextDocumentFragment>

namespace {
const int kBefore = 5;     // characters shown before the one under the mouse
const int kLength = 15;    // characters shown
const int kLensZoom = 250; // percent
const int kOffsetX = 100;  // twips right of the mouse
const int kOffsetY = 1000; // twips below the mouse
int pixels(int twips) {
    return twips / 15;
}
} // namespace

Magnifier::Magnifier(frmMDIChild* window) : QObject(window), m_window(window) {
    setObjectName(QStringLiteral("Magnifier"));
    TextControl* s = window->surface();
    TXTextControl3 = new TextControl(s->parentWidget());
    TXTextControl3->setObjectName(QStringLiteral("TXTextControl3"));
    TXTextControl3->setViewMode(0);
    TXTextControl3->setReadOnly(true);
    TXTextControl3->setFrameStyle(QFrame::Box);
    TXTextControl3->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    TXTextControl3->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    TXTextControl3->setFocusPolicy(Qt::NoFocus);
    TXTextControl3->setAttribute(Qt::WA_TransparentForMouseEvents);
    TXTextControl3->resize(420, 90);
    TXTextControl3->hide();
    QObject::connect(s, &TextControl::MouseMoved, this, &Magnifier::follow);
    MenuWiring::onTriggered(window, QStringLiteral("mnuLupe"), [this] { mnuLupe_Click(); });
}

void Magnifier::mnuLupe_Click() {
    m_window->setMagnifierOn(!m_window->magnifierOn());
    if (!m_window->magnifierOn()) {
        TXTextControl3->hide();
        m_window->surface()->viewport()->unsetCursor();
    }
}

void Magnifier::follow(QPoint pos) {
    TextControl* s = m_window->surface();
    if (!m_window->magnifierOn()) {
        TXTextControl3->hide();
        s->viewport()->unsetCursor();
        return;
    }
    s->viewport()->setCursor(Qt::CrossCursor);
    // The page views show printed copies, whose positions are the body's.
    const int at = ShownLayout::hitTest(s->shownPieces(), s->toDocument(pos), Qt::ExactHit);
    if (at < 0) {
        TXTextControl3->hide();
        s->raise();
        s->viewport()->update();
        return;
    }
    s->setSelStart(qMax(0, at - kBefore));
    s->setSelLength(kLength);
    const QTextDocumentFragment part = s->textCursor().selection();
    TXTextControl3->clear();
    TXTextControl3->textCursor().insertFragment(part);
    TXTextControl3->setZoomFactor(kLensZoom);
    TXTextControl3->show();
    TXTextControl3->raise();
    const QPoint inParent = s->viewport()->mapTo(s->parentWidget(), pos);
    TXTextControl3->move(inParent + QPoint(pixels(kOffsetX), pixels(kOffsetY)));
}
