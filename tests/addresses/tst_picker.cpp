#include "TestFiles.h"
#include "AddressFixture.h"

#include "addresses/AddressListBox.h"
#include "addresses/AdressenAuswaehlen.h"
#include "addresses/Queries.h"
#include "addresses/RecordSource.h"
#include "app/AppState.h"
#include "app/ScriptedPrompter.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using W = AdressenAuswaehlen;

class TestPicker : public QObject {
    Q_OBJECT

    QTemporaryDir* m_dir = nullptr;
    ScriptedPrompter* m_prompter = nullptr;
    AppState m_state;

    template <class T>
    static T* child(QWidget& w, const QString& name)
    {
        T* c = w.findChild<T*>(name);
        if (!c)
            qFatal("no control %s", qPrintable(name));
        return c;
    }
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
        m_dir = new QTemporaryDir;
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
        QFile f(m_dir->filePath(QStringLiteral("ListeGruppe.txt")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("\"Verein\",\"Vereinsvorstand\"\r\n");
        f.close();
        m_prompter = installScriptedPrompter();
    }
    void cleanup()
    {
        W::setLabelRunner({});
        delete m_dir;
        m_dir = nullptr;
    }

    void loadsAndActivates()
    {
        auto w = open();
        QCOMPARE(w->windowTitle(), QStringLiteral("Etiketten - Drucken       Adressen Auswählen"));
        QCOMPARE(child<QPushButton>(*w, "cmdUebern")->text(),
                 QStringLiteral("24 Adressen in Liste Auswahl [rechts] übernehmen. \nBeginnend bei aktuell ausgewählter Adresse"));
        QCOMPARE(child<QPushButton>(*w, "cmdMerge")->text(), QStringLiteral("Akuelle Adresse für alle Felder übernehmen."));
        QCOMPARE(child<QPushButton>(*w, "Command2")->text(),
                 QStringLiteral("Akuelle Adresse für alle Felder übernehmen.\nMit Zusätzlichen Zeilen für 'Zu Händen' "));
        QCOMPARE(child<QPushButton>(*w, "cmdCancel")->text(), QStringLiteral("&Schließen"));
        auto* list = child<AddressListBox>(*w, "List3");
        QCOMPARE(list->count(), 31);
        QCOMPARE(list->text(0), QStringLiteral("Name01 Vor01"));
        QCOMPARE(list->text(30), QStringLiteral("Zett "));
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(child<QLabel>(*w, "lblNachname")->text(), QStringLiteral("Name01"));
        QCOMPARE(child<QLabel>(*w, "lblOrt")->text(), QStringLiteral("Ort01"));
        QCOMPARE(child<QComboBox>(*w, "cboGruppe")->currentText(), QStringLiteral("Gruppe auswählen"));
        QCOMPARE(child<QComboBox>(*w, "cboGruppe")->count(), 2);
        QVERIFY(!child<QPushButton>(*w, "Command1")->isEnabled());
        QVERIFY(child<QRadioButton>(*w, "optVorlage(0)")->isChecked());
        QCOMPARE(w->templateFile(), QStringLiteral("Etiketten_Vorlage_F10.ttx"));
        QCOMPARE(m_prompter->asked.size(), 0);

        list->setCurrentRow(4);
        QCOMPARE(child<QLabel>(*w, "lblVorname")->text(), QStringLiteral("Vor05"));
    }

    void homeCountry_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("code");
        QTest::newRow("Germany") << "de_DE" << 49;
        QTest::newRow("Switzerland") << "de_CH" << 41;
        QTest::newRow("Swiss French") << "fr_CH" << 41;
        QTest::newRow("Austria") << "de_AT" << 43;
        QTest::newRow("unknown") << "C" << 0;
    }
    void homeCountry()
    {
        QFETCH(QString, locale);
        QTEST(W::diallingCodeOf(QLocale(locale)), "code");
    }

