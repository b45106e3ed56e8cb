#include "AddressFixture.h"
#include "TestCommon.h"

#include "addresses/FieldBinder.h"
#include "addresses/JetSql.h"
#include "addresses/Queries.h"
#include "addresses/RecordSource.h"


class TestRecordSource : public QObject {
    Q_OBJECT

    std::optional<QTemporaryDir> m_dir;
    QString m_path;

private slots:
    void init()
    {
        m_dir.emplace();
        m_path = AddressFixture::location(*m_dir, QStringLiteral("address50.adr"));
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
        if (AddressFixture::onServer())
            QSKIP("files only; the server's bad addresses are tested in pgserver");
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
        const QString path = AddressFixture::onServer() ? AddressFixture::newServerDatabase(true)
                                                        : m_dir->filePath(QStringLiteral("alt.adr"));
        QVERIFY(AddressFixture::exec(path, "CREATE TABLE Briefkopf (BriefKName TEXT);"));
        RecordSource rs;
        QVERIFY(!rs.open(path, Queries::nameOrder()));
        QVERIFY2(rs.lastError().contains(QStringLiteral("[Addressen]")), qPrintable(rs.lastError()));
    }

    // A refused save keeps the input and does not take it as saved.
    void saveRefused_data()
    {
        addColumns<bool, QString>("locked", "error");
        QTest::newRow("locked by another program") << true << "gesperrt";
        QTest::newRow("read-only file") << false << "schreibgeschützt";
    }
    void saveRefused()
    {
        QFETCH(bool, locked);
        QFETCH(QString, error);
        if (!locked && AddressFixture::onServer())
            QSKIP("a file's write protection");
        if (!locked)
            QVERIFY(QFile::setPermissions(m_path, QFile::ReadOwner | QFile::ReadUser | QFile::ReadGroup));
        RecordSource rs;
        QVERIFY(rs.open(m_path, Queries::nameOrder()));
        FieldBinder binder(&rs);
        QLineEdit last;
        binder.bind(&last, QStringLiteral("Nachname"));
        last.setText(QStringLiteral("Neu"));
        AddressFixture::Lock other(m_path, locked ? "BEGIN IMMEDIATE" : "BEGIN");
        QCOMPARE(binder.save(), RecordSource::Write::Failed);
        QVERIFY2(rs.lastError().contains(error), qPrintable(rs.lastError()));
        QCOMPARE(last.text(), QStringLiteral("Neu"));
        QCOMPARE(rs.field(QStringLiteral("Nachname")), QStringLiteral("Adam"));
        if (!locked) {
            QVERIFY(!rs.addNew() && !rs.deleteRow());
            QCOMPARE(rs.recordCount(), 3);
            return;
        }
        other.release();
        QCOMPARE(binder.save(), RecordSource::Write::Done); // once free, the same input goes in
        QCOMPARE(rs.field(QStringLiteral("Nachname")), QStringLiteral("Neu"));
    }

