// The mail-merge window in the program: opened from the menus and the toolbar, and the
// print run through the frame's print setup onto the current printer writing PDF files.
#include "../shell/ShellFixture.h"

#include "PdfText.h"
#include "TestFiles.h"

#include "addresses/AddressListBox.h"
#include "addresses/RecordSource.h"
#include "app/CurrentPrinter.h"
#include "output/frmSerienKontorix.h"
#include "shell/SerialMenus.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QPrinter>
#include <QTemporaryDir>
#include <QToolBar>

class TestMailMergeShell : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void menusAndToolbarOpenTheWindow_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("extras") << "mnuExtras_Serienbrief";
        QTest::newRow("insert") << "mnuInsert_Serienbrief";
        QTest::newRow("toolbar") << "Serienbrief";
    }

    void menusAndToolbarOpenTheWindow()
    {
        QFETCH(QString, command);
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        frmMDIChild* doc = fx.newDocument();
        QAction* a = doc->findChild<QAction*>(command);
        if (a && !a->isVisible())
            a->setVisible(true); // the insert item is hidden; its wiring is tested all the same
        if (!a)
            a = fx.frame->findChild<QToolBar*>(QStringLiteral("Toolbar1"))->findChild<QAction*>(command);
        QVERIFY(a && a->isEnabled());
        a->trigger();
        ShellFixture::flush();
        auto* w = fx.frame->findChild<frmSerienKontorix*>();
        QVERIFY(w && w->isVisible() && !w->isModal());
        QCOMPARE(w->windowTitle(), QStringLiteral(" Serienbriefe erstellen aus Kontorix"));
        QVERIFY(w->controls().List1->count() > 0);
        // A second opening shows the same window.
        a->trigger();
        QCOMPARE(int(fx.frame->findChildren<frmSerienKontorix*>().size()), 1);
        w->close();
        ShellFixture::flush();
        QVERIFY(!fx.frame->findChild<frmSerienKontorix*>());
        QVERIFY(QFile::exists(appState().WorkFolder + QStringLiteral("FontText.txt")));
    }

    void printRunToPdf_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("confirmed") << true;
        QTest::newRow("cancelled") << false;
    }

    void printRunToPdf()
    {
        QFETCH(bool, confirm);
        if (!havePdfToText())
            QSKIP("pdftotext is not installed");
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        QTemporaryDir out;
        resetCurrentPrinter();
        setInstalledPrintersSource({});
        currentPrinter().setOutputFormat(QPrinter::PdfFormat);
        currentPrinter().setOutputFileName(out.filePath(QStringLiteral("unbenutzt.pdf")));
        // Each job writes the printer's file; every one is kept under its number.
        QStringList jobs;
        SerialHost host = SerialMenus::host();
        const auto print = host.printFirstPage;
        host.printFirstPage = [&](const SerialDocument& d) {
            const QString file = out.filePath(QStringLiteral("brief%1.pdf").arg(jobs.size() + 1));
            currentPrinter().setOutputFileName(file);
            const bool ok = print(d);
            if (ok)
                jobs << file;
            return ok;
        };
        auto* w = new frmSerienKontorix(appState(), host, fx.frame.get());
        w->setAttribute(Qt::WA_DeleteOnClose);
        // The first and third entry; the letter is longer than a page.
        for (int row : {2, 0}) {
            w->controls().List1->setCurrentRow(row);
            w->Command8_Click();
        }
        const QString first = w->data1().fieldAt(0, QStringLiteral("Nachname"));
        const QString third = w->data1().fieldAt(2, QStringLiteral("Nachname"));
        QString longText;
        for (int i = 0; i < 120; ++i)
            longText += QStringLiteral("Zeile %1 des gemeinsamen Textes\n").arg(i);
        QGuiApplication::clipboard()->setText(longText);
        w->controls().txtSerienbrief->setText(QStringLiteral("x"));
        const int docsBefore = int(fx.frame->documents().size());
        fx.prompts->answerPrint(confirm);
        w->Command5_Click();
        ShellFixture::flush();

        QCOMPARE(fx.prompts->count(QStringLiteral("print")), 1);
        QCOMPARE(appState().PrintCancelled, !confirm);
        QCOMPARE(int(fx.frame->documents().size()), docsBefore + 1);
        const QString kept = fx.frame->activeDocument()->surface()->Text();
        QVERIFY(kept.contains(third) && !kept.contains(first));
        QVERIFY(fx.frame->activeDocument()->surface()->CurrentPages() > 1);
        QVERIFY(!fx.frame->findChild<frmSerienKontorix*>()); // closed after the run
        if (!confirm) {
            QVERIFY(jobs.isEmpty());
            return;
        }
        QCOMPARE(jobs.size(), 2);
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(pdfPages(jobs[i]), 1); // first page only
            QVERIFY(pdfPageText(jobs[i], 1).contains(i == 0 ? first : third));
        }
    }
};

QTEST_MAIN(TestMailMergeShell)
#include "tst_mailmergeshell.moc"
