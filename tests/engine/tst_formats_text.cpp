#include "TestCommon.h"
#include "OwnSample.h"
#include "TestHome.h"
#include "engine/Document.h"
#include "engine/formats/CssColours.h"
#include "engine/formats/Formats.h"
#include "shell/BatchConvert.h"


using namespace FormatTest;

class TestFormatsText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A background picture is left out (the user is told so), its colour kept.
    void backgroundPicturesLeftOut_data()
    {
        addColumns<QString, QString>("html", "expected");
        QTest::newRow("image and colour") << "<p style=\"background-image: url(bild.png); color: red\">x</p>"
                                          << "<p style=\"; color: #ff0000\">x</p>";
        QTest::newRow("shorthand picture alone") << "<p style=\"background: url(bild.png) no-repeat\">x</p>"
                                                 << "<p style=\"\">x</p>";
        QTest::newRow("shorthand with colour") << "<p style=\"background: url(bild.png) yellow\">x</p>"
                                               << "<p style=\"background-color: #ffff00\">x</p>";
        QTest::newRow("style element") << "<style>body { BACKGROUND-IMAGE: url('a.png') } p { color: blue }</style>"
                                       << "<style>body { } p { color: #0000ff}</style>";
    }
    void backgroundPicturesLeftOut()
    {
        QFETCH(QString, html);
        bool pictures = false;
        QTEST(CssColours::normalise(html, &pictures), "expected");
        QVERIFY(pictures);
    }
    void readsTextInEveryEncodingAndLineEnd_data()
    {
        addColumns<QByteArray, QStringList>("data", "lines");
        const QStringList umlauts{QStringLiteral("Grüße"), QStringLiteral("€ 5")};
        QTest::newRow("utf8 crlf") << QByteArray("Gr\xc3\xbc\xc3\x9f" "e\r\n\xe2\x82\xac 5") << umlauts;
        QTest::newRow("cp1252 cr") << QByteArray("Gr\xfc\xdf" "e\r\x80 5") << umlauts;
        QTest::newRow("mixed ends")
            << QByteArray("a\r\nb\nc\rd\r\n\r\ne") << QStringList{"a", "b", "c", "d", "", "e"};
        QTest::newRow("empty") << QByteArray() << QStringList{""};
        // A form feed starts a new page (marked "\f" here) and is written back as one.
        QTest::newRow("form feed") << QByteArray("Seite 1\fSeite 2\f") << QStringList{"Seite 1", "\fSeite 2", "\f"};
    }
    void readsTextInEveryEncodingAndLineEnd()
    {
        QFETCH(QByteArray, data);
        Document doc;
        QString error;
        QVERIFY2(Formats::read(1, data, doc, nullptr, &error), qPrintable(error));
        QStringList got;
        for (QTextBlock b = doc.body()->begin(); b.isValid(); b = b.next())
            got << (b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore ? QStringLiteral("\f") : QString())
                       + b.text();
        QTEST(got, "lines");
        if (data.contains('\f')) {
            QByteArray out;
            QVERIFY(Formats::write(1, doc, nullptr, &out, nullptr));
            QCOMPARE(out, QByteArray("Seite 1\fSeite 2\f"));
        }
    }

    void writesUtf8WithCrLf()
    {
        Document doc;
        QTextCursor c(doc.body());
        c.insertText(QStringLiteral("Grüße"));
        c.insertText(QString(QChar::LineSeparator) + QStringLiteral("x"));
        c.insertBlock();
        c.insertText(QStringLiteral("€"));
        c.insertBlock();
        QTextTable* t = c.insertTable(2, 2);
        t->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("a"));
        t->cellAt(0, 1).firstCursorPosition().insertText(QStringLiteral("b"));
        t->cellAt(1, 1).firstCursorPosition().insertText(QStringLiteral("d"));
        QByteArray out;
        QVERIFY(Formats::write(1, doc, nullptr, &out, nullptr));
        QCOMPARE(out, QByteArray("Gr\xc3\xbc\xc3\x9f" "e\r\nx\r\n\xe2\x82\xac\r\n\r\na\tb\r\n\td\r\n"));
    }

    void htmlRoundTripInEveryStyleMode_data() { addRows<int>("mode", {{"inline", 0}, {"embedded", 1}}); }
    void htmlRoundTripInEveryStyleMode()
    {
        QFETCH(int, mode);
        Document doc;
        fillEveryFeature(doc);
        WriteOptions opts;
        opts.styleSheetMode = mode;
        QByteArray html;
        QString error;
        QVERIFY(Formats::write(4, doc, nullptr, &html, &error, opts));
        // Class rules only in the embedded mode (the page's @page rule is in every mode).
        QCOMPARE(html.contains("class=\""), mode == 1);
        QCOMPARE(html.contains("style=\"font-family: 'Times New Roman'"), mode == 0);
        Document back;
        QVERIFY2(Formats::read(4, html, back, nullptr, &error), qPrintable(error));
        const QTextDocument* b = back.body();
        QVERIFY(b->toPlainText().contains(QStringLiteral("Fett <&> \"groß\" bunt")));
        QVERIFY(b->toPlainText().contains(QStringLiteral(" <&> \"Zitat\" äöüß € {x}\\ →")));
        QCOMPARE(formatAt(b, QStringLiteral("Fett")).fontWeight(), int(QFont::Bold));
        const QTextCharFormat bunt = formatAt(b, QStringLiteral("bunt"));
        QVERIFY(bunt.fontItalic() && bunt.fontUnderline() && bunt.fontStrikeOut());
        QCOMPARE(bunt.foreground().color(), QColor(200, 10, 20));
        QCOMPARE(formatAt(b, QStringLiteral("hoch")).verticalAlignment(), QTextCharFormat::AlignSuperScript);
        QCOMPARE(formatAt(b, QStringLiteral("tief")).verticalAlignment(), QTextCharFormat::AlignSubScript);
        QCOMPARE(formatAt(b, QStringLiteral("Verweis")).anchorHref(), QStringLiteral("https://example.org/a?b=1&c=2"));
        bool list = false, table = false, image = false;
        for (QTextBlock blk = b->begin(); blk.isValid(); blk = blk.next()) {
            if (blk.text() == u"Eins" && blk.textList())
                list = blk.textList()->format().style() == QTextListFormat::ListDecimal;
            if (blk.text() == u"Z1S0")
                table = true;
            for (auto it = blk.begin(); !it.atEnd(); ++it)
                if (it.fragment().charFormat().isImageFormat())
                    image = !b->resource(QTextDocument::ImageResource, QUrl(it.fragment().charFormat().toImageFormat().name())).isNull();
        }
        QVERIFY(list && table && image);
    }

    void batchConvertsFilesEndToEnd()
    {
        TestHome home;
        QTemporaryDir dir;
        QVERIFY(writeAll(dir.filePath(QStringLiteral("brief.rtf")), "{\\rtf1\\paperw10000 {\\b Hallo} Welt\\par}"));
        QVERIFY(writeAll(dir.filePath(QStringLiteral("notiz.txt")), "Zeile 1\nZeile 2"));
        QVERIFY(writeAll(dir.filePath(QStringLiteral("kaputt.doc")), QByteArray("\xd0\xcf\x11\xe0", 4)));
        const QString out = dir.filePath(QStringLiteral("aus/neu")); // made by the conversion

        QCOMPARE(runBatchConvert({QStringLiteral("--convert-to"), QStringLiteral("txm"), QStringLiteral("--outdir"), out,
                                  dir.filePath(QStringLiteral("brief.rtf")), dir.filePath(QStringLiteral("notiz.txt"))}),
                 0);
        const QByteArray txm = readAll(out + QStringLiteral("/brief.txm"));
        QCOMPARE(txm.left(4), QByteArray("\x17\0\0\0", 4));
        QCOMPARE(txm.mid(24, 4), QByteArray("\x10\x27\0\0", 4)); // width 10000
        Document back;
        QVERIFY(Formats::read(3, txm.mid(30), back, nullptr, nullptr));
        QCOMPARE(back.body()->toPlainText(), QStringLiteral("Hallo Welt"));
        QCOMPARE(formatAt(back.body(), QStringLiteral("Hallo")).fontWeight(), int(QFont::Bold));

        // The .txm output converts on, its header skipped; default folder is the input's.
        QCOMPARE(runBatchConvert({QStringLiteral("--convert-to"), QStringLiteral("txt"), out + QStringLiteral("/brief.txm")}), 0);
        QCOMPARE(readAll(out + QStringLiteral("/brief.txt")), QByteArray("Hallo Welt"));

        // One bad file: the others are still written, the exit code says 1.
        QCOMPARE(runBatchConvert({QStringLiteral("--convert-to"), QStringLiteral("rtf"), dir.filePath(QStringLiteral("kaputt.doc")),
                                  dir.filePath(QStringLiteral("notiz.txt"))}),
                 1);
        QVERIFY(readAll(dir.filePath(QStringLiteral("notiz.rtf"))).startsWith("{\\rtf1"));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("kaputt.rtf"))));
    }

    void batchRejectsBadArguments_data()
    {
        addRows<QStringList>("args", {{"nothing", QStringList()}, {"bad format", QStringList{"--convert-to", "wpd", "a.txt"}}, {"missing outdir", QStringList{"--convert-to", "rtf", "a.txt", "--outdir"}}, {"outdir impossible", QStringList{"--convert-to", "rtf", "--outdir", "/proc/nicht/da", "a.txt"}}});
    }
    void batchRejectsBadArguments()
    {
        QFETCH(QStringList, args);
        QCOMPARE(runBatchConvert(args), 2);
    }

    // A line without blanks gets invisible break opportunities while it is edited;
    // saving it must give back exactly the characters that were read.
    void longRunsKeepTheirCharacters_data() { addRows<int>("format", {{"Text", 1}, {"HTML", 4}, {"RTF", 5}}); }
    void longRunsKeepTheirCharacters()
    {
        QFETCH(int, format);
        // Runs of exactly the limit, one over it, several times it, and a user's own
        // zero-width space inside a short word.
        const QString run = QString(2999, QLatin1Char('x')) + QStringLiteral(" ") + QString(1000, QLatin1Char('y'))
                            + QStringLiteral(" ") + QString(1001, QLatin1Char('z')) + QStringLiteral(" a") + QChar(0x200B)
                            + QStringLiteral("b");
        Document doc;
        QVERIFY(Formats::read(1, run.toUtf8(), doc, nullptr, nullptr));
        QVERIFY(doc.body()->toPlainText().count(QChar(0x200B)) > 1); // broken up while edited
        QByteArray out;
        QVERIFY(Formats::write(format, doc, nullptr, &out, nullptr));
        Document back;
        QVERIFY(Formats::read(format, out, back, nullptr, nullptr));
        if (format == 1)
            QCOMPARE(out, run.toUtf8());
        else // HTML and RTF are read without adding break opportunities
            QCOMPARE(back.body()->toPlainText(), run);
    }
};

QTEST_MAIN(TestFormatsText)
#include "tst_formats_text.moc"
