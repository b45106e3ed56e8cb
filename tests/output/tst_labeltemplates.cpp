// The shipped label templates: every label's eight fields are there and, laid out on
// the page, lie inside that label's 70 x 37 mm cell; also after a long address was
// written into all of them.

#include "TestPaths.h"
#include "PdfText.h"

#include "engine/Document.h"
#include "engine/objects/Fields.h"
#include "engine/pages/Paginator.h"
#include "engine/surface/TextControl.h"
#include "engine/pages/PdfExport.h"
#include "engine/formats/Formats.h"
#include "output/LabelFill.h"
#include "output/LabelFit.h"
#include "output/LabelTemplate.h"

#include <QAbstractTextDocumentLayout>
#include "TestCommon.h"
#include <QTextLayout>

namespace {

// The laid-out box of a field: page (1-based) and rectangle in twips on that page.
struct Placed {
    int page = 0;
    QRectF rect;
};

QHash<QString, Placed> placedFields(Paginator& pages)
{
    QTextDocument* d = pages.layoutDocument();
    const double scale = Paginator::layoutScale(d);
    const double unitsPerTwip = scale / 15.0;
    const double pageHeight = Paginator::pageSizePixels(pages.document()->page()).height() * scale;
    QHash<QString, Placed> out;
    for (const Fields::Range& r : Fields::all(d)) {
        const QTextBlock b = d->findBlock(r.start);
        QTextLayout* l = b.layout();
        const QTextLine line = l->lineForTextPosition(r.start - b.position());
        // Layout positions are relative to the enclosing frame (the table cell).
        const QPointF origin = d->documentLayout()->blockBoundingRect(b).topLeft();
        const double x1 = origin.x() + line.cursorToX(r.start - b.position());
        const double x2 = origin.x() + line.cursorToX(r.end - b.position());
        const double top = origin.y() + line.y();
        Placed p;
        p.page = int(top / pageHeight) + 1;
        const double y = top - (p.page - 1) * pageHeight;
        p.rect = QRectF(QPointF(qMin(x1, x2), y) / unitsPerTwip, QPointF(qMax(x1, x2), y + line.height()) / unitsPerTwip);
        out.insert(Fields::data(d, r.id), p);
    }
    return out;
}

} // namespace

class TstLabelTemplates : public QObject {
    Q_OBJECT

    static QString shipped(int size)
    {
        return qxBinaryDir() + QStringLiteral("/tests/") + LabelTemplate::fileName(size);
    }

private Q_SLOTS:
    void fieldsInCells_data()
    {
        addColumns<int, bool>("size", "filled");
        for (int size : LabelTemplate::fontSizes()) {
            QTest::addRow("F%d as shipped", size) << size << false;
            QTest::addRow("F%d filled", size) << size << true;
        }
    }

    void fieldsInCells()
    {
        QFETCH(int, size);
        QFETCH(bool, filled);
        TextControl tc;
        QVERIFY2(tc.Load(shipped(size), Formats::PageHeaderSize, 3, false), qPrintable(tc.LastError()));
        if (filled) {
            // Long values with wide letters: the street needs smaller type.
            LabelAddress a;
            a.Anrede = QStringLiteral("Frau Prof. Dr.");
            a.Vorname = QStringLiteral("Mareike");
            a.Nachname = QStringLiteral("Müller-Lüdenscheidt");
            a.Strasse = QStringLiteral("Großherzog-Friedrich-Straße 123 b, Hinterhaus");
            a.LKZ = QStringLiteral("CH");
            a.PLZ = QStringLiteral("8400");
            a.Ort = QStringLiteral("Winterthur-Oberwinterthur Mitte");
            a.Land = QStringLiteral("Schweiz");
            LabelFill::fillAll(tc, LabelFill::valuesFor(a, 49), false);
        }
        Paginator pages(tc.doc());
        QCOMPARE(pages.pageCount(), 1);
        const QHash<QString, Placed> placed = placedFields(pages);
        QCOMPARE(placed.size(), LabelTemplate::Labels * 8);
        // The sheet: 3 x 8 labels of 70 x 37 mm (3968.5 x 2097.6 twips), the first row
        // 28 twips below the top edge, no side margin.
        const double width = 70 * 1440 / 25.4, height = 37 * 1440 / 25.4;
        QRectF first; // the text of label 1
        for (int n = 1; n <= 24; ++n) {
            const QRectF cell((n - 1) % 3 * width, 28 + (n - 1) / 3 * height, width, height);
            QRectF text; // what the label's fields cover
            for (const QString& name : LabelTemplate::fieldNames()) {
                const QString key = QString::number(n) + name;
                QVERIFY2(placed.contains(key), qPrintable(key));
                const Placed p = placed.value(key);
                QCOMPARE(p.page, 1);
                const QRectF inside = cell.adjusted(-0.5, -0.5, 0.5, 0.5); // half a twip for rounding
                QVERIFY2(inside.contains(p.rect.topLeft()) && inside.contains(p.rect.bottomRight()),
                         qPrintable(key + QStringLiteral(" leaves its cell")));
                text = text.isNull() ? p.rect : text.united(p.rect);
            }
            // Each label's text stands where the first one's does, moved by whole labels,
            // within half a millimetre (the screen layout rounds rows to whole pixels).
            if (n == 1)
                first = text;
            const QPointF moved = text.topLeft() - first.topLeft();
            QVERIFY2(qAbs(moved.x() - (n - 1) % 3 * width) < 28 && qAbs(moved.y() - (n - 1) / 3 * height) < 28,
                     qPrintable(QString::number(n)));
        }
    }

