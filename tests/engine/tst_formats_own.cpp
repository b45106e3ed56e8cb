#include "FormatTestSupport.h"
#include "engine/Document.h"
#include "engine/formats/DocumentTransfer.h"
#include "engine/formats/Formats.h"

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
        QCOMPARE(dumpAll(back), dumpAll(doc));
        const QImage img = DocumentTransfer::image(back.body(), QStringLiteral("bild1"));
        QCOMPARE(img.convertToFormat(QImage::Format_ARGB32), testImage());
    }

    void brokenInputGivesGermanError_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("error");
        const QString broken = QStringLiteral("Die Datei ist beschädigt und kann nicht gelesen werden.");
        const QString notOurs = QStringLiteral("Die Datei ist kein Dokument der Textverarbeitung.");
        const QString noBody = QStringLiteral("Die Datei ist unvollständig: der Textteil fehlt.");
        QTest::newRow("empty") << QByteArray() << notOurs;
        QTest::newRow("no version") << QByteArray("<textdocument><body/></textdocument>") << notOurs;
        QTest::newRow("no body") << QByteArray("<textdocument version=\"1\"><page width=\"1\"/></textdocument>") << noBody;
        QTest::newRow("truncated")
            << QByteArray("<textdocument version=\"1\"><body><formats/><p><r format=\"0\">Hal") << broken;
        QTest::newRow("huge table")
            << QByteArray("<textdocument version=\"1\"><body><table rows=\"100000\" columns=\"100000\"/></body></textdocument>")
            << broken;
        QTest::newRow("5000 frames") << QByteArray("<textdocument version=\"1\"><body>").append(QByteArray("<frame>").repeated(5000))
                                     << broken;
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
        QVERIFY(doc.body()->isEmpty());
        QCOMPARE(doc.headerFooterSet(), 0);
        QCOMPARE(doc.page(), PageGeometry());
        QCOMPARE(doc.body()->defaultFont().toString(), fontBefore);
    }

    void typeOfPath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("type");
        QTest::newRow("txm") << "brief.Txm" << 3;
        QTest::newRow("doc") << "a.doc" << 9;
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
