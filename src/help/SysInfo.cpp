#include "SysInfo.h"

#include "app/Prompter.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace SysInfo {

namespace {

Finder& finder()
{
    static Finder f;
    return f;
}

Starter& starter()
{
    static Starter s;
    return s;
}

} // namespace

void setFinder(Finder f) { finder() = std::move(f); }
void setStarter(Starter s) { starter() = std::move(s); }

QStringList candidates()
{
    return {QStringLiteral("kinfocenter"), QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"),
            QStringLiteral("lshw-gtk"), QStringLiteral("gnome-system-monitor")};
}

QString findTool()
{
    if (finder())
        return finder()();
    for (const QString& name : candidates())
        if (const QString path = QStandardPaths::findExecutable(name); !path.isEmpty())
            return path;
    return {};
}

void StartSysInfo(QWidget* owner)
{
    const QString tool = findTool();
    if (!tool.isEmpty()) {
        const bool started = starter() ? starter()(tool) : QProcess::startDetached(tool, {});
        if (started)
            return;
    }
    prompter().message(owner, QString(),
                       QString::fromUtf8("Systeminformationsprogramm zur Zeit nicht verfügbar."));
}

} // namespace SysInfo
