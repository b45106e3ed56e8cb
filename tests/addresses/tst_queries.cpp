#include "AddressFixture.h"

#include "addresses/Queries.h"
#include "addresses/RecordSource.h"

#include <QTemporaryDir>
#include <QTest>

class TestQueries : public QObject {
    Q_OBJECT
private slots:
    // Every statement runs on a real file and finds what it should.
    void run_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QStringList>("lastNames");
        QTest::newRow("name order") << Queries::nameOrder()
                                    << QStringList{"Ärger", "Berg", "Berg", "O'Neill", "Vogel", "Zorn"};
        QTest::newRow("type search misses town") << Queries::typeSearch(QStringLiteral("bonn")) << QStringList{};
        QTest::newRow("apostrophe word") << Queries::search(QStringLiteral("O'Neill")) << QStringList{"O'Neill"};
        QTest::newRow("group prefix") << Queries::group(QStringLiteral("Verein"))
                                      << QStringList{"Berg", "Vogel"};
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
