// Print preview: the window driven through the scripted prompter and its
// print button writing a PDF through the current printer.

#include "PdfText.h"
#include "TestFiles.h"

#include "app/AppState.h"
#include "app/CurrentPrinter.h"
#include "dialogs/frmPrintPreview.h"
#include "engine/TextControl.h"

#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

class TstPreview : public QObject {
    Q_OBJECT
    ScriptedPrompter* m_prompts = nullptr;

    void preview(TextControl& tc, std::function<void(frmPrintPreview&)> play)
    {
        m_prompts->answerExec([play](QDialog* d) {
            d->show();
            play(*static_cast<frmPrintPreview*>(d));
            return int(QDialog::Rejected);
        });
        frmPrintPreview::ShowPreview(&tc);
    }

private Q_SLOTS:
    void initTestCase() { m_prompts = installScriptedPrompter(); }

    void window()
    {
        TextControl tc;
        tc.setText(QStringLiteral("eins\fzwei\fdrei"));
        tc.setZoomFactor(150);
        preview(tc, [](frmPrintPreview& p) {
            p.btnNext->click();
            QCOMPARE(p.lblPage->text(), QStringLiteral("Seite 2 von 3"));
            // Two pages, then zoom: the second page hides and comes back at level 0.
            p.btnPages->click();
            QVERIFY(p.picPage2->isVisible());
            p.btnZoomIn->click();
            QVERIFY(!p.picPage2->isVisible() && p.scrollV->isVisible());
            p.btnZoomIn->click();
            QCOMPARE(p.zoomLevel(), 2);
            p.btnZoomOut->click();
            p.btnZoomOut->click();
            QVERIFY(p.picPage2->isVisible() && !p.scrollV->isVisible());
            // Clicking the second page shows it alone, enlarged.
            p.picPage_MouseUp(2, QPoint(10, 10), Qt::NoModifier);
            QCOMPARE(p.currentPage(), 3);
            QCOMPARE(p.zoomLevel(), 1);
        });
        QCOMPARE(tc.ZoomFactor(), 150);
    }

    void printFromPreview()
    {
        if (!havePdfToText())
            QSKIP("pdftotext is not installed");
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("vorschau.pdf"));
        resetCurrentPrinter();
        currentPrinter().setOutputFormat(QPrinter::PdfFormat);
        currentPrinter().setOutputFileName(pdf);
        // The frame's print setup, as the dialog leaves it: pages 2 to 3.
        int setups = 0;
        frmPrintPreview::setPrintSetup([&] {
            ++setups;
            QCOMPARE(appState().PrintToPage, 3);
            appState().PrintFromPage = 2;
            appState().PrintCopies = 1;
            appState().PrintCancelled = false;
        });
        TextControl tc;
        tc.setText(QStringLiteral("eins\fzwei\fdrei"));
        preview(tc, [](frmPrintPreview& p) { p.btnPrint->click(); });
        QCOMPARE(setups, 1);
        QCOMPARE(pdfPages(pdf), 2);
        QVERIFY(pdfPageText(pdf, 1).contains(QStringLiteral("zwei")));
        frmPrintPreview::setPrintSetup({});
    }
};

QTEST_MAIN(TstPreview)
#include "tst_preview.moc"
