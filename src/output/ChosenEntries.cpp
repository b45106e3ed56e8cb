#include "ChosenEntries.h"

void ChosenEntries::resize(int rows)
{
    m_slots = QStringList();
    m_slots.resize(qMax(0, rows) + 1);
}

void ChosenEntries::add(int index, const QString& text)
{
    m_chosen << text;
    // A row added to the table after the window opened has no slot.
    if (index >= 0 && index < m_slots.size())
        m_slots[index] = text;
}

void ChosenEntries::keep(int index, const QString& text)
{
    if (index >= 0 && index < m_slots.size())
        m_slots[index] = text;
}

bool ChosenEntries::remove(int row, const QStringList& leftEntries)
{
    if (row < 0 || row >= m_chosen.size())
        return false;
    const QString text = m_chosen.takeAt(row);
    for (int i = 0; i < leftEntries.size() && i < m_slots.size(); ++i)
        if (leftEntries[i] == text)
            m_slots[i].clear();
    return true;
}

void ChosenEntries::clear()
{
    m_chosen.clear();
    for (QString& s : m_slots)
        s.clear();
}

void ChosenEntries::takeAll(const QStringList& leftEntries)
{
    clear();
    for (int i = 0; i < leftEntries.size(); ++i)
        add(i, leftEntries[i]);
}

QList<int> ChosenEntries::letters(const QStringList& leftEntries) const
{
    QList<int> out;
    const int n = qMin(int(leftEntries.size()), int(m_slots.size()));
    for (int i = 0; i < n; ++i)
        if (!m_slots[i].isEmpty() && m_slots[i] == leftEntries[i])
            out << i;
    return out;
}
