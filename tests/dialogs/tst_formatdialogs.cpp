// The formatting dialogs driven through the scripted prompter: what each shows, what
// OK writes (one undo step that takes all of it back), that cancel writes nothing, the
// hyperlink messages and the colour chooser's answers.

#include "TestFiles.h"

#include "dialogs/FarbAuswahl.h"
#include "dialogs/FormatRules.h"
#include "dialogs/frmFramesDlg.h"
#include "dialogs/frmHeaderProperties.h"
#include "dialogs/frmHyperlink.h"
#include "dialogs/frmImageDlg.h"
#include "dialogs/frmTableDlg.h"
#include "engine/Document.h"
#include "engine/TextControl.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

using namespace FormatRules;

class TstFormatDialogs : public QObject {
    Q_OBJECT
    ScriptedPrompter* m_prompts = nullptr;
    QTemporaryDir m_dir;
    QString m_png;

    // Queues the user's part for the next dialog: `play` acts on it, then OK or cancel.
    template <class D>
    void script(std::function<void(D&)> play, bool ok = true)
    {
        m_prompts->answerExec([play, ok](QDialog* d) {
            auto* dlg = qobject_cast<D*>(d);
            if (!dlg)
                return int(QDialog::Rejected);
            play(*dlg);
            if (ok)
                QMetaObject::invokeMethod(dlg, "cmdOK_Click");
            else
                QMetaObject::invokeMethod(dlg, "cmdCancel_Click");
            return dlg->result();
        });
    }

    // A surface with text whose setting-up is no undo step.
    static void prepare(TextControl& tc, const QString& text = QStringLiteral("Erster Absatz\r\nZweiter"))
    {
        tc.setText(text);
        tc.document()->clearUndoRedoStacks();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        m_prompts = installScriptedPrompter();
        QVERIFY(m_dir.isValid());
        m_png = m_dir.filePath(QStringLiteral("bild.png"));
        QImage img(40, 20, QImage::Format_RGB32);
        img.fill(Qt::darkGreen);
        QVERIFY(img.save(m_png));
    }
    void init() { m_prompts->clear(); }

