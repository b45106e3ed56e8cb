// OpenDocument texts (.odt): a package assembled here from parts written in the manner
// of LibreOffice (tests/engine/data/odt-*.xml) reads into the expected document, and our
// own documents come back from ODT with every feature they hold.
#include "FormatTestSupport.h"
#include "OwnSample.h"

#include "engine/formats/Formats.h"
#include "engine/formats/zip/ZipPackage.h"

#include <QBuffer>
#include <QTest>

using namespace OwnSample;

namespace {

QByteArray odtLetter()
{
    // The parts as LibreOffice writes them, in the test data folder.
    return FormatTest::zip({{QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.text"},
                            {QStringLiteral("content.xml"), FormatTest::fixture("odt-content.xml")},
                            {QStringLiteral("styles.xml"), FormatTest::fixture("odt-styles.xml")},
                            {QStringLiteral("Pictures/bild.png"), FormatTest::testPng()}});
}

} // namespace

class TestOdt : public QObject {
    Q_OBJECT

private slots:
    void libreOfficeLetterReadsAsExpected()
    {
        Document doc;
        QString error, notice;
        QVERIFY2(Formats::read(14, odtLetter(), doc, nullptr, &error, &notice), qPrintable(error));
        QCOMPARE(notice, QStringLiteral("Einige Bestandteile der Datei kann die Textverarbeitung nicht darstellen: "
                                        "Fuß- und Endnoten (stehen am Ende des Textes), Füllzeichen von Tabulatoren."));
        const QTextDocument* body = doc.body();
        // A5: 14.8 x 21 cm; the top margin holds the 1 cm header band and its 0.5 cm gap.
        QCOMPARE(doc.page(), (PageGeometry{8391, 11906, 1134, 1417, 1134, 1134}));
        QCOMPARE(doc.headerDistance(), 567);
        QCOMPARE(doc.footerDistance(), 567);
        QCOMPARE(body->defaultFont().family(), QStringLiteral("Liberation Serif"));
        QCOMPARE(body->defaultFont().pointSizeF(), 12.0);

        // Page one's master page has a header of its own and no footer.
        QCOMPARE(doc.headerFooterSet(), 1 | 2 | 4 | 8);
        QCOMPARE(doc.headerFooter(1)->toPlainText(), QStringLiteral("Kopf ODT"));
        QCOMPARE(doc.headerFooter(2)->toPlainText(), QStringLiteral("Erste ODT"));
        QCOMPARE(doc.headerFooter(8)->toPlainText(), QString());
        const QString obj(QChar::ObjectReplacementCharacter);
        QCOMPARE(doc.headerFooter(4)->toPlainText(), QStringLiteral("Seite ") + obj + QStringLiteral(" von ") + obj);
        QCOMPARE(objects(doc.headerFooter(4)), (QList<QPair<int, int>>{{EngineObject::PageNumber, FieldTypes::PageNumber},
                                                                        {EngineObject::PageCount, FieldTypes::PageCount}}));
        QCOMPARE(doc.headerFooter(4)->begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);

        const QTextBlock heading = blockWith(body, QStringLiteral("Angebot"));
        QCOMPARE(heading.blockFormat().headingLevel(), 1);
        QCOMPARE(FormatTest::formatAt(body, QStringLiteral("Angebot")).fontPointSize(), 15.6);
        QCOMPARE(FormatTest::formatAt(body, QStringLiteral("Angebot")).fontWeight(), int(QFont::Bold));

        // Blanks: a row of three in the XML is one, text:s adds two.
        const QTextBlock letter = blockWith(body, QStringLiteral("Sehr geehrte Frau\tMüller") + QChar(QChar::LineSeparator)
                                                      + QStringLiteral("zweite Zeile  Ende"));
        QVERIFY(letter.isValid());
        const QTextBlockFormat lf = letter.blockFormat();
        QCOMPARE(lf.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QVERIFY(qAbs(lf.leftMargin() - 37.795) < 0.01);   // 1 cm
        QVERIFY(qAbs(lf.rightMargin() - 18.898) < 0.01);  // 0.5 cm
        QVERIFY(qAbs(lf.topMargin() - 7.559) < 0.01);     // 0.2 cm
        QVERIFY(qAbs(lf.textIndent() - 18.898) < 0.01);
        QCOMPARE(lf.lineHeight(), 150.0);
        const QList<QTextOption::Tab> tabs = lf.tabPositions();
        QCOMPARE(tabs.size(), 3);
        QCOMPARE(tabs[1].type, QTextOption::DelimiterTab);
        // 5 cm from the left indent; Qt counts from the first line's start, 0.5 cm further in.
        QVERIFY(qAbs(tabs[1].position - 170.079) < 0.01); // 4.5 cm
        QCOMPARE(tabs[2].type, QTextOption::RightTab);
        const QTextCharFormat sehr = FormatTest::formatAt(body, QStringLiteral("Sehr"));
        QCOMPARE(sehr.fontFamilies().toStringList(), QStringList{QStringLiteral("Arial")});
        QCOMPARE(sehr.fontPointSize(), 14.0);
        QCOMPARE(sehr.fontWeight(), int(QFont::Bold));
        const QTextCharFormat frau = FormatTest::formatAt(body, QStringLiteral("Frau"));
        QVERIFY(frau.fontItalic() && frau.fontUnderline());
        QCOMPARE(frau.foreground().color(), QColor(0xC0, 0, 0));
        QCOMPARE(frau.background().color(), QColor(Qt::yellow));

        // Lists: the sub-level is its own list; "Drittens" goes on from "Zweitens".
        const QStringList items{QStringLiteral("Erstens"), QStringLiteral("Unterpunkt"), QStringLiteral("Zweitens"),
                                QStringLiteral("Drittens")};
        const QStringList labels{QStringLiteral("1."), QStringLiteral("a)"), QStringLiteral("2."), QStringLiteral("3.")};
        for (int i = 0; i < items.size(); ++i) {
            const QTextBlock b = blockWith(body, items[i]);
            QVERIFY2(b.textList(), qPrintable(items[i]));
            QCOMPARE(b.textList()->itemText(b), labels[i]);
        }
        QVERIFY(blockWith(body, QStringLiteral("Zwischentext")).isValid()); // half of it in a LibreOffice content control
        QVERIFY(!blockWith(body, QStringLiteral("Zwischentext")).textList());
        QCOMPARE(blockWith(body, QStringLiteral("Punkt")).textList()->format().style(), QTextListFormat::ListDisc);
        const QTextBlock sub = blockWith(body, QStringLiteral("Unterpunkt"));
        QCOMPARE(sub.textList()->format().intProperty(ListLevel), 2);
        QCOMPARE(sub.textList()->format().intProperty(ListIndentText), 1080);  // 1.905 cm
        QCOMPARE(sub.textList()->format().intProperty(ListIndentMarker), 720); // 1.27 cm

        QTextTable* t = firstTable(body);
        QVERIFY(t);
        QCOMPARE(t->rows(), 2);
        QCOMPARE(t->columns(), 3);
        QCOMPARE(t->cellAt(0, 0).columnSpan(), 2);
        QCOMPARE(t->cellAt(0, 2).rowSpan(), 2);
        QCOMPARE(cellText(t, 0, 0), QStringLiteral("Kopf"));
        QCOMPARE(cellText(t, 1, 1), QStringLiteral("Mitte"));
        QCOMPARE(t->cellAt(0, 0).format().background().color(), QColor(0xD9, 0xD9, 0xD9));
        QCOMPARE(t->format().border(), 1.0);
        const QList<QTextLength> widths = t->format().columnWidthConstraints();
        QCOMPARE(widths.size(), 3);
        QVERIFY(qAbs(widths[2].rawValue() - 113.386) < 0.05); // 3 cm, in whole twips

        const QTextBlock two = blockWith(body, QStringLiteral("Seite zwei mit Bild ") + obj);
        QVERIFY(two.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
        const QTextImageFormat img = FormatTest::formatAt(body, obj).toImageFormat();
        QVERIFY(img.isValid());
        QVERIFY(qAbs(img.width() - 75.6) < 0.1); // 2 cm
        QVERIFY(qAbs(img.height() - 37.8) < 0.1);

        QCOMPARE(FormatTest::formatAt(body, QStringLiteral("Webseite")).anchorHref(), QStringLiteral("https://example.org/?a=1&b=2"));
        QVERIFY(blockWith(body, QStringLiteral("Webseite mit Fußnote1")).isValid());
        QCOMPARE(body->lastBlock().text(), QStringLiteral("1Die Quelle."));
    }

    void ownDocumentComesBack()
    {
        Document original;
        fill(original);
        QByteArray odt;
        QString error;
        QVERIFY2(Formats::write(14, original, nullptr, &odt, &error), qPrintable(error));
        // ODF wants its type first and stored, so that the file can be recognised.
        QCOMPARE(odt.mid(30, 47), QByteArray("mimetypeapplication/vnd.oasis.opendocument.text"));
        Document back;
        QVERIFY2(Formats::read(14, odt, back, nullptr, &error), qPrintable(error));
        OwnSample::compare(original, back);
    }

    void brokenPackagesAreRefused()
    {
        Document doc;
        QString error;
        const QByteArray bomb = FormatTest::zip(
            {{QStringLiteral("content.xml"), "<?xml version=\"1.0\"?><!DOCTYPE x [<!ENTITY e \"e\">]><x>&e;</x>"}});
        QVERIFY(!Formats::read(14, bomb, doc, nullptr, &error));
        QCOMPARE(error, QStringLiteral("Die Datei enthält eine DTD-Deklaration (\"content.xml\") und wird aus Sicherheitsgründen nicht gelesen."));
        QVERIFY(!Formats::read(14, QByteArray("kein Paket"), doc, nullptr, &error));
        QCOMPARE(error, QStringLiteral("Die Datei ist kein gültiges ZIP-Paket und kann nicht gelesen werden."));
    }
};

QTEST_MAIN(TestOdt)
#include "tst_odt.moc"
