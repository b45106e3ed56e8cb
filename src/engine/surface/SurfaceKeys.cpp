#include "SurfaceKeys.h"

#include "engine/Sections.h"
#include "engine/objects/Tables.h"
#include "TextControl.h"
#include "UndoKindTracker.h"

#include <QKeyEvent>
#include <QTextBlock>
#include <QTextDocument>

namespace SurfaceKeys {

namespace {
// Soft hyphens of hyphenated paragraphs are invisible inside a line: the caret passes
// them with the letter beside them, and deleting takes that letter, not the hyphen the
// paragraph would get back at once.
bool softHyphenAt(const QTextDocument* d, int pos) { return pos >= 0 && d->characterAt(pos) == QChar::SoftHyphen; }

void stepOverSoftHyphen(TextControl& s, int key)
{
    QTextCursor c = s.textCursor();
    if (c.hasSelection())
        return;
    const int pos = c.position();
    if (key == Qt::Key_Backspace && softHyphenAt(s.document(), pos - 1))
        c.setPosition(pos - 1);
    else if (key == Qt::Key_Delete && softHyphenAt(s.document(), pos))
        c.setPosition(pos + 1);
    else
        return;
    s.setTextCursor(c);
}
// Enter copies the paragraph's format into the new one: a page break before it would
// start yet another page (and section). It stays with the first half only.
void keepPageBreakAbove(QTextCursor c)
{
    const QTextBlockFormat f = c.blockFormat();
    if (c.block().previous().blockFormat().pageBreakPolicy() & f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) {
        QTextBlockFormat plain = f;
        plain.setPageBreakPolicy(f.pageBreakPolicy() & ~QTextFormat::PageBreak_AlwaysBefore);
        plain.clearProperty(Sections::PageProperty);
        c.setBlockFormat(plain);
    }
}
} // namespace

void press(TextControl& s, UndoKindTracker& undo, QKeyEvent* e, const std::function<void(QKeyEvent*)>& plain)
{
    if (e->matches(QKeySequence::Undo)) {
        s.Undo();
        return;
    }
    if (e->matches(QKeySequence::Redo) || (e->key() == Qt::Key_Y && e->modifiers() == Qt::ControlModifier)) {
        s.Redo();
        return;
    }
    if (e->matches(QKeySequence::Cut)) {
        s.Clip(1);
        return;
    }
    if (e->matches(QKeySequence::Paste)) {
        s.Clip(3);
        return;
    }
    // Alt with a letter that no menu took is no typing: as on Windows, nothing is
    // typed and the window may use the key.
    const Qt::KeyboardModifiers mods = e->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (mods == Qt::AltModifier && !e->text().isEmpty() && e->text().at(0).isPrint()) {
        e->ignore();
        return;
    }
    if (s.isReadOnly()) {
        plain(e);
        return;
    }
    // In a table Tab and Shift+Tab go from cell to cell.
    if ((e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab) && !(e->modifiers() & Qt::ControlModifier)
        && s.textCursor().currentTable()) {
        QTextCursor c = s.textCursor();
        const bool back = e->key() == Qt::Key_Backtab || (e->modifiers() & Qt::ShiftModifier);
        const bool grows = !back && Tables::tabAddsRow(c);
        if (grows)
            undo.begin(UndoKindTracker::Other);
        Tables::moveByTab(c, back);
        if (grows)
            undo.end();
        s.setTextCursor(c);
        s.ensureCursorVisible();
        return;
    }
    UndoKindTracker::Kind kind = UndoKindTracker::None;
    const int key = e->key();
    if (key == Qt::Key_Backspace || key == Qt::Key_Delete || e->matches(QKeySequence::DeleteStartOfWord)
        || e->matches(QKeySequence::DeleteEndOfWord)) {
        kind = UndoKindTracker::Deleting;
    } else if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab) {
        kind = UndoKindTracker::Typing;
    } else if (!e->text().isEmpty() && e->text().at(0).isPrint()
               && (!(e->modifiers() & Qt::ControlModifier) || (e->modifiers() & Qt::AltModifier))) {
        // Ctrl+Alt is AltGr on some systems: it types "@", "€", "{".
        kind = UndoKindTracker::Typing;
    }
    if (kind == UndoKindTracker::None) {
        const int was = s.textCursor().position();
        plain(e);
        const int now = s.textCursor().position();
        if ((key == Qt::Key_Left || key == Qt::Key_Right) && qAbs(now - was) == 1
            && softHyphenAt(s.document(), qMin(now, was)))
            plain(e);
        return;
    }
    stepOverSoftHyphen(s, key);
    const QTextCursor before = s.textCursor();
    // Typing into a selection replaces it: that starts a step of its own.
    undo.begin(kind, !before.hasSelection() && key != Qt::Key_Return && key != Qt::Key_Enter, before.position());
    plain(e);
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        keepPageBreakAbove(s.textCursor());
    undo.end(s.textCursor().position());
    s.ensureCursorVisible(); // laid out only now that the step is closed
}

} // namespace SurfaceKeys
