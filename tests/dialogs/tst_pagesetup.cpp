// Page setup: the length conversions, the paper match, the check behind OK, and the
// real dialog driven through the scripted prompter.

#include "TestFiles.h"

#include "dialogs/PageSetup.h"
#include "dialogs/frmPageDlg.h"
#include "engine/TextControl.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

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
        QTest::addColumn<int>("unit");
        QTest::addColumn<int>("twips"); // -1: only read
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("back"); // DlgString2Twips(text)
        QTest::newRow("1 cm") << 2 << 567 << "1,00" << 567;
        QTest::newRow("A5 width") << 2 << 8418 << "14,85" << 8420;
        QTest::newRow("1 inch") << 1 << 1440 << "1,00" << 1440;
        QTest::newRow("A4 in inch") << 1 << 11906 << "8,27" << 11909;
        QTest::newRow("28,90 cm, no grouping") << 2 << 16386 << "28,90" << 16386;
        QTest::newRow("large, no grouping") << 2 << 1134000 << "2000,00" << 1134000;
        QTest::newRow("half to even") << 2 << -1 << "2,5" << 1418; // 1417.5
        QTest::newRow("empty") << 2 << -1 << "" << 0;
        QTest::newRow("no number") << 2 << -1 << "abc" << 0;
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

    void unknownUnitMessage()
    {
        QCOMPARE(Twips2DlgString(567, 3), QString());
        QCOMPARE(m_prompts->last().text, QStringLiteral("Internal Error in Twips2DlgString()"));
    }

    void paperMatch_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QString>("paper");
        QTest::newRow("A4") << 11906 << 16837 << "A4";
        QTest::newRow("A4 within 10") << 11900 << 16830 << "A4";
        QTest::newRow("10 off") << 11896 << 16837 << "Benutzer definiert";
        QTest::newRow("A4 landscape") << 16837 << 11906 << "Benutzer definiert";
        QTest::newRow("Legal") << 12240 << 20160 << "Legal";
    }
    void paperMatch()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QTEST(paperName(matchPaper(width, height)), "paper");
    }

    void confirmRules_data()
    {
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QString>("problem");
        QTest::newRow("A4") << 1134 << 11906 << 16837 << "";
        QTest::newRow("Legal") << 1134 << 12240 << 20160 << "";
        QTest::newRow("margin = width") << 11906 << 11906 << 16837 << "";
        QTest::newRow("A4 landscape") << 1134 << 16837 << 11906
                                      << "Die Breite muss größer als 0 und höchstens 28,89 cm sein.";
        QTest::newRow("margin 0") << 0 << 11906 << 16837
                                  << "Der linke Rand muss größer als 0 und höchstens 21,00 cm sein.";
        QTest::newRow("margin > width") << 11907 << 11906 << 16837
                                        << "Der linke Rand muss größer als 0 und höchstens 21,00 cm sein.";
        QTest::newRow("height 0") << 1134 << 11906 << 0
                                  << "Die Höhe muss größer als 0 und höchstens 57,79 cm sein.";
    }
    void confirmRules()
    {
        QFETCH(int, left);
        QFETCH(int, width);
        QFETCH(int, height);
        QTEST(PageSetup::problem({left, 1134, 1134, 1134, width, height}, 2), "problem");
    }

    void dialogRoundTrips_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<int>("paperIndex"); // chosen entry, -1: type the sizes
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("height");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("pageWidth");
        QTest::addColumn<int>("pageHeight");
        QTest::newRow("A5 chosen") << 2 << 1 << "" << "" << "A5" << true << 8418 << 11906;
        QTest::newRow("21 x 29,7 typed") << 2 << -1 << "21" << "29,7" << "A4" << true << 11907 << 16840;
        QTest::newRow("swapped") << 2 << -1 << "29,7" << "21" << "Benutzer definiert" << false << 0 << 0;
        QTest::newRow("Letter in inch") << 1 << 3 << "" << "" << "Letter" << true << 12240 << 15840;
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
            QCOMPARE(d.lblMeasurement[5]->text(), unit == 1 ? QStringLiteral("inch") : QStringLiteral("cm"));
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

    void rejectedMargins_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("hint");
        QTest::newRow("empty") << "txtLeftMargin" << ""
                               << "Der linke Rand muss größer als 0 und höchstens 21,00 cm sein.";
        QTest::newRow("zero") << "txtTopMargin" << "0"
                              << "Der obere Rand muss größer als 0 und höchstens 29,69 cm sein.";
        QTest::newRow("too wide") << "txtRightMargin" << "21,01"
                                  << "Der rechte Rand muss größer als 0 und höchstens 21,00 cm sein.";
        QTest::newRow("no number") << "txtBottomMargin" << "zwei"
                                   << "Der untere Rand muss größer als 0 und höchstens 29,69 cm sein.";
    }
    void rejectedMargins()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        TextControl tc;
        QVERIFY(!runDialog(tc, 2, [&](frmPageDlg& d) {
            d.findChild<QLineEdit*>(field)->setText(text);
            QVERIFY(!d.btnOK->isEnabled());
            QTEST(d.lblHint->text(), "hint");
            d.btnOK_Click(); // refused while disabled
            QCOMPARE(d.result(), int(QDialog::Rejected));
        }));
        QCOMPARE(tc.PageMarginL(), 1134);
        QCOMPARE(tc.PageMarginB(), 1134);
    }

    void htmlOptions()
    {
        TextControl tc;
        tc.setLoadSaveAttribute(9, 1);
        QVERIFY(runDialog(tc, 2, [](frmPageDlg& d) {
            QVERIFY(d.optStylesheetOptions[1]->isChecked());
            QVERIFY(!d.txtStylesheetFile->isEnabled());
            QVERIFY(!d.lblStylesheetFile->isEnabled());
            d.optStylesheetOptions[3]->setChecked(true);
            QVERIFY(d.txtStylesheetFile->isEnabled() && d.lblStylesheetFile->isEnabled());
            d.txtStylesheetFile->setText(QStringLiteral("brief.css"));
            d.txtLeftMargin->setText(QStringLiteral("2,5"));
            d.btnOK_Click();
        }));
        QCOMPARE(tc.LoadSaveAttribute(9).toInt(), 3);
        QCOMPARE(tc.LoadSaveAttribute(8).toString(), QStringLiteral("brief.css"));
        QCOMPARE(tc.PageMarginL(), 1418);
    }
};

QTEST_MAIN(TstPageSetup)
#include "tst_pagesetup.moc"