    void search()
    {
        auto w = open();
        auto* find = child<QLineEdit>(*w, "txtFind");
        auto* list = child<AddressListBox>(*w, "List3");
        auto* all = child<QPushButton>(*w, "Command4");
        w->cmdFind_Click();
        QCOMPARE(m_prompter->last().text,
                 QStringLiteral("Sie müssen im Textfeld 'Suchen nach Adresse' (links) erst ein Suchwort einbgeben!"));
        QCOMPARE(list->count(), 31);

        find->setText(QStringLiteral("bonn"));
        QTest::keyClick(find, Qt::Key_Return); // Enter presses the search button
        QCOMPARE(entries(list), QStringList{"Zett "});
        QCOMPARE(all->palette().color(QPalette::Button), W::LightGreen);

        find->setText(QStringLiteral("nirgendwo"));
        w->cmdFind_Click();
        QCOMPARE(m_prompter->last().text,
                 QStringLiteral("Unter dem eingegebenen Suchwort   (nirgendwo)  wurden keine Daten gefunden."));
        QCOMPARE(entries(list), QStringList{"Zett "}); // kept
        QCOMPARE(w->data1().recordSource(), Queries::lastNameOrder());

        QTest::mouseClick(all, Qt::LeftButton);
        QCOMPARE(list->count(), 31);
        QCOMPARE(w->data1().recordSource(), Queries::nameOrder());
        QCOMPARE(all->palette().color(QPalette::Button), face());
    }

    void groupsAreNumbered()
    {
        auto w = open();
        auto* box = child<QComboBox>(*w, "cboGruppe");
        box->setCurrentIndex(0);
        w->cboGruppe_Click(0); // "Verein" also takes "Vereinsvorstand"
        auto* list = child<AddressListBox>(*w, "List3");
        QCOMPARE(list->count(), 20);
        QCOMPARE(list->text(0), QStringLiteral("1  Name01 Vor01"));
        QCOMPARE(list->text(1), QStringLiteral("2  Name03 Vor03"));
        QCOMPARE(list->text(19), QStringLiteral("20  Name30 Vor30"));
        QCOMPARE(list->currentRow(), 0);
        w->cboGruppe_Click(1);
        QCOMPARE(list->count(), 10);
    }

    void addAndRemove()
    {
        auto w = open();
        auto* chosen = child<QListWidget>(*w, "List1");
        auto* positions = child<QListWidget>(*w, "List2");
        QVERIFY(!positions->isVisible());
        child<AddressListBox>(*w, "List3")->setCurrentRow(2);
        w->cmdInsert_Click();
        w->cmdInsert_Click(); // the same address twice
        auto* list3 = child<AddressListBox>(*w, "List3");
        list3->setCurrentRow(6);
        emit list3->entryDoubleClicked(6);
        QCOMPARE(entries(chosen), QStringList({"Vor03 Name03", "Vor03 Name03", "Vor07 Name07"}));
        QCOMPARE(entries(positions), QStringList({"2", "2", "6"}));
        auto* run = child<QPushButton>(*w, "Command1");
        QVERIFY(run->isEnabled());
        QCOMPARE(run->palette().color(QPalette::Button), W::LightGreen);

        chosen->clearSelection();
        chosen->setCurrentRow(-1);
        w->cmdLoeschen_Click();
        QCOMPARE(m_prompter->last().text, QStringLiteral("Es ist kein Eintrag ausgewält."));
        QCOMPARE(chosen->count(), 3);

        chosen->setCurrentRow(1);
        QCOMPARE(w->data1().absolutePosition(), 2); // clicking a chosen entry shows it
        chosen->setCurrentRow(2);
        QCOMPARE(w->data1().absolutePosition(), 6);
        w->cmdLoeschen_Click();
        QCOMPARE(entries(chosen), QStringList({"Vor03 Name03", "Vor03 Name03"}));
        QCOMPARE(entries(positions), QStringList({"2", "2"}));
    }

