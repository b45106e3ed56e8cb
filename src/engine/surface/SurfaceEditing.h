#pragma once
// The surface's editing members for the part being edited (the body, or a header or
// footer in a page view): selection, text at the caret, the clipboard and undo. Body
// edits are labelled with their undo kind; a part's edits go to its own editor.

#include <QString>

class TextControl;
class UndoKindTracker;

class SurfaceEditing {
public:
    SurfaceEditing(TextControl& surface, UndoKindTracker& undo) : m_surface(surface), m_undo(undo) {}

    void setSelText(const QString& text);
    void setSelStart(int pos);
    void setSelLength(int length);
    // 1 cut, 2 copy, 3 paste, 4 delete the selection.
    void clip(int action);
    void undo();
    void redo();
    bool canPaste() const;
    int undoKind() const;
    int redoKind() const;

private:
    TextControl& m_surface;
    UndoKindTracker& m_undo;
};
