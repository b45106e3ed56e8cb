#include "DocumentFile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

bool DocumentFile::read(const QString& path, int offset, QByteArray* data, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Die Datei \"%1\" kann nicht geöffnet werden.").arg(QDir::toNativeSeparators(path));
        return false;
    }
    *data = f.readAll();
    if (offset > 0)
        data->remove(0, qMin<qsizetype>(offset, data->size()));
    return true;
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
    const QString shown = QDir::toNativeSeparators(path);
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden. Prüfen Sie, ob der "
                                "Ordner existiert und beschreibbar ist.")
                     .arg(shown);
        return false;
    }
    if (out.write(head) != head.size() || out.write(body) != body.size() || !out.commit()) {
        out.cancelWriting();
        *error = QStringLiteral("Beim Schreiben der Datei \"%1\" ist ein Fehler aufgetreten. Die "
                                "bisherige Datei ist unverändert.")
                     .arg(shown);
        return false;
    }
    return true;
}
