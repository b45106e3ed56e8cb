// Sections with their own page: a letter in portrait, a landscape price list with a
// wide table and a portrait end with its own footer, as another office suite writes it
// in RTF. Converted to PDF and read back with pdfinfo and pdftotext -bbox; sizes and
// positions in millimetres of A4.

#include "FormatTestSupport.h"
#include "PdfText.h"

#include "engine/Document.h"
#include "engine/Sections.h"
#include "engine/formats/Formats.h"
#include "engine/pages/InputPositions.h"
#include "engine/pages/Paginator.h"
#include "engine/pages/PdfExport.h"

#include "TestCommon.h"

#include <QTextDocumentFragment>

using namespace FormatTest;

namespace {

constexpr double kPtPerMm = 72 / 25.4;

bool readAs(int format, const QByteArray& data, Document& doc, QString* note = nullptr)
{
    QString error;
    const bool ok = Formats::read(format, data, doc, nullptr, &error, note);
    if (!ok)
        qWarning() << error;
    return ok;
}

QByteArray writeAs(int format, const Document& doc)
{
    QByteArray out;
    QString error;
    if (!Formats::write(format, doc, nullptr, &out, &error))
        qWarning() << error;
    return out;
}

// Page sizes as pdfinfo gives them, "595.276 x 841.89" for each page.
QStringList pdfPageSizes(const QString& pdf, int pages)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                         QString::number(pages), pdf});
    p.waitForFinished(30000);
    static const QRegularExpression size(QStringLiteral("Page +\\d+ size: +([\\d.]+ x [\\d.]+) pts"));
    QStringList out;
    for (auto it = size.globalMatch(QString::fromUtf8(p.readAllStandardOutput())); it.hasNext();)
        out << it.next().captured(1);
    return out;
}

QStringList sortedWords(const PdfPage& page)
{
    QStringList words;
    for (const PdfWord& w : page.words)
        words << w.text;
    words.sort();
    return words;
}

const PdfWord* word(const PdfPage& page, const QString& text)
{
    for (const PdfWord& w : page.words)
        if (w.text == text)
            return &w;
    return nullptr;
}

// Width x height of each section's page and its footer text, "-" for none.
QStringList sectionPages(const Document& doc)
{
    QStringList out;
    const QList<Sections::Section> sections = Sections::of(doc);
    for (qsizetype i = 0; i < sections.size(); ++i) {
        const PageGeometry& g = sections[i].format.page;
        const QTextDocument* footer = Sections::partFor(doc, sections, int(i), 4, false);
        out << QStringLiteral("%1x%2 %3,%4,%5,%6 %7")
                   .arg(g.width).arg(g.height).arg(g.marginL).arg(g.marginT).arg(g.marginR).arg(g.marginB)
                   .arg(footer ? footer->toPlainText() : QStringLiteral("-"));
    }
    return out;
}

} // namespace

