// The ZIP wrapper under DOCX and ODT: members in and out, and every limit that keeps
// a hostile package from exhausting memory or escaping its folder.
#include "FormatTestSupport.h"
#include "engine/formats/zip/XmlTree.h"
#include "engine/formats/zip/ZipPackage.h"

#include <QRandomGenerator>
#include "TestCommon.h"

using FormatTest::zip;

class TestZipPackage : public QObject {
    Q_OBJECT

private slots:
    void membersComeBackAsWritten()
    {
        QByteArray noise(70000, '\0');
        for (char& c : noise)
            c = char(QRandomGenerator::global()->bounded(256));
        const QByteArray package = zip({{QStringLiteral("mimetype"), "application/x-test"},
                                        {QStringLiteral("ordner/ä datei.xml"), "<a>Grüße</a>"},
                                        {QStringLiteral("bin/noise"), noise}});
        QVERIFY(package.startsWith("PK\x03\x04"));
        ZipPackage::Reader r;
        QString error;
        QVERIFY2(r.open(package, &error), qPrintable(error));
        QCOMPARE(r.names(), QStringList({QStringLiteral("mimetype"), QStringLiteral("ordner/ä datei.xml"),
                                         QStringLiteral("bin/noise")}));
        QByteArray data;
        QVERIFY(r.read(QStringLiteral("ordner/ä datei.xml"), &data, &error));
        QCOMPARE(data, QByteArray("<a>Grüße</a>"));
        QVERIFY(r.read(QStringLiteral("bin/noise"), &data, &error));
        QCOMPARE(data, noise);
        QVERIFY(!r.read(QStringLiteral("fehlt.xml"), &data, &error));
        QCOMPARE(error, QStringLiteral("Der Teil \"fehlt.xml\" fehlt in der Datei."));
    }

    void limits_data()
    {
        addColumns<QByteArray, int, qint64, qint64, bool, QString>(
            "package", "maxMembers", "maxMember", "maxTotal", "opens", "error");
        const QByteArray four = zip({{QStringLiteral("a"), "1"}, {QStringLiteral("b"), "2"},
                                         {QStringLiteral("c"), "3"}, {QStringLiteral("d"), "4"}});
        QTest::newRow("four members, four allowed") << four << 4 << qint64(100) << qint64(100) << true << QString();
        QTest::newRow("four members, three allowed")
            << four << 3 << qint64(100) << qint64(100) << false
            << QStringLiteral("Die Datei enthält zu viele Teile (mehr als 3) und wird nicht gelesen.");
        // 3 MB of one letter packs to a few kilobytes: a ratio far above 200.
        const QByteArray bomb = zip({{QStringLiteral("word/document.xml"), QByteArray(3 << 20, 'A')}});
        QTest::newRow("member above the size limit")
            << bomb << 10 << qint64(2 << 20) << qint64(100 << 20) << false
            << QStringLiteral("Die Datei ist entpackt zu groß (mehr als 2 MB) und wird nicht gelesen.");
        const QByteArray two = zip({{QStringLiteral("x"), QByteArray(600 << 10, 'x')}, {QStringLiteral("y"), QByteArray(600 << 10, 'y')}});
        QTest::newRow("total above the limit")
            << two << 10 << qint64(1 << 20) << qint64(1 << 20) << false
            << QStringLiteral("Die Datei ist entpackt zu groß (mehr als 1 MB) und wird nicht gelesen.");
        QTest::newRow("climbing path")
            << zip({{QStringLiteral("word/../../etc/passwd"), "x"}}) << 10 << qint64(100) << qint64(100) << false
            << QStringLiteral("Die Datei enthält einen unzulässigen Pfad (\"word/../../etc/passwd\") und wird nicht gelesen.");
        QTest::newRow("absolute path")
            << zip({{QStringLiteral("/tmp/x"), "x"}}) << 10 << qint64(100) << qint64(100) << false
            << QStringLiteral("Die Datei enthält einen unzulässigen Pfad (\"/tmp/x\") und wird nicht gelesen.");
        QTest::newRow("no zip") << QByteArray("{\\rtf1 kein Paket}") << 10 << qint64(100) << qint64(100) << false
                                << QStringLiteral("Die Datei ist kein gültiges ZIP-Paket und kann nicht gelesen werden.");
        QByteArray cut = four.left(40);
        QTest::newRow("cut off") << cut << 10 << qint64(100) << qint64(100) << false
                                 << QStringLiteral("Die Datei ist kein gültiges ZIP-Paket und kann nicht gelesen werden.");
    }

