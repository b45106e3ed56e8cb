// The formatting dialogs driven through the scripted prompter: what each shows, what
// OK writes (one undo step that takes all of it back), that cancel writes nothing, and
// the colour chooser's answers.

#include "TestCommon.h"

#include "dialogs/FarbAuswahl.h"
#include "dialogs/frmFramesDlg.h"
#include "dialogs/frmHeaderProperties.h"
#include "dialogs/frmHyperlink.h"
#include "dialogs/frmImageDlg.h"
#include "dialogs/frmTableDlg.h"
#include "engine/Document.h"
#include "engine/surface/TextControl.h"

#include <QColorDialog>
#include <QImage>

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

    void table()
    {
        TextControl tc;
        prepare(tc);
        script<frmTableDlg>([&](frmTableDlg& d) {
            d.cboRows->setEditText(QStringLiteral("5"));
            d.cboColumns->setEditText(QStringLiteral("12"));
        });
        QVERIFY(frmTableDlg::edit(&tc));
        QCOMPARE(QPoint(tc.TableRows(1), tc.TableColumns(1)), QPoint(5, 12));
        // The caret waits in the first cell.
        QCOMPARE(QPoint(tc.TableRowAtInputPos(), tc.TableColAtInputPos()), QPoint(1, 1));
        tc.Undo();
        QCOMPARE(tc.TableRows(1), 0);
        QVERIFY(!tc.CanUndo());
    }

    void cancelWritesNothing()
    {
        TextControl tc;
        prepare(tc);
        tc.setObjectSelected(tc.ObjectInsertAsChar(m_png, 0));
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

    // A selection whose paragraphs differ in line width shows no width and keeps theirs.
    void frames()
    {
        TextControl tc;
        prepare(tc);
        tc.setSelStart(0);
        tc.setSelLength(-1);
        tc.setFrameStyle(0x0F | 0x20);
        tc.setFrameLineWidth(40);
        tc.setFrameDistance(60);
        tc.setSelStart(20);
        tc.setFrameLineWidth(100);
        tc.setSelStart(0);
        tc.setSelLength(-1);
        tc.document()->clearUndoRedoStacks();
        const int widthBefore = tc.FrameLineWidth(), styleBefore = tc.FrameStyle();
        script<frmFramesDlg>([&](frmFramesDlg& d) {
            QVERIFY(d.chkLeft->isChecked());
            QCOMPARE(d.cboLineWidth->currentText(), QString());
            QCOMPARE(d.cboTextDistance->currentText(), QStringLiteral(" 3 pt"));
            d.chkLeft->setChecked(false);
            d.chkDoubleLines->setChecked(true);
        });
        QVERIFY(frmFramesDlg::edit(&tc));
        QCOMPARE(tc.FrameStyle() & 0xFF, 0x0E | 0x40);
        QCOMPARE(tc.FrameLineWidth(), -1);
        tc.Undo();
        QCOMPARE(tc.FrameStyle(), styleBefore);
        QCOMPARE(tc.FrameLineWidth(), widthBefore);
        QVERIFY(!tc.CanUndo());
    }

    void image()
    {
        TextControl tc;
        prepare(tc);
        const int id = tc.ObjectInsertFixed(m_png, 500, 500);
        tc.setObjectSelected(id);
        tc.setImageDistance(1, 1440);
        tc.setImageDistance(3, 100);
        tc.document()->clearUndoRedoStacks();
        script<frmImageDlg>([&](frmImageDlg& d) {
            QCOMPARE(d.lblMeasurement[3]->text(), QStringLiteral("Zoll"));
            QCOMPARE(d.txtLeftBorder->text(), QStringLiteral("1,00")); // 1440 twips
            d.txtTopBorder->setText(QStringLiteral("2,5"));
            d.optEmbed->setChecked(true);
            d.cboFileFormats->setCurrentIndex(2);
        });
        QVERIFY(frmImageDlg::edit(&tc, 1));
        QCOMPARE(tc.ImageDistance(1), 1440);
        QCOMPARE(tc.ImageDistance(2), 3600);
        QCOMPARE(tc.ImageDistance(3), 100); // left alone, not rounded
        QCOMPARE(tc.ImageDisplay(), 1);
        QCOMPARE(tc.ImageExportFormat(), 3);
        tc.Undo();
        QCOMPARE(tc.ImageDistance(2), 0);
        QCOMPARE(tc.ImageDisplay(), 0);
        QCOMPARE(tc.ImageExportFormat(), 1);
        QVERIFY(!tc.CanUndo());
        // Without a selected picture there is nothing to show as a box or to save.
        tc.setObjectSelected(0);
        tc.setSelStart(0);
        script<frmImageDlg>([&](frmImageDlg& d) {
            QVERIFY(!d.optEmbed->isEnabled());
            QVERIFY(!d.optSaveToFile->isEnabled());
            QVERIFY(!d.cmdSaveImage->isEnabled());
        });
        QVERIFY(frmImageDlg::edit(&tc, 2));
    }

    // "Bild speichern...": the file chooser offers the chosen type first; the ending
    // decides the format, a name without one gets the chosen type's.
    void saveImage_data()
    {
        // listed: cboFileFormats index
        // typed: file name answered
        // filterIndex: filter the user left chosen
        // file: what is written
        addColumns<int, QString, int, QString, QByteArray>("listed", "typed", "filterIndex", "file", "magic");
        QTest::newRow("PNG") << 0 << "bild.png" << 1 << "bild.png" << QByteArray("\x89PNG");
        QTest::newRow("JPEG ohne Endung") << 1 << "foto" << 1 << "foto.jpg" << QByteArray("\xff\xd8\xff");
        QTest::newRow(".jpeg bei PNG") << 0 << "foto.jpeg" << 1 << "foto.jpeg" << QByteArray("\xff\xd8\xff");
        QTest::newRow("BMP") << 2 << "alt.BMP" << 1 << "alt.BMP" << QByteArray("BM");
        QTest::newRow("GIF geht nicht") << 0 << "bild.gif" << 1 << "" << QByteArray();
    }

    void saveImage()
    {
        QFETCH(int, listed);
        QFETCH(QString, typed);
        QFETCH(int, filterIndex);
        QFETCH(QString, file);
        QFETCH(QByteArray, magic);
        TextControl tc;
        prepare(tc);
        tc.setSelStart(5);
        tc.setObjectSelected(tc.ObjectInsertAsChar(m_png));
        const QString folder = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(QDir().mkpath(folder));
        m_prompts->answerSaveFile(QDir(folder).filePath(typed), filterIndex);
        script<frmImageDlg>([&](frmImageDlg& d) {
            d.cboFileFormats->setCurrentIndex(listed);
            QVERIFY(d.cmdSaveImage->isEnabled());
            d.cmdSaveImage->click();
        }, false);
        QVERIFY(!frmImageDlg::edit(&tc, 2));
        const auto& asked = m_prompts->asked;
        const auto chooser = std::find_if(asked.begin(), asked.end(), [](const auto& a) { return a.kind == u"save"; });
        QVERIFY(chooser != asked.end());
        QCOMPARE(chooser->title, QStringLiteral("Bild speichern unter"));
        const QStringList firstType{QStringLiteral("PNG (*.png)|*.png"), QStringLiteral("JPEG (*.jpg)|*.jpg;*.jpeg"),
                                    QStringLiteral("BMP (*.bmp)|*.bmp")};
        QVERIFY2(chooser->text.startsWith(firstType.at(listed)), qPrintable(chooser->text));
        const QStringList written = QDir(folder).entryList(QDir::Files);
        if (file.isEmpty()) {
            QVERIFY(written.isEmpty());
            QCOMPARE(m_prompts->last().kind, QStringLiteral("message"));
            QVERIFY(m_prompts->last().text.contains(QStringLiteral("PNG (.png), JPEG (.jpg) oder BMP (.bmp)")));
            return;
        }
        QCOMPARE(written, QStringList{file});
        QVERIFY(readAll(QDir(folder).filePath(file)).startsWith(magic));
        const QImage back(QDir(folder).filePath(file));
        QCOMPARE(back.size(), QSize(40, 20));
        // Dark green (0, 128, 0), within what JPEG changes.
        const QColor c = back.pixelColor(20, 10);
        QVERIFY2(c.red() < 10 && qAbs(c.green() - 128) < 10 && c.blue() < 10, qPrintable(c.name()));
    }

    void header_data()
    {
        // set: header/footer parts before
        // typed: header field; empty: unchanged
        addColumns<int, QString, bool, int, int>("set", "typed", "firstPage", "headerTwips", "setAfter");
        QTest::newRow("150 limited") << 5 << "150" << false << 5670 << 5;
        QTest::newRow("first page on") << 5 << "10" << true << 567 << 15;
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
            QCOMPARE(d.txtHeader->text(), QStringLiteral("20"));
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
        QCOMPARE(tc.HeaderFooterSet(), set);
        if (set & 2)
            QCOMPARE(tc.doc()->headerFooter(2)->toPlainText(), QStringLiteral("Nur auf Seite 1"));
        QVERIFY(!tc.CanUndo());
        // The undone step stays to be redone: the undo did not clear the history under itself.
        QCOMPARE(tc.CanRedo(), headerTwips != 1134 || setAfter != set);
    }

    void hyperlinkInsert()
    {
        TextControl tc;
        prepare(tc, QStringLiteral("Siehe Beispiel hier"));
        tc.setSelStart(6);
        tc.setSelLength(8);
        script<frmHyperlink>([](frmHyperlink& d) {
            QCOMPARE(d.txtLinkedText->text(), QStringLiteral("Beispiel"));
            d.txtLinkTarget->setText(QStringLiteral("https://example.org"));
        });
        QVERIFY(frmHyperlink::edit(&tc));
        const int id = tc.FieldNext(0, 0);
        QCOMPARE(tc.FieldLinkKind(id), 1);
        QCOMPARE(tc.Text(), QStringLiteral("Siehe Beispiel hier"));
        tc.Undo();
        QCOMPARE(tc.FieldNext(0, 0), 0);
        QVERIFY(!tc.CanUndo());
    }

    // The chooser answers the colour as 0xBBGGRR, -1 when cancelled, and resets custom colour 0.
    void colourChooser()
    {
        QColorDialog::setCustomColor(0, Qt::red);
        m_prompts->answerColour(std::nullopt);
        QCOMPARE(FarbAuswahl::ShowColorDialog(nullptr, false), -1);
        m_prompts->answerColour(QColor(255, 0, 0));
        QCOMPARE(FarbAuswahl::ShowColorDialog(nullptr, false), 0x0000FF);
        QCOMPARE(QColorDialog::customColor(0), QColor(Qt::white));
    }
};

QTEST_MAIN(TstFormatDialogs)
#include "tst_formatdialogs.moc"
