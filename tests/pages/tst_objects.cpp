// Objects the user works with on the page: pictures selected by a click and kept
// through saving, page numbers in headers through the own format, tab stops measured
// on the printed page and paragraph frames in every view.

#include "TestPaths.h"
#include "PageFields.h"
#include "PdfText.h"
#include "TestCommon.h"
#include "Pixels.h"
#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "engine/objects/Fields.h"
#include "engine/objects/Images.h"
#include "engine/pages/Paginator.h"
#include "engine/surface/TextControl.h"
#include "engine/dialogs/DialogParts.h"
#include "engine/dialogs/SurfaceDialogs.h"
#include "engine/formats/zip/ZipPackage.h"

#include <QPicture>

namespace {

const QColor kPicture(255, 240, 120);

// Rows (or columns) of `img` that hold a dark run at least `length` pixels long.
QList<int> longRuns(const QImage& img, bool horizontal, int length)
{
    QList<int> found;
    const int lines = horizontal ? img.height() : img.width();
    const int along = horizontal ? img.width() : img.height();
    for (int i = 0; i < lines; ++i) {
        int run = 0, best = 0;
        for (int j = 0; j < along; ++j) {
            const QRgb px = horizontal ? img.pixel(j, i) : img.pixel(i, j);
            run = qGray(px) < 100 ? run + 1 : 0;
            best = qMax(best, run);
        }
        if (best >= length)
            found.append(i);
    }
    return found;
}

// Neighbouring indexes count as one line.
int lineCount(const QList<int>& indexes)
{
    int n = 0;
    for (int i = 0; i < indexes.size(); ++i)
        if (i == 0 || indexes[i] != indexes[i - 1] + 1)
            ++n;
    return n;
}

} // namespace

