#pragma once
// The list of the last documents opened or saved, newest first, shown in the
// "&Datei" menus. It is kept in a small text file in the work folder (one path a
// line, UTF-8), so it survives the end of the program.

#include <QString>
#include <QStringList>

class QAction;
class QMenu;

namespace RecentFiles {

constexpr int MaxEntries = 8;

// `list` with `path` moved (or put) to the front, without duplicates, at most
// MaxEntries long.
QStringList withAdded(QStringList list, const QString& path);

// The file that holds the list: "ZuletztGeoeffnet.txt" in the work folder.
QString storePath();

QStringList load();
// Adds `path` (made absolute) and writes the list; a failed write is not reported.
void add(const QString& path);
void remove(const QString& path);

// Puts the list into `menu` before `before`, or at the end when it is null, as
// "mnuRecentFile(1)" ... captioned "&1 path", set off by the separator
// "mnuRecentFile(0)" (after the entries when `before` is given, else before them).
// Entries of an earlier call are replaced. A chosen entry is opened as a document.
void fillMenu(QMenu* menu, QAction* before);

} // namespace RecentFiles
