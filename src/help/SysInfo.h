#pragma once
// The system-information command of the about box: starts the first system-information
// program of the desktop that is installed, or says that there is none.

#include <QString>
#include <functional>

class QWidget;

namespace SysInfo {

// Finds the program; an empty path when none is installed.
using Finder = std::function<QString()>;
// Starts the program; false when it could not be started.
using Starter = std::function<bool(const QString& program)>;

// Tests replace the lookup and the start; an empty function restores the real one.
void setFinder(Finder finder);
void setStarter(Starter starter);

// The programs looked for in PATH, in this order.
QStringList candidates();
QString findTool();

// Starts the tool, or shows "Systeminformationsprogramm zur Zeit nicht verfügbar.".
void StartSysInfo(QWidget* owner);

} // namespace SysInfo
