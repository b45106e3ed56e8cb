#include "SafeSave.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryFile>

#include <cerrno>
#include <climits>
#include <unistd.h>

namespace SafeSave {

namespace {

QString g_journal;
DeviceWrapper g_wrapper;
bool g_refuseTemporary = false;
DirectWriteNotice g_directNotice;

// The journal holds one line while a save runs: target, backup copy (empty when the
// save goes through a temporary file) and the start time in ms since the epoch.
void beginJournal(const QString& target, const QString& backup)
{
    if (g_journal.isEmpty())
        return;
    QFile j(g_journal);
    if (!j.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return; // best effort: a save must not fail for want of its journal
    const QString line = QStringList{QFileInfo(target).absoluteFilePath(), backup,
                                     QString::number(QDateTime::currentMSecsSinceEpoch())}
                             .join(QLatin1Char('\t'));
    j.write(line.toUtf8() + '\n');
    j.flush();
    ::fsync(j.handle());
}

void endJournal()
{
    if (!g_journal.isEmpty())
        QFile::remove(g_journal);
}

// Writes through the test wrapper when one is set; the system error of a failure
// is kept in `err`.
bool writeAll(QIODevice* file, const QByteArray& bytes, int* err)
{
    std::unique_ptr<QIODevice> wrapped = g_wrapper ? g_wrapper(file) : nullptr;
    QIODevice* out = wrapped ? wrapped.get() : file;
    qsizetype done = 0;
    while (done < bytes.size()) {
        errno = 0;
        const qint64 n = out->write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            *err = errno ? errno : EIO;
            return false;
        }
        done += qsizetype(n);
    }
    return true;
}

// Flush, sync to disk and a size check: a full disk may surface only here.
bool settle(QFileDevice& f, qint64 expected, int* err)
{
    errno = 0;
    if (!f.flush() || f.error() != QFileDevice::NoError) {
        *err = errno ? errno : ENOSPC;
        return false;
    }
    if (::fsync(f.handle()) != 0) {
        *err = errno;
        return false;
    }
    if (f.size() != expected) {
        *err = ENOSPC;
        return false;
    }
    return true;
}

// When a call failed without telling why, the path itself often does.
int probedCause(const QString& path, int err)
{
    if (err != 0)
        return err;
    const QFileInfo info(path);
    if (info.fileName().toLocal8Bit().size() > NAME_MAX || path.toLocal8Bit().size() >= PATH_MAX)
        return ENAMETOOLONG;
    if (!info.absoluteDir().exists())
        return ENOENT;
    return EACCES;
}

bool fail(const QString& path, bool existed, int err, QString* error, const QString& extra = QString())
{
    QString text = QStringLiteral("Die Datei \"%1\" kann nicht gespeichert werden: %2")
                       .arg(QDir::toNativeSeparators(path), reasonText(probedCause(path, err)));
    if (!extra.isEmpty())
        text += QLatin1Char(' ') + extra;
    else if (existed)
        text += QStringLiteral(" Die bisherige Datei ist unverändert.");
    if (error)
        *error = text;
    return false;
}

bool rewrite(const QString& path, const QByteArray& bytes, int* err)
{
    QFile f(path);
    errno = 0;
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        *err = errno;
        return false;
    }
    qsizetype done = 0;
    while (done < bytes.size()) {
        const qint64 n = f.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            *err = errno ? errno : EIO;
            return false;
        }
        done += qsizetype(n);
    }
    return settle(f, bytes.size(), err);
}

// No temporary file beside the target: write the target itself. An old file is
// first copied to the temporary folder and put back when the write fails.
bool saveDirectly(const QString& path, const QByteArray& bytes, bool existed, QString* error)
{
    int err = 0;
    QByteArray old;
    QString backupPath;
    if (existed) {
        QFile in(path);
        errno = 0;
        if (!in.open(QIODevice::ReadOnly))
            return fail(path, existed, errno, error);
        old = in.readAll();
        // Beside the journal when there is one: the temporary folder may be emptied by
        // the restart that follows a crash.
        const QDir backupDir = g_journal.isEmpty() ? QDir::temp() : QFileInfo(g_journal).absoluteDir();
        QTemporaryFile backup(backupDir.filePath(QStringLiteral("textverarbeitung-XXXXXX-")
                                                 + QFileInfo(path).fileName().left(64)));
        backup.setAutoRemove(false);
        if (!backup.open() || backup.write(old) != old.size() || !settle(backup, old.size(), &err)) {
            backup.remove();
            return fail(path, existed, err ? err : errno, error);
        }
        backupPath = backup.fileName();
    }
    beginJournal(path, backupPath);
    if (g_directNotice && existed)
        g_directNotice(path, backupPath);
    QFile out(path);
    errno = 0;
    bool ok = out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
    if (!ok)
        err = errno;
    ok = ok && writeAll(&out, bytes, &err) && settle(out, bytes.size(), &err);
    out.close();
    if (ok) {
        if (!backupPath.isEmpty())
            QFile::remove(backupPath);
        endJournal();
        return true;
    }
    if (!existed) {
        QFile::remove(path);
        endJournal();
        return fail(path, false, err, error);
    }
    int restoreErr = 0;
    if (rewrite(path, old, &restoreErr)) {
        QFile::remove(backupPath);
        endJournal();
        return fail(path, true, err, error);
    }
    endJournal();
    return fail(path, true, err, error,
                QStringLiteral("Eine Kopie der bisherigen Datei liegt unter \"%1\".")
                    .arg(QDir::toNativeSeparators(backupPath)));
}

} // namespace

