#include "TextStatusBar.h"

#include "engine/TextControl.h"

#include <QLabel>
#include <QTimer>

TextStatusBar::TextStatusBar(QWidget* parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("TXStatusBar1"));
    auto panel = [this](const char* name) {
        auto* l = new QLabel;
        l->setObjectName(QString::fromLatin1(name));
        l->setMinimumWidth(90);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        addPermanentWidget(l);
        return l;
    };
    m_page = panel("page");
    m_line = panel("line");
    m_column = panel("column");
    refresh();
}

void TextStatusBar::setTextControl(TextControl* surface)
{
    for (const auto& c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    m_surface = surface;
    if (surface) {
        m_connections << connect(surface, &TextControl::PosChange, this, &TextStatusBar::scheduleRefresh)
                      << connect(surface, &TextControl::Change, this, &TextStatusBar::scheduleRefresh)
                      << connect(surface, &QObject::destroyed, this, [this] { setTextControl(nullptr); });
    }
    refresh();
}

void TextStatusBar::scheduleRefresh()
{
    // Many notifications arrive per keystroke; one refresh after them is enough.
    if (m_pending)
        return;
    m_pending = true;
    QTimer::singleShot(0, this, [this] {
        m_pending = false;
        refresh();
    });
}

void TextStatusBar::refresh()
{
    if (!m_surface) {
        m_page->setText(QStringLiteral("Seite"));
        m_line->setText(QStringLiteral("Zeile"));
        m_column->setText(QStringLiteral("Spalte"));
        return;
    }
    const InputPosition p = m_surface->CurrentInputPosition();
    m_page->setText(QStringLiteral("Seite %1").arg(p.page));
    m_line->setText(QStringLiteral("Zeile %1").arg(p.line));
    m_column->setText(QStringLiteral("Spalte %1").arg(p.column));
}