    void numbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");
        QTest::addColumn<int>("int16");
        QTest::newRow("points item") << " 12 pt" << 12.0 << 12;
        QTest::newRow("comma") << "1,5" << 1.5 << 2;
        QTest::newRow("half to even") << "2.5" << 2.5 << 2;
        QTest::newRow("negative") << "-3x" << -3.0 << -3;
        QTest::newRow("no number") << "abc" << 0.0 << 0;
        QTest::newRow("empty") << "" << 0.0 << 0;
        QTest::newRow("beyond 16 bit") << "99999" << 99999.0 << 32767;
    }
    void numbers()
    {
        QFETCH(QString, text);
        QFETCH(double, number);
        QFETCH(int, int16);
        QCOMPARE(leadingNumber(text), number);
        QCOMPARE(leadingInt16(text), int16);
    }

    void frameFields_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");    // -1: not written
        QTest::addColumn<int>("distance"); // -1: not written
        QTest::newRow("empty") << "" << -1 << -1;
        QTest::newRow("item") << " 3 pt" << 60 << 60;
        QTest::newRow("too wide") << "15" << 240 << 240;
        QTest::newRow("zero") << "0" << 20 << 0;
        QTest::newRow("fraction") << "1,5" << 40 << 30;
    }
    void frameFields()
    {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(int, distance);
        QCOMPARE(frameLineWidthTwips(text).value_or(-1), width);
        QCOMPARE(frameDistanceTwips(text).value_or(-1), distance);
    }

    void styleWord()
    {
        FrameParts p;
        p.right = p.top = p.bottom = true;
        QCOMPARE(frameStyleWord(p), 0x1100 | 0x0E | 0x20); // left and tab lines off
        p.left = p.tabLines = p.connected = p.doubleLines = true;
        QCOMPARE(frameStyleWord(p), 0xDF);
        QCOMPARE(frameStyleWord(frameParts(0xDF)), 0xDF);
        QCOMPARE(pointsText(2), QStringLiteral(" 2 pt"));
        QCOMPARE(pointsText(1.5), QStringLiteral(" 1.5 pt"));
        QCOMPARE(exportFormatItems(QStringLiteral("A|B|")), QStringList({"A", "B", ""}));
    }

    void table_data()
    {
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("columns");
        QTest::addColumn<int>("wantRows"); // 0: no table
        QTest::addColumn<int>("wantColumns");
        QTest::newRow("unchanged") << QString() << QString() << 2 << 2;
        QTest::newRow("typed") << "5" << "12" << 5 << 12;
        QTest::newRow("not a number") << "abc" << "3" << 0 << 0;
    }
    void table()
    {
        QFETCH(QString, rows);
        QFETCH(QString, columns);
        QFETCH(int, wantRows);
        QFETCH(int, wantColumns);
        TextControl tc;
        prepare(tc);
        script<frmTableDlg>([&](frmTableDlg& d) {
            QCOMPARE(d.cboRows->count(), 100);
            QCOMPARE(d.cboColumns->count(), 12);
            QCOMPARE(d.windowTitle(), QStringLiteral("Tabelle einfügen"));
            if (!rows.isNull()) {
                d.cboRows->setEditText(rows);
                d.cboColumns->setEditText(columns);
            }
        });
        QVERIFY(frmTableDlg::edit(&tc));
        QCOMPARE(tc.TableRows(1), wantRows);
        QCOMPARE(tc.TableColumns(1), wantColumns);
        QCOMPARE(tc.CanUndo(), wantRows > 0);
        tc.Undo();
        QCOMPARE(tc.TableRows(1), 0);
        QVERIFY(!tc.CanUndo());
    }

    void cancelWritesNothing()
    {
        TextControl tc;
        prepare(tc);
        tc.setObjectSelected(tc.ObjectInsertAsChar(m_png, 0));
        QVERIFY(tc.ObjectSelected() > 0);
        tc.document()->clearUndoRedoStacks();
        const QByteArray before = tc.SaveToMemory(3);
        script<frmTableDlg>([](frmTableDlg&) {}, false);
        QVERIFY(!frmTableDlg::edit(&tc));
        script<frmFramesDlg>([](frmFramesDlg& d) { d.chkLeft->setChecked(true); }, false);
        QVERIFY(!frmFramesDlg::edit(&tc));
        script<frmImageDlg>([](frmImageDlg& d) { d.txtLeftBorder->setText("3"); }, false);
        QVERIFY(!frmImageDlg::edit(&tc, 2));
        script<frmHeaderProperties>([](frmHeaderProperties& d) { d.txtHeader->setText("50"); }, false);
        QVERIFY(!frmHeaderProperties::edit(&tc));
        script<frmHyperlink>([](frmHyperlink& d) { d.txtLinkTarget->setText("x.de"); }, false);
        QVERIFY(!frmHyperlink::edit(&tc));
        QCOMPARE(m_prompts->count(QStringLiteral("exec")), 5);
        QCOMPARE(tc.SaveToMemory(3), before);
        QVERIFY(!tc.CanUndo());
    }

    void frames_data()
    {
        QTest::addColumn<bool>("uniform");
        QTest::newRow("one paragraph") << true;
        QTest::newRow("mixed selection") << false;
    }
    void frames()
    {
        QFETCH(bool, uniform);
        TextControl tc;
        prepare(tc);
        tc.setSelStart(0);
        tc.setSelLength(-1);
        tc.setFrameStyle(0x0F | 0x20);
        tc.setFrameLineWidth(40);
        tc.setFrameDistance(60);
        tc.setSelStart(uniform ? 0 : 20);
        if (!uniform) {
            tc.setFrameLineWidth(100);
            tc.setSelStart(0);
            tc.setSelLength(-1);
        }
        tc.document()->clearUndoRedoStacks();
        const int widthBefore = tc.FrameLineWidth(), styleBefore = tc.FrameStyle();
        script<frmFramesDlg>([&](frmFramesDlg& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("  Absatzrahmen"));
            QCOMPARE(d.cboLineWidth->count(), 12);
            QCOMPARE(d.cboTextDistance->itemText(0), QStringLiteral(" 0 pt"));
            QVERIFY(d.chkLeft->isChecked());
            QVERIFY(!d.chkTabLines->isChecked());
            QCOMPARE(d.cboLineWidth->currentText(), uniform ? QStringLiteral(" 2 pt") : QString());
            QCOMPARE(d.cboTextDistance->currentText(), QStringLiteral(" 3 pt"));
            d.chkLeft->setChecked(false);
            d.chkDoubleLines->setChecked(true);
            if (uniform)
                d.cboLineWidth->setEditText(QStringLiteral("15"));
        });
        QVERIFY(frmFramesDlg::edit(&tc));
        QCOMPARE(tc.FrameStyle() & 0xFF, 0x0E | 0x40);
        QCOMPARE(tc.FrameLineWidth(), uniform ? 240 : -1);
        QCOMPARE(tc.FrameDistance(), 60);
        tc.Undo();
        QCOMPARE(tc.FrameStyle(), styleBefore);
        QCOMPARE(tc.FrameLineWidth(), widthBefore);
        QVERIFY(!tc.CanUndo());
    }

    void image_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("shown"); // the left distance of 1440 twips
        QTest::addColumn<int>("topTwips");  // typed "2,5" for the top distance
        QTest::newRow("inch") << 1 << "inch" << "1,00" << 3600;
        QTest::newRow("cm") << 2 << "cm" << "2,54" << 1418;
    }
    void image()
    {
        QFETCH(int, unit);
        QFETCH(QString, label);
        QFETCH(QString, shown);
        QFETCH(int, topTwips);
        TextControl tc;
        prepare(tc);
        const int id = tc.ObjectInsertFixed(m_png, 500, 500);
        QVERIFY(id > 0);
        tc.setObjectSelected(id);
        tc.setImageDistance(1, 1440);
        tc.setImageDistance(3, 100);
        tc.document()->clearUndoRedoStacks();
        script<frmImageDlg>([&](frmImageDlg& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("  Grafik Optionen"));
            QVERIFY(d.txtLeftBorder->isEnabled());
            QCOMPARE(d.lblMeasurement[3]->text(), label);
            QCOMPARE(d.txtLeftBorder->text(), shown);
            QVERIFY(d.optSaveToFile->isChecked());
            QCOMPARE(d.cboFileFormats->count(), 3);
            QCOMPARE(d.cboFileFormats->currentIndex(), 0);
            d.txtTopBorder->setText(QStringLiteral("2,5"));
            d.optEmbed->setChecked(true);
            d.cboFileFormats->setCurrentIndex(2);
        });
        QVERIFY(frmImageDlg::edit(&tc, unit));
        QCOMPARE(tc.ImageDistance(1), 1440);
        QCOMPARE(tc.ImageDistance(2), topTwips);
        QCOMPARE(tc.ImageDistance(3), 100); // left alone, not rounded
        QCOMPARE(tc.ImageDisplay(), 1);
        QCOMPARE(tc.ImageExportFormat(), 3);
        tc.Undo();
        QCOMPARE(tc.ImageDistance(2), 0);
        QCOMPARE(tc.ImageDisplay(), 0);
        QCOMPARE(tc.ImageExportFormat(), 1);
        QVERIFY(!tc.CanUndo());
    }

    void imageWithoutSelection()
    {
        TextControl tc;
        prepare(tc);
        script<frmImageDlg>([](frmImageDlg& d) {
            QVERIFY(!d.txtLeftBorder->isEnabled());
            QVERIFY(!d.lblMeasurement[0]->isEnabled());
            d.cboFileFormats->setCurrentIndex(-1);
        });
        QVERIFY(frmImageDlg::edit(&tc, 2));
        QCOMPARE(tc.ImageExportFormat(), 0);
    }

    void header_data()
    {
        QTest::addColumn<int>("set");       // header/footer parts before
        QTest::addColumn<QString>("typed"); // header field; empty: unchanged
        QTest::addColumn<bool>("firstPage");
        QTest::addColumn<int>("headerTwips");
        QTest::addColumn<int>("setAfter");
        QTest::newRow("unchanged") << 5 << QString() << false << 1134 << 5;
        QTest::newRow("150 limited") << 5 << "150" << false << 5670 << 5;
        QTest::newRow("first page on") << 5 << "10" << true << 567 << 15;
        QTest::newRow("first page off") << 15 << "" << false << 0 << 5;
    }
    void header()
    {
        QFETCH(int, set);
        QFETCH(QString, typed);
        QFETCH(bool, firstPage);
        QFETCH(int, headerTwips);
        QFETCH(int, setAfter);
        TextControl tc;
        prepare(tc);
        tc.setHeaderFooterSet(set);
        tc.setHeaderFooterDistance(1, 1134);
        tc.setHeaderFooterDistance(4, 850);
        if (set & 2) {
            QVERIFY(tc.HeaderFooterActivate(2));
            tc.setSelText(QStringLiteral("Nur auf Seite 1"));
            tc.HeaderFooterLeave();
        }
        tc.document()->clearUndoRedoStacks();
        script<frmHeaderProperties>([&](frmHeaderProperties& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("Einstellung Kopf und Fußzeilen "));
            QCOMPARE(d.txtHeader->text(), QStringLiteral("20"));
            QCOMPARE(d.txtFooter->text(), QStringLiteral("15"));
            QCOMPARE(d.chkFirstPageDifferent->isChecked(), bool(set & 2));
            if (!typed.isNull()) {
                d.txtHeader->setText(typed);
                d.txtHeader_LostFocus();
            }
            if (typed == QLatin1String("150"))
                QCOMPARE(d.txtHeader->text(), QStringLiteral("100"));
            d.chkFirstPageDifferent->setChecked(firstPage);
        });
        QVERIFY(frmHeaderProperties::edit(&tc));
        QCOMPARE(tc.HeaderFooterDistance(1), headerTwips);
        QCOMPARE(tc.HeaderFooterDistance(4), 850); // 15 mm = 850,5 twips
        QCOMPARE(tc.HeaderFooterSet(), setAfter);
        QCOMPARE(tc.CanUndo(), headerTwips != 1134 || setAfter != set);
        tc.Undo();
        QCOMPARE(tc.HeaderFooterDistance(1), 1134);
        QCOMPARE(tc.HeaderFooterSet(), set);
        if (set & 2)
            QCOMPARE(tc.doc()->headerFooter(2)->toPlainText(), QStringLiteral("Nur auf Seite 1"));
        QVERIFY(!tc.CanUndo());
    }

    void headerFieldsTakeDigitsOnly()
    {
        frmHeaderProperties d;
        d.show();
        d.txtHeader->setFocus();
        d.txtHeader->clear();
        QTest::keyClicks(d.txtHeader, QStringLiteral("1a-2,5"));
        QCOMPARE(d.txtHeader->text(), QStringLiteral("125"));
        QTest::keyClick(d.txtHeader, Qt::Key_Backspace);
        QCOMPARE(d.txtHeader->text(), QStringLiteral("12"));
    }

    void hyperlinkMessages_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("message");
        QTest::newRow("no text") << "" << "https://example.org"
                                 << "Bitte geben Sie einen Text der das feld kennzeichnet ein.";
        QTest::newRow("no address") << "Beispiel" << ""
                                    << "Bitte geben Sie eine Internetadresse ein.";
    }
    void hyperlinkMessages()
    {
        QFETCH(QString, text);
        QFETCH(QString, target);
        QFETCH(QString, message);
        TextControl tc;
        prepare(tc);
        m_prompts->answerExec([&](QDialog* dlg) {
            auto* d = static_cast<frmHyperlink*>(dlg);
            d->txtLinkedText->setText(text);
            d->txtLinkTarget->setText(target);
            d->cmdOK_Click();
            // Still open, both texts kept.
            [&] {
                QCOMPARE(d->result(), int(QDialog::Rejected));
                QCOMPARE(d->txtLinkedText->text(), text);
                QCOMPARE(d->txtLinkTarget->text(), target);
            }();
            d->cmdCancel_Click();
            return d->result();
        });
        QVERIFY(!frmHyperlink::edit(&tc));
        QCOMPARE(m_prompts->count(QStringLiteral("message")), 1);
        QCOMPARE(m_prompts->last().text, message);
        QCOMPARE(m_prompts->last().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(!tc.CanUndo());
    }

    void hyperlinkInsertAndEdit()
    {
        TextControl tc;
        prepare(tc, QStringLiteral("Siehe Beispiel hier"));
        tc.setSelStart(6);
        tc.setSelLength(8);
        script<frmHyperlink>([](frmHyperlink& d) {
            QCOMPARE(d.txtLinkedText->text(), QStringLiteral("Beispiel"));
            QVERIFY(d.txtLinkTarget->text().isEmpty());
            d.txtLinkTarget->setText(QStringLiteral("https://example.org"));
        });
        QVERIFY(frmHyperlink::edit(&tc));
        const int id = tc.FieldNext(0, 0);
        QVERIFY(id > 0);
        QCOMPARE(tc.FieldLinkKind(id), 1);
        QCOMPARE(tc.FieldLinkTarget(id), QStringLiteral("https://example.org"));
        QCOMPARE(tc.Text(), QStringLiteral("Siehe Beispiel hier"));
        tc.setSelStart(tc.FieldStart(id));
        QCOMPARE(tc.ForeColor(), QColor(0, 0, 255));
        QVERIFY(tc.FontUnderline());

        // In the field the dialog edits it.
        tc.setFieldCurrent(id);
        script<frmHyperlink>([](frmHyperlink& d) {
            QCOMPARE(d.txtLinkedText->text(), QStringLiteral("Beispiel"));
            QCOMPARE(d.txtLinkTarget->text(), QStringLiteral("https://example.org"));
            d.txtLinkedText->setText(QStringLiteral("Muster"));
            d.txtLinkTarget->setText(QStringLiteral("https://example.com"));
        });
        QVERIFY(frmHyperlink::edit(&tc));
        QCOMPARE(tc.Text(), QStringLiteral("Siehe Muster hier"));
        QCOMPARE(tc.FieldLinkTarget(id), QStringLiteral("https://example.com"));
        tc.Undo();
        QCOMPARE(tc.Text(), QStringLiteral("Siehe Beispiel hier"));
        QCOMPARE(tc.FieldLinkTarget(id), QStringLiteral("https://example.org"));
        tc.Undo();
        QCOMPARE(tc.FieldNext(0, 0), 0);
        QVERIFY(!tc.CanUndo());
    }

    void colourChooser_data()
    {
        QTest::addColumn<QColor>("answer"); // invalid: cancelled
        QTest::addColumn<int>("result");
        QTest::newRow("cancelled") << QColor() << -1;
        QTest::newRow("red") << QColor(255, 0, 0) << 0x0000FF;
        QTest::newRow("mixed") << QColor(1, 2, 3) << 0x030201;
    }
    void colourChooser()
    {
        QFETCH(QColor, answer);
        QFETCH(int, result);
        QColorDialog::setCustomColor(0, Qt::red);
        m_prompts->answerColour(answer.isValid() ? std::optional<QColor>(answer) : std::nullopt);
        QCOMPARE(FarbAuswahl::ShowColorDialog(nullptr, false), result);
        QCOMPARE(QColorDialog::customColor(0), QColor(Qt::white));
    }
};

QTEST_MAIN(TstFormatDialogs)
#include "tst_formatdialogs.moc"
