// The mail-merge window without the frame: the choice and its rules, the checks before
// a run, the runs into documents handed out by a recording host, the clamped fields.
#include "../addresses/AddressFixture.h"
#include "TestCommon.h"
#include "TestHome.h"

#include "addresses/AddressListBox.h"
#include "addresses/RecordSource.h"
#include "addresses/frmAdressenImport.h"
#include "app/AppState.h"
#include "engine/surface/TextControl.h"
#include "output/ChosenEntries.h"
#include "output/frmSerienKontorix.h"

#include <QClipboard>
#include <QListWidget>
#include <memory>

namespace {

// Documents the window writes into, kept by the test.
struct RecordingHost {
    std::vector<std::unique_ptr<TextControl>> docs;
    QStringList templatesOpened;
    SerialHost host()
    {
        SerialHost h;
        h.newDocument = [this] {
            docs.push_back(std::make_unique<TextControl>());
            return SerialDocument{docs.back().get(), QStringLiteral("Unbenannt")};
        };
        h.openTemplate = [this](const QString& path) {
            templatesOpened << path;
            docs.push_back(std::make_unique<TextControl>());
            docs.back()->setText(QStringLiteral("VORLAGE"));
            return SerialDocument{docs.back().get(), QStringLiteral("Unbenannt")};
        };
        h.printSetup = [] { appState().PrintCancelled = true; };
        h.printFirstPage = [](const SerialDocument&) { return false; };
        return h;
    }
};

const QStringList People = {QStringLiteral("Zander|Zoe|Weg 1|Ulm|Verein|89073"),
                            QStringLiteral("Adler|Anna|Gasse 2|Bonn|Verein|53111"),
                            QStringLiteral("Meier|Max|Straße 3|Kiel|Firma|24103")};

} // namespace

class TestMailMerge : public QObject {
    Q_OBJECT
    std::unique_ptr<TestHome> m_home;
    ScriptedPrompter* m_prompts = nullptr;
    RecordingHost m_docs;

    std::unique_ptr<frmSerienKontorix> window(const QStringList& people = People)
    {
        const QString work = m_home->path() + QStringLiteral("QX-Kontorix/");
        QDir().mkpath(work);
        appState() = AppState{};
        appState().WorkFolder = work;
        appState().ProgramFolder = m_home->path() + QStringLiteral("programm/");
        appState().AddressDbPath = work + QStringLiteral("address50.adr");
        QFile::remove(appState().AddressDbPath);
        if (!AddressFixture::makeWith(appState().AddressDbPath, people))
            return nullptr;
        writeAll(work + QStringLiteral("ListeGruppe.txt"), "\"Verein\",\"Firma\"\r\n");
        return std::make_unique<frmSerienKontorix>(appState(), m_docs.host());
    }
    static void choose(frmSerienKontorix& w, int row)
    {
        w.controls().List1->setCurrentRow(row);
        w.Command8_Click();
    }
    QStringList lastNamesWritten() const
    {
        QStringList names;
        for (const auto& d : m_docs.docs)
            for (const QString& n : {QStringLiteral("Adler"), QStringLiteral("Meier"), QStringLiteral("Zander")})
                if (d->Text().contains(n))
                    names << n;
        return names;
    }

private Q_SLOTS:
    void init()
    {
        m_home = std::make_unique<TestHome>();
        m_prompts = installScriptedPrompter();
        m_docs = RecordingHost{};
        QGuiApplication::clipboard()->clear();
    }

    void chosenEntries_data()
    {
        // left: entries when choosing
        // picks: indices chosen; -1 takes all
        // removeRow: right-hand row removed afterwards, -1 none
        // leftNow: entries at the run
        addColumns<QStringList, QList<int>, int, QStringList, QList<int>, int>(
            "left", "picks", "removeRow", "leftNow", "letters", "chosenCount");
        const QStringList abc = {"A a", "B b", "C c"};
        QTest::newRow("twice gives one letter") << abc << QList<int>{1, 1} << -1 << abc << QList<int>{1} << 2;
        QTest::newRow("removing empties every slot of that text")
            << abc << QList<int>{1, 1, 2} << 0 << abc << QList<int>{2} << 2;
        QTest::newRow("all") << abc << QList<int>{-1} << -1 << abc << QList<int>{0, 1, 2} << 3;
        // A group shows other entries at the same indices: only matching slots count.
        QTest::newRow("group keeps matching slots")
            << abc << QList<int>{0, 1, 2} << -1 << QStringList{"A a", "C c"} << QList<int>{0} << 3;
        // Rows added after the window opened have no slot (3 slots for 2 rows at load).
        QTest::newRow("beyond the slots") << QStringList{"A a", "B b", "C c", "D d"} << QList<int>{3} << -1
                                          << QStringList{"A a", "B b", "C c", "D d"} << QList<int>{} << 1;
    }

    void chosenEntries()
    {
        QFETCH(QStringList, left);
        QFETCH(QList<int>, picks);
        QFETCH(int, removeRow);
        QFETCH(QStringList, leftNow);
        ChosenEntries c;
        c.resize(2);
        for (int i : picks)
            i < 0 ? c.takeAll(left) : c.add(i, left[i]);
        if (removeRow >= 0)
            QVERIFY(c.remove(removeRow, left));
        QTEST(int(c.chosen().size()), "chosenCount");
        QTEST(c.letters(leftNow), "letters");
    }

    void postalCodeSortEmptiesTheChoice()
    {
        auto w = window();
        QVERIFY(w);
        choose(*w, 0);
        choose(*w, 2);
        w->controls().chkSortPlz->click();
        QCOMPARE(w->controls().List2->count(), 0);
        QCOMPARE(w->controls().List1->text(0), QStringLiteral("24103\tMeier Max"));
        choose(*w, 1);
        QCOMPARE(w->controls().Text1[2]->text(), QStringLiteral("Adler"));
        QCOMPARE(w->choice().slot(1), QStringLiteral("53111\tAdler Anna"));
    }

