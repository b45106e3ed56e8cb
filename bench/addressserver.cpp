// Several desks on one address server: each desk types searches into the composer's
// search field (one statement per keystroke) and saves addresses now and then, all at
// once, against one PostgreSQL database on this machine.
//
//   bench_addressserver URL [ADDRESSES] [DESKS] [SECONDS]
//
// URL names a database that --create-address-server has set up; it is filled with
// ADDRESSES generated addresses (default 10000) unless it holds that many already. Each of DESKS desks (default 10)
// does 500 searches and 50 saves, or stops after SECONDS (default 60). Prints searches
// per second, the 95th percentile of the keystroke time, the saves and the conflicts,
// and checks that no save was lost: every save that reported success moved its row's
// version by one.

#include "AddressGenerator.h"

#include "addresses/AddressServer.h"
#include "addresses/Queries.h"
#include "addresses/RecordSource.h"
#include "addresses/ServerAddress.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMutex>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

struct DeskResult {
    std::vector<double> keystrokes; // ms
    std::vector<double> cpu;        // ms of this desk's thread per keystroke
    int searches = 0, saves = 0, conflicts = 0, deleted = 0, failed = 0;
    QString error;
};

void runDesk(const QString& url, int desk, qint64 deadlineMs, const QElapsedTimer& clock, DeskResult* out)
{
    RecordSource rs;
    if (!rs.open(url, Queries::nameOrder())) {
        out->error = rs.lastError();
        return;
    }
    QRandomGenerator random(quint32(desk) * 7919u + 1);
    const QStringList words{"Müller", "Schmidt", "Schäfer", "Jürgen", "Öztürk", "Braun", "Koch", "Anna", "Übel"};
    int word = 0, typed = 0;
    while (clock.elapsed() < deadlineMs && (out->searches < 500 || out->saves + out->conflicts < 50)) {
        if (out->searches < 500) {
            // The next keystroke of the current word; a finished word starts the next one.
            const QString w = words[word % words.size()];
            typed = typed % w.size() + 1;
            if (typed == w.size())
                ++word;
            QElapsedTimer t;
            const double c0 = threadCpuMs();
            t.start();
            rs.setRecordSource(Queries::typeSearch(w.left(typed)));
            if (!rs.refresh()) {
                ++out->failed;
                continue;
            }
            out->keystrokes.push_back(double(t.nsecsElapsed()) / 1e6);
            out->cpu.push_back(threadCpuMs() - c0);
            ++out->searches;
        }
        if (out->saves + out->conflicts + out->deleted < 50 && out->searches % 10 == 0 && rs.recordCount() > 0) {
            rs.setAbsolutePosition(int(random.bounded(rs.recordCount())));
            const QString before = rs.field(QStringLiteral("Ort"));
            switch (rs.saveRowIf({{QStringLiteral("Ort"), QStringLiteral("Platz %1/%2").arg(desk).arg(out->saves)}},
                                 {{QStringLiteral("Ort"), before}})) {
            case RecordSource::Write::Done:
                ++out->saves;
                break;
            case RecordSource::Write::ChangedElsewhere:
                ++out->conflicts;
                break;
            case RecordSource::Write::DeletedElsewhere:
                ++out->deleted;
                break;
            case RecordSource::Write::Failed:
                ++out->failed;
                out->error = rs.lastError();
                break;
            }
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: bench_addressserver postgresql://... [ADDRESSES] [DESKS] [SECONDS]\n");
        return 2;
    }
    const QString url = args[1];
    const int rows = args.size() > 2 ? args[2].toInt() : 10000;
    const int desks = args.size() > 3 ? args[3].toInt() : 10;
    const int seconds = args.size() > 4 ? args[4].toInt() : 60;

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("check"));
    ServerAddress a;
    ServerAddress::parse(url, &a, nullptr);
    db.setHostName(a.host);
    db.setPort(a.port);
    db.setDatabaseName(a.database);
    db.setUserName(a.user);
    QSqlQuery q(db);
    // A database filled by an earlier run with as many addresses is used as it is.
    if (db.open() && q.exec(QStringLiteral("SELECT count(*) FROM addressen")) && q.next() && q.value(0).toInt() == rows) {
        std::printf("%d addresses already on the server\n", rows);
    } else {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("address50.adr"));
        if (!generateAddresses(file, rows)) {
            std::fprintf(stderr, "cannot generate the addresses\n");
            return 1;
        }
        QString report;
        const QString error = AddressServer::copy(file, url, &report);
        if (!error.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        std::printf("%s\n", qPrintable(report));
    }
    std::fflush(stdout);
    qint64 versionsBefore = 0;
    if (q.exec(QStringLiteral("SELECT sum(qx_version - 1) FROM addressen")) && q.next())
        versionsBefore = q.value(0).toLongLong();

    std::vector<DeskResult> results(static_cast<size_t>(desks));
    std::vector<QThread*> threads;
    QElapsedTimer clock;
    clock.start();
    for (int d = 0; d < desks; ++d)
        threads.push_back(QThread::create(runDesk, url, d, qint64(seconds) * 1000, std::cref(clock), &results[size_t(d)]));
    for (QThread* t : threads)
        t->start();
    for (QThread* t : threads) {
        t->wait();
        delete t;
    }
    const double elapsed = double(clock.elapsed()) / 1000.0;

    std::vector<double> all, cpu;
    int searches = 0, saves = 0, conflicts = 0, deleted = 0, failed = 0;
    for (const DeskResult& r : results) {
        all.insert(all.end(), r.keystrokes.begin(), r.keystrokes.end());
        cpu.insert(cpu.end(), r.cpu.begin(), r.cpu.end());
        searches += r.searches;
        saves += r.saves;
        conflicts += r.conflicts;
        deleted += r.deleted;
        failed += r.failed;
        if (!r.error.isEmpty())
            std::printf("desk error: %s\n", qPrintable(r.error));
    }
    std::sort(all.begin(), all.end());
    std::sort(cpu.begin(), cpu.end());
    auto pct = [&](double p) { return all.empty() ? 0.0 : all[size_t(p * double(all.size() - 1))]; };
    auto cpuPct = [&](double p) { return cpu.empty() ? 0.0 : cpu[size_t(p * double(cpu.size() - 1))]; };
    std::printf("%d desks, %d addresses, %.1f s\n", desks, rows, elapsed);
    std::printf("searches: %d, %.1f per second; keystroke median %.2f ms, 95th percentile %.2f ms, max %.2f ms\n",
                searches, double(searches) / elapsed, pct(0.5), pct(0.95), all.empty() ? 0.0 : all.back());
    std::printf("keystroke CPU of the desk's thread: median %.2f ms, 95th percentile %.2f ms\n", cpuPct(0.5),
                cpuPct(0.95));
    std::printf("saves: %d stored, %d conflicts reported, %d rows gone, %d failed\n", saves, conflicts, deleted, failed);

    // Every stored save moved exactly one row's version by one.
    if (q.exec(QStringLiteral("SELECT sum(qx_version - 1) FROM addressen")) && q.next()) {
        const qint64 moved = q.value(0).toLongLong() - versionsBefore;
        std::printf("row versions moved: %lld (stored saves: %d) -> %s\n", moved, saves,
                    moved == saves ? "no lost update" : "MISMATCH");
    }
    return failed == 0 ? 0 : 1;
}
