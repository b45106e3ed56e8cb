// The three screen views of a document window, through the real widgets: where the
// text stands in the viewport, how many sheets the layout view shows and how far it
// scrolls, where the ruler puts its zero, and that a view is no edit.

#include "ShellFixture.h"
#include "TestCommon.h"

#include "Pixels.h"
#include "engine/Document.h"
#include "engine/objects/TabLeaders.h"
#include "engine/pages/Paginator.h"
#include "engine/surface/TextRuler.h"
#include "shell/DocumentFiles.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>

namespace {

const QString kLine = QStringLiteral("Ein Absatz mit Wörtern, die bis an den rechten Rand der Zeile reichen und "
                                     "dort umbrechen, damit man abgeschnittene Wörter sieht.\r");

// Zoom items of the view menu by percent.
int zoomItem(int percent)
{
    const QList<int> items{10, 20, 25, 50, 75, 100, 150, 200, 250, 300, 400};
    return int(items.indexOf(percent)) + 1;
}

struct Window {
    ShellFixture fx;
    frmMDIChild* w = nullptr;
    TextControl* s = nullptr;

    bool open(int view, int zoom, QSize size = {900, 650})
    {
        if (!fx.startEmpty())
            return false;
        w = fx.newDocument();
        s = w->surface();
        w->resize(size);
        w->mnuView_Layout_Click(view);
        w->mnuView_ZoomItem_Click(zoomItem(zoom));
        ShellFixture::flush();
        return true;
    }
    // Height of one sheet in the viewport's pixels.
    double sheetHeight() const
    {
        return Paginator::pageSizePixels(s->doc()->page()).height() * s->ZoomFactor() / 100.0;
    }
    // Top of a body position's line in the viewport (scrolled).
    int topOf(int pos) const
    {
        QTextCursor c(s->document());
        c.setPosition(pos);
        return s->caretRect(c).top();
    }
};

} // namespace

