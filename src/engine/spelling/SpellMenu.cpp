#include "SpellMenu.h"

#include "SpellChecker.h"
#include "SpellMarks.h"
#include "engine/surface/TextControl.h"

#include <QMenu>
#include <QTextBlock>
#include <QTextLayout>

namespace SpellMenu {

QMenu* forWordAt(TextControl* surface, const QPoint& pos, QWidget* parent)
{
    SpellMarks* marks = surface->spellMarks();
    SpellChecker* checker = marks->checker();
    if (!checker || !marks->isEnabled())
        return nullptr;
    const QTextCursor hit = surface->cursorAt(pos);
    QTextCursor word = marks->markedWordAt(hit.position());
    if (word.isNull())
        return nullptr;
    const QString text = word.selectedText();
    auto* menu = new QMenu(parent);
    const QStringList offers = checker->suggestions(text);
    for (const QString& s : offers) {
        QObject::connect(menu->addAction(s), &QAction::triggered, surface, [word, s]() mutable {
            // One edit block: one undo step, the word's own character format kept.
            word.beginEditBlock();
            QTextCursor first(word.document());
            first.setPosition(word.selectionStart() + 1);
            word.insertText(s, first.charFormat());
            word.endEditBlock();
        });
    }
    if (offers.isEmpty())
        menu->addAction(QStringLiteral("(Keine Vorschläge)"))->setEnabled(false);
    menu->addSeparator();
    const int wordStart = word.selectionStart() - word.block().position();
    const QTextBlock block = word.block();
    QObject::connect(menu->addAction(QStringLiteral("&Ignorieren")), &QAction::triggered, surface,
                     [marks, block, wordStart]() { marks->ignoreOnce(block, wordStart); });
    QObject::connect(menu->addAction(QStringLiteral("&Alle ignorieren")), &QAction::triggered, surface,
                     [marks, checker, text]() {
                         checker->ignoreAll(text);
                         marks->recheckAll();
                     });
    QObject::connect(menu->addAction(QStringLiteral("Zum &Wörterbuch hinzufügen")), &QAction::triggered,
                     surface, [marks, checker, text]() {
                         checker->addToDictionary(text);
                         marks->recheckAll();
                     });
    return menu;
}

} // namespace SpellMenu
