#include "InputFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace InputFile {

namespace {

QString causeOf(int err)
{
    switch (err) {
    case ENOENT: return QStringLiteral("Die Datei existiert nicht.");
    case ENOTDIR: return QStringLiteral("Ein Teil des Pfades ist kein Ordner.");
    case EACCES:
    case EPERM: return QStringLiteral("Sie haben keine Berechtigung, die Datei zu lesen.");
    case EISDIR: return QStringLiteral("Unter diesem Namen gibt es einen Ordner, keine Datei.");
    case ELOOP: return QStringLiteral("Der Pfad enthält zu viele symbolische Verknüpfungen (vermutlich eine Schleife).");
    case ENAMETOOLONG: return QStringLiteral("Der Dateiname ist zu lang.");
    case EIO: return QStringLiteral("Der Datenträger meldet einen Lesefehler.");
    case EMFILE:
    case ENFILE: return QStringLiteral("Es sind zu viele Dateien geöffnet.");
    case ENOMEM: return QStringLiteral("Der Arbeitsspeicher reicht nicht aus.");
    default: return QStringLiteral("Systemfehler %1.").arg(err);
    }
}

QString failure(const QString& path, const QString& cause)
{
    return QStringLiteral("Die Datei \"%1\" kann nicht geöffnet werden: %2").arg(QDir::toNativeSeparators(path), cause);
}

QString megabytes(qint64 bytes) { return QString::number(bytes / (1024 * 1024)); }

// Opens without blocking (a named pipe would wait for a writer) and checks the kind
// and size on the open descriptor, so the file cannot change in between.
int openRegular(const QString& path, qint64 limit, qint64* size, QString* error)
{
    if (path.isEmpty()) {
        *error = failure(path, causeOf(ENOENT));
        return -1;
    }
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *error = failure(path, causeOf(errno));
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        *error = failure(path, causeOf(errno));
        ::close(fd);
        return -1;
    }
    if (S_ISDIR(st.st_mode)) {
        *error = failure(path, causeOf(EISDIR));
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(st.st_mode)) {
        *error = failure(path, QStringLiteral("Sie ist keine gewöhnliche Datei, sondern ein Gerät oder eine Pipe."));
        ::close(fd);
        return -1;
    }
    if (st.st_size > limit) {
        *error = failure(path, QStringLiteral("Sie ist größer als %1 MB.").arg(megabytes(limit)));
        ::close(fd);
        return -1;
    }
    // Back to blocking reads: a regular file never waits, but a network file may.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    *size = st.st_size;
    return fd;
}

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

} // namespace

bool read(const QString& path, qint64 offset, QByteArray* data, QString* error, qint64 limit)
{
    QString why;
    qint64 size = 0;
    const int fd = openRegular(path, limit, &size, &why);
    if (fd < 0) {
        setError(error, why);
        return false;
    }
    QFile f;
    if (!f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        setError(error, failure(path, causeOf(EIO)));
        return false;
    }
    // Never more than the limit, even when the file grows while it is read.
    if (offset > 0)
        f.seek(qMin(offset, size));
    *data = f.read(limit - qMin(offset, size) + 1);
    if (data->size() > limit) {
        data->clear();
        setError(error, failure(path, QStringLiteral("Sie ist größer als %1 MB.").arg(megabytes(limit))));
        return false;
    }
    if (f.error() != QFileDevice::NoError) {
        data->clear();
        setError(error, failure(path, causeOf(EIO)));
        return false;
    }
    return true;
}

namespace {

QImage decode(QIODevice* device, QString* error)
{
    QImageReader reader(device);
    reader.setAllocationLimit(MaxPictureMegabytes);
    reader.setAutoTransform(true);
    const QImage img = reader.read();
    if (img.isNull())
        setError(error, QStringLiteral("Das Bild kann nicht gelesen werden (%1 MB Speicher für die Bildpunkte "
                                       "reichen nicht aus, oder das Format ist unbekannt).")
                            .arg(MaxPictureMegabytes));
    return img;
}

} // namespace

QImage readPicture(const QString& path, QString* error)
{
    QByteArray bytes;
    if (!read(path, 0, &bytes, error, MaxPictureBytes))
        return {};
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return decode(&buffer, error);
}

QImage decodePicture(const QByteArray& bytes)
{
    if (bytes.isEmpty() || bytes.size() > MaxPictureBytes)
        return {};
    QBuffer buffer(const_cast<QByteArray*>(&bytes));
    buffer.open(QIODevice::ReadOnly);
    return decode(&buffer, nullptr);
}

} // namespace InputFile
