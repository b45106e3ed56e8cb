// Letters without a window: the starter database's default letter fits a DIN 5008
// window envelope, "--letter" writes the same document as the document window, and it
// refuses missing addresses, databases and text blocks.
#include "TestPaths.h"
#include "../shell/ShellFixture.h"

#include "PdfText.h"
#include "TestCommon.h"
#include "addresses/Queries.h"
#include "addresses/RecordSource.h"
#include "engine/Document.h"
#include "engine/pages/Paginator.h"
#include "letters/ComposerOptions.h"
#include "letters/LetterAssembly.h"
#include "letters/LetterInput.h"
#include "shell/LetterCommand.h"

#include <QAbstractTextDocumentLayout>
#include "RunProgram.h"
#include <QTextLayout>

namespace {

const QString kStarter = qxBinaryDir() + QStringLiteral("/tests/address50.adr");

// The composer's input for address `nr` of the starter database, as it opens.
ComposerInput starterInput(qint64 nr, const QString& workFolder)
{
    ComposerInput in;
    ComposerOptions::load(kStarter, workFolder, &in, nullptr);
    RecordSource a;
    a.open(kStarter, Queries::addressTable());
    a.findFirst(Queries::recordNumber(nr)); // a wrong number fails the comparisons
    ComposerOptions::setRecipient(in, a);
    return in;
}

} // namespace

