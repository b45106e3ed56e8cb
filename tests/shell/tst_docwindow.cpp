#include "ShellFixture.h"
#include "TestCommon.h"

#include "dialogs/frmPageDlg.h"
#include "engine/Document.h"

#include <QMenu>
#include <QStatusBar>

namespace {

QAction* item(QObject* w, const QString& name)
{
    auto* a = w->findChild<QAction*>(name);
    if (!a)
        qWarning("no item %s", qPrintable(name));
    return a;
}

QMenu* menu(QObject* w, const QString& name) { return w->findChild<QMenu*>(name); }

// Visible entries of a menu; separators as "-".
QStringList captions(QMenu* m)
{
    QStringList out;
    for (QAction* a : m->actions())
        if (a->isVisible())
            out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

} // namespace

class TestDocWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        fx = std::make_unique<ShellFixture>();
        QVERIFY(fx->startEmpty());
        w = fx->newDocument();
    }

    void cleanup() { fx.reset(); }
    void closeCheck_data()
    {
        // saveAs: the name given in the save dialog
        addColumns<int, bool, int, QString>("answer", "closes", "saveDialogs", "saveAs");
        QTest::newRow("cancel keeps") << int(QMessageBox::Cancel) << false << 0 << QString();
        QTest::newRow("no closes") << int(QMessageBox::No) << true << 0 << QString();
        QTest::newRow("yes, saved, closes") << int(QMessageBox::Yes) << true << 1 << "brief";
    }
    void closeCheck()
    {
        QFETCH(int, answer);
        QFETCH(bool, closes);
        QFETCH(QString, saveAs);
        const QPointer<frmMDIChild> ptr(w);
        QTest::keyClicks(w->surface(), QStringLiteral("x"));
        QTemporaryDir dir;
        fx->prompts->answerMessage(QMessageBox::StandardButton(answer));
        if (!saveAs.isEmpty())
            fx->prompts->answerSaveFile(dir.filePath(saveAs), 6);
        QCOMPARE(w->close(), closes);
        fx->flush();
        QCOMPARE(ptr.isNull(), closes);
        QCOMPARE(fx->prompts->count(QStringLiteral("message")), 1);
        QTEST(fx->prompts->count(QStringLiteral("save")), "saveDialogs");
        if (!saveAs.isEmpty())
            QCOMPARE(readAll(dir.filePath(saveAs + QStringLiteral(".txt"))), QByteArray("x"));
        else if (!closes)
            QVERIFY(w->DirtyFlag);
    }

    void resizeSetsZoomAndZoomItemsOverride()
    {
        w->resize(400, 300); // 6000 twips
        QCOMPARE(w->surface()->ZoomFactor(), 48);
        item(w, QStringLiteral("mnuView_ZoomItem(8)"))->trigger();
        QCOMPARE(w->surface()->ZoomFactor(), 200);
        QAction* zoom200 = item(w, QStringLiteral("mnuView_ZoomItem(8)"));
        Q_EMIT menu(w, QStringLiteral("mnuView"))->aboutToShow();
        QVERIFY(zoom200->isChecked());
        w->resize(500, 300);
        QCOMPARE(w->surface()->ZoomFactor(), 60);
        Q_EMIT menu(w, QStringLiteral("mnuView"))->aboutToShow();
        QVERIFY(!zoom200->isChecked());
        // The surface fills the window below the ruler.
        QWidget* ruler = w->ruler();
        QCOMPARE(w->surface()->geometry().top(), ruler->geometry().bottom() + 1);
        item(w, QStringLiteral("mnuView_Ruler"))->trigger();
        QVERIFY(ruler->isHidden());
        QCOMPARE(w->surface()->geometry().top(), 0);
    }

    void windowMenuListsWindows()
    {
        frmMDIChild* a = w;
        frmMDIChild* b = fx->newDocument();
        b->setTitle(QStringLiteral("/TMP/B.TXM"));
        QMenu* m = menu(a, QStringLiteral("mnuWindow"));
        Q_EMIT m->aboutToShow();
        Q_EMIT m->aboutToShow(); // a second opening does not repeat the list
        QCOMPARE(captions(m).mid(4), QStringList({"-", "&1 Unbenannt", "&2 /TMP/B.TXM"}));
        QVERIFY(item(a, QStringLiteral("mnuWindowList(2)"))->isChecked());
        item(a, QStringLiteral("mnuWindowList(1)"))->trigger();
        QCOMPARE(fx->frame->activeDocument(), a);

        item(a, QStringLiteral("mnuWindow_TileH"))->trigger();
        QCOMPARE(a->width(), b->width());
        QVERIFY(b->y() >= a->y() + a->height() - 1);
    }

    void currentPositionMessage()
    {
        w->surface()->setSelText(QStringLiteral("eins\r\nzwei"));
        item(w, QStringLiteral("mnuCurPos"))->trigger();
        QCOMPARE(fx->prompts->count(QStringLiteral("message")), 1);
        QCOMPARE(fx->prompts->last().text, QStringLiteral("Seite 1   Zeile 2   Zeichen 5"));
    }

    void statusBarFollowsActiveSurface()
    {
        w->surface()->setSelText(QStringLiteral("abc"));
        auto* status = fx->frame->findChild<QStatusBar*>(QStringLiteral("TXStatusBar1"));
        QTRY_COMPARE(status->findChild<QLabel*>(QStringLiteral("column"))->text(),
                     QStringLiteral("Spalte 4"));
        // Closing the last window leaves the bars without a surface.
        w->DirtyFlag = false;
        QVERIFY(w->close());
        fx->flush();
        QTRY_COMPARE(status->findChild<QLabel*>(QStringLiteral("column"))->text(),
                     QStringLiteral("Spalte"));
    }

    // Page setup OK is one undo step that marks the document changed; Cancel and an
    // unchanged OK leave document and history alone.
    void pageSetupIsOneStep_data()
    {
        // field: empty: nothing touched
        addColumns<QString, bool, bool>("field", "confirm", "changes");
        QTest::newRow("left margin") << "txtLeftMargin" << true << true;
        QTest::newRow("cancel") << "txtTopMargin" << false << false;
        QTest::newRow("ok unchanged") << "" << true << false;
    }
    void pageSetupIsOneStep()
    {
        QFETCH(QString, field);
        QFETCH(bool, confirm);
        QFETCH(bool, changes);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        TextControl* s = w->surface();
        const PageGeometry before = s->doc()->page();
        fx->prompts->answerExec([&](QDialog* d) {
            auto* dlg = static_cast<frmPageDlg*>(d);
            if (!field.isEmpty())
                dlg->findChild<QLineEdit*>(field)->setText(QStringLiteral("3,5"));
            if (confirm && !dlg->btnOK->isEnabled())
                return int(QDialog::Rejected);
            (confirm ? dlg->btnOK : dlg->btnCancel)->click();
            return dlg->result();
        });
        item(w, QStringLiteral("mnuFile_PageSetup"))->trigger();
        QCOMPARE(fx->prompts->count(QStringLiteral("exec")), 1);
        QCOMPARE(s->doc()->page() != before, changes);
        QCOMPARE(w->DirtyFlag, changes);
        QCOMPARE(s->CanUndo(), changes);
        if (!changes)
            return;
        QCOMPARE(s->UndoKind(), 3);
        s->Undo();
        QVERIFY(s->doc()->page() == before && !s->CanUndo());
    }

private:
    std::unique_ptr<ShellFixture> fx;
    frmMDIChild* w = nullptr;
};

QTEST_MAIN(TestDocWindow)
#include "tst_docwindow.moc"
