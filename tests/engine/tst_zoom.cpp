// The editing surface at 50, 100 and 200 %: indents where the ruler puts them, clicks
// landing on the character under the mouse, the caret kept in view while typing, the
// same line breaks at every zoom, and the screen showing the text as laid out after
// every kind of edit, from 50 to 300 %.

#include "PdfText.h"
#include "Pixels.h"
#include "TestCommon.h"
#include "engine/surface/TextControl.h"

#include <QAbstractTextDocumentLayout>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextFrame>
#include <QtMath>

namespace {
const QString kWords = QStringLiteral("Wort ");

void addZoomRows()
{
    addColumns<int, int>("view", "zoom");
    for (int view : {0, 1, 2})
        for (int zoom : {50, 100, 200})
            QTest::addRow("view %d, %d %%", view, zoom) << view << zoom;
}

// What the screen shows of the surface's viewport: the window's backing store as the
// paints so far left it, not a fresh repaint.
QImage shownViewport(TextControl* tc)
{
    QApplication::processEvents();
    const QImage window = tc->screen()->grabWindow(tc->window()->winId()).toImage();
    const QRect vp(tc->viewport()->mapTo(tc->window(), QPoint()), tc->viewport()->size());
    return window.copy(vp).convertToFormat(QImage::Format_RGB32);
}

// The shown layout (the body's, or its printed copy's in the page views) drawn straight
// into an image at the surface's zoom and scroll position.
QImage drawnLayout(TextControl* tc)
{
    QImage img(tc->viewport()->size(), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.translate(-tc->horizontalScrollBar()->value(), -tc->verticalScrollBar()->value());
    p.scale(tc->zoom() / tc->shownScale(), tc->zoom() / tc->shownScale());
    tc->shownDocument()->documentLayout()->draw(&p, {});
    return img;
}

// Pixels of `r`, less those of `skip`, where the two images differ clearly.
int differingPixels(const QImage& a, const QImage& b, const QRect& r, const QRect& skip)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            if (skip.contains(x, y))
                continue;
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (qAbs(qRed(p) - qRed(q)) > 40 || qAbs(qGreen(p) - qGreen(q)) > 40 || qAbs(qBlue(p) - qBlue(q)) > 40)
                ++n;
        }
    return n;
}

// A letter in Liberation Sans 11 pt, spaced 6 pt after each paragraph, whose every
// word is unique ("w17"): 60 paragraphs of 3 to 47 words, a table of 3 × 3 after the
// 20th, and a page break inserted in front of the 46th.
void writeLetter(TextControl* tc)
{
    QString text;
    for (int i = 0, n = 0; i < 60; ++i) {
        for (int w = 0; w < 3 + (i * 7) % 45; ++w)
            text += QStringLiteral("w%1 ").arg(n++);
        text += QLatin1Char('\r');
    }
    tc->setText(text);
    tc->setSelStart(0);
    tc->setSelLength(-1);
    tc->setFontName(QStringLiteral("Liberation Sans"));
    tc->setFontSize(11);
    QTextBlockFormat spaced;
    spaced.setBottomMargin(8);
    tc->textCursor().mergeBlockFormat(spaced);
    tc->setSelStart(tc->document()->findBlockByNumber(45).position());
    tc->setSelText(QStringLiteral("\f"));
    const int table = tc->TableInsert(3, 3, tc->document()->findBlockByNumber(20).position());
    for (int cell = 0; cell < 9; ++cell)
        tc->setTableCellText(table, cell / 3 + 1, cell % 3 + 1, QStringLiteral("z%1").arg(cell));
}

int positionOf(TextControl* tc, const QString& word)
{
    return tc->document()->find(word, 0, QTextDocument::FindWholeWords).selectionStart();
}

// Page and millimetres from the sheet's top of the line the caret at `pos` stands on.
QPair<int, double> shownLine(TextControl* tc, int pos)
{
    QTextCursor c(tc->document());
    c.setPosition(pos);
    const double sheet = 16837 / 15.0, top = tc->documentCaretRect(c).top();
    const int page = int(top / sheet);
    return {page + 1, (top - page * sheet) * 25.4 / 96};
}

int lineCount(QTextDocument* d)
{
    d->documentLayout()->documentSize(); // laid out to the end
    int n = 0;
    for (QTextBlock b = d->begin(); b.isValid(); b = b.next())
        n += b.layout()->lineCount();
    return n;
}
} // namespace

