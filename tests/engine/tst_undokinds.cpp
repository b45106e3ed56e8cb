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

    void emptyHasNoKinds()
    {
        QCOMPARE(tc->UndoKind(), 0);
        QCOMPARE(tc->RedoKind(), 0);
        QVERIFY(!tc->CanUndo());
    }

    void typingIsOneStep()
    {
        QTest::keyClicks(tc, QStringLiteral("Hallo"));
        QCOMPARE(tc->UndoKind(), 1);
        QCOMPARE(tc->RedoKind(), 0);
        tc->Undo();
        QCOMPARE(tc->Text(), QString());
        QCOMPARE(tc->UndoKind(), 0);
        QCOMPARE(tc->RedoKind(), 10);
        tc->Redo();
        QCOMPARE(tc->Text(), QStringLiteral("Hallo"));
        QCOMPARE(tc->UndoKind(), 1);
        QCOMPARE(tc->RedoKind(), 0);
    }

    void deletingAfterTyping()
    {
        QTest::keyClicks(tc, QStringLiteral("abc"));
        QTest::keyClick(tc, Qt::Key_Backspace);
        QTest::keyClick(tc, Qt::Key_Backspace);
        QCOMPARE(tc->Text(), QStringLiteral("a"));
        QCOMPARE(tc->UndoKind(), 2);
        tc->Undo(); // both backspaces are one step
        QCOMPARE(tc->Text(), QStringLiteral("abc"));
        QCOMPARE(tc->UndoKind(), 1);
        QCOMPARE(tc->RedoKind(), 11);
        tc->Undo();
        QCOMPARE(tc->RedoKind(), 10);
        tc->Redo();
        tc->Redo();
        QCOMPARE(tc->Text(), QStringLiteral("a"));
        QCOMPARE(tc->UndoKind(), 2);
    }

    void formattingASelection()
    {
        QTest::keyClicks(tc, QStringLiteral("Text"));
        tc->setSelStart(0);
        tc->setSelLength(-1);
        tc->setFontBold(true);
        QCOMPARE(tc->UndoKind(), 3);
        tc->Undo();
        QVERIFY(!tc->FontBold());
        QCOMPARE(tc->UndoKind(), 1);
        QCOMPARE(tc->RedoKind(), 12);
        tc->Redo();
        QVERIFY(tc->FontBold());
    }

    void formattingWithoutSelectionAddsNoStep()
    {
        QTest::keyClicks(tc, QStringLiteral("ab"));
        tc->setFontItalic(true);
        QCOMPARE(tc->UndoKind(), 1);
        tc->Undo();
        QVERIFY(!tc->CanUndo());
    }

    void newEditCutsRedoTail()
    {
        QTest::keyClicks(tc, QStringLiteral("abc"));
        QTest::keyClick(tc, Qt::Key_Backspace);
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

    void movingTheCaretStartsANewStep()
    {
        QTest::keyClicks(tc, QStringLiteral("abc"));
        QTest::keyClick(tc, Qt::Key_Home);
        QTest::keyClicks(tc, QStringLiteral("x"));
        tc->Undo();
        QCOMPARE(tc->Text(), QStringLiteral("abc"));
        tc->Undo();
        QCOMPARE(tc->Text(), QString());
    }

    void altGrCharactersAreTyping()
    {
        QTest::keyClicks(tc, QStringLiteral("a"));
        QTest::keyClick(tc, Qt::Key_At, Qt::ControlModifier | Qt::AltModifier);
        QTest::keyClick(tc, Qt::Key_B);
        QCOMPARE(tc->Text(), QStringLiteral("a@b"));
        QCOMPARE(tc->UndoKind(), 1);
        tc->Undo();
        QVERIFY(!tc->CanUndo());
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
    TextControl* tc = nullptr;
};

QTEST_MAIN(TestUndoKinds)
#include "tst_undokinds.moc"
