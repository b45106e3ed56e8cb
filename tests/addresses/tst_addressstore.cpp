#include "TestFiles.h"
#include "AddressFixture.h"

#include "addresses/AddressListBox.h"
#include "addresses/AddressStore.h"
#include "addresses/FieldBinder.h"
#include "addresses/Queries.h"
#include "addresses/RecordSource.h"
#include "app/AppState.h"
#include "app/ScriptedPrompter.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using AddressStore::Entry;

class TestAddressStore : public QObject {
    Q_OBJECT

    QTemporaryDir* m_dir = nullptr;
    QString m_path;
    ScriptedPrompter* m_prompter = nullptr;

    static QStringList entries(const AddressListBox& l) { return l.entries(); }

private slots:
    void init()
    {
        m_dir = new QTemporaryDir;
        m_path = m_dir->filePath(QStringLiteral("address50.adr"));
        QVERIFY(AddressFixture::makeWith(
            m_path, {QStringLiteral("Zorn|Udo|Weg 1|Bonn|Verein|50000"), QStringLiteral("Berg||Hof 2|Köln|Vereinsvorstand|10000"),
                     QStringLiteral("Ärger|Anna|Ring 3|Ulm||30000")}));
        m_prompter = installScriptedPrompter();
    }
    void cleanup()
    {
        delete m_dir;
        m_dir = nullptr;
    }

