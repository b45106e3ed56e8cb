#include "ShellFixture.h"
#include "TestFiles.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>

namespace {

QAction* item(QObject* w, const QString& name)
{
    auto* a = w->findChild<QAction*>(name);
    if (!a)
        qWarning("no item %s", qPrintable(name));
    return a;
}

QMenu* menu(QObject* w, const QString& name) { return w->findChild<QMenu*>(name); }

struct MenuRow {
    QString caption;
    QKeySequence key;
};

// Visible entries of a menu; separators as "-".
QList<MenuRow> rows(QMenu* m)
{
    QList<MenuRow> out;
    for (QAction* a : m->actions())
        if (a->isVisible())
            out.append({a->isSeparator() ? QStringLiteral("-") : a->text(), a->shortcut()});
    return out;
}

QStringList captions(QMenu* m)
{
    QStringList out;
    for (const MenuRow& r : rows(m))
        out << r.caption;
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

    void newWindowSettings()
    {
        QCOMPARE(w->Title(), QStringLiteral("Unbenannt"));
        QCOMPARE(w->windowTitle(), QStringLiteral("Unbenannt"));
        QVERIFY(!w->DirtyFlag);
        QCOMPARE(w->Unit, 2);
        TextControl* s = w->findChild<TextControl*>(QStringLiteral("TXTextControl1"));
        QCOMPARE(s, w->surface());
        QVERIFY(w->findChild<QWidget*>(QStringLiteral("TXRuler1")));
        QCOMPARE(s->ViewMode(), 2);
        QCOMPARE(QSize(s->PageWidth(), s->PageHeight()), QSize(11906, 16837));
        QCOMPARE(s->LoadSaveAttribute(38).toBool(), true);
        QVERIFY(!s->CanUndo());
        QVERIFY(w->close()); // unchanged: nothing to ask
        QCOMPARE(fx->prompts->asked.size(), 0);
    }

    void closeCheck_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<int>("saveDialogs");
        QTest::addColumn<QString>("saveAs"); // the name given in the save dialog
        QTest::newRow("cancel keeps") << int(QMessageBox::Cancel) << false << 0 << QString();
        QTest::newRow("no closes") << int(QMessageBox::No) << true << 0 << QString();
        QTest::newRow("yes, dialog cancelled, keeps") << int(QMessageBox::Yes) << false << 1 << QString();
        QTest::newRow("yes, saved, closes") << int(QMessageBox::Yes) << true << 1 << "brief";
    }
    void closeCheck()
    {
        QFETCH(int, answer);
        QFETCH(bool, closes);
        QFETCH(int, saveDialogs);
        QFETCH(QString, saveAs);
        const QPointer<frmMDIChild> ptr(w);
        QTest::keyClicks(w->surface(), QStringLiteral("x"));
        QVERIFY(w->DirtyFlag);
        QTemporaryDir dir;
        fx->prompts->answerMessage(QMessageBox::StandardButton(answer));
        if (!saveAs.isEmpty())
            fx->prompts->answerSaveFile(dir.filePath(saveAs), 6);
        QCOMPARE(w->close(), closes);
        fx->flush();
        QCOMPARE(ptr.isNull(), closes);
        QCOMPARE(fx->prompts->count(QStringLiteral("message")), 1);
        const ScriptedPrompter::Asked& q = fx->prompts->asked.first();
        QCOMPARE(q.title, QStringLiteral(" Textverarbeitung"));
        QCOMPARE(q.text, QStringLiteral("Der Inhalt von [Unbenannt] wurde verändert.\r\n"
                                        "Wollen Sie die Änderungen speichern?"));
        QCOMPARE(q.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(q.icon, Prompter::Icon::Exclamation);
        QCOMPARE(fx->prompts->count(QStringLiteral("save")), saveDialogs);
        if (saveDialogs)
            QCOMPARE(fx->prompts->last().title, QStringLiteral("Speichern unter"));
        if (!saveAs.isEmpty())
            QCOMPARE(readAll(dir.filePath(saveAs + QStringLiteral(".txt"))), QByteArray("x"));
        else if (!closes)
            QVERIFY(w->DirtyFlag);
    }

    void undoCaptions()
    {
        QAction* undo = item(w, QStringLiteral("mnuEdit_Undo"));
        QAction* redo = item(w, QStringLiteral("mnuEdit_Redo"));
        Q_EMIT menu(w, QStringLiteral("mnuEdit"))->aboutToShow();
        QCOMPARE(undo->text(), QStringLiteral("Rückgängig"));
        QVERIFY(!undo->isEnabled());
        QVERIFY(!redo->isEnabled());
        QVERIFY(!item(w, QStringLiteral("mnuEdit_Copy"))->isEnabled());

        QTest::keyClicks(w->surface(), QStringLiteral("abc"));
        Q_EMIT menu(w, QStringLiteral("mnuEdit"))->aboutToShow();
        QCOMPARE(undo->text(), QStringLiteral("Rückgängig Eingabe"));
        QVERIFY(undo->isEnabled());
        undo->trigger();
        Q_EMIT menu(w, QStringLiteral("mnuEdit"))->aboutToShow();
        QCOMPARE(redo->text(), QStringLiteral("Wiederholen Eingabe"));
        QVERIFY(redo->isEnabled());
    }

    void resizeSetsZoomAndZoomItemsOverride()
    {
        w->resize(400, 300); // 6000 twips
        QCOMPARE(w->surface()->ZoomFactor(), 48);
        item(w, QStringLiteral("mnuView_ZoomItem(8)"))->trigger();
        QCOMPARE(w->surface()->ZoomFactor(), 200);
        QMenu* view = menu(w, QStringLiteral("mnuView"));
        auto checkedZoom = [&] {
            Q_EMIT view->aboutToShow();
            int checked = 0;
            for (int i = 1; i <= 11; ++i)
                if (item(w, QStringLiteral("mnuView_ZoomItem(%1)").arg(i))->isChecked())
                    checked = checked ? -1 : i;
            return checked;
        };
        QCOMPARE(checkedZoom(), 8);
        w->resize(500, 300);
        QCOMPARE(w->surface()->ZoomFactor(), 60);
        QCOMPARE(checkedZoom(), 0);
        // The surface fills the window below the ruler.
        QWidget* ruler = w->ruler();
        QCOMPARE(w->surface()->geometry().top(), ruler->geometry().bottom() + 1);
        item(w, QStringLiteral("mnuView_Ruler"))->trigger();
        QVERIFY(ruler->isHidden());
        QVERIFY(!item(w, QStringLiteral("mnuView_Ruler"))->isChecked());
        QCOMPARE(w->surface()->geometry().top(), 0);
    }

    void viewMenu()
    {
        QMenu* view = menu(w, QStringLiteral("mnuView"));
        QAction* hf = item(w, QStringLiteral("mnuView_HeaderFooter"));
        item(w, QStringLiteral("mnuView_Layout(0)"))->trigger();
        QCOMPARE(w->surface()->ViewMode(), 0);
        Q_EMIT view->aboutToShow();
        QVERIFY(!hf->isEnabled());
        QVERIFY(item(w, QStringLiteral("mnuView_Layout(0)"))->isChecked());
        item(w, QStringLiteral("mnuView_Layout(1)"))->trigger();
        QCOMPARE(w->surface()->ViewMode(), 1);
        Q_EMIT view->aboutToShow();
        QVERIFY(hf->isEnabled());
        QVERIFY(!item(w, QStringLiteral("mnuView_Layout(0)"))->isChecked());

        // Control characters.
        item(w, QStringLiteral("mnuView_ControlChars"))->trigger();
        QVERIFY(w->surface()->ControlChars());

        // The bars belong to the frame; each window keeps its own check mark.
        frmMDIChild* other = fx->newDocument();
        auto* status = fx->frame->findChild<QStatusBar*>(QStringLiteral("TXStatusBar1"));
        QVERIFY(status->isVisible());
        item(w, QStringLiteral("mnuView_StatusBar"))->trigger();
        QVERIFY(status->isHidden());
        QVERIFY(!item(w, QStringLiteral("mnuView_StatusBar"))->isChecked());
        QVERIFY(item(other, QStringLiteral("mnuView_StatusBar"))->isChecked());
        item(other, QStringLiteral("mnuView_StatusBar"))->trigger();
        QVERIFY(!status->isHidden());
        auto* toolbar = fx->frame->findChild<QToolBar*>(QStringLiteral("Toolbar1"));
        item(w, QStringLiteral("mnuView_Toolbar"))->trigger();
        QVERIFY(toolbar->isHidden());
    }

    void menuCaptionsAndShortcuts()
    {
        QStringList bar;
        for (QMenu* m : w->menus())
            bar << m->title();
        QCOMPARE(bar, QStringList({"&Datei", "&Bearbeiten", "&Ansicht", "Ei&nfügen", "F&ormat",
                                   "&Tabelle", "&Extras", "&Fenster", "&Hilfe"}));
        QCOMPARE(captions(menu(w, QStringLiteral("mnuFile"))),
                 QStringList({"&Neu", "&Öffnen...", "S&chließen", "&Speichern",
                              "Speichern &unter", "&Export...", "-", "Seite einrichten",
                              "Druck&vorschau", "&Drucken", "Drucken alle", "-",
                              "Dateien [TXM} mit QX-Text.exe verknüpen", "-", "&Beenden"}));
        QCOMPARE(captions(menu(w, QStringLiteral("mnuEdit"))),
                 QStringList({"&Rückgängig", "&Wiederholen", "-", "&Ausschneiden", "&Kopieren",
                              "&Einfügen", "&Löschen", "-", "&Suchen...", "&Esetzen...", "-",
                              "Alles &Markieren"}));
        const QList<MenuRow> edit = rows(menu(w, QStringLiteral("mnuEdit")));
        QCOMPARE(edit[0].key, QKeySequence(QStringLiteral("Ctrl+Z")));
        QCOMPARE(edit[1].key, QKeySequence(QStringLiteral("Ctrl+Y")));
        QCOMPARE(edit[6].key, QKeySequence(QStringLiteral("Del")));
        QCOMPARE(edit[9].key, QKeySequence(QStringLiteral("Ctrl+H")));
        QCOMPARE(edit[11].key, QKeySequence(QStringLiteral("Ctrl+A")));
        const QList<MenuRow> file = rows(menu(w, QStringLiteral("mnuFile")));
        QCOMPARE(file[0].key, QKeySequence(QStringLiteral("Ctrl+N")));
        QCOMPARE(file[9].key, QKeySequence(QStringLiteral("Ctrl+P")));
        QCOMPARE(captions(menu(w, QStringLiteral("mnuView"))),
                 QStringList({"&Normal", "&Layout", "&Zentriert ", "-", "&Kopf und Fußzeilen",
                              "Nur K&opfzeile", "Nur F&ußzeile", "-", "&Symbolleiste",
                              "&Formatierungsleiste", "&Lineal", "&Status Zeile", "-",
                              "Steuer&zeichen", "Informationen aktives Feld",
                              "Aktives Feld löschen", "-", "&Zoom"}));
        QCOMPARE(captions(menu(w, QStringLiteral("mnuView_Zoom"))),
                 QStringList({"10%", "20%", "25%", "50%", "75%", "100%", "150%", "200%", "250%",
                              "300%", "400%"}));
        QVERIFY(item(w, QStringLiteral("mnuView_ZoomItem(6)"))->isChecked());
        QVERIFY(item(w, QStringLiteral("mnuView_Layout(2)"))->isChecked());
        for (const char* name : {"mnuView_Toolbar", "mnuView_FormatBar", "mnuView_Ruler",
                                 "mnuView_StatusBar"})
            QVERIFY(item(w, QLatin1String(name))->isChecked());
        QCOMPARE(captions(menu(w, QStringLiteral("mnuInsert"))),
                 QStringList({"&Text...", "&Grafik", "-", "Seitenzahlen", "Feld", "-",
                              "Textbaustein", "-", "&Seitenende", "&Hyperlink", "&Datum"}));
        QVERIFY(!item(w, QStringLiteral("mnuInsert_Vorlage"))->isVisible());
        QVERIFY(!menu(w, QStringLiteral("mnuObject"))->menuAction()->isVisible());
        QCOMPARE(captions(menu(w, QStringLiteral("mnuExtras"))),
                 QStringList({"&Kontorix", "&Serienbrief erstellen aus Kontorix", "-",
                              "Etiketten drucken", "Briefkuvert drucken", "-",
                              "Textbausteine &einfügen", "&Textbausteine erstellen/bearbeiten",
                              "-", "Lupe", "Taschen&rechner", "-", "Aktuelle Cursor - &Position",
                              "Anzahl Wörter ermitteln"}));
        QCOMPARE(captions(menu(w, QStringLiteral("mnuTable"))),
                 QStringList({"&Einfügen", "&Löschen", "&Markieren", "&Tabelle Linien",
                              "&Einstellungen..."}));
        QCOMPARE(captions(menu(w, QStringLiteral("mnuFormat_Lists"))),
                 QStringList({"&Attribute...", "Einzug ver&größern", "Einzug ver&kleinern", "-",
                              "1, 2, 3", "A, B, C", "a, b, c", "I, II, III, IV",
                              "i, ii, iii, iv", "Bullets"}));
        QCOMPARE(captions(menu(w, QStringLiteral("mnuHelp"))),
                 QStringList({"&Hilfe Kontorix", "Hilfe &Serienbriefe", "Hilfe &Etiketten",
                              "&Info..."}));
    }

    void windowMenuListsWindows()
    {
        frmMDIChild* a = w;
        frmMDIChild* b = fx->newDocument();
        b->setTitle(QStringLiteral("/TMP/B.TXM"));
        QMenu* m = menu(a, QStringLiteral("mnuWindow"));
        Q_EMIT m->aboutToShow();
        Q_EMIT m->aboutToShow(); // a second opening does not repeat the list
        QCOMPARE(captions(m), QStringList({"Über&lappend", "&Übereinander", "&Nebeneinander",
                                           "&Symbole anordnen", "-", "&1 Unbenannt",
                                           "&2 /TMP/B.TXM"}));
        QVERIFY(item(a, QStringLiteral("mnuWindowList(2)"))->isChecked());
        item(a, QStringLiteral("mnuWindowList(1)"))->trigger();
        QCOMPARE(fx->frame->activeDocument(), a);

        item(a, QStringLiteral("mnuWindow_TileH"))->trigger();
        QCOMPARE(a->width(), b->width());
        QVERIFY(b->y() >= a->y() + a->height() - 1);
        item(a, QStringLiteral("mnuWindow_TileV"))->trigger();
        QCOMPARE(a->height(), b->height());
        QVERIFY(b->x() >= a->x() + a->width() - 1);
    }

    void insertKeyTogglesOverwrite()
    {
        QVERIFY(w->surface()->InsertionMode());
        QTest::keyClick(w->surface(), Qt::Key_Insert);
        QVERIFY(!w->surface()->InsertionMode());
        QTest::keyClick(w->surface(), Qt::Key_Insert, Qt::ShiftModifier);
        QVERIFY(!w->surface()->InsertionMode());
        QTest::keyClick(w->surface(), Qt::Key_Insert);
        QVERIFY(w->surface()->InsertionMode());
    }

    void rightClickOpensEditMenuAndSetsMagnifierCaption()
    {
        QMenu* edit = menu(w, QStringLiteral("mnuEdit"));
        QTest::mouseClick(w->surface()->viewport(), Qt::RightButton, {}, QPoint(20, 20));
        QTRY_VERIFY(edit->isVisible());
        QCOMPARE(item(w, QStringLiteral("mnuLupe"))->text(), QStringLiteral("Lupe einschalten"));
        edit->hide();
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
        QCOMPARE(status->findChild<QLabel*>(QStringLiteral("page"))->text(),
                 QStringLiteral("Seite 1"));
        // Closing the last window leaves the bars without a surface.
        w->DirtyFlag = false;
        QVERIFY(w->close());
        fx->flush();
        QTRY_COMPARE(status->findChild<QLabel*>(QStringLiteral("column"))->text(),
                     QStringLiteral("Spalte"));
    }

private:
    std::unique_ptr<ShellFixture> fx;
    frmMDIChild* w = nullptr;
};

QTEST_MAIN(TestDocWindow)
#include "tst_docwindow.moc"