class TstObjects : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        // Light enough that only handles and lines count as dark pixels.
        QImage img(60, 40, QImage::Format_RGB32);
        img.fill(kPicture);
        m_png = m_dir.filePath(QStringLiteral("gelb.png"));
        QVERIFY(img.save(m_png));
    }

    void pictureSelectedByAClick()
    {
        TextControl tc;
        tc.resize(800, 500);
        tc.setText(QStringLiteral("Vor dem Bild: "));
        QTextCursor end(tc.doc()->body());
        end.movePosition(QTextCursor::End);
        tc.setTextCursor(end);
        const int id = tc.ObjectInsertAsChar(m_png);
        tc.setSelText(QStringLiteral(" danach."));
        tc.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tc));
        tc.setSelStart(0);
        QCOMPARE(tc.ObjectSelected(), 0);

        // The middle of the picture, found on screen.
        const QImage before = tc.viewport()->grab().toImage();
        const QRect shown = pixelBox(before, [](const QColor& c) { return c == kPicture; });
        QCOMPARE(shown.size(), QSize(60, 40));
        QTest::mouseClick(tc.viewport(), Qt::LeftButton, {}, shown.center() + QPoint(20, 0)); // right half
        QCOMPARE(tc.ObjectSelected(), id);
        QCOMPARE(tc.SelLength(), 1);
        // Handles: the corners of the picture get dark outlined squares.
        const QImage selected = tc.viewport()->grab().toImage();
        QVERIFY(darkPixels(selected, QRect(shown.topLeft() - QPoint(4, 4), QSize(9, 9)), 100) >= 12);
        QVERIFY(darkPixels(selected, QRect(shown.bottomRight() - QPoint(4, 4), QSize(9, 9)), 100) >= 12);

        // A click on the text beside it places the caret and lets the picture go.
        QTest::mouseClick(tc.viewport(), Qt::LeftButton, {}, shown.center() + QPoint(100, 0));
        QCOMPARE(tc.ObjectSelected(), 0);
        QCOMPARE(tc.SelLength(), 0);
        const QImage after = tc.viewport()->grab().toImage();
        QCOMPARE(darkPixels(after, QRect(shown.topLeft() - QPoint(4, 4), QSize(9, 9)), 100), 0);
    }

    void greyBoxOnScreenOnly_data()
    {
        // view: 0 normal, 1 layout, 2 centred
        addColumns<bool, int>("fixed", "view");
        QTest::newRow("im Text, Normal") << false << 0;
        QTest::newRow("im Text, Zentriert") << false << 2;
        QTest::newRow("beweglich, Layout") << true << 1;
    }

    void greyBoxOnScreenOnly()
    {
        QFETCH(bool, fixed);
        QFETCH(int, view);
        TextControl tc;
        tc.resize(900, 700);
        tc.setText(QStringLiteral("Text vor dem Bild "));
        tc.setSelStart(18);
        const int id = fixed ? tc.ObjectInsertFixed(m_png, 1500, 1500) : tc.ObjectInsertAsChar(m_png);
        tc.setViewMode(view);
        tc.setZoomFactor(100);
        tc.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tc));
        const QColor grey(0xc0, 0xc0, 0xc0);
        // The picture is 60 x 40 px; where it falls between pixels its edges blend.
        const int whole = 56 * 36;
        QVERIFY(colourPixels(tc.viewport()->grab().toImage(), kPicture) >= whole);
        tc.setObjectSelected(id);
        QCOMPARE(tc.ImageDisplay(), 0);
        tc.setImageDisplay(1);
        QCOMPARE(tc.ImageDisplay(), 1);
        tc.setObjectSelected(0);
        tc.setSelStart(0);
        const QImage screen = tc.viewport()->grab().toImage();
        QCOMPARE(colourPixels(screen, kPicture), 0);
        QVERIFY(colourPixels(screen, grey) >= whole);
        // The printed page still shows the picture.
        const QImage page = tc.PageImage(1);
        QVERIFY(colourPixels(page, kPicture) >= whole);
        // (a smoothed letter edge may hit that grey in a pixel or two; a box would fill 2,000)
        QVERIFY(colourPixels(page, grey) < 20);
        // One undo step gives the picture back on screen.
        tc.Undo();
        QVERIFY(colourPixels(tc.viewport()->grab().toImage(), kPicture) >= whole);
        // Without a picture selected there is no setting.
        QCOMPARE(tc.ImageDisplay(), -1);
    }

    void pictureKeepsItsDistances()
    {
        TextControl tc;
        const int id = tc.ObjectInsertAsChar(m_png, 0);
        tc.setSelStart(0);
        tc.setSelLength(1);
        QCOMPARE(tc.ObjectSelected(), id);
        tc.setImageDistance(1, 300); // 20 px to the left
        tc.setImageDistance(2, 150); // 10 px above

        // The margins are 1134 twips = 75.6 px: the picture from 95.6 across, 85.6 down.
        const QRect shown = pixelBox(tc.PageImage(1), [](const QColor& c) { return c == kPicture; });
        QVERIFY2(qAbs(shown.left() - 96) <= 1 && qAbs(shown.top() - 86) <= 1, qPrintable(QStringLiteral("%1 %2").arg(shown.left()).arg(shown.top())));
        QVERIFY(qAbs(shown.width() - 60) <= 1 && qAbs(shown.height() - 40) <= 1);
        // Kept by the own format, written to HTML.
        TextControl back;
        const QString txm = m_dir.filePath(QStringLiteral("abstand.txm"));
        QVERIFY(tc.Save(txm, 0, 3, false) && back.Load(txm, 0, 3, false));
        back.setSelStart(0);
        back.setSelLength(1);
        QCOMPARE(back.ImageDistance(1), 300);
        QVERIFY(QString::fromUtf8(tc.SaveToMemory(4)).contains(QStringLiteral("margin: 10px 0px 0px 20px")));
    }

    void movablePictureSavedAndReopened_data()
    {
        addColumns<QString, int>("name", "format");
        QTest::newRow("eigenes Format") << "bild.txm" << 3;
        QTest::newRow("RTF") << "bild.rtf" << 5;
        QTest::newRow("Word (RTF)") << "bild.doc" << 9;
    }

    void movablePictureSavedAndReopened()
    {
        QFETCH(QString, name);
        QFETCH(int, format);
        TextControl tc;
        tc.setText(QStringLiteral("Brief mit Bild"));
        const int inlineId = tc.ObjectInsertAsChar(m_png, 0); // an inline one too: two resources
        QVERIFY(inlineId > 0);
        QVERIFY(Images::setDistance(tc.doc()->body(), inlineId, 1, 300));
        // 1500 twips = 100 px, 3000 twips = 200 px from the page corner.
        const int rebuilds = tc.paginator()->rebuilds();
        const int id = tc.ObjectInsertFixed(m_png, 1500, 3000);
        QVERIFY(id > 0);
        // The paginated copy follows without a rebuild; the picture takes no room in the
        // text, and the page's picture shows it too.
        QCOMPARE(tc.paginator()->rebuilds(), rebuilds);
        QCOMPARE(tc.paginator()->pageCount(), 1);
        QVERIFY(tc.paginator()->pagePicture(1).boundingRect().contains(QRect(101, 201, 58, 38)));
        QVERIFY(Images::setDistance(tc.doc()->body(), id, 2, 150));
        QVERIFY(Images::setDistance(tc.doc()->body(), id, 3, 600));
        const QString file = m_dir.filePath(name);
        QVERIFY2(tc.Save(file, 0, format, false), qPrintable(tc.LastError()));

        TextControl back;
        QVERIFY2(back.Load(file, 0, format, false), qPrintable(back.LastError()));
        // Found again by kind and place, not by number: RTF numbers pictures anew.
        int fixedId = 0, textId = 0;
        for (QTextBlock b = back.doc()->body()->begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat f = it.fragment().charFormat();
                if (f.objectType() == EngineObject::FixedImage)
                    fixedId = f.intProperty(EngineProperty::ImageId);
                else if (f.isImageFormat())
                    textId = f.intProperty(EngineProperty::ImageId);
            }
        QVERIFY(fixedId > 0 && textId > 0);
        QCOMPARE(Images::fixedPosition(back.doc()->body(), fixedId), QPoint(1500, 3000));
        QCOMPARE(Images::distance(back.doc()->body(), fixedId, 2), 150);
        QCOMPARE(Images::distance(back.doc()->body(), fixedId, 3), 600);
        QCOMPARE(Images::distance(back.doc()->body(), fixedId, 1), 0);
        QCOMPARE(Images::distance(back.doc()->body(), textId, 1), 300);
        const QImage page = back.PageImage(1);
        // The picture covers x 100..160, y 200..240 on the printed page.
        QCOMPARE(colourPixels(page, kPicture, QRect(102, 202, 56, 36)), 56 * 36);
        QCOMPARE(page.pixelColor(170, 220), QColor(Qt::white));
        // RTF places it as a shape on the page: 60 x 40 px = 900 x 600 twips, 150 twips
        // = 95250 EMU above; HTML keeps it at its anchor.
        const QByteArray rtf = back.SaveToMemory(5);
        QCOMPARE(rtf.count("{\\pict"), 2);
        for (const char* part : {"{\\shp{\\*\\shpinst\\shpleft1500\\shptop3000\\shpright2400\\shpbottom3600", "\\shpbxpage",
                                 "\\shpbypage", "\\shpwr3", "{\\sp{\\sn dyWrapDistTop}{\\sv 95250}}",
                                 "{\\sp{\\sn dxWrapDistRight}{\\sv 381000}}",
                                 "{\\pict{\\*\\picprop{\\sp{\\sn dxWrapDistLeft}{\\sv 190500}}}"})
            QVERIFY2(rtf.contains(part), part);
        QCOMPARE(back.SaveToMemory(4).count("<img"), 2);
    }

    void headerPageNumberSurvivesOwnFormat()
    {
        if (!havePdfToText())
            QSKIP("pdftotext is not installed");
        TextControl tc;
        tc.setText(QStringLiteral("Erste Seite\fZweite Seite"));
        tc.setHeaderFooterSet(1);
        QTextDocument* header = tc.doc()->headerFooter(1);
        QTextCursor hc(header);
        insertPageNumbers(header, hc);
        const QString txm = m_dir.filePath(QStringLiteral("kopf.txm"));
        QVERIFY2(tc.Save(txm, 0, 3, false), qPrintable(tc.LastError()));

        TextControl back;
        QVERIFY2(back.Load(txm, 0, 3, false), qPrintable(back.LastError()));
        const QString pdf = m_dir.filePath(QStringLiteral("kopf.pdf"));
        QVERIFY2(back.Save(pdf, 0, 12, false), qPrintable(back.LastError()));
        QCOMPARE(pdfPages(pdf), 2);
        QVERIFY2(pdfPageText(pdf, 1).simplified().startsWith(QStringLiteral("Seite 1 von 2 Erste Seite")),
                 qPrintable(pdfPageText(pdf, 1)));
        QVERIFY2(pdfPageText(pdf, 2).simplified().startsWith(QStringLiteral("Seite 2 von 2 Zweite Seite")),
                 qPrintable(pdfPageText(pdf, 2)));
    }

    void tabStopCountsFromTheMargin_data()
    {
        // left: twips
        // firstLine: twips, relative to the left indent
        // viaDialog: the left indent given after the stop, in "Absatz"
        // nameX: points from the paper's left edge
        addColumns<int, int, bool, double>("left", "firstLine", "viaDialog", "nameX");
        // Margin 2 cm (56.7 pt), a left tab stop at 8 cm: the word after the tab starts
        // 8 cm from the margin, 10 cm from the paper's edge = 283.5 pt, on every row.
        QTest::newRow("kein Einzug") << 0 << 0 << false << 56.7;
        QTest::newRow("2 cm links") << 1134 << 0 << false << 113.4;
        QTest::newRow("2 cm links, erste Zeile +1 cm") << 1134 << 567 << false << 141.75;
        QTest::newRow("2 cm links, hängend 1 cm") << 1134 << -567 << false << 85.05;
        QTest::newRow("erste Zeile 1,5 cm") << 0 << 850 << false << 99.2;
        QTest::newRow("erste Zeile +1 cm, dann im Absatz-Dialog 2 cm links") << 1134 << 567 << true << 141.75;
    }

    void tabStopCountsFromTheMargin()
    {
        if (!havePdfToText())
            QSKIP("pdftotext is not installed");
        QFETCH(int, left);
        QFETCH(int, firstLine);
        QFETCH(bool, viaDialog);
        QFETCH(double, nameX);
        TextControl tc;
        // Through the dialog the stop is set first, with the first-line indent only,
        // and the left indent comes after it.
        tabLine(tc, viaDialog ? 0 : left, firstLine);
        if (viaDialog) {
            ScriptedPrompter* prompts = installScriptedPrompter();
            prompts->answerExec([&](QDialog* d) {
                // As typed: in centimetres.
                d->findChild<DialogParts::LengthBox*>(QStringLiteral("indentLeft"))->setValue(left / 567.0);
                return int(QDialog::Accepted);
            });
            QVERIFY(SurfaceDialogs::paragraph(&tc));
            QCOMPARE(tc.IndentFL(), firstLine);
        }
        checkPrintedTab(tc, nameX);
    }

    // Word counts stops from the page margin, ODF from the paragraph's left indent: the
    // 8 cm stop of a paragraph indented 2 cm with its first line 1 cm further in.
    void tabStopsInOfficeFiles_data()
    {
        addColumns<int, QString, QString>("format", "member", "written");
        QTest::newRow("DOCX") << 13 << "word/document.xml" << "w:pos=\"4536\"";
        QTest::newRow("ODT") << 14 << "content.xml" << "style:position=\"170.10pt\"";
    }

    void tabStopsInOfficeFiles()
    {
        if (!havePdfToText())
            QSKIP("pdftotext is not installed");
        QFETCH(int, format);
        QFETCH(QString, member);
        QFETCH(QString, written);
        TextControl tc;
        tabLine(tc, 1134, 567);
        const QByteArray package = tc.SaveToMemory(format);
        ZipPackage::Reader zip;
        QString error;
        QVERIFY2(zip.open(package, &error), qPrintable(error));
        QByteArray xml;
        QVERIFY2(zip.read(member, &xml, &error), qPrintable(error));
        QVERIFY2(xml.contains(written.toUtf8()), xml.constData());
        const QString file = m_dir.filePath(QStringLiteral("tab.%1").arg(format == 13 ? u"docx" : u"odt"));
        QVERIFY2(tc.Save(file, 0, format, false), qPrintable(tc.LastError()));
        TextControl back;
        QVERIFY2(back.Load(file, 0, format, false), qPrintable(back.LastError()));
        checkPrintedTab(back, 141.75);
    }

    // A file of version 1 held the stops as the ruler showed them; the same 8 cm stop
    // in a paragraph indented 2 cm with a first line 1 cm further in.
    void olderOwnFileKeepsItsTabStops()
    {
        if (!havePdfToText())
            QSKIP("pdftotext is not installed");
        const QString txm = m_dir.filePath(QStringLiteral("alt.txm"));
        // The 30-byte page header as the program writes it: 23, the margins, height and
        // width as little-endian numbers, then two zero bytes.
        QByteArray header;
        for (qint32 v : {23, 1134, 1134, 1134, 1134, 16838, 11906})
            for (int i = 0; i < 4; ++i)
                header += char((v >> (8 * i)) & 0xff);
        header += QByteArray(2, '\0');
        QVERIFY(writeAll(txm, header + readAll(qxSourceDir() + QStringLiteral("/tests/pages/data/tabs-version1.xml"))));
        TextControl tc;
        QVERIFY2(tc.Load(txm, 30, 3, false), qPrintable(tc.LastError()));
        tc.setSelStart(0);
        QCOMPARE(tc.IndentL(), 1134);
        QCOMPARE(tc.IndentFL(), 567);
        checkPrintedTab(tc, 141.75);
        if (QTest::currentTestFailed())
            return;
        // Saved again, the file is of the current version and reads back the same.
        const QString again = m_dir.filePath(QStringLiteral("neu.txm"));
        QVERIFY2(tc.Save(again, 30, 3, false), qPrintable(tc.LastError()));
        QVERIFY(readAll(again).contains("<textdocument version=\"2\">"));
        TextControl back;
        QVERIFY2(back.Load(again, 30, 3, false), qPrintable(back.LastError()));
        back.setSelStart(0);
        back.setTabCurrent(1);
        QCOMPARE(back.TabPos(), 4536);
    }

    void fourSidedFrameInEveryView_data()
    {
        addRows<int>("mode", {{"Normal", 0}, {"Layout", 1}, {"Zentriert", 2}, {"Druck", -1}});
    }

    void fourSidedFrameInEveryView()
    {
        QFETCH(int, mode);
        TextControl tc;
        tc.resize(900, 600);
        tc.setText(QStringLiteral("Eingerahmt\nzweite Zeile\ndritte Zeile\nohne Rahmen"));
        tc.setSelStart(0);
        tc.setSelLength(30); // the first three paragraphs
        tc.setFrameDistance(100);
        tc.setFrameStyle(0x0f | 0x20 | 0x80); // four sides, single, connected
        tc.setSelStart(0);
        QImage img;
        if (mode < 0) {
            img = tc.PageImage(1);
        } else {
            tc.setViewMode(mode);
            tc.show();
            QVERIFY(QTest::qWaitForWindowExposed(&tc));
            img = tc.viewport()->grab().toImage();
        }
        // Three lines of text are some 50 px high at 100 %, the text width several
        // hundred: no letter makes such runs.
        QCOMPARE(lineCount(longRuns(img, true, 300)), 2);  // top and bottom
        const QList<int> columns = longRuns(img, false, 45);
        QCOMPARE(lineCount(columns), 2); // left and right
        // On paper the left line stands 100 twips before the 2-cm margin: 75.6 - 6.7 px.
        if (mode < 0)
            QVERIFY2(qAbs(columns.first() - 69) <= 1, qPrintable(QString::number(columns.first())));
    }

