// Process start to the letter composer shown with its address list filled, through
// the program's own start: the frame loads, locates the database in a fresh work
// folder, activates and runs the letter command. Each run is a new process of this
// executable (child mode), timed by the parent from just before the start to the
// child's report; for the starter database and for 100,000 addresses.

#include "AddressGenerator.h"

#include "addresses/AddressListBox.h"
#include "app/QtPrompter.h"
#include "letters/frmBrief.h"
#include "shell/frmMDIParent.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// The real prompter, except that the composer is shown without a nested loop and the
// process ends as soon as it stands on screen with its list filled.
class ReportingPrompter : public QtPrompter {
public:
    int exec(QDialog* dialog) override
    {
        auto* composer = qobject_cast<frmBrief*>(dialog);
        if (!composer)
            return QtPrompter::exec(dialog);
        composer->show();
        while (!composer->isVisible() || composer->controls().List1->count() == 0 ||
               !composer->windowHandle() || !composer->windowHandle()->isExposed())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QCoreApplication::processEvents(); // the first paint
        std::printf("shown %d\n", int(composer->controls().List1->count()));
        std::fflush(stdout);
        std::_Exit(0);
    }
};

int child(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    setPrompter(std::make_unique<ReportingPrompter>());
    frmMDIParent frame;
    if (frame.startAborted())
        return 1;
    frame.show();
    return app.exec();
}

struct Run {
    double ms = 0;
    double cpu = 0; // user + system time of the child
    int entries = 0;
};

double childrenCpuMs()
{
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

Run startOnce(const QString& self, const QString& database)
{
    QTemporaryDir home;
    const QString work = home.path() + QStringLiteral("/QX-Kontorix/");
    QDir().mkpath(work);
    QFile::copy(database, work + QStringLiteral("address50.adr"));
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    env.remove(QStringLiteral("HOMEDRIVE"));
    env.remove(QStringLiteral("HOMEPATH"));
    if (!env.contains(QStringLiteral("DISPLAY")) && !env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    const double cpu0 = childrenCpuMs();
    QElapsedTimer t;
    t.start();
    p.start(self, {QStringLiteral("--child")});
    Run r;
    while (p.waitForReadyRead(30000)) {
        const QByteArray line = p.readLine();
        if (line.startsWith("shown")) {
            r.ms = double(t.nsecsElapsed()) / 1e6;
            r.entries = line.mid(6).trimmed().toInt();
            break;
        }
    }
    p.waitForFinished(10000);
    r.cpu = childrenCpuMs() - cpu0;
    return r;
}

void report(const char* what, const QString& self, const QString& database, int runs)
{
    std::vector<double> ms, cpu;
    int entries = 0;
    for (int i = 0; i < runs; ++i) {
        const Run r = startOnce(self, database);
        if (r.entries == 0) {
            std::printf("%-40s composer not shown\n", what);
            return;
        }
        ms.push_back(r.ms);
        cpu.push_back(r.cpu);
        entries = r.entries;
    }
    std::sort(ms.begin(), ms.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("%-22s wall median %7.1f ms  best %7.1f ms   cpu median %7.1f ms  (%d entries, %d runs)\n", what,
                ms[ms.size() / 2], ms.front(), cpu[cpu.size() / 2], entries, runs);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && QByteArray(argv[1]) == "--child")
        return child(argc, argv);

    QCoreApplication app(argc, argv);
    const QString self = QCoreApplication::applicationFilePath();
    const QString starter = QCoreApplication::applicationDirPath() + QStringLiteral("/../address50.adr");
    if (!QFile::exists(starter)) {
        std::fprintf(stderr, "starter database missing: %s\n", qPrintable(starter));
        return 1;
    }
    QTemporaryDir dir;
    const QString large = dir.filePath(QStringLiteral("large.adr"));
    if (!generateAddresses(large, 100000)) {
        std::fprintf(stderr, "cannot generate the database\n");
        return 1;
    }
    // The machine may be shared: the child's CPU time is the steadier figure.
    std::printf("process start to the letter composer shown with its list filled\n");
    report("starter database", self, starter, 7);
    report("100,000 addresses", self, large, 5);
    return 0;
}
