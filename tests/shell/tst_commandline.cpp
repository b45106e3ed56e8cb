// The program as it is started: its command line before any window, and a batch
// conversion of another office suite's letter into PDF, checked word by word with
// pdftotext -bbox.

#include "TestPaths.h"
#include "PdfText.h"
#include "TestCommon.h"

#include "shell/StartCommand.h"

#include "RunProgram.h"


class TestCommandLine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void optionsNeedNoWindow_data()
    {
        addColumns<QStringList, int>("args", "code");
        QTest::newRow("document") << QStringList{"brief.txm"} << -1;
        QTest::newRow("lone dash") << QStringList{"-"} << -1;
        QTest::newRow("help") << QStringList{"--help"} << 0;
        QTest::newRow("unknown short option") << QStringList{"-x", "brief.txm"} << 2;
    }
    void optionsNeedNoWindow()
    {
        QFETCH(QStringList, args);
        QTEST(StartCommand::runWithoutWindows(args), "code");
    }

    void programExplainsInsteadOfStarting_data()
    {
        addColumns<QStringList, int, QString, QString>("args", "code", "says", "display");
        QTest::newRow("unknown option") << QStringList{"--fenster"} << 2 << "Unbekannte Option: --fenster" << QString();
        QTest::newRow("display unreachable") << QStringList{} << 1 << "braucht eine grafische Oberfläche" << ":93";
    }
    void programExplainsInsteadOfStarting()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, says);
        QFETCH(QString, display);
        QTemporaryDir dir;
        const ProgramRun r = runProgram(args, dir.path(), true, display);
        QVERIFY2(!r.crashed, qPrintable(r.err));
        QCOMPARE(r.code, code);
        QVERIFY2(r.err.contains(says), qPrintable(r.err));
        if (code == 2)
            QVERIFY(r.err.contains(QStringLiteral("Aufruf: qx-text [DATEI]")));
    }

    void officeLetterConvertsToPdfWithHeadersClearOfTheBody()
    {
        if (!havePdfToText())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QTemporaryDir dir;
        const QString rtf = dir.filePath(QStringLiteral("brief.rtf"));
        QVERIFY(QFile::copy(qxSourceDir() + QStringLiteral("/tests/engine/data/office-kopfzeile.rtf"), rtf));
        const QString out = dir.filePath(QStringLiteral("neu/pdf"));
        const ProgramRun r = runProgram({QStringLiteral("--convert-to"), QStringLiteral("pdf"), QStringLiteral("--outdir"), out, rtf}, {}, true);
        QVERIFY2(r.code == 0, qPrintable(r.err));

        // Word for word where the build before faster pagination put it.
        const QString differs = differsFromWordList(out + QStringLiteral("/brief.pdf"),
                                                    qxSourceDir() + QStringLiteral("/tests/engine/data/office-kopfzeile.words"));
        QVERIFY2(differs.isEmpty(), qPrintable(differs));
        const QList<PdfPage> pages = pdfWordBoxes(out + QStringLiteral("/brief.pdf"));
        QVERIFY2(pages.size() >= 3, qPrintable(QString::number(pages.size())));
        for (int i = 0; i < pages.size(); ++i) {
            const QList<PdfWord>& words = pages[i].words;
            // Header: "... Seite N von M"; footer: "Musterstraße 1 · ..."; the rest is body.
            double headerBottom = -1, footerTop = 1e9, bodyTop = 1e9, bodyBottom = -1;
            QStringList header;
            bool inHeader = true;
            for (int w = 0; w < words.size(); ++w) {
                const PdfWord& word = words[w];
                if (inHeader) {
                    header << word.text;
                    headerBottom = qMax(headerBottom, word.yMax);
                    inHeader = !(w >= 2 && words[w - 1].text == u"von");
                } else if (word.text.startsWith(u"Musterstra")) {
                    footerTop = word.yMin;
                    break;
                } else {
                    bodyTop = qMin(bodyTop, word.yMin);
                    bodyBottom = qMax(bodyBottom, word.yMax);
                }
            }
            const QString want = QStringLiteral("Seite %1 von %2").arg(i + 1).arg(pages.size());
            QVERIFY2(header.join(QLatin1Char(' ')).endsWith(want), qPrintable(header.join(QLatin1Char(' '))));
            QVERIFY2(bodyTop > headerBottom && footerTop < 1e9 && bodyBottom < footerTop,
                     qPrintable(QStringLiteral("page %1: header to %2, body %3-%4, footer from %5")
                                    .arg(i + 1).arg(headerBottom).arg(bodyTop).arg(bodyBottom).arg(footerTop)));
        }
    }

    // A missing input is reported as missing, not as a clash with its own result.
    void batchReportsAMissingInput()
    {
        QTemporaryDir dir;
        const QString txt = dir.filePath(QStringLiteral("fehlt.txt"));
        const ProgramRun r = runProgram({QStringLiteral("--convert-to"), QStringLiteral("txt"), txt}, {}, true);
        QCOMPARE(r.code, 1);
        const QString says = QStringLiteral("Fehler bei \"%1\": Die Datei \"%1\" kann nicht geöffnet werden: "
                                            "Die Datei existiert nicht.\n").arg(txt);
        QVERIFY2(r.err.endsWith(says), qPrintable(r.err));
        QVERIFY(!r.err.contains(QStringLiteral("Quelldatei")));
    }

    // Many letters in one call: a PDF each with its own text, the reports in the order
    // of the inputs, and no temporary file left beside them.
    void batchWritesManyPdfs()
    {
        if (!havePdfToText())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QTemporaryDir dir;
        QStringList args{QStringLiteral("--convert-to"), QStringLiteral("pdf"), QStringLiteral("--outdir"),
                         dir.filePath(QStringLiteral("pdf"))};
        for (int i = 1; i <= 4; ++i) {
            const QString rtf = dir.filePath(QStringLiteral("brief%1.rtf").arg(i));
            if (i == 3) {
                args << dir.filePath(QStringLiteral("fehlt.rtf"));
                continue;
            }
            QVERIFY(writeAll(rtf, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Sehr geehrte Frau " + QByteArray::number(i)
                                      + ",\\par {\\b fett} \\page Seite zwei}"));
            args << rtf;
        }
        const ProgramRun r = runProgram(args, {}, true);
        QCOMPARE(r.code, 1);
        const QStringList lines = r.err.split(QLatin1Char('\n')).filter(QStringLiteral("Fehler"));
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines[0].startsWith(QStringLiteral("Fehler bei \"%1\"").arg(dir.filePath(QStringLiteral("fehlt.rtf")))),
                 qPrintable(r.err));
        for (int i : {1, 2, 4}) {
            const QString pdf = dir.filePath(QStringLiteral("pdf/brief%1.pdf").arg(i));
            QCOMPARE(pdfPages(pdf), 2);
            QCOMPARE(pdfPageText(pdf, 1).simplified(), QStringLiteral("Sehr geehrte Frau %1, fett").arg(i));
            QCOMPARE(pdfPageText(pdf, 2).simplified(), QStringLiteral("Seite zwei"));
        }
        QCOMPARE(QDir(dir.filePath(QStringLiteral("pdf"))).entryList(QDir::Files | QDir::Hidden),
                 QStringList({QStringLiteral("brief1.pdf"), QStringLiteral("brief2.pdf"), QStringLiteral("brief4.pdf")}));
    }

    void batchLeavesItsSourceAlone()
    {
        QTemporaryDir dir;
        const QString txt = dir.filePath(QStringLiteral("notiz.txt"));
        QVERIFY(writeAll(txt, "Seite eins\fSeite zwei"));
        const ProgramRun r = runProgram({QStringLiteral("--convert-to"), QStringLiteral("txt"), txt}, {}, true);
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains(QStringLiteral("Quelldatei")), qPrintable(r.err));
        QCOMPARE(readAll(txt), QByteArray("Seite eins\fSeite zwei"));
    }
};

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
