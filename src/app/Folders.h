#pragma once
// The program's folders: the home-folder rule, the removable-drive decision, the
// work folder and the templates copied into it, and the start option.

#include <QString>
#include <QStringList>

struct AppState;

namespace Folders {

// The home folder from HomeDrive (H) and HomePath (P), ending in "\".
QString homeFromDriveAndPath(const QString& drive, const QString& path);

// The home folder of this user, ending in "/": the HomeDrive/HomePath rule where both
// variables exist (backslashes turned into slashes), else $HOME.
QString homeFolder();

// True when `path` lies on a mount whose block device is removable. `mountInfo` is the
// text of /proc/self/mountinfo, `sysBlock` the folder holding the block devices
// (normally /sys/class/block).
bool isOnRemovableDevice(const QString& path, const QString& mountInfo, const QString& sysBlock);
bool isOnRemovableDevice(const QString& path);

// The folder of the shipped files (templates, starter database, translations): the
// executable's own folder when they lie beside it (a build folder, a copied program
// folder), else <prefix>/share/qx-text for an executable installed in <prefix>/bin.
// Ends in "/".
QString programFolderFor(const QString& executableFolder);
// programFolderFor the running executable.
QString programFolder();

// Appends "/" when missing.
QString withSlash(const QString& folder);

// The files copied from the program folder into a new work folder.
QStringList templateFiles();

// Copies each template that is missing in `to` and present in `from`; never
// overwrites. Returns the names copied.
QStringList copyMissingTemplates(const QString& from, const QString& to);

// Forms the folders of `state` for the program folder `programFolder`: the work and
// address folders, the work folder created and made current, the templates copied.
// In the removable case the work folder is the program folder.
void prepare(AppState& state, const QString& programFolder, bool removable,
             const QString& home);

// The first item of "Kontorix.txt" in the work folder, else in the program folder;
// empty when neither exists.
QString readStartOption(const QString& workFolder, const QString& programFolder);

// The command line with every double quote removed.
QString commandFileFrom(const QString& commandLine);

bool fileExists(const QString& path);
bool dirExists(const QString& path);

} // namespace Folders