    // Without an address or without common text neither button writes anything.
    void checksBeforeARun()
    {
        for (const bool print : {false, true}) {
            for (const bool choose : {false, true}) {
                auto w = window();
                QVERIFY(w);
                m_prompts->clear();
                m_docs.docs.clear();
                choose ? w->cmdUebern_Click() : w->controls().txtSerienbrief->setText(QStringLiteral("Text"));
                print ? w->Command5_Click() : w->Command1_Click();
                QCOMPARE(m_prompts->count(QStringLiteral("message")), 1);
                QVERIFY(m_prompts->last().text.startsWith(choose ? QStringLiteral("Es ist kein gemeinsamer Text vorhanden.\r")
                                                                 : QStringLiteral("Es sind keine Adressen ausgewählt.   Sie müssen")));
                QVERIFY(m_docs.docs.empty());
            }
        }
    }

    void openAsDocumentsInListOrder()
    {
        auto w = window();
        QVERIFY(w);
        choose(*w, 2);
        choose(*w, 0);
        choose(*w, 2);
        QGuiApplication::clipboard()->setText(QStringLiteral("Liebe Mitglieder"));
        w->controls().txtSerienbrief->setText(QStringLiteral("x"));
        w->Command1_Click();
        QCOMPARE(lastNamesWritten(), (QStringList{"Adler", "Zander"}));
        QVERIFY(m_docs.docs.back()->Text().contains(QStringLiteral("Liebe Mitglieder")));
    }

    // An import in the open window: the new addresses are in the list and what was
    // chosen still gets its letters, though the rows moved.
    void importKeepsTheChoice()
    {
        auto w = window();
        QVERIFY(w);
        choose(*w, 1);
        choose(*w, 2);
        const QString in = m_home->path() + QStringLiteral("chor.csv");
        QVERIFY(writeAll(in, "Vorname;Nachname;Gruppe\nBeate;Berg;Chor\nYvonne;Zeh;Chor\n"));
        m_prompts->answerOpenFile(in);
        m_prompts->answerExec([](QDialog* d) {
            auto* i = static_cast<frmAdressenImport*>(d);
            i->cmdOK_Click();
            return i->result();
        });
        w->controls().cmdImport->click();
        QCOMPARE(m_prompts->last().text, QStringLiteral("2 Adressen übernommen"));
        QCOMPARE(w->controls().List1->entries(),
                 (QStringList{"Adler Anna", "Berg Beate", "Meier Max", "Zander Zoe", "Zeh Yvonne"}));
        QCOMPARE(w->choice().chosen(), (QStringList{"Meier Max", "Zander Zoe"}));
        choose(*w, 4);
        w->controls().txtSerienbrief->setText(QStringLiteral("x"));
        w->Command1_Click();
        QCOMPARE(lastNamesWritten(), (QStringList{"Meier", "Zander"}));
        QCOMPARE(int(m_docs.docs.size()), 3);
        QVERIFY(m_docs.docs.back()->Text().contains(QStringLiteral("Zeh")));
    }

    void templateRun()
    {
        for (const bool templateThere : {true, false}) {
            init();
            auto w = window();
            QVERIFY(w);
            const QString tpl = appState().WorkFolder + QStringLiteral("Briefkopf.txm");
            if (templateThere)
                QVERIFY(writeAll(tpl, "x"));
            w->cmdUebern_Click();
            w->controls().txtSerienbrief->setText(QStringLiteral("x"));
            w->controls().chkEigeneVorl->setChecked(true);
            w->Command5_Click(); // either button
            QCOMPARE(m_docs.templatesOpened.size(), 3);
            QCOMPARE(m_docs.templatesOpened.first(),
                     templateThere ? tpl : appState().ProgramFolder + QStringLiteral("Briefkopf.txm"));
            QCOMPARE(lastNamesWritten(), (QStringList{"Adler", "Meier", "Zander"}));
            QVERIFY(m_docs.docs.back()->Text().startsWith(QStringLiteral("VORLAGE")));
            QCOMPARE(m_prompts->count(QStringLiteral("message")), templateThere ? 0 : 1);
            if (!templateThere)
                QCOMPARE(m_prompts->last().title, QStringLiteral("Fehler beim Öffnen"));
        }
    }

    void activationAndEditor()
    {
        auto w = window();
        QVERIFY(w);
        writeAll(appState().WorkFolder + QStringLiteral("FontText.txt"), "\"Times New Roman\",\"12\"\r\n");
        w->controls().Text6->clear();
        QGuiApplication::clipboard()->setText(QStringLiteral("Aus der Zwischenablage"));
        m_prompts->answerMessage(QMessageBox::Yes);
        w->Form_Activate();
        QCOMPARE(w->controls().txtFont2->text(), QStringLiteral("Times New Roman"));
        QCOMPARE(w->controls().Text6->text(), QStringLiteral("17"));
        QCOMPARE(m_prompts->count(QStringLiteral("message")), 2);
        QCOMPARE(w->controls().txtSerienbrief->Text(), QStringLiteral("Aus der Zwischenablage"));
        // Hiding copies the whole text to the clipboard.
        w->controls().txtSerienbrief->setText(QStringLiteral("Neuer Text"));
        QGuiApplication::clipboard()->clear();
        w->Command3_Click();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Neuer Text"));
    }
};

QTEST_MAIN(TestMailMerge)
#include "tst_mailmerge.moc"
