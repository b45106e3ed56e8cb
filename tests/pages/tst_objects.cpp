// Images (inline and fixed), the in-place header/footer editor and the layout view.

#include "Pixels.h"
#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "engine/Fields.h"
#include "engine/Images.h"
#include "engine/Paginator.h"
#include "engine/TextControl.h"

#include <QPicture>
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
        QTextCursor c(tc.doc()->body());
        c.setPosition(2);
        const QTextImageFormat f = c.charFormat().toImageFormat();
        QCOMPARE(f.width(), 30.0);
        QCOMPARE(f.height(), 60.0);
        tc.setSelStart(1);
        tc.setSelLength(1);
        QCOMPARE(tc.ObjectSelected(), id);
        // An unreadable file inserts nothing.
        const QString missing = m_dir.filePath(QStringLiteral("fehlt.bmp"));
        QCOMPARE(tc.ObjectInsertAsChar(missing), 0);
        QCOMPARE(tc.Text().size(), 3);
    }

    void fixedImageDrawnAtItsPagePosition()
    {
        TextControl tc;
        tc.setText(QStringLiteral("x"));
        QCOMPARE(tc.paginator()->pageCount(), 1); // the paginated copy exists and follows the insertion
        const int rebuilds = tc.paginator()->rebuilds();
        // 1500 twips = 100 px from the page corner, beyond the text.
        const int id = tc.ObjectInsertFixed(m_png, 1500, 6000);
        QCOMPARE(Images::fixedPosition(tc.doc()->body(), id), QPoint(1500, 6000));
        const QImage page = tc.PageImage(1);
        QCOMPARE(darkPixels(page, QRect(102, 402, 56, 26), 100), 56 * 26);
        QCOMPARE(darkPixels(page, QRect(200, 402, 20, 20), 100), 0);
        QCOMPARE(tc.paginator()->rebuilds(), rebuilds);
        // It takes no room in the text.
        QCOMPARE(tc.paginator()->pageCount(), 1);
        // Pictures show the same page.
        const QPicture pic = tc.paginator()->pagePicture(1);
        QVERIFY(pic.boundingRect().contains(QRect(101, 401, 58, 28)));
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
        QTest::keyClicks(editor, QStringLiteral("Briefkopf"));
        QCOMPARE(tc.doc()->headerFooter(1)->toPlainText(), QStringLiteral("Briefkopf"));
        // The editor sits in the top margin of the sheet.
        const QRect g = editor->geometry();
        QVERIFY(g.top() >= 0 && g.bottom() < 1134 / 15);
        QTest::keyClick(editor, Qt::Key_Escape);
        QVERIFY(left.count() == 1 && !editor->isVisible());
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
        QCOMPARE(shot.pixelColor(sheetLeft + 20, vp.top() + 20), QColor(Qt::white));
        QVERIFY(darkPixels(shot, QRect(sheetLeft + 75, vp.top() + 48, 200, 14), 100) > 20);
        // The margin area between header and body stays empty; the body shows its text.
        QCOMPARE(darkPixels(shot, QRect(sheetLeft + 300, vp.top() + 48, 200, 14), 100), 0);
        QVERIFY(darkPixels(shot, QRect(sheetLeft + 75, vp.top() + 76, 100, 14), 100) > 10);
    }

    void layoutViewFromCentredViewInAShownWindow()
    {
        // The sheet's margins resize the viewport, which lays out again; a scroll bar
        // that comes and goes must not make that go round for ever.
        TextControl tc;
        tc.resize(700, 400);
        tc.setText(QStringLiteral("Zeile\n").repeated(200));
        tc.setViewMode(2); // centred
        tc.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tc));
        tc.setViewMode(1);
        QApplication::processEvents();
        const int left = tc.viewport()->geometry().left();
        tc.resize(900, 400);
        QApplication::processEvents();
        QVERIFY(tc.viewport()->geometry().left() > left); // the sheet stays centred
    }

private:
    QTemporaryDir m_dir;
    QString m_png;
};

QTEST_MAIN(TstObjects)
#include "tst_objects.moc"
