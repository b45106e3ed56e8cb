#pragma once
// Turns files dropped on a widget into documents: a drop of local files opens the
// first one through `open` instead of letting the widget insert the file's address
// as text. Drops of text, and of fragments dragged inside the program, pass through.

#include <QObject>
#include <functional>

class QMimeData;

class FileDropFilter : public QObject {
public:
    using Opener = std::function<void(const QString& path)>;
    FileDropFilter(QObject* parent, Opener open);

    // The first local file a drop would open; empty when the drop carries none.
    static QString droppedFile(const QMimeData* data);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Opener m_open;
};
