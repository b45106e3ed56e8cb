// A long plain text in a window: the printed copy it shows is paginated without Qt's
// document layout, its lines stand where that layout puts them, and edits move them.

#include "Pixels.h"
#include "TestCommon.h"
#include "dialogs/DocumentStatistics.h"
#include "engine/Document.h"
#include "engine/pages/Paginator.h"
#include "engine/pages/PlainLayout.h"
#include "engine/surface/TextControl.h"

#include <QAbstractTextDocumentLayout>
#include <QTextLayout>

namespace {

// A4 with 2 cm margins in twips, the layout unit of the printed copy. Arial 11 lines are
// 12.65 pt (253 twips) high: 57 fill the body, which starts 1134 twips down the sheet.
const PageGeometry kA4{11906, 16838};
const int kLine = 253, kTop = 1134, kPage = 16838;

// "Zeile 1" … "Zeile N" as a text file, loaded into `tc` as the window loads it. Given
// `wrapping`, line 55 is that text and line 1000 its first 130 characters (two lines).
void loadLines(TextControl& tc, int count, const QString& wrapping = {})
{
    QByteArray text;
    for (int i = 1; i <= count; ++i)
        text += (i > 1 ? "\n" : "")
                + (wrapping.isEmpty() || (i != 55 && i != 1000) ? "Zeile " + QByteArray::number(i)
                                                                : (i == 55 ? wrapping : wrapping.left(130)).toUtf8());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("zeilen.txt"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
    f.close();
    tc.doc()->setPage(kA4);
    QVERIFY2(tc.Load(path, 0, 1, false), qPrintable(tc.LastError()));
}

QTextDocument* shown(TextControl& tc) { return tc.paginator()->layoutDocument(); }

double topOf(TextControl& tc, int block)
{
    QTextDocument* d = shown(tc);
    return d->documentLayout()->blockBoundingRect(d->findBlockByNumber(block)).top();
}

} // namespace

class TstPlainLayout : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // 2,964 lines fill 52 pages: where a line stands, on which page, and which line of it;
    // in the page view (2), where the body itself is placed as printed, and in the normal
    // view (0), where a copy of it is.
    void linesOnTheirPages_data()
    {
        QTest::addColumn<int>("view");
        QTest::addColumn<int>("block");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("line");
        QTest::newRow("Zeile 1") << 2 << 0 << 1 << 1;
        QTest::newRow("Zeile 57, unten auf Seite 1") << 2 << 56 << 1 << 57;
        QTest::newRow("Zeile 58, oben auf Seite 2") << 2 << 57 << 2 << 1;
        QTest::newRow("Zeile 2000") << 2 << 1999 << 36 << 5;
        QTest::newRow("Zeile 2964, zuletzt") << 2 << 2963 << 52 << 57;
        QTest::newRow("Normalansicht, Zeile 58") << 0 << 57 << 2 << 1;
        QTest::newRow("Normalansicht, Zeile 2000") << 0 << 1999 << 36 << 5;
    }
    void linesOnTheirPages()
    {
        QFETCH(int, view);
        QFETCH(int, block);
        QFETCH(int, page);
        QFETCH(int, line);
        TextControl tc;
        tc.setViewMode(view);
        loadLines(tc, 2964);
        QCOMPARE(shown(tc) == tc.doc()->body(), view == 2);
        QVERIFY(qobject_cast<PlainLayout*>(shown(tc)->documentLayout()));
        QCOMPARE(tc.CurrentPages(), 52);
        // The input position first: nothing has asked for that paragraph's place yet.
        tc.setSelStart(tc.doc()->body()->findBlockByNumber(block).position() + 3);
        const InputPosition p = tc.CurrentInputPosition();
        QCOMPARE(p.page, page);
        QCOMPARE(p.line, line);
        QCOMPARE(p.column, 4);
        const double want = (page - 1) * kPage + kTop + (line - 1) * kLine;
        QVERIFY2(qAbs(topOf(tc, block) - want) < 2, qPrintable(QString::number(topOf(tc, block) - want)));
        // Back from the input position, and from a point in the middle of that line.
        tc.setSelStart(0);
        tc.setCurrentInputPosition({page, line, 2});
        QCOMPARE(tc.textCursor().block().blockNumber(), block);
        const int hit = shown(tc)->documentLayout()->hitTest(QPointF(1134 + 20, want + kLine / 2), Qt::FuzzyHit);
        QCOMPARE(tc.doc()->body()->findBlock(hit).blockNumber(), block);
        QCOMPARE(shown(tc)->documentLayout()->hitTest(QPointF(9000, want + kLine / 2), Qt::ExactHit), -1);
    }

