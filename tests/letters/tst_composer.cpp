#include "TestCommon.h"
#include "../addresses/AddressFixture.h"

#include "addresses/AddressListBox.h"
#include "addresses/Queries.h"
#include "addresses/RecordSource.h"
#include "app/AppState.h"
#include "addresses/frmAdressenExport.h"
#include "addresses/frmAdressenImport.h"
#include "letters/frmBrief.h"
#include "textblocks/TextBlockFile.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QToolButton>

class TestComposer : public QObject {
    Q_OBJECT

    QTemporaryDir* m_dir = nullptr;
    ScriptedPrompter* m_prompter = nullptr;
    AppState m_state;
    // The LetterData of the one prepared letter, built once for the slot table.
    static inline std::optional<AppState> m_built;

    std::unique_ptr<frmBrief> open()
    {
        auto w = std::make_unique<frmBrief>(m_state);
        w->show();
        return w;
    }
    static void goTo(frmBrief& w, const QString& lastName)
    {
        QVERIFY(w.data1().findFirst(QStringLiteral("Nachname = '%1'").arg(lastName)));
    }
    static void leave(QWidget* field)
    {
        QFocusEvent out(QEvent::FocusOut);
        QCoreApplication::sendEvent(field, &out);
    }
    // What the address file holds in `column` for the address named `lastName`.
    QString stored(const QString& column, const QString& lastName) const
    {
        RecordSource s;
        s.open(m_state.AddressDbPath, Queries::nameOrder());
        s.findFirst(QStringLiteral("Nachname = '%1'").arg(lastName));
        return s.field(column);
    }

    const AppState& built()
    {
        if (m_built)
            return *m_built;
        TextBlock b;
        b.Text = QStringLiteral("anbei unser Angebot.");
        b.FontName = QStringLiteral("Times New Roman");
        b.FontSize = 12;
        b.Bold = true;
        b.Colour = 255;
        b.Name = QStringLiteral("Angebot");
        TextBlockFile::write(m_state.WorkFolder, 2, b);
        writeAll(m_state.WorkFolder + QStringLiteral("FontText.txt"), "\"Courier New\",\"11\"\r\n");
        auto w = open();
        const BriefWidgets& c = w->controls();
        goTo(*w, QStringLiteral("Holzmann GmbH"));
        c.Text2->setText(QStringLiteral("AZ-1"));
        c.Text3->setText(QStringLiteral("IZ-2"));
        c.Text4->setText(QStringLiteral("Angebot"));
        c.Text5->setText(QStringLiteral("Ihr Schreiben"));
        c.chkMitglNr->setChecked(true);
        c.txtMitglNr->setText(QStringLiteral("M-77"));
        QTest::keyClicks(c.txtAnlage, QStringLiteral("Preisliste")); // ticks chkAnlage
        c.Combo3->setCurrentIndex(3);
        c.chkAbs->setChecked(true);
        c.Option1[2]->click();
        c.Command1->click();
        m_built = m_state;
        return *m_built;
    }

private slots:
    void init()
    {
        m_dir = new QTemporaryDir;
        m_state = AppState{};
        m_state.WorkFolder = m_dir->path() + QLatin1Char('/');
        m_state.ProgramFolder = m_state.WorkFolder + QStringLiteral("prog/");
        m_state.AddressDbPath = m_dir->filePath(QStringLiteral("address50.adr"));
        QVERIFY(AddressFixture::makeStarter(m_state.AddressDbPath));
        m_prompter = installScriptedPrompter();
    }
    void cleanup()
    {
        delete m_dir;
    }

