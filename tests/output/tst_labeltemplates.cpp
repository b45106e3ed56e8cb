// The shipped label templates: every label's eight fields are there and, laid out on
// the page, lie inside that label's 70 x 37 mm cell; also after a long address was
// written into all of them.

#include "engine/Document.h"
#include "engine/Fields.h"
#include "engine/Paginator.h"
#include "engine/TextControl.h"
#include "engine/formats/Formats.h"
#include "output/LabelFill.h"
#include "output/LabelTemplate.h"

#include <QAbstractTextDocumentLayout>
#include <QTest>
#include <QTextBlock>
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
        return QStringLiteral(QX_BINARY_DIR "/tests/") + LabelTemplate::fileName(size);
    }

private Q_SLOTS:
    void fieldsInCells_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("filled");
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
            // The longest values the cutting lets through, with wide letters.
            LabelAddress a;
            a.Anrede = QStringLiteral("Frau Prof. Dr.");
            a.Vorname = QStringLiteral("Mareike");
            a.Nachname = QStringLiteral("Müller-Lüdenscheidt");
            a.Strasse = QStringLiteral("Großherzog-Friedrich-Straße 123 b, Hinterhaus");
            a.LKZ = QStringLiteral("CH");
            a.PLZ = QStringLiteral("8400");
            a.Ort = QStringLiteral("Winterthur-Oberwinterthur Mitte");
            a.Land = QStringLiteral("Schweiz");
            LabelFill::fillAll(tc, LabelFill::valuesFor(a, size, 49), false);
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
};

QTEST_MAIN(TstLabelTemplates)
#include "tst_labeltemplates.moc"