    // A line too wide for its room takes the largest half point that fits: 12 pt type
    // in room for 10.8 pt becomes 10.5 pt.
    void wideLineTakesTheLargestHalfPointThatFits()
    {
        QTextCharFormat cf;
        cf.setFontFamilies({QStringLiteral("DejaVu Sans")});
        cf.setFontPointSize(12);
        const QString line = QStringLiteral("Gärtnerei Sonnenschein GmbH und Co. KG");
        QTextDocument probe; // the line's width at 12 pt, in body pixels
        QTextCursor(&probe).insertText(line, cf);
        probe.setTextWidth(100000);
        probe.documentLayout()->documentSize(); // laid out
        const double natural = probe.firstBlock().layout()->lineAt(0).naturalTextWidth();
        TextControl tc;
        tc.setPageMarginL(1000);
        tc.setPageMarginR(1000);
        tc.setPageWidth(2000 + qRound(natural * 10.8 / 12 * 15));
        QTextBlockFormat oneLine;
        oneLine.setNonBreakableLines(true);
        QTextCursor c(tc.doc()->body());
        c.setBlockFormat(oneLine);
        c.insertText(line, cf);
        QCOMPARE(LabelFit::fit(tc, {0}), 1);
        c.setPosition(1);
        QCOMPARE(c.charFormat().fontPointSize(), 10.5);
    }

    // Printed: a company name too long for its label gets smaller type, and wraps when
    // even the smallest type is too wide; nothing is cut, every word stays in its label's
    // 70 x 37 mm cell, and the labels below keep their places.
    void longNamesStayInTheirCells()
    {
        if (!havePdfToText())
            QSKIP("pdftotext is not installed");
        TextControl tc;
        QVERIFY(tc.Load(shipped(14), Formats::PageHeaderSize, 3, false));
        LabelAddress firm, longer, plain;
        firm.Anrede = QStringLiteral("Firma");
        firm.Vorname = QStringLiteral("Gärtnerei");
        firm.Nachname = QStringLiteral("Sonnenschein GmbH und Co. KG");
        firm.Strasse = QStringLiteral("Gartenweg 3");
        firm.LKZ = QStringLiteral("D");
        firm.PLZ = QStringLiteral("79098");
        firm.Ort = QStringLiteral("Freiburg im Breisgau");
        longer = firm;
        longer.Nachname = QStringLiteral("Sonnenschein-Müller Garten- und Landschaftsbau GmbH und Co. Kommanditgesellschaft");
        plain.Anrede = QStringLiteral("Herrn");
        plain.Vorname = QStringLiteral("Karl");
        plain.Nachname = QStringLiteral("Becker");
        plain.Strasse = QStringLiteral("Hauptstraße 5");
        plain.LKZ = QStringLiteral("D");
        plain.PLZ = QStringLiteral("10115");
        plain.Ort = QStringLiteral("Berlin");
        const QList<LabelAddress> labels{firm, longer, plain, plain, plain};
        QList<LabelValues> values;
        for (const LabelAddress& a : labels)
            values << LabelFill::valuesFor(a, 49);
        LabelFill::fillChosen(tc, 1, values, false);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("etiketten.pdf"));
        QString error;
        QVERIFY2(PdfExport::exportPdf(*tc.doc(), file, &error), qPrintable(error));
        const QList<PdfPage> pages = pdfWordBoxes(file);
        QCOMPARE(pages.size(), 1);

        // The labels of the sheet in millimetres: 3 across, 70 wide; 37 high from 0.5 mm.
        constexpr double mm = 72 / 25.4;
        QList<QStringList> found(labels.size());
        for (const PdfWord& w : pages.first().words) {
            const int col = int((w.xMin + w.xMax) / 2 / mm / 70), row = int(((w.yMin + w.yMax) / 2 / mm - 0.5) / 37);
            const int n = row * 3 + col;
            QVERIFY2(n >= 0 && n < labels.size(), qPrintable(w.text));
            const QRectF cell(col * 70 - 0.3, 0.5 + row * 37 - 0.3, 70.6, 37.6);
            QVERIFY2(cell.contains(QRectF(QPointF(w.xMin, w.yMin) / mm, QPointF(w.xMax, w.yMax) / mm)),
                     qPrintable(QStringLiteral("%1 leaves label %2").arg(w.text).arg(n + 1)));
            found[n] << w.text;
        }
        for (int n = 0; n < labels.size(); ++n) {
            const LabelAddress& a = labels[n];
            const QString all = QStringList{a.Anrede, a.Vorname, a.Nachname, a.Strasse, a.LKZ + "-" + a.PLZ, a.Ort}.join(' ');
            QCOMPARE(found[n].join(QLatin1Char(' ')), all);
        }
    }
};

QTEST_MAIN(TstLabelTemplates)
#include "tst_labeltemplates.moc"