    void buildFillsEverySlot_data()
    {
        addColumns<bool, int, QString>("flag", "slot", "expected");
        const QString t[][2] = {
            {"1", "17"}, {"2", "Arial"}, {"3", "11"}, {"4", "0"}, {"5", ""}, {"6", "0761 123456"}, {"7", ""},
            {"8", "maria.muster@example.de"}, {"9", ""}, {"10", "Maria Muster · Lindenweg 12 · 79098 Freiburg"},
            {"11", "11"}, {"12", "Firma"}, {"13", "Schreinerei"}, {"14", "Holzmann GmbH"}, {"15", "Otto Span"},
            {"16", "Industriestraße 44\r\nHalle 2"}, {"17", "11"}, {"18", "70173"}, {"19", "Stuttgart"},
            {"20", "D"}, {"21", "Deutschland"}, {"22", "90"}, {"23", "Courier New"}, {"24", "11"},
            {"25", "AZ-1"}, {"26", "IZ-2"}, {"27", "Angebot"}, {"28", "Ihr Schreiben"},
            {"29", "Times New Roman"}, {"30", "12"}, {"31", "anbei unser Angebot."}, {"32", "Viele Grüße"},
            {"33", "Preisliste"}, {"34", "Maria Muster"}, {"35", "Lindenweg 12"}, {"36", "79098 Freiburg"},
            {"37", "Herrn"}, {"38", "2"}, {"39", "255"}, {"40", "M-77"}};
        for (const auto& r : t)
            QTest::addRow("text %s", qPrintable(r[0])) << false << r[0].toInt() << r[1];
        const int flagsOn[] = {2, 3, 4, 5, 8, 12, 13}, flagsOff[] = {1, 9, 10, 11}; // 3: the starter options put the window left
        for (int f : flagsOn)
            QTest::addRow("flag %d", f) << true << f << QStringLiteral("true");
        for (int f : flagsOff)
            QTest::addRow("flag %d", f) << true << f << QStringLiteral("false");
    }
    void buildFillsEverySlot()
    {
        QFETCH(bool, flag);
        QFETCH(int, slot);
        const AppState& s = built();
        QTEST(flag ? QString::fromLatin1(s.LetterFlags[slot] ? "true" : "false") : s.LetterText[slot], "expected");
        QVERIFY(!s.LetterCancelled);
    }

    void missingBlockIsReported()
    {
        writeAll(TextBlockFile::path(m_state.WorkFolder, 3), QByteArray()); // present but unreadable
        auto w = open();
        w->controls().Option1[3]->click();
        w->controls().Command1->click();
        QCOMPARE(m_prompter->last().text,
                 QStringLiteral("Der Textbaustein 3 existiert nicht! Sie müssen ihn erst anlegen."));
        QCOMPARE(m_state.LetterText[31], QString());
        QCOMPARE(m_state.LetterText[14], QStringLiteral("Ärger")); // the other slots all the same
    }

    void clampedDigitFields()
    {
        auto w = open();
        // field, typed, shown while typing, shown after leaving
        const char* rows[][4] = {{"Text6", "3", "3", "5"}, {"Text6", "", "", "5"},
                                 {"txtAdrRechts", "150", "150", "120"}, {"txtAdrRechts", "a9b5,x", "95", "95"}};
        for (const auto& r : rows) {
            auto* e = w->findChild<QLineEdit*>(QLatin1String(r[0]));
            e->clear();
            QTest::keyClicks(e, QLatin1String(r[1]));
            QCOMPARE(e->text(), QLatin1String(r[2]));
            leave(e);
            QCOMPARE(e->text(), QLatin1String(r[3]));
        }
    }

    void closing_data()
    {
        addColumns<QString, bool>("how", "cancelled");
        QTest::newRow("Schließen") << "Command6" << true;
        QTest::newRow("title bar") << "close" << true;
    }
    void closing()
    {
        QFETCH(QString, how);
        auto w = open();
        w->controls().txtFont2->setText(QStringLiteral("DejaVu Sans"));
        w->controls().txtSize2->setText(QStringLiteral("14"));
        how == QLatin1String("Command6") ? void(w->controls().Command6->click()) : void(w->close());
        QVERIFY(!w->isVisible());
        QTEST(m_state.LetterCancelled, "cancelled");
        QCOMPARE(readAll(m_state.WorkFolder + QStringLiteral("FontText.txt")), QByteArray("\"DejaVu Sans\",\"14\"\r\n"));
    }

    void editedLastNameIsStoredAndListed()
    {
        auto w = open();
        const BriefWidgets& c = w->controls();
        goTo(*w, QStringLiteral("Zander"));
        const int row = w->data1().absolutePosition();
        c.Text1[2]->clear();
        QTest::keyClicks(c.Text1[2], QStringLiteral("Zahn"));
        c.Command7->click();
        QCOMPARE(c.List1->text(row), QStringLiteral("Zahn Erika"));
        QCOMPARE(stored("Vorname", "Zahn"), QStringLiteral("Erika"));
    }