    // Two sources on one file: a save checks that the row still holds what was read.
    void saveChecksRowAsRead()
    {
        RecordSource a, b;
        QVERIFY(a.open(m_path, Queries::nameOrder()));
        QVERIFY(b.open(m_path, Queries::nameOrder()));
        const QHash<QString, QString> read{{QStringLiteral("Ort"), QStringLiteral("Aachen")},
                                           {QStringLiteral("Adresse"), QStringLiteral("Am Anger 1")}};
        QVERIFY(!a.changedElsewhere());
        QCOMPARE(b.saveRowIf({{QStringLiteral("Adresse"), QStringLiteral("Neuweg 2")}}, read), RecordSource::Write::Done);
        QVERIFY(a.changedElsewhere());
        QVERIFY(!b.changedElsewhere()); // its own write
        // Writing one name keeps the row's other names in the result.
        QVERIFY(b.saveRow({{QStringLiteral("Nachname"), QStringLiteral("Adams")}}));
        QCOMPARE(AddressFixture::rows(b, {"Nachname", "Vorname", "Postleitzahl"}).first(), QStringLiteral("Adams|Anna|"));
        QCOMPARE(a.saveRowIf({{QStringLiteral("Ort"), QStringLiteral("Aalen")},
                              {QStringLiteral("Adresse"), QStringLiteral("Am Anger 1")}},
                             read),
                 RecordSource::Write::ChangedElsewhere);
        RecordSource file;
        QVERIFY(file.open(m_path, Queries::nameOrder()));
        QCOMPARE(file.field(QStringLiteral("Adresse")), QStringLiteral("Neuweg 2"));
        QCOMPARE(file.field(QStringLiteral("Ort")), QStringLiteral("Aachen"));
        QVERIFY(a.reloadRow());
        QCOMPARE(a.field(QStringLiteral("Adresse")), QStringLiteral("Neuweg 2"));
        // A null column reads as the empty text, and matches it.
        QCOMPARE(a.saveRowIf({{QStringLiteral("Gruppe"), QStringLiteral("Kunden")}}, {{QStringLiteral("Gruppe"), QString()}}),
                 RecordSource::Write::Done);
        QVERIFY(b.deleteRow());
        QCOMPARE(a.saveRowIf({{QStringLiteral("Ort"), QStringLiteral("Aalen")}}, {}), RecordSource::Write::DeletedElsewhere);
        QVERIFY(!a.reloadRow());
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
        QCOMPARE(binder.save(), RecordSource::Write::Done);
        RecordSource again;
        QVERIFY(again.open(m_path, Queries::nameOrder()));
        QCOMPARE(again.fieldAt(2, QStringLiteral("Adresse")), QStringLiteral("Chausseestr. 3"));
    }

