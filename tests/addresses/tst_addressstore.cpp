#include "TestCommon.h"
#include "AddressFixture.h"

#include "addresses/AddressListBox.h"
#include "addresses/AddressStore.h"
#include "addresses/FieldBinder.h"
#include "addresses/Queries.h"
#include "addresses/RecordSource.h"
#include "app/AppState.h"


using AddressStore::Entry;

class TestAddressStore : public QObject {
    Q_OBJECT

    std::optional<QTemporaryDir> m_dir;
    QString m_path;
    ScriptedPrompter* m_prompter = nullptr;

    static QStringList entries(const AddressListBox& l) { return l.entries(); }
    int rowsOnFile() const
    {
        RecordSource r;
        return r.open(m_path, QStringLiteral("Addressen")) ? r.recordCount() : -1;
    }

private slots:
    void init()
    {
        m_dir.emplace();
        m_path = AddressFixture::location(*m_dir, QStringLiteral("address50.adr"));
        QVERIFY(AddressFixture::makeWith(
            m_path, {QStringLiteral("Zorn|Udo|Weg 1|Bonn|Verein|50000"), QStringLiteral("Berg||Hof 2|Köln|Vereinsvorstand|10000"),
                     QStringLiteral("Ärger|Anna|Ring 3|Ulm||30000")}));
        m_prompter = installScriptedPrompter();
    }
    void cleanup() { m_dir.reset(); }

    // The entries in each style; they stay what they were filled with while the source
    // runs other statements, until the list is filled again.
    void entryStyles_data()
    {
        addColumns<int, QStringList>("style", "expected");
        QTest::newRow("name") << int(Entry::Name) << QStringList{"Ärger Anna", "Berg ", "Zorn Udo"};
        QTest::newRow("postal code") << int(Entry::PostCode)
                                     << QStringList{"30000\tÄrger Anna", "10000\tBerg ", "50000\tZorn Udo"};
        QTest::newRow("numbered") << int(Entry::Numbered) << QStringList{"1  Ärger Anna", "2  Berg ", "3  Zorn Udo"};
    }
    void entryStyles()
    {
        QFETCH(int, style);
        QFETCH(QStringList, expected);
        RecordSource rs;
        QVERIFY(rs.open(m_path, Queries::nameOrder()));
        AddressListBox list;
        AddressStore::fillList(&list, rs, Entry(style));
        QCOMPARE(list.count(), 3);
        QCOMPARE(entries(list), expected);
        QCOMPARE(list.model()->data(list.model()->index(2, 0)).toString(), expected.at(2));
        rs.setRecordSource(Queries::typeSearch(QStringLiteral("zorn")));
        QVERIFY(rs.refresh());
        QCOMPARE(rs.recordCount(), 1);
        QCOMPARE(entries(list), expected);
        QCOMPARE(list.text(3), QString());
    }

    // A statement that fails is the source's one error, not "no data found"; the list,
    // the result and the current row stay together.
    void searchUnderLock()
    {
        RecordSource rs;
        QVERIFY(rs.open(m_path, Queries::nameOrder()));
        AddressListBox list;
        AddressStore::linkList(&list, &rs);
        AddressStore::fillList(&list, rs, Entry::Name);
        list.setCurrentRow(1);
        const QStringList before = entries(list);
        AddressFixture::Lock other(m_path, "BEGIN EXCLUSIVE");
        QSignalSpy errors(&rs, &RecordSource::dataError);
        QVERIFY(!AddressStore::searchWithFallback(nullptr, rs, &list, Queries::search(QStringLiteral("Köln")),
                                                  QStringLiteral("Köln")));
        QCOMPARE(errors.size(), 1);
        QVERIFY(m_prompter->asked.isEmpty());
        QCOMPARE(entries(list), before);
        QCOMPARE(rs.field(QStringLiteral("Nachname")), QStringLiteral("Berg"));
    }

    // A lock that keeps readers out fails the add: no row is left and the names wait
    // in the fields.
    void addUnderLock()
    {
        RecordSource rs;
        QVERIFY(rs.open(m_path, Queries::nameOrder()));
        FieldBinder binder(&rs);
        QLineEdit first, last;
        binder.bind(&first, QStringLiteral("Vorname"));
        binder.bind(&last, QStringLiteral("Nachname"));
        AddressListBox list;
        AddressStore::linkList(&list, &rs);
        AddressStore::fillList(&list, rs, Entry::Name);
        QSignalSpy errors(&rs, &RecordSource::dataError);
        AddressFixture::Lock other(m_path, "BEGIN EXCLUSIVE");
        m_prompter->answerInput(QStringLiteral("Ida"));
        m_prompter->answerInput(QStringLiteral("Adler"));
        QVERIFY(!AddressStore::addAddress(nullptr, rs, binder, &list));
        other.release();
        QCOMPARE(rowsOnFile(), 3);
        QVERIFY(m_prompter->last().text.startsWith(QStringLiteral("Die neue Adresse wurde nicht angelegt. ")));
        QCOMPARE(errors.size(), 0); // the one message above
        QCOMPARE(first.text(), QStringLiteral("Ida"));
        QCOMPARE(last.text(), QStringLiteral("Adler"));
        QCOMPARE(binder.save(), RecordSource::Write::Failed); // nothing to save them over

        // The next add offers them again and, the lock gone, adds the address.
        m_prompter->clear();
        m_prompter->answerInput(QString()); // a last name alone will do
        m_prompter->answerInput(QStringLiteral("Adler"));
        QVERIFY(AddressStore::addAddress(nullptr, rs, binder, &list));
        QCOMPARE(m_prompter->asked[1].defaultText, QStringLiteral("Adler"));
        QCOMPARE(rowsOnFile(), 4);
        // Sorted in at once, and the current address.
        QCOMPARE(entries(list), QStringList({"Adler ", "Ärger Anna", "Berg ", "Zorn Udo"}));
        QCOMPARE(list.currentRow(), 0);
        QCOMPARE(rs.field(QStringLiteral("Nachname")), QStringLiteral("Adler"));

        // No name at all: refused with a message, nothing added.
        m_prompter->answerInput(QStringLiteral(" "));
        m_prompter->answerInput(QString());
        QVERIFY(!AddressStore::addAddress(nullptr, rs, binder, &list));
        QVERIFY(m_prompter->last().text.startsWith(QStringLiteral("Eine Adresse braucht einen Vornamen")));
        QCOMPARE(rowsOnFile(), 4);
        // Cancelled at the last name: nothing added.
        m_prompter->answerInput(QStringLiteral("Ida"));
        m_prompter->answerInput(std::nullopt);
        QVERIFY(!AddressStore::addAddress(nullptr, rs, binder, &list));
        QCOMPARE(m_prompter->last().text, QStringLiteral("Geben Sie den Nachnamen oder Firmennamen ein!"));
        QCOMPARE(rowsOnFile(), 4);
    }

