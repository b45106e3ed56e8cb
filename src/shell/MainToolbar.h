#pragma once
// The frame's main toolbar: its buttons in order, each an action whose objectName is
// the button's key, with the German tooltip and an icon.

#include <QList>
#include <QString>

class QToolBar;
class QWidget;

namespace MainToolbar {

struct Button {
    QString key;
    QString tooltip;
    QString icon; // resource path
    bool groupEnd = false; // a separator follows
};

const QList<Button>& buttons();

// Creates "Toolbar1" with every button; the tool buttons carry the keys as well.
QToolBar* build(QWidget* parent);

} // namespace MainToolbar
