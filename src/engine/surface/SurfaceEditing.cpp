#include "SurfaceEditing.h"

#include "engine/pages/Paginator.h"
#include "TextControl.h"
#include "UndoKindTracker.h"

#include <QTextDocument>

void SurfaceEditing::setSelText(const QString& text)
{
    if (QTextEdit* part = m_surface.activePartEditor()) {
        QTextCursor c = part->textCursor();
        c.beginEditBlock();
        c.removeSelectedText();
        Paginator::insertText(c, text);
        c.endEditBlock();
        part->setTextCursor(c);
        return;
    }
    QTextCursor c = m_surface.textCursor();
    m_undo.begin(UndoKindTracker::Typing);
    c.beginEditBlock();
    c.removeSelectedText();
    Paginator::insertText(c, text);
    c.endEditBlock();
    m_undo.end();
    m_surface.setTextCursor(c);
}

void SurfaceEditing::setSelStart(int pos)
{
    QTextEdit* editor = m_surface.activeEditor();
    QTextCursor c = editor->textCursor();
    const int end = qMax(0, m_surface.activePart()->characterCount() - 1);
    c.setPosition(qBound(0, pos, end));
    editor->setTextCursor(c);
}

void SurfaceEditing::setSelLength(int length)
{
    QTextEdit* editor = m_surface.activeEditor();
    QTextCursor c = editor->textCursor();
    const int start = c.selectionStart();
    const int end = qMax(0, m_surface.activePart()->characterCount() - 1);
    c.setPosition(start);
    c.setPosition(length < 0 ? end : qBound(start, start + length, end), QTextCursor::KeepAnchor);
    editor->setTextCursor(c);
}

void SurfaceEditing::clip(int action)
{
    if (QTextEdit* part = m_surface.activePartEditor()) {
        QTextCursor c = part->textCursor();
        if (action == 1 && c.hasSelection())
            part->cut();
        else if (action == 2 && c.hasSelection())
            part->copy();
        else if (action == 3)
            part->paste();
        else if (action == 4 && c.hasSelection()) {
            c.removeSelectedText();
            part->setTextCursor(c);
        }
        return;
    }
    TextControl& s = m_surface;
    switch (action) {
    case 1:
        if (!s.textCursor().hasSelection())
            return;
        m_undo.begin(UndoKindTracker::Deleting);
        s.cut();
        m_undo.end();
        break;
    case 2:
        if (s.textCursor().hasSelection())
            s.copy();
        break;
    case 3:
        s.paste();
        break;
    case 4: {
        QTextCursor c = s.textCursor();
        if (!c.hasSelection())
            return;
        m_undo.begin(UndoKindTracker::Deleting);
        c.removeSelectedText();
        m_undo.end();
        s.setTextCursor(c);
        break;
    }
    default: break;
    }
}

void SurfaceEditing::undo()
{
    if (QTextEdit* part = m_surface.activePartEditor()) {
        part->undo();
        return;
    }
    m_undo.undo();
    m_surface.ensureCursorVisible();
}

void SurfaceEditing::redo()
{
    if (QTextEdit* part = m_surface.activePartEditor()) {
        part->redo();
        return;
    }
    m_undo.redo();
    m_surface.ensureCursorVisible();
}

bool SurfaceEditing::canPaste() const
{
    const QTextEdit* editor = m_surface.activeEditor();
    return !editor->isReadOnly() && editor->canPaste();
}

// Steps of a header or footer carry no kind of their own: they count as "other".
int SurfaceEditing::undoKind() const
{
    if (m_surface.activePartEditor())
        return m_surface.CanUndo() ? UndoKindTracker::Other : 0;
    return m_undo.undoKind();
}

int SurfaceEditing::redoKind() const
{
    if (m_surface.activePartEditor())
        return m_surface.CanRedo() ? 10 + UndoKindTracker::Other - 1 : 0;
    return m_undo.redoKind();
}
