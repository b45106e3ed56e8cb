// The address store on a PostgreSQL server: its addresses, setting it up and copying
// to it from the command line, bad addresses and databases, the desk role, and a
// server restart in the middle of work. Runs against the test command's cluster.

#include "TestPaths.h"
#include "../addresses/AddressFixture.h"

#include "TestCommon.h"

#include "addresses/AddressDatabase.h"
#include "app/AppState.h"
#include "addresses/AddressListBox.h"
#include "addresses/AddressStore.h"
#include "addresses/FieldBinder.h"
#include "addresses/Queries.h"
#include "addresses/RecordSource.h"
#include "addresses/ServerAddress.h"

#include <QDirIterator>
#include <QLineEdit>

#include <QProcess>

#include <unistd.h>

namespace {

const QString kProgram = qxBinaryDir() + QStringLiteral("/qx-text");

struct Run {
    int code = -1;
    QString out, err;
};

Run runProgram(const QStringList& args)
{
    QProcess p;
    p.start(kProgram, args);
    Run r;
    if (!p.waitForFinished(120000))
        return r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

QString withDatabase(const QString& name, const QString& user = {})
{
    ServerAddress a;
    ServerAddress::parse(AddressFixture::serverUrl(), &a, nullptr);
    a.database = name;
    if (!user.isEmpty())
        a.user = user;
    return a.url();
}

QStringList names(const RecordSource& rs)
{
    QStringList got;
    for (int i = 0; i < rs.recordCount(); ++i)
        got << rs.fieldAt(i, QStringLiteral("Nr")) + QLatin1Char(' ') + rs.fieldAt(i, QStringLiteral("Nachname"));
    return got;
}

} // namespace

class TestServer : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (AddressFixture::serverUrl().isEmpty())
            QSKIP("QX_TEST_POSTGRESQL is not set: no test server (ctest starts one)");
    }

    void serverAddress_data()
    {
        // expected: host|port|database|user|sslmode, or the reason
        addColumns<QString, QString>("text", "expected");
        QTest::newRow("host and database") << "postgresql://db.example.org/adressen" << "db.example.org|5432|adressen||";
        QTest::newRow("short scheme, user, port, ssl")
            << "postgres://anna@10.0.0.5:6543/buero?sslmode=require" << "10.0.0.5|6543|buero|anna|require";
        QTest::newRow("socket folder, user in query")
            << "postgresql://%2Ftmp%2Fpg:5433/x?user=bob" << "/tmp/pg|5433|x|bob|";
        QTest::newRow("IPv6") << "postgresql://[::1]/x" << "::1|5432|x||";
        QTest::newRow("password dropped") << "postgresql://anna:geheim@h/x" << "h|5432|x|anna|";
        QTest::newRow("no database") << "postgresql://server" << "Server und Datenbank fehlen";
        QTest::newRow("empty database") << "postgresql://server/" << "Der Name der Datenbank fehlt.";
        QTest::newRow("no host") << "postgresql://:5432/x" << "Der Name des Servers fehlt.";
        QTest::newRow("port too big") << "postgresql://h:99999/x" << "zwischen 1 und 65535";
        QTest::newRow("port not a number") << "postgresql://h:abc/x" << "zwischen 1 und 65535";
        QTest::newRow("unknown sslmode") << "postgresql://h/x?sslmode=sicher" << "sslmode kennt nur";
        QTest::newRow("unknown option") << "postgresql://h/x?farbe=rot" << "„farbe“ ist unbekannt";
        QTest::newRow("other scheme") << "mysql://h/x" << "Server und Datenbank fehlen";
        QTest::newRow("NUL") << QStringLiteral("postgresql://h/x%1").arg(QChar(0)) << "Nullzeichen";
    }
    void serverAddress()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        ServerAddress a;
        QString error;
        if (!ServerAddress::parse(text, &a, &error)) {
            QVERIFY2(error.contains(expected), qPrintable(error));
            QVERIFY(error.startsWith(QStringLiteral("Die Server-Adresse „")));
            return;
        }
        QCOMPARE(QStringList({a.host, QString::number(a.port), a.database, a.user, a.sslmode}).join(QLatin1Char('|')),
                 expected);
        QVERIFY(!a.url().contains(QStringLiteral("geheim")));
        ServerAddress again;
        QVERIFY(ServerAddress::parse(a.url(), &again, nullptr)); // what is kept reads back the same
        QCOMPARE(again.url(), a.url());
    }

    // Each gets its German text; nothing is created anywhere.
    void badStores_data()
    {
        addColumns<QString, QString>("location", "message");
        QTest::newRow("malformed") << "postgresql://server" << "ist ungültig";
        QTest::newRow("unreachable") << "postgresql://%2Fnirgends%2Fda:5432/x"
                                     << "Der Datenbank-Server ist nicht erreichbar (Server im Ordner /nirgends/da, Port 5432, Datenbank x)";
        QTest::newRow("no such database") << withDatabase(QStringLiteral("gibt_es_nicht"))
                                          << "Auf dem Datenbank-Server gibt es die Datenbank „gibt_es_nicht“ nicht";
        QTest::newRow("without our tables") << withDatabase(QStringLiteral("postgres"))
                                            << "In der Adressen-Datenbank fehlt die Tabelle [Addressen].";
    }
    void badStores()
    {
        QFETCH(QString, location);
        QFETCH(QString, message);
        RecordSource rs;
        QVERIFY(!rs.open(location, Queries::nameOrder()));
        QVERIFY2(rs.lastError().contains(message), qPrintable(rs.lastError()));
        QVERIFY(!rs.addNew());
        const Run copy = runProgram({QStringLiteral("--copy-addresses"), location, location + QStringLiteral("2")});
        QCOMPARE(copy.code, 1);
        QVERIFY(!copy.err.isEmpty());
        QVERIFY(AddressFixture::serverExec(QStringLiteral("postgres"),
                                           QStringLiteral("DO $$ BEGIN IF EXISTS (SELECT 1 FROM pg_tables WHERE "
                                                          "tablename = 'addressen' AND schemaname = 'public') THEN "
                                                          "RAISE EXCEPTION 'created'; END IF; END $$")));
    }

    // Set up from the command line, filled from a file twice (the second run changes
    // nothing), copied back into another file; the record numbers stay.
    void createAndCopy()
    {
        QTemporaryDir dir;
        const QString url = AddressFixture::newServerDatabase(true);
        Run r = runProgram({QStringLiteral("--create-address-server"), url});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QVERIFY(r.out.contains(QStringLiteral("Rolle qx_adressen")));
        r = runProgram({QStringLiteral("--create-address-server"), url}); // again: nothing breaks
        QVERIFY2(r.code == 0, qPrintable(r.err));

        const QString file = dir.filePath(QStringLiteral("address50.adr"));
        QVERIFY(AddressFixture::makeWith(file, {"Zorn|Udo", "Ärger|Anna", "Berg|Karl"}));
        QVERIFY(AddressFixture::exec(file, "DELETE FROM Addressen WHERE Nachname = 'Berg';"
                                           "INSERT INTO Addressen (Nachname) VALUES ('Öhler');"));
        QVERIFY(AddressFixture::exec(url, "INSERT INTO addressen (nr, nachname) VALUES (7, 'Nur hier')"));
        const QString copied = QStringLiteral("Kopiert: 3 Adressen, 1 Briefkopf-Zeilen, 1 Options-Zeilen. Das Ziel enthält "
                                              "jetzt genau die Adressen der Quelle");
        for (const QString& tail : {QStringLiteral("; 1 Adresse, die nur im Ziel stand, wurde gelöscht.\n"), QStringLiteral(".\n")}) {
            r = runProgram({QStringLiteral("--copy-addresses"), file, url});
            QVERIFY2(r.code == 0, qPrintable(r.err));
            QCOMPARE(r.out, copied + tail);
        }
        RecordSource server;
        QVERIFY2(server.open(url, Queries::nameOrder()), qPrintable(server.lastError()));
        QCOMPARE(names(server), QStringList({"2 Ärger", "4 Öhler", "1 Zorn"}));
        // A new address gets a number after the copied ones.
        QVERIFY(server.addRow({{QStringLiteral("Nachname"), QStringLiteral("Neu")}}));
        QCOMPARE(server.field(QStringLiteral("Nr")), QStringLiteral("5"));

        const QString back = dir.filePath(QStringLiteral("zurueck.adr"));
        QVERIFY(AddressFixture::makeWith(back, {}));
        r = runProgram({QStringLiteral("--copy-addresses"), url, back});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        RecordSource local;
        QVERIFY(local.open(back, Queries::nameOrder()));
        QCOMPARE(names(local), QStringList({"2 Ärger", "5 Neu", "4 Öhler", "1 Zorn"}));
        RecordSource letterhead;
        QVERIFY(letterhead.open(back, Queries::letterheadTable()));
        QCOMPARE(letterhead.recordCount(), 1);
        QCOMPARE(letterhead.field(QStringLiteral("BriefKName")), QStringLiteral("Absender"));

        // A spreadsheet's Windows-1252 file read in twice: the second run finds every
        // address there already.
        QFile csv(dir.filePath(QStringLiteral("liste.csv")));
        QVERIFY(csv.open(QIODevice::WriteOnly));
        csv.write("Anrede;Vorname;Name;PLZ;Ort\r\nHerrn;J\xfcrgen;M\xfcller;12345;K\xf6ln\r\nFrau;\xc4nne;\xd6zt\xfcrk;50667;K\xf6ln\r\n");
        csv.close();
        for (const char* said : {"2 Adressen übernommen\n", "0 Adressen übernommen, 2 doppelte übersprungen\n"}) {
            r = runProgram({QStringLiteral("--import-addresses"), csv.fileName(), QStringLiteral("--database"), url});
            QCOMPARE(r.out, QString::fromUtf8(said));
        }
        QVERIFY(server.refresh());
        QCOMPARE(names(server), QStringList({"2 Ärger", "6 Müller", "5 Neu", "4 Öhler", "7 Öztürk", "1 Zorn"}));
        QCOMPARE(server.fieldAt(4, QStringLiteral("Vorname")) + server.fieldAt(4, QStringLiteral("Ort")), QStringLiteral("ÄnneKöln"));

        // The same store on both sides, and a file that is not there: refused.
        r = runProgram({QStringLiteral("--copy-addresses"), url, url});
        QCOMPARE(r.code, 1);
        QVERIFY(r.err.contains(QStringLiteral("dieselbe Adressen-Datenbank")));
        r = runProgram({QStringLiteral("--create-address-server"), file});
        QCOMPARE(r.code, 2);
    }

    // A desk logs in with a role that has the desk rights: it reads and writes
    // addresses, but cannot change the tables.
    void deskRole()
    {
        const QString url = AddressFixture::newServerDatabase();
        ServerAddress a;
        ServerAddress::parse(url, &a, nullptr);
        QVERIFY(AddressFixture::makeWith(url, {"Zorn|Udo"}));
        QVERIFY(AddressFixture::serverExec(
            a.database, QStringLiteral("DO $$ BEGIN IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = 'platz1') "
                                       "THEN CREATE ROLE platz1 LOGIN IN ROLE qx_adressen; END IF; END $$")));
        const QString desk = withDatabase(a.database, QStringLiteral("platz1"));
        RecordSource rs;
        QVERIFY2(rs.open(desk, Queries::nameOrder()), qPrintable(rs.lastError()));
        FieldBinder binder(&rs);
        QLineEdit ort;
        binder.bind(&ort, QStringLiteral("Ort"));
        ort.setText(QStringLiteral("Bonn"));
        QCOMPARE(binder.save(), RecordSource::Write::Done);
        QVERIFY(rs.addRow({{QStringLiteral("Nachname"), QStringLiteral("Adler")}}));
        QVERIFY(rs.deleteRow());
        QString error;
        const auto c = AddressDatabase::open(desk, &error);
        QVERIFY(c);
        QVERIFY(!c->exec("CREATE TABLE fremd (x text)"));
        QVERIFY(!c->exec("DROP TABLE addressen"));
        QVERIFY(!c->exec("ALTER TABLE addressen ADD COLUMN y text"));
        RecordSource again;
        QVERIFY(again.open(url, Queries::nameOrder()));
        QCOMPARE(again.field(QStringLiteral("Ort")), QStringLiteral("Bonn"));
    }

    // Two desks on one server: the other desk's list follows a change at once and keeps
    // its place; a save over a row changed meanwhile asks the question it asks on a file.
    void twoDesks()
    {
        ScriptedPrompter* asked = installScriptedPrompter();
        const QString url = AddressFixture::newServerDatabase();
        QVERIFY(AddressFixture::makeWith(url, {"Adam|Anna|Weg 1|Aachen", "Berg|Bernd|Weg 2|Bonn", "Cäsar|Carl|Weg 3|Celle"}));
        RecordSource here, there;
        QVERIFY(here.open(url, Queries::nameOrder()));
        QVERIFY(there.open(url, Queries::nameOrder()));
        AddressListBox list;
        AddressStore::linkList(&list, &here);
        AddressStore::fillList(&list, here, AddressStore::Entry::Name);
        list.setCurrentRow(1);
        FieldBinder binder(&here);
        QLineEdit ort;
        binder.bind(&ort, QStringLiteral("Ort"));
        QCOMPARE(ort.text(), QStringLiteral("Bonn"));

        QSignalSpy told(&here, &RecordSource::changedOnServer);
        there.setAbsolutePosition(0);
        QCOMPARE(there.saveRowIf({{QStringLiteral("Nachname"), QStringLiteral("Zander")}},
                                 {{QStringLiteral("Nachname"), QStringLiteral("Adam")}}),
                 RecordSource::Write::Done);
        QVERIFY(told.wait(10000));
        QVERIFY(AddressStore::refreshIfChanged(here, &list, AddressStore::Entry::Name, false));
        QCOMPARE(list.entries(), QStringList({"Berg Bernd", "Cäsar Carl", "Zander Anna"}));
        QCOMPARE(list.currentRow(), 0);
        QCOMPARE(here.field(QStringLiteral("Nachname")), QStringLiteral("Berg"));

        // Both desks edit Berg; the second save is asked about, and "Abbrechen" keeps
        // the typing and stores nothing.
        QVERIFY(there.refresh());
        QCOMPARE(there.field(QStringLiteral("Nachname")), QStringLiteral("Berg"));
        QCOMPARE(there.saveRowIf({{QStringLiteral("Ort"), QStringLiteral("Bremen")}}, {{QStringLiteral("Ort"), QStringLiteral("Bonn")}}),
                 RecordSource::Write::Done);
        ort.setText(QStringLiteral("Berlin"));
        asked->answerMessage(QMessageBox::Cancel);
        QCOMPARE(AddressStore::saveBound(nullptr, binder, here, QStringLiteral("Die Adresse")),
                 AddressStore::SaveResult::Editing);
        QCOMPARE(asked->last().text, QStringLiteral("Die Adresse wurde inzwischen an einem anderen Arbeitsplatz geändert.\r\r"
                                                    "Ja: Ihre Fassung speichern (die andere Fassung wird überschrieben)\r"
                                                    "Nein: die andere Fassung anzeigen (Ihre Eingaben werden verworfen)\r"
                                                    "Abbrechen: weiter bearbeiten (nichts wird gespeichert)"));
        QCOMPARE(ort.text(), QStringLiteral("Berlin"));
        RecordSource check;
        QVERIFY(check.open(url, Queries::nameOrder()));
        QCOMPARE(check.field(QStringLiteral("Ort")), QStringLiteral("Bremen"));

        // Rows added and deleted elsewhere reach this desk's name orders and search.
        QVERIFY(there.addRow({{QStringLiteral("Nachname"), QStringLiteral("Ärger")}}));
        QVERIFY(there.addRow({{QStringLiteral("Nachname"), QStringLiteral("Berg")}, {QStringLiteral("Vorname"), QStringLiteral("Anna")}}));
        QVERIFY(there.findFirst(QStringLiteral("Nachname = 'Cäsar'")) && there.deleteRow());
        const QStringList expected[] = {{"4 Ärger", "5 Berg", "2 Berg", "1 Zander"},
                                        {"4 Ärger", "2 Berg", "5 Berg", "1 Zander"},
                                        {"5 Berg", "1 Zander"}};
        const QString statements[] = {Queries::nameOrder(), Queries::lastNameOrder(), Queries::typeSearch(QStringLiteral("an"))};
        for (int i = 0; i < 3; ++i) {
            here.setRecordSource(statements[i]);
            QVERIFY(here.refresh());
            QCOMPARE(names(here), expected[i]);
        }

        // The other desk changes the shown row and changes it back (same values, a newer
        // version), then deletes it: each save here is asked about.
        QVERIFY(there.findFirst(QStringLiteral("Nr = 5")) && there.saveRow({{QStringLiteral("Ort"), QStringLiteral("Bremen")}}) && there.saveRow({{QStringLiteral("Ort"), QString()}}));
        for (const QString& question : {QStringLiteral("geändert."), QStringLiteral("gelöscht.")}) {
            ort.setText(QStringLiteral("Berlin"));
            asked->answerMessage(QMessageBox::Cancel);
            QCOMPARE(AddressStore::saveBound(nullptr, binder, here, QStringLiteral("Die Adresse")), AddressStore::SaveResult::Editing);
            QCOMPARE(asked->last().text.section(QLatin1Char('\r'), 0, 0),
                     QStringLiteral("Die Adresse wurde inzwischen an einem anderen Arbeitsplatz ") + question);
            QVERIFY(question == u"gelöscht." || there.deleteRow());
        }
        // The shown address deleted at the other desk: the list says so and shows its neighbour.
        here.setRecordSource(Queries::nameOrder());
        QVERIFY(here.refresh());
        AddressStore::fillList(&list, here, AddressStore::Entry::Name);
        list.setCurrentRow(1);
        QVERIFY(there.findFirst(QStringLiteral("Nr = 2")) && there.deleteRow());
        QVERIFY(AddressStore::refreshIfChanged(here, &list, AddressStore::Entry::Name, false));
        QCOMPARE(list.entries(), QStringList({"Ärger ", "Zander Anna"}));
        QCOMPARE(list.currentRow(), 1);
        QCOMPARE(here.field(QStringLiteral("Nachname")), QStringLiteral("Zander"));
        QCOMPARE(asked->last().text, QStringLiteral("Die angezeigte Adresse ist nicht mehr in der Liste: Sie wurde an "
                                                    "einem anderen Arbeitsplatz oder in einem anderen Programm gelöscht "
                                                    "oder geändert. Angezeigt wird jetzt die Adresse daneben."));
        setPrompter(nullptr);
    }

    // The password of a role that needs one is asked once per run, through the prompter,
    // and is written nowhere: not in the work folder, not in the settings.
    void passwordAskedOnce()
    {
        ServerAddress server;
        ServerAddress::parse(AddressFixture::serverUrl(), &server, nullptr);
        QFile hba(server.host + QStringLiteral("/data/pg_hba.conf"));
        if (!hba.open(QIODevice::ReadWrite))
            QSKIP("the test server's settings are not reachable from here");
        const QByteArray rules = hba.readAll();
        if (!rules.startsWith("local all kasse"))
            QVERIFY(hba.seek(0) && hba.write("local all kasse scram-sha-256\n" + rules) > 0);
        hba.close();
        const QString url = AddressFixture::newServerDatabase();
        QVERIFY(AddressFixture::makeWith(url, {"Berg|Bernd"}));
        const QString secret = QStringLiteral("Sesam-öffne-dich-42");
        QVERIFY(AddressFixture::serverExec(QStringLiteral("postgres"),
                                           QStringLiteral("SELECT pg_reload_conf(); DROP ROLE IF EXISTS kasse; CREATE ROLE kasse LOGIN "
                                                          "IN ROLE qx_adressen PASSWORD '") + secret + QLatin1Char('\'')));
        ScriptedPrompter* asked = installScriptedPrompter();
        asked->answerPassword(secret);
        ServerAddress a;
        ServerAddress::parse(url, &a, nullptr);
        const QString desk = withDatabase(a.database, QStringLiteral("kasse"));
        QTemporaryDir work;
        AppState state;
        state.WorkFolder = work.path();
        RecordSource one, two, three;
        AddressListBox list;
        asked->answerOpenFile(desk);
        QVERIFY(one.open(desk, Queries::nameOrder()) && two.open(desk, Queries::letterheadTable()));
        QVERIFY(AddressStore::switchDatabase(nullptr, state, three, nullptr, nullptr, &list));
        QCOMPARE(asked->count(QStringLiteral("password")), 1);
        QCOMPARE(asked->asked.first().text, QStringLiteral("Kennwort für kasse auf Server im Ordner ") + server.host +
                                                QStringLiteral(", Port 5432, Datenbank ") + a.database + QLatin1Char(':'));
        QCOMPARE(three.field(QStringLiteral("Nachname")), QStringLiteral("Berg"));
        for (const QString& folder : {work.path(), QDir::homePath()}) {
            QDirIterator files(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
            while (files.hasNext()) {
                QFile f(files.next());
                QVERIFY(!f.open(QIODevice::ReadOnly) || !f.readAll().contains(secret.toUtf8()));
            }
        }
        setPrompter(nullptr);
    }

    // The server restarts while a desk works: the next save is refused with a German
    // text and the typing stays; the one after reconnects and stores it once.
    void serverRestart()
    {
        ServerAddress server;
        ServerAddress::parse(AddressFixture::serverUrl(), &server, nullptr);
        const QString data = server.host + QStringLiteral("/data");
        if (!QFile::exists(data + QStringLiteral("/postmaster.pid")))
            QSKIP("the test server's folder is not reachable from here");
        const QString url = AddressFixture::newServerDatabase();
        QVERIFY(AddressFixture::makeWith(url, {"Berg|Bernd|Weg 2|Bonn"}));
        RecordSource rs;
        QVERIFY(rs.open(url, Queries::nameOrder()));
        FieldBinder binder(&rs);
        QLineEdit ort;
        binder.bind(&ort, QStringLiteral("Ort"));
        ort.setText(QStringLiteral("Köln"));

        const QString pgCtl = QString::fromLocal8Bit(qgetenv("QX_TEST_PG_CTL"));
        QProcess restart;
        const QStringList ctl{pgCtl.isEmpty() ? QStringLiteral("pg_ctl") : pgCtl, QStringLiteral("-D"), data,
                              QStringLiteral("-m"), QStringLiteral("fast"), QStringLiteral("-w"), QStringLiteral("restart")};
        if (getuid() == 0)
            restart.start(QStringLiteral("runuser"), QStringList{QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--")} + ctl);
        else
            restart.start(ctl.first(), ctl.mid(1));
        QVERIFY(restart.waitForFinished(120000));
        QVERIFY2(restart.exitCode() == 0, restart.readAllStandardError().constData());

        QCOMPARE(binder.save(), RecordSource::Write::Failed);
        QVERIFY2(rs.lastError().startsWith(QStringLiteral("Die Verbindung zum Datenbank-Server ist unterbrochen")),
                 qPrintable(rs.lastError()));
        QCOMPARE(ort.text(), QStringLiteral("Köln"));
        QCOMPARE(binder.save(), RecordSource::Write::Done);
        QVERIFY(rs.refresh());
        QCOMPARE(rs.recordCount(), 1);
        QCOMPARE(rs.field(QStringLiteral("Ort")), QStringLiteral("Köln"));
    }
};

QTEST_MAIN(TestServer)
#include "tst_server.moc"