    // A search that finds nothing keeps the list and the rows behind it together, and
    // its message does not come back when the Enter that closed it is released.
    void noHitSearchKeepsListAndRecord()
    {
        auto w = open();
        const BriefWidgets& c = w->controls();
        QTest::keyClicks(c.txtFind, QStringLiteral("Mu"));
        const QStringList found{QStringLiteral("Muster Sabine"), QStringLiteral("Muster Thomas")};
        QCOMPARE(c.List1->entries(), found);
        QTest::keyClicks(c.txtFind, QStringLiteral("x"));
        QCOMPARE(m_prompter->count(QStringLiteral("message")), 1);
        QCOMPARE(m_prompter->last().text,
                 QStringLiteral("Unter dem eingegebenen Suchwort   (Mux)  wurden keine Daten gefunden."));
        QTest::keyRelease(c.txtFind, Qt::Key_Return);
        QTest::keyRelease(c.txtFind, Qt::Key_Escape);
        QCOMPARE(m_prompter->count(QStringLiteral("message")), 1);
        QCOMPARE(c.List1->entries(), found);
        QCOMPARE(c.Text1[1]->text(), QStringLiteral("Sabine")); // the entry still selected
        c.List1->setCurrentRow(1);
        QCOMPARE(c.Text1[1]->text(), QStringLiteral("Thomas"));
        QCOMPARE(c.Text1[2]->text(), QStringLiteral("Muster"));
        QCOMPARE(c.Text1[6]->text(), QStringLiteral("Zürich"));
        c.Command1->click();
        QCOMPARE(m_state.LetterText[13], QStringLiteral("Thomas"));
    }

    // Two windows on one file: the second save of the same address is not written
    // over the first; the user is asked and may look at the other version.
    void secondSaveIsAsked()
    {
        auto a = open();
        auto b = open();
        goTo(*a, QStringLiteral("Becker"));
        goTo(*b, QStringLiteral("Becker"));
        a->controls().Text1[6]->setText(QStringLiteral("Potsdam"));
        b->controls().Street->setPlainText(QStringLiteral("Neue Straße 1"));
        b->controls().Command3->click();
        QCOMPARE(m_prompter->count(QStringLiteral("message")), 0);

        m_prompter->answerMessage(QMessageBox::Cancel); // go on editing
        a->controls().Command3->click();
        QCOMPARE(m_prompter->count(QStringLiteral("message")), 1);
        QVERIFY(m_prompter->last().text.startsWith(
            QStringLiteral("Die Adresse wurde inzwischen an einem anderen Arbeitsplatz geändert.\r\rJa: Ihre Fassung")));
        QCOMPARE(m_prompter->last().buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(stored("Adresse", "Becker"), QStringLiteral("Neue Straße 1"));
        QCOMPARE(stored("Ort", "Becker"), QStringLiteral("Berlin"));
        QCOMPARE(a->controls().Text1[6]->text(), QStringLiteral("Potsdam"));
        // Moving on asks too and stays while the user keeps editing.
        m_prompter->answerMessage(QMessageBox::Cancel);
        a->controls().Command8->click();
        QCOMPARE(a->controls().Text1[2]->text(), QStringLiteral("Becker"));
        QCOMPARE(a->controls().List1->text(a->controls().List1->currentRow()), QStringLiteral("Becker Karl"));

        m_prompter->answerMessage(QMessageBox::No); // show the other version
        a->controls().Command3->click();
        QCOMPARE(a->controls().Street->toPlainText(), QStringLiteral("Neue Straße 1"));
        QCOMPARE(a->controls().Text1[6]->text(), QStringLiteral("Berlin"));

        // Now based on what is stored, the save goes through without a question.
        const int asked = m_prompter->count(QStringLiteral("message"));
        a->controls().Text1[6]->setText(QStringLiteral("Potsdam"));
        a->controls().Command3->click();
        QCOMPARE(m_prompter->count(QStringLiteral("message")), asked);
        QCOMPARE(stored("Ort", "Becker"), QStringLiteral("Potsdam"));
        QCOMPARE(stored("Adresse", "Becker"), QStringLiteral("Neue Straße 1"));

        // Deleted by the other window: reported, the input stays.
        m_prompter->answerMessage(QMessageBox::Ok);
        b->controls().Command4->click();
        a->controls().Text4->setFocus();
        a->controls().Text1[1]->setText(QStringLiteral("Carl"));
        a->controls().Command3->click();
        QVERIFY(m_prompter->last().text.startsWith(
            QStringLiteral("Die Adresse wurde inzwischen an einem anderen Arbeitsplatz gelöscht.")));
        QCOMPARE(a->controls().Text1[1]->text(), QStringLiteral("Carl"));
        m_prompter->answerMessage(QMessageBox::Yes); // add it again
        a->controls().Command3->click();
        QCOMPARE(stored("Vorname", "Becker"), QStringLiteral("Carl"));
        QCOMPARE(a->controls().List1->text(a->controls().List1->currentRow()), QStringLiteral("Becker Carl"));
    }

    // Another window stores the sender as it closes: coming back to a window where the
    // user is typing keeps the typing, a window without input shows the stored sender.
    void typingOutlastsAnotherWindowsSave()
    {
        auto typing = open();
        auto idle = open();
        auto saving = open();
        saving->controls().txtOrt1->setText(QStringLiteral("10115 Berlin"));
        saving->controls().Command6->click();
        QCOMPARE(open()->controls().txtOrt1->text(), QStringLiteral("10115 Berlin"));
        QTest::keyClicks(typing->controls().txtName1, QStringLiteral("-Lang"));
        QWidget elsewhere; // another window first, so that coming back is an activation
        for (frmBrief* w : {typing.get(), idle.get()}) {
            elsewhere.show();
            elsewhere.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
            w->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(w));
        }
        QCOMPARE(typing->controls().txtName1->text(), QStringLiteral("Maria Muster-Lang"));
        QCOMPARE(typing->controls().txtOrt1->text(), QStringLiteral("79098 Freiburg"));
        QCOMPARE(idle->controls().txtOrt1->text(), QStringLiteral("10115 Berlin"));
        QCOMPARE(m_prompter->count(QStringLiteral("message")), 0);
    }

