#include "FileDropFilter.h"

#include "engine/surface/FragmentMimeData.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

FileDropFilter::FileDropFilter(QObject* parent, Opener open) : QObject(parent), m_open(std::move(open)) {}

QString FileDropFilter::droppedFile(const QMimeData* data)
{
    // Text moved within or between our own documents also carries no file.
    if (!data || !data->hasUrls() || data->hasFormat(FragmentMimeData::mimeType()))
        return {};
    const QList<QUrl> urls = data->urls();
    return urls.first().isLocalFile() ? urls.first().toLocalFile() : QString();
}

bool FileDropFilter::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* e = static_cast<QDragMoveEvent*>(event);
        if (droppedFile(e->mimeData()).isEmpty())
            break;
        e->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* e = static_cast<QDropEvent*>(event);
        const QString path = droppedFile(e->mimeData());
        if (path.isEmpty())
            break;
        e->acceptProposedAction();
        m_open(path);
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
