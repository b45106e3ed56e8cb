// Long documents: a page's blocks found without walking from the start (paragraphs,
// page breaks, tables with rows across pages, spans and nested tables), frames on a
// late page, and many documents exported as separate PDF files through one writer.

#include "PdfText.h"
#include "Pixels.h"
#include "TestCommon.h"
#include "TestPaths.h"
#include "engine/formats/Formats.h"
#include "engine/pages/BlockBand.h"
#include "engine/pages/PageEstimate.h"
#include "engine/Document.h"
#include "engine/objects/Fields.h"
#include "engine/EngineProperties.h"
#include "engine/pages/Paginator.h"
#include "engine/pages/PdfExport.h"
#include "engine/pages/PdfSplitter.h"
#include "engine/pages/PlainPages.h"
#include "engine/surface/TextControl.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>

namespace {

// A4 with 2 cm margins: 1123 px high, the body from 76 to 1047.
const PageGeometry kA4{11906, 16838};

void paragraphs(QTextCursor& c, int count, const QString& word)
{
    for (int i = 0; i < count; ++i) {
        c.insertText(QStringLiteral("%1 %2 ").arg(word).arg(i + 1).repeated(12));
        // Plain: a page break stays with the paragraph that has it.
        c.insertBlock(QTextBlockFormat());
    }
}

// Paragraphs, a page break, a table of 120 rows with a cell spanning three rows and
// a nested table, paragraphs again: rows cross page ends and cells sit side by side.
void mixedDocument(Document& d)
{
    d.setPage(kA4);
    QTextCursor c(d.body());
    paragraphs(c, 60, QStringLiteral("Absatz"));
    Paginator::insertPageBreak(c);
    paragraphs(c, 5, QStringLiteral("Neu"));
    QTextTable* t = c.insertTable(120, 3);
    t->mergeCells(10, 0, 3, 1);
    for (int r = 0; r < 120; ++r) {
        for (int col = 0; col < 3; ++col) {
            QTextCursor cell = t->cellAt(r, col).firstCursorPosition();
            if (r == 40 && col == 1) {
                QTextTable* inner = cell.insertTable(4, 2);
                inner->cellAt(3, 1).firstCursorPosition().insertText(QStringLiteral("innen"));
                continue;
            }
            // Tall cells in the middle column: the row is as high as its tallest cell.
            const int lines = col == 1 && r % 7 == 0 ? 6 : 1;
            for (int l = 0; l < lines; ++l) {
                if (l)
                    cell.insertBlock();
                cell.insertText(QStringLiteral("Zeile %1 Spalte %2").arg(r + 1).arg(col + 1));
            }
        }
    }
    c.movePosition(QTextCursor::End);
    paragraphs(c, 40, QStringLiteral("Schluss"));
}

// Lines "Zeile N" read as a text file, with two paragraphs that wrap across a page end.
QByteArray plainLines(int count)
{
    QByteArray text;
    for (int i = 1; i <= count; ++i) {
        text += i > 1 ? "\n" : "";
        text += i == 52 || i == 110 ? "Absatz " + QByteArray::number(i) + ": "
                                          + QByteArray("Ein Satz mit einigen W\xc3\xb6rtern, der umbricht. ").repeated(10)
                                    : "Zeile " + QByteArray::number(i);
    }
    return text;
}

} // namespace