class TestViews : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void centredTextInsideTheViewport_data()
    {
        addColumns<int, int>("zoom", "paragraphs");
        QTest::newRow("long, 75 %") << 75 << 60;
        QTest::newRow("short, 100 %") << 100 << 2;
    }
    void centredTextInsideTheViewport()
    {
        QFETCH(int, zoom);
        QFETCH(int, paragraphs);
        // Opened as the program opens a file: laid out before the scroll bar shows.
        Window x;
        QVERIFY(x.fx.startEmpty());
        QTemporaryDir dir;
        QString file = dir.filePath(QStringLiteral("lang.txt"));
        QVERIFY(writeAll(file, kLine.repeated(paragraphs).toUtf8()));
        x.w = DocumentFiles::LoadDocument(file, 1);
        QVERIFY(x.w);
        x.s = x.w->surface();
        x.w->resize(900, 650);
        x.w->mnuView_ZoomItem_Click(zoomItem(zoom));
        ShellFixture::flush();
        const QRect vp = x.s->viewport()->geometry();
        const int textW = qRound((x.s->PageWidth() - x.s->PageMarginL() - x.s->PageMarginR()) * x.s->pixelsPerTwip());
        // The whole text column is inside the viewport, left of the scroll bar.
        QVERIFY(vp.left() <= x.s->textLeftX() && x.s->textLeftX() + textW <= vp.right() + 1);
        QVERIFY(vp.right() < x.s->verticalScrollBar()->mapTo(x.s, QPoint(0, 0)).x());
        QVERIFY(!x.s->horizontalScrollBar()->isVisible());
        // No line is wider than the column it is shown in.
        for (QTextBlock b = x.s->document()->begin(); b.isValid(); b = b.next())
            for (int i = 0; i < b.layout()->lineCount(); ++i)
                QVERIFY(b.layout()->lineAt(i).naturalTextWidth() * zoom / 100 <= vp.width() + 1);
    }

    void layoutSheetsFollowPageBreaks_data()
    {
        addColumns<int, bool>("zoom", "fromRtf");
        QTest::newRow("typed, 100 %") << 100 << false;
        QTest::newRow("RTF, 50 %") << 50 << true;
    }
    void layoutSheetsFollowPageBreaks()
    {
        QFETCH(int, zoom);
        QFETCH(bool, fromRtf);
        Window x;
        QVERIFY(x.open(1, zoom, {700, 500}));
        if (fromRtf) {
            QTemporaryDir dir;
            const QString file = dir.filePath(QStringLiteral("umbruch.rtf"));
            QVERIFY(writeAll(file, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs22 Erste Seite\\par\\page "
                                   "Zweite Seite\\par\\pard\\pagebb Dritte Seite\\par}"));
            QVERIFY(x.s->Load(file, 0, 5, false));
        } else {
            x.s->setText(QStringLiteral("Erste Seite\rZweite Seite%1Dritte Seite").arg(QChar(12)));
            QTextCursor c(x.s->document());
            c.movePosition(QTextCursor::NextBlock);
            Paginator::insertPageBreak(c); // the break of the menu, before "Zweite"
        }
        ShellFixture::flush();
        QCOMPARE(x.s->CurrentPages(), 3);
        const double sheet = x.sheetHeight();
        for (int page : {2, 3}) {
            const int pos = x.s->document()->find(page == 2 ? QStringLiteral("Zweite") : QStringLiteral("Dritte")).selectionStart();
            // The text after a break stands at the top margin of the next sheet.
            const double top = x.topOf(pos) + x.s->verticalScrollBar()->value() - (page - 1) * sheet;
            QVERIFY2(top > 0 && top < sheet / 4, qPrintable(QString::number(top)));
            // The status bar tells the same page.
            x.s->setSelStart(pos);
            ShellFixture::flush();
            QCOMPARE(x.fx.frame->findChild<QLabel*>(QStringLiteral("page"))->text(), QStringLiteral("Seite %1").arg(page));
        }
        // Every sheet can be scrolled into view, down to the foot of the last one.
        const QScrollBar* v = x.s->verticalScrollBar();
        QVERIFY(v->maximum() + x.s->viewport()->height() >= qFloor(3 * sheet));
    }

    void shortDocumentScrollsToItsFooter_data()
    {
        addColumns<int, int>("zoom", "part");
        QTest::newRow("footer, 50 %") << 50 << 4;
        QTest::newRow("header, 200 %") << 200 << 1;
    }
    void shortDocumentScrollsToItsFooter()
    {
        QFETCH(int, zoom);
        QFETCH(int, part);
        Window x;
        QVERIFY(x.open(1, zoom, {600, 360}));
        x.s->setText(QStringLiteral("Kurz."));
        x.s->setHeaderFooterSet(5);
        ShellFixture::flush();
        const QScrollBar* v = x.s->verticalScrollBar();
        QVERIFY(v->maximum() + x.s->viewport()->height() >= qFloor(x.sheetHeight()));
        // Editing a part brings it into view.
        if (part == 1)
            x.s->setScrollPosY(x.s->PageHeight());
        x.w->activateHeaderFooter(part);
        ShellFixture::flush();
        QWidget* editor = x.s->headerFooterEditor();
        // Vertically: a part is edited at its own size and may be wider than the window.
        QVERIFY(editor && editor->isVisible() && editor->geometry().top() >= 0
                && editor->geometry().bottom() < x.s->viewport()->height());
    }

    void rulerZeroAtTheTextsLeftEdge_data()
    {
        addColumns<int, int>("view", "zoom");
        for (int view : {0, 1, 2})
            QTest::addRow("view %d, 100 %%", view) << view << 100;
        QTest::newRow("view 1, 50 %") << 1 << 50;
    }
    void rulerZeroAtTheTextsLeftEdge()
    {
        QFETCH(int, view);
        QFETCH(int, zoom);
        Window x;
        QVERIFY(x.open(view, zoom));
        x.s->setText(kLine.repeated(30) + QStringLiteral("Eingerückt"));
        QTextCursor c(x.s->document());
        c.movePosition(QTextCursor::End);
        QTextBlockFormat f = c.blockFormat();
        f.setLeftMargin(Document::twipsToPixels(1134));
        c.setBlockFormat(f);
        x.s->setTextCursor(c);
        ShellFixture::flush();
        auto* ruler = x.w->findChild<TextRuler*>(QStringLiteral("TXRuler1"));
        // Where the caret stands at the start of a line, in the ruler's coordinates.
        auto caretX = [&](int pos) {
            QTextCursor at(x.s->document());
            at.setPosition(pos);
            const QPoint p = x.s->viewport()->mapToGlobal(x.s->caretRect(at).topLeft());
            return ruler->mapFromGlobal(p).x();
        };
        QVERIFY(qAbs(ruler->xForTwips(0) - caretX(c.block().previous().position())) <= 2);
        QVERIFY(qAbs(ruler->xForTwips(x.s->IndentL()) - caretX(c.block().position())) <= 2);
    }

    // Dot leaders fill the room before a right stop at 10 cm in every view.
    void leadersDrawnOnScreen_data()
    {
        addColumns<int>("view");
        QTest::newRow("normal") << 0;
        QTest::newRow("centred") << 1;
        QTest::newRow("layout") << 2;
    }
    void leadersDrawnOnScreen()
    {
        QFETCH(int, view);
        Window x;
        QVERIFY(x.open(view, 100));
        QTextCursor c(x.s->document());
        QTextBlockFormat f;
        f.setTabPositions({TabLeaders::with(QTextOption::Tab(10 * 96 / 2.54, QTextOption::RightTab), u'.')});
        c.setBlockFormat(f);
        c.insertText(QStringLiteral("Summe\t12,50"));
        ShellFixture::flush();
        const QRect before = x.s->caretRect([&] { QTextCursor at(x.s->document()); at.setPosition(5); return at; }());
        const QRect after = x.s->caretRect([&] { QTextCursor at(x.s->document()); at.setPosition(6); return at; }());
        // Between the end of "Summe" and "12,50", on the line's lower half.
        const QRect room(before.right() + 4, before.center().y(), after.left() - before.right() - 8, before.height() / 2);
        QVERIFY2(room.width() > 100, qPrintable(QString::number(room.width())));
        QVERIFY(darkPixels(x.s->viewport()->grab().toImage(), room) > 20);
    }

    void switchingViewsIsNoEdit()
    {
        Window x;
        QVERIFY(x.open(2, 100));
        QTest::keyClicks(x.s, QStringLiteral("abc"));
        x.w->DirtyFlag = false;
        for (int view : {1, 0, 1, 2, 1}) {
            x.w->mnuView_Layout_Click(view);
            ShellFixture::flush();
            QCOMPARE(x.s->UndoKind(), 1);
        }
        QVERIFY(!x.w->DirtyFlag);
        // The one step there is takes the typing back.
        x.s->Undo();
        QCOMPARE(x.s->Text(), QString());
        QVERIFY(!x.s->CanUndo());
    }
};

QTEST_MAIN(TestViews)
#include "tst_views.moc"
