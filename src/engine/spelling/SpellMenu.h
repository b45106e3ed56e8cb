#pragma once
// The menu a right click on a marked word shows: the checker's suggestions, then
// "Ignorieren", "Alle ignorieren" and "Zum Wörterbuch hinzufügen".

class QMenu;
class QPoint;
class QWidget;
class TextControl;

namespace SpellMenu {

// The menu for the marked word under viewport point `pos`, or null when no marked
// word is there. The caller owns the menu; its actions do the work when triggered.
QMenu* forWordAt(TextControl* surface, const QPoint& pos, QWidget* parent);

} // namespace SpellMenu
