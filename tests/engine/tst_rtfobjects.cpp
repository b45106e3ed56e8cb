// RTF as other office suites write it: footnotes and endnotes, a positioned address
// frame, a text box, shape pictures and sections with their own page format. The
// fixtures are converted to PDF and read back with pdftotext -bbox; positions are the
// ones the RTF states, in millimetres.

#include "FormatTestSupport.h"
#include "PdfText.h"
#include "Pixels.h"

#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "engine/pages/Paginator.h"
#include "engine/pages/PdfExport.h"
#include "engine/formats/Formats.h"

#include <QProcess>
#include <QRegularExpression>
#include "TestCommon.h"

using namespace FormatTest;

namespace {

constexpr double kPtPerMm = 72 / 25.4;
// A red PNG of 40 x 20 pixels, in hex.
constexpr const char* kRedPng = "89504e470d0a1a0a0000000d49484452000000280000001408020000007024e8ec000000244944415478da6378c6c030208861d4e2518b472d1eb578d4e2518b472d1eb578e4580c00d6eccedf283e00820000000049454e44ae426082";

bool readRtf(const QByteArray& rtf, Document& doc, QString* note = nullptr)
{
    QString error;
    const bool ok = Formats::read(5, rtf, doc, nullptr, &error, note);
    if (!ok)
        qWarning() << error;
    return ok;
}

QList<PdfPage> toPdf(Document& doc, const QTemporaryDir& dir)
{
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    QString error;
    if (!PdfExport::exportPdf(doc, pdf, &error))
        qWarning() << error;
    return pdfWordBoxes(pdf);
}

// Words of a page that equal `text`.
QList<PdfWord> find(const PdfPage& page, const QString& text)
{
    QList<PdfWord> out;
    for (const PdfWord& w : page.words)
        if (w.text == text)
            out << w;
    return out;
}

int countEverywhere(const QList<PdfPage>& pages, const QString& text)
{
    int n = 0;
    for (const PdfPage& p : pages)
        n += int(find(p, text).size());
    return n;
}

// The fixed anchors of the body: position and size in twips, and a text box's text.
QStringList placedObjects(const QTextDocument* d)
{
    using namespace EngineProperty;
    QStringList out;
    for (QTextBlock b = d->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (f.objectType() != EngineObject::FixedImage)
                continue;
            QString text;
            if (f.hasProperty(TextBoxHtml)) {
                QTextDocument box;
                box.setHtml(f.stringProperty(TextBoxHtml));
                text = box.toPlainText().replace(QLatin1Char('\n'), QLatin1Char('|'));
            }
            out << QStringLiteral("%1,%2 %3x%4 %5")
                       .arg(f.intProperty(ImagePosX))
                       .arg(f.intProperty(ImagePosY))
                       .arg(f.intProperty(ImageWidth))
                       .arg(f.intProperty(ImageHeight))
                       .arg(text.isEmpty() ? QStringLiteral("Bild") : text);
        }
    return out;
}

// Whether the page (254 dpi, 10 pixels to the millimetre) is dark on the left edge of
// a box at 1000 twips (17.6 mm), halfway down its height (1500 twips, 26.5 mm).
bool darkOnLeftEdge(const QImage& page)
{
    for (int x = 170; x <= 182; ++x)
        if (qGray(page.pixel(x, 265)) < 128)
            return true;
    return false;
}

} // namespace

