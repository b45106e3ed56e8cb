// The editing surface at 50, 100 and 200 %: indents where the ruler puts them, clicks
// landing on the character under the mouse, the caret kept in view while typing, and
// the same line breaks at every zoom.

#include "Pixels.h"
#include "TestFiles.h"
#include "app/ScriptedPrompter.h"
#include "engine/TextControl.h"

#include <QAbstractTextDocumentLayout>
#include <QDropEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

namespace {
const QString kWords = QStringLiteral("Wort ");

void addZoomRows()
{
    QTest::addColumn<int>("view");
    QTest::addColumn<int>("zoom");
    for (int view : {0, 1, 2})
        for (int zoom : {50, 100, 200})
            QTest::addRow("view %d, %d %%", view, zoom) << view << zoom;
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
        const QTextBlock b = tc->document()->firstBlock();
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
        const double z = zoom / 100.0;
        const QTextBlock b = tc->document()->findBlock(
            tc->document()->documentLayout()->hitTest(QPointF(100, (scroll.y() + 300) / z), Qt::FuzzyHit));
        QVERIFY(b.isValid());
        const QRectF br = tc->document()->documentLayout()->blockBoundingRect(b);
        const QTextLine line = b.layout()->lineAt(0);
        auto pointOf = [&](int col) {
            const QPointF doc(br.left() + line.cursorToX(col) + 1, br.top() + line.y() + line.height() / 2);
            return (doc * z - scroll).toPoint();
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
        QCOMPARE(b.text().mid(7, 2), QStringLiteral("XY"));
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

    void caretIsDrawn_data()
    {
        QTest::addColumn<int>("zoom");
        for (int zoom : {50, 100, 200})
            QTest::addRow("%d %%", zoom) << zoom;
    }
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

    void sameLinesAtEveryZoom_data()
    {
        QTest::addColumn<int>("view");
        QTest::newRow("layout") << 1;
        QTest::newRow("centred") << 2;
    }
    void sameLinesAtEveryZoom()
    {
        QFETCH(int, view);
        QString text;
        for (int i = 0; i < 40; ++i)
            text += QStringLiteral("Zeile %1 mit etwas mehr Text, der umbrechen muss, ").arg(i).repeated(3 + i % 4) + "\r";
        tc->setText(text);
        tc->setViewMode(view);
        const int at100 = lineCount(tc->document());
        const int pages = tc->CurrentPages();
        for (int zoom : {50, 75, 150, 200, 300}) {
            tc->setZoomFactor(zoom);
            QApplication::processEvents();
            QCOMPARE(lineCount(tc->document()), at100);
            QCOMPARE(tc->CurrentPages(), pages);
        }
    }

private:
    TextControl* tc = nullptr;
};

QTEST_MAIN(TestZoom)
#include "tst_zoom.moc"
