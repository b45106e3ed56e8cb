// Documents as other office programs write them, and our own exports read back: colour
// keywords, page numbers in footers, the printed lines of a letter, and the positions
// of headers, footers, rule lines and paragraphs after RTF and HTML.

#include "FormatTestSupport.h"
#include "TestPaths.h"
#include "PdfText.h"
#include "TestCommon.h"
#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "engine/objects/Fields.h"
#include "engine/pages/Paginator.h"
#include "engine/pages/PdfExport.h"
#include "engine/pages/PrintCopy.h"
#include "engine/objects/TabLeaders.h"
#include "engine/formats/CssColours.h"
#include "engine/formats/Formats.h"

#include <QImage>
#include <QRegularExpression>

namespace {

QString fixture(const char* name) { return qxSourceDir() + QStringLiteral("/tests/engine/data/") + QLatin1String(name); }

constexpr double PtPerMm = 72 / 25.4;

// The letterhead template with a header, a footer "Seite n von m" and two pages of text.
void ownLetter(Document& doc)
{
    QString error;
    QVERIFY2(Formats::readFile(3, qxBinaryDir() + QStringLiteral("/Briefkopf.txm"), Formats::PageHeaderSize, doc, nullptr,
                               &error),
             qPrintable(error));
    doc.setHeaderFooterSet(1 | 4);
    QTextCursor hc(doc.headerFooter(1));
    QTextCharFormat small;
    small.setFontPointSize(9);
    hc.insertText(QStringLiteral("Kopfzeile Muster"), small);
    QTextCursor fc(doc.headerFooter(4));
    fc.insertText(QStringLiteral("Seite "), small);
    Fields::setType(doc.headerFooter(4), Fields::insert(fc, QString()), FieldTypes::PageNumber);
    fc.movePosition(QTextCursor::End);
    fc.setCharFormat(small);
    fc.insertText(QStringLiteral(" von "));
    Fields::setType(doc.headerFooter(4), Fields::insert(fc, QString()), FieldTypes::PageCount);
    QTextCursor c(doc.body());
    c.movePosition(QTextCursor::End);
    QTextCharFormat text;
    text.setFontPointSize(11);
    c.insertText(QStringLiteral("Frau Erika Mustermann"), text);
    for (int i = 1; i <= 70; ++i) {
        c.insertBlock();
        c.insertText(QStringLiteral("Zeile %1 des Briefes").arg(i), text);
    }
    // Empty lines in a bigger font than the document's, then the closing.
    QTextCharFormat big;
    big.setFontPointSize(20);
    c.insertBlock(QTextBlockFormat(), big);
    c.insertBlock(QTextBlockFormat(), big);
    c.insertBlock(QTextBlockFormat(), text);
    c.insertText(QStringLiteral("Schlussgruss"), text);
    // A price line: dots lead to the amount at a right stop 16 cm from the margin.
    QTextBlockFormat priced;
    priced.setTabPositions({QTextOption::Tab(Document::twipsToPixels(9072), QTextOption::RightTab, QLatin1Char('.'))});
    c.insertBlock(priced, text);
    c.insertText(QStringLiteral("Summe\t12,50"), text);
}

bool exportPdf(const Document& doc, const QString& path)
{
    QString error;
    return PdfExport::exportPdf(doc, path, &error);
}

// A copy made for painting on another thread, as serial letters are painted.
bool exportPaintingCopy(const Document& doc, const QString& path)
{
    QFile f(path);
    QString error;
    PdfExport::Stream pdf(&f);
    // Readied where it was made, laid out where it is painted.
    const std::unique_ptr<Document> copy = doc.paintingCopy();
    PrintCopy::prepare(*copy);
    return f.open(QIODevice::WriteOnly) && pdf.addCopy(*copy, &error) && pdf.finish(&error);
}

// Millimetres from the top edge of `page` to the first line drawn across the text
// below `belowMm`.
double ruleLineMm(Document& doc, int page = 1, double belowMm = 0)
{
    Paginator pages(&doc);
    const QImage img = pages.renderPage(page, 254); // 10 pixels per millimetre
    const int from = qRound(Document::twipsToPixels(doc.page().marginL) * 254 / 96) + 5;
    const int to = img.width() - qRound(Document::twipsToPixels(doc.page().marginR) * 254 / 96) - 5;
    for (int y = qRound(belowMm * 10); y < img.height(); ++y) {
        int dark = 0;
        for (int x = from; x < to; ++x)
            dark += qGray(img.pixel(x, y)) < 200;
        if (dark > (to - from) * 9 / 10)
            return y / 10.0;
    }
    return -1;
}

} // namespace

