#pragma once
// Finding a document window's menu items by objectName and tying them to handlers.

#include <QAction>
#include <QMenu>
#include <QObject>

namespace MenuWiring {

inline QAction* item(const QObject* window, const QString& name) {
    return window->findChild<QAction*>(name);
}

template <typename Fn> void onTriggered(QObject* window, const QString& name, Fn fn) {
    if (QAction* a = item(window, name))
        QObject::connect(a, &QAction::triggered, window, fn);
}

template <typename Fn> void onShow(QObject* window, const QString& menuName, Fn fn) {
    if (auto* m = window->findChild<QMenu*>(menuName))
        QObject::connect(m, &QMenu::aboutToShow, window, fn);
}

inline void enable(const QObject* window, const QString& name, bool on) {
    if (QAction* a = item(window, name))
        a->setEnabled(on);
}

} // namespace MenuWiring
