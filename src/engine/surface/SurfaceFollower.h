#pragma once
// Ties a companion widget (ruler, formatting bar, status bar) to one editing surface:
// it refreshes the companion once after each burst of the surface's notifications and
// lets go when the surface is replaced or destroyed.

#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

class TextControl;

class SurfaceFollower : public QObject {
    Q_OBJECT
public:
    SurfaceFollower(QObject* owner, std::function<void()> refresh);

    // nullptr lets go. Refreshes at once.
    void follow(TextControl* surface);
    TextControl* surface() const { return m_surface; }
    // Further notifications that schedule a refresh; dropped with the surface.
    void keep(const QMetaObject::Connection& c) { m_connections.append(c); }
    void schedule();

private:
    QPointer<TextControl> m_surface;
    QList<QMetaObject::Connection> m_connections;
    std::function<void()> m_refresh;
    bool m_pending = false;
};
