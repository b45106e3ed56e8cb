#include "StartCommand.h"

#include "AddressExchangeCommand.h"
#include "AddressServerCommand.h"
#include "BatchConvert.h"
#include "BatchPrint.h"
#include "HeadlessRun.h"
#include "LetterCommand.h"
#include "SerialCommand.h"

namespace StartCommand {

QString usage()
{
    return QStringLiteral(
               "Aufruf: qx-text [DATEI]\n"
               "        qx-text --convert-to FORMAT [--outdir ORDNER] DATEI...\n"
               "        qx-text --letter NR[,NR...] [--block N] [--database DATEI] --convert-to FORMAT [--outdir ORDNER]\n"
               "        qx-text --serial-letters [--database DATEI] [--group NAME | --all] [--block N] [--text DATEI]\n"
               "                [--template] (--single-pdf DATEI | --convert-to FORMAT [--outdir ORDNER])\n"
               "        qx-text --print [--printer NAME] [--copies N] DATEI...\n")
        + AddressExchangeCommand::usageLines()
        + AddressServerCommand::usageLines()
        + QStringLiteral(
               "Ohne DATEI öffnet die Textverarbeitung den Brief-Assistenten, mit DATEI dieses Dokument.\n"
               "--convert-to wandelt die Dateien ohne Fenster um; FORMAT ist eines von:\n"
               "  ")
        + BatchConvert::targetList()
        + QStringLiteral("\n"
                         "--letter schreibt für jede Adressnummer den Brief, den \"Brief erstellen\" ergäbe.\n"
                         "--serial-letters schreibt für jede Adresse (oder jede der Gruppe) den Serienbrief\n"
                         "  mit dem gemeinsamen Text aus --text, als ein PDF oder eine Datei je Brief.\n"
                         "--import-addresses übernimmt Adressen aus einer CSV- oder vCard-Datei,\n"
                         "  --export-addresses schreibt sie als CSV oder (Endung .vcf) als vCard.\n"
                         "--create-address-server richtet auf einem PostgreSQL-Server die Tabellen und die\n"
                         "  Rolle qx_adressen ein, --copy-addresses kopiert Adressen, Briefkopf und Optionen.\n"
                         "--database nimmt eine Adressdatei oder eine Server-Adresse postgresql://...\n"
                         "--print druckt die Dateien, ohne --printer auf dem Standarddrucker.\n"
                         "--outdir legt die Ergebnisse in ORDNER ab (er wird bei Bedarf angelegt),\n"
                         "  sonst neben die Quelldatei.\n");
}

int runWithoutWindows(const QStringList& args)
{
    if (AddressServerCommand::wanted(args))
        return runAddressServerCommand(args);
    if (args.contains(QStringLiteral("--import-addresses")) || args.contains(QStringLiteral("--export-addresses")))
        return runAddressExchange(args);
    if (args.contains(QStringLiteral("--serial-letters")))
        return runSerialCommand(args);
    if (args.contains(QStringLiteral("--letter")))
        return runLetterCommand(args);
    if (args.contains(QStringLiteral("--convert-to")))
        return runBatchConvert(args);
    if (args.contains(QStringLiteral("--print")))
        return runBatchPrint(args);
    for (const QString& a : args) {
        if (a == u"--help" || a == u"-h" || a == u"-?") {
            HeadlessRun::print(false, usage());
            return 0;
        }
        // A lone "-" or a path is a document; anything else starting with "-" is a
        // mistyped option, which must not open an empty window.
        if (a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            HeadlessRun::print(true, QStringLiteral("Unbekannte Option: %1\n\n").arg(a) + usage());
            return 2;
        }
    }
    return -1;
}

bool displayAvailable()
{
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

QString noDisplayMessage()
{
    return QStringLiteral(
        "Die Textverarbeitung braucht eine grafische Oberfläche, aber es ist keine erreichbar "
        "(DISPLAY ist nicht gesetzt oder der Bildschirm antwortet nicht).\n"
        "Zum Umwandeln ohne Oberfläche: qx-text --convert-to FORMAT DATEI...\n");
}

} // namespace StartCommand
