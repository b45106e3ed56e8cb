#include "LocateAddressDatabase.h"

#include "AddressDatabase.h"
#include "app/AppState.h"
#include "app/Folders.h"
#include "app/Prompter.h"
#include "app/WrittenRecord.h"

#include <QFile>
#include <QStorageInfo>

namespace {

using Folders::fileExists;
using Folders::withSlash;

// The companion program's file; on this system it may carry no ending.
bool hasAddressProgram(const QString& folder)
{
    return fileExists(folder + QStringLiteral("Kartei.exe")) || fileExists(folder + QStringLiteral("Kartei"));
}

QString firstItem(const QString& path)
{
    bool ok = false;
    WrittenRecordReader r = WrittenRecordReader::fromFile(path, &ok);
    if (!ok || r.atEnd())
        return {};
    return r.next().toString();
}

bool copyOver(const QString& from, const QString& to)
{
    if (QFile::exists(to))
        QFile::remove(to);
    return QFile::copy(from, to);
}

bool locateNormal(AppState& s, const QString& systemFolder)
{
    const QString work = s.WorkFolder;
    const QString kontorixDb = work + QStringLiteral("KontorixDB.txt");
    if (fileExists(kontorixDb)) {
        s.AddressDbPath = firstItem(kontorixDb);
        // A server address is not a file: whether it serves shows when it is opened.
        if (fileExists(s.AddressDbPath) || AddressDatabase::isServerAddress(s.AddressDbPath))
            return true;
    }
    s.AddressDbPath.clear();
    const QString handOver = work + QStringLiteral("Datenbank.txt");
    if (fileExists(handOver)) {
        s.AddressDbPath = firstItem(handOver);
        QFile::remove(handOver);
        return true;
    }
    const QString a50 = QStringLiteral("address50.adr");
    const QString a30 = QStringLiteral("address30.adr");
    if (fileExists(work + a50)) {
        s.AddressDbPath = work + a50;
        return true;
    }
    if (fileExists(s.AddressFolder + QStringLiteral("address60.qxa"))) {
        s.AddressDbPath = s.AddressFolder + QStringLiteral("address60.qxa");
        return true;
    }
    if (hasAddressProgram(s.ProgramFolder)) {
        s.AddressDbPath = s.ProgramFolder + a50;
        return true;
    }
    if (!systemFolder.isEmpty() && hasAddressProgram(systemFolder)) {
        s.AddressDbPath = systemFolder + a50;
        return true;
    }
    if (fileExists(s.ProgramFolder + a50)) {
        QFile::copy(s.ProgramFolder + a50, work + a50);
        s.AddressDbPath = work + a50;
        return true;
    }
    if (fileExists(s.ProgramFolder + a30)) {
        if (!fileExists(work + a30))
            QFile::copy(s.ProgramFolder + a30, work + a30);
        s.AddressDbPath = work + a30;
        return true;
    }
    s.AddressDbPath = work + a50;
    prompter().message(nullptr, QStringLiteral("Datenbank-Datei fehlt"),
                       QStringLiteral("Datenbank [address50.adr]  unter   \r\n") + s.AddressDbPath +
                           QStringLiteral("\r\n   nicht gefunden"),
                       QMessageBox::Ok, Prompter::Icon::Critical);
    return false;
}

bool locateRemovable(AppState& s, const QString& driveRoot)
{
    const QString work = s.WorkFolder;
    const QString root = withSlash(driveRoot.isEmpty() ? QStorageInfo(s.ProgramFolder).rootPath() : driveRoot);
    const QString onStick = root + QStringLiteral("Adresskartei/address60.qxa");
    const QString copy = work + QStringLiteral("address60.qxa");
    if (fileExists(onStick)) {
        // An existing copy is used as it is: it may hold changes made on the road.
        if (fileExists(copy)) {
            s.AddressDbPath = copy;
            return true;
        }
        if (copyOver(onStick, copy)) {
            s.AddressDbPath = copy;
            return true;
        }
    }
    for (const char* name : {"address60.qxa", "address60.adr", "address50.adr", "address30.adr"}) {
        const QString path = work + QLatin1String(name);
        if (fileExists(path)) {
            s.AddressDbPath = path;
            return true;
        }
    }
    prompter().message(nullptr, QStringLiteral("Datenbank-Datei fehlt"),
                       QStringLiteral("Datenbank [address50.adr]  nicht gefunden\r\n"
                                      " Kopieren Sie die Datei [address50.adr]  oder  [address60.qxa] \r\n"
                                      "von Ihrem Rechner nach ") +
                           s.ProgramFolder,
                       QMessageBox::Ok, Prompter::Icon::Critical);
    return false;
}

} // namespace

QString systemAddressProgramFolder() { return QStringLiteral("/opt/Adresskartei/"); }

bool LocateAddressDatabase(AppState& state, bool removable, const QString& driveRoot)
{
    return LocateAddressDatabase(state, removable, driveRoot, systemAddressProgramFolder());
}

bool LocateAddressDatabase(AppState& state, bool removable, const QString& driveRoot,
                           const QString& systemProgramFolder)
{
    state.WorkFolder = withSlash(state.WorkFolder);
    state.ProgramFolder = withSlash(state.ProgramFolder);
    state.AddressFolder = withSlash(state.AddressFolder);
    const QString system = systemProgramFolder.isEmpty() ? QString() : withSlash(systemProgramFolder);
    return removable ? locateRemovable(state, driveRoot) : locateNormal(state, system);
}