class TestLetterCommand : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The letter on the shipped letterhead, as the document window builds it: every
    // address line inside the DL window (DIN 5008 form B: 20 mm from the left, 45 mm
    // from the top, 85 x 45 mm). The plain letter is measured in its PDF below.
    void addressInsideDinWindowOnTemplate()
    {
        // Address 3 of the starter database: contact person and a two-line street.
        const QStringList lines{"Schreinerei Holzmann GmbH", "z.Hd. Herrn Otto Span", "Industriestraße 44", "Halle 2",
                                "70173 Stuttgart"};
        QTemporaryDir work;
        AppState app;
        TextControl s;
        QVERIFY(s.Load(qxBinaryDir() + QStringLiteral("/Briefkopf.txm"), 30, 3, false));
        LetterInput::fill(starterInput(3, work.path() + QLatin1Char('/')), app);
        LetterAssembly::buildOnTemplate(s, app, QDate(2026, 3, 5));

        Paginator* pages = s.paginator();
        QTextDocument* d = pages->layoutDocument();
        const double mmPerUnit = 25.4 / 96 / Paginator::layoutScale(d);
        int found = 0;
        for (QTextBlock b = d->begin(); b.isValid(); b = b.next()) {
            const QString text = b.text();
            const QString content = QString(text).remove(QLatin1Char('\t'));
            if (!lines.contains(content))
                continue;
            ++found;
            QCOMPARE(pages->pageOfPosition(b.position()), 1);
            const QRectF r = d->documentLayout()->blockBoundingRect(b);
            const QTextLine line = b.layout()->lineAt(0);
            QCOMPARE(b.layout()->lineCount(), 1);
            const int first = int(text.size() - content.size());
            const double left = (r.left() + line.cursorToX(first)) * mmPerUnit;
            const double right = (r.left() + line.cursorToX(int(text.size()))) * mmPerUnit;
            const double top = (r.top() + line.y()) * mmPerUnit;
            const double bottom = top + line.height() * mmPerUnit;
            const QString where = QStringLiteral("%1: %2..%3 mm across, %4..%5 mm down").arg(content).arg(left).arg(right);
            QVERIFY2(left >= 20 && right <= 105 && top >= 45 && bottom <= 90, qPrintable(where.arg(top).arg(bottom)));
        }
        QCOMPARE(found, lines.size());
    }

    void sameDocumentAsWindow()
    {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        QTemporaryDir out;
        const ProgramRun run =
            runProgram({"--letter", "3", "--database", kStarter, "--convert-to", "xml", "--outdir", out.path()});
        QCOMPARE(run.code, 0);
        const QByteArray written = readAll(out.filePath(QStringLiteral("Brief_3.xml")));

        // The composer's "Brief erstellen" on the same address, then the letter command.
        AppState& app = appState();
        LetterInput::fill(starterInput(3, app.WorkFolder), app);
        fx.frame->sharedWindow()->BuildLetter();
        ShellFixture::flush();
        frmMDIChild* w = fx.frame->activeDocument();
        QVERIFY(w && w->Title() == u"Unbenannt");
        QCOMPARE(QString::fromUtf8(w->surface()->SaveToMemory(10)), QString::fromUtf8(written));
    }

    void refusals_data()
    {
        addColumns<QStringList, int, QString>("args", "code", "message");
        const QStringList db{"--database", kStarter, "--convert-to", "txt"};
        QTest::newRow("no address") << (QStringList{"--letter", "1,999"} + db) << 1
                                    << "Die Adresse Nr. 999 existiert nicht";
        QTest::newRow("bad number") << (QStringList{"--letter", "1,x"} + db) << 2 << "Keine gültige Adressnummer: x";
    }

    void refusals()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        QTemporaryDir out;
        const ProgramRun run = runProgram(args + QStringList{"--outdir", out.filePath("neu")});
        QTEST(run.code, "code");
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        // Nothing is written when any part is missing.
        QVERIFY(QDir(out.filePath("neu")).entryList(QDir::Files).isEmpty());
    }

    // A missing text block is reported and the letter written without a body, as the
    // composer writes it.
    void missingBlockLeavesBodyOut()
    {
        QTemporaryDir out;
        const ProgramRun run = runProgram({"--letter", "1", "--block", "7", "--database", kStarter, "--convert-to", "txt",
                                    "--outdir", out.path()});
        QCOMPARE(run.code, 0);
        QVERIFY2(run.err.contains(QStringLiteral("Der Textbaustein 7 existiert nicht! Sie müssen ihn erst anlegen.")),
                 qPrintable(run.err));
        const QString text = QString::fromUtf8(readAll(out.filePath(QStringLiteral("Brief_1.txt"))))
                                 .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QVERIFY2(text.contains(QStringLiteral("Sehr geehrter Herr Becker,\n\n\n\nMit freundlichen Grüßen\n")),
                 qPrintable(text));
    }

    // The printed letter: the address block starts at the top of the DIN 5008 address
    // field (form B: 45 mm below the top edge, 45 mm high, 20 mm from the left edge,
    // 85 mm wide) when the letterhead leaves room, or else right below the letterhead
    // as long as it ends inside the field; otherwise the letterhead is reported.
    void addressFieldInPdf_data()
    {
        // head: letterhead columns, "column=value"
        // headTop: "Abstand Briefkopf" in mm
        // firstFrom: top of the first address line, mm
        addColumns<QStringList, QString, double, double, bool>("head", "headTop", "firstFrom", "firstTo", "reported");
        const QStringList full{"Postfach=Postfach 11 22", "Fax=0761 654321", "Internet=www.muster.example"};
        QTest::newRow("starter letterhead, 17 mm") << QStringList{} << "17" << 44.95 << 46.0 << false;
        QTest::newRow("short letterhead, 5 mm") << QStringList{"BriefKTel=", "eMail="} << "5" << 44.95 << 45.5 << false;
        QTest::newRow("with post box, 5 mm") << QStringList{"Postfach=Postfach 11 22"} << "5" << 44.95 << 45.5 << false;
        // Nine lines from 17 mm end at 57 mm, right-aligned beside the window.
        QTest::newRow("full letterhead, 17 mm") << full << "17" << 57.0 << 66.0 << false;
        QTest::newRow("full letterhead, 30 mm") << full << "30" << 70.0 << 80.0 << true;
    }
    void addressFieldInPdf()
    {
        QFETCH(QStringList, head);
        QFETCH(QString, headTop);
        QFETCH(double, firstFrom);
        QFETCH(double, firstTo);
        QFETCH(bool, reported);
        if (!havePdfToText())
            QSKIP("pdftotext is not installed");
        QTemporaryDir out;
        const QString db = out.filePath(QStringLiteral("address50.adr"));
        QVERIFY(QFile::copy(kStarter, db));
        {
            RecordSource letterhead, options;
            QVERIFY(letterhead.open(db, Queries::letterheadTable()) && options.open(db, Queries::optionsTable()));
            letterhead.moveFirst();
            options.moveFirst();
            QHash<QString, QString> values;
            for (const QString& h : head)
                values.insert(h.section(QLatin1Char('='), 0, 0), h.section(QLatin1Char('='), 1));
            QVERIFY(head.isEmpty() || letterhead.saveRow(values));
            QVERIFY(options.saveRow({{QStringLiteral("Freiztxt"), headTop}}));
        }
        const ProgramRun run = runProgram({"--letter", "3", "--database", db, "--convert-to", "pdf", "--outdir", out.path()});
        QCOMPARE(run.code, 0);
        QCOMPARE(run.err.contains(QStringLiteral("Der Briefkopf reicht bis in das Adressfeld")), reported);

        const QList<PdfPage> pages = pdfWordBoxes(out.filePath(QStringLiteral("Brief_3.pdf")));
        QVERIFY(!pages.isEmpty());
        constexpr double mm = 72 / 25.4;
        // Address 3 of the starter database: contact person and a two-line street.
        const QStringList address{"Schreinerei", "Holzmann", "GmbH", "z.Hd.", "Herrn", "Otto", "Span",
                                  "Industriestraße", "44", "Halle", "2", "70173", "Stuttgart"};
        QStringList found;
        double firstTop = 1000;
        for (const PdfWord& w : pages.first().words) {
            if (!address.contains(w.text) || found.contains(w.text))
                continue;
            found << w.text;
            firstTop = qMin(firstTop, w.yMin / mm);
            // A twentieth of a millimetre for the PDF's rounding.
            if (!reported)
                QVERIFY2(w.xMin >= 19.95 * mm && w.xMax <= 105 * mm && w.yMin >= 44.95 * mm && w.yMax <= 90 * mm,
                         qPrintable(QStringLiteral("%1 at %2..%3 mm down").arg(w.text).arg(w.yMin / mm).arg(w.yMax / mm)));
        }
        QCOMPARE(found.size(), address.size());
        QVERIFY2(firstTop >= firstFrom && firstTop <= firstTo, qPrintable(QString::number(firstTop)));
    }

    void writesEachAddressIntoNewFolder()
    {
        QTemporaryDir out;
        const QString dir = out.filePath(QStringLiteral("a/b"));
        const ProgramRun run =
            runProgram({"--letter", "1,11", "--database", kStarter, "--convert-to", "pdf", "--outdir", dir});
        QCOMPARE(run.code, 0);
        if (!havePdfToText())
            QSKIP("pdftotext is not installed");
        // Each file holds its own address and salutation, on one page.
        const QString becker = dir + QStringLiteral("/Brief_1.pdf"), muster = dir + QStringLiteral("/Brief_11.pdf");
        QCOMPARE(pdfPages(becker), 1);
        QCOMPARE(pdfPages(muster), 1);
        const QString one = pdfPageText(becker, 1).simplified(), eleven = pdfPageText(muster, 1).simplified();
        for (const char* part : {"Herrn Karl Becker Hauptstraße 5 10115 Berlin", "Sehr geehrter Herr Becker,"})
            QVERIFY2(one.contains(QString::fromUtf8(part)), qPrintable(one));
        for (const char* part : {"Herrn Thomas Muster Seestraße 21 8002 Zürich SCHWEIZ", "Lieber Bruder,"})
            QVERIFY2(eleven.contains(QString::fromUtf8(part)), qPrintable(eleven));
    }
};

QTEST_MAIN(TestLetterCommand)
#include "tst_lettercommand.moc"
