// The page views of a letter with sections (a portrait letter, a landscape price list
// with a wide table, a portrait end with its own footer): each page on a sheet of its
// own size, clicks, drags and line keys along each section's printed lines, a later
// section's footer edited on its sheet, page numbers counted on across the sections.
// Millimetres as pdfinfo and pdftotext -bbox give them for the printed PDF.

#include "PdfText.h"
#include "Pixels.h"
#include "TestCommon.h"
#include "TestPaths.h"
#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "engine/objects/Fields.h"
#include "engine/surface/TextControl.h"

#include <QScrollBar>

namespace {

constexpr double kPxPerMm = 96 / 25.4;
// The sheets in one column, each centred on the widest (the landscape one, 297 mm).
const QRectF kSheetsMm[] = {{43.5, 0, 210, 297}, {0, 297, 297, 210}, {43.5, 507, 210, 297}, {43.5, 804, 210, 297}};

struct Shown {
    int page = 0;
    QPointF mm; // on the sheet
};

} // namespace

class TestSectionScreen : public QObject {
    Q_OBJECT
private:
    TextControl* tc = nullptr;

    int positionOf(const QString& text) const { return tc->document()->find(text).selectionStart(); }

    // Scrolls a point of page `page` (mm from its sheet's corner) into view; its viewport pixel.
    QPoint onScreen(int page, double xMm, double yMm)
    {
        const QPointF doc = (kSheetsMm[page - 1].topLeft() + QPointF(xMm, yMm)) * kPxPerMm * (tc->ZoomFactor() / 100.0);
        tc->verticalScrollBar()->setValue(qRound(doc.y()) - 200);
        tc->horizontalScrollBar()->setValue(qRound(doc.x()) - 200);
        QApplication::processEvents();
        return (doc - QPointF(tc->scrollOffset())).toPoint();
    }

    // The sheet and the place on it where the caret at `pos` is shown.
    Shown caretAt(int pos) const
    {
        QTextCursor c(tc->document());
        c.setPosition(pos);
        const QPointF mm = tc->documentCaretRect(c).topLeft() / kPxPerMm;
        for (int page = 4; page >= 1; --page)
            if (mm.y() >= kSheetsMm[page - 1].top())
                return {page, mm - kSheetsMm[page - 1].topLeft()};
        return {};
    }

    QList<PdfPage> printed()
    {
        const QString pdf = m_dir.filePath(QStringLiteral("brief.pdf"));
        return tc->Save(pdf, 0, 12, false) ? pdfWordBoxes(pdf) : QList<PdfPage>();
    }

    static QStringList wordsOf(const PdfPage& page)
    {
        QStringList out;
        for (const PdfWord& w : page.words)
            out << w.text;
        return out;
    }

    QTemporaryDir m_dir;

private Q_SLOTS:
    void init()
    {
        if (!havePdfToText())
            QSKIP("pdftotext (poppler-utils) is not installed");
        tc = new TextControl;
        tc->resize(1300, 900);
        QVERIFY2(tc->Load(qxSourceDir() + QStringLiteral("/tests/engine/data/brief-querformat.rtf"), 0, 5, false),
                 qPrintable(tc->LastError()));
        tc->setViewMode(2);
        tc->show();
        QVERIFY(QTest::qWaitForWindowExposed(tc));
        QApplication::processEvents();
    }
    void cleanup()
    {
        delete tc;
        tc = nullptr;
    }

