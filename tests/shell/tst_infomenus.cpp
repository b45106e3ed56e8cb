// The help menu, the word count item and the fonts button open their windows.

#include "ShellFixture.h"

#include "dialogs/frmFonts.h"

#include <QAction>
#include <QToolBar>

class TstInfoMenus : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void items_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("window");
        QTest::newRow("Hilfe Serienbriefe") << "mnuHelp2" << "frmHilfeSerienbrief";
        QTest::newRow("Anzahl Wörter") << "mnuExtras_WordCount" << "frmWordCount";
    }
    void items()
    {
        QFETCH(QString, item);
        QFETCH(QString, window);
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        frmMDIChild* w = fx.newDocument();
        w->surface()->setText(QStringLiteral("Ein Test"));
        QAction* a = w->findChild<QAction*>(item);
        QVERIFY(a && a->isEnabled());
        bool refreshOff = false;
        fx.prompts->answerExec([&refreshOff](QDialog*) {
            refreshOff = appState().ToolbarRefreshOff;
            return int(QDialog::Rejected);
        });
        a->trigger();
        QCOMPARE(fx.prompts->count(QStringLiteral("exec")), 1);
        QCOMPARE(fx.prompts->last().text, window);
        // The two letter help screens hold the toolbar still while they are up.
        QCOMPARE(refreshOff, item == QLatin1String("mnuHelpBrief") || item == QLatin1String("mnuHelp2"));
        QVERIFY(!appState().ToolbarRefreshOff);
    }

    void fontsButton()
    {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        frmMDIChild* w = fx.newDocument();
        QAction* button = fx.frame->findChild<QToolBar*>(QStringLiteral("Toolbar1"))
                              ->findChild<QAction*>(QStringLiteral("Schriften"));
        TextControl* target = nullptr;
        fx.prompts->answerExec([&target](QDialog* d) {
            if (auto* f = qobject_cast<frmFonts*>(d))
                target = f->document;
            return int(QDialog::Rejected);
        });
        button->trigger();
        QCOMPARE(target, w->surface());
    }
};

QTEST_MAIN(TstInfoMenus)
#include "tst_infomenus.moc"
