// The letter command from the start, the toolbar and the extras menu: the composer
// opens modally; "Schließen" leaves an empty document, "Brief erstellen" the letter.
#include "../shell/ShellFixture.h"

#include "addresses/RecordSource.h"
#include "letters/frmBrief.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QToolBar>

class TestComposerStart : public QObject {
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

QTEST_MAIN(TestComposerStart)
#include "tst_composerstart.moc"
