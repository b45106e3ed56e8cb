// Pagination, headers and footers with page numbers, printing and PDF export; images
// (inline), the in-place header/footer editor and the layout view.

#include "PageFields.h"
#include "PdfText.h"
#include "Pixels.h"
#include "TestCommon.h"
#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "engine/objects/Fields.h"
#include "engine/objects/TabStops.h"
#include "engine/pages/Paginator.h"
#include "engine/pages/PdfExport.h"
#include "engine/surface/TextControl.h"

#include <QAbstractTextDocumentLayout>
#include <QPointer>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextLayout>
#include <QTextEdit>
#include <QTextFrame>
#include <QTextImageFormat>

// Lines of a fixed height make the page count independent of font metrics:
// 200 px of text height hold ten 20-px lines.
static void fillLines(Document& d, int paragraphs)
{
    d.setPage(PageGeometry{6000, 900 + 3000 + 900, 600, 900, 600, 900}); // 200 px of text
    QTextCursor c(d.body());
    QTextBlockFormat bf;
    bf.setLineHeight(20, QTextBlockFormat::FixedHeight);
    for (int i = 0; i < paragraphs; ++i) {
        if (i)
            c.insertBlock();
        c.setBlockFormat(bf);
        c.insertText(QStringLiteral("Zeile %1").arg(i + 1));
    }
}

