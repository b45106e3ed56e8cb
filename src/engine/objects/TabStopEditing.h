#pragma once
// The tab stops of the caret's paragraph as the surface's members see them: one is
// current (1-based); type and position describe it, positions in twips from the page
// margin. Changes go to every selected paragraph as one formatting step.

#include <QList>
#include <QTextOption>

class QTextEdit;
class UndoKindTracker;

class TabStopEditing {
public:
    TabStopEditing(QTextEdit& editor, UndoKindTracker& undo) : m_editor(editor), m_undo(undo) {}

    int current() const { return m_current; }
    void setCurrent(int index) { m_current = index; }
    int type() const;
    void setType(int type);
    int position() const;
    // The index after the last adds a stop; the current index follows the stop.
    void setPosition(int twips);
    int count() const;
    void add(int twips, int type);
    void remove(int index);

private:
    QList<QTextOption::Tab> tabs() const;
    void apply(const QList<QTextOption::Tab>& tabs);

    QTextEdit& m_editor;
    UndoKindTracker& m_undo;
    int m_current = 1;
};
