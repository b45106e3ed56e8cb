// Serial letters without a window: "qx-text --serial-letters --single-pdf" on generated
// databases of 1,000, 10,000 and 50,000 addresses. Reports seconds, letters per second,
// the CPU time (user + system: what the run costs when the machine is shared), peak
// memory (maximum resident set of the run) and the PDF's size. Counts can be given
// as arguments instead ("bench_serial 500 2000"); with "--template" the letters are
// written on the letterhead template "Briefkopf.txm" beside the program.
#include "AddressGenerator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Result {
    int status = -1;
    double seconds = 0;
    double cpuSeconds = 0; // user + system
    long peakKb = 0;
};

// Runs the program with its progress output thrown away; the peak memory is the
// child's own, from wait4.
Result run(const QString& program, const QStringList& args)
{
    std::vector<QByteArray> bytes{program.toLocal8Bit()};
    for (const QString& a : args)
        bytes.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);

    Result r;
    QElapsedTimer t;
    t.start();
    const pid_t pid = fork();
    if (pid == 0) {
        if (FILE* devnull = std::fopen("/dev/null", "w")) {
            dup2(fileno(devnull), STDOUT_FILENO);
            dup2(fileno(devnull), STDERR_FILENO);
        }
        execv(argv[0], argv.data());
        _exit(127);
    }
    rusage usage{};
    int status = 0;
    wait4(pid, &status, 0, &usage);
    r.seconds = t.elapsed() / 1000.0;
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.peakKb = usage.ru_maxrss;
    r.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                   (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    return r;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    // The program forms its work folder under HOME; keep it out of the user's.
    const QString home = dir.filePath(QStringLiteral("home"));
    QDir().mkpath(home);
    qputenv("HOME", home.toUtf8());
    qunsetenv("DISPLAY");
    qunsetenv("QT_QPA_PLATFORM");

    const QString program = QFileInfo(QCoreApplication::applicationDirPath() + QStringLiteral("/../qx-text"))
                                .absoluteFilePath();
    const QString text = dir.filePath(QStringLiteral("text.txt"));
    QFile f(text);
    if (!f.open(QIODevice::WriteOnly))
        return 1;
    f.write("wir laden Sie herzlich zu unserer Jahresversammlung am 12. Mai um 19 Uhr ins Vereinsheim ein.\n"
            "Auf der Tagesordnung stehen der Bericht des Vorstands, die Kassenprüfung und die Wahl "
            "des neuen Beirats. Anträge reichen Sie bitte bis zum 30. April schriftlich ein.\n"
            "Wir freuen uns auf Ihr Kommen.\n");
    f.close();

    QList<int> counts;
    bool onTemplate = false;
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]) == "--template")
            onTemplate = true;
        else
            counts << QByteArray(argv[i]).toInt();
    }
    if (counts.isEmpty())
        counts = {1000, 10000, 50000};

    if (onTemplate)
        std::printf("on the letterhead template\n");
    std::printf("%-9s %9s %10s %9s %10s %10s\n", "letters", "seconds", "letters/s", "CPU s", "peak MB", "PDF MB");
    int rc = 0;
    for (int n : std::as_const(counts)) {
        const QString db = dir.filePath(QStringLiteral("addr%1.adr").arg(n));
        const QString pdf = dir.filePath(QStringLiteral("serial%1.pdf").arg(n));
        if (!generateAddresses(db, n)) {
            std::fprintf(stderr, "cannot make the database of %d addresses\n", n);
            return 1;
        }
        QStringList args{QStringLiteral("--serial-letters"), QStringLiteral("--database"), db,
                         QStringLiteral("--text"), text, QStringLiteral("--single-pdf"), pdf};
        if (onTemplate)
            args << QStringLiteral("--template");
        const Result r = run(program, args);
        std::printf("%-9d %9.2f %10.0f %9.2f %10.1f %10.1f%s\n", n, r.seconds, n / r.seconds, r.cpuSeconds,
                    r.peakKb / 1024.0,
                    QFileInfo(pdf).size() / 1048576.0, r.status == 0 ? "" : "  (failed)");
        std::fflush(stdout);
        rc |= r.status;
        QFile::remove(pdf);
        QFile::remove(db);
    }
    return rc;
}