    void takeTwentyFour_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<bool>("fromList");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("firstEntry");
        QTest::newRow("from the first") << 0 << false << 24 << "Vor01 Name01";
        QTest::newRow("five before the end") << 26 << false << 5 << "Vor27 Name27";
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
        auto* positions = child<QListWidget>(*w, "List2");
        QCOMPARE(positions->count(), count);
        QCOMPARE(positions->item(count - 1)->text(), QString::number(from + count - 1));
        QVERIFY(child<QPushButton>(*w, "Command1")->isEnabled());
    }

    void sheetMap()
    {
        auto w = open();
        for (int i = 0; i < 8; ++i) {
            child<AddressListBox>(*w, "List3")->setCurrentRow(i);
            w->cmdInsert_Click();
        }
        QTest::mouseClick(child<QLabel>(*w, "lblPos(19)"), Qt::LeftButton);
        QCOMPARE(child<QLabel>(*w, "lblPosition")->text(), QStringLiteral("20"));
        QCOMPARE(w->startPosition(), 20);
        for (int k = 0; k < 24; ++k) {
            const QColor c = child<QLabel>(*w, QStringLiteral("lblPos(%1)").arg(k))->palette().color(QPalette::Window);
            QCOMPARE(c, k >= 19 ? W::LightGreen : face());
        }
        w->lblPos_Click(0);
        for (int k = 0; k < 24; ++k) {
            const QColor c = child<QLabel>(*w, QStringLiteral("lblPos(%1)").arg(k))->palette().color(QPalette::Window);
            QCOMPARE(c, k < 8 ? W::LightGreen : face());
        }
    }

    void storedPositionsOutliveASearch()
    {
        auto w = open();
        child<AddressListBox>(*w, "List3")->setCurrentRow(29);
        w->cmdInsert_Click();
        child<QLineEdit>(*w, "txtFind")->setText(QStringLiteral("Name"));
        w->cmdFind_Click();
        QCOMPARE(child<QListWidget>(*w, "List1")->item(0)->text(), QStringLiteral("Vor30 Name30"));
        QCOMPARE(child<QListWidget>(*w, "List2")->item(0)->text(), QStringLiteral("29"));
    }

    void labelButtonsCallTheRunner()
    {
        QList<W::LabelRun> runs;
        W::setLabelRunner([&](W&, W::LabelRun r) { runs << r; });
        auto w = open();
        w->cmdInsert_Click();
        child<QCheckBox>(*w, "chkAnrede")->setChecked(true);
        child<QRadioButton>(*w, "optVorlage(3)")->setChecked(true);
        QTest::mouseClick(child<QPushButton>(*w, "cmdMerge"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(*w, "Command1"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(*w, "Command2"), Qt::LeftButton);
        QCOMPARE(runs, (QList<W::LabelRun>{W::LabelRun::CurrentOnTemplate, W::LabelRun::ChosenOnTemplate,
                                           W::LabelRun::CurrentAsTable}));
        QVERIFY(w->withoutTitle());
        QCOMPARE(w->templateFile(), QStringLiteral("Etiketten_Vorlage_F14.ttx"));
    }

    void modalOnlyThroughThePrompter()
    {
        m_prompter->answerExec([](QDialog* d) {
            auto* w = qobject_cast<W*>(d);
            return w && w->data1().recordCount() == 31 ? QDialog::Accepted : QDialog::Rejected;
        });
        QCOMPARE(W::pickForTemplate(m_state, nullptr), int(QDialog::Accepted));
        QCOMPARE(m_prompter->last().kind, QStringLiteral("exec"));
        QCOMPARE(m_prompter->last().text, QStringLiteral("AdressenAuswaehlen"));
    }

    void brokenDatabaseIsReported()
    {
        QFile f(m_state.AddressDbPath);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray(2048, '#'));
        f.close();
        auto w = open();
        QCOMPARE(child<AddressListBox>(*w, "List3")->count(), 0);
        QCOMPARE(m_prompter->count(QStringLiteral("message")), 1);
        QVERIFY(m_prompter->last().text.contains(QStringLiteral("keine Adressen-Datenbank")));
        w->cmdUebern_Click();
        w->cmdInsert_Click();
        QCOMPARE(child<QListWidget>(*w, "List1")->count(), 0);
    }

    void lockedAtOpeningThenShowAll()
    {
        AddressFixture::Lock other(m_state.AddressDbPath, "BEGIN EXCLUSIVE");
        auto w = open();
        auto* list = child<AddressListBox>(*w, "List3");
        QCOMPARE(list->count(), 0);
        QCOMPARE(m_prompter->count(QStringLiteral("message")), 1);
        QVERIFY(m_prompter->last().text.contains(QStringLiteral("gesperrt")));
        other.release();
        w->Command4_Click();
        QCOMPARE(m_prompter->count(QStringLiteral("message")), 1);
        QCOMPARE(list->count(), 31);
        QCOMPARE(child<QLabel>(*w, "lblStrasse")->text(), QStringLiteral("Weg 01"));
    }
};

QTEST_MAIN(TestPicker)
#include "tst_picker.moc"
