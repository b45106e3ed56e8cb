// Lists and tab stops as other office programs write them and as our own files carry
// them: multi-level numbers that go on counting after a sub-list, list indents, decimal
// and leader tabs.

#include "FormatTestSupport.h"
#include "PdfText.h"
#include "TestCommon.h"
#include "engine/Document.h"
#include "engine/objects/Lists.h"
#include "engine/objects/TabStops.h"
#include "engine/pages/Paginator.h"
#include "engine/pages/PdfExport.h"
#include "engine/formats/Formats.h"

#include <QTextList>

namespace {

QString fixture(const char* name) { return qxSourceDir() + QStringLiteral("/tests/engine/data/") + QLatin1String(name); }

constexpr double PtPerMm = 72 / 25.4;

bool exportPdf(const Document& doc, const QString& path)
{
    QString error;
    return PdfExport::exportPdf(doc, path, &error);
}

// Numbered items "Eins", "Unter" one level down, "Zwei", made with the list commands:
// the text of the first level starts 360 twips right of the margin, the second 720.
void ownLevels(Document& doc)
{
    QTextCursor c(doc.body());
    QTextCharFormat text;
    text.setFontFamilies({QStringLiteral("Liberation Sans")});
    text.setFontPointSize(12);
    c.insertText(QStringLiteral("Eins"), text);
    c.insertBlock();
    c.insertText(QStringLiteral("Unter"), text);
    c.insertBlock();
    c.insertText(QStringLiteral("Zwei"), text);
    Lists::State state;
    c.select(QTextCursor::Document);
    Lists::setListType(c, Lists::Numbers, state);
    QTextCursor sub(doc.body()->findBlockByNumber(1));
    Lists::changeLevel(sub, state, 1);
}

} // namespace

