#include "TestCommon.h"
#include "engine/dialogs/FindDialog.h"
#include "engine/surface/SearchEngine.h"
#include "engine/surface/TextControl.h"


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
        addColumns<QString, QString, bool, bool, QString, int, QString>(
            "text", "what", "matchCase", "wholeWords", "with", "count", "result");
        const QString t = QStringLiteral("Haus haus Hausaufgabe HAUS");
        QTest::newRow("any") << t << "haus" << false << false << "X" << 4 << "X X Xaufgabe X";
        QTest::newRow("case") << t << "haus" << true << false << "X" << 1 << "Haus X Hausaufgabe HAUS";
        QTest::newRow("words") << t << "haus" << false << true << "X" << 3 << "X X Hausaufgabe X";
        QTest::newRow("umlaut, replacement contains term") << "Übel b übel" << "übel" << false << false << "übel übel" << 2 << "übel übel b übel übel";
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

    void findWrapsAfterAsking_data()
    {
        addColumns<bool, int, int, int, QString>("up", "start", "first", "wrapped", "question");
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
