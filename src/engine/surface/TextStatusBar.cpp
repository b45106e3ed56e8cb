#include "TextStatusBar.h"

#include "SurfaceFollower.h"
#include "TextControl.h"

#include <QLabel>

TextStatusBar::TextStatusBar(QWidget* parent)
    : QStatusBar(parent), m_follower(new SurfaceFollower(this, [this] { refresh(); }))
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

void TextStatusBar::setTextControl(TextControl* surface) { m_follower->follow(surface); }

TextControl* TextStatusBar::textControl() const { return m_follower->surface(); }

void TextStatusBar::refresh()
{
    TextControl* surface = m_follower->surface();
    if (!surface) {
        m_page->setText(QStringLiteral("Seite"));
        m_line->setText(QStringLiteral("Zeile"));
        m_column->setText(QStringLiteral("Spalte"));
        return;
    }
    const InputPosition p = surface->CurrentInputPosition();
    m_page->setText(QStringLiteral("Seite %1").arg(p.page));
    m_line->setText(QStringLiteral("Zeile %1").arg(p.line));
    m_column->setText(QStringLiteral("Spalte %1").arg(p.column));
}
