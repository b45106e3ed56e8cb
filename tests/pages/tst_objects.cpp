// Images (inline and fixed), the in-place header/footer editor and the layout view.

#include "Pixels.h"
#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "engine/Fields.h"
#include "engine/Images.h"
#include "engine/Paginator.h"
#include "engine/TextControl.h"

#include <QPicture>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>
#include <QAbstractTextDocumentLayout>
#include <QTextFrame>
#include <QTextImageFormat>

class TstObjects : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QImage img(60, 30, QImage::Format_RGB32);
        img.fill(Qt::black);
        m_png = m_dir.filePath(QStringLiteral("bild.png"));
        QVERIFY(img.save(m_png));
    }

    void inlineImageScaled()
    {
        TextControl tc;
        tc.setText(QStringLiteral("ab"));
        const int id = tc.ObjectInsertAsChar(m_png, 1, 50, 200);
        QVERIFY(id > 0);
        QCOMPARE(tc.Text().size(), 3);
        QTextCursor c(tc.doc()->body());
        c.setPosition(2);
        const QTextImageFormat f = c.charFormat().toImageFormat();
        QCOMPARE(f.width(), 30.0);
        QCOMPARE(f.height(), 60.0);
        tc.setSelStart(1);
        tc.setSelLength(1);
        QCOMPARE(tc.ObjectSelected(), id);
        tc.setSelLength(0);
        QCOMPARE(tc.ObjectSelected(), 0);
        // An unreadable file inserts nothing.
        const QString missing = m_dir.filePath(QStringLiteral("fehlt.bmp"));
        QCOMPARE(tc.ObjectInsertAsChar(missing), 0);
        QCOMPARE(tc.ObjectInsertFixed(missing, 1000, 1000), 0);
        QCOMPARE(tc.Text().size(), 3);
    }

    void imageDistancesBySide_data()
    {
        QTest::addColumn<int>("side");
        QTest::newRow("left") << 1;
        QTest::newRow("top") << 2;
        QTest::newRow("right") << 3;
        QTest::newRow("bottom") << 4;
    }

    void imageDistancesBySide()
    {
        QFETCH(int, side);
        TextControl tc;
        const int id = tc.ObjectInsertAsChar(m_png);
        tc.setSelStart(0);
        tc.setSelLength(1);
        QCOMPARE(tc.ObjectSelected(), id);
        tc.setImageDistance(side, 567);
        for (int s = 1; s <= 4; ++s)
            QCOMPARE(tc.ImageDistance(s), s == side ? 567 : 0);
        QCOMPARE(Images::distance(tc.doc()->body(), id, side), 567);
    }

    void fixedImageDrawnAtItsPagePosition()
    {
        TextControl tc;
        tc.setText(QStringLiteral("x"));
        QCOMPARE(tc.paginator()->pageCount(), 1); // the paginated copy exists and follows the insertion
        const int rebuilds = tc.paginator()->rebuilds();
        // 1500 twips = 100 px from the page corner, beyond the text.
        const int id = tc.ObjectInsertFixed(m_png, 1500, 6000);
        QVERIFY(id > 0);
        QCOMPARE(Images::fixedPosition(tc.doc()->body(), id), QPoint(1500, 6000));
        const QImage page = tc.PageImage(1);
        QCOMPARE(darkPixels(page, QRect(102, 402, 56, 26), 100), 56 * 26);
        QCOMPARE(darkPixels(page, QRect(200, 402, 20, 20), 100), 0);
        QCOMPARE(tc.paginator()->rebuilds(), rebuilds);
        // It takes no room in the text.
        QCOMPARE(tc.paginator()->pageCount(), 1);
        // Pictures and images at other resolutions show the same page.
        const QImage twice = tc.PageImage(1, 192);
        QVERIFY(qAbs(twice.width() - 2 * page.width()) <= 1 && qAbs(twice.height() - 2 * page.height()) <= 1);
        QCOMPARE(darkPixels(twice, QRect(204, 804, 112, 52), 100), 112 * 52);
        const QPicture pic = tc.paginator()->pagePicture(1);
        QVERIFY(pic.boundingRect().contains(QRect(101, 401, 58, 28)));
    }

    void altDragMovesFixedImage()
    {
        TextControl tc;
        tc.resize(900, 700);
        tc.setViewMode(1);
        const int id = tc.ObjectInsertFixed(m_png, 1500, 3000); // 100, 200 px
        tc.verticalScrollBar()->setValue(0);
        tc.horizontalScrollBar()->setValue(0);
        QWidget* vp = tc.viewport();
        auto send = [vp](QEvent::Type type, QPointF at, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods) {
            const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
            QMouseEvent e(type, at, vp->mapToGlobal(at), button, buttons, mods);
            QApplication::sendEvent(vp, &e);
        };
        const QPointF at(110, 210), to(130, 250);
        send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::AltModifier);
        QCOMPARE(tc.ObjectSelected(), id);
        send(QEvent::MouseMove, to, Qt::LeftButton, Qt::AltModifier);
        send(QEvent::MouseButtonRelease, to, Qt::NoButton, Qt::AltModifier);
        QCOMPARE(Images::fixedPosition(tc.doc()->body(), id), QPoint(1500 + 300, 3000 + 600));
        // Without Alt a press does not grab it.
        send(QEvent::MouseButtonPress, to, Qt::LeftButton, Qt::NoModifier);
        send(QEvent::MouseMove, at, Qt::LeftButton, Qt::NoModifier);
        QCOMPARE(Images::fixedPosition(tc.doc()->body(), id), QPoint(1800, 3600));
    }

    void headerEditedInPlace()
    {
        TextControl tc;
        tc.resize(900, 700);
        tc.show();
        tc.setHeaderFooterSet(5);
        QSignalSpy left(&tc, &TextControl::HeaderFooterLeft);
        QVERIFY(tc.HeaderFooterActivate(1));
        QTextEdit* editor = tc.headerFooterEditor();
        QVERIFY(editor && editor->isVisible());
        QCOMPARE(editor->document(), tc.doc()->headerFooter(1));
        QTest::keyClicks(editor, QStringLiteral("Briefkopf"));
        QCOMPARE(tc.doc()->headerFooter(1)->toPlainText(), QStringLiteral("Briefkopf"));
        QCOMPARE(tc.Text(), QString());
        // The editor sits in the top margin of the sheet.
        const QRect g = editor->geometry();
        QVERIFY(g.top() >= 0 && g.bottom() < 1134 / 15);
        QTest::keyClick(editor, Qt::Key_Escape);
        QCOMPARE(left.count(), 1);
        QVERIFY(!editor->isVisible());
        QCOMPARE(tc.HeaderFooterActive(), 0);
    }

    void layoutViewShowsSheetsHeaderAndFooter()
    {
        TextControl tc;
        tc.resize(1000, 700);
        tc.setText(QStringLiteral("Haupttext"));
        tc.setHeaderFooterSet(5);
        QTextCursor(tc.doc()->headerFooter(1)).insertText(QStringLiteral("KOPF KOPF KOPF"));
        QTextCursor(tc.doc()->headerFooter(4)).insertText(QStringLiteral("FUSS"));
        tc.setViewMode(1);
        tc.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tc));
        const QImage shot = tc.grab().toImage();
        const QRect vp = tc.viewport()->geometry();
        // Desk left of the sheet, white sheet, header text at 720 twips = 48 px down.
        const int sheetLeft = vp.left();
        QVERIFY(vp.left() > 10);
        QVERIFY(qGray(shot.pixel(5, 300)) < 200);
        QCOMPARE(shot.pixelColor(sheetLeft + 20, vp.top() + 20), QColor(Qt::white));
        QVERIFY(darkPixels(shot, QRect(sheetLeft + 75, vp.top() + 48, 200, 14), 100) > 20);
        // The margin area between header and body stays empty; the body shows its text.
        QCOMPARE(darkPixels(shot, QRect(sheetLeft + 300, vp.top() + 48, 200, 14), 100), 0);
        QVERIFY(darkPixels(shot, QRect(sheetLeft + 75, vp.top() + 76, 100, 14), 100) > 10);
    }

    void layoutViewFromEveryViewInAShownWindow_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("lines");
        QTest::newRow("normal, short") << 0 << 3;
        QTest::newRow("normal, scrolling") << 0 << 200;
        QTest::newRow("centred, scrolling") << 2 << 200;
    }

    void layoutViewFromEveryViewInAShownWindow()
    {
        // The sheet's margins resize the viewport, which lays out again; a scroll bar
        // that comes and goes must not make that go round for ever.
        QFETCH(int, from);
        QFETCH(int, lines);
        TextControl tc;
        tc.resize(700, 400);
        tc.setText(QStringLiteral("Zeile\n").repeated(lines));
        tc.setViewMode(from);
        tc.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tc));
        tc.setViewMode(1);
        QApplication::processEvents();
        const int left = tc.viewport()->geometry().left();
        tc.resize(900, 400);
        QApplication::processEvents();
        QVERIFY(tc.viewport()->geometry().left() > left); // the sheet stays centred
        tc.setViewMode(from);
        QApplication::processEvents();
        QCOMPARE(tc.ViewMode(), from);
    }

    void gridLinesShownOrHidden_data()
    {
        QTest::addColumn<int>("view");
        QTest::newRow("centred") << 2;
        QTest::newRow("layout") << 1;
    }

    void gridLinesShownOrHidden()
    {
        QFETCH(int, view);
        TextControl tc;
        tc.resize(900, 600);
        tc.setViewMode(view);
        if (view != 1)
            tc.setLineWrapColumnOrWidth(500);
        tc.TableInsert(3, 3, -1, 1); // empty cells, no printed lines
        tc.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tc));
        tc.viewport()->grab(); // lays the table out
        const QRect table = tc.doc()->body()->documentLayout()->frameBoundingRect(
            tc.textCursor().document()->rootFrame()->childFrames().first()).toRect().adjusted(3, 3, -3, -3);
        auto grey = [&] { return darkPixels(tc.viewport()->grab().toImage(), table, 230); };
        QVERIFY(tc.TableGridLines());
        const int shown = grey();
        QVERIFY2(shown > 50, qPrintable(QString::number(shown) + QLatin1Char(' ') + QString::number(table.width()) + QLatin1Char('x') + QString::number(table.height())));
        tc.setTableGridLines(false);
        QCOMPARE(grey(), 0);
    }

private:
    QTemporaryDir m_dir;
    QString m_png;
};

QTEST_MAIN(TstObjects)
#include "tst_objects.moc"
