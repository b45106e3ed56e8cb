#include "ShellFixture.h"

#include "app/Folders.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QMenuBar>
#include <QMimeData>
#include <QUrl>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

namespace {

const QStringList kKeys = {
    "New", "Open", "Save", "Print", "PrintPreview", "Cut", "Copy", "Paste", "Undo", "Redo", "Find",
    "HeaderProperties", "SwitchBetweenHeaderAndFooter", "GoToFirstPage", "GoToDefault",
    "Schriften", "Kontorix", "Serienbrief", "Etiketten", "Querformat", "Hochformat", "Tabelle",
    "Rechner", "Ende"};

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
    void toolbarKeysInOrderWithTooltips()
    {
        ShellFixture fx;
        auto* bar = fx.frame->findChild<QToolBar*>(QStringLiteral("Toolbar1"));
        QVERIFY(bar);
        QStringList keys;
        QStringList tips;
        for (QAction* a : bar->actions()) {
            if (a->isSeparator())
                continue;
            keys << a->objectName();
            tips << a->toolTip();
            QVERIFY2(!a->icon().isNull(), qPrintable(a->objectName()));
            auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(a));
            QVERIFY(button);
            QCOMPARE(button->objectName(), a->objectName());
        }
        QCOMPARE(keys, kKeys);
        const QStringList expectedTips = {
            "Neu", "Öffnen", "Speichern", "Drucken", "Druckvorschau", "Ausschneiden",
            "Kopieren", "Einfügen", "Rückgängig", "Wiederholen", "Suchen",
            "Einstellungen Kopf und Fußzeile", "Umschalten zwischen Kopf und Fußzeile",
            "Kopf oder Fußzeile erste Seite", "Aktuelle Kopf oder Fußzeile", "Schrift auswählen",
            "Kontorix öffnen", "Serienkontorix", "Etiketten drucken", "Querformat", "Hochformat",
            "Tabelle einfügen", "Taschenrechner benutzen", "Textverarbeitung schließen"};
        QCOMPARE(tips, expectedTips);
        QCOMPARE(fx.frame->windowTitle(), QStringLiteral(" Textverarbeitung"));
        QVERIFY(fx.frame->findChild<QToolBar*>(QStringLiteral("TXButtonBar1")));
        QVERIFY(fx.frame->findChild<QStatusBar*>(QStringLiteral("TXStatusBar1")));
    }

    void loadPreparesWorkFolder()
    {
        ShellFixture fx;
        const AppState& app = appState();
        QCOMPARE(app.WorkFolder, fx.home.path() + QStringLiteral("QX-Kontorix/"));
        QCOMPARE(app.AddressFolder, fx.home.path() + QStringLiteral("Adresskartei/"));
        QCOMPARE(Folders::withSlash(QDir::currentPath()), app.WorkFolder);
        QCOMPARE(app.AddressDbPath, app.WorkFolder + QStringLiteral("address50.adr"));
        QVERIFY(!fx.frame->startAborted());
    }

    void frameMenuWithoutDocuments()
    {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        const QList<QAction*> top = fx.frame->menuBar()->actions();
        QCOMPARE(top.size(), 1);
        QCOMPARE(top.first()->text(), QStringLiteral("&Datei"));
        QMenu* file = top.first()->menu();
        QStringList visible;
        for (QAction* a : file->actions())
            if (a->isVisible())
                visible << a->text();
        QCOMPARE(visible, QStringList({"&Neu", "&Öffnen..."}));
        QVERIFY(file->findChild<QAction*>(QStringLiteral("mnuRecentFile(4)")) ||
                fx.frame->findChild<QAction*>(QStringLiteral("mnuRecentFile(4)")));

        // A document brings its own menus; closing it brings the frame's back.
        frmMDIChild* w = fx.newDocument();
        QCOMPARE(fx.frame->menuBar()->actions().size(), 9);
        QVERIFY(w->close());
        fx.flush();
        QCOMPARE(fx.frame->menuBar()->actions().size(), 1);
    }

    void toolbarEnabling()
    {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        fx.frame->UpdateToolbar();
        QCOMPARE(enabledOfNine(*fx.frame), QStringList());
        QVERIFY(enabled(*fx.frame, QStringLiteral("New")) && enabled(*fx.frame, QStringLiteral("Ende")));

        frmMDIChild* w = fx.newDocument();
        QVERIFY(fx.frame->IsDocumentActive());
        const QStringList always{"Save", "Print", "PrintPreview", "Find"};
        QCOMPARE(enabledOfNine(*fx.frame), always);
        // Typing and selecting refresh the toolbar through the position notification.
        QTest::keyClicks(w->surface(), QStringLiteral("Hallo"));
        QCOMPARE(enabledOfNine(*fx.frame), always + QStringList{"Undo"});
        w->surface()->setSelStart(0);
        w->surface()->setSelLength(-1);
        QCOMPARE(enabledOfNine(*fx.frame), always + QStringList({"Cut", "Copy", "Undo"}));

        // While the refresh switch is set, notifications leave the toolbar alone.
        appState().ToolbarRefreshOff = true;
        w->surface()->setSelLength(0);
        QVERIFY(enabled(*fx.frame, QStringLiteral("Copy")));
        appState().ToolbarRefreshOff = false;

        // Unloading the last window disables them again.
        w->DirtyFlag = false;
        QVERIFY(w->close());
        fx.flush();
        QCOMPARE(enabledOfNine(*fx.frame), QStringList());
    }

    void orientationSwapTwice_data()
    {
        QTest::addColumn<QString>("key");
        QTest::newRow("Querformat") << "Querformat";
        QTest::newRow("Hochformat") << "Hochformat";
    }
    void orientationSwapTwice()
    {
        QFETCH(QString, key);
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        frmMDIChild* w = fx.newDocument();
        TextControl* s = w->surface();
        QCOMPARE(s->PageWidth(), 11906);
        QCOMPARE(s->PageHeight(), 16837);
        fx.frame->findChild<QToolBar*>(QStringLiteral("Toolbar1"))->findChild<QAction*>(key)->trigger();
        QCOMPARE(QSize(s->PageWidth(), s->PageHeight()), QSize(16837, 11906));
        fx.frame->Toolbar1_ButtonClick(key);
        QCOMPARE(QSize(s->PageWidth(), s->PageHeight()), QSize(11906, 16837));
    }

    void headerFooterSwitchStoresOnlyForSwitch()
    {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        frmMDIChild* w = fx.newDocument();
        w->HeaderFooterActive = 2;
        fx.frame->Toolbar1_ButtonClick(QStringLiteral("SwitchBetweenHeaderAndFooter"));
        QCOMPARE(w->HeaderFooterActive, 8);
        fx.frame->Toolbar1_ButtonClick(QStringLiteral("GoToDefault"));
        QCOMPARE(w->HeaderFooterActive, 8); // the surface's event updates it, not the button
        // The three buttons stay off until a header or footer is being edited.
        for (const char* k : {"SwitchBetweenHeaderAndFooter", "GoToFirstPage", "GoToDefault"})
            QVERIFY(!enabled(*fx.frame, QLatin1String(k)));
        Q_EMIT w->surface()->HeaderFooterActivated(2);
        QCOMPARE(w->HeaderFooterActive, 2);
        QVERIFY(enabled(*fx.frame, QStringLiteral("SwitchBetweenHeaderAndFooter")));
        QVERIFY(enabled(*fx.frame, QStringLiteral("GoToDefault")));
        QVERIFY(!enabled(*fx.frame, QStringLiteral("GoToFirstPage")));
        Q_EMIT w->surface()->HeaderFooterLeft();
        QVERIFY(!enabled(*fx.frame, QStringLiteral("SwitchBetweenHeaderAndFooter")));
        QCOMPARE(w->HeaderFooterActive, 2);
    }

    void startOption_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no file
        QTest::addColumn<bool>("letterPath");
        QTest::newRow("noBrief") << QByteArray("\"noBrief\"\r\n") << false;
        QTest::newRow("case matters") << QByteArray("nobrief\r\n") << true;
        QTest::newRow("no file") << QByteArray() << true;
    }
    void startOption()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, letterPath);
        ShellFixture fx;
        if (!content.isEmpty())
            writeFile(appState().WorkFolder + QStringLiteral("Kontorix.txt"), content);
        QVERIFY(fx.start());
        fx.flush();
        QCOMPARE(fx.frame->documents().size(), 1);
        QCOMPARE(fx.frame->documents().first()->Title(), QStringLiteral("Unbenannt"));
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
        const QString path = dir.path() + QStringLiteral("/mein brief.txt");
        writeFile(path, "Hallo Welt\r\n");
        ShellFixture fx(QLatin1Char('"') + path + QLatin1Char('"'));
        writeFile(appState().WorkFolder + QStringLiteral("Kontorix.txt"), "\"Brief\"\r\n");
        QVERIFY(fx.start());
        fx.flush();
        QCOMPARE(appState().CommandFile, path);
        QVERIFY(!fx.frame->existingSharedWindow()); // no letter command
        const QList<frmMDIChild*> docs = fx.frame->documents();
        QCOMPARE(docs.size(), 2);
        QCOMPARE(docs.first()->Title(), QStringLiteral("Unbenannt"));
        QCOMPARE(docs[1]->Title(), path.toUpper());
        QCOMPARE(docs[1]->FilePath(), path);
        QCOMPARE(docs[1]->surface()->Text().trimmed(), QStringLiteral("Hallo Welt"));
    }

    void commandLineWithMissingFileStartsNormally()
    {
        ShellFixture fx(QStringLiteral("\"/nonexistent/brief.txm\""));
        QVERIFY(fx.start());
        fx.flush();
        QCOMPARE(fx.frame->documents().size(), 1);
        QVERIFY(fx.frame->existingSharedWindow());
        QCOMPARE(fx.prompts->asked.size(), 1);
        QCOMPARE(fx.prompts->last().kind, QStringLiteral("exec"));
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
        QVERIFY(a->DirtyFlag && b->DirtyFlag);
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

    void colourChoice()
    {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        frmMDIChild* w = fx.newDocument();
        const QColor before = w->surface()->ForeColor();
        fx.prompts->answerColour(std::nullopt);
        fx.frame->ChooseDocumentColour(1);
        QCOMPARE(fx.prompts->count(QStringLiteral("colour")), 1);
        QCOMPARE(w->surface()->ForeColor(), before);
        fx.prompts->answerColour(QColor(Qt::red));
        fx.frame->ChooseDocumentColour(1);
        QCOMPARE(w->surface()->ForeColor(), QColor(Qt::red));
        fx.prompts->answerColour(QColor(Qt::yellow));
        fx.frame->ChooseDocumentColour(2);
        QCOMPARE(w->surface()->TextBkColor(), QColor(Qt::yellow));
        QCOMPARE(w->surface()->ForeColor(), QColor(Qt::red));
    }

    void dropOpensFirstFile()
    {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        // A file that cannot be read: the load reports its error, which shows that the
        // drop reached it; the second file is not touched.
        QVERIFY(fx.frame->acceptDrops());
        fx.frame->OpenDroppedFiles({QUrl::fromLocalFile(QStringLiteral("/nonexistent-folder/a.txt")),
                                    QUrl::fromLocalFile(QStringLiteral("/nonexistent-folder/b.txt"))});
        QCOMPARE(fx.prompts->count(QStringLiteral("message")), 1);
        QVERIFY(fx.frame->documents().isEmpty());
    }

    void calculator_data()
    {
        QTest::addColumn<QString>("besideProgram"); // file name beside the program
        QTest::addColumn<QString>("inPath");        // file name in PATH
        QTest::addColumn<bool>("starts");
        QTest::newRow("desktop calculator") << "" << "galculator" << true;
        QTest::newRow("Rechner first") << "Rechner" << "xcalc" << true;
        QTest::newRow("none: a message") << "" << "" << false;
    }
    void calculator()
    {
        QFETCH(QString, besideProgram);
        QFETCH(QString, inPath);
        QFETCH(bool, starts);
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        QTemporaryDir program;
        QTemporaryDir bin;
        QTemporaryDir out;
        auto script = [&out](const QString& path, const QString& tag) {
            writeFile(path, "#!/bin/sh\n/usr/bin/touch '" + out.filePath(tag).toUtf8() + "'\n");
            QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
        };
        if (!besideProgram.isEmpty())
            script(program.filePath(besideProgram), QStringLiteral("own"));
        if (!inPath.isEmpty())
            script(bin.filePath(inPath), QStringLiteral("path"));
        appState().ProgramFolder = program.path() + QLatin1Char('/');
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", bin.path().toUtf8());
        fx.frame->RunCalculator();
        qputenv("PATH", oldPath);
        const QString expected = besideProgram.isEmpty() ? QStringLiteral("path") : QStringLiteral("own");
        if (starts)
            QTRY_VERIFY(QFile::exists(out.filePath(expected)));
        QTest::qWait(50);
        QCOMPARE(QDir(out.path()).entryList(QDir::Files).size(), starts ? 1 : 0);
        QCOMPARE(fx.prompts->asked.size(), starts ? 0 : 1);
        if (!starts)
            QVERIFY(fx.prompts->last().text.contains(QStringLiteral("Taschenrechner")));
    }

    void selectAllSelectsEverything()
    {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        frmMDIChild* w = fx.newDocument();
        w->surface()->setSelText(QStringLiteral("eins\r\nzwei"));
        fx.frame->EditSelectAll();
        QCOMPARE(w->surface()->SelStart(), 0);
        QCOMPARE(w->surface()->SelText(), QStringLiteral("eins\r\nzwei"));
    }
};

QTEST_MAIN(TestFrame)
#include "tst_frame.moc"
