#include "UndoKindTracker.h"

#include <QAbstractUndoItem>
#include <QPointer>
#include <QTextDocument>

class UndoKindTracker::Marker : public QAbstractUndoItem {
public:
    Marker(UndoKindTracker* t, int index) : m_tracker(t), m_index(index) {}
    void undo() override
    {
        if (m_tracker)
            m_tracker->markerCalled(m_index, true);
    }
    void redo() override
    {
        if (m_tracker)
            m_tracker->markerCalled(m_index, false);
    }

private:
    QPointer<UndoKindTracker> m_tracker;
    int m_index;
};

UndoKindTracker::UndoKindTracker(QTextDocument* doc, QObject* parent)
    : QObject(parent), m_doc(doc), m_blockCursor(doc)
{
    connect(doc, &QTextDocument::undoCommandAdded, this, &UndoKindTracker::onCommandAdded);
}

UndoKindTracker::~UndoKindTracker() = default;

void UndoKindTracker::begin(Kind kind, bool joinable, int caret)
{
    if (m_depth++ > 0)
        return;
    m_kind = kind;
    m_joined = joinable && m_lastJoinable && caret == m_lastCaret && m_index == m_kinds.size()
               && m_index > 0 && m_kinds.at(m_index - 1) == kind && m_doc->isUndoAvailable()
               && !m_doc->isRedoAvailable();
    m_commandsBefore = m_doc->availableUndoSteps();
    if (m_joined)
        m_blockCursor.joinPreviousEditBlock();
    else
        m_blockCursor.beginEditBlock();
    m_lastJoinable = joinable;
}

void UndoKindTracker::end(int caretAfter)
{
    if (m_depth == 0 || --m_depth > 0)
        return;
    m_inEnd = true;
    const bool recorded = m_doc->availableUndoSteps() > m_commandsBefore;
    if (recorded && !m_joined) {
        m_kinds.resize(m_index);
        m_kinds.append(m_kind);
        m_doc->appendUndoItem(new Marker(this, m_index));
        ++m_index;
    }
    m_blockCursor.endEditBlock();
    m_inEnd = false;
    if (!recorded && !m_joined)
        m_lastJoinable = false;
    m_lastCaret = caretAfter;
}

void UndoKindTracker::onCommandAdded()
{
    if (m_inEnd || m_depth > 0)
        return;
    // A step someone added without a label.
    m_kinds.resize(m_index);
    m_kinds.append(Other);
    ++m_index;
    m_lastJoinable = false;
}

void UndoKindTracker::markerCalled(int index, bool undone)
{
    m_markerCalled = true;
    m_index = undone ? index : index + 1;
}

void UndoKindTracker::undo()
{
    if (!m_doc->isUndoAvailable())
        return;
    m_markerCalled = false;
    m_doc->undo();
    if (!m_markerCalled && m_index > 0)
        --m_index; // an unlabelled step
    m_lastJoinable = false;
}

void UndoKindTracker::redo()
{
    if (!m_doc->isRedoAvailable())
        return;
    m_markerCalled = false;
    m_doc->redo();
    if (!m_markerCalled && m_index < m_kinds.size())
        ++m_index;
    m_lastJoinable = false;
}

void UndoKindTracker::reset()
{
    m_kinds.clear();
    m_index = 0;
    m_lastJoinable = false;
}

int UndoKindTracker::undoKind() const
{
    if (!m_doc->isUndoAvailable() || m_index <= 0 || m_index > m_kinds.size())
        return m_doc->isUndoAvailable() ? Other : None;
    return m_kinds.at(m_index - 1);
}

int UndoKindTracker::redoKind() const
{
    if (!m_doc->isRedoAvailable() || m_index >= m_kinds.size())
        return m_doc->isRedoAvailable() ? Other + 9 : None;
    return m_kinds.at(m_index) + 9;
}
