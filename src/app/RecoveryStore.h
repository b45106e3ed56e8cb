#pragma once
// The recovery folder: one file per changed document holding its title, its path and
// its content in the own format, so that a crash loses at most the last few minutes.
// Writing and removing run in order on one background thread; typing never waits for
// the disk.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QThreadPool>
#include <optional>

struct RecoveryEntry {
    QString id;       // the file's base name, stable for one document window
    QString title;    // the window's title
    QString filePath; // the document's real path; empty for an unsaved one
    QByteArray content; // page header and own-format body, as a .txm file holds them
};

class RecoveryStore {
public:
    explicit RecoveryStore(const QString& folder);
    ~RecoveryStore();

    // "Wiederherstellung" in the user's data folder of this application.
    static QString defaultFolder();
    QString folder() const { return m_folder; }
    QString pathOf(const QString& id) const;

    // Queued behind earlier saves and removes of the same store.
    void save(const RecoveryEntry& entry);
    void remove(const QString& id);
    // Blocks until everything queued is on disk.
    void waitForDone();

    // The readable entries, oldest first; unreadable files are skipped.
    QList<RecoveryEntry> entries() const;
    // Removes the file at once (start-up, after the user decided).
    void removeNow(const QString& id);

    static QByteArray encode(const RecoveryEntry& entry);
    static std::optional<RecoveryEntry> decode(const QByteArray& data);

private:
    QString m_folder;
    QThreadPool m_writer;
};
