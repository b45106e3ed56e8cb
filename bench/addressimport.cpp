// Address import and export figures over a 50,000-row spreadsheet list: reading the
// Windows-1252 CSV, mapping the rows, writing them in one transaction into an empty
// address file, the same file again (every row a duplicate, skipped), and writing
// the addresses out as CSV and vCard. Wall and CPU time and the peak memory of each step.

#include "AddressGenerator.h"

#include "addresses/Queries.h"
#include "addresses/RecordSource.h"
#include "addresses/exchange/AddressExport.h"
#include "addresses/exchange/AddressImport.h"
#include "addresses/exchange/ColumnGuess.h"
#include "addresses/exchange/Windows1252.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>
#include <functional>
#include <iterator>

namespace {

constexpr int Rows = 50000;

double cpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

// Resident memory now and its peak since the last reset, in MB (Linux).
double memoryMb(const char* key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(int(qstrlen(key))).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return -1;
}

void resetPeak()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

// Runs `work` and prints its figures, then what it reports.
void step(const char* name, const std::function<QString()>& work)
{
    const double before = memoryMb("VmRSS:");
    resetPeak();
    QElapsedTimer wall;
    wall.start();
    const double cpu = cpuMs();
    const QString note = work();
    std::printf("%-46s %7.0f ms wall %7.0f ms CPU   peak %6.1f MB (%+6.1f MB over the start)\n", name,
                double(wall.nsecsElapsed()) / 1e6, cpuMs() - cpu, memoryMb("VmHWM:"), memoryMb("VmHWM:") - before);
    if (!note.isEmpty())
        std::printf("    %s\n", qPrintable(note));
}

// A club's member list as a spreadsheet saves it: semicolons, Windows-1252, a
// quoted street with a line break now and then, some rows without a name.
QByteArray memberList()
{
    const char* last[] = {"Müller", "Schmidt", "Schneider", "Fischer", "Weber", "Meyer", "Wagner", "Becker",
                          "Schäfer", "Koch", "Bauer", "Krüger", "Weiß", "Öztürk", "de Vries", "Übel"};
    const char* first[] = {"Anna", "Karl", "Jürgen", "Sabine", "Thomas", "Petra", "Uwe", "Jörg", "Grete", ""};
    const char* towns[] = {"Berlin", "Hamburg", "München", "Köln", "Düsseldorf", "Nürnberg", "Zürich", "Wien"};
    QRandomGenerator rng(4711);
    QString text = QStringLiteral("Mitgliedsnummer;Anrede;Vorname;Nachname;Straße;PLZ;Ort;Land;Gruppe;E-Mail\r\n");
    for (int i = 0; i < Rows; ++i) {
        const bool nameless = rng.bounded(500) == 0;
        const QString street = rng.bounded(50) == 0
                                   ? QStringLiteral("\"Hinterhaus\r\nHauptstraße %1\"").arg(rng.bounded(200))
                                   : QStringLiteral("Hauptstraße %1").arg(rng.bounded(200));
        text += QStringLiteral("%1;%2;%3;%4;%5;%6;%7;Deutschland;Verein;m%1@example.org\r\n")
                    .arg(10000 + i)
                    .arg(rng.bounded(2) ? QStringLiteral("Herrn") : QStringLiteral("Frau"))
                    .arg(nameless ? QString() : QString::fromUtf8(first[rng.bounded(int(std::size(first)))]))
                    .arg(nameless ? QString()
                                  : QString::fromUtf8(last[rng.bounded(int(std::size(last)))]) +
                                        QString::number(rng.bounded(5000)))
                    .arg(street)
                    .arg(10000 + rng.bounded(89999))
                    .arg(QString::fromUtf8(towns[rng.bounded(int(std::size(towns)))]));
    }
    return Windows1252::encode(text);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("mitglieder.csv"));
    const QString db = dir.filePath(QStringLiteral("address50.adr"));
    {
        QFile f(csv);
        if (!f.open(QIODevice::WriteOnly) || f.write(memberList()) < 0)
            return 1;
    }
    if (!generateAddresses(db, 0))
        return 1;
    std::printf("%d rows, %.1f MB CSV (Windows-1252, semicolons); start %.1f MB resident\n", Rows,
                double(QFile(csv).size()) / 1e6, memoryMb("VmRSS:"));

    ExchangeTable table;
    AddressImport::Prepared prepared;
    step("read and decode the CSV", [&] {
        table = AddressImport::readFile(csv);
        return QString();
    });
    step("map the columns", [&] {
        prepared = AddressImport::prepare(table, ColumnGuess::guessAll(table.headers), {});
        return QString();
    });
    table = ExchangeTable();
    for (const char* name : {"write into the empty file, one transaction", "the same again: all duplicates, skipped"})
        step(name, [&] {
            RecordSource source;
            source.open(db, Queries::addressTable());
            // The window's progress costs one call per address.
            int told = 0;
            const auto outcome = AddressImport::write(source, prepared.records, AddressImport::Duplicates::Skip,
                                                      [&told](int, int) { return ++told > 0; });
            return AddressImport::summary(outcome, prepared, 0).replace(QLatin1Char('\n'), QLatin1String(" "));
        });
    step("whole import again, updating every address", [&] {
        const ExchangeTable again = AddressImport::readFile(csv);
        const auto p = AddressImport::prepare(again, ColumnGuess::guessAll(again.headers), {});
        RecordSource source;
        source.open(db, Queries::addressTable());
        const auto outcome = AddressImport::write(source, p.records, AddressImport::Duplicates::Update);
        return AddressImport::summary(outcome, p, 0).replace(QLatin1Char('\n'), QLatin1String(" "));
    });
    prepared = AddressImport::Prepared();
    RecordSource all;
    step("open all addresses in name order", [&] {
        all.open(db, Queries::nameOrder());
        return QString();
    });
    for (const auto& [name, format] :
         {std::pair{"export CSV UTF-8", AddressExport::Format::CsvUtf8},
          std::pair{"export CSV Windows-1252", AddressExport::Format::CsvWindows1252},
          std::pair{"export vCard 4.0", AddressExport::Format::VCard}})
        step(name, [&, format = format] {
            const auto w = AddressExport::writeFile(all, dir.filePath(QStringLiteral("aus")), format);
            return QStringLiteral("%1 addresses, %2 MB")
                .arg(w.addresses)
                .arg(double(QFile(dir.filePath(QStringLiteral("aus"))).size()) / 1e6, 0, 'f', 1);
        });
    return 0;
}
