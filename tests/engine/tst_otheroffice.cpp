// Documents as other office programs write them, and our own exports read back: colour
// keywords, lists, headings and tabs in RTF, the printed lines of a letter, and the
// positions of headers, footers, rule lines and paragraphs after RTF and HTML.

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
#include "engine/objects/TabStops.h"
#include "engine/formats/CssColours.h"
#include "engine/formats/Formats.h"

#include <QImage>
#include <QRegularExpression>
#include <QTextList>

namespace {

QString fixture(const char* name) { return qxSourceDir() + QStringLiteral("/tests/engine/data/") + QLatin1String(name); }

// The first word `text` on `page` (1-based) of the PDF's boxes; null when missing.
const PdfWord* word(const QList<PdfPage>& pages, int page, const QString& text)
{
    if (page < 1 || page > pages.size())
        return nullptr;
    for (const PdfWord& w : pages[page - 1].words)
        if (w.text == text)
            return &w;
    return nullptr;
}

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

    // Lists, headings and tabs as office programs write them in RTF.
    void rtfListsHeadingsTabs()
    {
        const QByteArray rtf =
            "{\\rtf1\\ansi\\deff0\\deftab709{\\fonttbl{\\f0 Liberation Sans;}}"
            "{\\*\\listtable"
            "{\\list\\listtemplateid1{\\listlevel\\levelnfc255\\levelnfcn255{\\leveltext\\'00;}{\\levelnumbers;}}\\listid1}"
            "{\\list\\listtemplateid2{\\listlevel\\levelnfc0\\levelnfcn0{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}}"
            "{\\listlevel\\levelnfc0\\levelnfcn0{\\leveltext\\'04\\'00.\\'01.;}{\\levelnumbers\\'01\\'03;}}\\listid2}"
            "{\\list\\listtemplateid3{\\listlevel\\levelnfc23{\\leveltext\\'01\\u8226 ?;}{\\levelnumbers;}}\\listid3}"
            "{\\list\\listtemplateid4{\\listlevel\\levelnfc255}\\listid4}}"
            "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}{\\listoverride\\listid2\\ls2}{\\listoverride\\listid3\\ls3}"
            "{\\listoverride\\listid4\\ls4}}"
            "\\pard\\s1\\outlinelevel0\\ls1\\ilvl0\\b\\fs32 Kapitel eins\\par"
            "\\pard\\plain\\s2\\outlinelevel1\\ls1\\ilvl1\\fs28 Abschnitt\\par"
            "\\pard\\plain\\ls2\\ilvl0 Erstens\\par"
            "\\pard\\plain\\ls2\\ilvl1 Unterpunkt a\\par"
            "\\pard\\plain\\ls2\\ilvl1 Unterpunkt b\\par"
            "\\pard\\plain\\ls2\\ilvl0 Zweitens\\par"
            "\\pard\\plain\\ls2\\ilvl1 Unterpunkt c\\par"
            "\\pard\\plain\\ls3\\ilvl0 Punkt\\par"
            "\\pard\\plain\\ls4\\ilvl0 Ohne Nummer\\par"
            "\\pard\\plain\\tqdec\\tx2835\\tqr\\tldot\\tx8505 Betrag\\tab 12,50\\tab Ende\\par"
            "\\pard\\plain\\brdrb\\brdrs\\brdrw10\\brsp20\\fs8\\par"
            "\\pard\\plain\\fs40\\par"
            "}";
        Document doc;
        QString error;
        QVERIFY2(Formats::read(5, rtf, doc, nullptr, &error), qPrintable(error));
        QCOMPARE(FormatTest::listLabels(doc.body()),
                 QStringLiteral("- Kapitel eins|- Abschnitt|1. Erstens|1.1. Unterpunkt a|1.2. Unterpunkt b|2. Zweitens|"
                                "2.1. Unterpunkt c|\u2022 Punkt|- Ohne Nummer|- Betrag\t12,50\tEnde|- |- "));
        QCOMPARE(TabStops::defaultDistance(doc.body()), 709);
        QTextBlock tabs = doc.body()->findBlock(0);
        while (!tabs.text().startsWith(u"Betrag"))
            tabs = tabs.next();
        const QList<QTextOption::Tab> stops = TabStops::fromMargin(tabs.blockFormat());
        QCOMPARE(stops.size(), 2);
        QCOMPARE(stops[0].type, QTextOption::DelimiterTab);
        QCOMPARE(stops[0].delimiter, QChar(u','));
        QCOMPARE(TabStops::twips(stops[0]), 2835);
        QCOMPARE(stops[1].type, QTextOption::RightTab);
        QCOMPARE(stops[1].delimiter, QChar(u'.')); // its dot leader
        const QTextBlock rule = tabs.next();
        QVERIFY(rule.blockFormat().hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth));
        // An empty paragraph is as tall as its mark's font.
        QCOMPARE(rule.next().charFormat().fontPointSize(), 20.0);