    // Each sheet has its page's size where the column puts it; the words stand on it
    // where the PDF prints them (top left of the word's box), and a click into a word
    // puts the caret in it.
    void sheetsAndWordsAsPrinted_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QPointF>("mm");
        QTest::newRow("letter") << 1 << "Frau Erika" << QPointF(25.0, 25.0);
        QTest::newRow("landscape, left") << 2 << "Anlage Preisliste" << QPointF(20.0, 25.0);
        QTest::newRow("landscape, first column") << 2 << "Rollcontainer" << QPointF(39.6, 41.8);
        QTest::newRow("landscape, last column") << 2 << "Sofort" << QPointF(230.1, 41.8);
        QTest::newRow("landscape, below the table") << 2 << "Versand" << QPointF(49.3, 46.4);
        QTest::newRow("end") << 3 << "Lieferbedingungen" << QPointF(25.0, 25.0);
        QTest::newRow("after the page break") << 4 << "Zahlungsbedingungen" << QPointF(25.0, 25.0);
    }
    void sheetsAndWordsAsPrinted()
    {
        QFETCH(int, page);
        QFETCH(QString, word);
        QFETCH(QPointF, mm);
        QCOMPARE(tc->CurrentPages(), 4);
        const QRectF sheet = tc->sheetRect(page), want = kSheetsMm[page - 1];
        const QRectF got(sheet.topLeft() / kPxPerMm, sheet.size() / kPxPerMm);
        QVERIFY2((got.topLeft() - want.topLeft()).manhattanLength() < 0.3 && qAbs(got.width() - want.width()) < 0.3
                     && qAbs(got.height() - want.height()) < 0.3,
                 qPrintable(QStringLiteral("%1 %2 %3 %4").arg(got.left()).arg(got.top()).arg(got.width()).arg(got.height())));
        const int at = positionOf(word);
        const Shown shown = caretAt(at);
        QVERIFY2(shown.page == page && (shown.mm - mm).manhattanLength() < 0.5,
                 qPrintable(QStringLiteral("page %1, %2 x %3 mm").arg(shown.page).arg(shown.mm.x()).arg(shown.mm.y())));
        // Painted: 10 mm from the column's left edge is on the landscape sheet, beside the
        // portrait ones; 5 mm inside each sheet is paper; the word's letters are inked.
        const QPoint middle = onScreen(page, 5, kSheetsMm[page - 1].height() / 2);
        const QImage shot = tc->viewport()->grab().toImage();
        QCOMPARE(shot.pixelColor(middle), QColor(Qt::white));
        const QPoint atTen = middle + QPointF((10 - 5 - kSheetsMm[page - 1].left()) * kPxPerMm, 0).toPoint();
        QCOMPARE(shot.pixelColor(atTen), page == 2 ? QColor(Qt::white) : QColor(0x80, 0x80, 0x80));
        const QPoint inWord = onScreen(page, mm.x() + 3, mm.y() + 2);
        QVERIFY(darkPixels(tc->viewport()->grab().toImage(), QRect(inWord - QPoint(8, 6), QSize(12, 12))) > 10);
        QTest::mouseClick(tc->viewport(), Qt::LeftButton, {}, inWord);
        QVERIFY2(tc->SelStart() > at && tc->SelStart() < at + word.size(), qPrintable(QString::number(tc->SelStart() - at)));
    }

    // A drag from the letter's last line to the price list's last line selects across
    // the break, the table between whole.
    void dragAcrossTheBreak()
    {
        QTest::mousePress(tc->viewport(), Qt::LeftButton, {}, onScreen(1, 60.0, 50.1)); // in "Grüßen"
        QTest::mouseMove(tc->viewport(), onScreen(2, 56.5, 49.1));
        QTest::mouseRelease(tc->viewport(), Qt::LeftButton, {}, onScreen(2, 56.5, 49.1)); // in "Versand"
        const int greeting = positionOf(QStringLiteral("Grüßen")), end = positionOf(QStringLiteral("Versand"));
        QVERIFY(tc->SelStart() > greeting && tc->SelStart() < greeting + 6);
        QVERIFY(tc->SelStart() + tc->SelLength() > end && tc->SelStart() + tc->SelLength() < end + 7);
    }

    // Up, Down, the page keys, Home and End go along the printed lines, across the
    // section breaks. The page keys go the viewport's height (900 px, 238 mm): below
    // page 3's one line to the next, page 4's; below page 1's last line to its end.
    void lineKeysAcrossSections_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("to");
        QTest::addColumn<int>("toPage");
        QTest::newRow("down from page 1") << "freundlichen" << int(Qt::Key_Down) << "Anlage Preisliste" << 2;
        QTest::newRow("up from page 2") << "Anlage Preisliste" << int(Qt::Key_Up) << "Mit freundlichen Grüßen" << 1;
        QTest::newRow("down from page 2") << "Preise zuzüglich" << int(Qt::Key_Down) << "Lieferbedingungen" << 3;
        QTest::newRow("up from page 3") << "Lieferbedingungen" << int(Qt::Key_Up) << "Preise zuzüglich Versand" << 2;
        QTest::newRow("page down from page 2") << "Anlage Preisliste" << int(Qt::Key_PageDown) << "Zahlungsbedingungen" << 4;
        QTest::newRow("page up from page 3") << "Lieferbedingungen" << int(Qt::Key_PageUp) << "Mit freundlichen Grüßen" << 1;
        QTest::newRow("end on page 2") << "Anlage Preisliste" << int(Qt::Key_End) << "Anlage Preisliste" << 2;
        QTest::newRow("home on page 2") << "Anlage Preisliste" << int(Qt::Key_Home) << "Anlage Preisliste" << 2;
    }
    void lineKeysAcrossSections()
    {
        QFETCH(QString, from);
        QFETCH(int, key);
        QFETCH(QString, to);
        QFETCH(int, toPage);
        tc->setSelStart(positionOf(from) + 2);
        QTest::keyClick(tc, Qt::Key(key));
        const int target = positionOf(to);
        QVERIFY2(tc->SelStart() >= target && tc->SelStart() <= target + to.size(),
                 qPrintable(QStringLiteral("%1 from %2").arg(tc->SelStart()).arg(target)));
        QCOMPARE(caretAt(tc->SelStart()).page, toPage);
        QCOMPARE(tc->caretPage().width, toPage == 2 ? 16838 : 11906); // the ruler's page
        if (key == Qt::Key_Home || key == Qt::Key_End)
            QCOMPARE(tc->SelStart(), key == Qt::Key_Home ? target : target + int(to.size()));
    }

    // Typing into the landscape table: the cell grows where it is printed.
    void typingIntoTheLandscapeTable()
    {
        QTest::mouseClick(tc->viewport(), Qt::LeftButton, {}, onScreen(2, 98.5, 39.7)); // in "Eiche"
        QTest::keyClick(tc, Qt::Key_End);
        QTest::keyClicks(tc, QStringLiteral("n"));
        QVERIFY(positionOf(QStringLiteral("Eichen")) > 0);
        const Shown shown = caretAt(tc->SelStart());
        QVERIFY2(shown.page == 2 && qAbs(shown.mm.x() - 101.5) < 0.5 && qAbs(shown.mm.y() - 37.5) < 0.5,
                 qPrintable(QStringLiteral("page %1, %2 x %3 mm").arg(shown.page).arg(shown.mm.x()).arg(shown.mm.y())));
        const QList<PdfPage> pages = printed();
        QCOMPARE(pages.size(), 4);
        QVERIFY(wordsOf(pages[1]).contains(QStringLiteral("Eichen")));
        QCOMPARE(QSizeF(pages[1].width, pages[1].height).toSize(), QSize(842, 595));
    }

    // A double click on the footer of the end's sheet edits that section's own footer
    // there; one on the landscape sheet's header the letter's header, on that sheet.
    void laterSectionsPartsEditedOnTheirSheets()
    {
        QTest::mouseDClick(tc->viewport(), Qt::LeftButton, {}, onScreen(3, 30, 297 - 14));
        QCOMPARE(tc->HeaderFooterActive(), 4);
        QTextEdit* editor = tc->headerFooterEditor();
        QCOMPARE(editor->toPlainText(), QStringLiteral("Fußzeile Schlussteil"));
        const QRectF placed(tc->toDocument(editor->geometry().topLeft()) / kPxPerMm,
                            QSizeF(editor->geometry().size()) / tc->zoom() / kPxPerMm);
        QVERIFY2(qAbs(placed.left() - (43.5 + 25)) < 0.5 && qAbs(placed.bottom() - (507 + 297 - 12.5)) < 1,
                 qPrintable(QStringLiteral("%1 %2").arg(placed.left()).arg(placed.bottom())));
        QTest::keyClick(editor, Qt::Key_Home);
        QTest::keyClicks(editor, QStringLiteral("Neu "));
        tc->HeaderFooterLeave();
        QTest::mouseDClick(tc->viewport(), Qt::LeftButton, {}, onScreen(2, 30, 14));
        QCOMPARE(tc->HeaderFooterActive(), 1);
        QCOMPARE(tc->headerFooterEditor()->document(), tc->doc()->headerFooter(1));
        const QList<PdfPage> pages = printed();
        QCOMPARE(pages.size(), 4);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(wordsOf(pages[i]).contains(QStringLiteral("Neu")), i >= 2);
    }

    // Page numbers in the text count on across the sections, as those of headers do.
    void bodyPageNumbersCountOn()
    {
        for (const char* end : {"Grüßen", "Versand", "Lieferbedingungen", "Zahlungsbedingungen"}) {
            QTextCursor c(tc->document());
            c.setPosition(positionOf(QString::fromUtf8(end)) + int(QString::fromUtf8(end).size()));
            c.insertText(QStringLiteral(" Seite "));
            const int page = Fields::insert(c, QString());
            c.insertText(QStringLiteral(" von "));
            Fields::setType(tc->document(), Fields::insert(c, QString()), FieldTypes::PageCount);
            Fields::setType(tc->document(), page, FieldTypes::PageNumber);
        }
        const QList<PdfPage> pages = printed();
        QCOMPARE(pages.size(), 4);
        for (int i = 0; i < 4; ++i) {
            const QStringList words = wordsOf(pages[i]);
            const int at = words.indexOf(QStringLiteral("Seite"));
            QVERIFY(at >= 0 && at + 3 < words.size());
            QCOMPARE(words.mid(at, 4), (QStringList{"Seite", QString::number(i + 1), "von", "4"}));
        }
    }
};

QTEST_MAIN(TestSectionScreen)
#include "tst_sectionscreen.moc"
