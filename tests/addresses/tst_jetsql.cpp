#include "AddressFixture.h"

#include "addresses/JetSql.h"
#include "addresses/RecordSource.h"

#include <QTemporaryDir>
#include <QTest>

class TestJetSql : public QObject {
    Q_OBJECT
private slots:
    void like_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("match");
        QTest::newRow("substring") << "*ll*" << "Müller" << true;
        QTest::newRow("substring missing") << "*xy*" << "Müller" << false;
        QTest::newRow("umlaut lower finds upper") << "*müller*" << "MÜLLER" << true;
        QTest::newRow("umlaut upper finds lower") << "*ÄRGER*" << "ärger" << true;
        QTest::newRow("umlaut is not its base") << "*muller*" << "Müller" << false;
        QTest::newRow("accented capital") << "*séan*" << "SÉAN" << true;
        QTest::newRow("prefix") << "Verein*" << "Vereinsvorstand" << true;
        QTest::newRow("prefix exact") << "Verein*" << "Verein" << true;
        QTest::newRow("prefix elsewhere") << "Verein*" << "Sportverein" << false;
        QTest::newRow("whole text") << "Verein" << "Vereinsvorstand" << false;
        QTest::newRow("whole text, other case") << "verein" << "VEREIN" << true;
        QTest::newRow("question mark one char") << "M?ller" << "Müller" << true;
        QTest::newRow("question mark not zero") << "M?ller" << "Mller" << false;
        QTest::newRow("question mark not two") << "M?ller" << "Maaller" << false;
        QTest::newRow("hash digit") << "79###" << "79098" << true;
        QTest::newRow("hash not letter") << "79###" << "79a98" << false;
        QTest::newRow("hash too short") << "79###" << "7909" << false;
        QTest::newRow("percent is literal") << "*%*" << "Müller" << false;
        QTest::newRow("underscore is literal") << "M_ller" << "Maller" << false;
        QTest::newRow("star alone") << "*" << "" << true;
        QTest::newRow("empty word search") << "**" << "Becker" << true;
        QTest::newRow("star in middle") << "B*r" << "Becker" << true;
        QTest::newRow("star in middle backtracks") << "*e*er" << "Beckerer" << true;
        QTest::newRow("list") << "[BM]*" << "Meier" << true;
        QTest::newRow("negated list") << "[!BM]*" << "Meier" << false;
        QTest::newRow("range") << "[a-c]*" << "Becker" << true;
        QTest::newRow("bracketed star is literal") << "a[*]b" << "a*b" << true;
        QTest::newRow("bracketed star literal miss") << "a[*]b" << "axb" << false;
        QTest::newRow("apostrophe") << "*O'Neill*" << "Seán O'Neill" << true;
        QTest::newRow("sharp s") << "*straße*" << "HAUPTSTRASSE" << false;
        QTest::newRow("sharp s upper") << "*STRAẞE*" << "Hauptstraße" << true;
    }
    void like()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        QTEST(JetSql::like(pattern, text), "match");
    }

    void germanOrder_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("umlaut beside base") << "Ärger" << "Becker";
        QTest::newRow("umlaut before z") << "Öztürk" << "Zander";
        QTest::newRow("umlaut after base on tie") << "Muller" << "Müller";
        QTest::newRow("umlaut then later letter") << "Müller" << "Mulz";
        QTest::newRow("case ignored") << "de Vries" << "Decker";
        QTest::newRow("lower d among D") << "Dach" << "de Vries";
        QTest::newRow("sharp s as ss") << "Strasse" << "Straßf";
        QTest::newRow("upper before lower on tie") << "Becker" << "becker";
        QTest::newRow("shorter first") << "Meier" << "Meiers";
        QTest::newRow("empty first") << "" << "A";
        QTest::newRow("same umlaut prefix") << "Müller1" << "Müller2";
        QTest::newRow("byte prefix") << "Mü" << "Müller";
        QTest::newRow("umlauts differ in second byte") << "Mä" << "Mö";
        QTest::newRow("umlaut against later ASCII") << "Mö" << "Mp";
        QTest::newRow("umlaut against earlier ASCII") << "Mn" << "Mö";
    }
    void germanOrder()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QVERIFY(JetSql::germanCompare(before, after) < 0);
        QVERIFY(JetSql::germanCompare(after, before) > 0);
        QCOMPARE(JetSql::germanCompare(before, before), 0);
    }

    // The installed functions are the ones the statements use.
    void statementsUseThem()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("address50.adr"));
        QVERIFY(AddressFixture::makeWith(path, {QStringLiteral("MÜLLER|Hans"), QStringLiteral("Zander|Erika"),
                                                QStringLiteral("Ärger|Anna"), QStringLiteral("de Vries|Jan"),
                                                QStringLiteral("Becker|Karl"), QStringLiteral("Dach|Udo")}));
        RecordSource rs;
        QVERIFY(rs.open(path, QStringLiteral("SELECT * FROM Addressen WHERE Nachname Like '*müller*'")));
        QCOMPARE(rs.recordCount(), 1);
        QCOMPARE(rs.field(QStringLiteral("Nachname")), QStringLiteral("MÜLLER"));

        rs.setRecordSource(QStringLiteral("select * from [Addressen] Order by [Nachname], [Vorname]"));
        QVERIFY(rs.refresh());
        QStringList names;
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            names << rs.field(QStringLiteral("Nachname"));
        QCOMPARE(names, QStringList({"Ärger", "Becker", "Dach", "de Vries", "MÜLLER", "Zander"}));
    }

    // A file made elsewhere, with no collation declared, lists in the same order.
    void undeclaredColumnsSortGerman()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("address60.qxa"));
        QVERIFY(AddressFixture::exec(
            path, "CREATE TABLE Addressen (Nr INTEGER, Anrede, Vorname, Nachname, Adresse, Postleitzahl, Ort, "
                  "LaenderKZ, Land, AnredezHd, NamezHd, MitgliedsNr, Gruppe);"
                  "INSERT INTO Addressen (Nr, Nachname, Vorname) VALUES (1, 'Zander', 'a'), (2, 'de Vries', 'b'),"
                  "(3, 'Ärger', 'c'), (4, 'becker', 'd'), (5, 'Becker', 'A');"));
        RecordSource rs;
        QVERIFY(rs.open(path, QStringLiteral("select * from [Addressen] Order by [Nachname], [Vorname]")));
        QStringList names;
        for (int i = 0; i < rs.recordCount(); ++i)
            names << rs.fieldAt(i, QStringLiteral("Nachname")) + rs.fieldAt(i, QStringLiteral("Vorname"));
        QCOMPARE(names, QStringList({"Ärgerc", "BeckerA", "beckerd", "de Vriesb", "Zandera"}));
        QCOMPARE(rs.fieldAt(4, QStringLiteral("Nr")), QStringLiteral("1"));
    }
};

QTEST_MAIN(TestJetSql)
#include "tst_jetsql.moc"
