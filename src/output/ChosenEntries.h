#pragma once
// The choice of the mail-merge window: the texts in the right-hand list, in the order
// they were chosen, and one slot per row of the address table. Slot i holds the text
// of left-list entry i while it is chosen. A letter is written for entry i exactly when
// its slot still equals the entry's text, so letters follow the left list's order and
// a name chosen twice still gives one letter.

#include <QList>
#include <QString>
#include <QStringList>

class ChosenEntries {
public:
    // Slots 0..rows (the row count at window load), all empty; sized again only
    // after an import.
    void resize(int rows);
    int slotCount() const { return int(m_slots.size()); }
    QString slot(int index) const { return m_slots.value(index); }

    // The right-hand list.
    const QStringList& chosen() const { return m_chosen; }
    bool isEmpty() const { return m_chosen.isEmpty(); }

    // Appends `text` to the right-hand list and stores it in slot `index`; an index
    // beyond the slots is only appended (it gives no letter).
    void add(int index, const QString& text);
    // Stores `text` in slot `index` for an entry already in the right-hand list (the
    // list was read again and the entry moved).
    void keep(int index, const QString& text);
    // Removes right-hand entry `row` and empties the slot of every left entry with the
    // same text. False when `row` is no entry.
    bool remove(int row, const QStringList& leftEntries);
    // Empties the right-hand list and every slot.
    void clear();
    // Everything in `leftEntries`, in order, after emptying.
    void takeAll(const QStringList& leftEntries);

    // The left-list indices that get a letter, in left-list order.
    QList<int> letters(const QStringList& leftEntries) const;

private:
    QStringList m_chosen;
    QStringList m_slots;
};
