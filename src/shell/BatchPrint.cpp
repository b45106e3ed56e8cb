#include "BatchPrint.h"

#include "HeadlessRun.h"
#include "PrintCommands.h"

#include "app/CurrentPrinter.h"
#include "app/ScriptedPrompter.h"
#include "engine/surface/TextControl.h"
#include "engine/formats/Formats.h"

#include <QGuiApplication>
#include <QPrinter>
#include <memory>

namespace {

int usage(const QString& problem)
{
    HeadlessRun::print(true, problem + QStringLiteral("\nAufruf: qx-text --print [--printer DRUCKER] "
                                                      "[--copies ANZAHL] DATEI...\n"));
    return 2;
}

} // namespace

int runBatchPrint(const QStringList& args)
{
    QString printerName;
    int copies = 1;
    QStringList files;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == u"--print") {
            continue;
        } else if (a == u"--printer" || a == u"--copies") {
            if (++i >= args.size())
                return usage(QStringLiteral("Zu %1 fehlt der Wert.").arg(a));
            if (a == u"--printer") {
                printerName = args[i];
            } else {
                bool ok = false;
                copies = args[i].toInt(&ok);
                if (!ok || copies < 1)
                    return usage(QStringLiteral("Ungültige Anzahl: ") + args[i]);
            }
        } else if (a.startsWith(u"--")) {
            return usage(QStringLiteral("Unbekannte Option: ") + a);
        } else {
            files << a;
        }
    }
    if (files.isEmpty())
        return usage(QStringLiteral("Es wurde keine Datei angegeben."));

    // The surface is a widget: it needs an application, offscreen without a display.
    const auto app = HeadlessRun::application(true);
    // No window may wait for an answer: messages go to the error output.
    ScriptedPrompter* messages = HeadlessRun::quietPrompter();

    const QStringList printers = installedPrinters();
    if (printers.isEmpty()) {
        HeadlessRun::print(true, QStringLiteral("Es ist kein Drucker eingerichtet.\n"));
        return 2;
    }
    if (!printerName.isEmpty() && !printers.contains(printerName)) {
        HeadlessRun::print(true, QStringLiteral("Der Drucker „%1“ ist nicht eingerichtet. Eingerichtet: %2\n")
                        .arg(printerName, printers.join(QStringLiteral(", "))));
        return 2;
    }
    if (!printerName.isEmpty())
        currentPrinter().setPrinterName(printerName);

    int failures = 0;
    for (const QString& file : std::as_const(files)) {
        TextControl surface;
        const int type = Formats::typeOfPath(file);
        if (!surface.Load(file, type == 3 ? Formats::PageHeaderSize : 0, type, false)) {
            HeadlessRun::print(true, QStringLiteral("Fehler bei \"%1\": %2\n").arg(file, surface.LastError()));
            ++failures;
            continue;
        }
        int n = copies;
        if (PrintCommands::PrintDocument(&surface, n, file)) {
            HeadlessRun::print(false, QStringLiteral("%1 -> %2 (%3 Seiten)\n")
                            .arg(file, currentPrinter().printerName())
                            .arg(surface.CurrentPages() * copies));
        } else {
            ++failures;
        }
        for (const ScriptedPrompter::Asked& a : std::as_const(messages->asked))
            HeadlessRun::print(true, a.text + QLatin1Char('\n'));
        messages->clear();
    }
    return failures ? 1 : 0;
}
