#include "AddressFixture.h"
#include "TestFiles.h"

#include "addresses/FieldBinder.h"
#include "addresses/Queries.h"
#include "addresses/RecordSource.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestRecordSource : public QObject {
    Q_OBJECT

    std::optional<QTemporaryDir> m_dir;
    QString m_path;

private slots:
    void init()
    {
        m_dir.emplace();
        m_path = m_dir->filePath(QStringLiteral("address50.adr"));
        QVERIFY(AddressFixture::makeWith(m_path, {QStringLiteral("Cäsar|Carl|Chausseestr. 3|Celle"),
                                                  QStringLiteral("Adam|Anna|Am Anger 1|Aachen"),
                                                  QStringLiteral("Bauer|Bernd|Burgweg 2|Bonn")}));
    }
    void cleanup() { m_dir.reset(); }

    void navigation()
    {
        RecordSource rs;
        QVERIFY(rs.open(m_path, Queries::nameOrder()));
        QCOMPARE(rs.field(QStringLiteral("nachname")), QStringLiteral("Adam"));
        rs.moveLast();
        rs.moveNext();
        rs.moveNext(); // stays at the end
        QVERIFY(rs.eof());
        rs.movePrevious();
        QCOMPARE(rs.field(QStringLiteral("Nachname")), QStringLiteral("Cäsar"));
        rs.moveFirst();
        rs.movePrevious();
        QVERIFY(rs.bof());
        QVERIFY(rs.findFirst(Queries::recordNumber(rs.fieldAt(1, QStringLiteral("Nr")).toLongLong())));
        QVERIFY(!rs.findFirst(Queries::recordNumber(999))); // not found: stays
        rs.setAbsolutePosition(7); // out of range: ignored
        QCOMPARE(rs.field(QStringLiteral("Nachname")), QStringLiteral("Bauer"));
        QCOMPARE(rs.field(QStringLiteral("Gruppe")), QString()); // a null column
        QVERIFY(rs.open(m_path, Queries::search(QStringLiteral("zzz"))));
        rs.moveNext();
        QVERIFY(rs.bof() && rs.eof()); // an empty result is both ends
    }

    // Faults: a German text naming what is wrong, no crash, nothing half-done.
    void notADatabase()
    {
        const QString path = m_dir->filePath(QStringLiteral("kaputt.adr"));
        QVERIFY(writeAll(path, QByteArray(4096, 'x')));
        RecordSource rs;
        QVERIFY(!rs.open(path, Queries::nameOrder()));
        QVERIFY2(rs.lastError().contains(QStringLiteral("keine Adressen-Datenbank")), qPrintable(rs.lastError()));
        QVERIFY(!rs.open(m_dir->filePath(QStringLiteral("fehlt.adr")), Queries::nameOrder()));
        QVERIFY(rs.lastError().contains(QStringLiteral("nicht gefunden")));
        QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("fehlt.adr")))); // not created
    }

    void missingTable()
    {
        const QString path = m_dir->filePath(QStringLiteral("alt.adr"));
        QVERIFY(AddressFixture::exec(path, "CREATE TABLE Briefkopf (BriefKName TEXT);"));
        RecordSource rs;
        QVERIFY(!rs.open(path, Queries::nameOrder()));
        QVERIFY2(rs.lastError().contains(QStringLiteral("[Addressen]")), qPrintable(rs.lastError()));
    }

    // A refused save keeps the input and does not take it as saved.
    void saveRefused_data()
    {
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QString>("error");
        QTest::newRow("locked by another program") << true << "gesperrt";
        QTest::newRow("read-only file") << false << "schreibgeschützt";
    }
    void saveRefused()
    {
        QFETCH(bool, locked);
        QFETCH(QString, error);
        if (!locked)
            QVERIFY(QFile::setPermissions(m_path, QFile::ReadOwner | QFile::ReadUser | QFile::ReadGroup));
        RecordSource rs;
        QVERIFY(rs.open(m_path, Queries::nameOrder()));
        FieldBinder binder(&rs);
        QLineEdit last;
        binder.bind(&last, QStringLiteral("Nachname"));
        last.setText(QStringLiteral("Neu"));
        AddressFixture::Lock other(m_path, locked ? "BEGIN IMMEDIATE" : "BEGIN");
        QVERIFY(!binder.save());
        QVERIFY2(rs.lastError().contains(error), qPrintable(rs.lastError()));
        QCOMPARE(last.text(), QStringLiteral("Neu"));
        QCOMPARE(rs.field(QStringLiteral("Nachname")), QStringLiteral("Adam"));
        if (!locked) {
            QVERIFY(!rs.addNew() && !rs.deleteRow());
            QCOMPARE(rs.recordCount(), 3);
            return;
        }
        other.release();
        QVERIFY(binder.save()); // once free, the same input goes in
        QCOMPARE(rs.field(QStringLiteral("Nachname")), QStringLiteral("Neu"));
    }

    // Street and town are read by key when a row becomes current. Under another
    // program's lock that read fails: reported once, the row does not become current,
    // the fields keep the address they show and nothing blank is cached.
    void lockedDuringRead()
    {
        RecordSource rs;
        QVERIFY(rs.open(m_path, Queries::nameOrder()));
        FieldBinder binder(&rs);
        QLineEdit adresse;
        binder.bind(&adresse, QStringLiteral("Adresse"));

        AddressFixture::Lock other(m_path, "BEGIN EXCLUSIVE");
        QSignalSpy errors(&rs, &RecordSource::dataError);
        rs.setAbsolutePosition(2);
        QVERIFY(!rs.loadRow(2));
        QCOMPARE(errors.size(), 1);
        QCOMPARE(adresse.text(), QStringLiteral("Am Anger 1"));

        other.release();
        rs.setAbsolutePosition(2);
        QCOMPARE(adresse.text(), QStringLiteral("Chausseestr. 3"));
        QVERIFY(binder.save());
        RecordSource again;
        QVERIFY(again.open(m_path, Queries::nameOrder()));
        QCOMPARE(again.fieldAt(2, QStringLiteral("Adresse")), QStringLiteral("Chausseestr. 3"));
    }

    // A file SQLite's quick check finds damaged is refused, named, and left untouched.
    void damagedFileRefused_data()
    {
        QTest::addColumn<double>("at");
        QTest::addColumn<int>("length");
        QTest::newRow("schema page") << 0.0 << 200;
        QTest::newRow("cut short") << 0.5 << -1;
    }
    void damagedFileRefused()
    {
        QFETCH(double, at);
        QFETCH(int, length);
        const QString path = m_dir->filePath(QStringLiteral("address60.qxa"));
        QStringList people;
        for (int i = 0; i < 400; ++i)
            people << QStringLiteral("Name%1|Vorname|Lange Straße %1|Ort %1").arg(i);
        QVERIFY(AddressFixture::makeWith(path, people));
        QByteArray bytes = readAll(path);
        const int from = std::max(100, int(bytes.size() * at));
        if (length < 0)
            bytes.truncate(from);
        else
            bytes.replace(from, length, QByteArray(length, '\xA5'));
        QVERIFY(writeAll(path, bytes));

        RecordSource rs;
        QVERIFY(!rs.open(path, Queries::nameOrder()));
        for (const QString& part : {path, QStringLiteral("beschädigt"), QStringLiteral("Sicherungskopie")})
            QVERIFY2(rs.lastError().contains(part), qPrintable(rs.lastError()));
        QCOMPARE(readAll(path), bytes);
        QVERIFY(!QFile::exists(path + QStringLiteral("-journal")));
    }
};

QTEST_MAIN(TestRecordSource)
#include "tst_recordsource.moc"
