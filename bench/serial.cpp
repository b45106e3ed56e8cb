// Serial letters without a window: "qx-text --serial-letters --single-pdf" on generated
// databases of 1,000, 10,000 and 50,000 addresses. Reports seconds, letters per second,
// the CPU time (user + system: what the run costs when the machine is shared), peak
// memory (maximum resident set of the run) and the PDF's size. Counts can be given
// as arguments instead ("bench_serial 500 2000"); with "--template" the letters are
// written on the letterhead template "Briefkopf.txm" beside the program. With
// "--before OLD/qx-text" each count is run by that build too, on the same database.
#include "AddressGenerator.h"
#include "ChildRun.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    // The program forms its work folder under HOME; keep it out of the user's.
    const QString home = dir.filePath(QStringLiteral("home"));
    QDir().mkpath(home);
    isolateChildren(home);
    QStringList given = QCoreApplication::arguments().mid(1);
    const Programs programs = programsFrom(&given);
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
    for (const QString& a : std::as_const(given)) {
        if (a == u"--template")
            onTemplate = true;
        else
            counts << a.toInt();
    }
    if (counts.isEmpty())
        counts = {1000, 10000, 50000};

    if (onTemplate)
        std::printf("on the letterhead template\n");
    std::printf("%-9s %-7s %9s %10s %9s %10s %10s\n", "letters", "build", "seconds", "letters/s", "CPU s",
                "peak MB", "PDF MB");
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
        for (const auto& [name, program] : {std::pair{"before", programs.before}, std::pair{"after", programs.after}}) {
            if (program.isEmpty())
                continue;
            const ChildResult r = runChild(program, args);
            std::printf("%-9d %-7s %9.2f %10.0f %9.2f %10.1f %10.1f%s\n", n, name, r.seconds, n / r.seconds,
                        r.cpuSeconds, r.peakKb / 1024.0, QFileInfo(pdf).size() / 1048576.0,
                        r.status == 0 ? "" : "  (failed)");
            std::fflush(stdout);
            rc |= r.status;
            QFile::remove(pdf);
        }
        QFile::remove(db);
    }
    return rc;
}
