#include "OwnSample.h"
#include "TestCommon.h"
#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "engine/objects/Fields.h"
#include "engine/formats/DocumentTransfer.h"
#include "engine/formats/Formats.h"
#include "engine/formats/TableColumns.h"


using namespace FormatTest;
using OwnSample::firstTable;

namespace {

// The block whose text starts with `start`, searching the whole document.
QTextBlock blockStarting(const QTextDocument* doc, const QString& start)
{
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
        if (b.text().startsWith(start))
            return b;
    return {};
}

} // namespace

class TestFormatsReadWrite : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // What every writer gives a table's columns, on 600 px of text width: fixed and
    // percentage widths as set, the rest shared, never below 20 px.
    void tableColumnWidths_data()
    {
        addColumns<QList<QTextLength>, QList<double>>("set", "widths");
        const QTextLength none;
        QTest::newRow("fixed, percent, two free") << QList<QTextLength>{QTextLength(QTextLength::FixedLength, 100), QTextLength(QTextLength::PercentageLength, 25), none, none}
                                                  << QList<double>{100, 150, 175, 175};
        QTest::newRow("all free") << QList<QTextLength>{none, none, none} << QList<double>{200, 200, 200};
        QTest::newRow("fixed wider than the text") << QList<QTextLength>{QTextLength(QTextLength::FixedLength, 700), none}
                                                   << QList<double>{700, 20};
    }
    void tableColumnWidths()
    {
        QFETCH(QList<QTextLength>, set);
        QTextDocument d;
        QTextCursor c(&d);
        QTextTableFormat f;
        f.setColumnWidthConstraints(set);
        QTextTable* t = c.insertTable(1, int(set.size()), f);
        QTEST(TableColumns::widths(t, 600), "widths");
    }

    void roundTripKeepsEveryFeature_data() { addRows<int>("format", {{"own", 3}, {"xml", 10}}); }
    void roundTripKeepsEveryFeature()
    {
        QFETCH(int, format);
        Document doc;
        fillEveryFeature(doc);
        QByteArray bytes;
        QString error;
        QVERIFY2(Formats::write(format, doc, nullptr, &bytes, &error), qPrintable(error));
        Document back;
        QVERIFY2(Formats::read(format, bytes, back, nullptr, &error), qPrintable(error));
        QCOMPARE(dumpAll(back), dumpAll(doc));
        const QStringList images = DocumentTransfer::imageNames(back.body());
        QCOMPARE(images, DocumentTransfer::imageNames(doc.body()));
        for (const QString& name : images)
            QCOMPARE(DocumentTransfer::image(back.body(), name).convertToFormat(QImage::Format_ARGB32), testImage());
    }

    // A new window's empty document is filled directly; a failure must empty it again.
    void failedReadLeavesAnEmptyDocumentEmpty_data()
    {
        addColumns<int, QByteArray>("format", "data");
        QTest::newRow("own") << 3
                             << QByteArray("<textdocument version=\"1\"><page width=\"5000\"/><headerfooter set=\"3\" "
                                           "headerDistance=\"9\"><part id=\"1\"><text><p><r>Kopf</r></p></text></part>"
                                           "</headerfooter><body><formats/><p><r>halb</r></p><table rows=\"0\" columns=\"0\"/>"
                                           "</body></textdocument>");
        QTest::newRow("rtf") << 5 << QByteArray("{\\rtf1\\paperw5000\\headery9{\\header Kopf\\par}Text\\par")
                                         + QByteArray(1001, '{');
    }
    void failedReadLeavesAnEmptyDocumentEmpty()
    {
        QFETCH(int, format);
        QFETCH(QByteArray, data);
        Document doc;
        const QString fontBefore = doc.body()->defaultFont().toString();
        QString error;
        QVERIFY(!Formats::read(format, data, doc, nullptr, &error));
        QVERIFY(doc.body()->isEmpty());
        QCOMPARE(doc.headerFooterSet(), 0);
        QCOMPARE(doc.page(), PageGeometry());
        QCOMPARE(doc.body()->defaultFont().toString(), fontBefore);
    }

    void typeOfPath_data()
    {
        addColumns<QString, int>("path", "type");
        QTest::newRow("txm") << "brief.Txm" << 3;
        QTest::newRow("doc") << "a.doc" << 9;
        QTest::newRow("docx, folder") << "/a/B.DOCX" << 13;
        QTest::newRow("odt, folder") << "/a/Brief.ODT" << 14;
        QTest::newRow("empty") << "" << 1;
        QTest::newRow("dotless rtf") << "artf" << 5;
    }
    void typeOfPath()
    {
        QFETCH(QString, path);
        QTEST(Formats::typeOfPath(path), "type");
    }
    void roundTripKeepsWhatRtfCanHold_data() { addRows<int>("format", {{"rtf", 5}, {"word", 9}}); }
    void roundTripKeepsWhatRtfCanHold()
    {
        QFETCH(int, format);
        Document doc;
        fillEveryFeature(doc);
        QByteArray rtf;
        QString error;
        QVERIFY2(Formats::write(format, doc, nullptr, &rtf, &error), qPrintable(error));
        QVERIFY(rtf.startsWith("{\\rtf1"));
        Document back;
        QVERIFY2(Formats::read(format, rtf, back, nullptr, &error), qPrintable(error));

        QCOMPARE(back.page(), doc.page());
        QCOMPARE(QList<int>({back.headerFooterSet(), back.headerDistance(), back.footerDistance()}), QList<int>({15, 600, 500}));
        for (int part : {1, 2, 4, 8})
            QCOMPARE(back.headerFooter(part)->toPlainText(), doc.headerFooter(part)->toPlainText());

        const QTextDocument* b = back.body();
        const QTextCharFormat fett = formatAt(b, QStringLiteral("Fett"));
        QCOMPARE(fett.fontFamilies().toStringList(), QStringList{QStringLiteral("Times New Roman")});
        QCOMPARE(fett.fontPointSize(), 14.0);
        QCOMPARE(fett.fontWeight(), int(QFont::Bold));
        const QTextCharFormat bunt = formatAt(b, QStringLiteral("bunt"));
        QVERIFY(bunt.fontItalic() && bunt.fontUnderline() && bunt.fontStrikeOut());
        QCOMPARE(bunt.foreground().color(), QColor(200, 10, 20));
        QCOMPARE(bunt.background().color(), QColor(204, 255, 204));
        QVERIFY(b->toPlainText().contains(QStringLiteral("Fett <&> \"groß\" bunt")));
        QVERIFY(b->toPlainText().contains(QStringLiteral(" <&> \"Zitat\" äöüß € {x}\\ → \t Tab")));
        QCOMPARE(formatAt(b, QStringLiteral("hoch")).verticalAlignment(), QTextCharFormat::AlignSuperScript);
        QCOMPARE(formatAt(b, QStringLiteral("tief")).verticalAlignment(), QTextCharFormat::AlignSubScript);
        const QTextCharFormat link = formatAt(b, QStringLiteral("Verweis"));
        QVERIFY(link.isAnchor());
        QCOMPARE(link.anchorHref(), QStringLiteral("https://example.org/a?b=1&c=2"));

        const QTextBlock rich = blockStarting(b, QStringLiteral("Fett"));
        const QTextBlockFormat bf = rich.blockFormat();
        QCOMPARE(bf.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
        QCOMPARE((QList<double>{bf.leftMargin(), bf.rightMargin(), bf.textIndent(), bf.topMargin(), bf.bottomMargin()}),
                 (QList<double>{20, 10, -8, 6, 4}));
        QCOMPARE(bf.lineHeightType(), int(QTextBlockFormat::ProportionalHeight));
        QCOMPARE(bf.lineHeight(), 150.0);
        QCOMPARE(bf.tabPositions(), richParagraph().tabPositions());
        QVERIFY(rich.text().contains(QChar::LineSeparator));

        const QTextBlockFormat exact = blockStarting(b, QStringLiteral("Neue Seite")).blockFormat();
        QVERIFY(exact.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
        QCOMPARE(exact.lineHeightType(), int(QTextBlockFormat::FixedHeight));
        QCOMPARE(exact.lineHeight(), 300.0);

        const QTextBlock eins = blockStarting(b, QStringLiteral("Eins"));
        QVERIFY(eins.textList());
        QCOMPARE(eins.textList()->itemText(eins), QStringLiteral("1."));
        QCOMPARE(blockStarting(b, QStringLiteral("Stichpunkt")).textList()->format().style(), QTextListFormat::ListDisc);
        QVERIFY(!blockStarting(b, QStringLiteral("Bild")).textList());

        QTextTable* t = firstTable(b);
        QVERIFY(t);
        QCOMPARE(QSize(t->columns(), t->rows()), QSize(3, 3));
        QCOMPARE(t->cellAt(0, 0).columnSpan(), 2);
        QCOMPARE(t->cellAt(1, 2).rowSpan(), 2);
        QCOMPARE(t->cellAt(2, 0).format().background().color(), QColor(220, 220, 220));
        QCOMPARE(t->format().columnWidthConstraints().value(0).rawValue(), 100.0);

        // Both pictures, the fixed one at its anchor; the inline one at 200 % x 150 %.
        const QStringList images = DocumentTransfer::imageNames(b);
        QVERIFY(!images.isEmpty());
        for (const QString& name : images)
            QCOMPARE(DocumentTransfer::image(b, name).convertToFormat(QImage::Format_ARGB32), testImage());
        const QTextImageFormat inl = formatAt(b, QString(QChar::ObjectReplacementCharacter)).toImageFormat();
        QCOMPARE(QSizeF(inl.width(), inl.height()), QSizeF(16, 9));
    }

    void readsWordPadFile()
    {
        Document doc;
        QString error;
        QVERIFY2(Formats::read(5, fixture("wordpad.rtf"), doc, nullptr, &error), qPrintable(error));
        const QTextDocument* b = doc.body();
        QCOMPARE(doc.page().width, 11906);
        QCOMPARE(b->begin().text(), QStringLiteral("Grüße aus Köln"));
        QCOMPARE(b->begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QVERIFY(!formatAt(b, QStringLiteral(", durch")).fontUnderline());
        QCOMPARE(formatAt(b, QStringLiteral("markiert")).background().color(), QColor(255, 255, 0));
        const QTextBlock p1 = blockStarting(b, QStringLiteral("Erster"));
        QCOMPARE(p1.text(), QStringLiteral("Erster Punkt")); // the \pntext label is not text
        QVERIFY(p1.textList() && p1.textList() == blockStarting(b, QStringLiteral("Zweiter")).textList());
        QCOMPARE(p1.textList()->format().style(), QTextListFormat::ListDisc);
        QCOMPARE(blockStarting(b, QStringLiteral("Euro")).text(), QStringLiteral("Euro € und Pfeil → fertig { } \\."));
        for (const char* hidden : {"Probe", "Normal", "Riched"}) // destinations that are no text
            QVERIFY2(!b->toPlainText().contains(QLatin1String(hidden)), hidden);
    }

    void readsLibreOfficeFile()
    {
        Document doc;
        QString error;
        QVERIFY2(Formats::read(5, fixture("libreoffice.rtf"), doc, nullptr, &error), qPrintable(error));
        // \titlepg without \footerf: the first page has an empty footer of its own.
        QCOMPARE(doc.headerFooterSet(), 1 | 2 | 4 | 8);
        QCOMPARE(doc.headerFooter(8)->toPlainText(), QString());
        QCOMPARE(doc.headerFooter(1)->toPlainText(), QStringLiteral("Kopf"));
        QCOMPARE(doc.headerFooter(2)->toPlainText(), QStringLiteral("Erste Seite oben"));
        const QTextDocument* b = doc.body();
        QTextTable* t = firstTable(b);
        QVERIFY(t);
        QCOMPARE(QSize(t->columns(), t->rows()), QSize(3, 3));
        QCOMPARE(t->cellAt(1, 0).columnSpan(), 2);
        QCOMPARE(t->cellAt(1, 2).rowSpan(), 2);
        QCOMPARE(t->cellAt(0, 0).format().background().color(), QColor(128, 128, 128));
    }

    void unicodeSkipsTheFallbackCharacters_data()
    {
        addColumns<QByteArray, QString>("rtf", "text");
        QTest::newRow("uc2 hex") << QByteArray("{\\rtf1\\uc2 a\\u8364\\'80\\'80b}") << QStringLiteral("a€b");
        QTest::newRow("uc in group") << QByteArray("{\\rtf1 {\\uc3\\u228 xyz}\\u246?}") << QStringLiteral("äö");
        QTest::newRow("font charsets")
            << QByteArray("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset238 Arial CE;}{\\f2\\fcharset204 Arial Cyr;}}"
                          "\\f1 \\'b9\\'e6 {\\f2 \\'cf\xf0}\\'e6\\f0\\'e4}")
            << QStringLiteral("ąć Прćä");
        QTest::newRow("symbols") << QByteArray("{\\rtf1 a\\~b\\-c\\_d\\emdash\\endash\\bullet\\ldblquote\\rdblquote}")
                                 << QStringLiteral("a\u00A0b\u00ADc\u2011d\u2014\u2013\u2022\u201C\u201D");
        QTest::newRow("unknown dest") << QByteArray("{\\rtf1 a{\\*\\zukunft geheim{\\x tief}}b}") << QStringLiteral("ab");
        QTest::newRow("huge size") << QByteArray("{\\rtf1\\fs99999999999 x}") << QStringLiteral("x");
        QTest::newRow("bin") << QByteArray("{\\rtf1 a{\\*\\blob\\bin3 }}}}b}") << QStringLiteral("ab");
    }
    void unicodeSkipsTheFallbackCharacters()
    {
        QFETCH(QByteArray, rtf);
        Document doc;
        QString error;
        QVERIFY2(Formats::read(5, rtf, doc, nullptr, &error), qPrintable(error));
        QCOMPARE(doc.body()->blockCount(), 1);
        QTEST(doc.body()->begin().text(), "text");
    }

    void brokenInputGivesGermanError_data()
    {
        addColumns<int, QByteArray, QString>("format", "data", "error");
        const QString notRtf = QStringLiteral("Die Datei ist keine RTF-Datei.");
        const QString deep = QStringLiteral("Die RTF-Datei ist zu tief verschachtelt und kann nicht gelesen werden.");
        QTest::newRow("random") << 5 << QByteArray("\x8f\x00\x13{\\rtf", 8) << notRtf;
        QByteArray nested = "{\\rtf1 ";
        nested += QByteArray(10000, '{') + "x" + QByteArray(10000, '}') + "}";
        QTest::newRow("10000 groups") << 5 << nested << deep;
        QTest::newRow("word binary") << 9 << QByteArray("\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1\0\0\0", 11)
                                     << QStringLiteral("Word-Dokumente im Binärformat können nicht gelesen werden. "
                                                       "Bitte speichern Sie das Dokument als RTF.");
        QTest::newRow("pdf") << 12 << QByteArray("%PDF-1.4") << QStringLiteral("PDF-Dateien können nicht geöffnet werden.");
        const QString broken = QStringLiteral("Die Datei ist beschädigt und kann nicht gelesen werden.");
        const QString notOurs = QStringLiteral("Die Datei ist kein Dokument der Textverarbeitung.");
        const QString noBody = QStringLiteral("Die Datei ist unvollständig: der Textteil fehlt.");
        QTest::newRow("own, empty") << 3 << QByteArray() << notOurs;
        QTest::newRow("own, no version") << 3 << QByteArray("<textdocument><body/></textdocument>") << notOurs;
        QTest::newRow("own, no body") << 3 << QByteArray("<textdocument version=\"1\"><page width=\"1\"/></textdocument>") << noBody;
        QTest::newRow("own, huge table") << 3 << QByteArray("<textdocument version=\"1\"><body><table rows=\"100000\" columns=\"100000\"/></body></textdocument>")
            << broken;
        QTest::newRow("own, 5000 frames") << 3 << QByteArray("<textdocument version=\"1\"><body>").append(QByteArray("<frame>").repeated(5000))
                                     << broken;
    }
    void brokenInputGivesGermanError()
    {
        QFETCH(int, format);
        QFETCH(QByteArray, data);
        Document doc;
        QTextCursor(doc.body()).insertText(QStringLiteral("bleibt"));
        QString got;
        QVERIFY(!Formats::read(format, data, doc, nullptr, &got));
        QTEST(got, "error");
        QCOMPARE(doc.body()->toPlainText(), QStringLiteral("bleibt"));
    }

    void rowsWithoutCommonBoundariesStayNarrow()
    {
        QByteArray rtf = "{\\rtf1 ";
        for (int r = 0; r < 40; ++r) {
            rtf += "\\trowd";
            for (int c = 1; c <= 10; ++c)
                rtf += "\\cellx" + QByteArray::number(c * 500 + r * 7);
            for (int c = 1; c <= 10; ++c)
                rtf += "\\intbl x\\cell";
            rtf += "\\row ";
        }
        rtf += "}";
        Document doc;
        QVERIFY(Formats::read(5, rtf, doc, nullptr, nullptr));
        QTextTable* t = firstTable(doc.body());
        QVERIFY(t);
        QCOMPARE(t->rows(), 40);
        QVERIFY(t->columns() <= 64);
        QCOMPARE(doc.body()->toPlainText().count(QLatin1Char('x')), 400);
    }

    void sectionPageWinsForTheFirstSection_data()
    {
        addColumns<QByteArray, int, int, int>("rtf", "width", "marginT", "headerY");
        const QByteArray docLevel = "\\paperw12240\\paperh15840\\margt1440\\margl1800 ";
        QTest::newRow("document only") << docLevel + "x}" << 12240 << 1440 << 720;
        QTest::newRow("section wins") << docLevel + "\\sectd\\pgwsxn11906\\margtsxn567\\headery400 x}" << 11906 << 567 << 400;
        QTest::newRow("later section ignored")
            << docLevel + "\\sectd\\margtsxn567 x\\sect\\sectd\\pgwsxn16838\\margtsxn2000\\headery99 y}" << 12240 << 567 << 720;
        QTest::newRow("sectd resets") << docLevel + "\\pgwsxn5000\\sectd x}" << 12240 << 1440 << 720;
    }
    void sectionPageWinsForTheFirstSection()
    {
        QFETCH(QByteArray, rtf);
        Document doc;
        QVERIFY(Formats::read(5, "{\\rtf1\\ansi" + rtf, doc, nullptr, nullptr));
        QTEST(doc.page().width, "width");
        QTEST(doc.page().marginT, "marginT");
        QCOMPARE(doc.page().marginL, 1800);
        QTEST(doc.headerDistance(), "headerY");
    }

    void officePageFieldsBecomePageObjects()
    {
        Document doc;
        QString error;
        QVERIFY2(Formats::read(5, fixture("office-kopfzeile.rtf"), doc, nullptr, &error), qPrintable(error));
        QCOMPARE(QSize(doc.page().width, doc.page().height), QSize(11906, 16838));
        QCOMPARE(QSize(doc.page().marginL, doc.page().marginB), QSize(1134, 567));
        const QTextDocument* header = doc.headerFooter(1);
        // The frozen results ("1") are gone: one object character per field.
        const QString obj(QChar::ObjectReplacementCharacter);
        QVERIFY(header->toPlainText().endsWith(QStringLiteral("Seite ") + obj + QStringLiteral(" von ") + obj));
        const QList<Fields::Range> fields = Fields::all(header);
        QCOMPARE(fields.size(), 2);
        QCOMPARE(Fields::type(header, fields[0].id), FieldTypes::PageNumber);
        QCOMPARE(Fields::type(header, fields[1].id), FieldTypes::PageCount);
        QCOMPARE(formatAt(header, obj).objectType(), int(EngineObject::PageNumber));

        // Written back as PAGE and NUMPAGES fields, which read back the same.
        QByteArray rtf;
        QVERIFY(Formats::write(5, doc, nullptr, &rtf, nullptr));
        QVERIFY(rtf.contains(" PAGE }{\\fldrslt "));
        QVERIFY(rtf.contains(" NUMPAGES }{\\fldrslt "));
        Document back;
        QVERIFY(Formats::read(5, rtf, back, nullptr, nullptr));
        QCOMPARE(back.headerFooter(1)->toPlainText(), header->toPlainText());
        QCOMPARE(formatAt(back.headerFooter(1), obj).objectType(), int(EngineObject::PageNumber));
        QCOMPARE(Fields::type(back.headerFooter(1), fields[1].id), FieldTypes::PageCount);
    }

    void ownFieldsSurviveTheRoundTrip()
    {
        Document doc;
        doc.setHeaderFooterSet(1);
        QTextCursor c(doc.body());
        c.insertText(QStringLiteral("Herr "));
        const int name = Fields::insert(c, QStringLiteral("Müller {1}"), 5);
        Fields::setData(doc.body(), name, QStringLiteral("Nachname"));
        c.insertText(QStringLiteral(", siehe "));
        const int link = Fields::insert(c, QStringLiteral("Webseite"), 9);
        Fields::setLinkKind(doc.body(), link, 1);
        Fields::setLinkTarget(doc.body(), link, QStringLiteral("https://example.org/\"x\""));
        const int empty = Fields::insert(c, QString(), 12);
        Fields::setData(doc.body(), empty, QStringLiteral("Leer"));
        QTextCursor h(doc.headerFooter(1));
        h.insertText(QStringLiteral("Seite "));
        Fields::setType(doc.headerFooter(1), Fields::insert(h, QString(), 3), FieldTypes::PageNumber);
        h.insertText(QStringLiteral(" von "), QTextCharFormat());
        Fields::setType(doc.headerFooter(1), Fields::insert(h, QString(), 4), FieldTypes::PageCount);

        QByteArray rtf;
        QVERIFY(Formats::write(5, doc, nullptr, &rtf, nullptr));
        Document back;
        QVERIFY(Formats::read(5, rtf, back, nullptr, nullptr));
        for (const QTextDocument* d : {doc.body(), doc.headerFooter(1)}) {
            const QTextDocument* r = d == doc.body() ? back.body() : back.headerFooter(1);
            QCOMPARE(r->toPlainText(), d->toPlainText());
            const QList<Fields::Range> want = Fields::all(d), got = Fields::all(r);
            QCOMPARE(got.size(), want.size());
            for (int i = 0; i < want.size(); ++i) {
                const int id = want[i].id;
                QCOMPARE(got[i].id, id);
                QCOMPARE(got[i].start, want[i].start);
                QCOMPARE(Fields::text(r, id), Fields::text(d, id));
                QCOMPARE(Fields::data(r, id), Fields::data(d, id));
                QCOMPARE(Fields::type(r, id), Fields::type(d, id));
                QCOMPARE(Fields::linkKind(r, id), Fields::linkKind(d, id));
                QCOMPARE(Fields::linkTarget(r, id), Fields::linkTarget(d, id));
            }
        }
    }

    void tableBordersAndPaddingsAsTheFileSays_data()
    {
        // padding: left, top, right, bottom in twips
        addColumns<QByteArray, int, QList<int>>("row", "border", "padding");
        QTest::newRow("no border words") << QByteArray("\\trowd\\cellx2000") << 0 << QList<int>{108, 0, 108, 0};
        QTest::newRow("cell borders") << QByteArray("\\trowd\\clbrdrt\\brdrs\\brdrw10\\cellx2000") << 1
                                      << QList<int>{108, 0, 108, 0};
        QTest::newRow("paddings") << QByteArray("\\trowd\\trgaph70\\trpaddl300\\trpaddt200\\trpaddfl3\\trpaddft3\\cellx2000")
                                  << 0 << QList<int>{300, 200, 70, 0};
        QTest::newRow("padding without unit") << QByteArray("\\trowd\\trpaddb90\\trpaddfb0\\trpaddr45\\cellx2000") << 0
                                              << QList<int>{108, 0, 45, 0};
    }
    void tableBordersAndPaddingsAsTheFileSays()
    {
        QFETCH(QByteArray, row);
        QFETCH(QList<int>, padding);
        for (bool again : {false, true}) {
            Document doc;
            QByteArray rtf = "{\\rtf1 " + row + "\\intbl Zelle\\cell\\row}";
            if (again) { // through our writer and back
                Document first;
                QVERIFY(Formats::read(5, rtf, first, nullptr, nullptr));
                QVERIFY(Formats::write(5, first, nullptr, &rtf, nullptr));
            }
            QVERIFY(Formats::read(5, rtf, doc, nullptr, nullptr));
            QTextTable* t = firstTable(doc.body());
            QVERIFY(t);
            QTEST(t->format().border() > 0 ? 1 : 0, "border");
            const QTextTableCellFormat cf = t->cellAt(0, 0).format().toTableCellFormat();
            const QList<double> got{cf.leftPadding(), cf.topPadding(), cf.rightPadding(), cf.bottomPadding()};
            for (int i = 0; i < 4; ++i)
                QCOMPARE(qRound(Document::pixelsToTwips(got[i])), padding[i]);
        }
    }
};

QTEST_MAIN(TestFormatsReadWrite)
#include "tst_formats_readwrite.moc"