    // A file SQLite's quick check finds damaged is refused, named, and left untouched.
    void damagedFileRefused_data()
    {
        addColumns<double, int>("at", "length");
        QTest::newRow("schema page") << 0.0 << 200;
        QTest::newRow("cut short") << 0.5 << -1;
    }
    void damagedFileRefused()
    {
        QFETCH(double, at);
        QFETCH(int, length);
        if (AddressFixture::onServer())
            QSKIP("damage to a file");
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

    // Every statement runs on a real file and finds what it should.
    void queries_data()
    {
        // names: last and first name
        addColumns<QString, QStringList>("statement", "names");
        QTest::newRow("name order") << Queries::nameOrder()
                                    << QStringList{"Ärger|Anna", "Berg|Ida", "Berg|Karl", "O'Neill|Seán", "Vogel|Eva", "Zorn|Udo"};
        QTest::newRow("type search by last name") << Queries::typeSearch(QStringLiteral("ORN")) << QStringList{"Zorn|Udo"};
        QTest::newRow("type search by first name") << Queries::typeSearch(QStringLiteral("eva")) << QStringList{"Vogel|Eva"};
        QTest::newRow("type search misses town") << Queries::typeSearch(QStringLiteral("bonn")) << QStringList{};
        QTest::newRow("search by last name") << Queries::search(QStringLiteral("O'Neill")) << QStringList{"O'Neill|Seán"};
        QTest::newRow("search by first name") << Queries::search(QStringLiteral("udo")) << QStringList{"Zorn|Udo"};
        QTest::newRow("search by street") << Queries::search(QStringLiteral("hof")) << QStringList{"Berg|Karl", "Berg|Ida"};
        QTest::newRow("search by town") << Queries::search(QStringLiteral("kiel")) << QStringList{"Vogel|Eva"};
        QTest::newRow("group prefix") << Queries::group(QStringLiteral("Verein"))
                                      << QStringList{"Berg|Karl", "Vogel|Eva"};
        QTest::newRow("postcode order") << Queries::postcodeOrder()
                                        << QStringList{"Vogel|Eva", "Berg|Karl", "Ärger|Anna", "Zorn|Udo", "Berg|Ida", "O'Neill|Seán"};
    }
    void queries()
    {
        QFETCH(QString, statement);
        QTemporaryDir dir;
        const QString path = AddressFixture::location(dir, QStringLiteral("address50.adr"));
        QVERIFY(AddressFixture::makeWith(
            path, {QStringLiteral("Zorn|Udo|Weg 1|Bonn||50000"), QStringLiteral("Berg|Karl|Hof 2|Köln|Vereinsvorstand|10000"),
                   QStringLiteral("Ärger|Anna|Ring 3|Ulm||30000"), QStringLiteral("Vogel|Eva|Allee 4|Kiel|Verein|01000"),
                   QStringLiteral("O'Neill|Seán|Street 5|Dublin|Pat's|90000"), QStringLiteral("Berg|Ida|Hof 6|Köln|Kunden|60000")}));
        RecordSource rs;
        QVERIFY2(rs.open(path, statement), qPrintable(rs.lastError()));
        QTEST(AddressFixture::rows(rs, {"Nachname", "Vorname"}), "names");
    }

    // The name orders and the search as you type on a file made without this program
    // (no index of any kind in it): German order, umlauts, ß and the wildcards, ties in
    // table order after a last-name sort; the same rows as the SQL engine finds.
    void typeSearch_data()
    {
        addColumns<QString, QStringList>("statement", "names");
        const QStringList all{"|Solo",          "Ärger|Ute",   "Berg|Karl",    "Berg|Anna",    "Holzmann GmbH|",
                              "mueller|Anna",  "MÜLLER|Eva",  "Müller|Jürgen", "O'Neill|Seán", "Oz|Bea",
                              "Öz|Ali",        "Strasser|Ida", "Straßer|Max",  "Zorn|Udo"};
        QTest::newRow("name order") << Queries::nameOrder()
                                    << QStringList{"|Solo",         "Ärger|Ute",     "Berg|Anna",    "Berg|Karl",
                                                   "Holzmann GmbH|", "mueller|Anna", "MÜLLER|Eva",   "Müller|Jürgen",
                                                   "O'Neill|Seán", "Oz|Bea",        "Öz|Ali",       "Strasser|Ida",
                                                   "Straßer|Max",  "Zorn|Udo"};
        QTest::newRow("last-name order") << Queries::lastNameOrder() << all;
        QTest::newRow("empty word") << Queries::typeSearch(QString()) << all;
        QTest::newRow("one letter, not its umlaut")
            << Queries::typeSearch(QStringLiteral("a"))
            << QStringList{"Berg|Karl", "Berg|Anna", "Holzmann GmbH|", "mueller|Anna", "MÜLLER|Eva",
                           "Oz|Bea",    "Öz|Ali",    "Strasser|Ida",   "Straßer|Max"};
        QTest::newRow("umlaut both cases") << Queries::typeSearch(QStringLiteral("mü"))
                                           << QStringList{"MÜLLER|Eva", "Müller|Jürgen"};
        QTest::newRow("umlaut in first name too") << Queries::typeSearch(QStringLiteral("Ü"))
                                                  << QStringList{"MÜLLER|Eva", "Müller|Jürgen"};
        QTest::newRow("ue is not ü") << Queries::typeSearch(QStringLiteral("ue")) << QStringList{"mueller|Anna"};
        QTest::newRow("ß is not ss") << Queries::typeSearch(QStringLiteral("ß")) << QStringList{"Straßer|Max"};
        QTest::newRow("ss is not ß") << Queries::typeSearch(QStringLiteral("SS")) << QStringList{"Strasser|Ida"};
        QTest::newRow("question mark") << Queries::typeSearch(QStringLiteral("m?ller"))
                                       << QStringList{"MÜLLER|Eva", "Müller|Jürgen"};
        QTest::newRow("star") << Queries::typeSearch(QStringLiteral("*er"))
                              << QStringList{"Ärger|Ute",  "Berg|Karl",     "Berg|Anna",    "mueller|Anna",
                                             "MÜLLER|Eva", "Müller|Jürgen", "Strasser|Ida", "Straßer|Max"};
        // Each name on its own: "Berg Anna" holds b and a, but not in one name.
        QTest::newRow("star inside") << Queries::typeSearch(QStringLiteral("b*a")) << QStringList{"Oz|Bea"};
        QTest::newRow("list") << Queries::typeSearch(QStringLiteral("[ou]z")) << QStringList{"Oz|Bea"};
        QTest::newRow("apostrophe") << Queries::typeSearch(QStringLiteral("o'n")) << QStringList{"O'Neill|Seán"};
        QTest::newRow("first name only") << Queries::typeSearch(QStringLiteral("solo")) << QStringList{"|Solo"};
        QTest::newRow("no hit") << Queries::typeSearch(QStringLiteral("bonn")) << QStringList{};
    }
    void typeSearch()
    {
        QFETCH(QString, statement);
        QFETCH(QStringList, names);
        QTemporaryDir dir;
        const QString path = AddressFixture::location(dir, QStringLiteral("address50.adr"));
        QVERIFY(AddressFixture::makeWith(
            path, {"Zorn|Udo", "Müller|Jürgen", "Berg|Karl", "mueller|Anna", "MÜLLER|Eva", "Straßer|Max",
                   "Strasser|Ida", "Berg|Anna", "Öz|Ali", "Oz|Bea", "O'Neill|Seán", "Ärger|Ute", "Holzmann GmbH|",
                   "|Solo"}));
        RecordSource rs;
        QVERIFY2(rs.open(path, statement), qPrintable(rs.lastError()));
        QCOMPARE(AddressFixture::rows(rs, {"Nachname", "Vorname"}), names);
        // Each row leads to its own address.
        for (int i = 0; i < rs.recordCount(); ++i) {
            rs.setAbsolutePosition(i);
            QCOMPARE(rs.field(QStringLiteral("Nachname")), rs.fieldAt(i, QStringLiteral("Nachname")));
        }
        // The same statement in other letters is run by the SQL engine.
        RecordSource engine;
        QVERIFY(engine.open(path, QString(statement).replace(QStringLiteral("rder by"), QStringLiteral("RDER BY"))));
        QCOMPARE(AddressFixture::rows(engine, {"Nachname", "Vorname"}), names);
    }

    // Letters beyond the 63 most frequent share one number in the search's letter lists,
    // and a word's letter triples may lie in two different names: such candidates are
    // checked against the names themselves.
    void typeSearchRareLetters_data()
    {
        addColumns<QString, QStringList>("word", "lastNames");
        const QStringList sign{"Zeichen", "Zeichen", "Zeichen"};
        QTest::newRow("rare letter") << "ş" << QStringList{"Doğan"};
        QTest::newRow("rare letter twice") << "ğ" << QStringList{"Dağ", "Doğan"};
        QTest::newRow("rare letter, other rare one found") << "oşa" << QStringList{};
        QTest::newRow("triple with a rare letter") << "oğa" << QStringList{"Doğan"};
        QTest::newRow("triples in two names") << "rgan" << QStringList{};
        QTest::newRow("three letters of a first name") << "ANS" << QStringList{"Berga"};
        QTest::newRow("pair, not its rare look-alike") << "ga" << QStringList{"Berga"};
        QTest::newRow("63rd letter") << "þ" << sign;
        QTest::newRow("digit and umlaut") << "9Ä" << sign;
        QTest::newRow("digit wildcard") << "#ä" << sign;
        QTest::newRow("empty word") << "" << QStringList{"Berga", "Dağ", "Doğan", "Zeichen", "Zeichen", "Zeichen"};
    }
    void typeSearchRareLetters()
    {
        QFETCH(QString, word);
        QTemporaryDir dir;
        const QString path = AddressFixture::location(dir, QStringLiteral("address50.adr"));
        const QString sign = QStringLiteral("Zeichen|abcdefghijklmnopqrstuvwxyz0123456789äöüéèêáàâíìîóòôúùûçñÿøåæœþð");
        QVERIFY(AddressFixture::makeWith(path, {sign, "Doğan|Ayşe", sign, "Berga|Gans", "Dağ|Eda", sign}));
        RecordSource rs;
        QVERIFY2(rs.open(path, Queries::typeSearch(word)), qPrintable(rs.lastError()));
        QTEST(AddressFixture::rows(rs, {"Nachname"}), "lastNames");
        RecordSource engine;
        QVERIFY(engine.open(path, Queries::typeSearch(word).replace(QStringLiteral("rder by"), QStringLiteral("RDER BY"))));
        QTEST(AddressFixture::rows(engine, {"Nachname"}), "lastNames");
    }

    // The search as you type sees every change: this source's own, and another program's.
    void typeSearchFollowsWrites()
    {
        QTemporaryDir dir;
        const QString path = AddressFixture::location(dir, QStringLiteral("address50.adr"));
        QVERIFY(AddressFixture::makeWith(path, {"Zorn|Udo", "Berg|Karl"}));
        RecordSource rs;
        QVERIFY(rs.open(path, Queries::typeSearch(QStringLiteral("ö"))));
        QCOMPARE(rs.recordCount(), 0);
        QVERIFY(rs.addRow({{QStringLiteral("Nachname"), QStringLiteral("Öhler")}}));
        rs.setRecordSource(Queries::typeSearch(QStringLiteral("ö")));
        QVERIFY(rs.refresh());
        QCOMPARE(rs.recordCount(), 1);
        QVERIFY(AddressFixture::exec(path, "INSERT INTO Addressen (Nachname, Vorname) VALUES ('Ast', 'Jörg');"
                                           "UPDATE Addressen SET Nachname = 'Zoern' WHERE Nachname = 'Zorn';"));
        QVERIFY(rs.refresh());
        QCOMPARE(rs.recordCount(), 2);
        QCOMPARE(rs.fieldAt(0, QStringLiteral("Vorname")), QStringLiteral("Jörg"));
        QCOMPARE(rs.fieldAt(1, QStringLiteral("Nachname")), QStringLiteral("Öhler"));
        rs.setRecordSource(Queries::nameOrder());
        QVERIFY(rs.refresh());
        QCOMPARE(rs.fieldAt(rs.recordCount() - 1, QStringLiteral("Nachname")), QStringLiteral("Zoern"));
        QVERIFY(rs.deleteRow()); // "Ast", first in name order
        rs.setRecordSource(Queries::typeSearch(QStringLiteral("ö")));
        QVERIFY(rs.refresh());
        QCOMPARE(rs.recordCount(), 1);
        // Typed on letter by letter, typed back, and typed on after another program wrote.
        const char* const typed[][2] = {{"b", "Berg"}, {"be", "Berg"}, {"e", "Berg Öhler Zoern"}, {"erg", "Berg"},
                                        {"b", "Berg"}, {"ba", "Bach"}, {"b", "Bach Berg"}};
        for (const auto& [word, found] : typed) {
            if (QByteArray(word) == "ba")
                QVERIFY(AddressFixture::exec(path, "INSERT INTO Addressen (Nachname) VALUES ('Bach');"));
            rs.setRecordSource(Queries::typeSearch(QString::fromUtf8(word)));
            QVERIFY(rs.refresh());
            QStringList got;
            for (int i = 0; i < rs.recordCount(); ++i)
                got << rs.fieldAt(i, QStringLiteral("Nachname"));
            QCOMPARE(got.join(QLatin1Char(' ')), QString::fromUtf8(found));
        }
    }

    // Texts that SQL or a pattern could take for something else are stored and found as
    // typed; a NUL character, which the server cannot store, is refused there with a
    // German text and nothing is written.
    void badInput_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("quotes") << QStringLiteral("O'Brien \"Zitat\" ''");
        QTest::newRow("backslashes") << QStringLiteral("C:\\Pfad\\ \\'");
        QTest::newRow("percent and underscore") << QStringLiteral("100% _x_");
        QTest::newRow("NUL") << QStringLiteral("Null%1Zeichen").arg(QChar(0));
        QTest::newRow("10,000 characters") << QString(10000, QLatin1Char('W'));
    }
    void badInput()
    {
        QFETCH(QString, text);
        const bool refused = AddressFixture::onServer() && text.contains(QChar(0));
        RecordSource rs;
        QVERIFY(rs.open(m_path, Queries::nameOrder()));
        if (text.contains(QChar(0))) {
            QVERIFY(!rs.open(m_path, Queries::search(text)));
            QCOMPARE(rs.lastError(), QStringLiteral("Der Suchtext enthält ein Nullzeichen; damit kann nicht gesucht "
                                                    "werden. Es wurde nichts verändert."));
            QVERIFY(rs.open(m_path, Queries::nameOrder()));
        }
        QCOMPARE(rs.addRow({{QStringLiteral("Nachname"), text}, {QStringLiteral("Ort"), text}}), !refused);
        if (refused) {
            QCOMPARE(rs.lastError(), QStringLiteral("Die neue Adresse wurde nicht angelegt. Der Text enthält ein "
                                                    "Nullzeichen, das der Datenbank-Server nicht speichern kann. Es "
                                                    "wurde nichts verändert."));
            QVERIFY(rs.refresh());
            QCOMPARE(rs.recordCount(), 3);
            return;
        }
        RecordSource again;
        if (text.contains(QChar(0))) { // stored in the file; found by a word without the NUL
            QVERIFY(again.open(m_path, Queries::search(QStringLiteral("Null"))));
            QCOMPARE(again.field(QStringLiteral("Nachname")), text);
            return;
        }
        for (const QString& statement : {Queries::typeSearch(text), Queries::search(text)}) {
            QVERIFY2(again.open(m_path, statement), qPrintable(again.lastError()));
            QCOMPARE(again.recordCount(), 1);
            QCOMPARE(again.field(QStringLiteral("Nachname")), text);
            QCOMPARE(again.field(QStringLiteral("Ort")), text);
        }
        // As a word inside another: the wildcards of SQL's own LIKE match nothing else.
        QVERIFY(again.open(m_path, Queries::search(text.mid(1, text.size() - 2))));
        QCOMPARE(again.recordCount(), 1);
        QVERIFY(again.saveRowIf({{QStringLiteral("Adresse"), text}}, {{QStringLiteral("Ort"), text}}) ==
                RecordSource::Write::Done);
        QVERIFY(again.reloadRow());
        QCOMPARE(again.field(QStringLiteral("Adresse")), text);
    }

