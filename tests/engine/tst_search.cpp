#include "TestFiles.h"
#include "app/ScriptedPrompter.h"
#include "engine/FindDialog.h"
#include "engine/SearchEngine.h"
#include "engine/TextControl.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextDocument>

class TestSearch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        prompts = installScriptedPrompter();
        tc = new TextControl;
    }
    void cleanup() { delete tc; }

    void replaceAllCounts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("what");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("wholeWords");
        QTest::addColumn<QString>("with");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("result");
        const QString t = QStringLiteral("Haus haus Hausaufgabe HAUS");
        QTest::newRow("any") << t << "haus" << false << false << "X" << 4 << "X X Xaufgabe X";
        QTest::newRow("case") << t << "haus" << true << false << "X" << 1 << "Haus X Hausaufgabe HAUS";
        QTest::newRow("words") << t << "haus" << false << true << "X" << 3 << "X X Hausaufgabe X";
        QTest::newRow("case+words") << t << "Haus" << true << true << "X" << 1 << "X haus Hausaufgabe HAUS";
        QTest::newRow("umlaut case") << "Übel übel" << "übel" << false << false << "X" << 2 << "X X";
        QTest::newRow("none") << t << "Garten" << false << false << "X" << 0 << t;
        QTest::newRow("adjacent") << "aa" << "a" << false << false << "X" << 2 << "XX";
        QTest::newRow("replacement contains term") << "a b a" << "a" << false << false << "aa" << 2 << "aa b aa";
    }
    void replaceAllCounts()
    {
        QFETCH(QString, text);
        QFETCH(QString, what);
        QFETCH(bool, matchCase);
        QFETCH(bool, wholeWords);
        QFETCH(QString, with);
        QTextDocument doc(text);
        SearchEngine e(&doc);
        SearchOptions o;
        o.matchCase = matchCase;
        o.wholeWords = wholeWords;
        QTEST(e.replaceAll(what, with, o), "count");
        QTEST(doc.toPlainText(), "result");
    }

    void findBothDirections()
    {
        QTextDocument doc(QStringLiteral("eins zwei eins zwei"));
        SearchEngine e(&doc);
        QTextCursor c(&doc);
        c.setPosition(6);
        SearchOptions o;
        QTextCursor m = e.find(QStringLiteral("eins"), c, o);
        QCOMPARE(m.selectionStart(), 10);
        o.backward = true;
        m = e.find(QStringLiteral("eins"), c, o);
        QCOMPARE(m.selectionStart(), 0);
        // From a match, backward finds the one before, not itself.
        m = e.find(QStringLiteral("eins"), e.find(QStringLiteral("eins"), m, SearchOptions{}), o);
        QCOMPARE(m.selectionStart(), 0);
        QVERIFY(e.find(QString(), c, o).isNull());
        QVERIFY(e.selectsMatch(m, QStringLiteral("EINS"), {}));
        SearchOptions cs;
        cs.matchCase = true;
        QVERIFY(!e.selectsMatch(m, QStringLiteral("EINS"), cs));
    }

    void dialogsAreGermanAndModeless()
    {
        tc->FindReplace(1);
        FindDialog* d = tc->findDialog();
        QVERIFY(d);
        QCOMPARE(d->windowTitle(), QStringLiteral("Suchen"));
        QVERIFY(!d->isModal());
        QVERIFY(d->isVisible());
        QVERIFY(d->findChild<QPushButton*>(QStringLiteral("replace"))->isHidden());
        QCOMPARE(d->findChild<QPushButton*>(QStringLiteral("findNext"))->text().remove(QLatin1Char('&')),
                 QStringLiteral("Weitersuchen"));
        QCOMPARE(d->findChild<QPushButton*>(QStringLiteral("cancel"))->text(), QStringLiteral("Abbrechen"));
        tc->FindReplace(2);
        QCOMPARE(tc->findDialog(), d); // one dialog per surface
        QCOMPARE(d->windowTitle(), QStringLiteral("Ersetzen"));
        QVERIFY(!d->findChild<QPushButton*>(QStringLiteral("replaceAll"))->isHidden());
        QVERIFY(!d->findChild<QPushButton*>(QStringLiteral("findNext"))->isEnabled());
    }

    void findWrapsAfterAsking_data()
    {
        QTest::addColumn<bool>("up");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("wrapped");
        QTest::addColumn<QString>("question");
        QTest::newRow("down") << false << 3 << 12 << 0
                              << "Das Ende des Dokuments wurde erreicht.\r\nSoll am Anfang weitergesucht werden?";
        QTest::newRow("up") << true << 10 << 0 << 12
                            << "Der Anfang des Dokuments wurde erreicht.\r\nSoll am Ende weitergesucht werden?";
    }
    void findWrapsAfterAsking()
    {
        QFETCH(bool, up);
        QFETCH(int, start);
        QFETCH(int, first);
        tc->setText(QStringLiteral("Apfel Birne Apfel"));
        tc->setSelStart(start);
        FindDialog* d = open(1, QStringLiteral("apfel"));
        d->findChild<QRadioButton*>(QStringLiteral("up"))->setChecked(up);
        QVERIFY(d->findNext());
        QCOMPARE(tc->SelStart(), first);
        QCOMPARE(tc->SelLength(), 5);
        QCOMPARE(prompts->count(QStringLiteral("message")), 0);
        prompts->answerMessage(QMessageBox::Yes);
        QVERIFY(d->findNext());
        QTEST(prompts->last().text, "question");
        QTEST(tc->SelStart(), "wrapped");
        // Declining the wrap keeps the selection.
        tc->setSelStart(first);
        tc->setSelLength(5);
        prompts->answerMessage(QMessageBox::No);
        QVERIFY(!d->findNext());
        QCOMPARE(tc->SelStart(), first);
    }

    void notFoundIsTold()
    {
        tc->setText(QStringLiteral("Apfel"));
        FindDialog* d = open(1, QStringLiteral("apfel"));
        d->findChild<QCheckBox*>(QStringLiteral("matchCase"))->setChecked(true);
        QVERIFY(!d->findNext());
        QCOMPARE(prompts->count(QStringLiteral("message")), 1);
        QCOMPARE(prompts->last().text, QStringLiteral("Der Suchbegriff wurde nicht gefunden."));
        QCOMPARE(prompts->last().title, QStringLiteral("Suchen"));
    }

    void replaceAllIsOneStepAndTellsTheCount()
    {
        tc->setText(QStringLiteral("Tag Tag Tage"));
        tc->document()->clearUndoRedoStacks();
        FindDialog* d = open(2, QStringLiteral("Tag"));
        d->findChild<QCheckBox*>(QStringLiteral("wholeWords"))->setChecked(true);
        d->findChild<QLineEdit*>(QStringLiteral("replaceWith"))->setText(QStringLiteral("Nacht"));
        QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("replaceAll")), Qt::LeftButton);
        QCOMPARE(tc->Text(), QStringLiteral("Nacht Nacht Tage"));
        QCOMPARE(prompts->last().text, QStringLiteral("2 Stellen wurden ersetzt."));
        QCOMPARE(prompts->last().title, QStringLiteral("Ersetzen"));
        tc->Undo();
        QCOMPARE(tc->Text(), QStringLiteral("Tag Tag Tage"));
        QVERIFY(!tc->CanUndo());
    }

    void replaceOneThenFindNext()
    {
        tc->setText(QStringLiteral("rot grün rot"));
        tc->setSelStart(0);
        FindDialog* d = open(2, QStringLiteral("rot"));
        d->findChild<QLineEdit*>(QStringLiteral("replaceWith"))->setText(QStringLiteral("blau"));
        // Nothing selected yet: the first press only finds.
        QVERIFY(!d->replaceCurrent());
        QCOMPARE(tc->SelText(), QStringLiteral("rot"));
        QVERIFY(d->replaceCurrent());
        QCOMPARE(tc->Text(), QStringLiteral("blau grün rot"));
        QCOMPARE(tc->SelStart(), 10); // the next match is selected
        QCOMPARE(tc->UndoKind(), 1);
    }

private:
    FindDialog* open(int mode, const QString& what)
    {
        tc->FindReplace(mode);
        FindDialog* d = tc->findDialog();
        d->findChild<QLineEdit*>(QStringLiteral("findWhat"))->setText(what);
        return d;
    }

    TextControl* tc = nullptr;
    ScriptedPrompter* prompts = nullptr;
};

QTEST_MAIN(TestSearch)
#include "tst_search.moc"