class TestSections : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void letterWithLandscapeAppendixToPdf()
    {
        if (!havePdfToText() || QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
            QSKIP("pdftotext and pdfinfo (poppler-utils) are not installed");
        Document doc;
        QString note;
        QVERIFY(readAs(5, fixture("brief-querformat.rtf"), doc, &note));
        QVERIFY2(!note.contains(QStringLiteral("Abschnitt")), qPrintable(note));
        QVERIFY2(!note.contains(QStringLiteral("Tabellen")), qPrintable(note));

        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("brief.pdf"));
        QString error;
        QVERIFY2(PdfExport::exportPdf(doc, pdf, &error), qPrintable(error));
        // A4 in whole points (210 x 297 mm is 595.3 x 841.9 pt); the appendix is turned.
        QCOMPARE(pdfPageSizes(pdf, 4), (QStringList{QStringLiteral("595 x 842"), QStringLiteral("842 x 595"),
                                                    QStringLiteral("595 x 842"), QStringLiteral("595 x 842")}));
        const QList<PdfPage> pages = pdfWordBoxes(pdf);
        QCOMPARE(pages.size(), 4);
        // Every word on its page; the header of the first section goes on, the footer
        // of the third is on its pages only.
        const QList<QStringList> expected{
            {"Musterfirma", "GmbH", "Frau", "Erika", "Beispiel", "Sehr", "geehrte", "Frau", "Beispiel,", "wie", "besprochen",
             "erhalten", "Sie", "unsere", "Preisliste", "als", "Anlage.", "Mit", "freundlichen", "Grüßen"},
            {"Musterfirma", "GmbH", "Anlage", "Preisliste", "Nr", "Artikel", "Farbe", "Größe", "Menge", "Einzelpreis",
             "Gesamtpreis", "Lieferzeit", "1", "Schreibtisch", "Eiche", "160x80", "2", "420,00", "840,00", "Wochen", "2",
             "Rollcontainer", "Weiß", "43x60", "2", "189,00", "378,00", "Sofort", "Preise", "zuzüglich", "Versand"},
            {"Musterfirma", "GmbH", "Lieferbedingungen", "Fußzeile", "Schlussteil"},
            {"Musterfirma", "GmbH", "Zahlungsbedingungen", "Fußzeile", "Schlussteil"},
        };
        for (int i = 0; i < 4; ++i) {
            QStringList want = expected[i];
            want.sort();
            QCOMPARE(sortedWords(pages[i]), want);
        }
        // The last column starts 228.0 mm from the sheet's edge (20 mm margin, cells from
        // -1.9 mm, 208 mm of columns before it): beyond a portrait sheet's 210 mm, and its
        // text stays inside the landscape page's right margin (297 - 20 mm).
        for (const char* last : {"Lieferzeit", "Wochen", "Sofort"}) {
            const PdfWord* w = word(pages[1], QLatin1String(last));
            QVERIFY2(w, last);
            QVERIFY2(w->xMin / kPtPerMm > 210, qPrintable(QString::number(w->xMin / kPtPerMm)));
            QVERIFY2(w->xMax / kPtPerMm < 277, qPrintable(QString::number(w->xMax / kPtPerMm)));
        }
        // Headers 12.5 mm from the top edge on both formats; the footer ends 12.5 mm
        // above the bottom edge of the portrait pages (297 mm).
        for (int i = 0; i < 4; ++i)
            QVERIFY(qAbs(word(pages[i], QStringLiteral("Musterfirma"))->yMin / kPtPerMm - 12.5) < 1.5);
        for (int i : {2, 3}) {
            const double bottom = word(pages[i], QStringLiteral("Schlussteil"))->yMax / kPtPerMm;
            QVERIFY2(bottom < 297 - 12.5 && bottom > 297 - 12.5 - 6, qPrintable(QString::number(bottom)));
        }
        // The landscape body starts at its own top margin (25 mm) and 20 mm from the left.
        const PdfWord* anlage = word(pages[1], QStringLiteral("Anlage"));
        QVERIFY(qAbs(anlage->xMin / kPtPerMm - 20) < 1 && qAbs(anlage->yMin / kPtPerMm - 25) < 1.5);

        // The print preview and status bar count the same pages at the same sizes.
        Paginator pagesOf(&doc);
        QCOMPARE(pagesOf.pageCount(), 4);
        QCOMPARE(pagesOf.pageGeometry(2).width, 16838);
        QCOMPARE(pagesOf.pageGeometry(3).height, 16838);
        QCOMPARE(pagesOf.renderPage(2, 96).size(), QSize(1123, 794));
        const InputPositions positions(pagesOf, doc.page());
        const int payment = doc.body()->find(QStringLiteral("Zahlungsbedingungen")).selectionStart();
        const int extra = doc.body()->find(QStringLiteral("Versand")).selectionStart();
        QCOMPARE(positions.at(payment).page, 4);
        QCOMPARE(positions.at(payment).line, 1);
        QCOMPARE(positions.at(extra).page, 2);
        QCOMPARE(positions.positionOf({4, 1, 1}), payment);
    }

    // Own format and RTF keep each section's page and footer through a round trip.
    void roundTripsKeepSections_data()
    {
        QTest::addColumn<QList<int>>("formats");
        QTest::newRow("own") << QList<int>{3};
        QTest::newRow("RTF") << QList<int>{5};
        QTest::newRow("own, RTF, own") << QList<int>{3, 5, 3};
    }
    void roundTripsKeepSections()
    {
        QFETCH(QList<int>, formats);
        auto doc = std::make_unique<Document>();
        QVERIFY(readAs(5, fixture("brief-querformat.rtf"), *doc));
        const QStringList want{QStringLiteral("11906x16838 1417,1417,1417,1134 -"),
                               QStringLiteral("16838x11906 1134,1417,1134,1134 -"),
                               QStringLiteral("11906x16838 1417,1417,1417,1134 Fußzeile Schlussteil")};
        QCOMPARE(sectionPages(*doc), want);
        for (int format : formats) {
            const QByteArray bytes = writeAs(format, *doc);
            auto next = std::make_unique<Document>();
            QVERIFY(readAs(format, bytes, *next));
            doc = std::move(next);
        }
        QCOMPARE(sectionPages(*doc), want);
        QCOMPARE(Paginator(doc.get()).pageCount(), 4);
        QCOMPARE(doc->headerFooter(1)->toPlainText(), QStringLiteral("Musterfirma GmbH"));
    }

    // A break made here survives undo and redo and a copy; Enter after it makes no
    // second section; a document without breaks has one.
    void breakFollowsEditing()
    {
        Document doc;
        QTextCursor c(doc.body());
        c.insertText(QStringLiteral("Brief"));
        QCOMPARE(Sections::of(doc).size(), 1);
        SectionFormat landscape;
        landscape.page = {16838, 11906, 1134, 1134, 1134, 1134};
        Sections::insertBreak(c, landscape);
        c.insertText(QStringLiteral("Anlage"));
        QCOMPARE(Sections::of(doc).size(), 2);
        QCOMPARE(Sections::of(doc).at(1).start, 6);
        QCOMPARE(Sections::of(doc).at(1).format, landscape);
        Paginator pages(&doc);
        QCOMPARE(pages.pageCount(), 2);
        QCOMPARE(pages.pageGeometry(2).width, 16838);

        doc.body()->undo();
        doc.body()->undo();
        QCOMPARE(Sections::of(doc).size(), 1);
        QCOMPARE(pages.pageCount(), 1);
        doc.body()->redo();
        QCOMPARE(Sections::of(doc).size(), 2);
        QCOMPARE(pages.pageGeometry(2).height, 11906);

        // Text typed into the landscape section moves its pages: 61 lines of 11 pt
        // (4.5 mm each) take two of its 170 mm high bodies.
        QTextCursor end(doc.body());
        end.movePosition(QTextCursor::End);
        end.insertBlock(QTextBlockFormat());
        end.insertText(QStringLiteral("Zeile"));
        QCOMPARE(pages.pageCount(), 2);
        end.insertText(QStringLiteral("\nZeile").repeated(60));
        QCOMPARE(pages.pageCount(), 3);

        Document copy;
        QTextCursor(copy.body()).insertFragment(QTextDocumentFragment(doc.body()));
        QCOMPARE(Sections::of(copy).size(), 2);
        QCOMPARE(Sections::of(copy).at(1).format.page, landscape.page);
    }
};

QTEST_MAIN(TestSections)
#include "tst_sections.moc"
