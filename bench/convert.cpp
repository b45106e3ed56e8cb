// Converts 100 one-page letters to PDF in one batch call and prints the time taken.
#include "shell/BatchConvert.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdio>

int main()
{
    QTemporaryDir dir;
    QStringList args{QStringLiteral("--convert-to"), QStringLiteral("pdf"), QStringLiteral("--outdir"),
                     dir.filePath(QStringLiteral("pdf"))};
    QDir().mkpath(dir.filePath(QStringLiteral("pdf")));
    for (int i = 1; i <= 100; ++i) {
        // An RTF letter of about one page: address block, date, subject, body, closing.
        QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}}\\f0\\fs22 "
                         "Frau\\par Erika Mustermann " + QByteArray::number(i) +
                         "\\par Hauptstra\\'dfe " + QByteArray::number(i) +
                         "\\par 12345 Musterstadt\\par\\par\\qr 5. Dezember 2026\\par\\ql\\par "
                         "{\\b Ihre Anfrage}\\par\\par Sehr geehrte Frau Mustermann,\\par\\par ";
        for (int p = 0; p < 6; ++p)
            rtf += "vielen Dank f\\'fcr Ihr Schreiben. Wir haben Ihre Unterlagen gepr\\'fcft und "
                   "melden uns in den n\\'e4chsten Tagen mit einem Angebot bei Ihnen. \\par ";
        rtf += "\\par Mit freundlichen Gr\\'fc\\'dfen\\par\\par Max Beispiel}";
        const QString path = dir.filePath(QStringLiteral("brief%1.rtf").arg(i, 3, 10, QLatin1Char('0')));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(rtf) != rtf.size())
            return 1;
        args << path;
    }
    QElapsedTimer t;
    t.start();
    const int rc = runBatchConvert(args);
    const qint64 ms = t.elapsed();
    const int pdfs = int(QDir(dir.filePath(QStringLiteral("pdf"))).entryList({QStringLiteral("*.pdf")}).size());
    std::printf("100 letters -> %d PDF files in one --convert-to call: %lld ms (%.1f ms each), exit %d\n",
                 pdfs, ms, ms / 100.0, rc);
    return rc;
}
