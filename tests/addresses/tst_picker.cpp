#include "TestCommon.h"
#include "AddressFixture.h"

#include "addresses/AddressListBox.h"
#include "addresses/AdressenAuswaehlen.h"
#include "addresses/Queries.h"
#include "addresses/RecordSource.h"
#include "app/AppState.h"

#include <QListWidget>

using W = AdressenAuswaehlen;

class TestPicker : public QObject {
    Q_OBJECT

    std::optional<QTemporaryDir> m_dir;
    ScriptedPrompter* m_prompter = nullptr;
    AppState m_state;

    template <class T>
    static T* child(QWidget& w, const QString& name) { return w.findChild<T*>(name); }
    static QStringList entries(const AddressListBox* l) { return l->entries(); }
    static QStringList entries(const QListWidget* l)
    {
        QStringList s;
        for (int i = 0; i < l->count(); ++i)
            s << l->item(i)->text();
        return s;
    }
    static QColor face() { return QApplication::palette().color(QPalette::Button); }
    std::unique_ptr<W> open()
    {
        auto w = std::make_unique<W>(m_state);
        w->show();
        return w;
    }

private slots:
    void init()
    {
        m_dir.emplace();
        m_state = AppState{};
        m_state.WorkFolder = m_dir->path() + QLatin1Char('/');
        m_state.AddressDbPath = m_dir->filePath(QStringLiteral("address50.adr"));
        // 30 addresses "Name01".."Name30" in name order; two groups.
        QStringList people;
        for (int i = 1; i <= 30; ++i)
            people << QStringLiteral("Name%1|Vor%1|Weg %1|Ort%1|%2|%3")
                          .arg(i, 2, 10, QLatin1Char('0'))
                          .arg(i % 3 == 0 ? QStringLiteral("Vereinsvorstand") : i % 3 == 1 ? QStringLiteral("Verein") : QString())
                          .arg(10000 + i);
        people << QStringLiteral("Zett||Platz 1|Bonn||99999");
        QVERIFY(AddressFixture::makeWith(m_state.AddressDbPath, people));
        QVERIFY(writeAll(m_dir->filePath(QStringLiteral("ListeGruppe.txt")), "\"Verein\",\"Vereinsvorstand\"\r\n"));
        m_prompter = installScriptedPrompter();
    }
    void cleanup() { m_dir.reset(); }

    void search()
    {
        auto w = open();
        auto* find = child<QLineEdit>(*w, "txtFind");
        auto* list = child<AddressListBox>(*w, "List3");
        auto* all = child<QPushButton>(*w, "Command4");
        list->setCurrentRow(29);
        w->cmdInsert_Click(); // a chosen entry keeps its position through searches
        w->cmdFind_Click();
        QCOMPARE(m_prompter->last().text,
                 QStringLiteral("Sie müssen im Textfeld 'Suchen nach Adresse' (links) erst ein Suchwort eingeben!"));

        find->setText(QStringLiteral("bonn"));
        QTest::keyClick(find, Qt::Key_Return); // Enter presses the search button
        QCOMPARE(entries(list), QStringList{"Zett "});

        find->setText(QStringLiteral("nirgendwo"));
        w->cmdFind_Click();
        QCOMPARE(m_prompter->last().text,
                 QStringLiteral("Unter dem eingegebenen Suchwort   (nirgendwo)  wurden keine Daten gefunden."));
        QCOMPARE(entries(list), QStringList{"Zett "}); // kept, and with it the address shown
        QCOMPARE(child<QLabel>(*w, "lblStrasse")->text(), QStringLiteral("Platz 1"));
        w->cmdInsert_Click();
        QCOMPARE(child<QListWidget>(*w, "List1")->item(1)->text(), QStringLiteral(" Zett"));
        // The address chosen before the search is still that address.
        child<QListWidget>(*w, "List1")->setCurrentRow(0);
        QCOMPARE(child<QLabel>(*w, "lblNachname")->text(), QStringLiteral("Name30"));
        auto* group = child<QComboBox>(*w, "cboGruppe");
        group->setCurrentIndex(0);
        w->cboGruppe_Click(0);
        QTest::mouseClick(all, Qt::LeftButton);
        QCOMPARE(list->count(), 31);
        QCOMPARE(all->palette().color(QPalette::Button), face());
        QCOMPARE(group->currentText(), QStringLiteral("Gruppe auswählen"));
        QCOMPARE(child<QListWidget>(*w, "List2")->item(0)->text(), QStringLiteral("29"));
    }

    // Without the group list file the groups are those the addresses carry.
    void groupsFromDatabase()
    {
        QVERIFY(QFile::remove(m_dir->filePath(QStringLiteral("ListeGruppe.txt"))));
        auto w = open();
        auto* group = child<QComboBox>(*w, "cboGruppe");
        QCOMPARE(group->count(), 2);
        QCOMPARE(group->itemText(0), QStringLiteral("Verein"));
        QCOMPARE(group->itemText(1), QStringLiteral("Vereinsvorstand"));
        QCOMPARE(group->currentText(), QStringLiteral("Gruppe auswählen"));
    }

