#include "ShellFixture.h"

#include "engine/Document.h"
#include "engine/spelling/SpellChecker.h"
#include "engine/spelling/SpellMarks.h"

#include <QLabel>
#include <QTextBlock>

#include "TestCommon.h"

#include <QMenuBar>
#include <QToolBar>

namespace {

bool enabled(frmMDIParent& f, const QString& key)
{
    return f.findChild<QToolBar*>(QStringLiteral("Toolbar1"))->findChild<QAction*>(key)->isEnabled();
}

// The enabled keys among those that need a document; with one, Paste follows the
// clipboard and is left out.
QStringList enabledOfNine(frmMDIParent& f)
{
    QStringList out;
    for (const char* k : {"Save", "Print", "PrintPreview", "Find", "Cut", "Copy", "Paste", "Undo", "Redo"})
        if (enabled(f, QLatin1String(k)) && !(f.IsDocumentActive() && k == QLatin1String("Paste")))
            out << QLatin1String(k);
    return out;
}

} // namespace

class TestFrame : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void toolbarEnabling()
    {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        fx.frame->UpdateToolbar();
        QCOMPARE(enabledOfNine(*fx.frame), QStringList());
        QCOMPARE(fx.frame->menuBar()->actions().size(), 1); // the frame's own menu

        // A document brings its menus and the keys that need it.
        frmMDIChild* w = fx.newDocument();
        QCOMPARE(fx.frame->menuBar()->actions().size(), 9);
        const QStringList always{"Save", "Print", "PrintPreview", "Find"};
        QCOMPARE(enabledOfNine(*fx.frame), always);
        // Typing and selecting refresh the toolbar through the position notification.
        QTest::keyClicks(w->surface(), QStringLiteral("Hallo"));
        QCOMPARE(enabledOfNine(*fx.frame), always + QStringList{"Undo"});
        w->surface()->setSelStart(0);
        w->surface()->setSelLength(-1);
        QCOMPARE(enabledOfNine(*fx.frame), always + QStringList({"Cut", "Copy", "Undo"}));

        // Unloading the last window disables them again.
        w->DirtyFlag = false;
        QVERIFY(w->close());
        fx.flush();
        QCOMPARE(enabledOfNine(*fx.frame), QStringList());
        QCOMPARE(fx.frame->menuBar()->actions().size(), 1);
    }

    // Strg+N and Strg+O work in the frame's own menu too, with no document open.
    // The marks of a document window follow its language: "Grüsse" is Swiss spelling.
    void marksFollowTheLanguage()
    {
        if (!SpellChecker::isInstalled(QStringLiteral("de_CH")))
            QSKIP("Swiss German dictionary not installed (scripts/setup.sh)");
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        TextControl* s = fx.newDocument()->surface();
        s->setText(QStringLiteral("Viele Grüsse, Ihr Hans"));
        for (const char* language : {"de_DE", "de_CH", "de_DE"}) {
            s->doc()->setLanguage(QLatin1String(language));
            QTRY_VERIFY(s->spellMarks()->isIdle());
            QCOMPARE(SpellMarks::marksOf(s->document()->firstBlock()).size(), language[3] == 'D' ? 1 : 0);
        }
    }

    void keysWithoutDocument()
    {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        fx.frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(fx.frame.get()));
        QTest::keyClick(fx.frame.get(), Qt::Key_N, Qt::ControlModifier);
        fx.flush();
        QCOMPARE(fx.frame->documents().size(), 1);
        QCOMPARE(fx.frame->documents().first()->Title(), QStringLiteral("Unbenannt"));
        fx.frame->mdiArea()->closeAllSubWindows();
        fx.flush();
        QVERIFY(fx.frame->documents().isEmpty());
        QTest::keyClick(fx.frame.get(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(fx.prompts->count(QStringLiteral("open")), 1);
        QCOMPARE(fx.prompts->last().title, QStringLiteral("Öffnen"));
    }

    // The status bar names the address database in use, also after it was switched.
    void databaseInUse()
    {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        auto* label = fx.frame->findChild<QLabel*>(QStringLiteral("lblDatenbank"));
        QVERIFY(label);
        QCOMPARE(label->text(), QStringLiteral("Adressen: ") + fx.home.path() + QStringLiteral("QX-Kontorix/address50.adr"));
        appState().AddressDbPath = QStringLiteral("/srv/buero/address60.qxa");
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(fx.frame.get(), &activate);
        QCOMPARE(label->text(), QStringLiteral("Adressen: /srv/buero/address60.qxa"));
    }

    void pageButtons()
    {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        frmMDIChild* w = fx.newDocument();
        TextControl* s = w->surface();
        fx.frame->findChild<QToolBar*>(QStringLiteral("Toolbar1"))->findChild<QAction*>(QStringLiteral("Querformat"))->trigger();
        QCOMPARE(QSize(s->PageWidth(), s->PageHeight()), QSize(16837, 11906));
        QVERIFY(w->DirtyFlag); // a turned page is an edit to be saved
        fx.frame->Toolbar1_ButtonClick(QStringLiteral("Hochformat"));
        QCOMPARE(QSize(s->PageWidth(), s->PageHeight()), QSize(11906, 16837));
        s->Undo();
        QCOMPARE(QSize(s->PageWidth(), s->PageHeight()), QSize(16837, 11906));
    }

    void startOption_data()
    {
        addColumns<QByteArray, bool>("content", "letterPath");
        QTest::newRow("noBrief") << QByteArray("\"noBrief\"\r\n") << false;
        QTest::newRow("case matters") << QByteArray("nobrief\r\n") << true;
    }
    void startOption()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, letterPath);
        ShellFixture fx;
        QVERIFY(writeAll(appState().WorkFolder + QStringLiteral("Kontorix.txt"), content));
        QVERIFY(fx.start());
        fx.flush();
        QCOMPARE(fx.frame->documents().size(), 1);
        QCOMPARE(fx.frame->existingSharedWindow() != nullptr, letterPath);
        // The letter path asks nothing but the composer.
        QCOMPARE(fx.prompts->asked.size(), letterPath ? 1 : 0);
        if (letterPath)
            QCOMPARE(fx.prompts->last().text, QStringLiteral("frmBrief"));
        // Activation happens once.
        fx.frame->MDIForm_Activate();
        QCOMPARE(fx.frame->documents().size(), 1);
    }

    void commandLineOpensQuotedFile()
    {
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/Mein Brief.txt");
        QVERIFY(writeAll(path, "Hallo Welt\r\n"));
        ShellFixture fx(QLatin1Char('"') + path + QLatin1Char('"'));
        QVERIFY(writeAll(appState().WorkFolder + QStringLiteral("Kontorix.txt"), "\"Brief\"\r\n"));
        QVERIFY(fx.start());
        fx.flush();
        QCOMPARE(appState().CommandFile, path);
        QVERIFY(!fx.frame->existingSharedWindow()); // no letter command
        const QList<frmMDIChild*> docs = fx.frame->documents();
        QCOMPARE(docs.size(), 2);
        // The title spells the path as the file system does: an upper-case copy would
        // name a file that does not exist.
        QCOMPARE(docs[1]->Title(), path);
        QCOMPARE(docs[1]->windowTitle(), path);
        QCOMPARE(docs[1]->surface()->Text().trimmed(), QStringLiteral("Hallo Welt"));
    }

    void programEndAsksEachChangedWindow()
    {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        QPointer<frmMDIChild> a = fx.newDocument();
        QTest::keyClicks(a->surface(), QStringLiteral("a"));
        QPointer<frmMDIChild> b = fx.newDocument();
        QTest::keyClicks(b->surface(), QStringLiteral("b"));
        fx.newDocument(); // unchanged: asks nothing
        fx.prompts->answerMessage(QMessageBox::No);
        fx.prompts->answerMessage(QMessageBox::Cancel);
        fx.frame->findChild<QToolBar*>(QStringLiteral("Toolbar1"))
            ->findChild<QAction*>(QStringLiteral("Ende"))
            ->trigger();
        fx.flush();
        QCOMPARE(fx.prompts->count(QStringLiteral("message")), 2);
        QVERIFY(fx.frame->isVisible());
        QVERIFY(a.isNull());
        QVERIFY(!b.isNull());

        // Ending again: only the second asks; No lets the program end.
        fx.prompts->clear();
        fx.prompts->answerMessage(QMessageBox::No);
        QVERIFY(fx.frame->close());
        QCOMPARE(fx.prompts->count(QStringLiteral("message")), 1);
    }

};

QTEST_MAIN(TestFrame)
#include "tst_frame.moc"
