// Serial letters without a window: the starter database as one PDF (one letter per
// address, each on a page of its own, in name order) with no display at all, one file
// per letter, and the exit codes of wrong calls.
#include "PdfText.h"
#include "TestFiles.h"
#include "TestHome.h"
#include "addresses/Queries.h"
#include "addresses/RecordSource.h"
#include "shell/SerialCommand.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kProgram = QStringLiteral(QX_BINARY_DIR "/qx-text");

// Last names of the starter database in the order of the mail merge's left list.
QStringList lastNamesInListOrder(const QString& db)
{
    RecordSource a;
    if (!a.open(db, Queries::nameOrder()))
        return {};
    QStringList names;
    for (int i = 0; i < a.recordCount(); ++i)
        names << a.fieldAt(i, QStringLiteral("Nachname"));
    return names;
}

} // namespace

class TestSerialCommand : public QObject {
    Q_OBJECT
    TestHome home;
    QTemporaryDir dir;
    QString db;
    QString text;

private slots:
    void initTestCase()
    {
        db = dir.filePath(QStringLiteral("address50.adr"));
        QVERIFY(QFile::copy(QStringLiteral(QX_BINARY_DIR "/address50.adr"), db));
        text = dir.filePath(QStringLiteral("text.txt"));
        QVERIFY(writeAll(text, "wir laden Sie zur Jahresversammlung ein.\n"));
    }

    void singlePdfWithoutDisplay()
    {
        if (!havePdfToText())
            QSKIP("pdftotext is not installed");
        const QString pdf = dir.filePath(QStringLiteral("alle.pdf"));
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        p.setProcessEnvironment(env);
        p.start(kProgram, {QStringLiteral("--serial-letters"), QStringLiteral("--database"), db,
                           QStringLiteral("--text"), text, QStringLiteral("--single-pdf"), pdf});
        QVERIFY(p.waitForFinished(120000));
        const QString err = QString::fromLocal8Bit(p.readAllStandardError());
        QCOMPARE(p.exitCode(), 0);

        const QStringList names = lastNamesInListOrder(db);
        QVERIFY(err.contains(QStringLiteral("Brief %1 von %1").arg(names.size())));
        // Short letters: one page each, every one opening with the letterhead and
        // naming its own address.
        QCOMPARE(pdfPages(pdf), names.size());
        for (int i = 0; i < names.size(); ++i) {
            const QString page = pdfPageText(pdf, i + 1);
            QVERIFY2(page.trimmed().startsWith(QStringLiteral("Maria Muster")), qPrintable(page));
            QVERIFY2(page.contains(names[i]), qPrintable(names[i] + QStringLiteral(" not on page ") +
                                                         QString::number(i + 1)));
        }
    }

    void fileEach()
    {
        const QString out = dir.filePath(QStringLiteral("einzeln"));
        QCOMPARE(runSerialCommand({QStringLiteral("--serial-letters"), QStringLiteral("--database"), db,
                                   QStringLiteral("--text"), text, QStringLiteral("--convert-to"),
                                   QStringLiteral("txt"), QStringLiteral("--outdir"), out}),
                 0);
        const QStringList names = lastNamesInListOrder(db);
        const QStringList files = QDir(out).entryList(QDir::Files, QDir::Name);
        QCOMPARE(files.size(), names.size());
        QCOMPARE(files.first(), SerialCommand::fileName(1, names.first(), QStringLiteral("txt")));
        QVERIFY(QString::fromUtf8(readAll(QDir(out).filePath(files.last()))).contains(names.last()));
        QCOMPARE(SerialCommand::fileName(12, QStringLiteral("A/B: C?"), QStringLiteral("pdf")),
                 QStringLiteral("Serienbrief_0012_A_B_ C_.pdf"));
    }

    void wrongCalls_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        const QString pdf = QStringLiteral("x.pdf");
        QTest::newRow("no output") << QStringList{"--text", "t.txt"} << 2;
        QTest::newRow("block 11") << QStringList{"--block", "11", "--single-pdf", pdf} << 2;
        QTest::newRow("missing text file") << QStringList{"--database", "DB", "--text", "fehlt.txt", "--single-pdf", pdf} << 1;
        QTest::newRow("missing database") << QStringList{"--database", "fehlt.adr", "--text", "TEXT", "--single-pdf", pdf} << 1;
        QTest::newRow("empty group") << QStringList{"--database", "DB", "--group", "Gibtsnicht", "--text", "TEXT", "--single-pdf", pdf} << 1;
    }
    void wrongCalls()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        args.replaceInStrings(QStringLiteral("DB"), db).replaceInStrings(QStringLiteral("TEXT"), text);
        args.prepend(QStringLiteral("--serial-letters"));
        QDir::setCurrent(dir.path());
        QCOMPARE(runSerialCommand(args), code);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("x.pdf"))));
    }
};

QTEST_MAIN(TestSerialCommand)
#include "tst_serialcommand.moc"
