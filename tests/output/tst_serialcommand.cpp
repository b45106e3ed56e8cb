// Serial letters without a window: the starter database as one PDF (one letter per
// address, each on a page of its own, in name order) with no display at all, one file
// per letter, and the exit codes of wrong calls; one letter's complete text.
#include "TestPaths.h"
#include "PdfText.h"
#include "TestCommon.h"
#include "TestHome.h"
#include "../addresses/AddressFixture.h"
#include "addresses/Queries.h"
#include "addresses/RecordSource.h"
#include "app/AppState.h"
#include "engine/Document.h"
#include "engine/surface/TextControl.h"
#include "engine/formats/Formats.h"
#include "output/SerialLetter.h"
#include "shell/SerialCommand.h"
#include "textblocks/TextBlockFile.h"

#include "RunProgram.h"

namespace {


// Last names of the starter database in the order of the mail merge's left list.
QStringList lastNamesInListOrder(const QString& db)
{
    RecordSource a;
    return a.open(db, Queries::nameOrder()) ? AddressFixture::rows(a, {"Nachname"}) : QStringList();
}

ComposerInput clubSender()
{
    ComposerInput in;
    in.SenderName = QStringLiteral("Verein e.V.");
    in.SenderStreet = QStringLiteral("Am Markt 1");
    in.SenderCity = QStringLiteral("12345 Musterstadt");
    in.SenderPhone = QStringLiteral("0123 456");
    // The window has no letterhead switch: the sender block comes all the same.
    in.ShowLetterhead = false;
    return in;
}

const QString kHead = QStringLiteral("Verein e.V.|Am Markt 1|12345 Musterstadt||Tel.: 0123 456||");

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
        QVERIFY(QFile::copy(qxBinaryDir() + QStringLiteral("/address50.adr"), db));
        text = dir.filePath(QStringLiteral("text.txt"));
        QVERIFY(writeAll(text, "wir laden Sie zur Jahresversammlung ein.\n"));
    }

    void singlePdfWithoutDisplay()
    {
        if (!havePdfToText())
            QSKIP("pdftotext is not installed");
        const QString pdf = dir.filePath(QStringLiteral("alle.pdf"));
        const ProgramRun run = runProgram({QStringLiteral("--serial-letters"), QStringLiteral("--database"), db,
                                           QStringLiteral("--text"), text, QStringLiteral("--single-pdf"), pdf},
                                          {}, true);
        const QString& err = run.err;
        QCOMPARE(run.code, 0);

        const QStringList names = lastNamesInListOrder(db);
        QVERIFY(err.contains(QStringLiteral("Brief %1 von %1").arg(names.size())));
        // Short letters: one page each, every one opening with the letterhead and
        // naming its own address.
        QCOMPARE(pdfPages(pdf), names.size());
        // The first letters word for word where the build before the faster serial run
        // put them, all but the date line.
        const QString differs = differsFromWordList(pdf, qxSourceDir() + QStringLiteral("/tests/output/data/serial-letters.words"),
                                                    QString::number(QDate::currentDate().year()));
        QVERIFY2(differs.isEmpty(), qPrintable(differs));
        for (int i = 0; i < names.size(); ++i) {
            const QString page = pdfPageText(pdf, i + 1);
            QVERIFY2(page.trimmed().startsWith(QStringLiteral("Maria Muster")), qPrintable(page));
            QVERIFY2(page.contains(names[i]), qPrintable(names[i] + QStringLiteral(" not on page ") +
                                                         QString::number(i + 1)));
        }
    }

    // A file for each letter, named by its number and last name. A common text that
    // names no font is written in the letter text font, like the date and salutation
    // around it.
    void fileEachInLetterFont()
    {
        const QString work = home.path() + QStringLiteral("QX-Kontorix/");
        QVERIFY(QDir().mkpath(work));
        QVERIFY(writeAll(work + QStringLiteral("FontText.txt"), "\"Courier New\",\"12\"\r\n"));
        const QString out = dir.filePath(QStringLiteral("briefe"));
        QCOMPARE(runSerialCommand({QStringLiteral("--serial-letters"), QStringLiteral("--database"), db,
                                   QStringLiteral("--text"), text, QStringLiteral("--convert-to"),
                                   QStringLiteral("txm"), QStringLiteral("--outdir"), out}),
                 0);
        QFile::remove(work + QStringLiteral("FontText.txt"));
        const QStringList names = lastNamesInListOrder(db);
        const QStringList files = QDir(out).entryList(QDir::Files, QDir::Name);
        QCOMPARE(files.size(), names.size());
        QCOMPARE(files.first(), SerialCommand::fileName(1, names.first(), QStringLiteral("txm")));
        QCOMPARE(SerialCommand::fileName(12, QStringLiteral("A/B: C?"), QStringLiteral("pdf")),
                 QStringLiteral("Serienbrief_0012_A_B_ C_.pdf"));
        Document letter, last;
        QString error;
        QVERIFY2(Formats::readFile(3, QDir(out).filePath(files.first()), Formats::PageHeaderSize, letter, nullptr,
                                   &error) &&
                     Formats::readFile(3, QDir(out).filePath(files.last()), Formats::PageHeaderSize, last, nullptr,
                                       &error),
                 qPrintable(error));
        QVERIFY(last.body()->toPlainText().contains(names.last()));
        for (const QString& word : {QStringLiteral("Jahresversammlung"), QStringLiteral("Sehr geehrte")}) {
            const QTextCursor c = letter.body()->find(word);
            QVERIFY2(!c.isNull(), qPrintable(word));
            const QFont f = c.charFormat().font();
            QCOMPARE(QStringLiteral("%1 %2").arg(f.families().value(0)).arg(f.pointSizeF()),
                     QStringLiteral("Courier New 12"));
        }
    }

    // PDF files come from one batch: each a letter of its own, one page with its own address.
    void fileEachAsPdf()
    {
        if (!havePdfToText())
            QSKIP("pdftotext is not installed");
        const QString out = dir.filePath(QStringLiteral("einzeln-pdf"));
        QCOMPARE(runSerialCommand({QStringLiteral("--serial-letters"), QStringLiteral("--database"), db,
                                   QStringLiteral("--text"), text, QStringLiteral("--convert-to"),
                                   QStringLiteral("pdf"), QStringLiteral("--outdir"), out}),
                 0);
        const QStringList names = lastNamesInListOrder(db);
        const QStringList files = QDir(out).entryList(QDir::Files, QDir::Name);
        QCOMPARE(files.size(), names.size());
        QCOMPARE(files.first(), SerialCommand::fileName(1, names.first(), QStringLiteral("pdf")));
        for (int i : {0, int(names.size()) - 1}) {
            const QString file = QDir(out).filePath(files[i]);
            QCOMPARE(pdfPages(file), 1);
            QVERIFY2(pdfPageText(file, 1).contains(names[i]), qPrintable(file));
        }
    }

    void wrongCalls_data()
    {
        addColumns<QStringList, int>("args", "code");
        const QString pdf = QStringLiteral("x.pdf");
        QTest::newRow("no output") << QStringList{"--text", "t.txt"} << 2;
        QTest::newRow("block 11") << QStringList{"--block", "11", "--single-pdf", pdf} << 2;
        QTest::newRow("block 10, no file") << QStringList{"--database", "DB", "--block", "10", "--text", "TEXT", "--single-pdf", pdf} << 1;
        QTest::newRow("missing text file") << QStringList{"--database", "DB", "--text", "fehlt.txt", "--single-pdf", pdf} << 1;
        QTest::newRow("missing database") << QStringList{"--database", "fehlt.adr", "--text", "TEXT", "--single-pdf", pdf} << 1;
        QTest::newRow("empty group") << QStringList{"--database", "DB", "--group", "Gibtsnicht", "--text", "TEXT", "--single-pdf", pdf} << 1;
    }
    void wrongCalls()
    {
        QFETCH(QStringList, args);
        args.replaceInStrings(QStringLiteral("DB"), db).replaceInStrings(QStringLiteral("TEXT"), text);
        args.prepend(QStringLiteral("--serial-letters"));
        QDir::setCurrent(dir.path());
        QTEST(runSerialCommand(args), "code");
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("x.pdf"))));
    }
    // One serial letter written into a surface: the complete text for a private address
    // and a company, with references, member number, common text and text block, and a
    // chosen block whose file is missing.
    void oneLetterText_data()
    {
        addColumns<QString, QString, QString>("who", "expected", "message");
        QTest::newRow("private, references, member number, block")
            << "private"
            << kHead + "»Herrn|»Karl Becker|»Hauptstraße 5|»10115 Berlin||||"
                       "Unser Zeichen:\t\tIhr Zeichen:\t\t05. März 2026|AB\t\t\t||Einladung|||"
                       "Mitglieds-Nr.: 42|||Sehr geehrter Herr Becker,||Wir laden ein.|Bis bald.Ihr Vorstand"
                       "||Mit freundlichen Grüßen||||"
            << QString();
        QTest::newRow("company, typed date, missing block")
            << "company"
            << kHead + "»Firma |»Müller & Söhne GmbH|»Industriestr. 7|»1010 Wien|»ÖSTERREICH||||"
                       "1. April 2026|||||Sehr geehrte Damen und Herren, ||Wir laden ein.|Bis bald."
                       "||Viele Grüße||||Anlage(n): Satzung"
            << "Der Textbaustein 3 existiert nicht! Sie müssen ihn erst anlegen.";
    }
    void oneLetterText()
    {
        QFETCH(QString, who);
        QFETCH(QString, expected);
        QFETCH(QString, message);
        QTemporaryDir work;
        AppState app;
        app.WorkFolder = work.path() + QLatin1Char('/');
        TextBlock block;
        block.Text = QStringLiteral("Ihr Vorstand");
        block.FontName = QStringLiteral("DejaVu Sans");
        block.FontSize = 11;
        QVERIFY(TextBlockFile::write(app.WorkFolder, 2, block));
        ScriptedPrompter* prompts = installScriptedPrompter();

        ComposerInput in = clubSender();
        SerialLetter::Options o;
        o.today = QDate(2026, 3, 5);
        if (who == u"private") {
            in.Title = QStringLiteral("Herrn");
            in.FirstName = QStringLiteral("Karl");
            in.LastName = QStringLiteral("Becker");
            in.Street = QStringLiteral("Hauptstraße 5");
            in.PostCode = QStringLiteral("10115");
            in.City = QStringLiteral("Berlin");
            in.CountryCode = QStringLiteral("D");
            in.Country = QStringLiteral("Deutschland");
            in.UseMemberNumber = true;
            in.MemberNumber = QStringLiteral("42");
            in.OurReference = QStringLiteral("AB");
            in.Subject = QStringLiteral("Einladung");
            in.BlockNumber = 2;
        } else {
            in.Title = QStringLiteral("Firma");
            in.FirstName = QStringLiteral("Müller &");
            in.LastName = QStringLiteral("Söhne GmbH");
            in.Street = QStringLiteral("Industriestr. 7");
            in.PostCode = QStringLiteral("1010");
            in.City = QStringLiteral("Wien");
            in.CountryCode = QStringLiteral("A");
            in.Country = QStringLiteral("Österreich");
            in.MemberNumber = QStringLiteral("7"); // box unticked: not written
            in.Closing = QStringLiteral("Viele Grüße");
            in.UseAttachments = true;
            in.Attachments = QStringLiteral("Satzung");
            in.BlockNumber = 3;
            o.date = QStringLiteral("1. April 2026");
        }
        // The previous letter's member number must not carry over.
        app.LetterText[40] = QStringLiteral("99");

        TextControl s;
        const auto text = SerialLetter::CommonText::fromPlainText(QStringLiteral("Wir laden ein.\nBis bald."));
        const bool found = SerialLetter::write(s, app, in, text, o);
        QCOMPARE(s.Text(), letterText(expected));
        QCOMPARE(found, message.isEmpty());
        QCOMPARE(prompts->asked.isEmpty() ? QString() : prompts->last().text, message);
        QCOMPARE(s.SelStart(), 0);
    }
};

QTEST_MAIN(TestSerialCommand)
#include "tst_serialcommand.moc"