    void entryTexts_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("name") << int(Entry::Name) << QStringList{"Ärger Anna", "Berg ", "Zorn Udo"};
        QTest::newRow("postcode") << int(Entry::PostCode)
                                  << QStringList{"30000\tÄrger Anna", "10000\tBerg ", "50000\tZorn Udo"};
        QTest::newRow("numbered") << int(Entry::Numbered) << QStringList{"1  Ärger Anna", "2  Berg ", "3  Zorn Udo"};
    }
    void entryTexts()
    {
        QFETCH(int, style);
        RecordSource rs;
        QVERIFY(rs.open(m_path, Queries::nameOrder()));
        rs.moveLast();
        AddressListBox list;
        AddressStore::fillList(&list, rs, Entry(style));
        QTEST(entries(list), "expected");
        QCOMPARE(list.currentRow(), 0);
        QCOMPARE(rs.absolutePosition(), 0);
    }

    void listAndPositionMoveTogether()
    {
        RecordSource rs;
        QVERIFY(rs.open(m_path, Queries::nameOrder()));
        AddressListBox list;
        AddressStore::linkList(&list, &rs);
        AddressStore::fillList(&list, rs, Entry::Name);
        list.setCurrentRow(2);
        QCOMPARE(rs.absolutePosition(), 2);
        rs.setAbsolutePosition(1);
        QCOMPARE(list.currentRow(), 1);
    }

    void searchFallback()
    {
        RecordSource rs;
        QVERIFY(rs.open(m_path, Queries::nameOrder()));
        AddressListBox list;
        AddressStore::fillList(&list, rs, Entry::Name);
        const QStringList before = entries(list);
        QVERIFY(!AddressStore::searchWithFallback(nullptr, rs, &list, Queries::search(QStringLiteral("xyz")),
                                                  QStringLiteral("xyz")));
        QCOMPARE(m_prompter->asked.size(), 1);
        QCOMPARE(m_prompter->last().title, QString());
        QCOMPARE(m_prompter->last().icon, Prompter::Icon::None);
        QCOMPARE(m_prompter->last().text,
                 QStringLiteral("Unter dem eingegebenen Suchwort   (xyz)  wurden keine Daten gefunden."));
        QCOMPARE(rs.recordSource(), Queries::lastNameOrder());
        QCOMPARE(rs.recordCount(), 3);
        QCOMPARE(entries(list), before); // the list is kept

        QVERIFY(AddressStore::searchWithFallback(nullptr, rs, &list, Queries::search(QStringLiteral("KÖLN")),
                                                 QStringLiteral("KÖLN")));
        QCOMPARE(entries(list), QStringList{"Berg "});
        QCOMPARE(m_prompter->asked.size(), 1);
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
        QCOMPARE(rs.recordSource(), Queries::nameOrder());
        QCOMPARE(entries(list), before);
        QCOMPARE(rs.absolutePosition(), 1);
        QCOMPARE(list.currentRow(), 1);
        QCOMPARE(rs.field(QStringLiteral("Nachname")), QStringLiteral("Berg"));
    }

    // A lock that keeps readers out fails the re-run, one that keeps writers out the
    // insert: either way no row is left and the names wait in the fields.
    void addUnderLock_data()
    {
        QTest::addColumn<QByteArray>("lock");
        QTest::newRow("readers locked out") << QByteArray("BEGIN EXCLUSIVE");
        QTest::newRow("writers locked out") << QByteArray("BEGIN IMMEDIATE");
    }
    void addUnderLock()
    {
        QFETCH(QByteArray, lock);
        RecordSource rs;
        QVERIFY(rs.open(m_path, Queries::nameOrder()));
        FieldBinder binder(&rs);
        QLineEdit first, last, street;
        binder.bind(&first, QStringLiteral("Vorname"));
        binder.bind(&last, QStringLiteral("Nachname"));
        binder.bind(&street, QStringLiteral("Adresse"));
        AddressListBox list;
        AddressStore::linkList(&list, &rs);
        AddressStore::fillList(&list, rs, Entry::Name);
        QSignalSpy errors(&rs, &RecordSource::dataError);

        AddressFixture::Lock other(m_path, lock.constData());
        QVERIFY(other.held);
        m_prompter->answerInput(QStringLiteral("Ida"));
        m_prompter->answerInput(QStringLiteral("Adler"));
        QVERIFY(!AddressStore::addAddress(nullptr, rs, binder, &list));
        other.release();
        QCOMPARE(AddressFixture::rowCount(m_path, "Addressen"), 3);
        QCOMPARE(m_prompter->asked.size(), 3);
        QVERIFY(m_prompter->last().text.startsWith(QStringLiteral("Die neue Adresse wurde nicht angelegt. ")));
        QVERIFY(m_prompter->last().text.contains(QStringLiteral("gesperrt")));
        QCOMPARE(errors.size(), 0); // the one message above
        QCOMPARE(first.text(), QStringLiteral("Ida"));
        QCOMPARE(last.text(), QStringLiteral("Adler"));
        QCOMPARE(street.text(), QString());
        QCOMPARE(rs.absolutePosition(), -1); // nothing to save them over
        QVERIFY(!binder.save());

        // The next add offers them again and, the lock gone, adds the address.
        m_prompter->clear();
        m_prompter->answerInput(QStringLiteral("Ida"));
        m_prompter->answerInput(QStringLiteral("Adler"));
        QVERIFY(AddressStore::addAddress(nullptr, rs, binder, &list));
        QCOMPARE(m_prompter->asked[0].defaultText, QStringLiteral("Ida"));
        QCOMPARE(m_prompter->asked[1].defaultText, QStringLiteral("Adler"));
        QCOMPARE(AddressFixture::rowCount(m_path, "Addressen"), 4);
        QCOMPARE(list.text(list.currentRow()), QStringLiteral("Adler Ida"));
    }

    void groupList()
    {
        QFile f(m_dir->filePath(QStringLiteral("ListeGruppe.txt")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("\"Verein\",\"Kunden, alt\"\r\nFamilie\r\n\"Vereinsvorstand\"\r\n");
        f.close();
        QCOMPARE(AddressStore::readGroups(m_dir->path()),
                 QStringList({"Verein", "Kunden, alt", "Familie", "Vereinsvorstand"}));
        QComboBox box;
        box.addItem(QStringLiteral("alt"));
        AddressStore::fillGroups(&box, m_dir->path());
        QCOMPARE(box.count(), 4);
        QCOMPARE(box.currentText(), QStringLiteral("Gruppe auswählen"));
        QVERIFY(AddressStore::readGroups(m_dir->filePath(QStringLiteral("nirgends"))).isEmpty());
    }

    void addAddress()
    {
        RecordSource rs;
        QVERIFY(rs.open(m_path, Queries::nameOrder()));
        FieldBinder binder(&rs);
        QLineEdit first, last;
        binder.bind(&first, QStringLiteral("Vorname"));
        binder.bind(&last, QStringLiteral("Nachname"));
        AddressListBox list;
        AddressStore::fillList(&list, rs, Entry::Name);
        m_prompter->answerInput(QStringLiteral("Ida"));
        m_prompter->answerInput(QStringLiteral("Adler"));
        QVERIFY(AddressStore::addAddress(nullptr, rs, binder, &list));
        QCOMPARE(m_prompter->asked.size(), 2);
        QCOMPARE(m_prompter->asked[0].title, QStringLiteral("Neue Adresse anlegen"));
        QCOMPARE(m_prompter->asked[0].text, QStringLiteral("Geben Sie den Vornamen oder Firmennamen ein!"));
        QCOMPARE(m_prompter->asked[1].text, QStringLiteral("Geben Sie den Nachnamen oder Firmennamen ein!"));
        QCOMPARE(rs.recordSource(), Queries::lastNameOrder());
        QCOMPARE(list.count(), 4);
        QCOMPARE(list.text(list.currentRow()), QStringLiteral("Adler Ida"));
        QCOMPARE(rs.field(QStringLiteral("Nachname")), QStringLiteral("Adler"));
        RecordSource again;
        QVERIFY(again.open(m_path, Queries::nameOrder()));
        QCOMPARE(again.field(QStringLiteral("Nachname")), QStringLiteral("Adler"));

        m_prompter->answerInput(std::nullopt);
        QVERIFY(!AddressStore::addAddress(nullptr, rs, binder, &list));
        again.refresh();
        QCOMPARE(again.recordCount(), 4);
    }

    void deleteAddress()
    {
        RecordSource rs;
        QVERIFY(rs.open(m_path, Queries::nameOrder()));
        AddressListBox list;
        AddressStore::linkList(&list, &rs);
        AddressStore::fillList(&list, rs, Entry::Name);
        list.setCurrentRow(1);
        m_prompter->answerMessage(QMessageBox::Ok);
        QVERIFY(AddressStore::deleteAddress(nullptr, rs, &list));
        QCOMPARE(m_prompter->last().title, QStringLiteral(" Achtung !!!"));
        QCOMPARE(m_prompter->last().text, QStringLiteral("Der aktuelle Datensatz wird gelöscht !!!"));
        QCOMPARE(entries(list), QStringList({"Ärger Anna", "Zorn Udo"}));
        QCOMPARE(rs.field(QStringLiteral("Nachname")), QStringLiteral("Zorn"));
        QCOMPARE(list.currentRow(), 1);

        m_prompter->answerMessage(QMessageBox::Ok);
        QVERIFY(AddressStore::deleteAddress(nullptr, rs, &list));
        QCOMPARE(entries(list), QStringList({"Ärger Anna"}));
        QCOMPARE(rs.absolutePosition(), 0);

        // The last row stays.
        m_prompter->clear();
        m_prompter->answerMessage(QMessageBox::Ok);
        QVERIFY(!AddressStore::deleteAddress(nullptr, rs, &list));
        QCOMPARE(m_prompter->asked.size(), 2);
        QCOMPARE(m_prompter->last().text, QStringLiteral("Dies ist der letzte Datensatz! \rLegen Sie zuerst eine neue "
                                                         "Adresse an!\rLöschen Sie anschließend diesen Datensatz."));
        RecordSource again;
        QVERIFY(again.open(m_path, Queries::nameOrder()));
        QCOMPARE(again.recordCount(), 1);
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
        QCOMPARE(m_prompter->last().title, QStringLiteral("Adressendatenbank öffnen"));
        QCOMPARE(m_prompter->last().text, QStringLiteral("*.qxa; *.adr (Adressendatenbank)|*.qxa; *.adr|"));
        QCOMPARE(m_prompter->last().folder, state.WorkFolder);
        QCOMPARE(state.AddressDbPath, other);
        QCOMPARE(entries(list), QStringList{"Neu Nina"});
        QCOMPARE(d1.recordSource(), Queries::nameOrder());
        QCOMPARE(d2.databasePath(), other);
        QCOMPARE(opt.field(QStringLiteral("Freiytxt")), QStringLiteral("90"));

        // A missing file changes nothing.
        m_prompter->answerOpenFile(m_dir->filePath(QStringLiteral("weg.adr")));
        QVERIFY(!AddressStore::switchDatabase(nullptr, state, d1, &d2, &opt, &list));
        QCOMPARE(state.AddressDbPath, other);
    }
};

QTEST_MAIN(TestAddressStore)
#include "tst_addressstore.moc"