private:
    // "Name<tab>Wert" with indents in twips and a left tab stop at 8 cm.
    static void tabLine(TextControl& tc, int left, int firstLine)
    {
        tc.setText(QStringLiteral("Name\tWert"));
        tc.setSelStart(0);
        QTextBlockFormat indent;
        indent.setLeftMargin(Document::twipsToPixels(left));
        indent.setTextIndent(Document::twipsToPixels(firstLine));
        tc.textCursor().mergeBlockFormat(indent);
        tc.addTabStop(4536);
    }

    // The line's first stop is at 8 cm; printed, "Name" stands at `nameX`, "Wert" 8 cm
    // from the 2 cm margin = 283.5 pt from the paper's left edge.
    void checkPrintedTab(TextControl& tc, double nameX)
    {
        tc.setSelStart(0);
        tc.setTabCurrent(1);
        QCOMPARE(tc.TabPos(), 4536);
        const QString pdf = m_dir.filePath(QStringLiteral("tab.pdf"));
        QVERIFY2(tc.Save(pdf, 0, 12, false), qPrintable(tc.LastError()));
        const QList<PdfPage> pages = pdfWordBoxes(pdf);
        QCOMPARE(pages.size(), 1);
        QCOMPARE(pages[0].words.size(), 2);
        QVERIFY2(qAbs(pages[0].words[0].xMin - nameX) < 1.5, qPrintable(QString::number(pages[0].words[0].xMin)));
        QVERIFY2(qAbs(pages[0].words[1].xMin - 283.5) < 1.5, qPrintable(QString::number(pages[0].words[1].xMin)));
    }

    QTemporaryDir m_dir;
    QString m_png;
};

QTEST_MAIN(TstObjects)
#include "tst_objects.moc"
