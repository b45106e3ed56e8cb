#include "AddressFixture.h"

#include "addresses/Queries.h"
#include "addresses/RecordSource.h"

#include <QTemporaryDir>
#include <QTest>

class TestQueries : public QObject {
    Q_OBJECT
private slots:
    void texts_data()
    {
        QTest::addColumn<QString>("made");
        QTest::addColumn<QString>("expected");
        QTest::newRow("name order") << Queries::nameOrder()
                                    << "select * from [Addressen] Order by [Nachname], [Vorname]";
        QTest::newRow("last-name order") << Queries::lastNameOrder() << "select * from [Addressen] Order by [Nachname]";
        QTest::newRow("search") << Queries::search(QStringLiteral("Berg"))
                                << "SELECT * FROM Addressen WHERE Nachname Like '*Berg*' OR Vorname LIKE '*Berg*' OR "
                                   "Adresse LIKE '*Berg*' OR Ort LIKE '*Berg*'  Order by Nachname";
        QTest::newRow("search keeps blanks") << Queries::search(QStringLiteral(" a b "))
                                             << "SELECT * FROM Addressen WHERE Nachname Like '* a b *' OR Vorname LIKE "
                                                "'* a b *' OR Adresse LIKE '* a b *' OR Ort LIKE '* a b *'  Order by "
                                                "Nachname";
        QTest::newRow("type search") << Queries::typeSearch(QStringLiteral("mü"))
                                     << "SELECT * FROM Addressen WHERE  Nachname LIKE '*mü*' OR Vorname LIKE "
                                        "'*mü*'Order by Nachname";
        QTest::newRow("group") << Queries::group(QStringLiteral("Verein"))
                               << "SELECT * FROM Addressen WHERE Gruppe Like 'Verein*'Order by [Nachname], [Vorname]";
        QTest::newRow("postcode order") << Queries::postcodeOrder() << "SELECT ALL * FROM Addressen ORDER BY Postleitzahl";
        QTest::newRow("record number") << Queries::recordNumber(42) << "[Nr] LIKE '42'";
        QTest::newRow("apostrophe in word")
            << Queries::typeSearch(QStringLiteral("O'Neill"))
            << "SELECT * FROM Addressen WHERE  Nachname LIKE '*O''Neill*' OR Vorname LIKE '*O''Neill*'Order by Nachname";
        QTest::newRow("apostrophe in group") << Queries::group(QStringLiteral("Kunden's"))
                                             << "SELECT * FROM Addressen WHERE Gruppe Like 'Kunden''s*'Order by "
                                                "[Nachname], [Vorname]";
    }
    void texts()
    {
        QFETCH(QString, made);
        QTEST(made, "expected");
    }

    // Every statement runs on a real file and finds what it should.
    void run_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QStringList>("lastNames");
        QTest::newRow("name order") << Queries::nameOrder()
                                    << QStringList{"Ärger", "Berg", "Berg", "O'Neill", "Vogel", "Zorn"};
        QTest::newRow("search finds town") << Queries::search(QStringLiteral("bonn")) << QStringList{"Zorn"};
        QTest::newRow("type search misses town") << Queries::typeSearch(QStringLiteral("bonn")) << QStringList{};
        QTest::newRow("type search first name") << Queries::typeSearch(QStringLiteral("ANNA")) << QStringList{"Ärger"};
        QTest::newRow("apostrophe word") << Queries::search(QStringLiteral("O'Neill")) << QStringList{"O'Neill"};
        QTest::newRow("group prefix") << Queries::group(QStringLiteral("Verein"))
                                      << QStringList{"Berg", "Vogel"};
        QTest::newRow("group apostrophe") << Queries::group(QStringLiteral("Pat's")) << QStringList{"O'Neill"};
        QTest::newRow("postcode order") << Queries::postcodeOrder()
                                        << QStringList{"Vogel", "Berg", "Ärger", "Zorn", "Berg", "O'Neill"};
    }
    void run()
    {
        QFETCH(QString, statement);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("address50.adr"));
        QVERIFY(AddressFixture::makeWith(
            path, {QStringLiteral("Zorn|Udo|Weg 1|Bonn||50000"), QStringLiteral("Berg|Karl|Hof 2|Köln|Vereinsvorstand|10000"),
                   QStringLiteral("Ärger|Anna|Ring 3|Ulm||30000"), QStringLiteral("Vogel|Eva|Allee 4|Kiel|Verein|01000"),
                   QStringLiteral("O'Neill|Seán|Street 5|Dublin|Pat's|90000"), QStringLiteral("Berg|Ida|Hof 6|Köln|Kunden|60000")}));
        RecordSource rs;
        QVERIFY2(rs.open(path, statement), qPrintable(rs.lastError()));
        QStringList got;
        for (int i = 0; i < rs.recordCount(); ++i)
            got << rs.fieldAt(i, QStringLiteral("Nachname"));
        QTEST(got, "lastNames");
    }
};

QTEST_MAIN(TestQueries)
#include "tst_queries.moc"
