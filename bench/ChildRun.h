#pragma once
// Runs the program as a child with its output thrown away and reports what the run
// cost: wall time, CPU time (user + system: what it costs when the machine is shared)
// and the child's own peak memory, all from wait4. The command-line benchmarks run
// the program beside them, and with "--before PROGRAM" an older build as well, so
// every row shows before and after from the same machine at the same time.

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

struct ChildResult {
    int status = -1;
    double seconds = 0;
    double cpuSeconds = 0;
    long peakKb = 0;
};

inline ChildResult runChild(const QString& program, const QStringList& args)
{
    std::vector<QByteArray> bytes{program.toLocal8Bit()};
    for (const QString& a : args)
        bytes.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);

    ChildResult r;
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
    r.seconds = t.nsecsElapsed() / 1e9;
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.peakKb = usage.ru_maxrss;
    r.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                   (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    return r;
}

// The program of this build, and the older one named by "--before PROGRAM" (taken out
// of `args`), if any.
struct Programs {
    QString after;
    QString before;
};

inline Programs programsFrom(QStringList* args)
{
    Programs p;
    p.after = QFileInfo(QCoreApplication::applicationDirPath() + QStringLiteral("/../qx-text")).absoluteFilePath();
    const int i = int(args->indexOf(QStringLiteral("--before")));
    if (i >= 0 && i + 1 < args->size()) {
        p.before = QFileInfo(args->at(i + 1)).absoluteFilePath();
        args->remove(i, 2);
    }
    return p;
}

// The program forms its work folder under HOME; keep it out of the user's, and run
// without a display as a batch job would.
inline void isolateChildren(const QString& home)
{
    qputenv("HOME", home.toUtf8());
    qunsetenv("DISPLAY");
    qunsetenv("QT_QPA_PLATFORM");
}
