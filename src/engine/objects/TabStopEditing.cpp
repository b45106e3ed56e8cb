#include "TabStopEditing.h"

#include "engine/BlockRange.h"
#include "TabStops.h"
#include "engine/surface/UndoKindTracker.h"

#include <QTextEdit>

QList<QTextOption::Tab> TabStopEditing::tabs() const { return TabStops::fromMargin(m_editor.textCursor().blockFormat()); }

void TabStopEditing::apply(const QList<QTextOption::Tab>& tabs)
{
    QTextCursor c = m_editor.textCursor();
    m_undo.begin(UndoKindTracker::Formatting);
    c.beginEditBlock();
    // Each paragraph holds the stops relative to its own indent.
    forEachSelectedBlock(c, [&](const QTextBlock& b) {
        QTextBlockFormat f = b.blockFormat();
        TabStops::setFromMargin(f, tabs);
        QTextCursor(b).setBlockFormat(f);
    });
    c.endEditBlock();
    m_undo.end();
}

int TabStopEditing::type() const
{
    const auto all = tabs();
    return m_current >= 1 && m_current <= all.size() ? TabStops::typeCode(all.at(m_current - 1).type) : 0;
}

void TabStopEditing::setType(int type)
{
    auto all = tabs();
    if (m_current < 1 || m_current > all.size())
        return;
    all[m_current - 1] = TabStops::make(TabStops::twips(all.at(m_current - 1)), type);
    apply(all);
}

int TabStopEditing::position() const
{
    const auto all = tabs();
    return m_current >= 1 && m_current <= all.size() ? TabStops::twips(all.at(m_current - 1)) : 0;
}

void TabStopEditing::setPosition(int twips)
{
    auto all = tabs();
    twips = qMax(0, twips);
    if (m_current >= 1 && m_current <= all.size())
        all[m_current - 1] = TabStops::make(twips, TabStops::typeCode(all.at(m_current - 1).type));
    else if (m_current == all.size() + 1)
        all.append(TabStops::make(twips, 1)); // the next index adds a stop
    else
        return;
    apply(all);
    // The current index follows the stop to its sorted place.
    const int at = TabStops::indexAt(tabs(), twips);
    if (at >= 0)
        m_current = at + 1;
}

int TabStopEditing::count() const { return int(tabs().size()); }

void TabStopEditing::add(int twips, int type)
{
    auto all = tabs();
    if (TabStops::indexAt(all, twips) >= 0)
        return;
    all.append(TabStops::make(twips, type));
    apply(all);
}

void TabStopEditing::remove(int index)
{
    auto all = tabs();
    if (index < 1 || index > all.size())
        return;
    all.removeAt(index - 1);
    apply(all);
}
