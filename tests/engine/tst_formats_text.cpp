#include "TestFiles.h"
#include "FormatTestSupport.h"
#include "TestHome.h"
#include "engine/Document.h"
#include "engine/formats/Formats.h"
#include "shell/BatchConvert.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace FormatTest;

namespace {

QTextCharFormat formatAt(const QTextDocument* doc, const QString& text)
{
    const int pos = doc->toPlainText().indexOf(text);
    QTextCursor c(const_cast<QTextDocument*>(doc));
    c.setPosition(pos + 1);
    return c.charFormat();
}

} // namespace

class TestFormatsText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readsTextInEveryEncodingAndLineEnd_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QStringList>("lines");
        const QStringList umlauts{QStringLiteral("Grüße"), QStringLiteral("€ 5")};
        QTest::newRow("utf8 crlf") << QByteArray("Gr\xc3\xbc\xc3\x9f" "e\r\n\xe2\x82\xac 5") << umlauts;
        QTest::newRow("utf8 bom lf") << QByteArray("\xef\xbb\xbfGr\xc3\xbc\xc3\x9f" "e\n\xe2\x82\xac 5") << umlauts;
        QTest::newRow("cp1252 cr") << QByteArray("Gr\xfc\xdf" "e\r\x80 5") << umlauts;
        QTest::newRow("mixed ends")
            << QByteArray("a\r\nb\nc\rd\r\n\r\ne") << QStringList{"a", "b", "c", "d", "", "e"};
        QTest::newRow("trailing end") << QByteArray("a\r\n") << QStringList{"a", ""};
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
        QVERIFY(!out.startsWith("\xef\xbb\xbf"));
    }

    void binaryTextIsRefused()
    {
        Document doc;
        QString error;
        QVERIFY(!Formats::read(1, QByteArray("ab\0cd", 5), doc, nullptr, &error));
        QCOMPARE(error, QStringLiteral("Die Datei enthält keinen lesbaren Text."));
        QVERIFY(!Formats::read(4, QByteArray("<p>\0</p>", 8), doc, nullptr, &error));
        QCOMPARE(error, QStringLiteral("Die Datei ist keine lesbare HTML-Datei."));
    }

    void pdfWrittenCssAnswersInGerman()
    {
        Document doc;
        QByteArray out;
        QString error;
        QVERIFY2(Formats::write(12, doc, nullptr, &out, &error), qPrintable(error));
        QVERIFY(out.startsWith("%PDF-"));
        QVERIFY(!Formats::read(11, "p { }", doc, nullptr, &error));
        QCOMPARE(error, QStringLiteral("Style-Sheet-Dateien können nicht geöffnet werden."));
        QVERIFY(!Formats::read(77, "x", doc, nullptr, &error));
        QCOMPARE(error, QStringLiteral("Dieses Dateiformat kann nicht gelesen werden."));
    }

    void htmlRoundTripInEveryStyleMode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("inline") << 0;
        QTest::newRow("embedded") << 1;
    }
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
        QCOMPARE(html.contains("<style"), mode == 1);
        QCOMPARE(html.contains("style=\"font-family: 'Times New Roman'"), mode == 0);
        Document back;
        QVERIFY2(Formats::read(4, html, back, nullptr, &error), qPrintable(error));
        const QTextDocument* b = back.body();
        QVERIFY(b->toPlainText().contains(QStringLiteral("Fett kursiv <&> \"Zitat\" äöüß €")));
        const QTextCharFormat fat = formatAt(b, QStringLiteral("Fett"));
        QCOMPARE(fat.fontWeight(), int(QFont::Bold));
        QVERIFY(fat.fontItalic());
        QVERIFY(fat.fontUnderline());
        QVERIFY(fat.fontStrikeOut());
        QCOMPARE(fat.fontPointSize(), 14.0);
        QCOMPARE(fat.foreground().color(), QColor(200, 10, 20));
        QCOMPARE(fat.background().color(), QColor(255, 255, 0));
        QCOMPARE(formatAt(b, QStringLiteral("Verweis")).anchorHref(), QStringLiteral("https://example.org/a?b=1&c=2"));
        QCOMPARE(b->begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
        bool list = false, table = false, image = false;
        for (QTextBlock blk = b->begin(); blk.isValid(); blk = blk.next()) {
            if (blk.text() == u"Zwei" && blk.textList())
                list = blk.textList()->format().style() == QTextListFormat::ListDecimal;
            if (blk.text() == u"Z1S0")
                table = true;
            for (auto it = blk.begin(); !it.atEnd(); ++it)
                if (it.fragment().charFormat().isImageFormat())
                    image = !b->resource(QTextDocument::ImageResource, QUrl(it.fragment().charFormat().toImageFormat().name())).isNull();
        }
        QVERIFY(list);
        QVERIFY(table);
        QVERIFY(image);
    }

    void htmlInEveryEncoding_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("utf8 meta") << QByteArray("<html><head><meta charset=\"utf-8\"></head><body><p>Gr\xc3\xbc\xc3\x9f" "e</p></body></html>");
        QTest::newRow("1252 meta") << QByteArray("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">"
                                                 "</head><body><p>Gr\xfc\xdf" "e</p></body></html>");
        QTest::newRow("no meta 1252") << QByteArray("<p>Gr\xfc\xdf" "e</p>");
        QTest::newRow("utf8 bom") << QByteArray("\xef\xbb\xbf<p>Gr\xc3\xbc\xc3\x9f" "e</p>");
    }
    void htmlInEveryEncoding()
    {
        QFETCH(QByteArray, data);
        Document doc;
        QString error;
        QVERIFY2(Formats::read(4, data, doc, nullptr, &error), qPrintable(error));
        QCOMPARE(doc.body()->toPlainText(), QStringLiteral("Grüße"));
    }

    void selectionWritesOnlyTheSelectedText_data()
    {
        QTest::addColumn<int>("format");
        QTest::newRow("rtf") << 5;
        QTest::newRow("html") << 4;
        QTest::newRow("text") << 1;
        QTest::newRow("xml") << 10;
    }
    void selectionWritesOnlyTheSelectedText()
    {
        QFETCH(int, format);
        Document doc;
        QTextCursor c(doc.body());
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        c.insertText(QStringLiteral("vorher "));
        c.insertText(QStringLiteral("MITTE"), bold);
        c.insertText(QStringLiteral(" nachher"));
        c.setPosition(7);
        c.setPosition(12, QTextCursor::KeepAnchor);
        QByteArray out;
        QVERIFY(Formats::write(format, doc, &c, &out, nullptr));
        Document back;
        QVERIFY(Formats::read(format, out, back, nullptr, nullptr));
        QCOMPARE(back.body()->toPlainText(), QStringLiteral("MITTE"));
        if (format > 1)
            QCOMPARE(formatAt(back.body(), QStringLiteral("MITTE")).fontWeight(), int(QFont::Bold));
    }

    void linkedStyleSheetIsWrittenBesideTheFile()
    {
        QTemporaryDir dir;
        Document doc;
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        QTextCursor(doc.body()).insertText(QStringLiteral("fett"), bold);
        WriteOptions opts;
        opts.styleSheetMode = 2;
        opts.styleSheetFile = QStringLiteral("stil.css");
        QString error;
        QVERIFY2(Formats::writeFile(4, doc, nullptr, dir.filePath(QStringLiteral("a.htm")), QByteArray(), opts, &error),
                 qPrintable(error));
        const QByteArray html = readAll(dir.filePath(QStringLiteral("a.htm")));
        QVERIFY(html.contains("<link rel=\"stylesheet\" type=\"text/css\" href=\"stil.css\" />"));
        QVERIFY(html.contains("class=\"c"));
        const QByteArray css = readAll(dir.filePath(QStringLiteral("stil.css")));
        QVERIFY(css.contains("font-weight: bold"));
        // Read back from the file, the linked sheet gives the class its weight.
        Document back;
        QVERIFY2(Formats::readFile(4, dir.filePath(QStringLiteral("a.htm")), 0, back, nullptr, &error), qPrintable(error));
        QCOMPARE(back.body()->toPlainText(), QStringLiteral("fett"));
        QCOMPARE(formatAt(back.body(), QStringLiteral("fett")).fontWeight(), int(QFont::Bold));
        QByteArray cssFormat;
        QVERIFY(Formats::write(11, doc, nullptr, &cssFormat, nullptr));
        QCOMPARE(cssFormat, css);
    }

    void ownFileWithHeaderReadsBack()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("brief.txm"));
        Document doc;
        fillEveryFeature(doc);
        QString error;
        QVERIFY(Formats::writeFile(3, doc, nullptr, path, Formats::pageHeader(doc.page()), WriteOptions(), &error));
        QCOMPARE(readAll(path).left(30), Formats::pageHeader(doc.page()));
        Document back;
        QVERIFY2(Formats::readFile(3, path, 30, back, nullptr, &error), qPrintable(error));
        QCOMPARE(dumpAll(back), dumpAll(doc));
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
        QCOMPARE(runBatchConvert({QStringLiteral("--convert-to"), QStringLiteral("html"), out + QStringLiteral("/notiz.txm")}), 0);
        QVERIFY(readAll(out + QStringLiteral("/notiz.html")).contains("Zeile 2"));

        // One bad file: the others are still written, the exit code says 1.
        QCOMPARE(runBatchConvert({QStringLiteral("--convert-to"), QStringLiteral("rtf"), dir.filePath(QStringLiteral("kaputt.doc")),
                                  dir.filePath(QStringLiteral("notiz.txt"))}),
                 1);
        QVERIFY(readAll(dir.filePath(QStringLiteral("notiz.rtf"))).startsWith("{\\rtf1"));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("kaputt.rtf"))));
        QCOMPARE(runBatchConvert({QStringLiteral("--convert-to"), QStringLiteral("pdf"), dir.filePath(QStringLiteral("notiz.txt"))}), 0);
        QVERIFY(readAll(dir.filePath(QStringLiteral("notiz.pdf"))).startsWith("%PDF-"));
    }

    void batchRejectsBadArguments_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("nothing") << QStringList();
        QTest::newRow("no files") << QStringList{"--convert-to", "rtf"};
        QTest::newRow("no format") << QStringList{"--convert-to"};
        QTest::newRow("bad format") << QStringList{"--convert-to", "odt", "a.txt"};
        QTest::newRow("bad option") << QStringList{"--convert-to", "rtf", "--schnell", "a.txt"};
        QTest::newRow("missing outdir") << QStringList{"--convert-to", "rtf", "a.txt", "--outdir"};
        QTest::newRow("outdir impossible") << QStringList{"--convert-to", "rtf", "--outdir", "/proc/nicht/da", "a.txt"};
    }
    void batchRejectsBadArguments()
    {
        QFETCH(QStringList, args);
        QCOMPARE(runBatchConvert(args), 2);
    }
};

QTEST_MAIN(TestFormatsText)
#include "tst_formats_text.moc"
