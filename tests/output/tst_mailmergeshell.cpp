// The mail-merge window in the program: opened from the menus and the toolbar, and the
// print run through the frame's print setup onto the current printer writing PDF files.
#include "../shell/ShellFixture.h"

#include "PdfText.h"
#include "TestCommon.h"

#include "addresses/AddressListBox.h"
#include "addresses/RecordSource.h"
#include "app/CurrentPrinter.h"
#include "engine/spelling/SpellChecker.h"
#include "engine/spelling/SpellMarks.h"
#include "output/frmSerienKontorix.h"
#include "shell/SerialMenus.h"

#include <QAction>
#include <QClipboard>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextBlock>

#include <QToolBar>

class TestMailMergeShell : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // First of all, before any document window has been open: the common text's editor
    // checks spelling as the document windows do.
    void editorMarksMisspeltWords()
    {
        if (!SpellChecker::isInstalled(QStringLiteral("de_DE")))
            QSKIP("German dictionary not installed (scripts/setup.sh)");
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        auto* w = new frmSerienKontorix(appState(), SerialMenus::host(), fx.frame.get());
        w->setAttribute(Qt::WA_DeleteOnClose);
        TextControl* editor = w->controls().txtSerienbrief;
        editor->setText(QStringLiteral("Liebe Mitglieder, Bittte kommt alle."));
        QTRY_VERIFY(editor->spellMarks()->isIdle());
        const QTextBlock b = editor->document()->firstBlock();
        QCOMPARE(SpellMarks::marksOf(b), (QList<QPair<int, int>>{{18, 6}}));
        w->close();
    }

    void menusAndToolbarOpenTheWindow()
    {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        frmMDIChild* doc = fx.newDocument();
        doc->findChild<QAction*>(QStringLiteral("mnuExtras_Serienbrief"))->trigger();
        ShellFixture::flush();
        auto* w = fx.frame->findChild<frmSerienKontorix*>();
        QVERIFY(w && w->isVisible() && !w->isModal());
        // The toolbar's button shows the same window.
        fx.frame->findChild<QToolBar*>(QStringLiteral("Toolbar1"))->findChild<QAction*>(QStringLiteral("Serienbrief"))->trigger();
        QCOMPARE(int(fx.frame->findChildren<frmSerienKontorix*>().size()), 1);
        w->close();
        ShellFixture::flush();
        QVERIFY(!fx.frame->findChild<frmSerienKontorix*>());
    }

    void printRunToPdf_data() { addRows<bool>("confirm", {{"confirmed", true}, {"cancelled", false}}); }

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
        QCOMPARE(int(fx.frame->documents().size()), docsBefore + 1);
        const QString kept = fx.frame->activeDocument()->surface()->Text();
        QVERIFY(kept.contains(third) && !kept.contains(first));
        QVERIFY(fx.frame->activeDocument()->surface()->CurrentPages() > 1);
        QVERIFY(!fx.frame->findChild<frmSerienKontorix*>()); // closed after the run
        QCOMPARE(jobs.size(), confirm ? 2 : 0);
        for (int i = 0; i < jobs.size(); ++i) {
            QCOMPARE(pdfPages(jobs[i]), 1); // first page only
            QVERIFY(pdfPageText(jobs[i], 1).contains(i == 0 ? first : third));
        }
    }
};

QTEST_MAIN(TestMailMergeShell)
#include "tst_mailmergeshell.moc"
