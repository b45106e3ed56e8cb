// The document window's letter operations: a new "Unbenannt" window with the letter,
// on the letterhead template from the work or program folder, and the message when
// there is no template; the composer reached from the start, toolbar and menu.
#include "../shell/ShellFixture.h"

#include "TestFiles.h"
#include "addresses/RecordSource.h"
#include "letters/LetterAssembly.h"
#include "letters/frmBrief.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QTemporaryDir>
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
    static void answer(ScriptedPrompter* p, const char* button, const QString& lastName = {})
    {
        p->answerExec([button, lastName](QDialog* d) {
            auto* w = qobject_cast<frmBrief*>(d);
            if (!w)
                return 0;
            if (!lastName.isEmpty())
                w->data1().findFirst(QStringLiteral("Nachname = '%1'").arg(lastName));
            w->findChild<QPushButton*>(QLatin1String(button))->click();
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

    void buildOnTemplate_data()
    {
        QTest::addColumn<bool>("inWork");
        QTest::addColumn<bool>("inProgram");
        QTest::addColumn<QString>("head");
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
    void startOpensComposer_data()
    {
        QTest::addColumn<bool>("create");
        QTest::newRow("Schließen") << false;
        QTest::newRow("Brief erstellen") << true;
    }
    void startOpensComposer()
    {
        QFETCH(bool, create);
        ShellFixture fx;
        answer(fx.prompts, create ? "Command1" : "Command6", QStringLiteral("Ärger"));
        QVERIFY(fx.start());
        fx.flush();
        QCOMPARE(fx.prompts->count(QStringLiteral("exec")), 1);
        QCOMPARE(fx.frame->documents().size(), 1);
        frmMDIChild* w = fx.frame->documents().first();
        QCOMPARE(w->Title(), QStringLiteral("Unbenannt"));
        QCOMPARE(w->surface()->Text().contains(QStringLiteral("Anna Ärger")), create);
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
