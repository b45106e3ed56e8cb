#include "DocumentFile.h"

#include "app/SafeSave.h"
#include "engine/formats/InputFile.h"

#include <QDir>
#include <QFile>

bool DocumentFile::read(const QString& path, int offset, QByteArray* data, QString* error)
{
    return InputFile::read(path, offset, data, error);
}

bool DocumentFile::write(const QString& path, int offset, const QByteArray& body, QString* error)
{
    QByteArray head;
    if (offset > 0) {
        QFile old(path);
        if (old.open(QIODevice::ReadOnly))
            head = old.read(offset);
        head.append(QByteArray(offset - head.size(), '\0'));
    }
    return SafeSave::saveFile(path, head + body, error);
}

bool DocumentFile::write(const QString& path, const QByteArray& head, const QByteArray& body, QString* error)
{
    return SafeSave::saveFile(path, head + body, error);
}
