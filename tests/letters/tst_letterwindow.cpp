// The document window's letter operations: a new "Unbenannt" window with the letter,
// on the letterhead template from the work or program folder, and the message when
// there is no template; the composer reached from the start, toolbar and menu.
#include "../shell/ShellFixture.h"

#include "TestCommon.h"
#include "addresses/RecordSource.h"
#include "letters/LetterAssembly.h"
#include "letters/frmBrief.h"

#include <QAction>
#include <QCloseEvent>
#include <QToolBar>

namespace {

void fillLetter(AppState& a)
{
    const std::pair<int, const char*> texts[] = {
        {1, "17"}, {2, "Arial"}, {3, "11"}, {4, "0"}, {11, "11"}, {17, "11"}, {22, "90"}, {23, "Arial"},
        {24, "11"}, {12, "Frau"}, {13, "Anna"}, {14, "Ärger"}, {16, "Mühlenweg 3"}, {18, "20095"},
        {19, "Hamburg"}, {20, "D"}, {34, "Maria Muster"}, {38, "0"}, {32, "Mit freundlichen Grüßen"}};
    for (const auto& [slot, text] : texts)
        a.LetterText[slot] = QString::fromUtf8(text);
    a.LetterFlags[2] = a.LetterFlags[5] = a.LetterFlags[12] = true;
}

// A template file in the own format holding `text`.
void writeTemplate(const QString& path, const QString& text)
{
    TextControl s;
    s.setText(text);
    QVERIFY(writeAll(path, QByteArray(30, '\0')));
    QVERIFY(s.Save(path, 30, 3, false));
}

} // namespace

class TestLetterWindow : public QObject {
    Q_OBJECT

    // Answers the next composer with a press of `button`, after choosing `lastName`.
    static void answer(ScriptedPrompter* p, const QByteArray& button, const QString& lastName = {},
                       bool memberNumber = false)
    {
        p->answerExec([button, lastName, memberNumber](QDialog* d) {
            auto* w = qobject_cast<frmBrief*>(d);
            if (!w)
                return 0;
            if (!lastName.isEmpty())
                w->data1().findFirst(QStringLiteral("Nachname = '%1'").arg(lastName));
            w->findChild<QCheckBox*>(QStringLiteral("chkMitglNr"))->setChecked(memberNumber);
            if (button == "close") {
                w->show(); // the title bar belongs to a window on screen
                QCloseEvent close;
                QCoreApplication::sendEvent(w, &close);
            } else {
                w->findChild<QPushButton*>(QString::fromLatin1(button))->click();
            }
            return w->result();
        });
    }

private Q_SLOTS:
    void buildLetterOpensUntitledWindow()
    {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        fillLetter(appState());
        frmMDIChild* shared = fx.frame->sharedWindow();
        const int before = int(fx.frame->documents().size());
        shared->BuildLetter();
        ShellFixture::flush();
        QCOMPARE(int(fx.frame->documents().size()), before + 1);
        frmMDIChild* w = fx.frame->activeDocument();
        QVERIFY(w && w != shared);
        QCOMPARE(w->Title(), QStringLiteral("Unbenannt"));
        QVERIFY(w->DirtyFlag);

        TextControl plain;
        LetterAssembly::buildLetter(plain, appState(), QDate::currentDate());
        QCOMPARE(w->surface()->Text(), plain.Text());
    }

    // A letterhead reaching into the address field is reported; the letter is built.
    void longLetterheadIsReported()
    {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        AppState& app = appState();
        fillLetter(app);
        const std::pair<int, const char*> sender[] = {{1, "34"}, {35, "Lindenweg 12"}, {36, "79098 Freiburg"},
                                                      {5, "11 22"}, {6, "0761 123456"}, {7, "0761 654321"},
                                                      {8, "maria@example.de"}, {9, "www.example.de"}};
        for (const auto& [slot, text] : sender)
            app.LetterText[slot] = QString::fromUtf8(text);
        fx.prompts->clear();
        fx.frame->sharedWindow()->BuildLetter();
        ShellFixture::flush();
        QCOMPARE(fx.prompts->count(QStringLiteral("message")), 1);
        QCOMPARE(fx.prompts->last().title, QStringLiteral("Brief erstellen"));
        QCOMPARE(fx.prompts->last().text,
                 QStringLiteral("Der Briefkopf reicht bis in das Adressfeld (45 mm unter dem oberen Blattrand). Die "
                                "Anschrift steht deshalb tiefer und ist im Fenster eines Fensterumschlags nicht ganz "
                                "zu sehen.\r\n\r\nVerringern Sie den „Abstand Briefkopf“ oder kürzen Sie den "
                                "Briefkopf."));
        QVERIFY(fx.frame->activeDocument()->surface()->Text().contains(QStringLiteral("Anna Ärger")));

        // With the letterhead 5 mm from the top it fits: no message.
        app.LetterText[1] = QStringLiteral("5");
        app.LetterText[5].clear();
        app.LetterText[9].clear();
        fx.prompts->clear();
        fx.frame->sharedWindow()->BuildLetter();
        ShellFixture::flush();
        QCOMPARE(fx.prompts->count(QStringLiteral("message")), 0);
    }

    void buildOnTemplate_data()
    {
        addColumns<bool, bool, QString>("inWork", "inProgram", "head");
        QTest::newRow("work folder first") << true << true << "Kopf aus Arbeitsordner";
        QTest::newRow("program folder") << false << true << "Kopf aus Programmordner";
        QTest::newRow("none") << false << false << "";
    }