class TestOfficeLists : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    // Lists, headings and tabs as office programs write them in RTF.
    void rtfListsHeadingsTabs()
    {
        const QByteArray rtf =
            "{\\rtf1\\ansi\\deff0\\deftab709\\margl1134{\\fonttbl{\\f0 Liberation Sans;}}"
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
            "\\pard\\plain Vor\\tab Nach\\par"
            "\\pard\\plain\\tqdec\\tx2835\\tqr\\tldot\\tx8505 Betrag\\tab 12,50\\tab Ende\\par"
            "\\pard\\plain\\brdrb\\brdrs\\brdrw10\\brsp20\\fs8\\par"
            "\\pard\\plain\\fs40\\par"
            "}";
        Document doc;
        QString error;
        QVERIFY2(Formats::read(5, rtf, doc, nullptr, &error), qPrintable(error));
        QCOMPARE(FormatTest::listLabels(doc.body()),
                 QStringLiteral("- Kapitel eins|- Abschnitt|1. Erstens|1.1. Unterpunkt a|1.2. Unterpunkt b|2. Zweitens|"
                                "2.1. Unterpunkt c|\u2022 Punkt|- Ohne Nummer|- Vor\tNach|- Betrag\t12,50\tEnde|- |- "));
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
        const PdfWord* amount = pdfWord(pages, 1, QStringLiteral("12,50"));
        QVERIFY(amount);
        const double margin = doc.page().marginL / 20.0;
        QVERIFY2(amount->xMin < margin + 2835 / 20.0 && amount->xMax > margin + 2835 / 20.0 + 5,
                 qPrintable(QString::number(amount->xMin)));
        // A tab without stops goes to the file's default stop, 1.25 cm (92.15 pt from the edge).
        const PdfWord* after = pdfWord(pages, 1, QStringLiteral("Nach"));
        QVERIFY(after);
        QVERIFY2(qAbs(after->xMin - 92.15) < 1, qPrintable(QString::number(after->xMin)));
    }

    // A three-level list from RTF: an item put before the first renumbers the sub-lists
    // under the items that moved, on paper too, as one undo step; the files keep the
    // numbers, and the own format, HTML and RTF keep them following.
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
        for (int format : {3, 4, 5, 13, 14}) {
            QByteArray bytes;
            QVERIFY2(Formats::write(format, doc, nullptr, &bytes, &error), qPrintable(error));
            Document back;
            QVERIFY2(Formats::read(format, bytes, back, nullptr, &error), qPrintable(error));
            QVERIFY2(FormatTest::listLabels(back.body()) == after, qPrintable(QString::number(format) + u' ' + FormatTest::listLabels(back.body())));
            if (format != 3 && format != 4 && format != 5)
                continue;
            QTextCursor first(back.body());
            first.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
            first.removeSelectedText();
            QVERIFY2(FormatTest::listLabels(back.body()) == before, qPrintable(QString::number(format) + u' ' + FormatTest::listLabels(back.body())));
        }
    }


    // Sub-lists in HTML as other office suites write them, inside the parent's item or
    // beside it: the outer list goes on counting, and numbered items under a numbered
    // one show its number; bullets under a number stay bullets.
    void htmlListsFromOtherSuites_data()
    {
        QTest::addColumn<QByteArray>("html");
        QTest::addColumn<QString>("labels");
        const QString levels = QStringLiteral("1. Eins|1.1. Unter|1.2. Daneben|2. Zwei|2.1. Drunter|3. Drei");
        QTest::newRow("inside the item, items left open")
            << QByteArray("<html><body>\n<ol>\n\t<li><p>Eins</p>\n\t<ol>\n\t\t<li><p>Unter</p>\n\t\t<li><p>Daneben</p>\n\t</ol>\n"
                          "\t<li><p>Zwei</p>\n\t<ol>\n\t\t<li><p>Drunter</p>\n\t</ol>\n\t<li><p>Drei</p>\n</ol>\n</body></html>")
            << levels;
        QTest::newRow("beside the item")
            << QByteArray("<ol><li>Eins</li><ol><li>Unter</li><li>Daneben</li></ol><li>Zwei</li><ol><li>Drunter</li></ol>"
                          "<li>Drei</li></ol>")
            << levels;
        QTest::newRow("bullets under a number")
            << QByteArray("<ol><li>Eins<ul><li>Punkt</li></ul></li><li>Zwei</li></ol>") << QStringLiteral("1. Eins|\u2022 Punkt|2. Zwei");
    }
    void htmlListsFromOtherSuites()
    {
        QFETCH(QByteArray, html);
        QFETCH(QString, labels);
        Document doc;
        QString error;
        QVERIFY2(Formats::read(4, html, doc, nullptr, &error), qPrintable(error));
        QCOMPARE(FormatTest::listLabels(doc.body()), labels);
    }

    // Numbers an HTML list gives itself (<ol start>, <li value>): a list that goes on from
    // the one before joins it; numbers no list can show stand before the items' text, said
    // in a note.
    void htmlListNumbersFromTheFile_data()
    {
        QTest::addColumn<QByteArray>("html");
        QTest::addColumn<QString>("labels");
        QTest::addColumn<bool>("noted");
        QTest::newRow("goes on after a paragraph")
            << QByteArray("<ol><li>Eins</li><li>Zwei</li></ol><p>Zwischen</p><ol start=\"3\"><li>Drei</li><li>Vier</li></ol>")
            << QStringLiteral("1. Eins|2. Zwei|- Zwischen|3. Drei|4. Vier") << false;
        QTest::newRow("items in paragraphs, start in single quotes")
            << QByteArray("<ol>\n <li>\n  <p>Eins</p></li></ol>\n<p>Zwischen</p><OL START='2'>\n <LI>\n  <P>Zwei</P></LI></OL>")
            << QStringLiteral("1. Eins|- Zwischen|2. Zwei") << false;
        QTest::newRow("starts at five")
            << QByteArray("<ol start=\"5\"><li>Fünf</li><li>Sechs</li></ol>") << QStringLiteral("- 5. Fünf|- 6. Sechs") << true;
        QTest::newRow("letters from c") << QByteArray("<ol type=\"a\" start=\"3\"><li>Cäsar</li></ol>") << QStringLiteral("- c. Cäsar") << true;
        QTest::newRow("a value in the middle") << QByteArray("<ol><li>Eins</li><li value=\"7\">Sieben</li><li>Acht</li></ol>")
                                               << QStringLiteral("1. Eins|- 7. Sieben|- 8. Acht") << true;
        QTest::newRow("after a list of letters") << QByteArray("<ol type=\"a\"><li>Anton</li></ol><ol start=\"2\"><li>Zwei</li></ol>")
                                                 << QStringLiteral("a. Anton|- 2. Zwei") << true;
        QTest::newRow("bullets") << QByteArray("<ul><li value=\"4\">Punkt</li></ul><p data-start=\"3\">Text</p>")
                                 << QStringLiteral("\u2022 Punkt|- Text") << false;
    }
    void htmlListNumbersFromTheFile()
    {
        QFETCH(QByteArray, html);
        QFETCH(QString, labels);
        QFETCH(bool, noted);
        Document doc;
        QString error, note;
        QVERIFY2(Formats::read(4, html, doc, nullptr, &error, &note), qPrintable(error));
        QCOMPARE(FormatTest::listLabels(doc.body()), labels);
        QCOMPARE(note.contains(QStringLiteral("Nummerierte Listen, die nicht bei 1 beginnen")), noted);
    }

    // Through HTML, a list that goes on after a paragraph (written to start at 3) keeps
    // counting, and a Word list's levels (not Qt's indents) keep their parent numbers.
    void listsThroughHtml()
    {
        Document own;
        QTextCursor c(own.body());
        c.insertText(QStringLiteral("Eins"));
        QTextList* list = c.createList(QTextListFormat::ListDecimal);
        c.insertBlock();
        list->remove(c.block());
        c.insertText(QStringLiteral("Zwischen"));
        c.insertBlock();
        list->add(c.block());
        c.insertText(QStringLiteral("Zwei"));
        const QByteArray docx = FormatTest::zip({{QStringLiteral("_rels/.rels"), FormatTest::fixture("docx-package.rels")},
                                                 {QStringLiteral("word/_rels/document.xml.rels"), FormatTest::fixture("docx-document.xml.rels")},
                                                 {QStringLiteral("word/document.xml"), FormatTest::fixture("docx-liste.xml")},
                                                 {QStringLiteral("word/numbering.xml"), FormatTest::fixture("docx-liste-numbering.xml")}});
        Document word;
        QString error;
        QVERIFY2(Formats::read(13, docx, word, nullptr, &error), qPrintable(error));
        for (const auto& [doc, labels] : {std::pair<Document*, QString>{&own, QStringLiteral("1. Eins|- Zwischen|2. Zwei")},
                                          {&word, QStringLiteral("1. Eins|1.1. Unter|2. Zwei|2.1. Drunter")}}) {
            QCOMPARE(FormatTest::listLabels(doc->body()), labels);
            QByteArray html;
            QVERIFY2(Formats::write(4, *doc, nullptr, &html, &error), qPrintable(error));
            QCOMPARE(html.count("start="), doc == &own ? 1 : 0);
            Document back;
            QVERIFY2(Formats::read(4, html, back, nullptr, &error), qPrintable(error));
            QCOMPARE(FormatTest::listLabels(back.body()), labels);
        }
    }

    // Lists made here keep their numbers and their indents through RTF and HTML: the
    // first level's text 360 twips (6.35 mm) right of the 20 mm margin, the second 720
    // (12.7 mm); the outer list counts on after the sub-list.
    void ownListLevelsStayInPlace_data()
    {
        QTest::addColumn<int>("format");
        QTest::newRow("RTF") << 5;
        QTest::newRow("HTML") << 4;
    }
    void ownListLevelsStayInPlace()
    {
        QFETCH(int, format);
        Document own;
        ownLevels(own);
        QCOMPARE(FormatTest::listLabels(own.body()), QStringLiteral("1. Eins|1. Unter|2. Zwei"));
        QByteArray bytes;
        QString error;
        QVERIFY2(Formats::write(format, own, nullptr, &bytes, &error), qPrintable(error));
        Document back;
        QVERIFY2(Formats::read(format, bytes, back, nullptr, &error), qPrintable(error));
        QCOMPARE(FormatTest::listLabels(back.body()), QStringLiteral("1. Eins|1. Unter|2. Zwei"));
        const QString pdf = dir.filePath(QStringLiteral("ebenen%1.pdf").arg(format));
        QVERIFY(exportPdf(back, pdf));
        const QList<PdfPage> pages = pdfWordBoxes(pdf);
        for (const auto& [text, mm] : {std::pair{"Eins", 26.35}, {"Unter", 32.7}, {"Zwei", 26.35}}) {
            const PdfWord* w = pdfWord(pages, 1, QLatin1String(text));
            QVERIFY2(w, text);
            QVERIFY2(qAbs(w->xMin / PtPerMm - mm) < 0.3, qPrintable(QStringLiteral("%1 at %2 mm").arg(QLatin1String(text)).arg(w->xMin / PtPerMm)));
        }
    }

    // An RTF list item's text starts at its \li, as in the program that wrote it:
    // 720 and 1440 twips, 12.7 and 25.4 mm right of the 20 mm margin.
    void rtfListTextAtItsIndent()
    {
        const QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Liberation Sans;}}\\margl1134"
                               "{\\*\\listtable{\\list\\listtemplateid1{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}}"
                               "{\\listlevel\\levelnfc4{\\leveltext\\'02\\'01);}{\\levelnumbers\\'01;}}\\listid1}}"
                               "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}"
                               "\\pard\\ls1\\ilvl0\\li720\\fi-360\\fs24 Oben\\par"
                               "\\pard\\ls1\\ilvl1\\li1440\\fi-360\\fs24 Innen\\par"
                               "\\pard\\ls1\\ilvl0\\li720\\fi-360\\fs24 Unten\\par}";
        Document doc;
        QString error;
        QVERIFY2(Formats::read(5, rtf, doc, nullptr, &error), qPrintable(error));
        QCOMPARE(FormatTest::listLabels(doc.body()), QStringLiteral("1. Oben|a) Innen|2. Unten"));
        const QString pdf = dir.filePath(QStringLiteral("einzug.pdf"));
        QVERIFY(exportPdf(doc, pdf));
        const QList<PdfPage> pages = pdfWordBoxes(pdf);
        for (const auto& [text, mm] : {std::pair{"Oben", 32.7}, {"Innen", 45.4}, {"Unten", 32.7}}) {
            const PdfWord* w = pdfWord(pages, 1, QLatin1String(text));
            QVERIFY2(w, text);
            QVERIFY2(qAbs(w->xMin / PtPerMm - mm) < 0.3, qPrintable(QStringLiteral("%1 at %2 mm").arg(QLatin1String(text)).arg(w->xMin / PtPerMm)));
        }
    }
};

QTEST_MAIN(TestOfficeLists)
#include "tst_officelists.moc"
