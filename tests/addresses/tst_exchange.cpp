#include "AddressFixture.h"

#include "addresses/Queries.h"
#include "addresses/RecordSource.h"
#include "addresses/exchange/AddressExport.h"
#include "addresses/exchange/AddressImport.h"
#include "addresses/exchange/ColumnGuess.h"
#include "addresses/exchange/CsvReader.h"
#include "addresses/exchange/VCardReader.h"
#include "addresses/exchange/Windows1252.h"
#include "addresses/frmAdressenExport.h"
#include "addresses/frmAdressenImport.h"
#include "shell/AddressExchangeCommand.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include "TestCommon.h"
#include <QProgressDialog>
#include <QTableWidget>
#include <QTimer>

using AddressImport::Duplicates;

namespace {
// Row values joined with "|" for compact comparison.
QString joined(const ExchangeRow& r) { return r.values.join(QLatin1Char('|')); }

const QStringList kShort{"Anrede", "Vorname", "Nachname", "Adresse", "Postleitzahl", "Ort", "Land", "Gruppe"};
const QStringList kAll{"Anrede", "Vorname", "Nachname", "Adresse", "Postleitzahl", "Ort",
                       "LaenderKZ", "Land", "AnredezHd", "NamezHd", "MitgliedsNr", "Gruppe"};

QStringList addressesOnFile(const QString& path, const QStringList& columns = kShort)
{
    RecordSource r;
    if (!r.open(path, Queries::nameOrder()))
        return {QStringLiteral("nicht lesbar")};
    return AddressFixture::rows(r, columns);
}
} // namespace

class TestExchange : public QObject {
    Q_OBJECT
    std::optional<QTemporaryDir> m_dir;
    QString m_db;

    QString prepareAndWrite(const QByteArray& bytes, Duplicates d, const QString& group = {},
                            const AddressImport::Progress& progress = {})
    {
        const ExchangeTable t = AddressImport::readBytes(bytes, false);
        const auto p = AddressImport::prepare(t, ColumnGuess::guessAll(t.headers), group);
        RecordSource s;
        if (!s.open(m_db, Queries::addressTable()))
            return s.lastError();
        const auto o = AddressImport::write(s, p.records, d, progress);
        return o.error.isEmpty() ? AddressImport::summary(o, p) : o.error;
    }

private slots:
    void init()
    {
        m_dir.emplace();
        m_db = m_dir->filePath(QStringLiteral("address50.adr"));
        QVERIFY(AddressFixture::makeWith(m_db, {QStringLiteral("Müller|Jürgen|Hauptstr. 1|Köln|Verein|50667")}));
    }

    void germanSpreadsheetCsv()
    {
        // Windows-1252 as a spreadsheet saves it: ü = FC, ö = F6, ß = DF.
        const QByteArray bytes = "Anrede;Vorname;Name;Stra\xdf" "e;PLZ;Ort\r\n"
                                 "Herrn;J\xfcrgen;M\xfcller;\"Hauptstr. 1\r\nHinterhaus\";12345;K\xf6ln\r\n"
                                 "Frau;Eva;\"Der \"\"Kleine\"\" Laden\";Weg 2;;\r\n";
        const ExchangeTable t = CsvReader::read(bytes);
        QCOMPARE(t.headers, (QStringList{"Anrede", "Vorname", "Name", "Straße", "PLZ", "Ort"}));
        QCOMPARE(int(t.rows.size()), 2);
        QCOMPARE(joined(t.rows[0]), QStringLiteral("Herrn|Jürgen|Müller|Hauptstr. 1\nHinterhaus|12345|Köln"));
        QCOMPARE(t.rows[0].line, 2);
        QCOMPARE(joined(t.rows[1]), QStringLiteral("Frau|Eva|Der \"Kleine\" Laden|Weg 2||"));
        QCOMPARE(t.rows[1].line, 4);
    }

