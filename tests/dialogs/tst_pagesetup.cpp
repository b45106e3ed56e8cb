// Page setup: the length conversions, the check behind OK, and the
// real dialog driven through the scripted prompter.

#include "TestCommon.h"

#include "dialogs/PageSetup.h"
#include "dialogs/frmPageDlg.h"
#include "engine/surface/TextControl.h"


using namespace PageSetup;

class TstPageSetup : public QObject {
    Q_OBJECT
    ScriptedPrompter* m_prompts = nullptr;

    // Opens the dialog on `tc`, lets `play` act on it and returns whether it was confirmed.
    bool runDialog(TextControl& tc, int unit, std::function<void(frmPageDlg&)> play)
    {
        m_prompts->answerExec([play](QDialog* d) {
            auto* dlg = static_cast<frmPageDlg*>(d);
            play(*dlg);
            return dlg->result();
        });
        return frmPageDlg::edit(&tc, unit);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        m_prompts = installScriptedPrompter();
    }
    void init() { m_prompts->clear(); }

    void conversions_data()
    {
        // twips: -1: only read
        // back: DlgString2Twips(text)
        addColumns<int, int, QString, int>("unit", "twips", "text", "back");
        QTest::newRow("large, no grouping") << 2 << 1134000 << "2000,00" << 1134000;
        QTest::newRow("half to even") << 2 << -1 << "2,5" << 1418; // 1417.5
        QTest::newRow("empty") << 2 << -1 << "" << 0;
        QTest::newRow("unknown unit") << 3 << -1 << "2,5" << 0;
        QTest::newRow("point typed") << 2 << -1 << "29.7" << 16840;
    }
    void conversions()
    {
        QFETCH(int, unit);
        QFETCH(int, twips);
        QFETCH(QString, text);
        if (twips >= 0)
            QCOMPARE(Twips2DlgString(float(twips), unit), text);
        QTEST(DlgString2Twips(text, unit), "back");
    }

    void dialogRoundTrips_data()
    {
        // paperIndex: chosen entry, -1: type the sizes
        addColumns<int, int, QString, QString, QString, bool, int, int>(
            "unit", "paperIndex", "width", "height", "shown", "ok", "pageWidth", "pageHeight");
        QTest::newRow("A5 chosen") << 2 << 1 << "" << "" << "A5" << true << 8418 << 11906;
        QTest::newRow("swapped") << 2 << -1 << "29,7" << "21" << "Benutzerdefiniert" << false << 0 << 0;
        QTest::newRow("8,5 x 14 inch typed") << 1 << -1 << "8,5" << "14" << "Legal" << true << 12240 << 20160;
    }
    void dialogRoundTrips()
    {
        QFETCH(int, unit);
        QFETCH(int, paperIndex);
        QFETCH(QString, width);
        QFETCH(QString, height);
        QFETCH(bool, ok);
        QFETCH(int, pageWidth);
        QFETCH(int, pageHeight);
        TextControl tc;
        const bool confirmed = runDialog(tc, unit, [&](frmPageDlg& d) {
            QCOMPARE(d.cboPaperSize->currentText(), QStringLiteral("A4"));
            if (paperIndex >= 0) {
                d.cboPaperSize->setCurrentIndex(paperIndex);
                emit d.cboPaperSize->activated(paperIndex);
            } else {
                d.txtPaperWidth->setText(width);
                emit d.txtPaperWidth->editingFinished();
                d.txtPaperHeight->setText(height);
                emit d.txtPaperHeight->editingFinished();
            }
            QTEST(d.cboPaperSize->currentText(), "shown");
            QCOMPARE(d.btnOK->isEnabled(), ok);
            QCOMPARE(d.lblHint->text().isEmpty(), ok);
            QTest::mouseClick(ok ? d.btnOK : d.btnCancel, Qt::LeftButton);
        });
        QCOMPARE(confirmed, ok);
        QCOMPARE(tc.PageWidth(), ok ? pageWidth : 11906);
        QCOMPARE(tc.PageHeight(), ok ? pageHeight : 16837);
        QCOMPARE(tc.PageMarginL(), 1134); // untouched margins stay exact
    }

    void rejectedMargin()
    {
        TextControl tc;
        QVERIFY(!runDialog(tc, 2, [&](frmPageDlg& d) {
            d.txtRightMargin->setText(QStringLiteral("21,01"));
            QVERIFY(!d.btnOK->isEnabled());
            QCOMPARE(d.lblHint->text(), QStringLiteral("Der rechte Rand muss größer als 0 und höchstens 21,00 cm sein."));
            d.btnOK_Click(); // refused while disabled
        }));
        QCOMPARE(tc.PageMarginR(), 1134);
    }
};

QTEST_MAIN(TstPageSetup)
#include "tst_pagesetup.moc"
