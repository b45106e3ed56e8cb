#include "AddressExchangeCommand.h"

#include "HeadlessRun.h"
#include "addresses/Queries.h"
#include "addresses/RecordSource.h"
#include "addresses/exchange/AddressExport.h"
#include "addresses/exchange/AddressImport.h"
#include "addresses/exchange/ColumnGuess.h"
#include "app/AppState.h"
#include "app/ScriptedPrompter.h"

#include <QFileInfo>
#include <QGuiApplication>

namespace {

struct Arguments {
    QString importFile;
    QString exportFile;
    QString group;
    QString database;
    AddressImport::Duplicates duplicates = AddressImport::Duplicates::Skip;
    bool windows1252 = false;
};

int fail(const QString& message, int code = 1)
{
    HeadlessRun::print(true, message + QLatin1Char('\n'));
    return code;
}

QString parse(const QStringList& args, Arguments* a)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString& o = args[i];
        const bool known = o == u"--import-addresses" || o == u"--export-addresses" || o == u"--group" ||
                           o == u"--database" || o == u"--duplicates" || o == u"--encoding";
        if (!known)
            return QStringLiteral("Unbekannte Angabe: ") + o;
        if (++i >= args.size())
            return QStringLiteral("Nach %1 fehlt ein Wert.").arg(o);
        const QString& v = args[i];
        if (o == u"--import-addresses")
            a->importFile = QFileInfo(v).absoluteFilePath();
        else if (o == u"--export-addresses")
            a->exportFile = QFileInfo(v).absoluteFilePath();
        else if (o == u"--database")
            a->database = HeadlessRun::databaseArgument(v);
        else if (o == u"--group") {
            if (v.isEmpty())
                return QStringLiteral("Der Gruppenname fehlt.");
            a->group = v;
        } else if (o == u"--encoding") {
            if (v.compare(QLatin1String("windows-1252"), Qt::CaseInsensitive) == 0 ||
                v.compare(QLatin1String("cp1252"), Qt::CaseInsensitive) == 0)
                a->windows1252 = true;
            else if (v.compare(QLatin1String("utf-8"), Qt::CaseInsensitive) != 0 &&
                     v.compare(QLatin1String("utf8"), Qt::CaseInsensitive) != 0)
                return QStringLiteral("--encoding erwartet utf-8 oder windows-1252: ") + v;
        } else if (v == u"skip" || v == u"überspringen")
            a->duplicates = AddressImport::Duplicates::Skip;
        else if (v == u"update" || v == u"aktualisieren")
            a->duplicates = AddressImport::Duplicates::Update;
        else if (v == u"add" || v == u"hinzufügen")
            a->duplicates = AddressImport::Duplicates::Add;
        else
            return QStringLiteral("--duplicates erwartet skip, update oder add: ") + v;
    }
    if (a->importFile.isEmpty() == a->exportFile.isEmpty())
        return QStringLiteral("Geben Sie entweder --import-addresses DATEI oder --export-addresses DATEI an.");
    if (a->windows1252 && (a->exportFile.isEmpty() || AddressExport::formatFor(a->exportFile) != AddressExport::Format::CsvUtf8))
        return QStringLiteral("--encoding gilt nur für den Export als CSV-Datei.");
    return {};
}

int importAddresses(const Arguments& a, const QString& dbPath)
{
    const ExchangeTable table = AddressImport::readFile(a.importFile);
    if (!table.error.isEmpty())
        return fail(table.error + QStringLiteral(" Es wurde nichts übernommen."));
    const AddressImport::Prepared prepared =
        AddressImport::prepare(table, ColumnGuess::guessAll(table.headers), a.group);
    if (!prepared.error.isEmpty())
        return fail(prepared.error);
    RecordSource addresses;
    if (!addresses.open(dbPath, Queries::addressTable()))
        return fail(addresses.lastError());
    const AddressImport::Outcome outcome = AddressImport::write(addresses, prepared.records, a.duplicates);
    if (!outcome.error.isEmpty())
        return fail(outcome.error);
    HeadlessRun::print(false, AddressImport::summary(outcome, prepared) + QLatin1Char('\n'));
    return 0;
}

int exportAddresses(const Arguments& a, const QString& dbPath)
{
    RecordSource addresses;
    if (!addresses.open(dbPath, a.group.isEmpty() ? Queries::nameOrder() : Queries::group(a.group)))
        return fail(addresses.lastError());
    AddressExport::Format format = AddressExport::formatFor(a.exportFile);
    if (a.windows1252)
        format = AddressExport::Format::CsvWindows1252;
    const AddressExport::Written w = AddressExport::writeFile(addresses, a.exportFile, format);
    if (w.addresses < 0)
        return fail(w.error);
    HeadlessRun::print(false, AddressExport::report(w, a.exportFile) + QLatin1Char('\n'));
    return 0;
}

} // namespace

namespace AddressExchangeCommand {
QString usageLines()
{
    return QStringLiteral("        qx-text --import-addresses DATEI [--group NAME] [--database DATEI]\n"
                          "                [--duplicates skip|update|add]\n"
                          "        qx-text --export-addresses DATEI [--group NAME] [--database DATEI]\n"
                          "                [--encoding utf-8|windows-1252]\n");
}
} // namespace AddressExchangeCommand

int runAddressExchange(const QStringList& args)
{
    Arguments a;
    if (const QString problem = parse(args, &a); !problem.isEmpty())
        return fail(problem + QLatin1Char('\n') + AddressExchangeCommand::usageLines(), 2);
    const auto application = HeadlessRun::application(false);
    const ScriptedPrompter* asked = HeadlessRun::quietPrompter();
    QString error;
    if (!HeadlessRun::prepareDatabase(a.database, *asked, &error))
        return fail(error);
    const QString dbPath = appState().AddressDbPath;
    return a.importFile.isEmpty() ? exportAddresses(a, dbPath) : importAddresses(a, dbPath);
}