class TestRtfObjects : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        if (!havePdfToText())
            QSKIP("pdftotext (poppler-utils) is not installed");
    }

    // A letter with an address frame, a text box, a logo, notes and an inline picture.
    void letterKeepsFrameBoxPictureAndNotes()
    {
        Document doc;
        QString note;
        QVERIFY(readRtf(fixture("buero-brief.rtf"), doc, &note));
        QVERIFY2(note.contains(QStringLiteral("Fuß- und Endnoten wurden als Text am Ende des Dokuments übernommen.")), qPrintable(note));
        QVERIFY2(note.contains(QStringLiteral("Textrahmen wurden an ihrer Stelle auf der Seite übernommen")), qPrintable(note));

        // Marks and notes: the footnote numbered 1, the endnote i (the suite's default).
        const QString text = doc.body()->toPlainText();
        QVERIFY2(text.contains(QStringLiteral("Wie besprochen1 senden wir Ihnen unser Angebot. Die Preisei gelten bis Juni.")), qPrintable(text));
        QVERIFY2(text.endsWith(QStringLiteral("Mit freundlichen Grüßen\n1 Fussnotentext vom Mai.\ni Endnotentext Versand.")), qPrintable(text));

        QTemporaryDir dir;
        const QList<PdfPage> pages = toPdf(doc, dir);
        QCOMPARE(pages.size(), 1);
        const PdfPage& p = pages.first();
        for (const char* word : {"Beispiel", "Kopfzeile", "Herrn", "Max", "Mustermann", "Hauptstraße", "12345", "Musterstadt",
                                 "Ihr", "AB-17", "Datum:", "Betreff:", "4711", "Wie", "Angebot.", "Juni.", "Unser",
                                 "freundlichen", "Grüßen", "Fussnotentext", "Endnotentext", "Versand."})
            QVERIFY2(find(p, QString::fromUtf8(word)).size() == 1, word);
        // The fallback copies of the shapes (\shprslt) are not read as well.
        QCOMPARE(countEverywhere(pages, QStringLiteral("Datum:")), 1);

        // The address frame: \phpg\pvpg\posx1417\posy2552, 25.0 mm and 45.0 mm.
        const PdfWord herrn = find(p, QStringLiteral("Herrn")).value(0);
        QVERIFY2(qAbs(herrn.xMin / kPtPerMm - 25.0) < 1, qPrintable(QString::number(herrn.xMin / kPtPerMm)));
        QVERIFY2(qAbs(herrn.yMin / kPtPerMm - 45.0) < 1, qPrintable(QString::number(herrn.yMin / kPtPerMm)));
        const PdfWord city = find(p, QStringLiteral("Musterstadt")).value(0);
        QVERIFY(city.yMin > herrn.yMin + 3 * 11 && city.yMax < 90 * kPtPerMm);
        // The text box: \shpleft7371\shptop2552 plus the default insets of 0.1 and
        // 0.05 inch, 132.6 mm and 46.3 mm.
        const PdfWord ihr = find(p, QStringLiteral("Ihr")).value(0);
        QVERIFY2(qAbs(ihr.xMin / kPtPerMm - 132.6) < 1, qPrintable(QString::number(ihr.xMin / kPtPerMm)));
        QVERIFY2(qAbs(ihr.yMin / kPtPerMm - 46.3) < 1, qPrintable(QString::number(ihr.yMin / kPtPerMm)));
        // The body starts 80 mm (\sb4536) below the top margin of 20 mm; the notes
        // follow the closing.
        const PdfWord subject = find(p, QStringLiteral("Betreff:")).value(0);
        QVERIFY2(qAbs(subject.yMin / kPtPerMm - 100.0) < 1.5, qPrintable(QString::number(subject.yMin / kPtPerMm)));
        QVERIFY(find(p, QStringLiteral("Fussnotentext")).value(0).yMin > find(p, QStringLiteral("Grüßen")).value(0).yMax);

        // The logo: 20 x 10 mm at 170 mm, 10 mm; red pixels of the page at 254 dpi (10 per mm).
        Paginator pager(&doc);
        const QImage page = pager.renderPage(1, 254);
        const QRect red = pixelBox(page, [](const QColor& c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; });
        QVERIFY2(qAbs(red.left() - 1700) <= 10 && qAbs(red.top() - 100) <= 10, qPrintable(QStringLiteral("%1,%2").arg(red.left()).arg(red.top())));
        QVERIFY2(qAbs(red.width() - 200) <= 10 && qAbs(red.height() - 100) <= 10, qPrintable(QStringLiteral("%1x%2").arg(red.width()).arg(red.height())));
        // The inline picture: the PNG of \shppict (5.3 mm square), not the metafile.
        int inlinePictures = 0;
        for (QTextBlock b = doc.body()->begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it)
                if (it.fragment().charFormat().isImageFormat()) {
                    ++inlinePictures;
                    QCOMPARE(qRound(it.fragment().charFormat().toImageFormat().width()), 20);
                }
        QCOMPARE(inlinePictures, 1);
    }

    // Own → RTF → own: frame, text box and logo keep their places and texts.
    void placedObjectsSurviveRoundTrips()
    {
        Document doc;
        QVERIFY(readRtf(fixture("buero-brief.rtf"), doc));
        const QStringList expected{
            QStringLiteral("1417,2552 4820x2552 Herrn|Max Mustermann|Hauptstraße 12|12345 Musterstadt"),
            QStringLiteral("7371,2552 3402x1417 Ihr Zeichen: AB-17|Datum: 12. Mai 2026"),
            QStringLiteral("9638,567 1134x567 Bild"),
        };
        QStringList objects = placedObjects(doc.body());
        objects.sort();
        QCOMPARE(objects, expected);

        QByteArray own, rtf;
        QString error;
        QVERIFY2(Formats::write(3, doc, nullptr, &own, &error), qPrintable(error));
        Document fromOwn;
        QVERIFY2(Formats::read(3, own, fromOwn, nullptr, &error), qPrintable(error));
        QVERIFY2(Formats::write(5, fromOwn, nullptr, &rtf, &error), qPrintable(error));
        Document back;
        QVERIFY(readRtf(rtf, back));
        objects = placedObjects(back.body());
        objects.sort();
        QCOMPARE(objects, expected);
        QCOMPARE(back.body()->toPlainText(), doc.body()->toPlainText());
        // Formats without page positions keep the boxes' text at their anchors.
        for (int format : {1, 4, 13, 14}) {
            QByteArray bytes;
            QVERIFY2(Formats::write(format, doc, nullptr, &bytes, &error), qPrintable(error));
            Document other;
            QVERIFY2(Formats::read(format, bytes, other, nullptr, &error), qPrintable(error));
            const QString text = other.body()->toPlainText();
            for (const char* line : {"12345 Musterstadt", "Ihr Zeichen: AB-17", "Datum: 12. Mai 2026"})
                QVERIFY2(text.contains(QLatin1String(line)), qPrintable(QStringLiteral("%1: %2").arg(format).arg(text)));
        }
        // Page positions come back through the PDF as well.
        QTemporaryDir dir;
        const QList<PdfPage> pages = toPdf(back, dir);
        QCOMPARE(pages.size(), 1);
        const PdfWord herrn = find(pages[0], QStringLiteral("Herrn")).value(0);
        QVERIFY(qAbs(herrn.xMin / kPtPerMm - 25.0) < 1 && qAbs(herrn.yMin / kPtPerMm - 45.0) < 1);
    }

    // Sections: portrait with a title page, a landscape appendix with a wide table and
    // its own header, a portrait end and a continuous section that stays on its page.
    void sectionsStartPagesInTheirOwnFormat()
    {
        Document doc;
        QString note;
        QVERIFY(readRtf(fixture("buero-abschnitte.rtf"), doc, &note));
        QVERIFY2(!note.contains(QStringLiteral("Abschnitt")), qPrintable(note));
        QCOMPARE(doc.page().width, 11906);
        QCOMPARE(doc.page().height, 16838);

        QTemporaryDir dir;
        const QList<PdfPage> pages = toPdf(doc, dir);
        QCOMPARE(pages.size(), 4);
        const QList<QStringList> expected{
            {"Titelkopf", "Deckblatt", "Erster", "Abschnitt", "Deckblatt"},
            {"Kopf", "Hochformat", "Erster", "Abschnitt", "Folgeseite"},
            {"Kopf", "Querformat", "Anlage", "Querformat", "Anlage", "Tabelle", "Artikelnummer", "Bezeichnung", "Menge",
             "Einzelpreis", "Gesamtpreis", "A-100", "Schrauben", "500", "0,10", "Summe50", "Ende", "der", "Anlage"},
            {"Kopf", "Hochformat", "Dritter", "Abschnitt", "Schluss", "Fortlaufend", "ohne", "Umbruch"},
        };
        // Every word on its page and nothing else (in any order: columns are read apart).
        for (int i = 0; i < 4; ++i) {
            QStringList words, want = expected[i];
            for (const PdfWord& w : pages[i].words)
                words << w.text;
            words.sort();
            want.sort();
            QCOMPARE(words, want);
        }
        // A4 in points, the appendix turned.
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(qRound(pages[i].width), i == 2 ? 842 : 595);
            QCOMPARE(qRound(pages[i].height), i == 2 ? 595 : 842);
        }
        // Headers stay above the top margin (25 mm); the table's last column stays
        // inside the right margin (25 mm of a 297 mm page), beyond a portrait page's width.
        for (int i = 1; i < 4; ++i)
            QVERIFY(find(pages[i], QStringLiteral("Kopf")).value(0).yMax < 25 * kPtPerMm);
        QVERIFY(find(pages[2], QStringLiteral("Tabelle")).value(0).yMin > 20 * kPtPerMm);
        for (const char* last : {"Gesamtpreis", "Summe50"}) {
            const PdfWord w = find(pages[2], QLatin1String(last)).value(0);
            QVERIFY2(w.xMax < 272 * kPtPerMm && w.xMin > 210 * kPtPerMm, last);
        }
    }

    // Positions against the margin, the anchoring paragraph and alignment in the margins.
    void placementsFollowTheirReference_data()
    {
        const QByteArray pict = "{\\sp{\\sn pib}{\\sv {\\pict\\pngblip " + QByteArray(kRedPng) + "}}}";
        addColumns<QByteArray, QString>("body", "placed");
        // The anchoring paragraph starts page 2 at the top margin (1134).
        QTest::newRow("picture from margin and paragraph")
            << "A\\par\\pard\\pagebb {\\shp{\\*\\shpinst\\shpleft567\\shptop567\\shpright1701\\shpbottom1134\\shpbxmargin\\shpbypara" + pict
                   + "}}B\\par"
            << QStringLiteral("1984,1701 1134x567 Bild");
        QTest::newRow("picture by shape properties")
            << "A\\par B{\\shp{\\*\\shpinst\\shpleft100\\shptop200\\shpright1234\\shpbottom767\\shpbxignore\\shpbyignore"
               "{\\sp{\\sn posrelh}{\\sv 1}}{\\sp{\\sn posrelv}{\\sv 0}}" + pict + "}}\\par"
            << QStringLiteral("100,1334 1134x567 Bild");
        QTest::newRow("frame centred in the margins")
            << QByteArray("\\pard\\phmrg\\posxc\\pvpg\\posy1000\\absw2000\\absh-600 Mitte\\par\\pard Text\\par")
            << QStringLiteral("5161,1000 2000x600 Mitte");
        QTest::newRow("frame below its paragraph's top")
            << QByteArray("A\\par\\pard\\pvpara\\phpg\\posx300\\posy300\\absw2000\\absh-600 Rahmen\\par\\pard\\pagebb B\\par")
            << QStringLiteral("300,1434 2000x600 Rahmen");
    }
    void placementsFollowTheirReference()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, placed);
        Document doc;
        QVERIFY(readRtf("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\paperw11906\\paperh16838\\margl1417\\margr1000\\margt1134"
                        "\\margb1134\\pard\\plain " + body + "}", doc));
        // Within 15 twips (a quarter millimetre): the layout works in 96-dpi pixels.
        const QStringList got = placedObjects(doc.body());
        QCOMPARE(got.size(), 1);
        static const QRegularExpression numbers(QStringLiteral("^(\\d+),(\\d+) (\\d+)x(\\d+) (.*)$"));
        const auto a = numbers.match(got.first()), e = numbers.match(placed);
        QVERIFY2(a.hasMatch() && e.hasMatch(), qPrintable(got.first()));
        for (int i = 1; i <= 4; ++i)
            QVERIFY2(qAbs(a.captured(i).toInt() - e.captured(i).toInt()) <= 15, qPrintable(got.first()));
        QCOMPARE(a.captured(5), e.captured(5));
    }

    // A logo in the header and a text box in the footer, as office suites write them: each
    // once (the fallback copy of \shprslt is not read), where the page puts it, in the
    // preview and in the PDF. The logo: 150 to 190 mm across, 10 to 30 mm down.
    void headerLogoAndFooterBoxAtTheirPlace()
    {
        Document doc;
        QVERIFY(readRtf(fixture("kopf-logo.rtf"), doc));
        QCOMPARE(placedObjects(doc.headerFooter(1)) + placedObjects(doc.headerFooter(4)),
                 (QStringList{QStringLiteral("8505,567 2268x1134 Bild"), QStringLiteral("1134,15876 6237x567 Bankverbindung")}));
        QTemporaryDir dir;
        const QList<PdfPage> pages = toPdf(doc, dir);
        QCOMPARE(countEverywhere(pages, QStringLiteral("Bankverbindung")), 1);
        // The box's text inside its default inner margins (2.54 and 1.27 mm); the header's
        // text from the margin, the logo taking no room in its line.
        for (const auto& [text, x, y] : {std::tuple{"Bankverbindung", 22.54, 281.27}, {"Muster", 20.0, 10.0}}) {
            const PdfWord w = find(pages[0], QLatin1String(text)).value(0);
            QVERIFY2(qAbs(w.xMin / kPtPerMm - x) < 0.5 && qAbs(w.yMin / kPtPerMm - y) < 0.5, text);
        }
        // The red pixels, 10 to the millimetre, in the PDF and in the preview.
        QProcess::execute(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("254"), QStringLiteral("-png"), QStringLiteral("-singlefile"),
                                                    dir.filePath(QStringLiteral("out.pdf")), dir.filePath(QStringLiteral("seite"))});
        for (const QImage& page : {QImage(dir.filePath(QStringLiteral("seite.png"))), Paginator(&doc).renderPage(1, 254)}) {
            QRect red;
            for (int y = 0; y < page.height(); y += 2)
                for (int x = 0; x < page.width(); x += 2)
                    if (const QColor c = page.pixelColor(x, y); c.red() > 200 && c.green() < 80 && c.blue() < 80)
                        red |= QRect(x, y, 2, 2);
            QVERIFY2(red.marginsAdded(QMargins(5, 5, 5, 5)).contains(QRect(1500, 100, 400, 200)) && QRect(1495, 95, 410, 210).contains(red),
                     qPrintable(QStringLiteral("%1,%2 %3x%4").arg(red.x()).arg(red.y()).arg(red.width()).arg(red.height())));
        }
    }

    // A text box has a line around it unless the file switches it off (fLine 0); the
    // line survives writing RTF. The box: 1000 to 3000 twips across, 1000 to 2000 down.
    void textBoxLine_data()
    {
        addColumns<QByteArray, bool, bool>("properties", "rewrite", "line");
        QTest::newRow("line by default") << QByteArray() << false << true;
        QTest::newRow("line switched off") << QByteArray("{\\sp{\\sn fLine}{\\sv 0}}") << false << false;
        QTest::newRow("line written back") << QByteArray("{\\sp{\\sn lineWidth}{\\sv 19050}}") << true << true;
        QTest::newRow("no line written back") << QByteArray("{\\sp{\\sn fLine}{\\sv 0}}") << true << false;
    }
    void textBoxLine()
    {
        QFETCH(QByteArray, properties);
        QFETCH(bool, rewrite);
        Document doc;
        QVERIFY(readRtf("{\\rtf1\\ansi\\pard A{\\shp{\\*\\shpinst\\shpleft1000\\shptop1000\\shpright3000\\shpbottom2000"
                        "\\shpbxpage\\shpbypage{\\sp{\\sn shapeType}{\\sv 202}}" + properties + "{\\shptxt\\pard Box\\par}}}\\par}", doc));
        QByteArray rtf;
        Document back;
        if (rewrite)
            QVERIFY(Formats::write(5, doc, nullptr, &rtf, nullptr) && readRtf(rtf, back));
        Paginator pager(rewrite ? &back : &doc);
        QTEST(darkOnLeftEdge(pager.renderPage(1, 254)), "line");
    }

    // Marks as different suites write them; the note's own mark leads its text.
    void notesKeepTheirMarks_data()
    {
        addColumns<QByteArray, QString>("body", "text");
        QTest::newRow("footnotes numbered") << QByteArray("A{\\super\\chftn}{\\footnote\\pard{\\super\\chftn} Eins.\\par} B{\\super\\chftn}"
                                                          "{\\footnote\\pard{\\super\\chftn} Zwei.\\par} C\\par")
                                            << QStringLiteral("A1 B2 C\n1 Eins.\n2 Zwei.");
        QTest::newRow("starred, as one suite writes") << QByteArray("A{\\super\\chftn}{\\*\\footnote\\chftn\\pard\\plain Eins.\\par}.\\par")
                                                      << QStringLiteral("A1.\n1Eins.");
        QTest::newRow("own mark") << QByteArray("A{\\super *}{\\footnote\\pard{\\super *} Stern.\\par} B\\par")
                                  << QStringLiteral("A* B\n* Stern.");
        QTest::newRow("endnotes in arabic") << QByteArray("\\aftnnar A{\\super\\chftn}{\\footnote\\ftnalt\\pard{\\super\\chftn} E.\\par} "
                                                          "B{\\super\\chftn}{\\footnote\\pard{\\super\\chftn} F.\\par}\\par")
                                            << QStringLiteral("A1 B1\n1 F.\n1 E.");
        QTest::newRow("mark without note") << QByteArray("A{\\super\\chftn} B\\par") << QStringLiteral("A B");
    }
    void notesKeepTheirMarks()
    {
        QFETCH(QByteArray, body);
        Document doc;
        QVERIFY(readRtf("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\pard\\plain " + body + "}", doc));
        QTEST(doc.body()->toPlainText(), "text");
    }

    // A picture in a note comes along with the note's text.
    void notePictureComesAlong()
    {
        Document doc;
        QVERIFY(readRtf("{\\rtf1\\ansi\\pard A{\\super\\chftn}{\\footnote\\pard{\\super\\chftn} Bild {\\pict\\pngblip "
                        + QByteArray(kRedPng) + "}\\par}\\par}", doc));
        const QTextBlock note = doc.body()->lastBlock();
        QCOMPARE(note.text(), QStringLiteral("1 Bild ") + QChar(QChar::ObjectReplacementCharacter));
        const QTextCharFormat f = (--note.end()).fragment().charFormat();
        QVERIFY(f.isImageFormat());
        const QImage img = doc.body()->resource(QTextDocument::ImageResource, QUrl(f.toImageFormat().name())).value<QImage>();
        QCOMPARE(img.size(), QSize(40, 20));
    }

    // Table columns where \cellx puts their edges: Word's rows start at \trleft-108 and
    // pad cells by 108 twips, so each heading of the landscape appendix starts at
    // (1134 margin + the \cellx before it + 108) / 56.693 mm from the sheet's edge. Written
    // again, the rows keep their \trleft and \cellx.
    void tableColumnsAtTheirCellx()
    {
        Document doc;
        QVERIFY(readRtf(fixture("brief-querformat.rtf"), doc));
        QTemporaryDir dir;
        const QList<PdfPage> pages = toPdf(doc, dir);
        QCOMPARE(pages.size(), 4);
        const std::pair<const char*, double> starts[] = {{"Nr", 20.00},     {"Artikel", 39.41}, {"Farbe", 90.56},
                                                         {"Größe", 117.02}, {"Menge", 139.95},  {"Einzelpreis", 162.88},
                                                         {"Gesamtpreis", 196.39}, {"Lieferzeit", 229.90}};
        for (const auto& [text, mm] : starts) {
            const QList<PdfWord> w = find(pages[1], QString::fromUtf8(text));
            QVERIFY2(w.size() == 1, text);
            QVERIFY2(qAbs(w[0].xMin / kPtPerMm - mm) < 0.3, qPrintable(QStringLiteral("%1 at %2 mm").arg(QString::fromUtf8(text)).arg(w[0].xMin / kPtPerMm)));
        }
        QByteArray rtf;
        QString error;
        QVERIFY2(Formats::write(5, doc, nullptr, &rtf, &error), qPrintable(error));
        const QString row = QString::fromLatin1(rtf.mid(rtf.indexOf("\\trowd"), rtf.indexOf("\\row") - rtf.indexOf("\\trowd")));
        QStringList edges;
        static const QRegularExpression edge(QStringLiteral("\\\\(?:trleft|cellx)(-?\\d+)"));
        for (auto it = edge.globalMatch(row); it.hasNext();)
            edges << it.next().captured(1);
        QCOMPARE(edges.join(u' '), QStringLiteral("-108 992 3892 5392 6692 7992 9892 11792 13792"));
    }

    // A lined table made here keeps its column widths (px) and its place (within a twip).
    void ownTableThroughRtf()
    {
        Document own;
        QTextTableFormat tf;
        tf.setBorder(1);
        tf.setBorderCollapse(true);
        tf.setCellSpacing(0);
        tf.setColumnWidthConstraints({QTextLength(QTextLength::FixedLength, 100), QTextLength(QTextLength::FixedLength, 260)});
        QTextCursor(own.body()).insertTable(1, 2, tf);
        QByteArray rtf;
        QString error;
        QVERIFY2(Formats::write(5, own, nullptr, &rtf, &error), qPrintable(error));
        Document back;
        QVERIFY(readRtf(rtf, back));
        auto* table = qobject_cast<QTextTable*>(back.body()->rootFrame()->childFrames().value(0));
        QVERIFY(table);
        QVERIFY2(qAbs(table->format().leftMargin()) < 0.05, qPrintable(QString::number(table->format().leftMargin())));
        const QList<QTextLength> widths = table->format().columnWidthConstraints();
        QCOMPARE(widths.size(), 2);
        QCOMPARE(widths[0].rawValue(), 100.0);
        QCOMPARE(widths[1].rawValue(), 260.0);
    }
};

QTEST_MAIN(TestRtfObjects)
#include "tst_rtfobjects.moc"