        // The comma of the amount stands at the decimal tab: 5 cm from the margin.
        const QString pdf = dir.filePath(QStringLiteral("tabs.pdf"));
        QVERIFY(exportPdf(doc, pdf));
        const QList<PdfPage> pages = pdfWordBoxes(pdf);
        const PdfWord* amount = word(pages, 1, QStringLiteral("12,50"));
        QVERIFY(amount);
        const double margin = doc.page().marginL / 20.0;
        QVERIFY2(amount->xMin < margin + 2835 / 20.0 && amount->xMax > margin + 2835 / 20.0 + 5,
                 qPrintable(QString::number(amount->xMin)));
    }

    // A three-level list from RTF: an item put before the first renumbers the sub-lists
    // under the items that moved, on paper too, as one undo step; the files keep the
    // numbers, and the own format and RTF keep them following.
    void listNumbersFollowEdits()
    {
        const QString before = QStringLiteral("1. Eins|1.1. Unter|1.1.1. Tief|2. Zwei|2.1. Drunter");
        const QString after = QStringLiteral("1. Neu|2. Eins|2.1. Unter|2.1.1. Tief|3. Zwei|3.1. Drunter");
        Document doc;
        QString error;
        QVERIFY2(Formats::readFile(5, fixture("liste-3ebenen.rtf"), 0, doc, nullptr, &error), qPrintable(error));
        QCOMPARE(FormatTest::listLabels(doc.body()), before);
        Paginator live(&doc); // the print preview's copy replays the edits
        live.layoutDocument();
        const int rebuilds = live.rebuilds();
        QTextCursor c(doc.body());
        c.beginEditBlock();
        c.insertBlock();
        c.movePosition(QTextCursor::PreviousBlock);
        c.insertText(QStringLiteral("Neu"));
        c.endEditBlock();
        QCOMPARE(FormatTest::listLabels(doc.body()), after);
        QCOMPARE(FormatTest::listLabels(live.layoutDocument()), after);
        QCOMPARE(live.rebuilds(), rebuilds);
        const QString pdf = dir.filePath(QStringLiteral("liste.pdf"));
        QVERIFY(exportPdf(doc, pdf));
        QCOMPARE(pdfPageText(pdf, 1).simplified(), QStringLiteral("1. Neu 2. Eins 2.1. Unter 2.1.1. Tief 3. Zwei 3.1. Drunter"));
        doc.body()->undo();
        QCOMPARE(FormatTest::listLabels(doc.body()), before);
        QCOMPARE(FormatTest::listLabels(live.layoutDocument()), before);
        QVERIFY(exportPdf(doc, pdf));
        QCOMPARE(pdfPageText(pdf, 1).simplified(), QStringLiteral("1. Eins 1.1. Unter 1.1.1. Tief 2. Zwei 2.1. Drunter"));
        doc.body()->redo();
        QCOMPARE(FormatTest::listLabels(doc.body()), after);
        for (int format : {3, 5, 13, 14}) {
            QByteArray bytes;
            QVERIFY2(Formats::write(format, doc, nullptr, &bytes, &error), qPrintable(error));
            Document back;
            QVERIFY2(Formats::read(format, bytes, back, nullptr, &error), qPrintable(error));
            QVERIFY2(FormatTest::listLabels(back.body()) == after, qPrintable(QString::number(format) + u' ' + FormatTest::listLabels(back.body())));
            if (format != 3 && format != 5)
                continue;
            QTextCursor first(back.body());
            first.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
            first.removeSelectedText();
            QVERIFY2(FormatTest::listLabels(back.body()) == before, qPrintable(QString::number(format) + u' ' + FormatTest::listLabels(back.body())));
        }
    }

    // A letter made in another office suite (Liberation Sans 11 pt, A4, 2.5/2/2/2 cm):
    // LibreOffice 7.4 prints it on 3 pages, 12.65 pt from line to line, the address's
    // first line 118.95 pt from the top (its space before counted), and starts page 2
    // with "Mehrwertsteuer," and page 3 with "Lieferung".
    void letterLinesAsTheOtherSuite()
    {
        Document doc;
        QString error;
        QVERIFY2(Formats::readFile(5, fixture("brief-3seiten.rtf"), 0, doc, nullptr, &error), qPrintable(error));
        const QString pdf = dir.filePath(QStringLiteral("brief.pdf"));
        QVERIFY(exportPdf(doc, pdf));
        const QList<PdfPage> pages = pdfWordBoxes(pdf);
        QCOMPARE(pages.size(), 3);
        const PdfWord* first = word(pages, 1, QStringLiteral("Frau"));
        const PdfWord* second = word(pages, 1, QStringLiteral("Erika"));
        const PdfWord* fourth = word(pages, 1, QStringLiteral("12345"));
        QVERIFY(first && second && fourth);
        QVERIFY2(qAbs((fourth->yMin - first->yMin) / 3 - 12.65) < 0.05, qPrintable(QString::number(fourth->yMin - first->yMin)));
        // Glyph boxes of both programs stand within half a millimetre.
        QVERIFY2(qAbs(first->yMin - 118.95) < 0.5 * PtPerMm, qPrintable(QString::number(first->yMin)));
        QVERIFY2(word(pages, 2, QStringLiteral("Mehrwertsteuer,")), qPrintable(pdfPageText(pdf, 2).left(80)));
        QCOMPARE(pdfPageText(pdf, 2).simplified().section(QLatin1Char(' '), 0, 0), QStringLiteral("Mehrwertsteuer,"));
        QCOMPARE(pdfPageText(pdf, 3).simplified().section(QLatin1Char(' '), 0, 0), QStringLiteral("Lieferung"));
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
        const PdfWord* first = word(pages, 1, QStringLiteral("Frau"));
        QVERIFY(first);
        QVERIFY2(qAbs(first->yMin - (lines > 2 ? 56.7 : 68.7)) < 0.2, qPrintable(QString::number(first->yMin)));
        if (lines > 2)
            return;
        const PdfWord* second = word(pages, 1, QStringLiteral("Hauptstraße"));
        const PdfWord* after = word(pages, 1, QStringLiteral("12345"));
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
            const PdfWord* w = word(pages, e.page, QString::fromUtf8(e.text));
            QVERIFY2(w, e.text);
            QVERIFY2(qAbs(w->yMin / PtPerMm - e.yMm) < 0.5,
                     qPrintable(QStringLiteral("%1: %2 mm").arg(QLatin1String(e.text)).arg(w->yMin / PtPerMm)));
        }
        QVERIFY(pdfPageText(pdf, 2).contains(QStringLiteral("Seite 2 von 2")));
        // The leader's dots fill the room between "Summe" and the amount (mm from the left edge).
        const PdfWord* amount = word(pages, 2, QStringLiteral("12,50"));
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
