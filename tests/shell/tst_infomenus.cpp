// The help menu, the word count item and the fonts button open their windows, and the
// help pictures of the letter composer and the address picker reach the help screens.

#include "ShellFixture.h"

#include "addresses/AdressenAuswaehlen.h"
#include "dialogs/frmFonts.h"
#include "letters/frmBrief.h"
#include "output/frmSerienKontorix.h"

#include <QAction>
#include <QLabel>
#include <QToolBar>

class TstInfoMenus : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void items_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("caption");
        QTest::newRow("Hilfe Kontorix") << "mnuHelpBrief" << "hilfe3" << "Hilfe Kontorix";
        QTest::newRow("Hilfe Serienbriefe") << "mnuHelp2" << "frmHilfeSerienbrief" << "  Hilfe Serienbrief";
        QTest::newRow("Hilfe Etiketten") << "mnuHelpEtikett" << "frmHilfeEtikett" << "Hilfe Etiketten";
        QTest::newRow("Info") << "mnuHelp_About" << "frmAbout" << "";
        QTest::newRow("Anzahl Wörter") << "mnuExtras_WordCount" << "frmWordCount" << "Statistik Dokument";
    }
    void items()
    {
        QFETCH(QString, item);
        QFETCH(QString, window);
        QFETCH(QString, caption);
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        frmMDIChild* w = fx.newDocument();
        w->surface()->setText(QStringLiteral("Ein Test"));
        QAction* a = w->findChild<QAction*>(item);
        QVERIFY(a);
        QVERIFY(a->isEnabled());
        bool refreshOff = false;
        fx.prompts->answerExec([&refreshOff](QDialog*) {
            refreshOff = appState().ToolbarRefreshOff;
            return int(QDialog::Rejected);
        });
        a->trigger();
        QCOMPARE(fx.prompts->count(QStringLiteral("exec")), 1);
        QCOMPARE(fx.prompts->last().text, window);
        if (!caption.isEmpty())
            QCOMPARE(fx.prompts->last().title, caption);
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
        QVERIFY(button && button->isEnabled());
        TextControl* target = nullptr;
        fx.prompts->answerExec([&target](QDialog* d) {
            if (auto* f = qobject_cast<frmFonts*>(d))
                target = f->document;
            return int(QDialog::Rejected);
        });
        button->trigger();
        QCOMPARE(fx.prompts->count(QStringLiteral("exec")), 1);
        QCOMPARE(fx.prompts->last().text, QStringLiteral("frmFonts"));
        QCOMPARE(target, w->surface());
    }

    void helpPictures()
    {
        ShellFixture fx;
        QVERIFY(fx.startEmpty());
        fx.newDocument();
        {
            frmBrief composer(appState());
            composer.Image1_Click();
        }
        {
            AdressenAuswaehlen picker(appState());
            picker.Image1_Click();
        }
        {
            frmSerienKontorix merge(appState(), SerialHost{});
            merge.Image1_Click();
        }
        QCOMPARE(fx.prompts->count(QStringLiteral("exec")), 3);
        QCOMPARE(fx.prompts->asked.at(0).text, QStringLiteral("hilfe3"));
        QCOMPARE(fx.prompts->asked.at(1).text, QStringLiteral("frmHilfeEtikett"));
        QCOMPARE(fx.prompts->asked.at(2).text, QStringLiteral("frmHilfeSerienbrief"));
    }
};

QTEST_MAIN(TstInfoMenus)
#include "tst_infomenus.moc"
