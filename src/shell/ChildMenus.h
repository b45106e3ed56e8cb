#pragma once
// Builds the menu bar of a document window: every menu with its captions, access
// keys and shortcuts. Items are found by objectName; the window connects them.
// Items whose commands are not built yet are present and disabled.

#include <QList>

class QMenu;
class QWidget;

namespace ChildMenus {

// Creates the menus as children of `owner`, in menu-bar order.
QList<QMenu*> build(QWidget* owner);

} // namespace ChildMenus
