// Printed line heights as office programs give them: a font's ascent, descent and line
// gap (hhea table, 2048 units to the em here) each rounded to whole twips at its size,
// then added. DejaVu Sans 11 pt: 1901 and 483 units are 204.2 and 51.9 twips, 204 + 52 =
// 256 twips, 12.8 pt (Qt alone makes 257). Paragraph spacing works on that height.

#include "engine/Document.h"
#include "engine/pages/Paginator.h"
#include "engine/pages/PdfExport.h"

#include "PdfText.h"
#include "TestCommon.h"

#include <QAbstractTextDocumentLayout>
#include <QTemporaryDir>
#include <QTextCursor>

namespace {
// Nine one-line paragraphs "Zeile1" ... "Zeile9".
void nineLines(Document& doc, const QString& font, double size, const QTextBlockFormat& bf = {})
{
    QTextCursor c(doc.body());
    QTextCharFormat cf;
    cf.setFontFamilies({font});
    cf.setFontPointSize(size);
    c.setBlockFormat(bf);
    for (int i = 1; i <= 9; ++i) {
        if (i > 1)
            c.insertBlock(bf);
        c.insertText(QStringLiteral("Zeile%1").arg(i), cf);
    }
}
} // namespace

class TestLineHeights : public QObject {
    Q_OBJECT
private slots:
    void linePitch_data()
    {
        QTest::addColumn<QString>("font");
        QTest::addColumn<double>("size");
        QTest::addColumn<int>("type"); // QTextBlockFormat::LineHeightTypes, with its value
        QTest::addColumn<double>("height");
        QTest::addColumn<double>("pitch"); // points from line to line
        QTest::newRow("DejaVu Sans 11") << "DejaVu Sans" << 11.0 << 0 << 0.0 << 12.8;
        QTest::newRow("DejaVu Sans 11, 1.5 lines") << "DejaVu Sans" << 11.0 << 1 << 150.0 << 19.2;
        QTest::newRow("DejaVu Sans 11, 4 px (3 pt) more") << "DejaVu Sans" << 11.0 << 4 << 4.0 << 15.8;
        // 1854, 434, gap 67: 199.2 + 46.6 + 7.2 twips, 199 + 47 + 7.
        QTest::newRow("Liberation Sans 11") << "Liberation Sans" << 11.0 << 0 << 0.0 << 12.65;
        // 1825, 443, gap 87 at 10 pt: 178.2 + 43.3 + 8.496 twips, 178 + 43 + 8.
        QTest::newRow("Liberation Serif 10") << "Liberation Serif" << 10.0 << 0 << 0.0 << 11.45;
    }
    void linePitch()
    {
        if (!havePdfToText())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QFETCH(QString, font);
        QFETCH(double, size);
        QFETCH(int, type);
        QFETCH(double, height);
        QFETCH(double, pitch);
        Document doc;
        QTextBlockFormat bf;
        if (type != 0)
            bf.setLineHeight(height, type);
        nineLines(doc, font, size, bf);
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("zeilen.pdf"));
        QString error;
        QVERIFY2(PdfExport::exportPdf(doc, pdf, &error), qPrintable(error));
        const QList<PdfPage> pages = pdfWordBoxes(pdf);
        const PdfWord* first = pdfWord(pages, 1, QStringLiteral("Zeile1"));
        const PdfWord* last = pdfWord(pages, 1, QStringLiteral("Zeile9"));
        QVERIFY(first && last);
        const double got = (last->yMin - first->yMin) / 8;
        QVERIFY2(qAbs(got - pitch) < 0.01, qPrintable(QStringLiteral("%1 pt, not %2").arg(got).arg(pitch)));
    }

    // A paragraph typed into keeps its height in the copy the page views show.
    void editedLinesKeepTheirHeight()
    {
        Document doc;
        nineLines(doc, QStringLiteral("DejaVu Sans"), 11);
        Paginator live(&doc);
        live.layoutDocument();
        const int rebuilds = live.rebuilds();
        QTextCursor typing(doc.body()->findBlockByNumber(4));
        typing.insertText(QStringLiteral("x"));
        QTextDocument* copy = live.layoutDocument();
        QCOMPARE(live.rebuilds(), rebuilds); // replayed, not made anew
        const QAbstractTextDocumentLayout* l = copy->documentLayout();
        const double units = l->blockBoundingRect(copy->lastBlock()).top() - l->blockBoundingRect(copy->begin()).top();
        const double pt = units / Paginator::layoutScale(copy) * 0.75 / 8;
        QVERIFY2(qAbs(pt - 12.8) < 0.002, qPrintable(QString::number(pt, 'f', 4)));
    }
};

QTEST_MAIN(TestLineHeights)
#include "tst_lineheights.moc"
