#pragma once
// Labels every undo step of a QTextDocument with a kind (typing, deleting,
// formatting, other) so that the edit menu can name what Undo and Redo would do.
//
// Each labelled step is one edit block that carries a marker undo item; Qt calls the
// marker when it undoes or redoes that block, which keeps our position in step with
// Qt's own stack. Consecutive typing (or deleting) joins the previous block the way
// Qt merges keystrokes. Steps that others add without a label count as "other".

#include <QList>
#include <QObject>
#include <QTextCursor>

class QTextDocument;

class UndoKindTracker : public QObject {
    Q_OBJECT
public:
    enum Kind { None = 0, Typing = 1, Deleting = 2, Formatting = 3, Other = 4 };

    explicit UndoKindTracker(QTextDocument* doc, QObject* parent = nullptr);
    ~UndoKindTracker() override;

    // Opens a step of `kind`. With `joinable` the step may be merged into the previous
    // one when that was a joinable step of the same kind that ended at `caret` and
    // nothing happened since. Steps nest; only the outermost counts.
    void begin(Kind kind, bool joinable = false, int caret = -1);
    // Closes the step; `caretAfter` is where a following joinable step must start.
    void end(int caretAfter = -1);

    void undo();
    void redo();
    // Forgets all steps (after the document's stacks were cleared).
    void reset();

    int undoKind() const; // 0 or 1..4
    int redoKind() const; // 0 or 10..13
    int stepCount() const { return int(m_kinds.size()); }
    int position() const { return m_index; }

private:
    class Marker;
    friend class Marker;
    void onCommandAdded();
    void markerCalled(int index, bool undone);

    QTextDocument* m_doc;
    QTextCursor m_blockCursor;
    QList<int> m_kinds;
    int m_index = 0;       // steps that can be undone
    int m_depth = 0;       // nesting of begin/end
    Kind m_kind = None;
    bool m_joined = false;
    int m_commandsBefore = 0;
    bool m_inEnd = false;
    bool m_markerCalled = false;
    // The last step, when later typing may join it.
    bool m_lastJoinable = false;
    int m_lastCaret = -1;
};
