#include "AddressFixture.h"
#include "TestFiles.h"

#include "addresses/FieldBinder.h"
#include "addresses/Queries.h"
#include "addresses/RecordSource.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestRecordSource : public QObject {
    Q_OBJECT

    QTemporaryDir* m_dir = nullptr;
    QString m_path;

    static QStringList lastNames(const RecordSource& rs)
    {
        QStringList n;
        for (int i = 0; i < rs.recordCount(); ++i)
            n << rs.fieldAt(i, QStringLiteral("Nachname"));
        return n;
    }

private slots:
    void init()
    {
        m_dir = new QTemporaryDir;
        m_path = m_dir->filePath(QStringLiteral("address50.adr"));
        QVERIFY(AddressFixture::makeWith(m_path, {QStringLiteral("Cäsar|Carl|Chausseestr. 3|Celle"),
                                                  QStringLiteral("Adam|Anna|Am Anger 1|Aachen"),
                                                  QStringLiteral("Bauer|Bernd|Burgweg 2|Bonn")}));
    }
    void cleanup()
    {
        delete m_dir;
        m_dir = nullptr;
    }

    void navigation()
    {
        RecordSource rs;
        QVERIFY(rs.open(m_path, Queries::nameOrder()));
        QCOMPARE(rs.recordCount(), 3);
        QCOMPARE(rs.absolutePosition(), 0);
        QVERIFY(!rs.bof() && !rs.eof());
        QCOMPARE(rs.field(QStringLiteral("nachname")), QStringLiteral("Adam"));
        rs.moveLast();
        QCOMPARE(rs.field(QStringLiteral("Nachname")), QStringLiteral("Cäsar"));
        rs.moveNext();
        QVERIFY(rs.eof());
        QCOMPARE(rs.absolutePosition(), -1);
        QCOMPARE(rs.field(QStringLiteral("Nachname")), QString());
        rs.moveNext(); // stays at the end
        rs.movePrevious();
        QCOMPARE(rs.field(QStringLiteral("Nachname")), QStringLiteral("Cäsar"));
        rs.moveFirst();
        rs.movePrevious();
        QVERIFY(rs.bof());
        rs.setAbsolutePosition(1);
        QCOMPARE(rs.field(QStringLiteral("Nachname")), QStringLiteral("Bauer"));
        rs.setAbsolutePosition(7); // out of range: ignored
        QCOMPARE(rs.absolutePosition(), 1);
        QCOMPARE(rs.field(QStringLiteral("Gibtsnicht")), QString());
        QCOMPARE(rs.field(QStringLiteral("Gruppe")), QString()); // a null column
    }

    void emptyResultIsBothEnds()
    {
        RecordSource rs;
        QVERIFY(rs.open(m_path, Queries::search(QStringLiteral("zzz"))));
        QCOMPARE(rs.recordCount(), 0);
        QVERIFY(rs.bof() && rs.eof());
        QCOMPARE(rs.absolutePosition(), -1);
        rs.moveNext();
        rs.movePrevious();
        QVERIFY(rs.bof() && rs.eof());
    }

    void tableSource()
    {
        RecordSource rs;
        QVERIFY(rs.open(m_path, QStringLiteral("Optionen")));
        QCOMPARE(rs.recordCount(), 1);
        QVERIFY(rs.saveRow({{QStringLiteral("Freiztxt"), QStringLiteral("25")}}));
        RecordSource again;
        QVERIFY(again.open(m_path, QStringLiteral("Optionen")));
        QCOMPARE(again.field(QStringLiteral("Freiztxt")), QStringLiteral("25"));
    }

    void addSaveDelete()
    {
        RecordSource rs;
        QVERIFY(rs.open(m_path, Queries::lastNameOrder()));
        QVERIFY(rs.addNew());
        QCOMPARE(rs.recordCount(), 4);
        QCOMPARE(rs.absolutePosition(), 3); // appended, not sorted in
        QVERIFY(!rs.field(QStringLiteral("Nr")).isEmpty());
        QVERIFY(rs.saveRow({{QStringLiteral("Nachname"), QStringLiteral("Aal")}, {QStringLiteral("Vorname"), QStringLiteral("Udo")}}));
        QCOMPARE(rs.field(QStringLiteral("Nachname")), QStringLiteral("Aal"));
        rs.refresh();
        QCOMPARE(lastNames(rs), QStringList({"Aal", "Adam", "Bauer", "Cäsar"}));

        rs.setAbsolutePosition(1);
        QVERIFY(rs.deleteRow());
        QCOMPARE(rs.field(QStringLiteral("Nachname")), QStringLiteral("Bauer")); // the next row
        rs.moveLast();
        QVERIFY(rs.deleteRow());
        QCOMPARE(rs.field(QStringLiteral("Nachname")), QStringLiteral("Bauer")); // past the end: the last
        RecordSource again;
        QVERIFY(again.open(m_path, Queries::nameOrder()));
        QCOMPARE(lastNames(again), QStringList({"Aal", "Bauer"}));
    }

    void findFirstKeepsResultOrder()
    {
        RecordSource rs;
        QVERIFY(rs.open(m_path, Queries::nameOrder()));
        const QString nr = rs.fieldAt(2, QStringLiteral("Nr"));
        QVERIFY(rs.findFirst(Queries::recordNumber(nr.toLongLong())));
        QCOMPARE(rs.absolutePosition(), 2);
        QVERIFY(!rs.findFirst(Queries::recordNumber(999)));
        QCOMPARE(rs.absolutePosition(), 2);
    }

    void binderShowsAndSaves()
    {
        RecordSource rs;
        QVERIFY(rs.open(m_path, Queries::nameOrder()));
        FieldBinder binder(&rs);
        QLineEdit last;
        QLabel first;
        QCheckBox flag;
        binder.bind(&last, QStringLiteral("Nachname"));
        binder.bind(&first, QStringLiteral("Vorname"));
        binder.bind(&flag, QStringLiteral("Gruppe"));
        QCOMPARE(last.text(), QStringLiteral("Adam"));
        QCOMPARE(first.text(), QStringLiteral("Anna"));
        rs.moveNext();
        QCOMPARE(last.text(), QStringLiteral("Bauer"));
        last.setText(QStringLiteral("Baumann"));
        flag.setChecked(true);
        QVERIFY(binder.save());
        QCOMPARE(rs.field(QStringLiteral("Nachname")), QStringLiteral("Baumann"));
        QCOMPARE(rs.field(QStringLiteral("Gruppe")), QStringLiteral("1"));
        QCOMPARE(rs.field(QStringLiteral("Vorname")), QStringLiteral("Bernd")); // labels are not written
        rs.moveFirst();
        QVERIFY(!flag.isChecked());
    }

    void readableByTheSqliteTool()
    {
        const QString tool = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
        if (tool.isEmpty())
            QSKIP("no sqlite3 tool");
        RecordSource rs;
        QVERIFY(rs.open(m_path, Queries::nameOrder()));
        QVERIFY(rs.addNew());
        QVERIFY(rs.saveRow({{QStringLiteral("Nachname"), QStringLiteral("Öl")}}));
        QProcess p;
        p.start(tool, {m_path, QStringLiteral("SELECT count(*) FROM Addressen WHERE Nachname = 'Öl';")});
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.readAllStandardOutput().trimmed(), QByteArray("1"));
    }

    // Faults: a German text naming what is wrong, no crash, nothing half-done.
    void notADatabase()
    {
        const QString path = m_dir->filePath(QStringLiteral("kaputt.adr"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
        f.close();
        RecordSource rs;
        QSignalSpy errors(&rs, &RecordSource::dataError);
        QVERIFY(!rs.open(path, Queries::nameOrder()));
        QVERIFY2(rs.lastError().contains(QStringLiteral("keine Adressen-Datenbank")), qPrintable(rs.lastError()));
        QCOMPARE(errors.size(), 1);
        QVERIFY(rs.bof() && rs.eof());
    }

    void missingFile()
    {
        RecordSource rs;
        QVERIFY(!rs.open(m_dir->filePath(QStringLiteral("fehlt.adr")), Queries::nameOrder()));
        QVERIFY(rs.lastError().contains(QStringLiteral("nicht gefunden")));
        QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("fehlt.adr")))); // not created
    }

    void missingTableOrColumn_data()
    {
        QTest::addColumn<QByteArray>("schema");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("named");
        QTest::newRow("no address table") << QByteArray("CREATE TABLE Briefkopf (BriefKName TEXT);")
                                          << Queries::nameOrder() << "[Addressen]";
        QTest::newRow("no group column")
            << QByteArray("CREATE TABLE Addressen (Nr INTEGER PRIMARY KEY, Anrede, Vorname, Nachname, Adresse, "
                          "Postleitzahl, Ort, LaenderKZ, Land, AnredezHd, NamezHd, MitgliedsNr);")
            << Queries::group(QStringLiteral("Verein")) << "Gruppe";
        QTest::newRow("no options table") << QByteArray("CREATE TABLE Addressen (Nr);") << "Optionen" << "[Optionen]";
        QTest::newRow("options column") << QByteArray("CREATE TABLE Optionen (Freizjn, Freiztxt);") << "Optionen"
                                        << "fehlt die Spalte Freiytxt.";
        QTest::newRow("options columns") << QByteArray("CREATE TABLE Optionen (Freizjn);") << "Optionen"
                                         << "fehlen die Spalten Freiztxt, Freiytxt.";
    }
    void missingTableOrColumn()
    {
        QFETCH(QByteArray, schema);
        QFETCH(QString, source);
        QFETCH(QString, named);
        const QString path = m_dir->filePath(QStringLiteral("alt.adr"));
        QVERIFY(AddressFixture::exec(path, schema));
        RecordSource rs;
        QVERIFY(!rs.open(path, source));
        QVERIFY2(rs.lastError().contains(named), qPrintable(rs.lastError()));
        QVERIFY(rs.lastError().contains(QRegularExpression(QStringLiteral("(fehlt die|fehlen die) "))));
    }

    void lockedByAnotherProgram()
    {
        RecordSource rs;
        QVERIFY(rs.open(m_path, Queries::nameOrder()));
        FieldBinder binder(&rs);
        QLineEdit last;
        binder.bind(&last, QStringLiteral("Nachname"));
        last.setText(QStringLiteral("Neu"));

        AddressFixture::Lock other(m_path, "BEGIN IMMEDIATE");
        QVERIFY(other.held);
        QSignalSpy errors(&rs, &RecordSource::dataError);
        QVERIFY(!binder.save());
        QCOMPARE(errors.size(), 1);
        QVERIFY2(rs.lastError().contains(QStringLiteral("gesperrt")), qPrintable(rs.lastError()));
        QCOMPARE(last.text(), QStringLiteral("Neu"));                      // the input is kept
        QCOMPARE(rs.field(QStringLiteral("Nachname")), QStringLiteral("Adam")); // and not taken as saved
        other.release();
        QVERIFY(binder.save()); // once free, the same input goes in
        QCOMPARE(rs.field(QStringLiteral("Nachname")), QStringLiteral("Neu"));
    }

    // Street and town are read by key when a row becomes current. Under another
    // program's lock that read fails: reported once, the row does not become current,
    // the fields keep the address they show and nothing blank is cached.
    void lockedDuringRead_data()
    {
        QTest::addColumn<int>("target");
        QTest::addColumn<QString>("street");
        QTest::newRow("next") << 1 << "Burgweg 2";
        QTest::newRow("last") << 2 << "Chausseestr. 3";
    }
    void lockedDuringRead()
    {
        QFETCH(int, target);
        QFETCH(QString, street);
        RecordSource rs;
        QVERIFY(rs.open(m_path, Queries::nameOrder()));
        FieldBinder binder(&rs);
        QLineEdit adresse, ort;
        binder.bind(&adresse, QStringLiteral("Adresse"));
        binder.bind(&ort, QStringLiteral("Ort"));
        QCOMPARE(adresse.text(), QStringLiteral("Am Anger 1"));

        AddressFixture::Lock other(m_path, "BEGIN EXCLUSIVE");
        QVERIFY(other.held);
        QSignalSpy errors(&rs, &RecordSource::dataError);
        rs.setAbsolutePosition(target);
        QVERIFY(!rs.loadRow(target));
        QCOMPARE(errors.size(), 1);
        QVERIFY2(rs.lastError().contains(QStringLiteral("gesperrt")), qPrintable(rs.lastError()));
        QCOMPARE(rs.absolutePosition(), 0);
        QCOMPARE(adresse.text(), QStringLiteral("Am Anger 1"));
        QCOMPARE(ort.text(), QStringLiteral("Aachen"));

        other.release();
        rs.setAbsolutePosition(target);
        QCOMPARE(rs.absolutePosition(), target);
        QCOMPARE(adresse.text(), street);
        QVERIFY(binder.save());
        RecordSource again;
        QVERIFY(again.open(m_path, Queries::nameOrder()));
        QCOMPARE(again.fieldAt(target, QStringLiteral("Adresse")), street);
    }

    void lockedAtOpenReopensLater()
    {
        AddressFixture::Lock other(m_path, "BEGIN EXCLUSIVE");
        RecordSource rs;
        QVERIFY(!rs.open(m_path, Queries::nameOrder()));
        QVERIFY2(rs.lastError().contains(QStringLiteral("gesperrt")), qPrintable(rs.lastError()));
        other.release();
        QVERIFY2(rs.refresh(), qPrintable(rs.lastError()));
        QCOMPARE(lastNames(rs), QStringList({"Adam", "Bauer", "Cäsar"}));
    }

    // A file SQLite's quick check finds damaged is refused, named, and left untouched.
    void damagedFileRefused_data()
    {
        QTest::addColumn<double>("at");
        QTest::addColumn<int>("length");
        QTest::newRow("schema page") << 0.0 << 200;
        QTest::newRow("address pages") << 0.5 << 8192;
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

    void readOnlyFile()
    {
        QVERIFY(QFile::setPermissions(m_path, QFile::ReadOwner | QFile::ReadUser | QFile::ReadGroup));
        RecordSource rs;
        QVERIFY(rs.open(m_path, Queries::nameOrder()));
        FieldBinder binder(&rs);
        QLineEdit last;
        binder.bind(&last, QStringLiteral("Nachname"));
        last.setText(QStringLiteral("Neu"));
        QVERIFY(!binder.save());
        QVERIFY2(rs.lastError().contains(QStringLiteral("schreibgeschützt")), qPrintable(rs.lastError()));
        QCOMPARE(last.text(), QStringLiteral("Neu"));
        QCOMPARE(rs.field(QStringLiteral("Nachname")), QStringLiteral("Adam"));
        QVERIFY(!rs.addNew());
        QCOMPARE(rs.recordCount(), 3);
        QVERIFY(!rs.deleteRow());
        QCOMPARE(rs.recordCount(), 3);
    }
};

QTEST_MAIN(TestRecordSource)
#include "tst_recordsource.moc"
