#include "SafeSave.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryFile>

#include <QHash>
#include <QSet>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace SafeSave {

namespace {

QString g_journal;
DeviceWrapper g_wrapper;
bool g_refuseTemporary = false;
DirectWriteNotice g_directNotice;

// The files of the open batch, still under their temporary names.
struct Pending {
    QString temporary;
    QString target;
    bool existed;
};
QList<Pending>* g_batch = nullptr;

// The journal holds one line while a save runs: target, backup copy (empty when the
// save goes through a temporary file) and the start time in ms since the epoch.
void beginJournal(const QString& target, const QString& backup)
{
    if (g_journal.isEmpty())
        return;
    QFile j(g_journal);
    // A batch keeps a line per file; it is synced with the files themselves.
    if (!j.open(g_batch ? QIODevice::Append : QIODevice::WriteOnly | QIODevice::Truncate))
        return; // best effort: a save must not fail for want of its journal
    const QString line = QStringList{QFileInfo(target).absoluteFilePath(), backup,
                                     QString::number(QDateTime::currentMSecsSinceEpoch())}
                             .join(QLatin1Char('\t'));
    j.write(line.toUtf8() + '\n');
    j.flush();
    if (!g_batch)
        ::fsync(j.handle());
}

void endJournal()
{
    if (!g_journal.isEmpty() && !g_batch)
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

// Flush, sync to disk and a size check: a full disk may surface only here. A batch
// syncs all its files at the end instead.
bool settle(QFileDevice& f, qint64 expected, int* err, bool sync = true)
{
    errno = 0;
    if (!f.flush() || f.error() != QFileDevice::NoError) {
        *err = errno ? errno : ENOSPC;
        return false;
    }
    if (sync && ::fsync(f.handle()) != 0) {
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

// Writes the file of an open batch under a temporary name beside the target, the
// name QSaveFile would give it, so that cleanUpInterruptedSaves finds it. Returns
// false with `done` unset when no such file can be made.
bool saveDeferred(const QString& path, const QByteArray& bytes, bool existed, bool* done, QString* error)
{
    QTemporaryFile f(path + QStringLiteral(".XXXXXX"));
    f.setAutoRemove(false);
    errno = 0;
    if (g_refuseTemporary || !f.open())
        return false;
    beginJournal(path, QString());
    // The permissions a new file gets, or the old file's.
    struct stat old{};
    mode_t mode = 0;
    if (existed && ::stat(QFile::encodeName(path).constData(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        mode = ::umask(0);
        ::umask(mode);
        mode = 0666 & ~mode;
    }
    int err = 0;
    if (!writeAll(&f, bytes, &err) || !settle(f, bytes.size(), &err, false) || ::fchmod(f.handle(), mode) != 0) {
        err = err ? err : errno;
        f.remove();
        *done = fail(path, existed, err, error);
        return true;
    }
    f.close();
    g_batch->append({f.fileName(), path, existed});
    *done = true;
    return true;
}

// Syncs the files of one file system: all at once, or one by one to find out which
// failed. Returns the system error per failed file.
QHash<QString, int> syncFiles(const QStringList& files)
{
    QHash<QString, int> failed;
    const int fd = ::open(QFile::encodeName(files.first()).constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0 && ::syncfs(fd) == 0) {
        ::close(fd);
        return failed;
    }
    if (fd >= 0)
        ::close(fd);
    for (const QString& file : files) {
        const int one = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_CLOEXEC);
        if (one < 0 || ::fsync(one) != 0)
            failed.insert(file, errno ? errno : EIO);
        if (one >= 0)
            ::close(one);
    }
    return failed;
}

} // namespace

Batch::Batch()
{
    if (!g_batch)
        g_batch = new QList<Pending>;
    else
        m_nested = true;
}

Batch::~Batch()
{
    if (m_nested || !g_batch)
        return;
    for (const Pending& p : std::as_const(*g_batch))
        QFile::remove(p.temporary);
    delete g_batch;
    g_batch = nullptr;
    endJournal();
}

QList<QPair<QString, QString>> Batch::commit()
{
    QList<QPair<QString, QString>> failures;
    if (m_nested || !g_batch)
        return failures;
    const QList<Pending> pending = *g_batch;
    delete g_batch;
    g_batch = nullptr;

    QHash<dev_t, QStringList> byDevice;
    for (const Pending& p : pending) {
        struct stat st{};
        ::stat(QFile::encodeName(p.temporary).constData(), &st);
        byDevice[st.st_dev].append(p.temporary);
    }
    QHash<QString, int> failed;
    for (const QStringList& files : std::as_const(byDevice))
        failed.insert(syncFiles(files));
    QSet<QString> folders;
    for (const Pending& p : pending) {
        int err = failed.value(p.temporary);
        errno = 0;
        if (!err && ::rename(QFile::encodeName(p.temporary).constData(), QFile::encodeName(p.target).constData()) != 0)
            err = errno ? errno : EIO;
        if (err) {
            QFile::remove(p.temporary);
            QString text;
            fail(p.target, p.existed, err, &text);
            failures.append({p.target, text});
        } else {
            folders.insert(QFileInfo(p.target).absolutePath());
        }
    }
    // The renames themselves reach the disk with their folders.
    for (const QString& folder : std::as_const(folders)) {
        const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0) {
            ::fsync(fd);
            ::close(fd);
        }
    }
    endJournal();
    return failures;
}

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
    if (bool done = false; g_batch && saveDeferred(path, bytes, existed, &done, error))
        return done;
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
    const QStringList lines = QString::fromUtf8(j.readAll()).trimmed().split(QLatin1Char('\n'));
    j.close();
    int touched = 0;
    // One line per save under way; a batch leaves one per file. Temporary files are
    // looked for once per folder, whatever the number of files.
    QHash<QString, QHash<QString, qint64>> startedIn; // folder -> target name -> start
    for (const QString& line : lines) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() != 3)
            continue;
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
            const QFileInfo info(target);
            startedIn[info.absolutePath()].insert(info.fileName(), fields[2].toLongLong() - 2000);
        }
    }
    // QSaveFile names its temporary file after the target plus a dot and six letters.
    static const QRegularExpression suffix(QStringLiteral("\\.[A-Za-z0-9]{6}$"));
    for (auto folder = startedIn.cbegin(); folder != startedIn.cend(); ++folder) {
        const QFileInfoList entries = QDir(folder.key()).entryInfoList(QDir::Files | QDir::Hidden);
        for (const QFileInfo& e : entries) {
            const QString name = e.fileName();
            if (name.size() <= 7 || !suffix.match(name).hasMatch())
                continue;
            const auto started = folder->constFind(name.left(name.size() - 7));
            if (started != folder->cend() && e.lastModified().toMSecsSinceEpoch() >= *started
                && QFile::remove(e.absoluteFilePath()))
                ++touched;
        }
    }
    QFile::remove(g_journal);
    return touched;
}

void setDeviceWrapper(DeviceWrapper wrapper) { g_wrapper = std::move(wrapper); }

void setTemporaryFilesRefused(bool refused) { g_refuseTemporary = refused; }

} // namespace SafeSave
