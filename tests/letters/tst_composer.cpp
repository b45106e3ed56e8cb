#include "TestFiles.h"
#include "../addresses/AddressFixture.h"

#include "addresses/AddressListBox.h"
#include "addresses/Queries.h"
#include "addresses/RecordSource.h"
#include "app/AppState.h"
#include "letters/frmBrief.h"
#include "textblocks/TextBlockFile.h"
#include "textblocks/frmBausteine.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
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
    static QString field(const QString& file, const QString& column, const QString& lastName)
    {
        RecordSource s;
        s.open(file, Queries::nameOrder());
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
        QTest::addColumn<bool>("flag");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("expected");
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
        QVERIFY(!s.UseOwnTemplate);
        QCOMPARE(m_prompter->count(QStringLiteral("message")), 0);
    }

    void memberNumberOnlyWhenTicked()
    {
        m_state.LetterText[40] = QStringLiteral("M-1");
        auto w = open();
        goTo(*w, QStringLiteral("Becker"));
        QCOMPARE(w->controls().txtMitglNr->text(), QStringLiteral("1001"));
        w->controls().Command1->click();
        QCOMPARE(m_state.LetterText[40], QStringLiteral("M-1"));
        auto again = open();
        goTo(*again, QStringLiteral("Becker"));
        QVERIFY(!again->controls().chkMitglNr->isChecked()); // not kept between openings
        again->controls().chkMitglNr->setChecked(true);
        again->controls().Command1->click();
        QCOMPARE(m_state.LetterText[40], QStringLiteral("1001"));
    }

    void missingBlockIsReported()
    {
        writeAll(TextBlockFile::path(m_state.WorkFolder, 3), QByteArray()); // present but unreadable
        auto w = open();
        w->controls().Option1[3]->click();
        w->controls().Command1->click();
        QCOMPARE(m_prompter->count(QStringLiteral("message")), 1);
        QCOMPARE(m_prompter->last().text,
                 QStringLiteral("Der Textbaustein 3 existiert nicht! Sie müssen ihn erst anlegen."));
        QCOMPARE(m_state.LetterText[31], QString());
        QCOMPARE(m_state.LetterText[14], QStringLiteral("Ärger")); // the other slots all the same
    }

    void clampedDigitFields_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("left");
        QTest::newRow("Text6 too small") << "Text6" << "3" << "3" << "5";
        QTest::newRow("Text6 too large") << "Text6" << "45" << "45" << "30";
        QTest::newRow("Text6 inside") << "Text6" << "25" << "25" << "25";
        QTest::newRow("Text6 empty") << "Text6" << "" << "" << "5";
        QTest::newRow("txtAdrRechts too large") << "txtAdrRechts" << "150" << "150" << "120";
        QTest::newRow("txtAdrRechts too small") << "txtAdrRechts" << "50" << "50" << "80";
        QTest::newRow("txtAdrRechts limit") << "txtAdrRechts" << "120" << "120" << "120";
        QTest::newRow("letters refused") << "txtAdrRechts" << "a9b5,x" << "95" << "95";
    }
    void clampedDigitFields()
    {
        QFETCH(QString, name);
        QFETCH(QString, typed);
        auto w = open();
        auto* e = w->findChild<QLineEdit*>(name);
        QVERIFY(e);
        e->clear();
        QTest::keyClicks(e, typed);
        QTEST(e->text(), "shown");
        leave(e);
        QTEST(e->text(), "left");
    }

    void closing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("cancelled");
        QTest::newRow("Schließen") << "Command6" << true;
        QTest::newRow("Escape") << "Escape" << true;
        QTest::newRow("title bar") << "close" << false;
    }
    void closing()
    {
        QFETCH(QString, how);
        m_state.ToolbarRefreshOff = true;
        auto w = open();
        w->controls().txtFont2->setText(QStringLiteral("DejaVu Sans"));
        w->controls().txtSize2->setText(QStringLiteral("14"));
        if (how == QLatin1String("Command6"))
            w->controls().Command6->click();
        else if (how == QLatin1String("Escape"))
            QTest::keyClick(w.get(), Qt::Key_Escape);
        else
            w->close();
        QVERIFY(!w->isVisible());
        QTEST(m_state.LetterCancelled, "cancelled");
        QVERIFY(!m_state.ToolbarRefreshOff);
        QCOMPARE(readAll(m_state.WorkFolder + QStringLiteral("FontText.txt")), QByteArray("\"DejaVu Sans\",\"14\"\r\n"));
        // The next opening reads it back.
        auto again = open();
        QCOMPARE(again->controls().txtFont2->text(), QStringLiteral("DejaVu Sans"));
        QCOMPARE(again->controls().txtSize2->text(), QStringLiteral("14"));
    }

    void searchAsYouType()
    {
        auto w = open();
        const BriefWidgets& c = w->controls();
        const QStringList all = c.List1->entries();
        QCOMPARE(all.size(), 16);
        c.txtFind->setText(QStringLiteral("zzz"));
        QTest::keyRelease(c.txtFind, Qt::Key_Z);
        QCOMPARE(m_prompter->last().text,
                 QStringLiteral("Unter dem eingegebenen Suchwort   (zzz)  wurden keine Daten gefunden."));
        QCOMPARE(c.List1->entries(), all);
        QVERIFY(c.cmdAlle->isEnabled());
        QVERIFY(!c.Timer->isActive());

        c.txtFind->setText(QStringLiteral("muster"));
        QTest::keyRelease(c.txtFind, Qt::Key_R);
        QCOMPARE(c.List1->entries(), QStringList({"Muster Sabine", "Muster Thomas"}));
        QCOMPARE(c.Text1[1]->text(), QStringLiteral("Sabine"));
        QVERIFY(c.Timer->isActive());
        c.cmdAlle->click();
        QVERIFY(!c.Timer->isActive());
        QVERIFY(!c.cmdAlle->isEnabled());
        QCOMPARE(c.List1->entries(), all);
    }

    void navigationWraps()
    {
        auto w = open();
        const BriefWidgets& c = w->controls();
        const int last = c.List1->count() - 1;
        c.Command9->click();
        QCOMPARE(w->data1().absolutePosition(), last);
        c.Command8->click();
        QCOMPARE(w->data1().absolutePosition(), 0);
        QCOMPARE(c.List1->currentRow(), 0);
        c.Command7->click();
        QCOMPARE(w->data1().absolutePosition(), last);
        QCOMPARE(c.List1->currentRow(), last);
        QCOMPARE(c.Text1[2]->text() + QLatin1Char(' ') + c.Text1[1]->text(), c.List1->text(last));
    }

    void editedLastNameIsStoredAndListed()
    {
        auto w = open();
        const BriefWidgets& c = w->controls();
        goTo(*w, QStringLiteral("Zander"));
        const int row = w->data1().absolutePosition();
        c.Text1[2]->clear();
        QTest::keyClicks(c.Text1[2], QStringLiteral("Zahn"));
        QVERIFY(w->lastNameEdited());
        c.Command7->click();
        QVERIFY(!w->lastNameEdited());
        QCOMPARE(c.List1->text(row), QStringLiteral("Zahn Erika"));
        QCOMPARE(w->data1().absolutePosition(), row - 1);
        QCOMPARE(field(m_state.AddressDbPath, QStringLiteral("Vorname"), QStringLiteral("Zahn")), QStringLiteral("Erika"));
    }

    void blockCaptionsAndEditor()
    {
        TextBlock b;
        b.Text = QStringLiteral("x");
        b.Name = QStringLiteral("Mahnung");
        TextBlockFile::write(m_state.WorkFolder, 4, b);
        b.Name.clear();
        TextBlockFile::write(m_state.WorkFolder, 5, b);
        QString opened;
        m_prompter->answerExec([&](QDialog* d) {
            auto* editor = qobject_cast<frmBausteine*>(d);
            opened = editor ? editor->Tag() : QStringLiteral("?");
            b.Name = QStringLiteral("Neu");
            TextBlockFile::write(m_state.WorkFolder, 6, b);
            return 0;
        });
        auto w = open();
        const BriefWidgets& c = w->controls();
        QCOMPARE(c.Option1[4]->text(), QStringLiteral("Mahnung"));
        QCOMPARE(c.Option1[5]->text(), QStringLiteral("Textbaustein 5"));
        QCOMPARE(c.Option1[6]->text(), QStringLiteral("Textbaustein 6"));
        c.Command10->click();
        QCOMPARE(m_prompter->count(QStringLiteral("exec")), 0);
        QVERIFY(m_prompter->last().text.startsWith(QStringLiteral("Wählen Sie zuerst einen Textbaustein aus!\r")));
        c.Option1[6]->click();
        c.Command10->click();
        QCOMPARE(opened, QStringLiteral("6"));
        QCOMPARE(c.Option1[6]->text(), QStringLiteral("Neu")); // activation after the editor
    }

    void recordHandOver()
    {
        const QString nr = field(m_state.AddressDbPath, QStringLiteral("Nr"), QStringLiteral("Weber"));
        writeAll(m_state.WorkFolder + QStringLiteral("Kontorix.txt"), nr.toUtf8() + "\r\n");
        m_state.StartOption = QStringLiteral("x");
        auto w = open();
        QCOMPARE(w->controls().Text1[2]->text(), QStringLiteral("Weber"));
        QCOMPARE(w->controls().List1->text(w->controls().List1->currentRow()), QStringLiteral("Weber Petra"));
        QVERIFY(m_state.StartOption.isEmpty());
    }
};

QTEST_MAIN(TestComposer)
#include "tst_composer.moc"
