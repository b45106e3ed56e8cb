#pragma once
// Runs the built program itself, as a user or a script starts it.

#include "TestPaths.h"
#include <QProcess>
#include <QStringList>

struct ProgramRun {
    int code = -1;       // the exit code
    bool crashed = true; // also when it did not end in time
    QString out, err;
};

// Runs qx-text with `args`, in `folder` when given; `headless` takes every display away
// but `display`.
inline ProgramRun runProgram(const QStringList& args, const QString& folder = {}, bool headless = false,
                             const QString& display = {})
{
    QProcess p;
    if (headless) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QLatin1String(name));
        if (!display.isEmpty())
            env.insert(QStringLiteral("DISPLAY"), display);
        p.setProcessEnvironment(env);
    }
    if (!folder.isEmpty())
        p.setWorkingDirectory(folder);
    p.start(qxBinaryDir() + QStringLiteral("/qx-text"), args);
    ProgramRun r;
    if (!p.waitForFinished(120000))
        return r;
    r.code = p.exitCode();
    r.crashed = p.exitStatus() != QProcess::NormalExit;
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}
