// Hostile and unusual files made by hand: they must open (or be refused with a German
// text) without crashing, hanging, eating memory or hiding their text. ctest's
// timeout catches a hang.

#include "OwnSample.h"
#include "engine/Document.h"
#include "engine/pages/Paginator.h"
#include "engine/formats/Formats.h"
#include "engine/formats/InputFile.h"

#include <QAbstractTextDocumentLayout>
#include "TestCommon.h"
#include <QTextFrame>
#include <QTextList>
#include <QSet>

#include <sys/stat.h>

namespace {

QByteArray own(const QByteArray& body, const QByteArray& page = QByteArray())
{
    return "<textdocument version=\"1\">" + page + "<body>" + body + "</body></textdocument>";
}

// The formats of a body: 1 a character format with the given properties.
QByteArray charFormat(const QByteArray& properties)
{
    return "<formats><format id=\"1\" type=\"2\">" + properties + "</format></formats>";
}

QByteArray prop(const char* name, const char* type, const char* value)
{
    return QByteArray("<property name=\"") + name + "\" type=\"" + type + "\">" + value + "</property>";
}

using OwnSample::firstTable;

} // namespace

class TestBadInputs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The first paragraph of a cell holds the cell's format; a file that gives it
    // another one must not take the span away (the layout used to crash).
    void mergedCellsKeepTheirSpans_data()
    {
        addColumns<QByteArray, int, int, QString>("data", "rowSpan", "columnSpan", "text");
        const QByteArray rest = "<cell row=\"1\" column=\"0\"><p><r>C</r></p></cell>"
                                "<cell row=\"1\" column=\"1\"><p><r>D</r></p></cell>";
        QTest::newRow("column span, paragraph without format")
            << own("<table rows=\"2\" columns=\"2\"><cell row=\"0\" column=\"0\" columnSpan=\"2\">"
                   "<p charFormat=\"-1\"><r>AB</r></p></cell>" + rest + "</table>")
            << 1 << 2 << "AB\nC\nD";
        QTest::newRow("row span, paragraph without format")
            << own("<table rows=\"2\" columns=\"2\"><cell row=\"0\" column=\"0\" rowSpan=\"2\">"
                   "<p charFormat=\"-1\"><r>AC</r></p></cell><cell row=\"0\" column=\"1\"><p><r>B</r></p></cell>"
                   "<cell row=\"1\" column=\"1\"><p charFormat=\"-1\"><r>D</r></p></cell></table>")
            << 2 << 1 << "AC\nB\nD";
        // Cell 0,1 lies inside the span of cell 0,0 and then asks for a span of its own:
        // its text joins the spanning cell.
        QTest::newRow("overlapping spans")
            << own(charFormat(prop("p1", "int", "5")) +
                   "<table rows=\"2\" columns=\"2\"><cell row=\"0\" column=\"0\" columnSpan=\"2\">"
                   "<p charFormat=\"1\"><r>AB</r></p></cell><cell row=\"0\" column=\"1\" rowSpan=\"2\">"
                   "<p charFormat=\"-1\"><r>X</r></p></cell>" + rest + "</table>")
            << 1 << 2 << "AB\nX\nC\nD";
    }
    void mergedCellsKeepTheirSpans()
    {
        QFETCH(QByteArray, data);
        Document doc;
        QString error;
        QVERIFY2(Formats::read(3, data, doc, nullptr, &error), qPrintable(error));
        doc.body()->documentLayout()->documentSize();
        QTextTable* t = firstTable(doc.body());
        QVERIFY(t);
        QTEST(t->cellAt(0, 0).rowSpan(), "rowSpan");
        QTEST(t->cellAt(0, 0).columnSpan(), "columnSpan");
        QTEST(doc.body()->toPlainText().trimmed(), "text");
        // It also paginates and prints.
        Paginator pages(&doc);
        QCOMPARE(pages.pageCount(), 1);
        QVERIFY(!pages.renderPage(1).isNull());
    }

    // Table and frame structures no page can show are repaired: cells keep their order
    // and text, and every line starts and ends inside the A4 text area (75.6 to 718.1 px).
    void tableStructuresAreRepaired_data()
    {
        addColumns<int, QByteArray, QString>("format", "data", "text");
        QTest::newRow("rtf, cell boundaries going left")
            << 5 << QByteArray("{\\rtf1 \\trowd\\cellx1000\\cellx500\\cellx-200 a\\cell b\\cell c\\cell\\row}")
            << "a\nb\nc";
        QTest::newRow("rtf, text in a cell merged sideways")
            << 5 << QByteArray("{\\rtf1 \\trowd\\clmgf\\cellx1000\\clmrg\\cellx2000 a\\cell b\\cell\\row}") << "a\nb";
        QTest::newRow("rtf, text in a cell merged downwards")
            << 5
            << QByteArray("{\\rtf1 \\trowd\\clvmgf\\cellx1000\\cellx2000 a\\cell b\\cell\\row"
                          "\\trowd\\clvmrg\\cellx1000\\cellx2000 c\\cell d\\cell\\row}")
            << "a\nc\nb\nd";
        QTest::newRow("html, colspan 10 million")
            << 4 << QByteArray("<table><tr><td colspan=10000000>a</td></tr><tr><td>b</td></tr></table>") << "a\nb";
        QTest::newRow("html, padding and width of 10^8 px")
            << 4
            << QByteArray("<table cellpadding=100000000 cellspacing=100000000 border=100000000 width=100000000>"
                          "<tr><td width=99999999>a</td><td style=\"padding-left:1e9px\">b</td></tr></table>")
            << "a\nb";
        QTest::newRow("own, frame with margins of 10^9 px")
            << 3
            << own("<formats><format id=\"1\" type=\"5\">" + prop("frameLeftMargin", "double", "1e9")
                   + prop("framePadding", "double", "inf") + prop("frameBorder", "double", "1e9")
                   + prop("frameWidth", "length", "fixed:1e9") + "</format></formats><frame format=\"1\"><p><r>a</r></p></frame>")
            << "a";
    }
    void tableStructuresAreRepaired()
    {
        QFETCH(int, format);
        QFETCH(QByteArray, data);
        Document doc;
        QString error;
        QVERIFY2(Formats::read(format, data, doc, nullptr, &error), qPrintable(error));
        QTEST(doc.body()->toPlainText().trimmed(), "text");
        Paginator pages(&doc);
        QCOMPARE(pages.pageCount(), 1);
        QTextDocument* printed = pages.layoutDocument();
        QAbstractTextDocumentLayout* layout = printed->documentLayout();
        layout->documentSize();
        for (QTextBlock b = printed->begin(); b.isValid(); b = b.next()) {
            if (b.text().isEmpty())
                continue;
            const QTextLine line = b.layout()->lineAt(0);
            // In 96-dpi pixels: the margins of A4 at 2 cm lie at 75.6 and 718.1.
            const double scale = Paginator::layoutScale(printed);
            const double x = (layout->blockBoundingRect(b).x() + line.x()) / scale;
            QVERIFY2(x >= 75 && x + line.naturalTextWidth() / scale <= 719, qPrintable(b.text() + QString::number(x)));
        }
    }

    // Values no page can show are brought into range (twips for the page, pixels at
    // 96 dpi for indents and pictures, points for fonts).
    void valuesAreClampedToThePage()
    {
        Document doc;
        QString error;
        const QByteArray zeroPage = "<page width=\"0\" height=\"0\" left=\"0\" top=\"0\" right=\"0\" bottom=\"0\"/>";
        QVERIFY2(Formats::read(3, own("<p><r>x</r></p>", zeroPage), doc, nullptr, &error), qPrintable(error));
        QCOMPARE(doc.page().width, 1440); // one inch: the smallest label
        QCOMPARE(doc.page().height, 720);

        Document wide;
        const QByteArray hugeMargins = "<page width=\"11906\" height=\"99999999\" left=\"20000\" top=\"0\" right=\"20000\" bottom=\"0\"/>";
        QVERIFY(Formats::read(3, own("<p><r>x</r></p>", hugeMargins), wide, nullptr, &error));
        QCOMPARE(wide.page().height, 67417); // the long side of A0, 1189 mm
        // The margins keep their proportion and leave half the width: 11906 / 4 each.
        QCOMPARE(wide.page().marginL, 2976);
        QCOMPARE(wide.page().marginR, 2976);
    }

    void fontsAndIndentsStayPrintable_data()
    {
        addColumns<QByteArray, double>("properties", "points");
        QTest::newRow("1e308 pt") << prop("fontPointSize", "double", "1e308") << 1638.0;
        QTest::newRow("infinite") << prop("fontPointSize", "double", "inf") << 11.0;
        QTest::newRow("negative") << prop("fontPointSize", "double", "-5") << 1.0;
        QTest::newRow("normal") << prop("fontPointSize", "double", "12.5") << 12.5;
    }
    void fontsAndIndentsStayPrintable()
    {
        QFETCH(QByteArray, properties);
        const QByteArray formats = "<formats><format id=\"1\" type=\"2\">" + properties
                                   + "</format><format id=\"2\" type=\"1\">" + prop("leftMargin", "double", "2147483647")
                                   + prop("textIndent", "double", "-1e300") + "</format></formats>";
        Document doc;
        QString error;
        QVERIFY2(Formats::read(3, own(formats + "<p format=\"2\"><r format=\"1\">Text</r></p>"), doc, nullptr, &error),
                 qPrintable(error));
        const QTextBlock b = doc.body()->begin();
        QTEST(b.begin().fragment().charFormat().fontPointSize(), "points");
        // A4 with 2 cm margins is 642.5 px wide; three quarters of it may be indent.
        QCOMPARE(qRound(b.blockFormat().leftMargin() * 10), 4819);
        QCOMPARE(qRound(b.blockFormat().textIndent() * 10), -4819);
    }

    // A picture of 99,999,999 pixels shrinks to the text area of A4 with 2 cm margins
    // (642.5 x 971.3 px); the text after it stays on the first page.
    void giantPictureFitsThePage()
    {
        Document doc;
        QString error;
        QVERIFY(Formats::read(4, "<p><img src=\"nirgends.png\" width=\"99999999\" height=\"99999999\"></p><p>danach</p>",
                              doc, nullptr, &error));
        QTextImageFormat img;
        for (auto it = doc.body()->begin().begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                img = it.fragment().charFormat().toImageFormat();
        QCOMPARE(qRound(img.width() * 10), 6425);
        QCOMPARE(qRound(img.height() * 10), 6425);
        Paginator pages(&doc);
        QCOMPARE(pages.pageCount(), 1);
    }

    // A row of 5,000 cells would run off the page: it becomes one line of text.
    void wideRowBecomesText()
    {
        QByteArray cells;
        QStringList expected;
        for (int c = 0; c < 5000; ++c) {
            cells += "<cell row=\"0\" column=\"" + QByteArray::number(c) + "\"><p><r>z" + QByteArray::number(c) + "</r></p></cell>";
            expected << QStringLiteral("z%1").arg(c);
        }
        Document doc;
        QString error;
        QVERIFY2(Formats::read(3, own("<p><r>vorher</r></p><table rows=\"1\" columns=\"5000\">" + cells + "</table><p><r>nachher</r></p>"), doc,
                               nullptr, &error),
                 qPrintable(error));
        QVERIFY(!firstTable(doc.body()));
        QCOMPARE(doc.body()->toPlainText(), QStringLiteral("vorher\n") + expected.join(QLatin1Char('\t')) + QStringLiteral("\nnachher"));
    }

    // Devices and pipes as pictures: an HTML picture and a picture name of the own format.
    void picturesFromDevicesAndPipesAreEmpty()
    {
        QTemporaryDir dir;
        const QString pipe = dir.filePath(QStringLiteral("bild.png"));
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        const QByteArray html = "<p>a<img src=\"/dev/zero\">b<img src=\"" + QFile::encodeName(pipe) + "\">c</p>";
        Document doc;
        QString error;
        QVERIFY(Formats::read(4, html, doc, nullptr, &error));
        Paginator pages(&doc);
        QCOMPARE(pages.pageCount(), 1);
        QVERIFY(!pages.renderPage(1).isNull());
        const QImage zero = doc.body()->resource(QTextDocument::ImageResource, QUrl(QStringLiteral("/dev/zero"))).value<QImage>();
        QCOMPARE(zero.size(), QSize(16, 16)); // the grey box drawn for a missing picture

        const QByteArray ownImage = charFormat(prop("objectType", "int", "1") + prop("imageName", "string", "/dev/zero"));
        Document fromOwn;
        QVERIFY2(Formats::read(3, own(ownImage + "<p><r format=\"1\">\xEF\xBF\xBC</r></p>"), fromOwn, nullptr, &error),
                 qPrintable(error));
        QVERIFY(!Paginator(&fromOwn).renderPage(1).isNull());

        QString why;
        QVERIFY(InputFile::readPicture(pipe, &why).isNull());
        QCOMPARE(why, QStringLiteral("Die Datei \"%1\" kann nicht geöffnet werden: Sie ist keine gewöhnliche Datei, "
                                     "sondern ein Gerät oder eine Pipe.").arg(pipe));
    }

    void onlyRegularFilesOfSensibleSizeAreRead_data()
    {
        addColumns<QString, QString>("path", "cause");
        QTest::newRow("device") << "/dev/zero" << "Sie ist keine gewöhnliche Datei, sondern ein Gerät oder eine Pipe.";
        QTest::newRow("folder") << "/tmp" << "Unter diesem Namen gibt es einen Ordner, keine Datei.";
        QTest::newRow("missing") << "/gibt/es/nicht.txt" << "Die Datei existiert nicht.";
        QTest::newRow("sparse 300 MB") << "sparse" << "Sie ist größer als 256 MB.";
        QTest::newRow("symlink loop") << "loop" << "Der Pfad enthält zu viele symbolische Verknüpfungen (vermutlich eine Schleife).";
    }
    void onlyRegularFilesOfSensibleSizeAreRead()
    {
        QFETCH(QString, path);
        QTemporaryDir dir;
        if (path == u"sparse") {
            path = dir.filePath(QStringLiteral("gross.txt"));
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(300LL * 1024 * 1024));
        } else if (path == u"loop") {
            path = dir.filePath(QStringLiteral("a"));
            QVERIFY(QFile::link(dir.filePath(QStringLiteral("b")), path));
            QVERIFY(QFile::link(path, dir.filePath(QStringLiteral("b"))));
        }
        Document doc;
        QString error;
        QVERIFY(!Formats::readFile(1, path, 0, doc, nullptr, &error));
        QFETCH(QString, cause);
        QCOMPARE(error, QStringLiteral("Die Datei \"%1\" kann nicht geöffnet werden: %2").arg(path, cause));
    }

    // What older editors save as "Unicode", a stray NUL byte, and cut-off files, which
    // give what they hold up to the cut and say so.
    void readWithTheirNotes_data()
    {
        addColumns<int, QByteArray, QString, QString>("format", "data", "text", "note");
        const QString g = QStringLiteral("Grüße"), noNote;
        const QString nul = QStringLiteral("Die Datei enthielt Nullzeichen; sie wurden entfernt.");
        const QString cut = QStringLiteral("Die Datei ist unvollständig, vermutlich wurde sie abgeschnitten. Geöffnet wurde, "
                                           "was lesbar war; bitte prüfen Sie das Dokument, bevor Sie es speichern.");
        QTest::newRow("text utf-16 le") << 1 << QByteArray("\xFF\xFEG\0r\0\xFC\0\xDF\0e\0", 12) << g << noNote;
        QTest::newRow("text utf-16 be") << 1 << QByteArray("\xFE\xFF\0G\0r\0\xFC\0\xDF\0e", 12) << g << noNote;
        QTest::newRow("text utf-32 le") << 1 << QByteArray("\xFF\xFE\0\0G\0\0\0r\0\0\0\xFC\0\0\0\xDF\0\0\0e\0\0\0", 24) << g << noNote;
        QTest::newRow("text utf-8 bom") << 1 << QByteArray("\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F" "e") << g << noNote;
        QTest::newRow("text nul") << 1 << QByteArray("Gr\xC3\xBC\0\xC3\x9F" "e", 8) << g << nul;
        QTest::newRow("html utf-16 le") << 4 << QByteArray("\xFF\xFE<\0p\0>\0G\0r\0\xFC\0\xDF\0e\0", 18) << g << noNote;
        QTest::newRow("html nul") << 4 << QByteArray("<p>Gr\xC3\xBC\0\xC3\x9F" "e</p>", 15) << g << nul;
        QTest::newRow("rtf cut") << 5 << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}Hallo\\par {\\b fe") << "Hallo\nfe" << cut;
        // The run cut in the middle is lost, the paragraphs before it stay.
        QTest::newRow("own cut") << 3 << QByteArray("<textdocument version=\"1\"><body><formats/><p><r>Hallo</r></p><p><r format=\"0\">Wel") << "Hallo" << cut;
        QTest::newRow("own cut in a table")
            << 3 << QByteArray("<textdocument version=\"1\"><body><table rows=\"2\" columns=\"1\">"
                               "<cell row=\"0\" column=\"0\"><p><r>eins</r></p></cell><cell row=\"1\" co")
            << "eins" << cut;
    }
    void readWithTheirNotes()
    {
        QFETCH(int, format);
        QFETCH(QByteArray, data);
        Document doc;
        QString error, note;
        QVERIFY2(Formats::read(format, data, doc, nullptr, &error, &note), qPrintable(error));
        QTEST(doc.body()->toPlainText().trimmed(), "text");
        QTEST(note, "note");
    }

    // Qt renumbers a whole list for every item it adds, and walks all frames for every
    // frame: long lists are cut into lists of 500, frames and tables past 1,000 are
    // flattened. Bullets look the same; numbers past 500 become text; every paragraph stays.
    void longListsAndManyFramesKeepTheirText_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QByteArray>("bulletList");
        QTest::addColumn<QByteArray>("numberList");
        QTest::newRow("html") << 4 << "<ul>" + QByteArray("<li>Punkt</li>").repeated(1200) + "</ul>"
                              << "<ol>" + QByteArray("<li>Punkt</li>").repeated(1200) + "</ol>";
        QTest::newRow("own") << 3 << own(QByteArray("<p list=\"1\"><r>Punkt</r></p>").repeated(1200))
                             << own("<formats><format id=\"1\" type=\"3\">" + prop("listStyle", "int", "-4") + "</format></formats>"
                                    + QByteArray("<p list=\"1\" listFormat=\"1\"><r>Punkt</r></p>").repeated(1200));
        QTest::newRow("rtf") << 5 << "{\\rtf1 " + QByteArray("\\pard{\\*\\pn\\pnlvlblt}Punkt\\par ").repeated(1200) + "}"
                             << "{\\rtf1 " + QByteArray("\\pard{\\*\\pn\\pndec}Punkt\\par ").repeated(1200) + "}";
    }
    void longListsAndManyFramesKeepTheirText()
    {
        QFETCH(int, format);
        QFETCH(QByteArray, bulletList);
        QFETCH(QByteArray, numberList);
        Document bullets;
        QString error;
        QVERIFY2(Formats::read(format, bulletList, bullets, nullptr, &error), qPrintable(error));
        QSet<QTextList*> lists;
        int items = 0;
        for (QTextBlock b = bullets.body()->begin(); b.isValid(); b = b.next()) {
            if (b.text().isEmpty() && !b.next().isValid())
                break; // the empty paragraph after the last \par
            QVERIFY(b.textList());
            QCOMPARE(b.textList()->format().style(), QTextListFormat::ListDisc);
            QCOMPARE(b.text(), QStringLiteral("Punkt"));
            lists.insert(b.textList());
            ++items;
        }
        QCOMPARE(items, 1200);
        QCOMPARE(lists.size(), 3);

        Document numbers;
        QVERIFY(Formats::read(format, numberList, numbers, nullptr, &error));
        const QString text = numbers.body()->toPlainText();
        QCOMPARE(text.count(QStringLiteral("Punkt")), 1200);
        QVERIFY(text.contains(QStringLiteral("501. Punkt")));
        QVERIFY(text.contains(QStringLiteral("1200. Punkt")));
        QVERIFY(!text.contains(QStringLiteral("500. Punkt"))); // still numbered by the list
        QCOMPARE(numbers.body()->begin().textList()->count(), 500);
        QCOMPARE(numbers.body()->findBlockByNumber(1199).text(), QStringLiteral("1200. Punkt"));
        if (format != 4)
            return;
        QCOMPARE(numbers.body()->blockCount(), 1200);

        Document frames;
        QVERIFY(Formats::read(3, own(QByteArray("<frame><p><r>Rahmen</r></p></frame>").repeated(1500)), frames, nullptr, &error));
        QCOMPARE(frames.body()->toPlainText().count(QStringLiteral("Rahmen")), 1500);
        QCOMPARE(frames.body()->rootFrame()->childFrames().size(), 1000);

        Document tables;
        QVERIFY(Formats::read(4, QByteArray("<table><tr><td>Zelle</td></tr></table>").repeated(1500), tables, nullptr, &error));
        QCOMPARE(tables.body()->toPlainText().count(QStringLiteral("Zelle")), 1500);
        QCOMPARE(tables.body()->rootFrame()->childFrames().size(), 1000);
    }

    // Nesting deeper than a page can show loses tags, never text.
    void deepHtmlKeepsItsText_data()
    {
        addColumns<QByteArray, int>("html", "paragraphs");
        QTest::newRow("100,000 <b>") << QByteArray("<b>").repeated(100000) + "Text" + QByteArray("</b>").repeated(100000) << 1;
        QTest::newRow("100,000 <div>") << QByteArray("<div>").repeated(100000) + "Text" << 1;
        QTest::newRow("10,000 <ul><li>") << QByteArray("<ul><li>Text").repeated(10000) << 10000;
    }
    void deepHtmlKeepsItsText()
    {
        QFETCH(QByteArray, html);
        Document doc;
        QString error;
        QVERIFY(Formats::read(4, html, doc, nullptr, &error));
        const QString text = doc.body()->toPlainText();
        QTEST(int(text.count(QStringLiteral("Text"))), "paragraphs");
        // Every paragraph starts inside the text area (from 75.6 px to 718.1 px on A4).
        QAbstractTextDocumentLayout* layout = doc.body()->documentLayout();
        layout->documentSize();
        for (QTextBlock b = doc.body()->begin(); b.isValid(); b = b.next()) {
            if (!b.layout() || b.layout()->lineCount() == 0)
                continue;
            const double x = layout->blockBoundingRect(b).x() + b.layout()->lineAt(0).x();
            QVERIFY2(x < 700, qPrintable(QString::number(x)));
        }
    }
};

QTEST_MAIN(TestBadInputs)
#include "tst_badinputs.moc"
