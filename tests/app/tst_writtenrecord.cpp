#include "app/WrittenRecord.h"

#include "TestCommon.h"

class TestWrittenRecord : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readsItemsOfEveryKind()
    {
        WrittenRecordReader r(QByteArray("\"Hallo, Welt\",#TRUE#,#FALSE#,12.5,-3,ohne Quote\r\n"
                                         "\"zweite\"  ,\"\",\r\n"));
        QCOMPARE(r.next(), QVariant(QStringLiteral("Hallo, Welt")));
        QCOMPARE(r.next(), QVariant(true));
        QCOMPARE(r.next(), QVariant(false));
        QCOMPARE(r.next(), QVariant(12.5));
        QCOMPARE(r.next(), QVariant(-3.0));
        QCOMPARE(r.next(), QVariant(QStringLiteral("ohne Quote")));
        QVERIFY(!r.atEnd());
        QCOMPARE(r.nextText(), QStringLiteral("zweite"));
        QCOMPARE(r.nextText(), QString());
        QCOMPARE(r.nextText(), QString());
        QVERIFY(r.atEnd());
        QCOMPARE(decodeText(QByteArray("\x80")), QStringLiteral("€"));
    }

    void itemsOfHostileBytes_data()
    {
        addColumns<QByteArray, QStringList>("bytes", "items");
        QTest::newRow("every line end") << QByteArray("a\nb\rc\r\nd") << QStringList({"a", "b", "c", "d"});
        QTest::newRow("unterminated quote") << QByteArray("\"offen") << QStringList{"offen"};
        QTest::newRow("windows-1252") << QByteArray("\"M\xfcller\"") << QStringList{"Müller"};
        QTest::newRow("utf-8 with bom") << QByteArray("\xEF\xBB\xBF\"M\xc3\xbcller\"") << QStringList{"Müller"};
    }
    void itemsOfHostileBytes()
    {
        QFETCH(QByteArray, bytes);
        WrittenRecordReader r(bytes);
        QStringList items;
        while (!r.atEnd())
            items << r.nextText();
        QTEST(items, "items");
    }

    void writerRoundTrip()
    {
        WrittenRecordWriter w;
        w.text(QStringLiteral("Grüße, \"Anna\"")).flag(true).flag(false).number(11.5).endRecord();
        w.text(QStringLiteral("Arial")).number(12).endRecord();
        // No escaping: the quote is written as it is and cuts the text when read back.
        QCOMPARE(w.data(), QByteArray("\"Grüße, \"Anna\"\",#TRUE#,#FALSE#,11.5\r\n\"Arial\",12\r\n"));

        QTemporaryDir d;
        const QString path = d.path() + QStringLiteral("/FontText.txt");
        QVERIFY(w.writeTo(path));
        bool ok = false;
        WrittenRecordReader r = WrittenRecordReader::fromFile(path, &ok);
        QVERIFY(ok);
        QCOMPARE(r.nextText(), QStringLiteral("Grüße, "));
        QCOMPARE(r.nextBool(), true);
    }

    void writeToMissingFolderFails()
    {
        WrittenRecordWriter w;
        w.text(QStringLiteral("x")).endRecord();
        QString error;
        QVERIFY(!w.writeTo(QStringLiteral("/nonexistent-folder/x.txt"), &error));
        QVERIFY(!error.isEmpty());
        bool ok = true;
        WrittenRecordReader::fromFile(QStringLiteral("/nonexistent-folder/x.txt"), &ok);
        QVERIFY(!ok);
    }
};

QTEST_GUILESS_MAIN(TestWrittenRecord)
#include "tst_writtenrecord.moc"
