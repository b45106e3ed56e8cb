#include "engine/TextControl.h"

#include <QTest>
#include <QTextCursor>

// Undo and redo kinds as the edit menu reads them, through real keystrokes.
class TestUndoKinds : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        tc = new TextControl;
        tc->resize(700, 400);
        tc->show();
    }
    void cleanup() { delete tc; }

    void typedStepsAndTheirKinds_data()
    {
        QTest::addColumn<QString>("keys"); // see type()
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("undoKind");
        QTest::addColumn<QString>("undone"); // after one undo
        QTest::addColumn<int>("undoneKind");
        QTest::addColumn<int>("redoKind");
        QTest::newRow("empty") << "" << "" << 0 << "" << 0 << 0;
        QTest::newRow("typing") << "Hallo" << "Hallo" << 1 << "" << 0 << 10;
        QTest::newRow("two backspaces are one step") << "abc<<" << "a" << 2 << "abc" << 1 << 11;
        QTest::newRow("moving the caret starts a step") << "abc|x" << "xabc" << 1 << "abc" << 1 << 10;
        QTest::newRow("AltGr character is typing") << "a@b" << "a@b" << 1 << "" << 0 << 10;
        QTest::newRow("format without selection") << "ab/" << "ab" << 1 << "" << 0 << 10;
    }
    void typedStepsAndTheirKinds()
    {
        QFETCH(QString, keys);
        QFETCH(QString, text);
        QFETCH(int, undoKind);
        QFETCH(int, undoneKind);
        type(keys);
        QCOMPARE(tc->Text(), text);
        QCOMPARE(tc->UndoKind(), undoKind);
        QCOMPARE(tc->RedoKind(), 0);
        QCOMPARE(tc->CanUndo(), undoKind != 0);
        tc->Undo();
        QTEST(tc->Text(), "undone");
        QCOMPARE(tc->UndoKind(), undoneKind);
        QCOMPARE(tc->CanUndo(), undoneKind != 0);
        QTEST(tc->RedoKind(), "redoKind");
        tc->Redo();
        QCOMPARE(tc->Text(), text);
        QCOMPARE(tc->UndoKind(), undoKind);
        QCOMPARE(tc->RedoKind(), 0);
    }

    void newEditCutsRedoTail()
    {
        type(QStringLiteral("abc<"));
        tc->Undo();
        QCOMPARE(tc->RedoKind(), 11);
        QTest::keyClicks(tc, QStringLiteral("x"));
        QCOMPARE(tc->Text(), QStringLiteral("abcx"));
        QCOMPARE(tc->UndoKind(), 1);
        QCOMPARE(tc->RedoKind(), 0);
        QVERIFY(!tc->CanRedo());
        tc->Undo(); // only the new typing, not merged into the old one
        QCOMPARE(tc->Text(), QStringLiteral("abc"));
        QCOMPARE(tc->UndoKind(), 1);
        QCOMPARE(tc->RedoKind(), 10);
    }

    void keyboardUndoShortcutKeepsKinds()
    {
        QTest::keyClicks(tc, QStringLiteral("ab"));
        QTest::keyClick(tc, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(tc->Text(), QString());
        QCOMPARE(tc->RedoKind(), 10);
        QTest::keyClick(tc, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(tc->Text(), QStringLiteral("ab"));
        QCOMPARE(tc->UndoKind(), 1);
    }

    void apiEditsAreLabelled_data()
    {
        QTest::addColumn<int>("action");
        QTest::addColumn<int>("kind");
        QTest::newRow("SelText") << 0 << 1;
        QTest::newRow("Clip delete") << 1 << 2;
        QTest::newRow("Clip cut") << 2 << 2;
        QTest::newRow("alignment") << 3 << 3;
        QTest::newRow("tab stop") << 4 << 3;
        QTest::newRow("colour") << 5 << 3;
    }
    void apiEditsAreLabelled()
    {
        QFETCH(int, action);
        QFETCH(int, kind);
        tc->setText(QStringLiteral("eins zwei"));
        tc->setSelStart(0);
        tc->setSelLength(4);
        switch (action) {
        case 0: tc->setSelText(QStringLiteral("drei")); break;
        case 1: tc->Clip(4); break;
        case 2: tc->Clip(1); break;
        case 3: tc->setAlignment(2); break;
        case 4: tc->addTabStop(1134); break;
        case 5: tc->setForeColor(Qt::red); break;
        }
        QCOMPARE(tc->UndoKind(), kind);
        const QString after = tc->Text();
        tc->Undo();
        QCOMPARE(tc->Text(), QStringLiteral("eins zwei"));
        QCOMPARE(tc->RedoKind(), kind + 9);
        tc->Redo();
        QCOMPARE(tc->Text(), after);
    }

    void foreignStepCountsAsOther()
    {
        QTest::keyClicks(tc, QStringLiteral("ab"));
        // Not next to the typing, so Qt keeps it a step of its own.
        QTextCursor c(tc->document());
        c.insertText(QStringLiteral("zz"));
        QCOMPARE(tc->UndoKind(), 4);
        tc->Undo();
        QCOMPARE(tc->Text(), QStringLiteral("ab"));
        QCOMPARE(tc->UndoKind(), 1);
        QCOMPARE(tc->RedoKind(), 13);
        tc->Redo();
        QCOMPARE(tc->Text(), QStringLiteral("zzab"));
        QCOMPARE(tc->UndoKind(), 4);
    }

    void foreignInsertNextToTypingJoinsIt()
    {
        // Qt merges an adjacent insertion into the typing step; the label follows it.
        QTest::keyClicks(tc, QStringLiteral("ab"));
        QTextCursor c(tc->document());
        c.movePosition(QTextCursor::End);
        c.insertText(QStringLiteral("zz"));
        QCOMPARE(tc->UndoKind(), 1);
        tc->Undo();
        QCOMPARE(tc->Text(), QString());
        QCOMPARE(tc->UndoKind(), 0);
    }

    void framedStepFromOutside()
    {
        tc->beginEditStep(2);
        QTextCursor c(tc->document());
        c.insertText(QStringLiteral("x"));
        c.insertText(QStringLiteral("y"));
        tc->endEditStep();
        QCOMPARE(tc->UndoKind(), 2);
        tc->Undo();
        QVERIFY(!tc->CanUndo());
    }

private:
    // Types keys; '<' is Backspace, '|' Home, '@' typed with AltGr, '/' italic at the caret.
    void type(const QString& keys)
    {
        for (QChar k : keys) {
            if (k == QLatin1Char('<'))
                QTest::keyClick(tc, Qt::Key_Backspace);
            else if (k == QLatin1Char('|'))
                QTest::keyClick(tc, Qt::Key_Home);
            else if (k == QLatin1Char('@'))
                QTest::keyClick(tc, Qt::Key_At, Qt::ControlModifier | Qt::AltModifier);
            else if (k == QLatin1Char('/'))
                tc->setFontItalic(true);
            else
                QTest::keyClicks(tc, QString(k));
        }
    }

    TextControl* tc = nullptr;
};

QTEST_MAIN(TestUndoKinds)
#include "tst_undokinds.moc"
