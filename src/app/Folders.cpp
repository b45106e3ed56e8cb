#include "Folders.h"

#include "AppState.h"
#include "WrittenRecord.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace Folders {

QString homeFromDriveAndPath(const QString& h, const QString& p)
{
    const bool hSlash = h.endsWith(QLatin1Char('\\'));
    const bool pSlash = p.startsWith(QLatin1Char('\\'));
    QString home;
    if (hSlash && !pSlash)
        home = h + p;
    else if (!hSlash && !pSlash)
        home = h + QLatin1Char('\\') + p;
    else if (hSlash && pSlash)
        home = h.left(2) + p;
    else
        home = h + p;
    if (!home.endsWith(QLatin1Char('\\')))
        home += QLatin1Char('\\');
    return home;
}

QString withSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString programFolderFor(const QString& executableFolder)
{
    const QString own = withSlash(executableFolder);
    const auto holdsShippedFiles = [](const QString& folder) {
        return fileExists(folder + QStringLiteral("address50.adr")) ||
               fileExists(folder + QStringLiteral("Briefkopf.txm"));
    };
    if (holdsShippedFiles(own))
        return own;
    const QDir exe(own);
    if (exe.dirName() == QLatin1String("bin")) {
        const QString shared = withSlash(QDir::cleanPath(own + QStringLiteral("../share/qx-text")));
        if (dirExists(shared))
            return shared;
    }
    return own;
}

QString programFolder()
{
    return programFolderFor(QCoreApplication::applicationDirPath());
}

QString homeFolder()
{
    const QString h = qEnvironmentVariable("HomeDrive", qEnvironmentVariable("HOMEDRIVE"));
    const QString p = qEnvironmentVariable("HomePath", qEnvironmentVariable("HOMEPATH"));
    if (!h.isEmpty() && !p.isEmpty()) {
        QString home = homeFromDriveAndPath(h, p);
        home.replace(QLatin1Char('\\'), QLatin1Char('/'));
        return home;
    }
    const QString env = qEnvironmentVariable("HOME");
    return withSlash(env.isEmpty() ? QDir::homePath() : env);
}

bool isOnRemovableDevice(const QString& path, const QString& mountInfo, const QString& sysBlock)
{
    // Find the longest mount point that contains the path; field 5 is the mount point,
    // the field after " - " and the file-system type is the source device.
    const QString target = QDir::cleanPath(path);
    QString bestMount;
    QString bestSource;
    const auto lines = mountInfo.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        const QStringList f = line.split(QLatin1Char(' '));
        if (f.size() < 5)
            continue;
        QString mount = f[4];
        mount.replace(QStringLiteral("\\040"), QStringLiteral(" "));
        const bool contains = mount == QLatin1String("/") || target == mount ||
                              target.startsWith(mount + QLatin1Char('/'));
        if (!contains || mount.size() < bestMount.size())
            continue;
        const qsizetype dash = f.indexOf(QStringLiteral("-"));
        if (dash < 0 || dash + 2 >= f.size())
            continue;
        bestMount = mount;
        bestSource = f[dash + 2];
    }
    if (!bestSource.startsWith(QLatin1String("/dev/")))
        return false;
    const QString dev = bestSource.mid(5);
    // A partition's own folder has no "removable"; its parent disk has.
    for (const QString& candidate : QStringList{sysBlock + QLatin1Char('/') + dev + QStringLiteral("/removable"),
                                     sysBlock + QLatin1Char('/') + dev + QStringLiteral("/../removable")}) {
        QFile f(candidate);
        if (f.open(QIODevice::ReadOnly))
            return f.readAll().trimmed() == "1";
    }
    return false;
}

bool isOnRemovableDevice(const QString& path)
{
    QFile f(QStringLiteral("/proc/self/mountinfo"));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    return isOnRemovableDevice(path, QString::fromUtf8(f.readAll()),
                               QStringLiteral("/sys/class/block"));
}

QStringList templateFiles()
{
    return {QStringLiteral("Etiketten_Vorlage_F10.ttx"), QStringLiteral("Etiketten_Vorlage_F11.ttx"),
            QStringLiteral("Etiketten_Vorlage_F12.ttx"), QStringLiteral("Etiketten_Vorlage_F14.ttx"),
            QStringLiteral("Briefkopf.txm")};
}

QStringList copyMissingTemplates(const QString& from, const QString& to)
{
    QStringList copied;
    for (const QString& name : templateFiles()) {
        const QString target = withSlash(to) + name;
        const QString source = withSlash(from) + name;
        if (!fileExists(target) && fileExists(source) && QFile::copy(source, target))
            copied << name;
    }
    return copied;
}

void prepare(AppState& state, const QString& programFolder, bool removable, const QString& home)
{
    state.ProgramFolder = withSlash(programFolder);
    state.RunsFromRemovable = removable;
    state.AddressFolder = withSlash(home) + QStringLiteral("Adresskartei/");
    if (removable) {
        state.WorkFolder = state.ProgramFolder;
        QDir().mkpath(state.ProgramFolder + QStringLiteral("QX-Kontorix"));
        return;
    }
    state.WorkFolder = withSlash(home) + QStringLiteral("QX-Kontorix/");
    if (!dirExists(state.WorkFolder))
        QDir().mkpath(state.WorkFolder);
    QDir::setCurrent(state.WorkFolder);
    copyMissingTemplates(state.ProgramFolder, state.WorkFolder);
}

QString readStartOption(const QString& workFolder, const QString& programFolder)
{
    for (const QString& path : QStringList{withSlash(workFolder) + QStringLiteral("Kontorix.txt"),
                                withSlash(programFolder) + QStringLiteral("Kontorix.txt")}) {
        if (!fileExists(path))
            continue;
        bool ok = false;
        WrittenRecordReader r = WrittenRecordReader::fromFile(path, &ok);
        if (!ok || r.atEnd())
            return {};
        return r.next().toString();
    }
    return {};
}

QString commandFileFrom(const QString& commandLine)
{
    QString s = commandLine;
    s.remove(QLatin1Char('"'));
    return s;
}

bool fileExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo fi(path);
    return fi.exists() && fi.isFile() && !fi.isHidden();
}

bool dirExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    return QFileInfo(withSlash(path)).isDir();
}

} // namespace Folders