QString reasonText(int systemError)
{
    switch (systemError) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("Auf dem Datenträger ist nicht genug Speicherplatz frei.");
    case EACCES:
    case EPERM:
        return QStringLiteral("Sie haben keine Berechtigung, an diesem Ort zu schreiben.");
    case EROFS:
        return QStringLiteral("Der Datenträger ist schreibgeschützt.");
    case ENAMETOOLONG:
        return QStringLiteral("Der Dateiname ist zu lang.");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("Der Ordner existiert nicht.");
    case EISDIR:
        return QStringLiteral("Unter diesem Namen gibt es bereits einen Ordner.");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("Die Datei wird von einem anderen Programm verwendet.");
    case EIO:
        return QStringLiteral("Der Datenträger meldet einen Lese- oder Schreibfehler.");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Es sind zu viele Dateien geöffnet.");
    default:
        return QStringLiteral("Systemfehler %1.").arg(systemError);
    }
}

bool saveFile(const QString& path, const QByteArray& bytes, QString* error)
{
    const QFileInfo info(path);
    const bool existed = info.exists();
    if (info.isDir())
        return fail(path, false, EISDIR, error);
    QSaveFile f(path);
    // Qt's own fallback writes in place without keeping the old content; ours keeps it.
    f.setDirectWriteFallback(false);
    errno = 0;
    // Unbuffered: every write reaches the file at once and reports its own failure.
    const bool opened = !g_refuseTemporary && f.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    if (!opened) {
        const int err = errno;
        if (!existed || info.isWritable())
            return saveDirectly(path, bytes, existed, error);
        return fail(path, existed, err, error);
    }
    beginJournal(path, QString());
    int err = 0;
    if (!writeAll(&f, bytes, &err) || !settle(f, bytes.size(), &err)) {
        f.cancelWriting();
        endJournal();
        return fail(path, existed, err, error);
    }
    errno = 0;
    if (!f.commit()) {
        endJournal();
        return fail(path, existed, errno ? errno : EIO, error);
    }
    endJournal();
    return true;
}

void setJournalFile(const QString& path) { g_journal = path; }

void setDirectWriteNotice(DirectWriteNotice notice) { g_directNotice = std::move(notice); }

int cleanUpInterruptedSaves()
{
    if (g_journal.isEmpty())
        return 0;
    QFile j(g_journal);
    if (!j.open(QIODevice::ReadOnly))
        return 0;
    const QStringList fields = QString::fromUtf8(j.readAll()).trimmed().split(QLatin1Char('\t'));
    j.close();
    int touched = 0;
    if (fields.size() == 3) {
        const QString target = fields[0];
        const QString backup = fields[1];
        if (!backup.isEmpty()) {
            // The direct write did not finish: the copy is the last whole version.
            QFile copy(backup);
            int err = 0;
            if (copy.open(QIODevice::ReadOnly) && rewrite(target, copy.readAll(), &err)) {
                copy.close();
                QFile::remove(backup);
                ++touched;
            }
        } else {
            // QSaveFile names its temporary file after the target plus six letters.
            const qint64 started = fields[2].toLongLong() - 2000;
            const QFileInfo info(target);
            const QRegularExpression temp(QStringLiteral("^%1\\.[A-Za-z0-9]{6}$")
                                              .arg(QRegularExpression::escape(info.fileName())));
            const QFileInfoList entries = info.absoluteDir().entryInfoList(QDir::Files | QDir::Hidden);
            for (const QFileInfo& e : entries) {
                if (temp.match(e.fileName()).hasMatch()
                    && e.lastModified().toMSecsSinceEpoch() >= started && QFile::remove(e.absoluteFilePath()))
                    ++touched;
            }
        }
    }
    QFile::remove(g_journal);
    return touched;
}

void setDeviceWrapper(DeviceWrapper wrapper) { g_wrapper = std::move(wrapper); }

void setTemporaryFilesRefused(bool refused) { g_refuseTemporary = refused; }

} // namespace SafeSave