class TstLongDocuments : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Against a walk over every block: each block that reaches into a page lies between
    // the band's first block and the block where its walk stops.
    void bandHoldsEveryBlockOfEachPage()
    {
        Document d;
        mixedDocument(d);
        Paginator pages(&d);
        QTextDocument* doc = pages.layoutDocument();
        const int count = pages.pageCount();
        QVERIFY2(count >= 8, qPrintable(QString::number(count)));
        QAbstractTextDocumentLayout* layout = doc->documentLayout();
        const double h = doc->pageSize().height();
        int spanningRows = 0;
        for (int page = 1; page <= count; ++page) {
            const double top = (page - 1) * h, bottom = page * h;
            QSet<int> visited;
            BlockBand::forEach(doc, top, bottom, [&](const QTextBlock& b) {
                visited.insert(b.blockNumber());
                return true;
            });
            for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
                const QRectF r = layout->blockBoundingRect(b);
                if (r.bottom() > top && r.top() < bottom)
                    QVERIFY2(visited.contains(b.blockNumber()),
                             qPrintable(QStringLiteral("page %1 misses block %2 (%3): %4..%5")
                                            .arg(page).arg(b.blockNumber()).arg(b.text().left(20))
                                            .arg(r.top()).arg(r.bottom())));
                if (r.top() < top && r.bottom() > top)
                    ++spanningRows;
            }
            // No more than the page and the row it starts in.
            QVERIFY2(visited.size() < 300, qPrintable(QString::number(visited.size())));
        }
        // Rows and paragraphs do cross page ends here.
        QVERIFY(spanningRows > 0);
        // The first block of the document for a band above it, and none past the end.
        QCOMPARE(BlockBand::firstReaching(doc, -50).blockNumber(), 0);
        int after = 0;
        BlockBand::forEach(doc, count * h, count * h + h, [&](const QTextBlock&) { return ++after > 0; });
        QVERIFY(after <= 2);
    }

    // Decorations come from the page's own blocks: a frame on page 30 of 31 is drawn
    // there and nowhere else, and an input position on that page finds its line.
    void framesAndInputPositionsOnLatePages()
    {
        TextControl tc;
        tc.doc()->setPage(kA4);
        QTextCursor c(tc.doc()->body());
        QTextBlockFormat fixed;
        fixed.setLineHeight(40, QTextBlockFormat::FixedHeight);
        c.setBlockFormat(fixed);
        // 24 lines of 40 px fill a body of 971 px; 720 lines make 30 pages, 20 more a 31st.
        for (int i = 0; i < 740; ++i) {
            if (i)
                c.insertBlock();
            c.insertText(QStringLiteral("Zeile %1").arg(i + 1));
        }
        QCOMPARE(tc.paginator()->pageCount(), 31);
        // Line 700 is the 4th line of page 30: top at 76 + 3 * 40 px.
        tc.setSelStart(tc.doc()->body()->findBlockByNumber(699).position());
        tc.setFrameDistance(100);
        tc.setFrameStyle(FrameBits::Left | FrameBits::Single);
        const QImage page30 = tc.PageImage(30);
        const QImage page29 = tc.PageImage(29);
        // The frame line stands 100 twips (6.7 px) left of the text at 76 px.
        QVERIFY(darkPixels(page30, QRect(65, 76 + 3 * 40 + 4, 6, 30)) > 20);
        QCOMPARE(darkPixels(page30, QRect(65, 76 + 5 * 40, 6, 30)), 0);
        QCOMPARE(darkPixels(page29, QRect(60, 0, 12, 1123)), 0);
        // Page 31, line 5, column 3: the "i" of "Zeile 725".
        tc.setCurrentInputPosition({31, 5, 3});
        QCOMPARE(tc.textCursor().block().text(), QStringLiteral("Zeile 725"));
        QCOMPARE(tc.textCursor().positionInBlock(), 2);
        tc.setViewMode(1);
        tc.setCurrentInputPosition({30, 24, 1});
        QCOMPARE(tc.textCursor().block().text(), QStringLiteral("Zeile 720"));
    }

    // Past what 1440 dpi can reach, the print copy is laid out coarser and every page keeps
    // its lines: a plain text of 4,000 full pages read as a conversion reads it, exported
    // whole. 57 lines of Arial 11 fill an A4 body: the last page holds 227,944 to 228,000.
    void plainTextOfThousandsOfPagesExported()
    {
        if (!havePdfToText())
            QSKIP("pdftotext is not installed");
        QByteArray text = "Zeile 1";
        for (int i = 2; i <= 228000; ++i)
            text += "\nZeile " + QByteArray::number(i);
        Document d;
        d.body()->setPageSize(QSizeF(0, 0)); // as a conversion holds the body's layout back
        QString error;
        QVERIFY2(Formats::read(1, text, d, nullptr, &error), qPrintable(error));
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("lang.pdf"));
        QVERIFY2(PdfExport::exportPdf(d, pdf, &error), qPrintable(error));
        QCOMPARE(pdfPages(pdf), 4000);
        const QString last = pdfPageText(pdf, 4000).simplified();
        QVERIFY2(last.startsWith(QStringLiteral("Zeile 227944 Zeile 227945 ")) && last.endsWith(QStringLiteral(" Zeile 228000")), qPrintable(last));
    }

    // The estimate behind the print resolution, against the layout: space before each
    // paragraph, a page break before every 30th, and long paragraphs that wrap.
    void pageEstimate()
    {
        Document d; // A4
        QTextCursor c(d.body());
        QTextBlockFormat f;
        f.setTopMargin(40);
        for (int i = 0; i < 300; ++i) {
            f.setPageBreakPolicy(i % 30 == 29 ? QTextFormat::PageBreak_AlwaysBefore : QTextFormat::PageBreak_Auto);
            i ? c.insertBlock(f) : c.setBlockFormat(f);
            c.insertText(QStringLiteral("Ein Satz mit einigen Wörtern. ").repeated(i % 2 ? 20 : 1));
        }
        const double estimate = PageEstimate::pages(d.body(), d.page()), real = Paginator(&d).pageCount();
        QVERIFY2(qAbs(estimate - real) <= real / 10, qPrintable(QStringLiteral("%1 / %2").arg(estimate).arg(real)));
    }

    // Two lines of 400 px a page: the finest resolution where A4 pages (16,838 units at
    // 1440 dpi) and 5 % to spare stay below 2^25 units. 1,950 pages fit 1440 dpi only
    // without the 5 %: a layout that tried it first would keep it.
    void printResolutionFromLength()
    {
        for (const auto& [pages, dpi] : {std::pair{1800, 1440}, {1950, 1080}, {4100, 648}, {16000, 144}, {25000, 96}}) {
            Document d;
            d.body()->setPageSize(QSizeF(0, 0)); // as a conversion: the body is not laid out,
            d.setPage(kA4);                      // not even when the page changes
            QTextCursor c(d.body());
            QTextBlockFormat tall;
            tall.setLineHeight(400, QTextBlockFormat::FixedHeight);
            c.setBlockFormat(tall);
            c.insertText(QStringLiteral("Zeile\n").repeated(2 * pages - 1) + QStringLiteral("Zeile"));
            QCOMPARE(Paginator::printDpiFor(d.body(), kA4), dpi);
            if (pages == 1950) // laid out at that resolution from the start, the body not at all
                QVERIFY(Paginator::layoutScale(Paginator::printedCopy(d).get()) == dpi / 96.0 && !d.body()->lastBlock().layout()->lineCount());
        }
    }

    // Three documents through one writer, cut apart: the same pages, words and word
    // boxes as each exported alone, and each file stands on its own.
    void filesMatchSingleExports()
    {
        if (!havePdfToText())
            QSKIP("pdftotext is not installed");
        QTemporaryDir dir;
        Document letter, numbered, small;
        letter.setPage(kA4);
        QTextCursor l(letter.body());
        l.insertText(QStringLiteral("Sehr geehrte Frau Muster,"));
        l.insertBlock();
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        l.insertText(QStringLiteral("Rechnung Nr. 4711"), bold);
        numbered.setPage(kA4);
        numbered.setHeaderFooterSet(1);
        QTextCursor hc(numbered.headerFooter(1));
        hc.insertText(QStringLiteral("Seite "));
        Fields::setType(numbered.headerFooter(1), Fields::insert(hc, QString()), FieldTypes::PageNumber);
        QTextCursor n(numbered.body());
        for (int page = 1; page <= 3; ++page) {
            if (page > 1)
                Paginator::insertPageBreak(n);
            paragraphs(n, 10, QStringLiteral("Text"));
        }
        // A5 across: 11906 x 8391 twips; PDF page sizes are whole points: 595 x 420.
        small.setPage(PageGeometry{11906, 8391});
        QTextCursor(small.body()).insertText(QStringLiteral("Quer und klein"));

        PdfExport::Files files;
        QString error;
        for (const Document* d : {&letter, &numbered, &small})
            QVERIFY2(files.add(*d, &error), qPrintable(error));
        QList<QByteArray> parts;
        QVERIFY2(files.finish(&parts, &error), qPrintable(error));
        QCOMPARE(parts.size(), 3);
        const QList<int> pageCounts{1, 3, 1};
        int i = 0;
        for (const Document* d : {&letter, &numbered, &small}) {
            const QString alone = dir.filePath(QStringLiteral("allein%1.pdf").arg(i));
            const QString cut = dir.filePath(QStringLiteral("geteilt%1.pdf").arg(i));
            QVERIFY(PdfExport::exportPdf(*d, alone, &error));
            QVERIFY(writeAll(cut, parts[i]));
            const QList<PdfPage> got = pdfWordBoxes(cut);
            QCOMPARE(got.size(), pageCounts[i]);
            QCOMPARE(pdfWordLines(got), pdfWordLines(pdfWordBoxes(alone)));
            ++i;
        }
        QCOMPARE(pdfPageText(dir.filePath(QStringLiteral("geteilt0.pdf")), 1).simplified(),
                 QStringLiteral("Sehr geehrte Frau Muster, Rechnung Nr. 4711"));
        QVERIFY(pdfPageText(dir.filePath(QStringLiteral("geteilt1.pdf")), 3).simplified().startsWith(u"Seite 3 "));
        QCOMPARE(pdfWordBoxes(dir.filePath(QStringLiteral("geteilt2.pdf"))).first().height, 420.0);
        // Only the fonts each file uses: the bold one is in the first file only.
        QVERIFY(parts[0].contains("Bold"));
        QVERIFY(!parts[1].contains("Bold"));
    }

    void splitterRefusesWhatItCannotCut_data()
    {
        addColumns<QByteArray, QList<int>>("pdf", "counts");
        Document d;
        QTextCursor c(d.body());
        paragraphs(c, 3, QStringLiteral("Wort"));
        Paginator::insertPageBreak(c);
        paragraphs(c, 3, QStringLiteral("Wort"));
        QByteArray two;
        QBuffer buffer(&two);
        buffer.open(QIODevice::WriteOnly);
        QString error;
        QVERIFY(PdfExport::exportPdf(d, &buffer, &error));
        QList<QByteArray> good;
        QVERIFY(PdfSplitter::split(two, {1, 1}, &good));
        QCOMPARE(good.size(), 2);
        QTest::newRow("counts too few") << two << QList<int>{1};
        QTest::newRow("counts too many") << two << QList<int>{2, 1};
        QTest::newRow("empty part") << two << QList<int>{0, 2};
        QTest::newRow("no cross-reference table") << two.left(two.indexOf("xref")) << QList<int>{1, 1};
        QByteArray moved = two;
        moved.replace("startxref\n", "startxref\n9");
        QTest::newRow("table not where it says") << moved << QList<int>{1, 1};
        QTest::newRow("not a PDF") << QByteArray("Hallo") << QList<int>{1};
    }

    void splitterRefusesWhatItCannotCut()
    {
        QFETCH(QByteArray, pdf);
        QFETCH(QList<int>, counts);
        QList<QByteArray> parts{QByteArray("alt")};
        QVERIFY(!PdfSplitter::split(pdf, counts, &parts));
        QVERIFY(parts.isEmpty());
    }

    // Plain text is paginated the short way; whatever a page draws otherwise is not.
    void plainPathOnlyForPlainText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("change"); // 1 a bold word, 2 an indent, 3 a table
        QTest::addColumn<bool>("plain");
        QTest::newRow("Zeilen") << QStringLiteral("Zeile 1\nZeile 2\n\n\u00c4nderung \u2013 \u201egut\u201c") << 0 << true;
        QTest::newRow("leer") << QString() << 0 << true;
        QTest::newRow("Tabulator") << QStringLiteral("Name\tBetrag") << 0 << false;
        QTest::newRow("Seitenwechsel") << QStringLiteral("Seite 1\fSeite 2") << 0 << false;
        QTest::newRow("hebr\u00e4isch") << QStringLiteral("Zeile \u05e9\u05dc\u05d5\u05dd") << 0 << false;
        QTest::newRow("fett") << QStringLiteral("Zeile 1") << 1 << false;
        QTest::newRow("Einzug") << QStringLiteral("Zeile 1") << 2 << false;
        QTest::newRow("Tabelle") << QStringLiteral("Zeile 1") << 3 << false;
    }

    void plainPathOnlyForPlainText()
    {
        QFETCH(QString, text);
        QFETCH(int, change);
        QFETCH(bool, plain);
        Document d;
        QString error;
        QVERIFY2(Formats::read(1, text.toUtf8(), d, nullptr, &error), qPrintable(error));
        QTextCursor c(d.body());
        c.movePosition(QTextCursor::End);
        if (change == 1) {
            c.movePosition(QTextCursor::StartOfWord, QTextCursor::KeepAnchor);
            QTextCharFormat bold;
            bold.setFontWeight(QFont::Bold);
            c.mergeCharFormat(bold);
        } else if (change == 2) {
            QTextBlockFormat indent;
            indent.setLeftMargin(20);
            c.mergeBlockFormat(indent);
        } else if (change == 3) {
            c.insertTable(2, 2);
        }
        QCOMPARE(PlainPages::make(d.body(), d.page()) != nullptr, plain);
    }

    // Plain pages stand where the document layout puts them: lines, and paragraphs that
    // wrap across page ends, against word boxes that layout printed.
    void plainPagesAsLaidOut()
    {
        if (!havePdfToText())
            QSKIP("pdftotext is not installed");
        Document d;
        d.body()->setPageSize(QSizeF(0, 0));
        QString error;
        QVERIFY2(Formats::read(1, plainLines(130), d, nullptr, &error), qPrintable(error));
        QVERIFY(PlainPages::make(d.body(), d.page()));
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("zeilen.pdf"));
        QVERIFY2(PdfExport::exportPdf(d, pdf, &error), qPrintable(error));
        QCOMPARE(pdfPages(pdf), 3);
        const QString differs = differsFromWordList(pdf, qxSourceDir() + QStringLiteral("/tests/pages/data/plain-pages.words"));
        QVERIFY2(differs.isEmpty(), qPrintable(differs));
    }

    // Tabs and a form feed leave the short way and still print every line: 100 lines,
    // a new page, 100 lines make 57 + 43 and 57 + 43.
    void tabsAndFormFeedPrintedAsBefore()
    {
        if (!havePdfToText())
            QSKIP("pdftotext is not installed");
        QByteArray text;
        for (int i = 1; i <= 200; ++i)
            text += "Zeile\t" + QByteArray::number(i) + (i == 100 ? "\f" : i < 200 ? "\n" : "");
        Document d;
        d.body()->setPageSize(QSizeF(0, 0));
        QString error;
        QVERIFY2(Formats::read(1, text, d, nullptr, &error), qPrintable(error));
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("tabs.pdf"));
        QVERIFY2(PdfExport::exportPdf(d, pdf, &error), qPrintable(error));
        QCOMPARE(pdfPages(pdf), 4);
        QCOMPARE(pdfPageText(pdf, 2).simplified().left(22), QStringLiteral("Zeile 58 Zeile 59 Zeil"));
        QVERIFY(pdfPageText(pdf, 2).simplified().endsWith(QStringLiteral("Zeile 100")));
        QVERIFY(pdfPageText(pdf, 3).simplified().startsWith(QStringLiteral("Zeile 101 Zeile 102")));
        QVERIFY(pdfPageText(pdf, 4).simplified().startsWith(QStringLiteral("Zeile 158 ")));
    }
};

QTEST_MAIN(TstLongDocuments)
#include "tst_longdocuments.moc"
