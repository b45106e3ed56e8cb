// Address store figures over 100,000 generated addresses: opening a window's record
// source and filling its name list, search statements with list refill, a group
// statement with refill, moving to a position, the address windows opening with their
// lists, and a key typed into the composer's search field.

#include "AddressGenerator.h"

#include "addresses/AddressListBox.h"
#include "addresses/AddressStore.h"
#include "addresses/AdressenAuswaehlen.h"
#include "addresses/FieldBinder.h"
#include "addresses/Queries.h"
#include "addresses/RecordSource.h"
#include "app/AppState.h"
#include "app/ScriptedPrompter.h"
#include "letters/frmBrief.h"
#include "output/SerialRun.h"
#include "output/frmBriefkuvert.h"
#include "output/frmSerienKontorix.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

constexpr int Rows = 100000;

bool generate(const QString& path) { return generateAddresses(path, Rows); }

double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

// Medians of `runs` timings in milliseconds: wall clock and this thread's CPU time
// (the machine is shared, so the wall clock includes waiting for a core).
struct Timing {
    double wall;
    double cpu;
};

Timing measure(int runs, const std::function<void()>& f)
{
    std::vector<double> wall, cpu;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        const double c0 = threadCpuMs();
        timer.start();
        f();
        wall.push_back(double(timer.nsecsElapsed()) / 1e6);
        cpu.push_back(threadCpuMs() - c0);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return {wall[wall.size() / 2], cpu[cpu.size() / 2]};
}

