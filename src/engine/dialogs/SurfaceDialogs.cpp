#include "SurfaceDialogs.h"

#include "ListDialog.h"
#include "ParagraphDialog.h"
#include "StyleDialog.h"
#include "TabDialog.h"
#include "TableSettingsDialog.h"

#include "app/Prompter.h"
#include "engine/BlockRange.h"
#include "engine/objects/Lists.h"
#include "engine/objects/TabStops.h"
#include "engine/surface/TextControl.h"
#include "engine/surface/UndoKindTracker.h"

#include <QTextTable>

namespace SurfaceDialogs {

namespace {

// The editor the selection lives in: the header or footer being edited, else the body.
QTextEdit* editorOf(TextControl* s) {
    if (s->HeaderFooterActive() && s->headerFooterEditor())
        return s->headerFooterEditor();
    return s;
}

// Runs `write` on the editor's cursor as one formatting step of the surface.
template <typename Fn> void asOneStep(TextControl* s, Fn write) {
    QTextEdit* editor = editorOf(s);
    QTextCursor c = editor->textCursor();
    s->beginEditStep(UndoKindTracker::Formatting);
    c.beginEditBlock();
    write(c);
    c.endEditBlock();
    s->endEditStep();
    editor->setTextCursor(c);
    s->setFocus();
}

// Merges paragraph formats; tab stops stay where they stand on the page when the
// indent moves.
void mergeBlocks(const QTextCursor& c, const QTextBlockFormat& changes) {
    forEachSelectedBlock(c, [&](const QTextBlock& b) {
        const QTextBlockFormat before = b.blockFormat();
        QTextCursor bc(b);
        bc.mergeBlockFormat(changes);
        QTextBlockFormat f = bc.blockFormat();
        TabStops::keepOnPage(f, before);
        bc.setBlockFormat(f);
    });
}

} // namespace

bool paragraph(TextControl* s) {
    ParagraphDialog dlg(editorOf(s)->textCursor().blockFormat(), s);
    if (prompter().exec(&dlg) != QDialog::Accepted)
        return false;
    const QTextBlockFormat changes = dlg.changes();
    if (changes.properties().isEmpty())
        return false;
    asOneStep(s, [&](QTextCursor& c) { mergeBlocks(c, changes); });
    return true;
}

bool listAttributes(TextControl* s) {
    ListAttributes now;
    now.type = s->ListType();
    const bool bullets = now.type == Lists::Bullets;
    now.style = s->NumberingAttribute(1);
    now.level = bullets ? s->BulletAttribute(2) : s->NumberingAttribute(3);
    now.markerIndent = bullets ? s->BulletAttribute(3) : s->NumberingAttribute(4);
    now.textIndent = bullets ? s->BulletAttribute(5) : s->NumberingAttribute(9);
    ListDialog dlg(now, s);
    if (prompter().exec(&dlg) != QDialog::Accepted)
        return false;
    const ListAttributes a = dlg.attributes();
    if (a == now)
        return false;
    asOneStep(s, [&](QTextCursor&) {
        if (a.type == Lists::Bullets) {
            s->setBulletAttribute(2, a.level);
            s->setBulletAttribute(3, a.markerIndent);
            s->setBulletAttribute(5, a.textIndent);
        } else if (a.type == Lists::Numbers) {
            s->setNumberingAttribute(1, a.style);
            s->setNumberingAttribute(3, a.level);
            s->setNumberingAttribute(4, a.markerIndent);
            s->setNumberingAttribute(9, a.textIndent);
        }
        s->setListType(a.type);
    });
    return true;
}

bool tabs(TextControl* s) {
    const QList<QTextOption::Tab> before = TabStops::fromMargin(editorOf(s)->textCursor().blockFormat());
    TabDialog dlg(before, s);
    if (prompter().exec(&dlg) != QDialog::Accepted)
        return false;
    QList<QTextOption::Tab> after = dlg.tabs();
    QList<QTextOption::Tab> sortedBefore = before;
    TabStops::sort(sortedBefore);
    if (after == sortedBefore)
        return false;
    asOneStep(s, [&](QTextCursor& c) {
        forEachSelectedBlock(c, [&](const QTextBlock& b) {
            QTextBlockFormat f = b.blockFormat();
            TabStops::setFromMargin(f, after);
            QTextCursor(b).setBlockFormat(f);
        });
    });
    return true;
}

bool style(TextControl* s) {
    QTextEdit* editor = editorOf(s);
    StyleDialog dlg(editor->document()->defaultFont(),
                    editor->textCursor().blockFormat().headingLevel(), s);
    if (prompter().exec(&dlg) != QDialog::Accepted)
        return false;
    const ParagraphStyle chosen = dlg.chosen();
    if (chosen.name.isEmpty())
        return false;
    asOneStep(s, [&](QTextCursor& c) {
        mergeBlocks(c, chosen.block);
        // A style takes whole paragraphs, characters included.
        forEachSelectedBlock(c, [&](const QTextBlock& b) {
            QTextCursor bc(b);
            bc.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            bc.mergeCharFormat(chosen.chars);
            QTextCursor(b).mergeBlockCharFormat(chosen.chars);
        });
    });
    return true;
}

bool tableSettings(TextControl* s) {
    QTextTable* table = s->textCursor().currentTable();
    if (!table) {
        prompter().message(s, QStringLiteral("Tabelle"),
                           QStringLiteral("Die Einfügemarke steht in keiner Tabelle."),
                           QMessageBox::Ok);
        return false;
    }
    TableSettingsDialog dlg(table->format(), s);
    if (prompter().exec(&dlg) != QDialog::Accepted)
        return false;
    const QTextTableFormat changes = dlg.changes();
    if (changes.properties().size() <= 1) // the object type alone
        return false;
    asOneStep(s, [&](QTextCursor&) {
        QTextTableFormat f = table->format();
        f.merge(changes);
        table->setFormat(f);
    });
    return true;
}

} // namespace SurfaceDialogs
