#include "RecoveryStore.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>

namespace {

constexpr quint32 Magic = 0x51585748; // "QXWH"
constexpr quint16 Version = 1;
const QString Suffix = QStringLiteral(".wdh");

} // namespace

RecoveryStore::RecoveryStore(const QString& folder) : m_folder(folder)
{
    // One thread: a remove queued after a save must not be overtaken by it.
    m_writer.setMaxThreadCount(1);
}

RecoveryStore::~RecoveryStore() { m_writer.waitForDone(); }

QString RecoveryStore::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/Wiederherstellung");
}

QString RecoveryStore::pathOf(const QString& id) const
{
    return m_folder + QLatin1Char('/') + id + Suffix;
}

void RecoveryStore::save(const RecoveryEntry& entry)
{
    const QString path = pathOf(entry.id);
    const QString folder = m_folder;
    m_writer.start([entry, path, folder] {
        QDir().mkpath(folder);
        QSaveFile f(path);
        if (f.open(QIODevice::WriteOnly)) {
            f.write(encode(entry));
            f.commit();
        }
    });
}

void RecoveryStore::remove(const QString& id)
{
    const QString path = pathOf(id);
    m_writer.start([path] { QFile::remove(path); });
}

void RecoveryStore::waitForDone() { m_writer.waitForDone(); }

void RecoveryStore::removeNow(const QString& id)
{
    waitForDone();
    QFile::remove(pathOf(id));
}

QList<RecoveryEntry> RecoveryStore::entries() const
{
    QFileInfoList files = QDir(m_folder).entryInfoList({QLatin1Char('*') + Suffix}, QDir::Files);
    std::sort(files.begin(), files.end(), [](const QFileInfo& a, const QFileInfo& b) {
        return a.lastModified() < b.lastModified();
    });
    QList<RecoveryEntry> list;
    for (const QFileInfo& fi : files) {
        QFile f(fi.filePath());
        if (!f.open(QIODevice::ReadOnly))
            continue;
        if (auto e = decode(f.readAll())) {
            e->id = fi.completeBaseName();
            list << *e;
        }
    }
    return list;
}

QByteArray RecoveryStore::encode(const RecoveryEntry& entry)
{
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s.setVersion(QDataStream::Qt_6_4);
    s << Magic << Version << entry.title << entry.filePath << entry.content;
    return out;
}

std::optional<RecoveryEntry> RecoveryStore::decode(const QByteArray& data)
{
    QDataStream s(data);
    s.setVersion(QDataStream::Qt_6_4);
    quint32 magic = 0;
    quint16 version = 0;
    RecoveryEntry e;
    s >> magic >> version;
    if (magic != Magic || version != Version)
        return std::nullopt;
    s >> e.title >> e.filePath >> e.content;
    if (s.status() != QDataStream::Ok || e.content.isEmpty())
        return std::nullopt;
    return e;
}