    void encodingsAndDelimiters_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("English, commas, BOM") << QByteArray("\xEF\xBB\xBF" "First Name,Last Name,City\n"
                                                            "Zo\xC3\xAB,Smith,Bath\n");
        QTest::newRow("UTF-8 without BOM, tabs") << QByteArray("First Name\tLast Name\tCity\nZo\xC3\xAB\tSmith\tBath\n");
        QTest::newRow("UTF-16 LE with BOM")
            << QByteArray("\xFF\xFE" "F\0i\0r\0s\0t\0 \0N\0a\0m\0e\0;\0L\0a\0s\0t\0 \0N\0a\0m\0e\0;\0C\0i\0t\0y\0\n\0"
                          "Z\0o\0\xEB\0;\0S\0m\0i\0t\0h\0;\0B\0a\0t\0h\0\n\0",
                          2 + 2 * 26 + 2 * 15);
        QTest::newRow("Windows-1252, semicolons") << QByteArray("First Name;Last Name;City\r\nZo\xEB;Smith;Bath\r\n");
    }
    void encodingsAndDelimiters()
    {
        QFETCH(QByteArray, bytes);
        const ExchangeTable t = CsvReader::read(bytes);
        QCOMPARE(t.headers, (QStringList{"First Name", "Last Name", "City"}));
        QCOMPARE(int(t.rows.size()), 1);
        QCOMPARE(joined(t.rows[0]), QStringLiteral("Zoë|Smith|Bath"));
    }

    void guesses_data()
    {
        addColumns<QString, QString>("header", "field");
        const char* pairs[][2] = {{"Vorname", "Vorname"},   {"Name", "Nachname"},      {"Nachname", "Nachname"},
                                  {"Straße", "Adresse"},    {"Strasse", "Adresse"},    {"PLZ", "Postleitzahl"},
                                  {"Ort", "Ort"},           {"Land", "Land"},          {"Anrede", "Anrede"},
                                  {"Firma", "Firma"},       {"E-Mail", ""},            {"Telefon", ""},
                                  {"First Name", "Vorname"}, {"Last Name", "Nachname"}, {"Street", "Adresse"},
                                  {"Zip", "Postleitzahl"},  {"ZIP Code", "Postleitzahl"}, {"City", "Ort"},
                                  {"Company", "Firma"},     {" e-mail ", ""},          {"Mitglieds-Nr.", "MitgliedsNr"}};
        for (const auto& p : pairs)
            QTest::newRow(p[0]) << QString::fromUtf8(p[0]) << QString::fromUtf8(p[1]);
    }
    void guesses()
    {
        QFETCH(QString, header);
        QTEST(ColumnGuess::guess(header), "field");
    }

    void guessTakesEachFieldOnce()
    {
        QCOMPARE(ColumnGuess::guessAll({"Name", "Vorname", "Nachname", "Ort"}),
                 (QStringList{"Nachname", "Vorname", "", "Ort"}));
    }

    void vcard21QuotedPrintable()
    {
        const QByteArray bytes = "BEGIN:VCARD\r\nVERSION:2.1\r\n"
                                 "N;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:M=FCller;J=FCrgen;;Herrn\r\n"
                                 "ADR;WORK;CHARSET=UTF-8;QUOTED-PRINTABLE:;;Gro=C3=9Fe Stra=C3=9Fe 5;K=C3=\r\n"
                                 "=B6ln;;50667;Deutschland\r\n"
                                 "TEL;WORK:0221 123\r\nEMAIL;INTERNET:j@example.org\r\nEND:VCARD\r\n";
        const ExchangeTable t = VCardReader::read(bytes);
        QCOMPARE(t.headers, (QStringList{"Anrede", "Vorname", "Nachname", "Adresse", "Postleitzahl", "Ort", "Land",
                                         "Firma", "E-Mail", "Telefon", "Titel", "Gruppe", "LaenderKZ", "AnredezHd",
                                         "NamezHd", "MitgliedsNr"}));
        QCOMPARE(int(t.rows.size()), 1);
        QCOMPARE(joined(t.rows[0]),
                 QStringLiteral("Herrn|Jürgen|Müller|Große Straße 5|50667|Köln|Deutschland||j@example.org|0221 123||||||"));
    }

    void vcard30And40SeveralCards()
    {
        const QByteArray bytes = "BEGIN:VCARD\nVERSION:3.0\nN:Schmidt;Anna\\, Maria;;;\n"
                                 "ORG:Schmidt \\; Söhne\nTITLE:Leiterin\n"
                                 "ADR;TYPE=work:;;Werkstr. 9;Ulm;;89073;\n"
                                 "ADR;TYPE=home:;;Gartenweg 1;Ne\n u-Ulm;;89231;\nEND:VCARD\n"
                                 "\n"
                                 "BEGIN:VCARD\nVERSION:4.0\nFN:Peter van Dyk\nitem1.EMAIL;TYPE=work:p@example.org\n"
                                 "X-QX-NAMEZHD:Frau Ute\\, Empfang\n"
                                 "ADR;TYPE=\"work,pref\":;;Kai 3;Hamburg;;20457;Deutschland\nEND:VCARD\n"
                                 "BEGIN:VCARD\nVERSION:4.0\nORG:Bäckerei Korn\nEND:VCARD\n";
        const ExchangeTable home = VCardReader::read(bytes);
        QCOMPARE(int(home.rows.size()), 3);
        QCOMPARE(joined(home.rows[0]),
                 QStringLiteral("|Anna, Maria|Schmidt|Gartenweg 1|89231|Neu-Ulm||Schmidt ; Söhne|||Leiterin|||||"));
        QCOMPARE(home.rows[0].line, 1);
        QCOMPARE(joined(home.rows[1]), QStringLiteral("|Peter van|Dyk|Kai 3|20457|Hamburg|Deutschland||p@example.org||||||Frau Ute, Empfang|"));
        QCOMPARE(home.rows[1].line, 11);
        QCOMPARE(joined(home.rows[2]), QStringLiteral("|||||||Bäckerei Korn||||||||"));
        const ExchangeTable work = VCardReader::read(bytes, VCardReader::Prefer::Work);
        QCOMPARE(work.rows[0].values.mid(3, 3), (QStringList{"Werkstr. 9", "89073", "Ulm"}));
    }

    void preparedRows()
    {
        const QByteArray bytes = "Firma;Vorname;Nachname;Ort\n"
                                 "Bäckerei Korn;;;Ulm\n"
                                 ";;;Bonn\n"
                                 ";Eva;Berg;Köln;zu viel\n"
                                 ";;;\n"
                                 ";Udo;Zorn;Bonn\n";
        const ExchangeTable t = CsvReader::read(bytes);
        const auto p = AddressImport::prepare(t, ColumnGuess::guessAll(t.headers), QStringLiteral("Kunden"));
        QVERIFY(p.error.isEmpty());
        QCOMPARE(int(p.records.size()), 2);
        QCOMPARE(p.records[0].value("Nachname"), QStringLiteral("Bäckerei Korn"));
        QCOMPARE(p.records[0].value("Anrede"), QStringLiteral("Firma"));
        QCOMPARE(p.records[1].value("Gruppe"), QStringLiteral("Kunden"));
        QCOMPARE(p.records[1].line, 6);
        AddressImport::Outcome o;
        o.added = 2;
        QCOMPARE(AddressImport::summary(o, p), QStringLiteral("2 Adressen übernommen, 1 Zeile ohne Namen nicht "
                                                              "übernommen, 1 fehlerhafte Zeile nicht übernommen\n"
                                                              "Zeile 3: ohne Namen\n"
                                                              "Zeile 4: mehr Felder als die Kopfzeile"));
        QCOMPARE(AddressImport::summary(o, p, 1), QStringLiteral("2 Adressen übernommen, 1 Zeile ohne Namen nicht "
                                                                 "übernommen, 1 fehlerhafte Zeile nicht übernommen\n"
                                                                 "Zeile 3: ohne Namen\n"
                                                                 "… und 1 weitere Zeile"));
    }

    void duplicates_data()
    {
        addColumns<int, QString, QStringList>("mode", "summary", "onFile");
        const QString eva = QStringLiteral("|Eva|Berg|Weg 2||Bonn||Neu");
        QTest::newRow("skip") << int(Duplicates::Skip)
                              << QStringLiteral("1 Adresse übernommen, 2 doppelte übersprungen")
                              << QStringList{eva, "|Jürgen|Müller|Hauptstr. 1|50667|Köln||Verein"};
        QTest::newRow("update") << int(Duplicates::Update)
                                << QStringLiteral("1 Adresse übernommen, 2 doppelte aktualisiert")
                                << QStringList{eva, "Herrn|jürgen|MÜLLER|Hauptstr. 1|50667|köln||Neu"};
        QTest::newRow("add") << int(Duplicates::Add) << QStringLiteral("3 Adressen übernommen")
                             << QStringList{eva, eva, "|Jürgen|Müller|Hauptstr. 1|50667|Köln||Verein",
                                            "Herrn|jürgen|MÜLLER|Hauptstr. 1||köln||Neu"};
    }
    void duplicates()
    {
        QFETCH(int, mode);
        QFETCH(QStringList, onFile);
        // Case and outer blanks do not make another address; the second Eva repeats the first.
        const QByteArray bytes = "Anrede;Vorname;Nachname;Straße;Ort\n"
                                 "Herrn;jürgen ;MÜLLER;Hauptstr. 1;köln\n"
                                 ";Eva;Berg;Weg 2;Bonn\n"
                                 ";Eva;Berg;Weg 2;Bonn\n";
        QTEST(prepareAndWrite(bytes, Duplicates(mode), QStringLiteral("Neu")), "summary");
        // An update writes the import's spelling over the file's; fields the import
        // does not have (the postal code) stay. Equal names have no fixed order.
        QStringList got = addressesOnFile(m_db);
        got.sort();
        onFile.sort();
        QCOMPARE(got, onFile);
    }

    void failureLeavesNothing()
    {
        QVERIFY(AddressFixture::exec(m_db, "CREATE TRIGGER refuse BEFORE INSERT ON Addressen "
                                           "WHEN NEW.Nachname = 'Fehler' BEGIN SELECT RAISE(ABORT, 'nein'); END;"));
        const QString text = prepareAndWrite("Vorname;Nachname\nA;Eins\nB;Fehler\nC;Drei\n", Duplicates::Add);
        QVERIFY2(text.startsWith(QStringLiteral("Die Adresse aus Zeile 3 konnte nicht gespeichert werden; es wurde "
                                                "nichts übernommen.")),
                 qPrintable(text));
        QCOMPARE(addressesOnFile(m_db), QStringList{"|Jürgen|Müller|Hauptstr. 1|50667|Köln||Verein"});
    }

    void badFiles_data()
    {
        addColumns<QByteArray, QString>("bytes", "error");
        QTest::newRow("empty") << QByteArray() << QStringLiteral("Die Datei ist leer.");
        QTest::newRow("only BOM") << QByteArray("\xEF\xBB\xBF") << QStringLiteral("Die Datei ist leer.");
        QTest::newRow("binary") << QByteArray("PK\x03\x04\0\0\x14\0", 8)
                                << QStringLiteral("Die Datei ist keine Adressliste (CSV oder vCard), sondern "
                                                  "enthält binäre Daten.");
        QTest::newRow("no name column") << QByteArray("Straße;PLZ;Ort\nWeg 1;50667;Köln\n")
                                        << QStringLiteral("In der Datei wurde keine Spalte mit Namen gefunden (etwa "
                                                          "\"Name\", \"Nachname\" oder \"Vorname\"). Es wurde nichts "
                                                          "übernommen.");
        QTest::newRow("vCard without cards") << QByteArray("BEGIN:VCARD\nVERSION:3.0\n")
                                             << QStringLiteral("Die Datei enthält keine Adressen.");
    }
    void badFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        const QString path = m_dir->filePath(QStringLiteral("liste.csv"));
        QVERIFY(writeAll(path, bytes));
        const ExchangeTable t = AddressImport::readFile(path);
        const QString got = !t.error.isEmpty() ? t.error
                                               : AddressImport::prepare(t, ColumnGuess::guessAll(t.headers), {}).error;
        QCOMPARE(got, error);
    }

    void tooBigFileIsNotRead()
    {
        const QString path = m_dir->filePath(QStringLiteral("gross.csv"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(101LL * 1024 * 1024)); // sparse: nothing is really written
        f.close();
        QCOMPARE(AddressImport::readFile(path).error,
                 QStringLiteral("Die Datei \"gross.csv\" ist größer als 100 MB und wird nicht eingelesen."));
    }

    void exportThenImportGivesTheSameAddresses_data()
    {
        // bytes: some of what the file must hold
        addColumns<QString, QStringList, QByteArray>("name", "options", "bytes");
        QTest::newRow("CSV UTF-8") << QStringLiteral("adressen.csv") << QStringList()
                                   << QByteArray("\xEF\xBB\xBF" "Anrede;Vorname;Nachname;Adresse;Postleitzahl;Ort;");
        QTest::newRow("CSV Windows-1252") << QStringLiteral("adressen.csv")
                                          << QStringList{"--encoding", "windows-1252"}
                                          << QByteArray("Frau;Anna;\xC4rger;\"M\xFChlenweg 3; Hof\";20095;Hamburg;");
        QTest::newRow("vCard 4.0") << QStringLiteral("adressen.vcf") << QStringList()
                                   << QByteArray("BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Anna \xC3\x84rger\r\n");
    }
    void exportThenImportGivesTheSameAddresses()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, options);
        QFETCH(QByteArray, bytes);
        // Anrede|Vorname|Nachname|Adresse|Postleitzahl|Ort|LaenderKZ|Land|AnredezHd|NamezHd|MitgliedsNr|Gruppe
        const QStringList people{
            "Frau|Anna|Ärger|Mühlenweg 3; Hof|20095|Hamburg|D|Deutschland|||M-1|Verein",
            "Herrn|Seán|O'Neill|12 Grafton Street\r\nApt. 4|D02|Dublin|IRL|Irland|Frau|Siobhán \"Shiv\" Ó Sé||Verein",
            "Firma||Schmidt, Söhne \"& Co\"|Großstraße 9\\2|89073|Ulm|||Herrn|Jörg Weiß|K-17|Kunden, Süd"};
        QVERIFY(AddressFixture::exec(m_db, "DELETE FROM Addressen;"));
        RecordSource src;
        QVERIFY(src.open(m_db, Queries::addressTable()));
        for (const QString& p : people) {
            const QStringList f = p.split(QLatin1Char('|'));
            QHash<QString, QString> v;
            for (int i = 0; i < f.size(); ++i)
                v.insert(kAll[i], f[i]);
            QVERIFY(src.addRow(v));
        }
        const QString file = m_dir->filePath(name);
        QCOMPARE(runAddressExchange(QStringList{"--export-addresses", file, "--database", m_db} + options), 0);
        const QByteArray content = readAll(file);
        QVERIFY2(content.contains(bytes), content.left(300).constData());

        const QString other = m_dir->filePath(QStringLiteral("leer.adr"));
        QVERIFY(AddressFixture::makeWith(other, {}));
        QCOMPARE(runAddressExchange({"--import-addresses", file, "--database", other}), 0);
        QCOMPARE(addressesOnFile(other, kAll), people); // already in name order
        // A second run finds them all again.
        QCOMPARE(runAddressExchange({"--import-addresses", file, "--database", other}), 0);
        QCOMPARE(addressesOnFile(other).size(), 3);
    }

    void windows1252_data()
    {
        addColumns<QString, QByteArray, int>("text", "bytes", "unmappable");
        QTest::newRow("umlauts and ß") << QStringLiteral("Äö ß") << QByteArray("\xC4\xF6 \xDF") << 0;
        QTest::newRow("euro, quotes, dash") << QStringLiteral("5 € „so“ – ‚ja‘")
                                            << QByteArray("5 \x80 \x84so\x93 \x96 \x82ja\x91") << 0;
        QTest::newRow("letters it lacks") << QStringLiteral("Łódź 😀") << QByteArray("?\xF3" "d? ?") << 3;
    }
    void windows1252()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(int, unmappable);
        int missing = -1;
        QCOMPARE(Windows1252::encode(text, &missing), bytes);
        QCOMPARE(missing, unmappable);
        if (unmappable == 0)
            QCOMPARE(Windows1252::decode(bytes), text);
    }

    void windows1252ExportReportsWhatItLacks()
    {
        RecordSource src;
        QVERIFY(src.open(m_db, Queries::addressTable()));
        QVERIFY(src.addRow({{"Vorname", "Łukasz"}, {"Nachname", "Łęcki-Wójcik"}}));
        const QString file = m_dir->filePath(QStringLiteral("alt.csv"));
        const AddressExport::Written w = AddressExport::writeFile(src, file, AddressExport::Format::CsvWindows1252);
        QCOMPARE(w.addresses, 2);
        QCOMPARE(w.unmappable, 1);
        QCOMPARE(AddressExport::report(w, QStringLiteral("/tmp/alt.csv")),
                 QStringLiteral("2 Adressen geschrieben: /tmp/alt.csv\n1 Adresse enthält Zeichen, die es in "
                                "Windows-1252 nicht gibt; sie wurden als \"?\" geschrieben. Wählen Sie UTF-8, um "
                                "sie zu erhalten."));
        QVERIFY(readAll(file).endsWith(";?ukasz;??cki-W\xF3jcik;;;;;;;;;\r\n"));
    }

    // Stopping after the third of five records takes back what was written, updates
    // of existing addresses included.
    void cancelTakesEverythingBack()
    {
        const QByteArray csv = "Vorname;Nachname;Straße;Ort;PLZ\n"
                               "Jürgen;Müller;Hauptstr. 1;Köln;99999\n"
                               "A;Eins;;;\nB;Zwei;;;\nC;Drei;;;\nD;Vier;;;\n";
        QList<int> told;
        QCOMPARE(prepareAndWrite(csv, Duplicates::Update, {}, [&told](int done, int total) {
                     told << done << total;
                     return done < 3;
                 }),
                 QStringLiteral("Der Import wurde abgebrochen. Es wurde nichts übernommen."));
        QCOMPARE(told, (QList<int>{1, 5, 2, 5, 3, 5}));
        QCOMPARE(addressesOnFile(m_db), QStringList{"|Jürgen|Müller|Hauptstr. 1|50667|Köln||Verein"});
    }

    void importWindow()
    {
        ScriptedPrompter* p = installScriptedPrompter();
        const QString path = m_dir->filePath(QStringLiteral("mitglieder.csv"));
        QVERIFY(writeAll(path, "Nr;Vorname;Name;Wohnort;Mail\n1;Eva;Berg;Bonn;e@x.de\n2;Udo;Zorn;Ulm;\n"));
        p->answerOpenFile(path);
        QStringList seen;
        p->answerExec([&seen](QDialog* d) {
            auto* w = qobject_cast<frmAdressenImport*>(d);
            if (!w)
                return int(QDialog::Rejected);
            seen = w->mapping();
            seen << QString::number(w->preview()->rowCount())
                 << w->preview()->verticalHeaderItem(1)->text()
                 << w->preview()->item(1, 3)->text();
            // "Nr" is not taken; the user puts the town column onto the street instead.
            w->fieldBox(3)->setCurrentIndex(w->fieldBox(3)->findData(QStringLiteral("Adresse")));
            w->groupText()->setText(QStringLiteral("Mitglieder"));
            w->duplicateChoice()->button(2)->click();
            w->cmdOK_Click();
            return w->result();
        });
        QVERIFY(frmAdressenImport::run(nullptr, m_db));
        QCOMPARE(seen, (QStringList{"", "Vorname", "Nachname", "Ort", "", "2", "3", "Ulm"}));
        QCOMPARE(p->last().kind, QStringLiteral("message"));
        QCOMPARE(p->last().text, QStringLiteral("2 Adressen übernommen"));
        QCOMPARE(addressesOnFile(m_db), (QStringList{"|Eva|Berg|Bonn||||Mitglieder",
                                                     "|Jürgen|Müller|Hauptstr. 1|50667|Köln||Verein",
                                                     "|Udo|Zorn|Ulm||||Mitglieder"}));
    }

    void importWindowReportsABadFile()
    {
        ScriptedPrompter* p = installScriptedPrompter();
        const QString path = m_dir->filePath(QStringLiteral("leer.csv"));
        QVERIFY(writeAll(path, {}));
        p->answerOpenFile(path);
        QVERIFY(!frmAdressenImport::run(nullptr, m_db));
        QCOMPARE(p->count(QStringLiteral("exec")), 0);
        QCOMPARE(p->last().text, QStringLiteral("Die Datei ist leer. Es wurde nichts übernommen."));
    }

    // "Abbrechen" in the progress window: the window stays open, the file as it was.
    void importWindowCancels()
    {
        ScriptedPrompter* p = installScriptedPrompter();
        const QString path = m_dir->filePath(QStringLiteral("viele.csv"));
        QVERIFY(writeAll(path, "Vorname;Nachname\nA;Eins\nB;Zwei\nC;Drei\n"));
        p->answerOpenFile(path);
        bool clicked = false;
        p->answerExec([&clicked](QDialog* d) {
            QTimer::singleShot(0, d, [d, &clicked] {
                auto* progress = d->findChild<QProgressDialog*>(QStringLiteral("prgImport"));
                auto* cancel = progress ? progress->findChild<QPushButton*>() : nullptr;
                if (cancel) {
                    cancel->click();
                    clicked = true;
                }
            });
            static_cast<frmAdressenImport*>(d)->cmdOK_Click();
            return d->result();
        });
        QVERIFY(!frmAdressenImport::run(nullptr, m_db));
        QVERIFY(clicked);
        QCOMPARE(p->last().text, QStringLiteral("Der Import wurde abgebrochen. Es wurde nichts übernommen."));
        QCOMPARE(addressesOnFile(m_db), QStringList{"|Jürgen|Müller|Hauptstr. 1|50667|Köln||Verein"});
    }

    void exportWindow()
    {
        QVERIFY(QFile::remove(m_db));
        QVERIFY(AddressFixture::makeWith(m_db, {"Müller|Jürgen|Hauptstr. 1|Köln|Verein|50667", "Berg|Eva||Bonn|Chor",
                                                "Zorn|Udo|Am Ring 2|Ulm|Verein"}));
        ScriptedPrompter* p = installScriptedPrompter();
        const QString path = m_dir->filePath(QStringLiteral("verein"));
        p->answerSaveFile(path);
        QStringList seen;
        p->answerExec([&seen](QDialog* d) {
            auto* w = static_cast<frmAdressenExport*>(d);
            auto counted = [&] { seen << QString::number(w->scopeChoice()->checkedId()) + QLatin1Char(' ') + w->countLabel()->text(); };
            counted(); // the list the window was opened with
            w->scopeChoice()->button(frmAdressenExport::All)->click();
            counted();
            w->groupBox()->setCurrentIndex(w->groupBox()->findText(QStringLiteral("Verein")));
            w->scopeChoice()->button(frmAdressenExport::Group)->click();
            counted();
            w->formatChoice()->button(int(AddressExport::Format::CsvWindows1252))->click();
            w->cmdOK_Click();
            return w->result();
        });
        QVERIFY(frmAdressenExport::run(nullptr, m_db, Queries::group(QStringLiteral("Chor"))));
        QCOMPARE(seen, (QStringList{"0 Es wird 1 Adresse geschrieben.", "2 Es werden 3 Adressen geschrieben.",
                                    "1 Es werden 2 Adressen geschrieben."}));
        const ScriptedPrompter::Asked& asked = p->asked[p->asked.size() - 2];
        QCOMPARE(asked.kind, QStringLiteral("save"));
        QCOMPARE(asked.text, QStringLiteral("CSV-Datei (*.csv)|*.csv"));
        QCOMPARE(asked.defaultText, QStringLiteral("Verein.csv"));
        QCOMPARE(p->last().text, QStringLiteral("2 Adressen geschrieben: ") + path + QStringLiteral(".csv"));
        QCOMPARE(readAll(path + QStringLiteral(".csv")), QByteArray("Anrede;Vorname;Nachname;Adresse;Postleitzahl;Ort;LaenderKZ;Land;AnredezHd;"
                                         "NamezHd;MitgliedsNr;Gruppe\r\n"
                                         ";J\xFCrgen;M\xFCller;Hauptstr. 1;50667;K\xF6ln;;;;;;Verein\r\n"
                                         ";Udo;Zorn;Am Ring 2;;Ulm;;;;;;Verein\r\n"));

        // Without a list of its own the window offers a group or all.
        frmAdressenExport plain(m_db);
        QVERIFY(!plain.scopeChoice()->button(frmAdressenExport::CurrentList)->isEnabled());
        QCOMPARE(plain.scopeChoice()->checkedId(), int(frmAdressenExport::All));
    }

    void commandRefusesBadArguments()
    {
        QCOMPARE(runAddressExchange({"--import-addresses"}), 2);
        QCOMPARE(runAddressExchange({"--import-addresses", "a.csv", "--export-addresses", "b.csv"}), 2);
        QCOMPARE(runAddressExchange({"--import-addresses", "a.csv", "--duplicates", "maybe"}), 2);
        QCOMPARE(runAddressExchange({"--import-addresses", m_dir->filePath("fehlt.csv"), "--database", m_db}), 1);
    }
};

QTEST_MAIN(TestExchange)
#include "tst_exchange.moc"