    // Against Qt's own layout of the printed copy: every line, also of a paragraph that
    // wraps across the end of page 1.
    void sameLinesAsQtLayout()
    {
        TextControl tc;
        loadLines(tc, 2100, QStringLiteral("Absatz: ") + QStringLiteral("Ein Satz mit einigen W\u00f6rtern, der umbricht. ").repeated(12));
        const std::unique_ptr<QTextDocument> qt = Paginator::printedCopy(*tc.doc());
        QTextDocument* plain = shown(tc);
        QVERIFY(qobject_cast<PlainLayout*>(plain->documentLayout()));
        QCOMPARE(plain->pageCount(), qt->pageCount());
        int lines = 0;
        for (QTextBlock a = qt->begin(), b = plain->begin(); a.isValid(); a = a.next(), b = b.next()) {
            const QPointF at = qt->documentLayout()->blockBoundingRect(a).topLeft();
            const QPointF bt = plain->documentLayout()->blockBoundingRect(b).topLeft();
            QCOMPARE(b.layout()->lineCount(), a.layout()->lineCount());
            for (int i = 0; i < a.layout()->lineCount(); ++i, ++lines) {
                const QTextLine la = a.layout()->lineAt(i), lb = b.layout()->lineAt(i);
                QCOMPARE(lb.textStart(), la.textStart());
                QVERIFY2(qAbs(bt.y() + lb.y() - at.y() - la.y()) < 1 && qAbs(bt.x() + lb.x() - at.x() - la.x()) < 1
                             && qAbs(lb.height() - la.height()) < 1,
                         qPrintable(QStringLiteral("Zeile %1: %2 %3 %4 / %5 %6 %7").arg(lines + 1).arg(bt.y() + lb.y()).arg(bt.x() + lb.x()).arg(lb.height()).arg(at.y() + la.y()).arg(at.x() + la.x()).arg(la.height())));
            }
        }
        QVERIFY(lines > 2104);
        // The window draws its pages as a conversion draws them, the wrapping paragraph too.
        Paginator still(tc.doc(), Paginator::DoesNotChange);
        QVERIFY(darkPixels(tc.PageImage(1, 150), QRect(118, 118, 300, 1500)) > 1000);
        QCOMPARE(tc.PageImage(1, 150), still.renderPage(1, 150));
        QCOMPARE(tc.PageImage(2, 150), still.renderPage(2, 150));
    }

    // Typing a long sentence into line 10 wraps it into 3 lines: the lines after it move
    // two down (52 full pages become 53); joining two lines moves them one up; a bold
    // word leaves the plain path, and the copy is laid out by Qt.
    void editsMoveLaterLines()
    {
        TextControl tc;
        loadLines(tc, 2964);
        QTextCursor c(tc.doc()->body()->findBlockByNumber(9));
        c.movePosition(QTextCursor::EndOfBlock);
        c.insertText(QStringLiteral(" und ein langer Satz, der weiter reicht als eine Zeile breit ist").repeated(4));
        QCOMPARE(tc.CurrentPages(), 53);
        topOf(tc, 9);
        QCOMPARE(shown(tc)->findBlockByNumber(9).layout()->lineCount(), 3);
        // The statistics count the printed lines without laying every paragraph out.
        QCOMPARE(DocumentStatistics::of(tc).lines, 2966);
        QVERIFY(qAbs(topOf(tc, 55) - (kPage + kTop)) < 2);
        QVERIFY(qAbs(topOf(tc, 2963) - (52 * kPage + kTop + kLine)) < 2);
        c.setPosition(tc.doc()->body()->findBlockByNumber(1).position());
        c.deletePreviousChar();
        QCOMPARE(tc.CurrentPages(), 53);
        tc.setCurrentInputPosition({2, 1, 1});
        QCOMPARE(tc.textCursor().block().text(), QStringLiteral("Zeile 57"));
        QVERIFY(qAbs(topOf(tc, 55) - (kPage + kTop)) < 2);
        // The last sheet shows its one line, and nothing below it.
        const QImage last = tc.PageImage(53);
        QVERIFY(darkPixels(last, QRect(76, 76, 200, 16)) > 20);
        QCOMPARE(darkPixels(last, QRect(76, 95, 600, 900)), 0);
        c.movePosition(QTextCursor::End);
        c.movePosition(QTextCursor::StartOfWord, QTextCursor::KeepAnchor);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        c.mergeCharFormat(bold);
        QVERIFY(!qobject_cast<PlainLayout*>(shown(tc)->documentLayout()));
        QCOMPARE(tc.CurrentPages(), 53);
    }
};

QTEST_MAIN(TstPlainLayout)
#include "tst_plainlayout.moc"
