// "qx-text --convert-to pdf" run as a batch job would run it:
//  - 100 one-page RTF letters to 100 PDF files in one call;
//  - one RTF letter collection of 100, 1000 and 5000 pages (a letter a page, a page
//    number in the header) to one PDF, which shows whether pagination stays linear.
// Prints wall and CPU seconds (user + system) and the peak memory of each run. With
// "--before OLD/qx-text" every row is run by that build as well; page counts can be
// given as arguments ("bench_convert 300 1000").
#include "ChildRun.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

QByteArray letterBody(int i)
{
    // About one page: address block, date, subject, body, closing.
    QByteArray rtf = "\\f0\\fs22 Frau\\par Erika Mustermann " + QByteArray::number(i) + "\\par Hauptstra\\'dfe " +
                     QByteArray::number(i) +
                     "\\par 12345 Musterstadt\\par\\par\\qr 5. Dezember 2026\\par\\ql\\par "
                     "{\\b Ihre Anfrage}\\par\\par Sehr geehrte Frau Mustermann,\\par\\par ";
    for (int p = 0; p < 6; ++p)
        rtf += "vielen Dank f\\'fcr Ihr Schreiben. Wir haben Ihre Unterlagen gepr\\'fcft und "
               "melden uns in den n\\'e4chsten Tagen mit einem Angebot bei Ihnen. \\par ";
    rtf += "\\par Mit freundlichen Gr\\'fc\\'dfen\\par\\par Max Beispiel";
    return rtf;
}

const QByteArray kHead = "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}}";

bool save(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

void printRow(const char* what, const char* build, const ChildResult& r, const QString& note)
{
    std::printf("%-26s %-7s %8.2f %8.2f %9.1f  %s%s\n", what, build, r.seconds, r.cpuSeconds, r.peakKb / 1024.0,
                qPrintable(note), r.status == 0 ? "" : "  (failed)");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    isolateChildren(dir.filePath(QStringLiteral("home")));
    QDir().mkpath(dir.filePath(QStringLiteral("home")));
    QStringList given = QCoreApplication::arguments().mid(1);
    const Programs programs = programsFrom(&given);
    QList<int> pageCounts;
    for (const QString& a : std::as_const(given))
        pageCounts << a.toInt();
    if (pageCounts.isEmpty())
        pageCounts = {100, 1000, 5000};
    const std::pair<const char*, QString> builds[] = {{"before", programs.before}, {"after", programs.after}};

    std::printf("%-26s %-7s %8s %8s %9s  %s\n", "work", "build", "seconds", "CPU s", "peak MB", "result");
    int rc = 0;

    const QString outDir = dir.filePath(QStringLiteral("pdf"));
    QStringList args{QStringLiteral("--convert-to"), QStringLiteral("pdf"), QStringLiteral("--outdir"), outDir};
    for (int i = 1; i <= 100; ++i) {
        const QString path = dir.filePath(QStringLiteral("brief%1.rtf").arg(i, 3, 10, QLatin1Char('0')));
        if (!save(path, kHead + letterBody(i) + "}"))
            return 1;
        args << path;
    }
    for (const auto& [build, program] : builds) {
        if (program.isEmpty())
            continue;
        QDir(outDir).removeRecursively();
        const ChildResult r = runChild(program, args);
        const int pdfs = int(QDir(outDir).entryList({QStringLiteral("*.pdf")}).size());
        printRow("100 letters -> 100 PDFs", build, r, QStringLiteral("%1 PDF files").arg(pdfs));
        rc |= r.status;
    }

    for (int pages : std::as_const(pageCounts)) {
        QByteArray rtf = kHead + "{\\header\\pard\\qr\\f0\\fs18 Seite {\\field{\\*\\fldinst PAGE}{\\fldrslt 1}}\\par}";
        for (int i = 1; i <= pages; ++i) {
            if (i > 1)
                rtf += "\\page ";
            rtf += letterBody(i) + "\\par ";
        }
        rtf += "}";
        const QString path = dir.filePath(QStringLiteral("sammlung%1.rtf").arg(pages));
        const QString pdf = dir.filePath(QStringLiteral("out/sammlung%1.pdf").arg(pages));
        if (!save(path, rtf))
            return 1;
        for (const auto& [build, program] : builds) {
            if (program.isEmpty())
                continue;
            QFile::remove(pdf);
            const ChildResult r = runChild(program, {QStringLiteral("--convert-to"), QStringLiteral("pdf"),
                                                     QStringLiteral("--outdir"), dir.filePath(QStringLiteral("out")),
                                                     path});
            printRow(qPrintable(QStringLiteral("%1-page RTF -> PDF").arg(pages)), build, r,
                     QStringLiteral("%1 KiB PDF").arg(QFileInfo(pdf).size() / 1024));
            rc |= r.status;
        }
    }
    return rc;
}