void report(const char* what, Timing t, int rows = -1)
{
    std::printf("%-56s %8.2f ms wall %8.2f ms cpu", what, t.wall, t.cpu);
    if (rows >= 0)
        std::printf("  (%d rows)", rows);
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setPrompter(std::make_unique<ScriptedPrompter>());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("address50.adr"));
    QElapsedTimer gen;
    gen.start();
    if (!generate(path)) {
        std::fprintf(stderr, "cannot generate the database\n");
        return 1;
    }
    std::printf("generated %d addresses in %lld ms\n\n", Rows, qint64(gen.elapsed()));
    std::printf("medians; wall clock and CPU time of the one UI thread\n");

    RecordSource rs;
    AddressListBox list;
    FieldBinder binder(&rs);
    QLabel labels[9];
    const char* cols[] = {"Anrede", "Vorname", "Nachname", "Adresse", "Postleitzahl", "Ort", "LaenderKZ",
                          "AnredezHd", "NamezHd"};
    for (int i = 0; i < 9; ++i)
        binder.bind(&labels[i], QString::fromLatin1(cols[i]));
    AddressStore::linkList(&list, &rs);
    AppState state;
    state.AddressDbPath = path;
    state.WorkFolder = dir.path() + QLatin1Char('/');
    // "--keys": only the keystrokes, for a profiler.
    const bool keysOnly = app.arguments().contains(QStringLiteral("--keys"));
    if (!keysOnly) {

    report("open record source, name order", measure(5, [&] { rs.open(path, Queries::nameOrder()); }));
    report("fill name list", measure(5, [&] { AddressStore::fillList(&list, rs, AddressStore::Entry::Name); }));
    report("open + fill (a window's load)", measure(5, [&] {
               rs.open(path, Queries::nameOrder());
               rs.moveLast();
               rs.moveFirst();
               AddressStore::fillList(&list, rs, AddressStore::Entry::Name);
           }));
    // The name index answers these statements; the same text in other letters is run by
    // the SQL engine. Both must give the same rows in the same order.
    for (const QString& statement :
         {Queries::nameOrder(), Queries::lastNameOrder(), Queries::typeSearch(QStringLiteral("a")),
          Queries::typeSearch(QStringLiteral("ü")), Queries::typeSearch(QStringLiteral("m?ller")),
          Queries::typeSearch(QStringLiteral("*er"))}) {
        RecordSource indexed, engine;
        indexed.open(path, statement);
        engine.open(path, QString(statement).replace(QStringLiteral("rder by"), QStringLiteral("RDER BY")));
        bool same = indexed.recordCount() == engine.recordCount();
        for (int i = 0; same && i < indexed.recordCount(); ++i)
            same = indexed.keyAt(i) == engine.keyAt(i);
        std::printf("same rows and order as the SQL engine: %s  (%d rows) %s\n", same ? "yes" : "NO",
                    indexed.recordCount(), statement.toUtf8().constData());
    }
    std::printf("\n");

    for (const char* word : {"Jürgen", "müller1", "sch", "a", "zzz"}) {
        const QString w = QString::fromUtf8(word);
        int n = 0;
        const Timing stmt = measure(7, [&] {
            rs.setRecordSource(Queries::typeSearch(w));
            rs.refresh();
            n = rs.recordCount();
        });
        const Timing fill = measure(7, [&] { AddressStore::fillList(&list, rs, AddressStore::Entry::Name); });
        const QByteArray label = "type search \"" + QByteArray(word) + "\": statement";
        report(label.constData(), stmt, n);
        report("  + list refill", fill);
    }
    std::printf("\n");
    for (const char* word : {"Köln", "straße 12"}) {
        const QString w = QString::fromUtf8(word);
        int n = 0;
        const Timing stmt = measure(5, [&] {
            rs.setRecordSource(Queries::search(w));
            rs.refresh();
            n = rs.recordCount();
        });
        const Timing fill = measure(5, [&] { AddressStore::fillList(&list, rs, AddressStore::Entry::Name); });
        const QByteArray label = "search button \"" + QByteArray(word) + "\": statement";
        report(label.constData(), stmt, n);
        report("  + list refill", fill);
    }
    std::printf("\n");
    for (const char* group : {"Verein", "Kunden"}) {
        int n = 0;
        const Timing stmt = measure(5, [&] {
            rs.setRecordSource(Queries::group(QString::fromUtf8(group)));
            rs.refresh();
            n = rs.recordCount();
        });
        const Timing fill = measure(5, [&] { AddressStore::fillList(&list, rs, AddressStore::Entry::Numbered); });
        const QByteArray label = "group \"" + QByteArray(group) + "\": statement";
        report(label.constData(), stmt, n);
        report("  + list refill (numbered)", fill);
    }
    std::printf("\n");
    rs.setRecordSource(Queries::nameOrder());
    rs.refresh();
    AddressStore::fillList(&list, rs, AddressStore::Entry::Name);
    QRandomGenerator rng(1);
    report("move to a position (9 bound labels, list selection)",
           measure(1001, [&] { rs.setAbsolutePosition(rng.bounded(rs.recordCount())); }));
    report("find by record number", measure(5, [&] { rs.findFirst(Queries::recordNumber(77777)); }));

    std::printf("\nwindows shown with their lists (first screen painted)\n");
    report("composer (frmBrief)", measure(3, [&] {
               frmBrief w(state);
               w.show();
               app.processEvents();
           }));
    report("address picker and label picker (AdressenAuswaehlen)", measure(3, [&] {
               AdressenAuswaehlen w(state);
               w.show();
               app.processEvents();
           }));
    report("envelope window (frmBriefkuvert)", measure(3, [&] {
               frmBriefkuvert w(state, nullptr);
               w.show();
               app.processEvents();
           }));
    report("mail merge (frmSerienKontorix)", measure(3, [&] {
               frmSerienKontorix w(state, SerialHost{});
               w.show();
               app.processEvents();
           }));
    }

    // A key typed into the composer's search field: the key release runs the search
    // and the list shows the hits. Each run types the word after an empty field.
    std::printf("\nkeystroke in the composer's search field -> list updated and painted\n");
    frmBrief brief(state);
    brief.show();
    app.processEvents();
    auto* find = brief.findChild<QLineEdit*>(QStringLiteral("txtFind"));
    auto* names = brief.findChild<AddressListBox*>(QStringLiteral("List1"));
    auto type = [&](const QString& text) {
        find->setText(text);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, text.right(1));
        QApplication::sendEvent(find, &release);
        app.processEvents();
    };
    // Words typed letter by letter, each after a cleared field: every keystroke timed,
    // grouped by what the field holds then.
    {
        std::vector<double> wall[5], cpu[5];
        const char* groups[5] = {"1 letter", "2 letters", "3+ letters", "no hit", "field cleared"};
        auto keep = [&](int g, Timing t) {
            wall[g].push_back(t.wall);
            cpu[g].push_back(t.cpu);
        };
        for (int round = 0; round < (keysOnly ? 5 : 2); ++round)
            for (const char* word : {"Müller", "Schmidt", "Jürgen", "Anna", "Öztürk", "Braun", "Weber", "Koch"}) {
                const QString w = QString::fromUtf8(word);
                for (int n = 1; n <= w.size(); ++n)
                    keep(std::min(n, 3) - 1, measure(1, [&] { type(w.left(n)); }));
                keep(3, measure(1, [&] { type(w + QStringLiteral("qx")); }));
                keep(4, measure(1, [&] { type(QString()); }));
            }
        for (int g = 0; g < 5; ++g) {
            std::sort(wall[g].begin(), wall[g].end());
            std::sort(cpu[g].begin(), cpu[g].end());
            auto at = [](const std::vector<double>& v, double p) { return v[size_t(p * double(v.size() - 1))]; };
            std::printf("typed, %-13s median %6.2f ms wall %6.2f ms cpu; 95th percentile %6.2f ms wall %6.2f ms cpu "
                        "(%zu keys)\n",
                        groups[g], at(wall[g], 0.5), at(cpu[g], 0.5), at(wall[g], 0.95), at(cpu[g], 0.95),
                        wall[g].size());
        }
    }
    for (const char* word : {"a", "m", "ü", "ß", "sch", "Jürgen", "müller1", "m?ller", "*er", "zzz", ""}) {
        const QString w = QString::fromUtf8(word);
        std::vector<double> wall, cpu;
        for (int i = 0; i < (keysOnly ? 41 : 7); ++i) {
            type(w.isEmpty() ? QStringLiteral("x") : QString());
            const Timing t = measure(1, [&] { type(w); });
            wall.push_back(t.wall);
            cpu.push_back(t.cpu);
        }
        std::sort(wall.begin(), wall.end());
        std::sort(cpu.begin(), cpu.end());
        const QByteArray label = "key -> \"" + QByteArray(word) + "\"";
        report(label.constData(), {wall[wall.size() / 2], cpu[cpu.size() / 2]}, names->count());
    }
    return 0;
}
