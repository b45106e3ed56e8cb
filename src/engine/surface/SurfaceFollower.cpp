#include "SurfaceFollower.h"

#include "TextControl.h"

#include <QTimer>

SurfaceFollower::SurfaceFollower(QObject* owner, std::function<void()> refresh)
    : QObject(owner), m_refresh(std::move(refresh))
{
}

void SurfaceFollower::follow(TextControl* surface)
{
    for (const auto& c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    m_surface = surface;
    if (surface) {
        keep(connect(surface, &TextControl::PosChange, this, &SurfaceFollower::schedule));
        keep(connect(surface, &TextControl::Change, this, &SurfaceFollower::schedule));
        keep(connect(surface, &QObject::destroyed, this, [this] { follow(nullptr); }));
    }
    m_refresh();
}

void SurfaceFollower::schedule()
{
    // A keystroke brings several notifications; one refresh after them is enough.
    if (m_pending)
        return;
    m_pending = true;
    QTimer::singleShot(0, this, [this] {
        m_pending = false;
        m_refresh();
    });
}