    void groupList()
    {
        QVERIFY(writeAll(m_dir->filePath(QStringLiteral("ListeGruppe.txt")),
                         "\"Verein\",\"Kunden, alt\"\r\nFamilie\r\n\"Vereinsvorstand\"\r\n"));
        QCOMPARE(AddressStore::readGroups(m_dir->path()),
                 QStringList({"Verein", "Kunden, alt", "Familie", "Vereinsvorstand"}));
        QVERIFY(AddressStore::readGroups(m_dir->filePath(QStringLiteral("nirgends"))).isEmpty());
    }

    void deleteAddress()
    {
        RecordSource rs;
        QVERIFY(rs.open(m_path, Queries::nameOrder()));
        AddressListBox list;
        AddressStore::linkList(&list, &rs);
        AddressStore::fillList(&list, rs, Entry::Name);
        // The last of three: the new last is current, in the list too.
        list.setCurrentRow(2);
        m_prompter->answerMessage(QMessageBox::Ok);
        QVERIFY(AddressStore::deleteAddress(nullptr, rs, &list));
        QCOMPARE(entries(list), QStringList({"Ärger Anna", "Berg "}));
        QCOMPARE(rs.field(QStringLiteral("Nachname")), QStringLiteral("Berg"));
        QCOMPARE(list.currentRow(), 1);
        // The first of two: the one that followed it.
        list.setCurrentRow(0);
        m_prompter->answerMessage(QMessageBox::Ok);
        QVERIFY(AddressStore::deleteAddress(nullptr, rs, &list));
        QCOMPARE(rs.field(QStringLiteral("Nachname")), QStringLiteral("Berg"));

        // The last row stays.
        m_prompter->clear();
        m_prompter->answerMessage(QMessageBox::Ok);
        QVERIFY(!AddressStore::deleteAddress(nullptr, rs, &list));
        QCOMPARE(m_prompter->last().text, QStringLiteral("Dies ist der letzte Datensatz! \rLegen Sie zuerst eine neue "
                                                         "Adresse an!\rLöschen Sie anschließend diesen Datensatz."));
        QCOMPARE(rowsOnFile(), 1);
    }

    void switchDatabase()
    {
        const QString other = m_dir->filePath(QStringLiteral("andere.qxa"));
        QVERIFY(AddressFixture::makeWith(other, {QStringLiteral("Neu|Nina")}));
        AppState state;
        state.AddressDbPath = m_path;
        state.AddressFolder = m_dir->filePath(QStringLiteral("gibtsnicht/"));
        state.WorkFolder = m_dir->path() + QLatin1Char('/');
        RecordSource d1, d2, opt;
        QVERIFY(AddressStore::openSources(m_path, d1, &d2, &opt));
        AddressListBox list;
        m_prompter->answerOpenFile(other);
        QVERIFY(AddressStore::switchDatabase(nullptr, state, d1, &d2, &opt, &list));
        QCOMPARE(entries(list), QStringList{"Neu Nina"});
        QCOMPARE(opt.field(QStringLiteral("Freiytxt")), QStringLiteral("90"));

        // A missing file changes nothing.
        m_prompter->answerOpenFile(m_dir->filePath(QStringLiteral("weg.adr")));
        QVERIFY(!AddressStore::switchDatabase(nullptr, state, d1, &d2, &opt, &list));
        QCOMPARE(state.AddressDbPath, other);

        // Nor does a file that is no address database: told, and the one in use stays.
        const QString broken = m_dir->filePath(QStringLiteral("kaputt.adr"));
        QVERIFY(writeAll(broken, QByteArray(4096, 'x')));
        m_prompter->answerOpenFile(broken);
        QVERIFY(!AddressStore::switchDatabase(nullptr, state, d1, &d2, &opt, &list));
        QVERIFY(m_prompter->last().text.contains(QStringLiteral("Es bleibt bei der Adressen-Datenbank ") + other));
        QCOMPARE(state.AddressDbPath, other);
        QCOMPARE(entries(list), QStringList{"Neu Nina"});
        QCOMPARE(d1.field(QStringLiteral("Nachname")), QStringLiteral("Neu"));
        QCOMPARE(d2.databasePath(), other);
    }

    void groupsFromDatabase()
    {
        RecordSource rs;
        QVERIFY(rs.open(m_path, Queries::nameOrder()));
        QCOMPARE(AddressStore::databaseGroups(rs), QStringList({"Verein", "Vereinsvorstand"}));
    }
};

QTEST_MAIN(TestAddressStore)
#include "tst_addressstore.moc"