    void buildOnTemplate()
    {
        QFETCH(bool, inWork);
        QFETCH(bool, inProgram);
        QFETCH(QString, head);
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        QTemporaryDir program;
        AppState& app = appState();
        app.ProgramFolder = program.path() + QLatin1Char('/');
        const QString work = app.WorkFolder + QStringLiteral("Briefkopf.txm");
        QFile::remove(work);
        if (inWork)
            writeTemplate(work, QStringLiteral("Kopf aus Arbeitsordner"));
        if (inProgram)
            writeTemplate(app.ProgramFolder + QStringLiteral("Briefkopf.txm"),
                          QStringLiteral("Kopf aus Programmordner"));
        const QByteArray templateBytes = readAll(inWork ? work : app.ProgramFolder + QStringLiteral("Briefkopf.txm"));
        fillLetter(app);
        fx.prompts->clear();

        fx.frame->sharedWindow()->BuildLetterFromTemplate();
        ShellFixture::flush();
        frmMDIChild* w = fx.frame->activeDocument();
        QVERIFY(w);
        QCOMPARE(w->Title(), QStringLiteral("Unbenannt"));
        TextControl plain;
        plain.setText(head);
        LetterAssembly::buildOnTemplate(plain, app, QDate::currentDate());
        QCOMPARE(w->surface()->Text(), plain.Text());
        if (!head.isEmpty()) {
            QCOMPARE(fx.prompts->count(QStringLiteral("message")), 0);
            QCOMPARE(readAll(inWork ? work : app.ProgramFolder + QStringLiteral("Briefkopf.txm")), templateBytes);
            return;
        }
        // The missing template is reported, then the load's own error; the letter is
        // written all the same.
        QVERIFY(!fx.prompts->asked.isEmpty());
        const auto& asked = fx.prompts->asked.first();
        QCOMPARE(asked.title, QStringLiteral("Fehler beim Öffnen"));
        QCOMPARE(asked.text, QStringLiteral("Vorlage  Briefkopf.txm   nicht gefunden! Legen Sie zuerst im Verzeichnis "
                                            "dieses Programmes ") +
                                 app.WorkFolder + QStringLiteral(" eine Vorlage Namens Briefkopf.txm an"));
    }

    // The letter command from the start, the toolbar and the extras menu: "Schließen"
    // leaves an empty document, "Brief erstellen" the letter.
    // The title-bar button is "close": no letter either.
    void startOpensComposer_data()
    {
        addColumns<QString, bool>("button", "create");
        QTest::newRow("Schließen") << "Command6" << false;
        QTest::newRow("title bar") << "close" << false;
        QTest::newRow("Brief erstellen") << "Command1" << true;
    }
    void startOpensComposer()
    {
        QFETCH(QString, button);
        QFETCH(bool, create);
        ShellFixture fx;
        answer(fx.prompts, button.toLatin1(), QStringLiteral("Ärger"));
        QVERIFY(fx.start());
        fx.flush();
        QCOMPARE(fx.prompts->count(QStringLiteral("exec")), 1);
        QCOMPARE(fx.frame->documents().size(), 1);
        frmMDIChild* w = fx.frame->documents().first();
        QCOMPARE(w->Title(), QStringLiteral("Unbenannt"));
        // Without "Brief erstellen" no letter at all, not even from earlier letter data.
        if (create)
            QVERIFY(w->surface()->Text().contains(QStringLiteral("Anna Ärger")));
        else
            QCOMPARE(w->surface()->Text(), QString());
    }

    // A member number goes only into the letter whose box is ticked; the next letter,
    // to another person, has none.
    void memberNumberOfSecondLetter()
    {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        frmMDIChild* doc = fx.newDocument();
        answer(fx.prompts, "Command1", QStringLiteral("Becker"), true);
        doc->mnuBrief_Click();
        answer(fx.prompts, "Command1", QStringLiteral("Ärger"));
        doc->mnuBrief_Click();
        fx.flush();
        QString first, second;
        for (frmMDIChild* w : fx.frame->documents()) {
            const QString text = w->surface()->Text();
            (text.contains(QStringLiteral("Karl Becker")) ? first : second) += text;
        }
        QVERIFY(first.contains(QStringLiteral("\r\nMitglieds-Nr.: 1001\r\n")));
        QVERIFY(second.contains(QStringLiteral("Anna Ärger")));
        QVERIFY(!second.contains(QStringLiteral("Mitglieds-Nr.")));
    }

    void toolbarAndMenuReachComposer()
    {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        answer(fx.prompts, "Command6");
        fx.frame->findChild<QToolBar*>()->findChild<QAction*>(QStringLiteral("Kontorix"))->trigger();
        fx.flush();
        QCOMPARE(fx.prompts->count(QStringLiteral("exec")), 1);
        // The extras menu of a document window runs the command on that window.
        answer(fx.prompts, "Command1", QStringLiteral("Zander"));
        frmMDIChild* doc = fx.frame->documents().first();
        doc->findChild<QAction*>(QStringLiteral("mnuBrief"))->trigger();
        fx.flush();
        QCOMPARE(fx.frame->documents().size(), 2);
        QVERIFY(fx.frame->activeDocument()->surface()->Text().contains(QStringLiteral("Erika Zander")));

        // With the own template the switch is used and cleared; the letter stands behind
        // the shipped letterhead.
        fx.prompts->answerExec([](QDialog* d) {
            d->findChild<QCheckBox*>(QStringLiteral("chkEigeneVorl"))->setChecked(true);
            d->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
            return d->result();
        });
        doc->mnuBrief_Click();
        fx.flush();
        QVERIFY(!appState().UseOwnTemplate);
        QVERIFY(fx.frame->activeDocument()->surface()->Text().startsWith(QStringLiteral("Ihr Name")));
    }
};

QTEST_MAIN(TestLetterWindow)
#include "tst_letterwindow.moc"