    // Another window's change shows when the picker becomes active again.
    void followsOtherWindow()
    {
        auto w = open();
        auto* list = child<AddressListBox>(*w, "List3");
        list->setCurrentRow(30);
        RecordSource other;
        QVERIFY(other.open(m_state.AddressDbPath, Queries::nameOrder()));
        other.moveFirst();
        QVERIFY(other.saveRow({{QStringLiteral("Nachname"), QStringLiteral("Aaron")}}));
        QWidget elsewhere; // another window first, so that coming back is an activation
        elsewhere.show();
        elsewhere.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QCOMPARE(list->text(0), QStringLiteral("Aaron Vor01"));
        QCOMPARE(list->text(list->currentRow()), QStringLiteral("Zett "));
        QCOMPARE(child<QLabel>(*w, "lblNachname")->text(), QStringLiteral("Zett"));
    }

    void groupsAreNumbered()
    {
        auto w = open();
        child<QComboBox>(*w, "cboGruppe")->setCurrentIndex(0);
        w->cboGruppe_Click(0); // "Verein" also takes "Vereinsvorstand"
        auto* list = child<AddressListBox>(*w, "List3");
        QCOMPARE(list->count(), 20);
        QCOMPARE(list->text(19), QStringLiteral("20  Name30 Vor30"));
        w->cboGruppe_Click(1);
        QCOMPARE(list->count(), 10);
    }

    void addAndRemove()
    {
        auto w = open();
        auto* chosen = child<QListWidget>(*w, "List1");
        auto* positions = child<QListWidget>(*w, "List2");
        auto* list3 = child<AddressListBox>(*w, "List3");
        list3->setCurrentRow(2);
        w->cmdInsert_Click();
        w->cmdInsert_Click(); // the same address twice
        list3->setCurrentRow(6);
        emit list3->entryDoubleClicked(6);
        QCOMPARE(entries(chosen), QStringList({"Vor03 Name03", "Vor03 Name03", "Vor07 Name07"}));
        QCOMPARE(entries(positions), QStringList({"2", "2", "6"}));

        chosen->clearSelection();
        chosen->setCurrentRow(-1);
        w->cmdLoeschen_Click();
        QCOMPARE(m_prompter->last().text, QStringLiteral("Es ist kein Eintrag ausgewählt."));
        chosen->setCurrentRow(2);
        w->cmdLoeschen_Click();
        QCOMPARE(entries(chosen), QStringList({"Vor03 Name03", "Vor03 Name03"}));
        QCOMPARE(entries(positions), QStringList({"2", "2"}));
    }

    void takeTwentyFour_data()
    {
        addColumns<int, bool, int, QString>("from", "fromList", "count", "firstEntry");
        QTest::newRow("from the first") << 0 << false << 24 << "Vor01 Name01";
        QTest::newRow("last row") << 30 << false << 1 << " Zett";
        QTest::newRow("from the list selection") << 10 << true << 21 << "Vor11 Name11";
    }
    void takeTwentyFour()
    {
        QFETCH(int, from);
        QFETCH(bool, fromList);
        QFETCH(int, count);
        auto w = open();
        w->cmdInsert_Click(); // emptied first
        child<AddressListBox>(*w, "List3")->setCurrentRow(from);
        if (fromList)
            w->Command3_Click();
        else
            w->cmdUebern_Click();
        auto* chosen = child<QListWidget>(*w, "List1");
        QCOMPARE(chosen->count(), count);
        QTEST(chosen->item(0)->text(), "firstEntry");
        QCOMPARE(child<QListWidget>(*w, "List2")->item(count - 1)->text(), QString::number(from + count - 1));
    }

    // Locked at opening: nothing can be chosen until "show all" after the lock is gone.
    void lockedDatabase()
    {
        AddressFixture::Lock other(m_state.AddressDbPath, "BEGIN EXCLUSIVE");
        auto w = open();
        QCOMPARE(m_prompter->count(QStringLiteral("message")), 1);
        QVERIFY(m_prompter->last().text.contains(QStringLiteral("gesperrt")));
        w->cmdUebern_Click();
        w->cmdInsert_Click();
        QCOMPARE(child<QListWidget>(*w, "List1")->count(), 0);
        other.release();
        w->Command4_Click();
        QCOMPARE(m_prompter->count(QStringLiteral("message")), 1);
        QCOMPARE(child<QLabel>(*w, "lblStrasse")->text(), QStringLiteral("Weg 01"));
    }
};

QTEST_MAIN(TestPicker)
#include "tst_picker.moc"
