// Print preview: its rules, the window driven through the scripted prompter and its
// print button writing a PDF through the current printer.

#include "PdfText.h"
#include "TestFiles.h"

#include "app/AppState.h"
#include "app/CurrentPrinter.h"
#include "dialogs/PreviewRules.h"
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

    void controls_data()
    {
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QString>("enabled"); // next, previous, pages, zoom in, zoom out
        QTest::addColumn<QString>("label");
        QTest::newRow("one page") << 1 << 1 << 0 << "00010" << "Seite 1 von 1";
        QTest::newRow("first of 3") << 1 << 3 << 0 << "10110" << "Seite 1 von 3";
        QTest::newRow("last of 3, 75 %") << 3 << 3 << 1 << "01011" << "Seite 3 von 3";
        QTest::newRow("100 %") << 2 << 12 << 2 << "11001" << "Seite 2 von 12";
    }
    void controls()
    {
        QFETCH(int, current);
        QFETCH(int, pages);
        QFETCH(int, zoom);
        const PreviewRules::Controls c = PreviewRules::controls(current, pages, zoom);
        QString got;
        for (bool b : {c.next, c.previous, c.pages, c.zoomIn, c.zoomOut})
            got += b ? QLatin1Char('1') : QLatin1Char('0');
        QTEST(got, "enabled");
        QTEST(c.label, "label");
    }

    void layout()
    {
        const QSizeF a4(11906, 16837);
        // Tall view: one page limited by the width, centred vertically.
        PreviewRules::Placement one = PreviewRules::fitted(QSizeF(6300, 20000), a4, false);
        QCOMPARE(one.first.left(), 100.0);
        QCOMPARE(one.first.width(), 6000.0);
        // Wide view: limited by the height, at top 100 and centred.
        one = PreviewRules::fitted(QSizeF(20000, 10300), a4, false);
        QCOMPARE(one.first.top(), 100.0);
        QCOMPARE(one.first.height(), 10000.0);
        QCOMPARE(one.first.center().x(), 10000.0);
        const PreviewRules::Placement two = PreviewRules::fitted(QSizeF(20000, 10300), a4, true);
        QCOMPARE(two.first.size(), two.second.size());
        QVERIFY(two.second.left() > two.first.right());
        QCOMPARE(PreviewRules::fitFactor(two.first.size(), a4), 59);
        QVERIFY(PreviewRules::fitFactor(QSizeF(1000, 1000), a4) < 10);
        // Zoomed: the bar scrolls only when the picture overflows.
        const PreviewRules::Axis over = PreviewRules::zoomed(16837, 10000, 500);
        QVERIFY(over.scrollable);
        QCOMPARE(over.maximum, 7037);
        QCOMPARE(over.edge, -400.0);
        const PreviewRules::Axis fits = PreviewRules::zoomed(8929, 12000, 0);
        QVERIFY(!fits.scrollable);
        QCOMPARE(fits.edge, (12000 - 8929) / 2.0);
    }

    void window()
    {
        TextControl tc;
        tc.setText(QStringLiteral("eins\fzwei\fdrei"));
        tc.setZoomFactor(150);
        preview(tc, [](frmPrintPreview& p) {
            QCOMPARE(p.windowTitle(), QStringLiteral("Druck - Vorschau"));
            QCOMPARE(p.lblPage->text(), QStringLiteral("Seite 1 von 3"));
            QVERIFY(!p.btnPrevious->isEnabled() && p.btnNext->isEnabled() && p.btnPages->isEnabled());
            QVERIFY(p.pictureFactor(1) >= 10);
            p.btnNext->click();
            QCOMPARE(p.lblPage->text(), QStringLiteral("Seite 2 von 3"));
            QVERIFY(p.btnPrevious->isEnabled());
            // Two pages, then zoom: the second page hides and comes back at level 0.
            p.btnPages->click();
            QVERIFY(p.picPage2->isVisible());
            QCOMPARE(p.btnPages->text(), QStringLiteral("&Eine Seite"));
            p.btnZoomIn->click();
            QVERIFY(!p.picPage2->isVisible() && p.scrollV->isVisible());
            QVERIFY(!p.btnPages->isEnabled());
            p.btnZoomIn->click();
            QCOMPARE(p.zoomLevel(), 2);
            QVERIFY(!p.btnZoomIn->isEnabled());
            p.picPage_MouseUp(1, QPoint(5, 5), Qt::NoModifier); // at 100 % nothing happens
            QCOMPARE(p.zoomLevel(), 2);
            p.btnZoomOut->click();
            p.btnZoomOut->click();
            QVERIFY(p.picPage2->isVisible() && !p.scrollV->isVisible());
            // Clicking the second page shows it alone, enlarged.
            p.picPage_MouseUp(2, QPoint(10, 10), Qt::NoModifier);
            QCOMPARE(p.currentPage(), 3);
            QCOMPARE(p.zoomLevel(), 1);
            // On the last page a click on the (empty) second picture does nothing.
            p.btnZoomOut->click();
            p.picPage_MouseUp(2, QPoint(10, 10), Qt::NoModifier);
            QCOMPARE(p.currentPage(), 3);
            QCOMPARE(p.zoomLevel(), 0);
            p.picPage_MouseUp(1, QPoint(10, 10), Qt::ShiftModifier); // shift at level 0
            QCOMPARE(p.zoomLevel(), 0);
            // A very narrow window leaves the pages blank.
            p.resize(60, 300);
            QVERIFY(p.pictureFactor(1) < 10);
            p.picPage1->repaint();
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