    // A save refused by another program's lock keeps the input on screen; the next
    // save stores it, and the address stays on screen.
    void saveUnderLockKeepsInput()
    {
        auto w = open();
        const BriefWidgets& c = w->controls();
        goTo(*w, QStringLiteral("Zander"));
        c.Street->setPlainText(QStringLiteral("Am Markt 2"));
        {
            AddressFixture::Lock other(m_state.AddressDbPath, "BEGIN IMMEDIATE");
            QVERIFY(other.held);
            c.Command3->click();
            QVERIFY(m_prompter->last().text.contains(QStringLiteral("gesperrt")));
            QCOMPARE(c.Street->toPlainText(), QStringLiteral("Am Markt 2"));
            c.List1->setCurrentRow(0); // moving away would drop it: refused
            QCOMPARE(c.Street->toPlainText(), QStringLiteral("Am Markt 2"));
            QCOMPARE(c.List1->text(c.List1->currentRow()), QStringLiteral("Zander Erika"));
            // Closing asks first; kept open, the sender input waits too.
            c.txtName1->setText(QStringLiteral("Neue Absenderin"));
            c.Command6->click();
            QVERIFY(m_prompter->last().text.startsWith(QStringLiteral("Ihre Änderungen konnten nicht gespeichert")));
            QVERIFY(w->isVisible());
            QVERIFY(!m_state.LetterCancelled);
            QCOMPARE(c.txtName1->text(), QStringLiteral("Neue Absenderin"));
        }
        QCOMPARE(stored("Adresse", "Zander"), QStringLiteral("Am Markt 1"));
        c.Command3->click();
        QCOMPARE(stored("Adresse", "Zander"), QStringLiteral("Am Markt 2"));
        QCOMPARE(c.Text1[2]->text(), QStringLiteral("Zander"));
        QCOMPARE(c.List1->text(c.List1->currentRow()), QStringLiteral("Zander Erika"));
        RecordSource head;
        QVERIFY(head.open(m_state.AddressDbPath, Queries::letterheadTable()));
        QCOMPARE(head.field(QStringLiteral("BriefKName")), QStringLiteral("Maria Muster"));

        // Neither first nor last name: refused, nothing stored.
        c.Text1[1]->clear();
        c.Text1[2]->clear();
        c.Command3->click();
        QVERIFY(m_prompter->last().text.startsWith(QStringLiteral("Eine Adresse braucht einen Vornamen")));
        QCOMPARE(stored("Vorname", "Zander"), QStringLiteral("Erika"));
        c.Text1[1]->setText(QStringLiteral("Erika"));
        c.Text1[2]->setText(QStringLiteral("Zander"));
        c.Command6->click();
        QVERIFY(!w->isVisible());
        QVERIFY(head.refresh());
        QCOMPARE(head.field(QStringLiteral("BriefKName")), QStringLiteral("Neue Absenderin"));
    }