class TestOtherOffice : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void cssColours_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("none");
        QTest::addColumn<QString>("colour"); // #rrggbb when not none
        QTest::newRow("transparent") << "transparent" << true << "";
        QTest::newRow("alpha 0") << "rgba(255, 255, 255, 0)" << true << "";
        QTest::newRow("inherit") << "inherit" << true << "";
        QTest::newRow("currentColor") << "currentColor" << true << "";
        QTest::newRow("system colour") << "WindowText" << true << "";
        QTest::newRow("hex with alpha 0") << "#ff000000" << true << "";
        QTest::newRow("shorthand with picture") << "transparent url(bild.png) no-repeat" << true << "";
        QTest::newRow("named") << "lightgoldenrodyellow" << false << "#fafad2";
        QTest::newRow("CSS 4 name") << "RebeccaPurple" << false << "#663399";
        QTest::newRow("half red on white") << "rgb(255 0 0 / 50%)" << false << "#ff7f7f";
        QTest::newRow("hex alpha last") << "#0000ff80" << false << "#7f7fff";
        QTest::newRow("short hex") << "#fc0" << false << "#ffcc00";
        QTest::newRow("hsl") << "hsl(120, 100%, 25%)" << false << "#008000";
        QTest::newRow("important") << "#123456 !important" << false << "#123456";
    }

    void cssColours()
    {
        QFETCH(QString, value);
        QFETCH(bool, none);
        QFETCH(QString, colour);
        bool isNone = false;
        const QColor c = CssColours::parse(value, &isNone);
        QCOMPARE(isNone, none);
        if (!none)
            QCOMPARE(c.name(), colour);
    }

    // Every HTML file of another office suite declares transparent backgrounds; none of
    // our writers may turn them into black.
    void transparentIsNoColour()
    {
        const QByteArray html = "<html><head><style>p { background: transparent; } .k { background-color: inherit }</style></head>"
                                "<body><p style=\"background: transparent\"><span style=\"background-color: transparent; "
                                "color: #000000\">Schwarz auf Weiss</span> <span class=\"k\">und</span> "
                                "<span style=\"background: rgba(0,0,0,0)\">mehr</span></p>"
                                "<table><tr><td bgcolor=\"transparent\">Zelle</td><td style=\"background-color: #ffff00\">Gelb</td></tr></table>"
                                "</body></html>";
        Document doc;
        QString error;
        QVERIFY2(Formats::read(4, html, doc, nullptr, &error), qPrintable(error));
        for (QTextBlock b = doc.body()->begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it)
                if (it.fragment().text() != u"Gelb")
                    QVERIFY2(!it.fragment().charFormat().hasProperty(QTextFormat::BackgroundBrush), qPrintable(it.fragment().text()));
        QByteArray out;
        QVERIFY(Formats::write(5, doc, nullptr, &out, &error));
        // Every background names a colour of the table, and only the yellow one.
        const QByteArray table = out.mid(out.indexOf("{\\colortbl"), out.indexOf('}', out.indexOf("{\\colortbl")) - out.indexOf("{\\colortbl"));
        const QList<QByteArray> colours = table.split(';');
        QStringList backgrounds;
        static const QRegularExpression background(QStringLiteral("\\\\(chcbpat|clcbpat|cb|highlight)(\\d+)"));
        for (auto it = background.globalMatch(QString::fromLatin1(out)); it.hasNext();) {
            const auto m = it.next();
            backgrounds << QString::fromLatin1(colours.value(m.captured(2).toInt()));
        }
        QVERIFY(!backgrounds.isEmpty());
        for (const QString& c : backgrounds)
            QCOMPARE(c, QStringLiteral("\\red255\\green255\\blue0"));
        QVERIFY(Formats::write(4, doc, nullptr, &out, &error));
        QVERIFY2(out.count("background-color") >= 1, out.constData());
        // A transparent brush that reached the document by other ways is no colour either.
        Document clear;
        QTextCharFormat seeThrough;
        seeThrough.setBackground(QColor(0, 0, 0, 0));
        QTextCursor(clear.body()).insertText(QStringLiteral("Text"), seeThrough);
        for (int format : {4, 5, 13, 14}) {
            QVERIFY(Formats::write(format, clear, nullptr, &out, &error));
            Document back;
            QVERIFY2(Formats::read(format, out, back, nullptr, &error), qPrintable(error));
            const QTextCharFormat f = back.body()->begin().begin().fragment().charFormat();
            QVERIFY2(!f.hasProperty(QTextFormat::BackgroundBrush), qPrintable(QString::number(format)));
            QVERIFY(!out.contains("chcbpat") && !out.contains("background-color")); // RTF, HTML as text
        }
        QCOMPARE(out.count("background-color"), out.count("background-color: #ffff00"));
        for (int format : {13, 14}) { // DOCX, ODT: the same document back has no black
            QVERIFY(Formats::write(format, doc, nullptr, &out, &error));
            Document back;
            QVERIFY2(Formats::read(format, out, back, nullptr, &error), qPrintable(error));
            for (QTextBlock b = back.body()->begin(); b.isValid(); b = b.next())
                for (auto it = b.begin(); !it.atEnd(); ++it)
                    if (it.fragment().charFormat().hasProperty(QTextFormat::BackgroundBrush))
                        QCOMPARE(it.fragment().charFormat().background().color(), QColor(Qt::yellow));
        }
    }

    // Footers of older programs give the page number by \chpgn, or by a PAGE field
    // without a result: each page prints its own number.
    void footerPageNumbers_data()
    {
        QTest::addColumn<QByteArray>("number");
        QTest::newRow("chpgn") << QByteArray("\\chpgn");
        QTest::newRow("field without result") << QByteArray("{\\field{\\*\\fldinst PAGE}}");
        QTest::newRow("field showing chpgn") << QByteArray("{\\field{\\*\\fldinst { PAGE }}{\\fldrslt {\\chpgn}}}");
    }
    void footerPageNumbers()
    {
        QFETCH(QByteArray, number);
        const QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Liberation Sans;}}{\\footer\\pard\\plain\\f0\\fs20 Seite "
                               + number + "\\par}\\pard\\plain\\f0\\fs24 Eins\\page Zwei\\par}";
        Document doc;
        QString error;
        QVERIFY2(Formats::read(5, rtf, doc, nullptr, &error), qPrintable(error));
        const QString pdf = dir.filePath(QStringLiteral("fusszeile.pdf"));
        QVERIFY(exportPdf(doc, pdf));
        QCOMPARE(pdfPageText(pdf, 1).simplified(), QStringLiteral("Eins Seite 1"));
        QCOMPARE(pdfPageText(pdf, 2).simplified(), QStringLiteral("Zwei Seite 2"));
    }

    // A letter made in another office suite (11 pt, A4, 2.5/2/2/2 cm): LibreOffice 7.4
    // prints it on 3 pages; in Liberation Sans 12.65 pt from line to line, the address's
    // first line 118.95 pt from the top (its space before counted), page 2 starting with
    // "Mehrwertsteuer," and page 3 with "Lieferung"; in DejaVu Sans, the package's other
    // font, 12.8 pt, 118.85 pt, "Absatz" and "Einzelfällen".
    void letterLinesAsTheOtherSuite_data()
    {
        QTest::addColumn<QByteArray>("font");
        QTest::addColumn<double>("line");
        QTest::addColumn<double>("top");
        QTest::addColumn<QString>("page2");
        QTest::addColumn<QString>("page3");
        QTest::newRow("Liberation Sans") << QByteArray("Liberation Sans") << 12.65 << 118.95 << "Mehrwertsteuer," << "Lieferung";
        QTest::newRow("DejaVu Sans") << QByteArray("DejaVu Sans") << 12.8 << 118.85 << "Absatz" << "Einzelfällen";
    }
    void letterLinesAsTheOtherSuite()
    {
        QFETCH(QByteArray, font);
        QFETCH(double, line);
        QFETCH(double, top);
        QFETCH(QString, page2);
        QFETCH(QString, page3);
        QFile file(fixture("brief-3seiten.rtf"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        Document doc;
        QString error;
        QVERIFY2(Formats::read(5, file.readAll().replace("Liberation Sans;", font + ';'), doc, nullptr, &error), qPrintable(error));
        const QString pdf = dir.filePath(QStringLiteral("brief.pdf"));
        QVERIFY(exportPdf(doc, pdf));
        const QList<PdfPage> pages = pdfWordBoxes(pdf);
        QCOMPARE(pages.size(), 3);
        const PdfWord* first = pdfWord(pages, 1, QStringLiteral("Frau"));
        const PdfWord* fourth = pdfWord(pages, 1, QStringLiteral("12345"));
        QVERIFY(first && fourth);
        QVERIFY2(qAbs((fourth->yMin - first->yMin) / 3 - line) < 0.02, qPrintable(QString::number(fourth->yMin - first->yMin)));
        // Glyph boxes of both programs stand within half a millimetre.
        QVERIFY2(qAbs(first->yMin - top) < 0.5 * PtPerMm, qPrintable(QString::number(first->yMin)));
        QCOMPARE(pdfPageText(pdf, 2).simplified().section(QLatin1Char(' '), 0, 0), page2);
        QCOMPARE(pdfPageText(pdf, 3).simplified().section(QLatin1Char(' '), 0, 0), page3);
        QVERIFY(pdfPageText(pdf, 3).trimmed().endsWith(QStringLiteral("Mit freundlichen Grüßen")));
    }

    // Space before and after as office suites lay it out, in points from the RTF's twips
    // (Liberation Sans 12 pt): after 567 and before 283 add up to 42.5 pt; a table keeps
    // the 567 (28.35 pt) before the paragraph after it; a page break leaves the 850 after
    // on its page, and the next page's first paragraph starts 567 lower than page 1's.
    void spacingAsOfficeSuites()
    {
        Document doc;
        QString error;
        QVERIFY2(Formats::readFile(5, fixture("abstaende.rtf"), 0, doc, nullptr, &error), qPrintable(error));
        const QString pdf = dir.filePath(QStringLiteral("abstand.pdf"));
        QVERIFY(exportPdf(doc, pdf));
        QList<double> y; // the tops of the words in order, each from its page's top edge
        for (const PdfPage& page : pdfWordBoxes(pdf))
            for (const PdfWord& w : page.words)
                if (w.text != u"Z")
                    y << w.yMin;
        QCOMPARE(y.size(), 8); // Eins Zwei Drei Zelle Nach Zelle Ohne Seite; Seite on page 2
        for (const auto& [got, pt] : {std::pair{(y[1] - y[0]) - (y[2] - y[1]), 42.5}, {(y[4] - y[3]) - (y[6] - y[5]), 28.35}, {y[7] - y[0], 28.35}})
            QVERIFY2(qAbs(got - pt) < 0.5, qPrintable(QStringLiteral("%1 pt, not %2").arg(got).arg(pt)));

        // In a table cell alike: after 567 and before 283 add up to 42.5 pt more than the
        // plain lines of the cell beside it.
        Document cells;
        QVERIFY2(Formats::read(5, "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Liberation Sans;}}\\trowd\\cellx4000\\cellx8000"
                                  "\\pard\\intbl\\sa567\\f0\\fs24 Oben\\par\\pard\\intbl\\sb283\\f0\\fs24 Unten\\cell"
                                  "\\pard\\intbl\\f0\\fs24 Eng\\par\\pard\\intbl\\f0\\fs24 Dicht\\cell\\row}",
                               cells, nullptr, &error),
                 qPrintable(error));
        QVERIFY(exportPdf(cells, pdf));
        QHash<QString, double> top;
        for (const PdfWord& w : pdfWordBoxes(pdf).value(0).words)
            top.insert(w.text, w.yMin);
        const double extra = (top.value(QStringLiteral("Unten")) - top.value(QStringLiteral("Oben")))
                             - (top.value(QStringLiteral("Dicht")) - top.value(QStringLiteral("Eng")));
        QVERIFY2(qAbs(extra - 42.5) < 0.5, qPrintable(QStringLiteral("%1 pt, not 42.5").arg(extra)));
    }

    // An address block of two lines (a soft line break) with 12 pt space before, Arial
    // 11 pt, 20 mm top margin: its first line's top at 56.7 + 12 = 68.7 pt, the second
    // 12.65 pt lower, and what follows below them, a paragraph or a table. A paragraph
    // of 70 lines fills the first page: it stays at the margin.
    void firstParagraphKeepsItsSpace_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("table");
        QTest::newRow("paragraph after") << 2 << false;
        QTest::newRow("table after") << 2 << true;
        QTest::newRow("filling the page") << 70 << false;
    }
    void firstParagraphKeepsItsSpace()
    {
        QFETCH(int, lines);
        QFETCH(bool, table);
        Document doc;
        PageGeometry g = doc.page();
        g.marginT = 1134;
        doc.setPage(g);
        QTextCursor c(doc.body());
        QTextBlockFormat space;
        space.setTopMargin(16); // 12 pt in the body's 96-dpi pixels
        c.setBlockFormat(space);
        c.insertText(QStringLiteral("Frau Erika Mustermann") + QString(lines - 1, QChar::LineSeparator) + QStringLiteral("Hauptstraße 1"));
        c.insertBlock(QTextBlockFormat());
        if (table)
            c.insertTable(1, 1);
        c.insertText(QStringLiteral("12345"));
        const QString pdf = dir.filePath(QStringLiteral("erster.pdf"));
        QVERIFY(exportPdf(doc, pdf));
        const QList<PdfPage> pages = pdfWordBoxes(pdf);
        const PdfWord* first = pdfWord(pages, 1, QStringLiteral("Frau"));
        QVERIFY(first);
        QVERIFY2(qAbs(first->yMin - (lines > 2 ? 56.7 : 68.7)) < 0.2, qPrintable(QString::number(first->yMin)));
        if (lines > 2)
            return;
        const PdfWord* second = pdfWord(pages, 1, QStringLiteral("Hauptstraße"));
        const PdfWord* after = pdfWord(pages, 1, QStringLiteral("12345"));
        QVERIFY(second && after);
        QVERIFY2(qAbs(second->yMin - 81.35) < 0.2, qPrintable(QString::number(second->yMin)));
        QVERIFY2(after->yMin > 94.0 - 0.2 && (table || after->yMin < 94.0 + 0.2), qPrintable(QString::number(after->yMin)));
    }

    // Own format to RTF or HTML and back: headers, footers with page numbers, the rule
    // line of the letterhead and the paragraphs stay where they were.
    void roundTrips_data()
    {
        QTest::addColumn<int>("format");
        QTest::newRow("own") << 3; // the reference itself
        QTest::newRow("RTF") << 5;
        QTest::newRow("HTML") << 4;
        QTest::newRow("DOCX") << 13;
        QTest::newRow("ODT") << 14;
    }

    void roundTrips()
    {
        QFETCH(int, format);
        Document own;
        ownLetter(own);
        if (QTest::currentTestFailed())
            return;
        QByteArray bytes;
        QString error;
        QVERIFY2(Formats::write(format, own, nullptr, &bytes, &error), qPrintable(error));
        Document back;
        QVERIFY2(Formats::read(format, bytes, back, nullptr, &error), qPrintable(error));
        QCOMPARE(back.page().width, 11906);
        QCOMPARE(back.page().marginT, own.page().marginT);
        QCOMPARE(back.page().marginL, own.page().marginL);
        QCOMPARE(back.headerFooterSet(), 1 | 4);
        const QString pdf = dir.filePath(QStringLiteral("rund%1.pdf").arg(format));
        QVERIFY(format == 3 ? exportPaintingCopy(back, pdf) : exportPdf(back, pdf));
        const QList<PdfPage> pages = pdfWordBoxes(pdf);
        QCOMPARE(pages.size(), 2);
        struct Expected {
            int page;
            const char* text;
            double yMm; // top of the word's box, measured on our own PDF of the document
        };
        const Expected expected[] = {{1, "Kopfzeile", 12.7}, {1, "Frau", 53.2},  {1, "Zeile", 57.7},
                                     {1, "Seite", 280.6},    {2, "Kopfzeile", 12.7}, {2, "Schlussgruss", 129.9},
                                     {2, "2", 280.6}};
        for (const Expected& e : expected) {
            const PdfWord* w = pdfWord(pages, e.page, QString::fromUtf8(e.text));
            QVERIFY2(w, e.text);
            QVERIFY2(qAbs(w->yMin / PtPerMm - e.yMm) < 0.5,
                     qPrintable(QStringLiteral("%1: %2 mm").arg(QLatin1String(e.text)).arg(w->yMin / PtPerMm)));
        }
        QVERIFY(pdfPageText(pdf, 2).contains(QStringLiteral("Seite 2 von 2")));
        // The leader's dots fill the room between "Summe" and the amount (mm from the left edge).
        const PdfWord* amount = pdfWord(pages, 2, QStringLiteral("12,50"));
        const auto dots = std::find_if(pages[1].words.cbegin(), pages[1].words.cend(), [](const PdfWord& w) { return w.text.startsWith(u"...."); });
        QVERIFY2(amount && dots != pages[1].words.cend(), qPrintable(pdfPageText(pdf, 2)));
        for (const auto& [pt, mm] : {std::pair{dots->xMin, 34.5}, {dots->xMax, 169.2}, {amount->xMax, 180.0}})
            QVERIFY2(qAbs(pt / PtPerMm - mm) < 1, qPrintable(QStringLiteral("%1 mm").arg(pt / PtPerMm)));
        const double rule = ruleLineMm(back);
        QVERIFY2(qAbs(rule - 31.0) < 0.5, qPrintable(QString::number(rule)));
    }

    // Rule lines and tab leaders are drawn on a later page too, where they stand.
    void linesOnALaterPage()
    {
        Document doc;
        QTextCursor c(doc.body());
        c.insertText(QStringLiteral("Eins"));
        Paginator::insertPageBreak(c);
        c.insertText(QStringLiteral("Zwei"));
        Paginator::insertPageBreak(c);
        QTextBlockFormat rule;
        rule.setProperty(QTextFormat::BlockTrailingHorizontalRulerWidth, QTextLength(QTextLength::PercentageLength, 100));
        c.insertBlock(rule);
        QTextBlockFormat leader;
        // A right stop at the right margin (17 cm of text) with a line leader.
        leader.setTabPositions({TabLeaders::with(QTextOption::Tab(17 * 96 / 2.54, QTextOption::RightTab), u'_')});
        c.insertBlock(leader);
        c.insertText(QStringLiteral("\tEnde"));
        const double first = ruleLineMm(doc, 3);
        QVERIFY2(first > 20 && first < 30, qPrintable(QString::number(first))); // below the 2 cm margin
        const double second = ruleLineMm(doc, 3, first + 1);
        QVERIFY2(second > first + 2 && second < 40, qPrintable(QString::number(second)));
    }

    // An HTML page as another office suite saves it: transparent backgrounds everywhere,
    // a picture in a folder beside the file. Printed, every word is on the one page, the
    // picture (76 x 38 pixels, 20.1 x 10.05 mm) is drawn in red, and no line turns black.
    void htmlPageFromAnotherSuite()
    {
        QDir(dir.path()).mkpath(QStringLiteral("buero/bilder"));
        QImage red(76, 38, QImage::Format_RGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(dir.filePath(QStringLiteral("buero/bilder/logo.png"))));
        const QString html = dir.filePath(QStringLiteral("buero/seite.html"));
        QVERIFY(QFile::copy(fixture("buero-seite.html"), html));
        Document doc;
        QString error, note;
        QVERIFY2(Formats::readFrom(4, readAll(html), html, doc, nullptr, &error, &note), qPrintable(error));
        const QString pdf = dir.filePath(QStringLiteral("buero.pdf"));
        QVERIFY(exportPdf(doc, pdf));
        const QList<PdfPage> pages = pdfWordBoxes(pdf);
        QCOMPARE(pages.size(), 1);
        QStringList words;
        for (const PdfWord& w : pages[0].words)
            words << w.text;
        std::sort(words.begin(), words.end()); // table cells are read column by column
        QCOMPARE(words.join(u' '), QStringLiteral("Frau Grüßen Logo Mit Mustermann, Sehr Text Zelle Zelle dem eins freundlichen "
                                                  "geehrte neben zwei"));
        Paginator paper(&doc);
        const QImage page = paper.renderPage(1, 254); // 10 pixels per millimetre
        // Black bars would be a line of text tall; the table's rules are a pixel or two.
        int reds = 0, darkRows = 0, tallestBar = 0;
        for (int y = 0; y < page.height(); ++y) {
            int dark = 0;
            for (int x = 0; x < page.width(); ++x) {
                const QColor c = page.pixelColor(x, y);
                reds += c.red() > 200 && c.green() < 60 && c.blue() < 60;
                dark += qGray(c.rgb()) < 60;
            }
            darkRows = dark > page.width() / 2 ? darkRows + 1 : 0;
            tallestBar = qMax(tallestBar, darkRows);
        }
        QVERIFY2(qAbs(reds - 201 * 100.5) < 201 * 100.5 * 0.1, qPrintable(QString::number(reds)));
        QVERIFY2(tallestBar < 10, qPrintable(QString::number(tallestBar))); // under a millimetre
    }

    // An HTML file's pictures lie beside it, wherever the program runs.
    void htmlPicturesBesideTheFile()
    {
        QDir(dir.path()).mkpath(QStringLiteral("seite/bilder"));
        QImage red(20, 10, QImage::Format_RGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(dir.filePath(QStringLiteral("seite/bilder/rot.png"))));
        const QString html = dir.filePath(QStringLiteral("seite/index.html"));
        QVERIFY(writeAll(html, "<html><body><p style=\"background-image: url(bilder/rot.png)\">Bild: <img src=\"bilder/rot.png\"></p></body></html>"));
        Document doc;
        QString error, note;
        QVERIFY2(Formats::readFrom(4, readAll(html), html, doc, nullptr, &error, &note), qPrintable(error));
        // What the document cannot show is said once.
        QCOMPARE(note, QStringLiteral("Hintergrundbilder wurden nicht übernommen."));
        const QImage shown = doc.body()->resource(QTextDocument::ImageResource, QUrl(QStringLiteral("bilder/rot.png"))).value<QImage>();
        QCOMPARE(shown.size(), QSize(20, 10));
        QCOMPARE(shown.pixelColor(5, 5), QColor(Qt::red));
    }
};

QTEST_MAIN(TestOtherOffice)
#include "tst_otheroffice.moc"
