#include "FormatTestSupport.h"
#include "engine/Document.h"
#include "engine/formats/DocumentTransfer.h"
#include "engine/formats/Formats.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace FormatTest;

class TestFormatsOwn : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void roundTripKeepsEveryFeature_data()
    {
        QTest::addColumn<int>("format");
        QTest::newRow("own") << 3;
        QTest::newRow("xml") << 10;
    }
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
        const QStringList a = dumpAll(doc);
        const QStringList b = dumpAll(back);
        for (int i = 0; i < qMin(a.size(), b.size()); ++i)
            QCOMPARE(b[i], a[i]);
        QCOMPARE(b.size(), a.size());
        const QImage img = DocumentTransfer::image(back.body(), QStringLiteral("bild1"));
        QCOMPARE(img.convertToFormat(QImage::Format_ARGB32), testImage());
        // A second trip changes nothing either.
        QByteArray again;
        QVERIFY(Formats::write(format, back, nullptr, &again, &error));
        Document twice;
        QVERIFY(Formats::read(format, again, twice, nullptr, &error));
        QCOMPARE(dumpAll(twice), a);
    }

    // An image inserted from a file is embedded, so the document no longer needs the file.
    void imageFileIsEmbedded()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("logo.png"));
        QVERIFY(testImage().save(path));
        Document doc;
        QTextImageFormat img;
        img.setName(path);
        QTextCursor(doc.body()).insertImage(img);
        QByteArray bytes;
        QVERIFY(Formats::write(3, doc, nullptr, &bytes, nullptr));
        QVERIFY(QFile::remove(path));
        Document back;
        QVERIFY(Formats::read(3, bytes, back, nullptr, nullptr));
        QCOMPARE(DocumentTransfer::image(back.body(), path).convertToFormat(QImage::Format_ARGB32), testImage());
    }

    void readingReplacesTheDocumentAndClearsUndo()
    {
        Document doc;
        fillEveryFeature(doc);
        QByteArray bytes;
        QVERIFY(Formats::write(3, doc, nullptr, &bytes, nullptr));
        Document target;
        QTextCursor(target.body()).insertText(QStringLiteral("alt"));
        target.setHeaderFooterSet(1);
        QVERIFY(target.body()->isUndoAvailable());
        QVERIFY(Formats::read(3, bytes, target, nullptr, nullptr));
        QCOMPARE(dumpAll(target), dumpAll(doc));
        QVERIFY(!target.body()->isUndoAvailable());
    }

    void insertingAddsTheBodyAsOneUndoStep()
    {
        Document src;
        QTextCursor sc(src.body());
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        bold.setProperty(FieldIdProperty, 5);
        sc.insertText(QStringLiteral("fett"), bold);
        sc.insertBlock();
        sc.insertText(QStringLiteral("zwei"));
        QByteArray bytes;
        QVERIFY(Formats::write(3, src, nullptr, &bytes, nullptr));

        Document target;
        PageGeometry g;
        g.width = 5000;
        target.setPage(g);
        QTextCursor c(target.body());
        c.insertText(QStringLiteral("AB"));
        c.setPosition(1);
        QVERIFY(Formats::read(3, bytes, target, &c, nullptr));
        QCOMPARE(target.body()->toPlainText(), QStringLiteral("Afett\nzweiB"));
        QCOMPARE(target.page().width, 5000);
        QTextCursor probe(target.body());
        probe.setPosition(3);
        QCOMPARE(probe.charFormat().property(FieldIdProperty).toInt(), 5);
        target.body()->undo();
        QCOMPARE(target.body()->toPlainText(), QStringLiteral("AB"));
    }

    void newerVersionSkipsUnknownElements()
    {
        const QByteArray xml = "<?xml version=\"1.0\"?><textdocument version=\"7\">"
                               "<zukunft a=\"1\"><tief/></zukunft>"
                               "<page width=\"10000\" height=\"14000\" left=\"1\" top=\"2\" right=\"3\" bottom=\"4\" neu=\"x\"/>"
                               "<body font=\"Arial,11,-1,5,400,0,0,0,0,0,0,0,0,0,0,1\" root=\"-1\"><formats>"
                               "<format id=\"0\" type=\"2\"><property name=\"fontWeight\" type=\"int\">700</property>"
                               "<property name=\"unbekannt\" type=\"int\">1</property>"
                               "<property name=\"user+9\" type=\"neuerTyp\">?</property></format></formats>"
                               "<p format=\"-1\" charFormat=\"-1\"><r format=\"0\">Hallo</r><bild/><r format=\"0\"> Welt</r></p>"
                               "<absatzgruppe><p/></absatzgruppe></body>"
                               "<resources><image name=\"x\">kaputt</image></resources></textdocument>";
        Document doc;
        QString error;
        QVERIFY2(Formats::read(3, xml, doc, nullptr, &error), qPrintable(error));
        QCOMPARE(doc.body()->toPlainText(), QStringLiteral("Hallo Welt"));
        QCOMPARE(doc.page().width, 10000);
        QCOMPARE(doc.page().marginB, 4);
        QTextCursor c(doc.body());
        c.setPosition(2);
        QCOMPARE(c.charFormat().fontWeight(), 700);
    }

    void brokenInputGivesGermanError_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("error");
        const QString broken = QStringLiteral("Die Datei ist beschädigt und kann nicht gelesen werden.");
        const QString notOurs = QStringLiteral("Die Datei ist kein Dokument der Textverarbeitung.");
        const QString noBody = QStringLiteral("Die Datei ist unvollständig: der Textteil fehlt.");
        QTest::newRow("empty") << QByteArray() << notOurs;
        QTest::newRow("other xml") << QByteArray("<html><body/></html>") << notOurs;
        QTest::newRow("no version") << QByteArray("<textdocument><body/></textdocument>") << notOurs;
        QTest::newRow("no body") << QByteArray("<textdocument version=\"1\"><page width=\"1\"/></textdocument>") << noBody;
        QTest::newRow("truncated")
            << QByteArray("<textdocument version=\"1\"><body><formats/><p><r format=\"0\">Hal") << broken;
        QTest::newRow("bad nesting")
            << QByteArray("<textdocument version=\"1\"><body><p></body></p></textdocument>") << broken;
        QTest::newRow("huge table")
            << QByteArray("<textdocument version=\"1\"><body><table rows=\"100000\" columns=\"100000\"/></body></textdocument>")
            << broken;
        QTest::newRow("random") << QByteArray("\x01\x02\xff\xfe garbage <<<", 17) << notOurs;
    }
    void brokenInputGivesGermanError()
    {
        QFETCH(QByteArray, data);
        Document doc;
        QTextCursor(doc.body()).insertText(QStringLiteral("bleibt"));
        QString got;
        QVERIFY(!Formats::read(3, data, doc, nullptr, &got));
        QTEST(got, "error");
        QCOMPARE(doc.body()->toPlainText(), QStringLiteral("bleibt"));
    }

    // A new window's empty document is filled directly; a failure must empty it again.
    void failedReadLeavesAnEmptyDocumentEmpty_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("own") << 3
                             << QByteArray("<textdocument version=\"1\"><page width=\"5000\"/><headerfooter set=\"3\" "
                                           "headerDistance=\"9\"><part id=\"1\"><text><p><r>Kopf</r></p></text></part>"
                                           "</headerfooter><body><formats/><p><r>halb");
        QTest::newRow("rtf") << 5 << QByteArray("{\\rtf1\\paperw5000\\headery9{\\header Kopf\\par}Text\\par{\\b fe");
    }
    void failedReadLeavesAnEmptyDocumentEmpty()
    {
        QFETCH(int, format);
        QFETCH(QByteArray, data);
        Document doc;
        const QString fontBefore = doc.body()->defaultFont().toString();
        QString error;
        QVERIFY(!Formats::read(format, data, doc, nullptr, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(doc.body()->isEmpty());
        QCOMPARE(doc.headerFooterSet(), 0);
        QCOMPARE(doc.page(), PageGeometry());
        QCOMPARE(doc.headerDistance(), 720);
        QCOMPARE(doc.body()->defaultFont().toString(), fontBefore);
    }

    void deepFramesAreRefused()
    {
        QByteArray xml = "<textdocument version=\"1\"><body>";
        for (int i = 0; i < 5000; ++i)
            xml += "<frame>";
        for (int i = 0; i < 5000; ++i)
            xml += "</frame>";
        xml += "</body></textdocument>";
        Document doc;
        QString error;
        QVERIFY(!Formats::read(3, xml, doc, nullptr, &error));
        QVERIFY(!error.isEmpty());
    }

    void pageHeaderHasTheFixedLayout()
    {
        PageGeometry g;
        g.marginL = 1;
        g.marginT = 2;
        g.marginR = 3;
        g.marginB = 4;
        g.height = 16837;
        g.width = 11906;
        const QByteArray h = Formats::pageHeader(g);
        QCOMPARE(h.size(), 30);
        QCOMPARE(h.left(4), QByteArray("\x17\0\0\0", 4));
        QCOMPARE(h.mid(4, 4), QByteArray("\x01\0\0\0", 4));
        QCOMPARE(h.mid(20), QByteArray("\xc5\x41\0\0\x82\x2e\0\0\0\0", 10));
    }

    void typeOfPath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("type");
        QTest::newRow("txm") << "brief.Txm" << 3;
        QTest::newRow("ttx") << "vorlage.ttx" << 3;
        QTest::newRow("html") << "x.html" << 4;
        QTest::newRow("HTM") << "X.HTM" << 4;
        QTest::newRow("rtf") << "a.rtf" << 5;
        QTest::newRow("doc") << "a.doc" << 9;
        QTest::newRow("xml") << "a.xml" << 10;
        QTest::newRow("css") << "a.css" << 11;
        QTest::newRow("pdf") << "a.pdf" << 12;
        QTest::newRow("no dot") << "notes" << 1;
        QTest::newRow("docx") << "a.docx" << 1;
        QTest::newRow("empty") << "" << 1;
        QTest::newRow("dotless rtf") << "artf" << 5;
    }
    void typeOfPath()
    {
        QFETCH(QString, path);
        QTEST(Formats::typeOfPath(path), "type");
    }
};

QTEST_MAIN(TestFormatsOwn)
#include "tst_formats_own.moc"