    // Jet SQL's LIKE and the German order of names.
    void like_data()
    {
        addColumns<QString, QString, bool>("pattern", "text", "match");
        QTest::newRow("umlaut lower finds upper") << "*müller*" << "MÜLLER" << true;
        QTest::newRow("question mark one char") << "M?ller" << "Müller" << true;
        QTest::newRow("hash digit") << "79###" << "79098" << true;
        QTest::newRow("hash is no letter") << "79#98" << "79a98" << false;
        QTest::newRow("percent is literal") << "*%*" << "Müller" << false;
        QTest::newRow("star in middle backtracks") << "*e*er" << "Beckerer" << true;
        QTest::newRow("bracketed star is literal") << "a[*]b" << "a*b" << true;
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
        addColumns<QString, QString>("before", "after");
        QTest::newRow("umlaut after base on tie") << "Muller" << "Müller";
        QTest::newRow("sharp s as ss") << "Strasse" << "Straßf";
        QTest::newRow("empty first") << "" << "A";
        QTest::newRow("umlaut against later ASCII") << "Mö" << "Mp";
    }
    void germanOrder()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QVERIFY(JetSql::germanCompare(before, after) < 0);
        QVERIFY(JetSql::germanCompare(after, before) > 0);
    }

    // A file made elsewhere, with no collation declared, lists and matches the same way.
    void undeclaredColumnsSortGerman()
    {
        if (AddressFixture::onServer())
            QSKIP("a file made by another program");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("address60.qxa"));
        QVERIFY(AddressFixture::exec(
            path, "CREATE TABLE Addressen (Nr INTEGER, Anrede, Vorname, Nachname, Adresse, Postleitzahl, Ort, "
                  "LaenderKZ, Land, AnredezHd, NamezHd, MitgliedsNr, Gruppe);"
                  "INSERT INTO Addressen (Nr, Nachname, Vorname) VALUES (1, 'Zander', 'a'), (2, 'de Vries', 'b'),"
                  "(3, 'Ärger', 'c'), (4, 'becker', 'd'), (5, 'Becker', 'A');"));
        RecordSource rs;
        QVERIFY(rs.open(path, QStringLiteral("select * from [Addressen] Order by [Nachname], [Vorname]")));
        QCOMPARE(AddressFixture::rows(rs, {"Nachname", "Vorname"}),
                 QStringList({"Ärger|c", "Becker|A", "becker|d", "de Vries|b", "Zander|a"}));
        QCOMPARE(rs.fieldAt(4, QStringLiteral("Nr")), QStringLiteral("1"));
        QVERIFY(rs.open(path, QStringLiteral("SELECT * FROM Addressen WHERE Nachname Like '*ärg*'")));
        QCOMPARE(rs.recordCount(), 1); // "Ärger": umlauts match across case
    }
};

QTEST_MAIN(TestRecordSource)
#include "tst_recordsource.moc"