    // Without a group list file the groups come from the database; the field shows and
    // stores the address's own group. The database in use is named.
    void groupFieldAndDatabase()
    {
        auto w = open();
        const BriefWidgets& c = w->controls();
        QStringList groups;
        for (int i = 0; i < c.cboGruppe->count(); ++i)
            groups << c.cboGruppe->itemText(i);
        QCOMPARE(groups, QStringList({"Behörden", "Familie", "Freunde", "Kunden", "Verein", "Vereinsvorstand"}));
        goTo(*w, QStringLiteral("Zander"));
        QCOMPARE(c.cboGruppe->currentText(), QStringLiteral("Verein"));
        c.cboGruppe->setEditText(QStringLiteral("Familie"));
        c.Command3->click();
        QCOMPARE(stored("Gruppe", "Zander"), QStringLiteral("Familie"));
        QVERIFY(c.lblDatenbank->text().endsWith(QStringLiteral("address50.adr")));
        QVERIFY(c.lblDatenbank->text().contains(m_dir->path()));
    }

    // The composer exports the list it shows and takes in a file; the new address
    // and its group show at once, the address on screen stays.
    void exportAndImport()
    {
        auto w = open();
        const BriefWidgets& c = w->controls();
        QTest::keyClicks(c.txtFind, QStringLiteral("Mu"));
        const QString out = m_dir->filePath(QStringLiteral("muster.csv"));
        m_prompter->answerSaveFile(out);
        QString counted;
        m_prompter->answerExec([&counted](QDialog* d) {
            auto* e = static_cast<frmAdressenExport*>(d);
            counted = e->countLabel()->text();
            e->cmdOK_Click();
            return e->result();
        });
        c.cmdExport->click();
        QCOMPARE(counted, QStringLiteral("Es werden 2 Adressen geschrieben."));
        QCOMPARE(readAll(out), QByteArray("\xEF\xBB\xBF" "Anrede;Vorname;Nachname;Adresse;Postleitzahl;Ort;LaenderKZ;Land;"
                                          "AnredezHd;NamezHd;MitgliedsNr;Gruppe\r\n"
                                          "Liebe Schwester;Sabine;Muster;Lindenweg 14;79098;Freiburg;D;Deutschland;;;;"
                                          "Familie\r\n"
                                          "Lieber Bruder;Thomas;Muster;Seestra\xC3\x9F" "e 21;8002;Z\xC3\xBCrich;CH;Schweiz;"
                                          ";;;Familie\r\n"));

        const QString in = m_dir->filePath(QStringLiteral("chor.csv"));
        QVERIFY(writeAll(in, "Vorname;Nachname;Gruppe\nMia;Muster;Chor\n"));
        m_prompter->answerOpenFile(in);
        m_prompter->answerExec([](QDialog* d) {
            auto* i = static_cast<frmAdressenImport*>(d);
            i->cmdOK_Click();
            return i->result();
        });
        c.List1->setCurrentRow(1);
        c.cmdImport->click();
        QCOMPARE(m_prompter->last().text, QStringLiteral("1 Adresse übernommen"));
        // The search orders by last name only: the new Muster comes after the others.
        QCOMPARE(c.List1->entries(), (QStringList{"Muster Sabine", "Muster Thomas", "Muster Mia"}));
        QCOMPARE(c.Text1[1]->text(), QStringLiteral("Thomas"));
        QCOMPARE(c.List1->currentRow(), 1);
        QVERIFY(c.cboGruppe->findText(QStringLiteral("Chor")) >= 0);
    }

    // The font lists show the fonts the letter asks for even when they are not
    // installed: the letterhead font from the database, the text font from FontText.txt.
    void fontListsShowStoredFonts()
    {
        const QString headFont = QStringLiteral("Gibtsnicht Antiqua"), textFont = QStringLiteral("Gibtsnicht Grotesk");
        {
            RecordSource head;
            QVERIFY(head.open(m_state.AddressDbPath, Queries::letterheadTable()));
            head.moveFirst();
            QVERIFY(head.saveRow({{QStringLiteral("Schrift"), headFont}}));
        }
        QVERIFY(writeAll(m_state.WorkFolder + QStringLiteral("FontText.txt"),
                         QStringLiteral("\"%1\",\"12\"\r\n").arg(textFont).toUtf8()));
        auto w = open();
        const BriefWidgets& c = w->controls();
        for (auto [list, name] : {std::pair{c.cboBriefKopf, headFont}, std::pair{c.cboBrieftext, textFont}}) {
            QCOMPARE(list->currentText(), name);
            QCOMPARE(list->count(), int(QFontDatabase::families().size()) + 1);
        }
    }
};

QTEST_MAIN(TestComposer)
#include "tst_composer.moc"