class TestZoom : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        installScriptedPrompter();
        tc = new TextControl;
        tc->resize(900, 600);
        tc->show();
        QVERIFY(QTest::qWaitForWindowExposed(tc));
    }
    void cleanup() { delete tc; }

    void indentsMeetTheRuler_data() { addZoomRows(); }
    void indentsMeetTheRuler()
    {
        QFETCH(int, view);
        QFETCH(int, zoom);
        tc->setText(kWords.repeated(80) + QStringLiteral("\r") + kWords.repeated(10));
        QTextBlockFormat f;
        f.setLeftMargin(1440 / 15.0); // twips to 96-dpi pixels
        f.setTextIndent(720 / 15.0);
        QTextCursor(tc->document()).mergeBlockFormat(f);
        tc->setViewMode(view);
        tc->setZoomFactor(zoom);
        tc->setSelStart(0);
        QApplication::processEvents();
        QCOMPARE(tc->IndentL(), 1440);
        QCOMPARE(tc->IndentFL(), 720);
        const QTextBlock b = tc->shownDocument()->firstBlock();
        QVERIFY(b.layout()->lineCount() > 1);
        // The ruler puts twips at textLeftX + twips × pixelsPerTwip, in the surface.
        const double origin = tc->textLeftX() - tc->viewport()->geometry().left();
        const double ppt = tc->pixelsPerTwip();
        QCOMPARE(qRound(ppt * 1500), 100 * zoom / 100);
        QTextCursor c(tc->document());
        const int firstX = tc->caretRect(c).left();
        c.setPosition(b.layout()->lineAt(1).textStart());
        const int secondX = tc->caretRect(c).left();
        QVERIFY2(qAbs(firstX - (origin + 2160 * ppt)) <= 2, qPrintable(QString::number(firstX)));
        QVERIFY2(qAbs(secondX - (origin + 1440 * ppt)) <= 2, qPrintable(QString::number(secondX)));
        // The second paragraph carries no indent.
        c.setPosition(b.next().position());
        QVERIFY(qAbs(tc->caretRect(c).left() - origin) <= 2);
    }

    void mousePlacesAndSelects_data() { addZoomRows(); }
    void mousePlacesAndSelects()
    {
        QFETCH(int, view);
        QFETCH(int, zoom);
        tc->setText(QStringLiteral("Erste Zeile\r") + QStringLiteral("Zweite Zeile mit Wörtern darin\r").repeated(60));
        tc->setViewMode(view);
        tc->setZoomFactor(zoom);
        tc->verticalScrollBar()->setValue(tc->verticalScrollBar()->maximum() / 3);
        QApplication::processEvents();
        // A character in the middle of the view, found in the layout itself.
        const QPoint scroll(tc->horizontalScrollBar()->value(), tc->verticalScrollBar()->value());
        const double z = zoom / 100.0, unit = tc->shownScale();
        QTextDocument* shown = tc->shownDocument();
        const QTextBlock b = shown->findBlock(shown->documentLayout()->hitTest(QPointF(100, (scroll.y() + 300) / z) * unit, Qt::FuzzyHit));
        QVERIFY(b.isValid());
        const QRectF br = shown->documentLayout()->blockBoundingRect(b);
        const QTextLine line = b.layout()->lineAt(0);
        auto pointOf = [&](int col) {
            const QPointF doc(br.left() + line.cursorToX(col) + unit, br.top() + line.y() + line.height() / 2);
            return (doc / unit * z - scroll).toPoint();
        };
        QTest::mouseClick(tc->viewport(), Qt::LeftButton, {}, pointOf(7));
        QCOMPARE(tc->SelStart(), b.position() + 7);
        QCOMPARE(tc->SelLength(), 0);
        QTest::mousePress(tc->viewport(), Qt::LeftButton, {}, pointOf(2));
        QTest::mouseMove(tc->viewport(), pointOf(12));
        QTest::mouseRelease(tc->viewport(), Qt::LeftButton, {}, pointOf(12));
        QCOMPARE(tc->SelText(), QStringLiteral("eite Zeile"));
        QTest::mouseDClick(tc->viewport(), Qt::LeftButton, {}, pointOf(9));
        QCOMPARE(tc->SelText().trimmed(), QStringLiteral("Zeile"));
        // Text dragged in from elsewhere lands where it is dropped.
        QMimeData data;
        data.setText(QStringLiteral("XY"));
        QDragEnterEvent enter(pointOf(7), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(tc->viewport(), &enter);
        QDragMoveEvent move(pointOf(7), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(tc->viewport(), &move);
        QVERIFY(move.isAccepted());
        QDropEvent drop(pointOf(7), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(tc->viewport(), &drop);
        QCOMPARE(tc->document()->findBlock(b.position()).text().mid(7, 2), QStringLiteral("XY"));
    }

    void typingKeepsTheCaretInView_data() { addZoomRows(); }
    void typingKeepsTheCaretInView()
    {
        QFETCH(int, view);
        QFETCH(int, zoom);
        tc->setText(kWords.repeated(30).append(QStringLiteral("\r")).repeated(80));
        tc->setViewMode(view);
        tc->setZoomFactor(zoom);
        tc->setFocus();
        tc->setSelStart(tc->document()->characterCount() - 1);
        tc->ensureCursorVisible();
        QApplication::processEvents();
        const QRect vp = tc->viewport()->rect();
        int last = tc->verticalScrollBar()->value();
        for (const QString& typed : {QStringLiteral("abc def "), QStringLiteral("\r"), QStringLiteral("ghi")}) {
            QTest::keyClicks(tc, typed);
            QApplication::processEvents();
            QVERIFY2(vp.contains(tc->caretRect()), qPrintable(typed));
            // The view moves on by at most a few lines, never back.
            const int now = tc->verticalScrollBar()->value();
            QVERIFY2(now >= last && now - last < 100 * zoom / 100, qPrintable(QStringLiteral("%1 %2").arg(last).arg(now)));
            last = now;
        }
        // Zooming keeps the caret the user was looking at in sight.
        tc->setZoomFactor(zoom == 100 ? 50 : 100);
        QApplication::processEvents();
        QVERIFY(vp.contains(tc->caretRect()));
    }

    void caretIsDrawn_data() { addRows<int>("zoom", {{"50 %", 50}, {"100 %", 100}, {"200 %", 200}}); }
    void caretIsDrawn()
    {
        QFETCH(int, zoom);
        tc->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(tc));
        tc->setFocus();
        tc->setText(QStringLiteral("Text\r\rText"));
        tc->setZoomFactor(zoom);
        tc->setSelStart(5); // the empty paragraph: nothing but the caret there
        const QRect caret = tc->caretRect();
        QVERIFY(caret.height() >= 16 * zoom / 100);
        QVERIFY(darkPixels(tc->viewport()->grab().toImage(), caret) >= caret.height() / 2);
        tc->setReadOnly(true);
        QCOMPARE(darkPixels(tc->viewport()->grab().toImage(), caret), 0);
    }

    void sameLinesAtEveryZoom_data() { addRows<int>("view", {{"layout", 1}, {"centred", 2}}); }
    void sameLinesAtEveryZoom()
    {
        QFETCH(int, view);
        QString text;
        for (int i = 0; i < 40; ++i)
            text += QStringLiteral("Zeile %1 mit etwas mehr Text, der umbrechen muss, ").arg(i).repeated(3 + i % 4) + "\r";
        tc->setText(text);
        tc->setViewMode(view);
        const int at100 = lineCount(tc->shownDocument());
        const int pages = tc->CurrentPages();
        for (int zoom : {50, 75, 150, 200, 300}) {
            tc->setZoomFactor(zoom);
            QApplication::processEvents();
            QCOMPARE(lineCount(tc->shownDocument()), at100);
            QCOMPARE(tc->CurrentPages(), pages);
        }
        tc->setZoomFactor(1000); // kept within 10 to 400 %
        QCOMPARE(tc->ZoomFactor(), 400);
        tc->setZoomFactor(1);
        QCOMPARE(tc->ZoomFactor(), 10);
    }

    void screenShowsTheLayout_data()
    {
        addColumns<int, int>("view", "zoom");
        for (int view : {0, 1, 2})
            for (int zoom : {50, 100, 150, 168, 200, 300})
                QTest::addRow("view %d, %d %%", view, zoom) << view << zoom;
    }
    void screenShowsTheLayout()
    {
        // Wide letters typed, pasted, undone and inserted by the program, each step
        // painted as the user sees it; the text line must then look as the layout draws it.
        QFETCH(int, view);
        QFETCH(int, zoom);
        tc->setText(QStringLiteral("Anfang\r\rEnde"));
        tc->setViewMode(view);
        tc->setZoomFactor(zoom);
        tc->setSelStart(7);
        QTest::qWait(50);
        // The text inside the page margins (the layout view draws guides on them), to
        // a little below the last line: every line of it is on screen at these zooms.
        auto textArea = [&] {
            QTextDocument* d = tc->document();
            QTextDocument* shown = tc->shownDocument();
            const QTextFrameFormat f = d->rootFrame()->frameFormat();
            const QPointF topLeft = tc->toViewport({f.leftMargin(), f.topMargin()});
            const double bottom = shown->documentLayout()->blockBoundingRect(shown->lastBlock()).bottom() / tc->shownScale();
            const QPointF bottomRight = tc->toViewport({d->textWidth() - f.rightMargin(), bottom + 4});
            return QRectF(topLeft, bottomRight).toAlignedRect().adjusted(2, 2, -2, 0).intersected(tc->viewport()->rect());
        };
        auto check = [&](const char* step) {
            const QImage shown = shownViewport(tc);
            const QImage drawn = drawnLayout(tc);
            const QRect area = textArea();
            QVERIFY(area.height() > 40 * zoom / 100);
            // The caret is no part of the layout.
            const int wrong = differingPixels(shown, drawn, area, tc->caretRect());
            if (wrong) {
                shown.save(QStringLiteral("shown-%1-%2-%3.png").arg(view).arg(zoom).arg(step));
                drawn.save(QStringLiteral("drawn-%1-%2-%3.png").arg(view).arg(zoom).arg(step));
            }
            QVERIFY2(wrong == 0, qPrintable(QStringLiteral("%1: %2 pixels wrong").arg(step).arg(wrong)));
        };
        auto type = [&](const QString& keys) {
            for (QChar ch : keys) {
                QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
                QApplication::sendEvent(tc, &press);
                QApplication::processEvents(); // each key painted on its own, as typed
            }
        };
        const QString wide = QStringLiteral("MmGÖ WMmw ÖGMm MMGG mmÖÖ");
        type(wide);
        QCOMPARE(tc->document()->findBlockByNumber(1).text(), wide);
        check("typed");
        // Lines set tighter than their letters: the letters reach into the lines around.
        QTextBlockFormat tight;
        tight.setLineHeight(14, QTextBlockFormat::FixedHeight);
        QTextCursor(tc->document()->findBlockByNumber(1)).mergeBlockFormat(tight);
        for (int key : {Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_Backspace}) {
            QTest::keyClick(tc, Qt::Key(key));
            QApplication::processEvents();
        }
        check("tight");
        type(wide.right(3));
        tc->setSelStart(7);
        tc->setSelLength(wide.size());
        QTest::keyClick(tc, Qt::Key_C, Qt::ControlModifier);
        QTest::keyClick(tc, Qt::Key_End);
        QApplication::processEvents();
        QTest::keyClick(tc, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(tc->document()->findBlockByNumber(1).text(), wide + wide);
        check("pasted");
        QTest::keyClick(tc, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(tc->document()->findBlockByNumber(1).text(), wide);
        check("undone");
        QTest::keyClick(tc, Qt::Key_Y, Qt::ControlModifier);
        check("redone");
        tc->Undo();
        tc->setSelStart(9); // scrolls sideways: the caret's old pixels went along
        check("caret moved");
        tc->setSelText(QStringLiteral("ÖMMG"));
        check("inserted");
        tc->setSelStart(7);
        tc->setSelLength(8);
        tc->setFontName(QStringLiteral("DejaVu Serif"));
        tc->setFontSize(16);
        tc->setFontItalic(true);
        tc->setSelLength(0);
        check("formatted");
        tc->Undo();
        tc->Undo();
        tc->Undo();
        check("format undone");
        // Written by the program far below, then scrolled to by odd steps.
        tc->setSelStart(tc->document()->characterCount() - 1);
        tc->setSelText(QStringLiteral("\rGMÖWmw GMÖWmw").repeated(25));
        for (int step : {53, 91, 17}) {
            tc->verticalScrollBar()->setValue(tc->verticalScrollBar()->value() + step);
            QApplication::processEvents();
        }
        QVERIFY(zoom < 100 || tc->verticalScrollBar()->value() > 0); // all in view at 50 %
        check("scrolled");
    }

    void pageViewShowsThePrintedLines_data() { addRows<int>("zoom", {{"100 %", 100}, {"168 %", 168}}); }
    void pageViewShowsThePrintedLines()
    {
        if (!havePdfToText())
            QSKIP("pdftotext is not installed");
        QFETCH(int, zoom);
        writeLetter(tc);
        tc->setViewMode(2);
        tc->setZoomFactor(zoom);
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("brief.pdf"));
        QVERIFY2(tc->Save(pdf, 0, 12, false), qPrintable(tc->LastError()));
        const QList<PdfPage> printed = pdfWordBoxes(pdf);
        QCOMPARE(printed.size(), 4);
        // Where the printed PDF has these words (top of the box, millimetres from the
        // sheet's top): page starts, a table's rows, the last lines before the breaks.
        const struct {
            const char* word;
            int page;
            double mm;
        } lines[] = {{"w0", 1, 20.00},    {"z0", 1, 237.05},   {"z6", 1, 248.09},  {"w490", 1, 253.08},
                     {"w529", 1, 268.59}, {"w535", 2, 20.00},  {"w705", 2, 97.30}, {"w1097", 2, 269.73},
                     {"w1110", 3, 20.00}, {"w1124", 3, 24.47}, {"w1125", 4, 20.00}, {"w1444", 4, 192.44}};
        for (const auto& line : lines) {
            const QString word = QString::fromLatin1(line.word);
            const auto box = std::find_if(printed[line.page - 1].words.begin(), printed[line.page - 1].words.end(),
                                          [&](const PdfWord& w) { return w.text == word; });
            QVERIFY2(box != printed[line.page - 1].words.end(), line.word);
            QVERIFY2(qAbs(box->yMin * 25.4 / 72 - line.mm) < 0.3, line.word);
            const QPair<int, double> shown = shownLine(tc, positionOf(tc, word));
            QVERIFY2(shown.first == line.page && qAbs(shown.second - line.mm) < 0.3,
                     qPrintable(QStringLiteral("%1: page %2, %3 mm").arg(word).arg(shown.first).arg(shown.second)));
        }
        // A click on "w745" (x 92.5 mm, 112.8 mm down page 2) puts the caret in it.
        const double z = zoom / 100.0, mm = 96 / 25.4, sheet = 16837 / 15.0;
        const QPointF inWord(94 * mm, sheet + 114.5 * mm);
        tc->verticalScrollBar()->setValue(qRound(inWord.y() * z) - 200);
        QTest::mouseClick(tc->viewport(), Qt::LeftButton, {}, (inWord * z - QPointF(tc->scrollOffset())).toPoint());
        const int w745 = positionOf(tc, QStringLiteral("w745"));
        QVERIFY2(tc->SelStart() > w745 && tc->SelStart() < w745 + 4, qPrintable(QString::number(tc->SelStart() - w745)));
        // The table's grid lines stand on its printed rows (237.5 to 247.5 mm: two rows):
        // columns of dotted grey pixels down that band.
        tc->verticalScrollBar()->setValue(qRound(230 * mm * z));
        const QImage shot = tc->viewport()->grab().toImage();
        const int y0 = qRound(237.5 * mm * z) - tc->verticalScrollBar()->value(), y1 = qRound(247.5 * mm * z) - tc->verticalScrollBar()->value();
        int gridColumns = 0;
        for (int x = 0; x < shot.width(); ++x) {
            int grey = 0;
            for (int y = y0; y < y1; ++y)
                grey += qAbs(qGray(shot.pixel(x, y)) - 160) < 25;
            gridColumns += grey > (y1 - y0) / 4;
        }
        QVERIFY2(gridColumns >= 2, qPrintable(QString::number(gridColumns)));
        // Down from the last line of page 1 goes to the first line of page 2.
        tc->setSelStart(positionOf(tc, QStringLiteral("w530")));
        QTest::keyClick(tc, Qt::Key_Down);
        QCOMPARE(shownLine(tc, tc->SelStart()).first, 2);
        QVERIFY(qAbs(shownLine(tc, tc->SelStart()).second - 20.00) < 0.3);
        // Shift+Up selects back to the same column.
        QTest::keyClick(tc, Qt::Key_Up, Qt::ShiftModifier);
        QCOMPARE(tc->SelStart(), positionOf(tc, QStringLiteral("w530")));
        QVERIFY(tc->SelLength() > 0);
        // A form feed typed as text breaks the page; positions after it stay the body's.
        QTextCursor(tc->document()).insertText(QStringLiteral("\f"));
        QCOMPARE(shownLine(tc, positionOf(tc, QStringLiteral("w0"))).first, 2);
        const QPair<int, double> moved = shownLine(tc, positionOf(tc, QStringLiteral("w705")));
        QVERIFY(moved.first == 3 && qAbs(moved.second - 97.30) < 0.3);
    }

private:
    TextControl* tc = nullptr;
};

QTEST_MAIN(TestZoom)
#include "tst_zoom.moc"
