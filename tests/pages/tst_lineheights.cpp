// Printed line heights as office programs give them: each of a font's ascent, descent and
// line gap (its hhea table, 2048 units to the em for these fonts) at its size in whole
// twips, added up. DejaVu Sans 11 pt: 1901 and 483 units are 204.2 and 51.9 twips, so
// 204 + 52 = 256 twips, 12.8 pt; Qt alone makes it 257. The spacing of a paragraph works
// on that height.

#include "engine/Document.h"
#include "engine/pages/PdfExport.h"

#include "PdfText.h"
#include "TestCommon.h"

#include <QTemporaryDir>
#include <QTextCursor>

class TestLineHeights : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        if (!havePdfToText())
            QSKIP("pdftotext (poppler-utils) is not installed");
    }

    void linePitch_data()
    {
        QTest::addColumn<QString>("font");
        QTest::addColumn<double>("size");
        QTest::addColumn<int>("type"); // QTextBlockFormat::LineHeightTypes
        QTest::addColumn<double>("height");
        QTest::addColumn<double>("pitch"); // points from line to line
        QTest::newRow("DejaVu Sans 11") << "DejaVu Sans" << 11.0 << 0 << 0.0 << 12.8;
        // 1901, 483 units at 9 pt: 167.1 + 42.4 twips, 167 + 42.
        QTest::newRow("DejaVu Sans 9") << "DejaVu Sans" << 9.0 << 0 << 0.0 << 10.45;
        QTest::newRow("DejaVu Sans 11, one and a half lines") << "DejaVu Sans" << 11.0 << 1 << 150.0 << 19.2;
        // 4 pixels at 96 dpi are 3 pt.
        QTest::newRow("DejaVu Sans 11, 3 pt between lines") << "DejaVu Sans" << 11.0 << 4 << 4.0 << 15.8;
        // 1854, 434 and a gap of 67: 199.2 + 46.6 + 7.2 twips, 199 + 47 + 7.
        QTest::newRow("Liberation Sans 11") << "Liberation Sans" << 11.0 << 0 << 0.0 << 12.65;
        // 1825, 443 and 87 at 10 pt: 178.2 + 43.3 + 8.5 (8.496) twips, 178 + 43 + 8.
        QTest::newRow("Liberation Serif 10") << "Liberation Serif" << 10.0 << 0 << 0.0 << 11.45;
    }
    void linePitch()
    {
        QFETCH(QString, font);
        QFETCH(double, size);
        QFETCH(int, type);
        QFETCH(double, height);
        QFETCH(double, pitch);
        Document doc;
        QTextCursor c(doc.body());
        QTextCharFormat cf;
        cf.setFontFamilies({font});
        cf.setFontPointSize(size);
        QTextBlockFormat bf;
        if (type != 0)
            bf.setLineHeight(height, type);
        c.setBlockFormat(bf);
        for (int i = 1; i <= 9; ++i) {
            if (i > 1)
                c.insertBlock(bf);
            c.insertText(QStringLiteral("Zeile%1").arg(i), cf);
        }
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
};

QTEST_MAIN(TestLineHeights)
#include "tst_lineheights.moc"
