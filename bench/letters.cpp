// Letters without a window: one "--letter" call for 100 addresses, written as PDF and
// as own-format documents, with the starter database's sender and options.
#include "addresses/RecordSource.h"
#include "shell/LetterCommand.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv)
{
    QTemporaryDir dir;
    // The command forms its work folder under HOME; keep it out of the user's.
    qputenv("HOME", dir.filePath(QStringLiteral("home")).toUtf8());
    QDir().mkpath(dir.filePath(QStringLiteral("home")));
    const QString starter =
        QFileInfo(QString::fromLocal8Bit(argv[0])).dir().filePath(QStringLiteral("../address50.adr"));
    const QString db = dir.filePath(QStringLiteral("address50.adr"));
    if (argc < 1 || !QFile::copy(starter, db)) {
        std::fprintf(stderr, "starter database not found: %s\n", qPrintable(starter));
        return 1;
    }
    QStringList numbers;
    {
        RecordSource a;
        if (!a.open(db, QStringLiteral("Addressen")))
            return 1;
        const int have = a.recordCount();
        for (int i = have; i < 100; ++i) {
            a.addNew();
            a.saveRow({{QStringLiteral("Anrede"), i % 2 ? QStringLiteral("Frau") : QStringLiteral("Herrn")},
                       {QStringLiteral("Vorname"), QStringLiteral("Vorname %1").arg(i)},
                       {QStringLiteral("Nachname"), QStringLiteral("Nachname %1").arg(i)},
                       {QStringLiteral("Adresse"), QStringLiteral("Musterweg %1").arg(i)},
                       {QStringLiteral("Postleitzahl"), QStringLiteral("12345")},
                       {QStringLiteral("Ort"), QStringLiteral("Musterstadt")},
                       {QStringLiteral("LaenderKZ"), QStringLiteral("D")}});
        }
        for (int i = 0; i < a.recordCount() && numbers.size() < 100; ++i)
            numbers << a.fieldAt(i, QStringLiteral("Nr"));
    }
    int rc = 0;
    for (const char* ext : {"pdf", "txm"}) {
        const QString out = dir.filePath(QString::fromLatin1(ext));
        QElapsedTimer t;
        t.start();
        rc |= runLetterCommand({QStringLiteral("--letter"), numbers.join(QLatin1Char(',')),
                                QStringLiteral("--database"), db, QStringLiteral("--convert-to"),
                                QString::fromLatin1(ext), QStringLiteral("--outdir"), out});
        const qint64 ms = t.elapsed();
        const int files = int(QDir(out).entryList(QDir::Files).size());
        std::fprintf(stderr, "\n");
        std::printf("--letter for %d addresses -> %d %s files in one call: %lld ms (%.1f ms each)\n",
                    int(numbers.size()), files, ext, ms, ms / 100.0);
    }
    return rc;
}
