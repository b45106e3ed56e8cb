// Printing through the frame's print setup, the document menu and the toolbar, on
// the application's current printer writing a PDF file (the same path as a printer,
// only the output device differs), read back with pdftotext.

#include "PdfText.h"
#include "ShellFixture.h"
#include "TestCommon.h"

#include "app/CurrentPrinter.h"
#include "engine/pages/PagePrinter.h"
#include "shell/BatchPrint.h"
#include "shell/PrintCommands.h"

#include "engine/Document.h"

#include <QAction>
#include <QProgressDialog>
#include <QTimer>
#include <QPrinter>
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
        // command: toolbar key or menu item
        // from: 0: all pages
        // copies: 0: the dialog is cancelled
        addColumns<QString, int, int, int, int>("command", "from", "to", "copies", "pages");
        // The pages chosen in the dialog, from the menu and from the toolbar.
        QTest::newRow("toolbar, page 3 twice") << "Print" << 3 << 3 << 2 << 2;
        QTest::newRow("menu, pages 2 to 3") << "mnuFile_Print" << 2 << 3 << 1 << 2;
        // The menu prints once and leaves the copies to the printer.
        QTest::newRow("menu, 2 copies") << "mnuFile_Print" << 0 << 0 << 2 << 3;
        QTest::newRow("print all, 2 copies") << "mnuFile_PrintAll" << 0 << 0 << 2 << 6;
        QTest::newRow("menu, cancelled") << "mnuFile_Print" << 0 << 0 << 0 << 0;
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
        if (!copies) {
            QVERIFY(appState().PrintCancelled);
            QVERIFY(!QFile::exists(pdf()));
            return;
        }
        QVERIFY(!appState().PrintCancelled);
        QCOMPARE(pdfPages(pdf()), pages);
        QVERIFY(pdfPageText(pdf(), pages).contains(QStringLiteral("Kopfzeile")));
        // The first sheet is the first page of the range.
        const char* names[] = {"eins", "zwei", "drei"};
        QVERIFY(pdfPageText(pdf(), 1).contains(QLatin1String(names[qMax(from, 1) - 1])));
    }

    void noPrinterInstalled()
    {
        resetCurrentPrinter(); // a real printer, not a file
        setInstalledPrintersSource([] { return QStringList(); });
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        frmMDIChild* w = fx.newDocument();
        w->surface()->setText(QStringLiteral("Hallo"));
        child(w, "mnuFile_Print")->trigger();
        QCOMPARE(fx.prompts->count(QStringLiteral("print")), 0);
        QCOMPARE(fx.prompts->count(QStringLiteral("message")), 1);
        QCOMPARE(fx.prompts->last().text,
                 QStringLiteral("Es ist kein Drucker eingerichtet.\r\n\r\nBitte richten Sie in den "
                                "Systemeinstellungen einen Drucker ein. Als PDF-Datei speichern Sie ein Dokument "
                                "mit „Datei › Export...“."));
        QVERIFY(appState().PrintCancelled);
    }

    void longJobShowsCancellableProgress()
    {
        auto* prompts = installScriptedPrompter();
        TextControl tc;
        tc.setText(QStringLiteral("1\f2\f3\f4\f5\f6\f7\f8\f9\f10"));
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
    }

    void batchPrintArguments_data()
    {
        addColumns<QStringList, QStringList, int>("printers", "args", "result");
        const QStringList one{QStringLiteral("Buero")};
        QTest::newRow("no file") << one << QStringList{"--print"} << 2;
        QTest::newRow("no printer") << QStringList() << QStringList{"--print", "a.txt"} << 2;
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
};

QTEST_MAIN(TstPrinting)
#include "tst_printing.moc"
