// Objects the user works with on the page: pictures selected by a click and kept
// through saving, page numbers in headers through the own format, tab stops measured
// on the printed page and paragraph frames in every view.

#include "PdfText.h"
#include "TestFiles.h"
#include "Pixels.h"
#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "engine/objects/Fields.h"
#include "engine/objects/Images.h"
#include "engine/pages/Paginator.h"
#include "engine/surface/TextControl.h"

#include <QApplication>
#include <QPicture>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

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
        QRect shown;
        for (int y = 0; y < before.height(); ++y)
            for (int x = 0; x < before.width(); ++x)
                if (before.pixelColor(x, y) == kPicture)
                    shown |= QRect(x, y, 1, 1);
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
        QRect shown;
        const QImage page = tc.PageImage(1);
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 300; ++x)
                if (page.pixelColor(x, y) == kPicture)
                    shown |= QRect(x, y, 1, 1);
        QVERIFY2(qAbs(shown.left() - 96) <= 1 && qAbs(shown.top() - 86) <= 1, qPrintable(QStringLiteral("%1 %2").arg(shown.left()).arg(shown.top())));
        QVERIFY(qAbs(shown.width() - 60) <= 1 && qAbs(shown.height() - 40) <= 1);
        // Kept by the own format, written to HTML.
        TextControl back;
        QVERIFY(back.Load(save(tc, QStringLiteral("abstand.txm"), 3), 0, 3, false));
        back.setSelStart(0);
        back.setSelLength(1);
        QCOMPARE(back.ImageDistance(1), 300);
        QVERIFY(QString::fromUtf8(tc.SaveToMemory(4)).contains(QStringLiteral("margin: 10px 0px 0px 20px")));
    }

    void movablePictureSavedAndReopened()
    {
        TextControl tc;
        tc.setText(QStringLiteral("Brief mit Bild"));
        QVERIFY(tc.ObjectInsertAsChar(m_png, 0) > 0); // an inline one too: two resources
        // 1500 twips = 100 px, 3000 twips = 200 px from the page corner.
        const int rebuilds = tc.paginator()->rebuilds();
        const int id = tc.ObjectInsertFixed(m_png, 1500, 3000);
        QVERIFY(id > 0);
        // The paginated copy follows without a rebuild; the picture takes no room in the
        // text, and the page's picture shows it too.
        QCOMPARE(tc.paginator()->rebuilds(), rebuilds);
        QCOMPARE(tc.paginator()->pageCount(), 1);
        QVERIFY(tc.paginator()->pagePicture(1).boundingRect().contains(QRect(101, 201, 58, 38)));
        const QString file = m_dir.filePath(QStringLiteral("bild.txm"));
        QVERIFY2(tc.Save(file, 0, 3, false), qPrintable(tc.LastError()));

        TextControl back;
        QVERIFY2(back.Load(file, 0, 3, false), qPrintable(back.LastError()));
        QCOMPARE(Images::fixedPosition(back.doc()->body(), id), QPoint(1500, 3000));
        const QImage page = back.PageImage(1);
        // The picture covers x 100..160, y 200..240 on the printed page.
        int inside = 0;
        for (int y = 202; y < 238; ++y)
            for (int x = 102; x < 158; ++x)
                inside += page.pixelColor(x, y) == kPicture;
        QCOMPARE(inside, 56 * 36);
        QCOMPARE(page.pixelColor(170, 220), QColor(Qt::white));
        // Formats without page positions keep it at its anchor.
        QCOMPARE(back.SaveToMemory(5).count("{\\pict"), 2);
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
        hc.insertText(QStringLiteral("Seite "));
        Fields::setType(header, Fields::insert(hc, QString()), FieldTypes::PageNumber);
        const QString txm = m_dir.filePath(QStringLiteral("kopf.txm"));
        QVERIFY2(tc.Save(txm, 0, 3, false), qPrintable(tc.LastError()));

        TextControl back;
        QVERIFY2(back.Load(txm, 0, 3, false), qPrintable(back.LastError()));
        const QString pdf = m_dir.filePath(QStringLiteral("kopf.pdf"));
        QVERIFY2(back.Save(pdf, 0, 12, false), qPrintable(back.LastError()));
        QCOMPARE(pdfPages(pdf), 2);
        QVERIFY2(pdfPageText(pdf, 1).simplified().startsWith(QStringLiteral("Seite 1 Erste Seite")),
                 qPrintable(pdfPageText(pdf, 1)));
        QVERIFY2(pdfPageText(pdf, 2).simplified().startsWith(QStringLiteral("Seite 2 Zweite Seite")),
                 qPrintable(pdfPageText(pdf, 2)));
    }

    void tabStopCountsFromTheMargin()
    {
        if (!havePdfToText())
            QSKIP("pdftotext is not installed");
        // Margin 2 cm, paragraph indented 2 cm, a left tab stop at 8 cm: the word after
        // the tab starts 8 cm from the margin, 10 cm from the paper's edge = 283.5 pt.
        TextControl tc;
        tc.setText(QStringLiteral("Name\tWert"));
        tc.setSelStart(0);
        QTextBlockFormat indent;
        indent.setLeftMargin(Document::twipsToPixels(1134));
        tc.textCursor().mergeBlockFormat(indent);
        tc.addTabStop(4536);
        QCOMPARE(tc.TabPos(), 4536);
        const QString pdf = m_dir.filePath(QStringLiteral("tab.pdf"));
        QVERIFY2(tc.Save(pdf, 0, 12, false), qPrintable(tc.LastError()));
        const QList<PdfPage> pages = pdfWordBoxes(pdf);
        QCOMPARE(pages.size(), 1);
        QCOMPARE(pages[0].words.size(), 2);
        // "Name" at the indent: 4 cm = 113.4 pt; "Wert" at 10 cm.
        QVERIFY2(qAbs(pages[0].words[0].xMin - 113.4) < 1.5, qPrintable(QString::number(pages[0].words[0].xMin)));
        QVERIFY2(qAbs(pages[0].words[1].xMin - 283.5) < 1.5, qPrintable(QString::number(pages[0].words[1].xMin)));
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
    QString save(TextControl& tc, const QString& name, int format)
    {
        const QString file = m_dir.filePath(name);
        return tc.Save(file, 0, format, false) ? file : QString();
    }

    QTemporaryDir m_dir;
    QString m_png;
};

QTEST_MAIN(TstObjects)
#include "tst_objects.moc"
