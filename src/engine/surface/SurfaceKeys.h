#pragma once
// The surface's keys before Qt's own handling: undo and redo with their kinds, cut and
// paste through the surface's members, Tab between table cells, typing and deleting
// labelled as undo steps, and Alt with a letter left to the window's menus.

#include <functional>

class QKeyEvent;
class TextControl;
class UndoKindTracker;

namespace SurfaceKeys {

// `plain` runs Qt's own handling of the key.
void press(TextControl& s, UndoKindTracker& undo, QKeyEvent* e, const std::function<void(QKeyEvent*)>& plain);

} // namespace SurfaceKeys