    void limits()
    {
        QFETCH(QByteArray, package);
        QFETCH(int, maxMembers);
        QFETCH(qint64, maxMember);
        QFETCH(qint64, maxTotal);
        ZipPackage::Limits limits;
        limits.maxMembers = maxMembers;
        limits.maxMemberSize = maxMember;
        limits.maxTotalSize = maxTotal;
        ZipPackage::Reader r(limits);
        QString got;
        QTEST(r.open(package, &got), "opens");
        QTEST(got, "error");
    }

    void highRatioIsRefusedWhileInflating()
    {
        // Within every size limit, but 3 MB from a few kilobytes.
        const QByteArray bomb = zip({{QStringLiteral("word/document.xml"), QByteArray(3 << 20, 'A')}});
        QVERIFY(bomb.size() < 20000);
        ZipPackage::Reader r;
        QString error;
        QVERIFY(r.open(bomb, &error));
        QByteArray data;
        QVERIFY(!r.read(QStringLiteral("word/document.xml"), &data, &error));
        QCOMPARE(error, QStringLiteral("Die Datei ist ungewöhnlich stark gepackt und wird aus Sicherheitsgründen nicht gelesen."));
        QVERIFY(data.isEmpty());
        // Ordinary text packs well below that ratio.
        QByteArray text;
        for (int i = 0; i < 40000; ++i)
            text += "<w:p><w:r><w:t>Absatz " + QByteArray::number(i) + "</w:t></w:r></w:p>";
        ZipPackage::Reader ok;
        const QByteArray normal = zip({{QStringLiteral("d.xml"), text}});
        QVERIFY(ok.open(normal, &error));
        QVERIFY2(ok.read(QStringLiteral("d.xml"), &data, &error), qPrintable(error));
        QCOMPARE(data.size(), text.size());
    }

    void resolve_data()
    {
        addColumns<QString, QString, QString>("base", "target", "expected");
        QTest::newRow("beside") << "word/document.xml" << "media/image1.png" << "word/media/image1.png";
        QTest::newRow("up one") << "word/document.xml" << "../customXml/item1.xml" << "customXml/item1.xml";
        QTest::newRow("from the root") << "word/document.xml" << "/word/styles.xml" << "word/styles.xml";
        QTest::newRow("package root") << "" << "word/document.xml" << "word/document.xml";
        QTest::newRow("out of the package") << "word/document.xml" << "../../secret" << "";
    }

    void resolve()
    {
        QFETCH(QString, base);
        QFETCH(QString, target);
        QTEST(ZipPackage::resolve(base, target), "expected");
    }

    void xml_data()
    {
        addColumns<QByteArray, QString>("xml", "error");
        QTest::newRow("plain") << QByteArray("<?xml version=\"1.0\"?><w:document xmlns:w=\"urn:w\"><w:t>a &amp; b</w:t></w:document>")
                               << QString();
        QTest::newRow("billion laughs")
            << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE lolz [<!ENTITY lol \"lol\">"
                          "<!ENTITY lol2 \"&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;\">"
                          "<!ENTITY lol3 \"&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;\">]>"
                          "<lolz>&lol3;</lolz>")
            << QStringLiteral("Die Datei enthält eine DTD-Deklaration (\"word/document.xml\") und wird aus "
                              "Sicherheitsgründen nicht gelesen.");
        QTest::newRow("external entity")
            << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE x [<!ENTITY e SYSTEM \"file:///etc/passwd\">]><x>&e;</x>")
            << QStringLiteral("Die Datei enthält eine DTD-Deklaration (\"word/document.xml\") und wird aus "
                              "Sicherheitsgründen nicht gelesen.");
        QTest::newRow("undeclared entity") << QByteArray("<x>&e;</x>")
                                           << QStringLiteral("Die Datei ist beschädigt: \"word/document.xml\" ist kein gültiges XML (Zeile 1).");
        QByteArray deep;
        for (int i = 0; i < 300; ++i)
            deep += "<a>";
        for (int i = 0; i < 300; ++i)
            deep += "</a>";
        QTest::newRow("too deep") << deep << QStringLiteral("Die Datei ist beschädigt: \"word/document.xml\" ist kein gültiges XML (Zeile 1).");
    }

    void xml()
    {
        QFETCH(QByteArray, xml);
        QFETCH(QString, error);
        ZipPackage::XmlNode root;
        QString got;
        QCOMPARE(ZipPackage::parseXml(xml, QStringLiteral("word/document.xml"), &root, &got), error.isEmpty());
        QCOMPARE(got, error);
        if (error.isEmpty()) {
            QCOMPARE(root.name, QStringLiteral("document"));
            QCOMPARE(root.allText(), QStringLiteral("a & b"));
            QCOMPARE(root.children.front().ns, QStringLiteral("urn:w"));
        }
    }
};

QTEST_GUILESS_MAIN(TestZipPackage)
#include "tst_zippackage.moc"