class TstPages : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pageBreaks()
    {
        Document more, d;
        fillLines(more, 11);
        Paginator m(&more);
        QCOMPARE(m.pageCount(), 2); // ten lines fill a page
        QCOMPARE(m.pageOfPosition(more.body()->findBlockByNumber(9).position()), 1);
        QCOMPARE(m.pageOfPosition(more.body()->findBlockByNumber(10).position()), 2);
        fillLines(d, 3);
        Paginator p(&d);
        QCOMPARE(p.pageCount(), 1);
        QTextCursor c(d.body());
        c.setPosition(d.body()->findBlockByNumber(1).position() + 2);
        Paginator::insertPageBreak(c);
        QCOMPARE(p.pageCount(), 2);
        QCOMPARE(p.pageOfPosition(c.position()), 2);
        // A form feed typed as text breaks the printed pages too.
        c.movePosition(QTextCursor::End);
        c.insertText(QStringLiteral("vor") + QChar(12) + QStringLiteral("nach"));
        QCOMPARE(p.pageCount(), 3);
        QVERIFY(d.body()->toPlainText().contains(QChar(12))); // the body itself is unchanged
        // Paragraphs after a page break, given as text or split by Enter, stay on its page.
        TextControl tc;
        tc.setText(QStringLiteral("eins\fzwei\rdrei"));
        QCOMPARE(tc.CurrentPages(), 2);
        for (int at : {9, 5}) {
            tc.setSelStart(at);
            QTest::keyClick(&tc, Qt::Key_Return);
            QCOMPARE(tc.CurrentPages(), 2);
        }
    }

    void copyFollowsEdits()
    {
        TextControl tc;
        fillLines(*tc.doc(), 25);
        Paginator& live = *tc.paginator();
        QCOMPARE(live.pageCount(), 3);
        QTextDocument* body = tc.doc()->body();
        QTextCursor c(body);
        for (int round = 0; round < 4; ++round) {
            live.layoutDocument();
            const int rebuilds = live.rebuilds();
            if (round % 2 == 0) { // plain text edits are replayed on the copy
                c.setPosition(3);
                c.insertBlock();
                c.insertBlock();
                body->undo();
                body->redo();
                body->undo();
                live.layoutDocument();
                QCOMPARE(live.rebuilds(), rebuilds);
            } else { // tables rebuild it
                c.setPosition(body->findBlockByNumber(3).position());
                c.insertTable(4 + round, 2);
            }
            Paginator fresh(tc.doc());
            QCOMPARE(live.pageCount(), fresh.pageCount());
            QCOMPARE(live.layoutDocument()->toPlainText(), body->toPlainText());
            for (int i = 0; i < body->characterCount(); i += 7)
                QCOMPARE(live.pageOfPosition(i), fresh.pageOfPosition(i));
        }
    }

    void pdfHeadersNumberTheirPages()
    {
        if (!havePdfToText())
            QSKIP("pdftotext is not installed");
        Document d;
        fillLines(d, 25);
        d.setHeaderFooterSet(1 | 2 | 4 | 8);
        QTextCursor hc(d.headerFooter(1));
        hc.insertText(QStringLiteral("Seite "));
        Fields::setType(d.headerFooter(1), Fields::insert(hc, QString()), FieldTypes::PageNumber);
        hc.movePosition(QTextCursor::End);
        hc.insertText(QStringLiteral(" Kopf"));
        QTextCursor(d.headerFooter(2)).insertText(QStringLiteral("Erstkopf"));
        QTextCursor(d.headerFooter(4)).insertText(QStringLiteral("Fuss"));
        QTextCursor(d.headerFooter(8)).insertText(QStringLiteral("Erstfuss"));
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("seiten.pdf"));
        QString error;
        QVERIFY2(PdfExport::exportPdf(d, file, &error), qPrintable(error));
        QCOMPARE(pdfPages(file), 3);
        for (int page = 1; page <= 3; ++page) {
            const QString text = pdfPageText(file, page).simplified();
            QCOMPARE(text.contains(QStringLiteral("Erstkopf")), page == 1);
            if (page > 1)
                QVERIFY2(text.contains(QRegularExpression(QStringLiteral("Seite\\s*%1\\b").arg(page))), qPrintable(text));
            QVERIFY2(text.contains(QStringLiteral("Zeile %1").arg((page - 1) * 10 + 1)), qPrintable(text));
            QCOMPARE(text.contains(QStringLiteral("Erstfuss")), page == 1);
            QCOMPARE(text.contains(QStringLiteral("Fuss")), page > 1);
        }
        QVERIFY(!pdfPageText(file, 1).contains(QStringLiteral("Seite")));
    }

    // Page numbers take the room of the page count's digits, no more and no less.
    void pageNumbersTakeTheCountsDigits_data()
    {
        // inFooter: else on the body's last page
        addColumns<int, bool, int, QString>("pages", "inFooter", "page", "expected");
        QTest::newRow("4 pages, footer") << 4 << true << 1 << "Seite 1 von 4";
        QTest::newRow("12 pages, body") << 12 << false << 12 << "Seite 12 von 12";
        QTest::newRow("12 pages, footer 1") << 12 << true << 1 << "Seite 1 von 12";
        QTest::newRow("12 pages, footer 12") << 12 << true << 12 << "Seite 12 von 12";
    }

    void pageNumbersTakeTheCountsDigits()
    {
        if (!havePdfToText())
            QSKIP("pdftotext is not installed");
        QFETCH(int, pages);
        QFETCH(bool, inFooter);
        QFETCH(int, page);
        QFETCH(QString, expected);
        Document d;
        QTextCursor c(d.body());
        for (int i = 1; i <= pages; ++i) {
            if (i > 1)
                Paginator::insertPageBreak(c);
            c.insertText(QStringLiteral("Text %1 ").arg(i));
        }
        if (inFooter) {
            d.setHeaderFooterSet(4);
            QTextCursor f(d.headerFooter(4));
            insertPageNumbers(d.headerFooter(4), f);
        } else {
            insertPageNumbers(d.body(), c);
        }
        const QString file = m_dir.filePath(QStringLiteral("ziffern.pdf"));
        QString error;
        QVERIFY2(PdfExport::exportPdf(d, file, &error), qPrintable(error));
        QCOMPARE(pdfPages(file), pages);
        const QString text = pdfPageText(file, page);
        QVERIFY2(text.contains(expected), qPrintable(text));
        // pdftotext reads a gap of one digit as one blank: measure the gaps themselves.
        const QList<PdfWord> words = pdfWordBoxes(file).value(page - 1).words;
        for (int i = 0; i + 2 < words.size(); ++i)
            if (words[i].text == QLatin1String("Seite") && words[i + 2].text == QLatin1String("von")) {
                const double before = words[i + 1].xMin - words[i].xMax;
                const double after = words[i + 2].xMin - words[i + 1].xMax;
                QVERIFY2(qAbs(after - before) < 1, qPrintable(QStringLiteral("%1 %2").arg(before).arg(after)));
            }
    }

    void bodyClearsTallHeaderAndFooter()
    {
        // Header and footer at their distances reach past the 60-px margins: the body
        // moves clear of them, in the paginated copy (print, PDF) and in the layout view.
        TextControl tc;
        Document& d = *tc.doc();
        fillLines(d, 25);
        d.setHeaderFooterSet(1 | 4 | 8);
        d.setFooterDistance(450); // 30 px above the bottom edge of the 320-px page
        QTextCursor(d.headerFooter(1)).insertText(QStringLiteral("Kopf 1\nKopf 2\nKopf 3"));
        QTextCursor(d.headerFooter(4)).insertText(QStringLiteral("Fuss"));
        QTextCursor(d.headerFooter(8)).insertText(QStringLiteral("Erster Fuss 1\nErster Fuss 2"));
        Paginator p(&d);
        auto clear = [&](QTextDocument* body) {
            // Frame margins are 96-dpi pixels at every layout resolution.
            const QTextFrameFormat f = body->rootFrame()->frameFormat();
            const double pageH = Paginator::pageSizePixels(d.page()).height();
            return f.topMargin() >= p.partRect(1, 1).bottom() - 0.5
                && pageH - f.bottomMargin() <= p.partRect(8, 1).top() + 0.5;
        };
        QCOMPARE(p.partRect(8, 1).bottom(), 290.0);
        QVERIFY(p.partRect(1, 1).bottom() > 60 + 20);
        QVERIFY(clear(p.layoutDocument()));
        QVERIFY(p.pageCount() > 3);
        tc.setViewMode(1);
        QVERIFY(clear(tc.shownDocument()));
        QCOMPARE(tc.CurrentPages(), p.pageCount());
        // A header that grows while the sheet is shown pushes the body further.
        QTextCursor more(d.headerFooter(1));
        more.movePosition(QTextCursor::End);
        more.insertText(QStringLiteral("\nKopf 4\nKopf 5"));
        QVERIFY(clear(tc.shownDocument()));
        QVERIFY(clear(p.layoutDocument()));
    }

    // A tab stop 5 cm from the margin stands there on every line of a paragraph whose
    // first line starts elsewhere (left indent 20 mm, first line 10 mm more or less):
    // 20 mm margin + 50 mm = 70 mm from the page's edge, in the PDF and in the copy the
    // page views show, also after an edit of the paragraph.
    void tabStopsOnLaterLines_data()
    {
        QTest::addColumn<double>("firstLineMm");
        QTest::newRow("first line indented") << 10.0;
        QTest::newRow("hanging") << -10.0;
    }
    void tabStopsOnLaterLines()
    {
        QFETCH(double, firstLineMm);
        Document d;
        QTextBlockFormat bf;
        bf.setLeftMargin(20 * 96 / 25.4);
        bf.setTextIndent(firstLineMm * 96 / 25.4);
        TabStops::setFromMargin(bf, {TabStops::make(2835, 1)});
        QTextCursor c(d.body());
        c.setBlockFormat(bf);
        const QChar soft = QChar::LineSeparator;
        c.insertText(QStringLiteral("A\tEins") + soft + QStringLiteral("B\tZwei") + soft + QStringLiteral("C\tDrei"));
        c.insertBlock(QTextBlockFormat());
        c.insertText(QStringLiteral("Ende"));
        const QString file = QDir::temp().filePath(QStringLiteral("qx-tabzeilen.pdf"));
        QString error;
        QVERIFY2(PdfExport::exportPdf(d, file, &error), qPrintable(error));
        const QList<PdfPage> pages = pdfWordBoxes(file);
        QFile::remove(file);
        const QStringList words = {QStringLiteral("Eins"), QStringLiteral("Zwei"), QStringLiteral("Drei")};
        for (const QString& w : words) {
            const PdfWord* box = pdfWord(pages, 1, w);
            QVERIFY2(box, qPrintable(w));
            QVERIFY2(qAbs(box->xMin * 25.4 / 72 - 70) < 0.3, qPrintable(QStringLiteral("%1 at %2 mm").arg(w).arg(box->xMin * 25.4 / 72)));
        }
        Paginator pager(&d);
        QStringList shownWords = words;
        for (int round = 0; round < 3; ++round) {
            const QTextDocument* shown = pager.layoutDocument();
            const double mmPerUnit = 25.4 / 96 / Paginator::layoutScale(shown);
            for (const QString& w : std::as_const(shownWords)) {
                const int pos = d.body()->toPlainText().indexOf(w);
                const QTextBlock b = shown->findBlock(pos);
                const QTextLayout* l = b.layout();
                const double x = l->position().x() + l->lineForTextPosition(pos - b.position()).cursorToX(pos - b.position());
                QVERIFY2(qAbs(x * mmPerUnit - 70) < 0.3, qPrintable(QStringLiteral("%1 at %2 mm").arg(w).arg(x * mmPerUnit)));
            }
            QTextCursor edit(d.body());
            if (round == 0) {
                // A character typed into the first line: the copy follows.
                edit.setPosition(1);
                edit.insertText(QStringLiteral("x"));
            } else {
                // A new paragraph of the same kind.
                edit.movePosition(QTextCursor::End);
                edit.insertBlock(bf);
                edit.insertText(QStringLiteral("D\tVier") + soft + QStringLiteral("E\tFuenf"));
                shownWords << QStringLiteral("Vier") << QStringLiteral("Fuenf");
            }
        }
        QCOMPARE(pager.layoutDocument()->characterCount(), d.body()->characterCount());
    }

    void activationNumbers()
    {
        TextControl tc;
        QSignalSpy activated(&tc, &TextControl::HeaderFooterActivated);
        QSignalSpy left(&tc, &TextControl::HeaderFooterLeft);
        QVERIFY(!tc.HeaderFooterActivate(1)); // no parts yet
        tc.setHeaderFooterSet(5);
        QVERIFY(tc.HeaderFooterActivate(4));
        QCOMPARE(activated.count(), 1);
        QCOMPARE(tc.ViewMode(), 2); // edited on the sheets of the centred view
        tc.setViewMode(0); // no sheets: the part is left
        QCOMPARE(left.count(), 1);
        QVERIFY(tc.HeaderFooterActivate(4)); // and edited in the layout view
        QCOMPARE(tc.ViewMode(), 1);
        QCOMPARE(activated.count(), 2);
        // Fields now go into the footer.
        const int id = tc.FieldInsert(QString());
        QCOMPARE(Fields::next(tc.doc()->headerFooter(4), 0), id);
        tc.HeaderFooterLeave();
        tc.HeaderFooterLeave(); // leaving twice reports once
        QCOMPARE(left.count(), 2);
        // Removing the part being edited leaves it; the editor lets go of the part.
        QVERIFY(tc.HeaderFooterActivate(4));
        QPointer<QTextDocument> footer = tc.doc()->headerFooter(4);
        tc.setHeaderFooterSet(1);
        QVERIFY(left.count() == 3 && tc.headerFooterEditor()->document() != footer);
        QTest::qWait(1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(footer.isNull());
        QTest::keyClicks(tc.headerFooterEditor(), QStringLiteral("x"));
        QVERIFY(tc.HeaderFooterActivate(1));
        QCOMPARE(tc.headerFooterEditor()->document(), tc.doc()->headerFooter(1));
        // Only the footer gets a first-page twin.
        tc.setHeaderFooterSet(4);
        tc.setHeaderFooterFlags(15);
        QCOMPARE(tc.HeaderFooterSet(), 12);
    }

    void membersActOnTheActivePart()
    {
        TextControl tc;
        tc.setText(QStringLiteral("Haupttext"));
        tc.setSelStart(0);
        tc.setSelLength(4);
        tc.setHeaderFooterSet(5);
        QVERIFY(tc.HeaderFooterActivate(1));
        QTextDocument* header = tc.doc()->headerFooter(1);
        QTextDocument* body = tc.doc()->body();
        const int bodyUndo = body->availableUndoSteps();
        tc.setSelText(QStringLiteral("Kopf der Seite"));
        QCOMPARE(header->toPlainText(), QStringLiteral("Kopf der Seite"));
        QCOMPARE(body->toPlainText(), QStringLiteral("Haupttext"));
        tc.setSelStart(0);
        tc.setSelLength(4);
        tc.setFontBold(true);
        QTextCursor inHeader(header), inBody(body);
        inHeader.setPosition(2);
        inBody.setPosition(2);
        QVERIFY(inHeader.charFormat().fontWeight() >= QFont::Bold);
        QVERIFY(inBody.charFormat().fontWeight() < QFont::Bold);
        tc.setAlignment(2);
        QVERIFY(header->firstBlock().blockFormat().alignment() & Qt::AlignHCenter);
        // Undo works on the part; the body keeps its history.
        tc.Undo(); // alignment
        QCOMPARE(tc.Alignment(), 0);
        QCOMPARE(body->availableUndoSteps(), bodyUndo);
        tc.HeaderFooterLeave(); // back in the body
        QCOMPARE(tc.SelText(), QStringLiteral("Haup"));
    }

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

    void pageViewsShowSheetsHeaderAndFooter_data()
    {
        addRows<int>("view", {{"layout", 1}, {"centred", 2}});
    }

    void pageViewsShowSheetsHeaderAndFooter()
    {
        QFETCH(int, view);
        TextControl tc;
        tc.resize(1000, 700);
        tc.setText(QStringLiteral("Haupttext\fSeite zwei"));
        tc.setHeaderFooterSet(5);
        QTextCursor(tc.doc()->headerFooter(1)).insertText(QStringLiteral("KOPF KOPF KOPF"));
        QTextCursor(tc.doc()->headerFooter(4)).insertText(QStringLiteral("FUSS"));
        tc.setViewMode(view);
        tc.setSelStart(0);
        tc.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tc));
        QCOMPARE(tc.CurrentPages(), 2);
        QImage shot = tc.grab().toImage();
        const QRect vp = tc.viewport()->geometry();
        // Desk left of the sheet, white sheet, header text at 720 twips = 48 px down.
        const int sheetLeft = vp.left();
        QCOMPARE(shot.pixelColor(sheetLeft - 4, vp.top() + 20), QColor(0x80, 0x80, 0x80));
        QCOMPARE(shot.pixelColor(sheetLeft + 20, vp.top() + 20), QColor(Qt::white));
        QVERIFY(darkPixels(shot, QRect(sheetLeft + 75, vp.top() + 48, 200, 14), 100) > 20);
        // The margin area between header and body stays empty; the body shows its text.
        QCOMPARE(darkPixels(shot, QRect(sheetLeft + 300, vp.top() + 48, 200, 14), 100), 0);
        QVERIFY(darkPixels(shot, QRect(sheetLeft + 75, vp.top() + 76, 100, 14), 100) > 10);
        // The page break: a strip of desk at the foot of the A4 sheet (16837 twips =
        // 1122.5 px), then the second sheet with its header and the text after the break.
        tc.verticalScrollBar()->setValue(1122 - 300);
        QApplication::processEvents();
        shot = tc.grab().toImage();
        const int foot = vp.top() + 300;
        QCOMPARE(shot.pixelColor(sheetLeft + 20, foot), QColor(0x80, 0x80, 0x80));
        QCOMPARE(shot.pixelColor(sheetLeft + 20, foot + 20), QColor(Qt::white));
        QVERIFY(darkPixels(shot, QRect(sheetLeft + 75, foot + 48, 200, 14), 100) > 20);
        QVERIFY(darkPixels(shot, QRect(sheetLeft + 75, foot + 76, 100, 14), 100) > 10);
        // The footer of the first sheet stands above the strip.
        QVERIFY(darkPixels(shot, QRect(sheetLeft + 75, foot - 60, 200, 40), 100) > 10);
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

QTEST_MAIN(TstPages)
#include "tst_pages.moc"
