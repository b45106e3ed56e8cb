// Page setup on a document window: OK is one undo step that marks the document
// changed, Cancel and an unchanged OK leave document and history alone.

#include "ShellFixture.h"

#include "dialogs/frmPageDlg.h"
#include "engine/Document.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

class TstPageSetupStep : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void okIsOneStep_data()
    {
        QTest::addColumn<QString>("field"); // empty: nothing touched
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<bool>("changes");
        QTest::newRow("left margin") << "txtLeftMargin" << "3,5" << true << true;
        QTest::newRow("paper A5") << "cboPaperSize" << "1" << true << true;
        QTest::newRow("cancel") << "txtTopMargin" << "5,0" << false << false;
        QTest::newRow("ok unchanged") << "" << "" << true << false;
    }
    void okIsOneStep()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(bool, confirm);
        QFETCH(bool, changes);
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        frmMDIChild* w = fx.newDocument();
        TextControl* s = w->surface();
        const PageGeometry before = s->doc()->page();
        QVERIFY(!w->DirtyFlag);

        fx.prompts->answerExec([&](QDialog* d) {
            auto* dlg = static_cast<frmPageDlg*>(d);
            if (field == u"cboPaperSize")
                dlg->cboPaperSize_Click(text.toInt());
            else if (!field.isEmpty())
                dlg->findChild<QLineEdit*>(field)->setText(text);
            if (confirm && !dlg->btnOK->isEnabled())
                return int(QDialog::Rejected);
            (confirm ? dlg->btnOK : dlg->btnCancel)->click();
            return dlg->result();
        });
        w->findChild<QAction*>(QStringLiteral("mnuFile_PageSetup"))->trigger();
        QCOMPARE(fx.prompts->count(QStringLiteral("exec")), 1);

        const PageGeometry after = s->doc()->page();
        QCOMPARE(after != before, changes);
        QCOMPARE(w->DirtyFlag, changes);
        QCOMPARE(s->CanUndo(), changes);
        if (!changes)
            return;
        QCOMPARE(s->UndoKind(), 3);
        s->Undo();
        QVERIFY(s->doc()->page() == before);
        QVERIFY(!s->CanUndo());
        s->Redo();
        QVERIFY(s->doc()->page() == after);

        // Closing now asks whether to save.
        w->DirtyFlag = false;
        s->Undo();
        QVERIFY(w->DirtyFlag);
        fx.prompts->answerMessage(QMessageBox::No);
        QVERIFY(w->close());
        QCOMPARE(fx.prompts->count(QStringLiteral("message")), 1);
    }
};

QTEST_MAIN(TstPageSetupStep)
#include "tst_pagesetupstep.moc"
