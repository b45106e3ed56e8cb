// Print preview: the window driven through the scripted prompter and its
// print button writing a PDF through the current printer; the font browser.

#include "PdfText.h"
#include "TestCommon.h"

#include "app/AppState.h"
#include "app/CurrentPrinter.h"
#include "dialogs/frmFonts.h"
#include "dialogs/PreviewRules.h"
#include "dialogs/frmPrintPreview.h"
#include "engine/surface/TextControl.h"

#include <QListWidget>
#include <QPrinter>
#include <QScrollBar>

namespace {

// Font name and size over the whole text of a surface (mixed reads as "" and 0).
std::pair<QString, double> wholeFormat(TextControl* tc)
{
    tc->setSelStart(0);
    tc->setSelLength(-1);
    const auto r = std::make_pair(tc->FontName(), tc->FontSize());
    tc->setSelLength(0);
    return r;
}

void chooseSize(frmFonts& f, const QString& size)
{
    f.Combo1->setCurrentText(size);
    Q_EMIT f.Combo1->textActivated(size);
}

} // namespace

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

    // "Vergrößern" always enlarges: in a window where the fitted page is already bigger
    // than 75 %, each level is a quarter larger than the one before.
    void zoomInEnlarges_data()
    {
        addColumns<QSizeF, QSizeF, QSizeF>("view", "level1", "level2");
        // A4 in twips is 11906 x 16837; the fitted page is 300 twips less than the view high.
        QTest::newRow("small window: 75 and 100 %") << QSizeF(6000, 8000) << QSizeF(8929.5, 12627.75)
                                                    << QSizeF(11906, 16837);
        QTest::newRow("maximised: fitted 9688 x 13700") << QSizeF(15000, 14000) << QSizeF(12110, 17125)
                                                        << QSizeF(15137.5, 21406.25);
    }
    void zoomInEnlarges()
    {
        QFETCH(QSizeF, view);
        const QSizeF page(11906, 16837);
        const QSizeF fitted = PreviewRules::fitted(view, page, false).first.size();
        QTEST(PreviewRules::zoomedSize(page, 1, fitted), "level1");
        QTEST(PreviewRules::zoomedSize(page, 2, fitted), "level2");
        // And on screen: a large preview window grows its page with each click.
        TextControl tc;
        tc.setText(QStringLiteral("eins"));
        preview(tc, [](frmPrintPreview& p) {
            p.resize(1200, 1000);
            QList<int> heights{p.picPage1->height()};
            p.btnZoomIn->click();
            heights << p.picPage1->height();
            p.btnZoomIn->click();
            heights << p.picPage1->height();
            QVERIFY2(heights[0] < heights[1] && heights[1] < heights[2],
                     qPrintable(QStringLiteral("%1 %2 %3").arg(heights[0]).arg(heights[1]).arg(heights[2])));
        });
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

    // The font browser: the sample follows font and size; applying is one step.
    void fontSampleFollowsChoice()
    {
        frmFonts f;
        f.Form_Load();
        f.Form_Activate();
        const QList<QListWidgetItem*> dejavu =
            f.lstFonts->findItems(QStringLiteral("DejaVu Sans"), Qt::MatchExactly);
        if (dejavu.isEmpty())
            QSKIP("DejaVu Sans is not installed");
        f.lstFonts->setCurrentItem(dejavu.first());
        chooseSize(f, QStringLiteral("24"));
        QCOMPARE(wholeFormat(f.TXTextControl1), std::make_pair(QStringLiteral("DejaVu Sans"), 24.0));
        chooseSize(f, QStringLiteral("gross")); // not a size: the sample stays
        QCOMPARE(wholeFormat(f.TXTextControl1).second, 24.0);
    }

    void fontsApplyIsOneUndoStep()
    {
        TextControl doc;
        doc.setText(QStringLiteral("Hallo Welt"));
        doc.setSelStart(0);
        doc.setSelLength(-1);
        doc.setFontName(QStringLiteral("Arial"));
        doc.setFontSize(11);
        doc.setSelStart(6);
        doc.setSelLength(4);

        frmFonts f;
        f.document = &doc;
        f.Form_Load();
        f.Form_Activate();
        f.lstFonts->setCurrentItem(f.lstFonts->findItems(QStringLiteral("Liberation Serif"),
                                                         Qt::MatchExactly).value(0));
        const QString font = f.TXTextControl1->FontName();
        chooseSize(f, QStringLiteral("24"));
        QTest::mouseClick(f.Command1, Qt::LeftButton);

        QCOMPARE(doc.FontName(), font);
        QCOMPARE(doc.FontSize(), 24.0);
        doc.setSelStart(0);
        doc.setSelLength(5); // "Hallo" was not selected
        QCOMPARE(doc.FontSize(), 11.0);
        doc.Undo();
        QCOMPARE(wholeFormat(&doc), std::make_pair(QStringLiteral("Arial"), 11.0));
    }
};

QTEST_MAIN(TstPreview)
#include "tst_preview.moc"
