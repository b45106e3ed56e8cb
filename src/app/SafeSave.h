#pragma once
// The one way the program writes a file: into a temporary file beside the target that
// replaces it only when every write, the flush, the sync to disk and the commit
// succeeded, so a full disk or a pulled stick never leaves a shortened file behind.
// Where no temporary file can be created (a writable file in a folder without
// rights, a name at the length limit) the file is written directly after a copy of
// the old content was kept, and put back when the write fails. Errors are German.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <functional>
#include <memory>

class QIODevice;

namespace SafeSave {

// Writes `bytes` to `path`. On failure returns false, sets `error` to a German text
// naming the cause, and an existing file keeps its old bytes (a new one is not left).
bool saveFile(const QString& path, const QByteArray& bytes, QString* error);

// Many files saved in one run (batch conversion): while a Batch is open, saveFile
// leaves each file in its temporary file beside the target, unsynced. commit() then
// brings all of them to disk with one sync per file system, renames each into place
// and syncs each folder once. A file is whole or not there (an old one unchanged)
// whatever moment the run dies at; the next start removes what is left over.
class Batch {
public:
    Batch();
    // Without commit() the files are dropped, as after a failed save.
    ~Batch();
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;
    // The targets that could not be put in place, each with its German error text.
    QList<QPair<QString, QString>> commit();

private:
    bool m_nested = false; // inside another batch, which commits for both
};

// The cause of a failed system call (errno) in German: no permission, disk full,
// name too long, ...
QString reasonText(int systemError);

// A file that names the save under way, so that the next start can clean up after a
// save the program did not live to finish. Empty (the default) keeps no journal.
void setJournalFile(const QString& path);
// Told before a file is written in place (its folder allows no new file), with the
// copy of the old content that stays until the write is done; a run without a window
// prints it, so that the copy can be found if the run is killed.
using DirectWriteNotice = std::function<void(const QString& target, const QString& backup)>;
void setDirectWriteNotice(DirectWriteNotice notice);
// Removes the temporary file of an interrupted save and puts back the old content of
// a file that was being written directly. Returns the number of files it touched.
int cleanUpInterruptedSaves();

// Test seam: when set, the bytes reach the file through the device this returns, so a
// test can make writing fail the way a full disk does (set errno and return -1).
using DeviceWrapper = std::function<std::unique_ptr<QIODevice>(QIODevice* file)>;
void setDeviceWrapper(DeviceWrapper wrapper);
// Test seam: behave as if the target's folder allowed no new files.
void setTemporaryFilesRefused(bool refused);

} // namespace SafeSave
