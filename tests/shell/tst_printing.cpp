// Printing through the frame's print setup, the document menu and the toolbar, on
// the application's current printer writing a PDF file (the same path as a printer,
// only the output device differs), read back with pdftotext.

#include "PdfText.h"
#include "ShellFixture.h"
#include "TestFiles.h"

#include "app/CurrentPrinter.h"
#include "dialogs/clsPrintDialog.h"
#include "engine/PagePrinter.h"
#include "shell/BatchPrint.h"
#include "shell/PrintCommands.h"

#include "engine/Document.h"

#include <QAction>
#include <QApplication>
#include <QProgressDialog>
#include <QTimer>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QToolBar>

namespace {
// Three pages, each with the header "Kopfzeile".
void fillThreePages(TextControl* s)
{
    s->setText(QStringLiteral("Seite eins\fSeite zwei\fSeite drei"));
    s->setHeaderFooterSet(1);
    s->doc()->headerFooter(1)->setPlainText(QStringLiteral("Kopfzeile"));
}

QAction* child(QObject* o, const char* name) { return o->findChild<QAction*>(QLatin1String(name)); }
} // namespace

class TstPrinting : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString pdf() const { return m_dir.filePath(QStringLiteral("druck.pdf")); }

private Q_SLOTS:
    void init()
    {
        resetCurrentPrinter();
        setInstalledPrintersSource({});
        QFile::remove(pdf());
        currentPrinter().setOutputFormat(QPrinter::PdfFormat);
        currentPrinter().setOutputFileName(pdf());
    }

    void printedPages_data()
    {
        QTest::addColumn<QString>("command"); // toolbar key or menu item
        QTest::addColumn<int>("from");        // 0: all pages
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("copies");      // 0: the dialog is cancelled
        QTest::addColumn<int>("pages");
        QTest::newRow("menu, all") << "mnuFile_Print" << 0 << 0 << 1 << 3;
        // A document prints whole; the range is the preview's (see tst_preview).
        QTest::newRow("menu, 2-3") << "mnuFile_Print" << 2 << 3 << 1 << 3;
        QTest::newRow("toolbar, 2 copies") << "Print" << 0 << 0 << 2 << 6;
        QTest::newRow("toolbar, page 3 twice") << "Print" << 3 << 3 << 2 << 6;
        // The menu prints once and leaves the copies to the printer.
        QTest::newRow("menu, 2 copies") << "mnuFile_Print" << 0 << 0 << 2 << 3;
        QTest::newRow("print all, 2 copies") << "mnuFile_PrintAll" << 0 << 0 << 2 << 6;
        QTest::newRow("menu, cancelled") << "mnuFile_Print" << 0 << 0 << 0 << 0;
        QTest::newRow("toolbar, cancelled") << "Print" << 0 << 0 << 0 << 0;
        QTest::newRow("print all, cancelled") << "mnuFile_PrintAll" << 0 << 0 << 0 << 0;
    }

    void printedPages()
    {
        QFETCH(QString, command);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, copies);
        QFETCH(int, pages);
        if (pages && !havePdfToText())
            QSKIP("pdftotext is not installed");
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        frmMDIChild* w = fx.newDocument();
        fillThreePages(w->surface());
        fx.prompts->answerPrint([&](QPrinter* p) {
            if (from) {
                p->setPrintRange(QPrinter::PageRange);
                p->setFromTo(from, to);
            }
            p->setCopyCount(qMax(copies, 1));
            return copies > 0;
        });
        if (QAction* a = child(w, command.toLatin1().constData()))
            a->trigger();
        else
            child(fx.frame->findChild<QToolBar*>(), command.toLatin1().constData())->trigger();
        QCOMPARE(fx.prompts->count(QStringLiteral("print")), 1);
        QCOMPARE(fx.prompts->last().text, QStringLiteral("1-3")); // the page limits offered
        QCOMPARE(fx.prompts->count(QStringLiteral("message")), 0);
        if (!copies) {
            QVERIFY(appState().PrintCancelled);
            QVERIFY(fx.frame->printDialog()->Cancelled());
            QVERIFY(!QFile::exists(pdf()));
            // The next confirmed command prints normally.
            fx.prompts->answerPrint(true);
            child(w, "mnuFile_Print")->trigger();
            QVERIFY(!appState().PrintCancelled);
            QVERIFY(QFile::exists(pdf()));
            return;
        }
        QVERIFY(!appState().PrintCancelled);
        QCOMPARE(fx.frame->printDialog()->Copies(), copies);
        QCOMPARE(pdfPages(pdf()), pages);
        for (int page = 1; page <= pages; ++page)
            QVERIFY2(pdfPageText(pdf(), page).contains(QStringLiteral("Kopfzeile")), qPrintable(QString::number(page)));
        QVERIFY(pdfPageText(pdf(), 1).contains(QStringLiteral("Seite eins")));
    }

    void noPrinterInstalled()
    {
        resetCurrentPrinter(); // a real printer, not a file
        setInstalledPrintersSource([] { return QStringList(); });
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        frmMDIChild* w = fx.newDocument();
        w->surface()->setText(QStringLiteral("Hallo"));
        qint32 code = 0;
        child(w, "mnuFile_Print")->trigger();
        QCOMPARE(fx.prompts->count(QStringLiteral("print")), 0);
        QCOMPARE(fx.prompts->count(QStringLiteral("message")), 1);
        QVERIFY(fx.prompts->last().text.startsWith(QStringLiteral("Es ist kein Drucker eingerichtet.")));
        QVERIFY(appState().PrintCancelled);
        // The error event carries the print system's code.
        clsPrintDialog d;
        d.DialogError = [&](qint32& c, QString&, bool&) { code = c; };
        QVERIFY(d.GetDefaultPrinterName().isEmpty());
        QCOMPARE(code, clsPrintDialog::NoDefaultPrinter);
    }

    void longJobShowsCancellableProgress()
    {
        auto* prompts = installScriptedPrompter();
        TextControl tc;
        tc.setText(QStringLiteral("1\f2\f3\f4\f5\f6\f7\f8\f9\f10"));
        QCOMPARE(tc.CurrentPages(), 10);
        int shownAt = 0;
        // The user presses "Abbrechen" as soon as the progress window shows.
        QTimer::singleShot(0, [&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* d = qobject_cast<QProgressDialog*>(w)) {
                    shownAt = d->value() + 1;
                    d->cancel();
                }
        });
        int copies = 1;
        QVERIFY(PrintCommands::PrintDocument(&tc, copies, QStringLiteral("Lang")));
        QCOMPARE(shownAt, 1);
        QVERIFY(PagePrinter::lastCancelled());
        QCOMPARE(prompts->count(QStringLiteral("message")), 0); // a cancel is no failure
        // A short job shows none.
        tc.setText(QStringLiteral("kurz"));
        QVERIFY(PrintCommands::PrintDocument(&tc, copies, QStringLiteral("Kurz")));
        QVERIFY(!PagePrinter::lastCancelled());
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<QProgressDialog*>(w));
    }

    void batchPrintArguments_data()
    {
        QTest::addColumn<QStringList>("printers");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("result");
        const QStringList one{QStringLiteral("Buero")};
        QTest::newRow("no file") << one << QStringList{"--print"} << 2;
        QTest::newRow("bad copies") << one << QStringList{"--print", "--copies", "0", "a.txt"} << 2;
        QTest::newRow("no printer") << QStringList() << QStringList{"--print", "a.txt"} << 2;
        QTest::newRow("unknown printer") << one << QStringList{"--print", "--printer", "X", "a.txt"} << 2;
        QTest::newRow("missing file") << one << QStringList{"--print", "/nicht/da.txt"} << 1;
    }
    void batchPrintArguments()
    {
        QFETCH(QStringList, printers);
        QFETCH(QStringList, args);
        setInstalledPrintersSource([printers] { return printers; });
        QTEST(runBatchPrint(args), "result");
        QVERIFY(!QFile::exists(pdf()));
    }

    void dialogProperties()
    {
        clsPrintDialog d;
        d.setPD_PageNums(true);
        d.setPD_AllPages(true);
        d.setPD_AllPages(false); // changes nothing
        QVERIFY(d.PD_AllPages() && !d.PD_PageNums());
        QCOMPARE(clsPrintDialog::ClipNullChar(QString(QChar(0)) + QStringLiteral("x")), QString());
        QCOMPARE(clsPrintDialog::ClipNullChar(QStringLiteral("PDF")), QStringLiteral("PDF"));
        QCOMPARE(clsPrintDialog::ClipNullChar(QStringLiteral("PDF") + QChar(0) + QStringLiteral("x")),
                 QStringLiteral("PDF"));

        // Paper length and width follow the printer's orientation.
        QPrinter p(QPrinter::HighResolution);
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setPageSize(QPageSize(QPageSize::A4));
        p.setCopyCount(3);
        d.readDeviceSettings(p);
        QCOMPARE(d.PaperLength(), qint16(2970));
        QCOMPARE(d.PaperWidth(), qint16(2100));
        QCOMPARE(d.PaperSize(), qint16(9)); // the print system's number of A4
        QCOMPARE(d.Copies(), qint16(3));
        QVERIFY(d.CopiesValid() && d.OrientationValid() && !d.ScalePercentValid());
        p.setPageOrientation(QPageLayout::Landscape);
        d.readDeviceSettings(p);
        QCOMPARE(d.Orientation(), qint16(2));
        QCOMPARE(d.PaperLength(), qint16(2100));
        QCOMPARE(d.PaperWidth(), qint16(2970));
    }

    void menuItemsEnabled()
    {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        frmMDIChild* w = fx.newDocument();
        for (const char* name : {"mnuFile_PageSetup", "mnuFile_PrintPreview", "mnuFile_Print", "mnuFile_PrintAll"})
            QVERIFY2(child(w, name)->isEnabled(), name);
        // Preview and page setup open their windows.
        child(w, "mnuFile_PageSetup")->trigger();
        QCOMPARE(fx.prompts->last().text, QStringLiteral("frmPageDlg"));
        child(fx.frame->findChild<QToolBar*>(), "PrintPreview")->trigger();
        QCOMPARE(fx.prompts->last().text, QStringLiteral("frmPrintPreview"));
        QCOMPARE(fx.prompts->last().title, QStringLiteral("Druck - Vorschau"));
    }
};

QTEST_MAIN(TstPrinting)
#include "tst_printing.moc"
