#include "Pixels.h"
#include "TestCommon.h"
#include "engine/dialogs/CharacterDialog.h"
#include "engine/Document.h"
#include "engine/surface/FragmentMimeData.h"
#include "engine/pages/Paginator.h"
#include "engine/surface/TextControl.h"

#include <QClipboard>
#include <QMimeData>
#include <QScrollBar>

namespace {
constexpr int kFieldId = QTextFormat::UserProperty + 1;
} // namespace

class TestTextControl : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        prompts = installScriptedPrompter();
        tc = new TextControl;
        tc->resize(900, 500);
        tc->show();
    }
    void cleanup() { delete tc; }

    void selTextLineEnds_data()
    {
        // pages: a form feed starts a new page
        addColumns<QString, int, QString, int>("input", "blocks", "text", "pages");
        QTest::newRow("CR") << QStringLiteral("a\rb\rc") << 3 << QStringLiteral("a\r\nb\r\nc") << 1;
        QTest::newRow("form feed") << QStringLiteral("a\fb") << 2 << QStringLiteral("a\r\nb") << 2;
    }
    void selTextLineEnds()
    {
        QFETCH(QString, input);
        QFETCH(int, pages);
        tc->setSelText(input);
        QTEST(tc->document()->blockCount(), "blocks");
        QTEST(tc->Text(), "text");
        QCOMPARE(tc->SelStart(), tc->document()->characterCount() - 1);
        QCOMPARE(tc->CurrentPages(), pages);
        QCOMPARE(tc->CurrentInputPosition().page, pages);
    }

    void copyPasteKeepsUserProperty()
    {
        tc->setText(QStringLiteral("vor Feld\rnach"));
        QTextCursor c(tc->document());
        c.setPosition(4);
        c.setPosition(8, QTextCursor::KeepAnchor);
        QTextCharFormat f;
        f.setProperty(kFieldId, 42);
        c.mergeCharFormat(f);
        tc->setSelStart(4);
        tc->setSelLength(6); // "Feld", the paragraph end, "n"
        tc->Clip(2);
        const QMimeData* md = QApplication::clipboard()->mimeData();
        QCOMPARE(md->text(), QStringLiteral("Feld\nn"));
        tc->setSelStart(tc->document()->characterCount() - 1);
        tc->Clip(3);
        QCOMPARE(tc->Text(), QStringLiteral("vor Feld\r\nnachFeld\r\nn"));
        QTextCursor probe(tc->document());
        probe.setPosition(15); // inside the pasted copy
        QCOMPARE(probe.charFormat().property(kFieldId).toInt(), 42);
        QCOMPARE(tc->UndoKind(), 1);
        // The byte form is what another instance receives; broken bytes insert nothing.
        const QByteArray bytes = md->data(FragmentMimeData::mimeType());
        QTextDocument other;
        QTextCursor o(&other);
        QVERIFY(!FragmentMimeData::insertEncoded(bytes.left(bytes.size() / 2), o));
        QVERIFY(FragmentMimeData::insertEncoded(bytes, o));
        QCOMPARE(other.toPlainText(), QStringLiteral("Feld\nn"));
        o.setPosition(1);
        QCOMPARE(o.charFormat().property(kFieldId).toInt(), 42);
    }

    void paragraphSpacingAndBreaksCount()
    {
        tc->setText(QStringLiteral("a\rb\rc\rd"));
        const int body = tc->PageHeight() - tc->PageMarginT() - tc->PageMarginB();
        // Space after "a" fills its page; "c" asks for a new page after itself.
        QTextCursor c(tc->document());
        QTextBlockFormat spaced;
        spaced.setBottomMargin(body / 15.0 - 5);
        c.mergeBlockFormat(spaced);
        c.movePosition(QTextCursor::NextBlock);
        c.movePosition(QTextCursor::NextBlock);
        QTextBlockFormat breakAfter;
        breakAfter.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysAfter);
        c.mergeBlockFormat(breakAfter);
        QCOMPARE(tc->CurrentPages(), 3);
        tc->setSelStart(2); // "b"
        QCOMPARE(tc->CurrentInputPosition().page, 2);
        tc->setSelStart(6); // "d"
        QCOMPARE(tc->CurrentInputPosition().page, 3);
        QCOMPARE(tc->CurrentInputPosition().line, 1);
    }

    void viewModes()
    {
        tc->setPageWidth(11906);
        tc->setViewMode(2);
        QApplication::processEvents();
        const double perTwip = tc->pixelsPerTwip();
        // The body is page-wide; the page's margins stand in its root frame.
        QCOMPARE(qRound(tc->document()->textWidth()), qRound(11906 * perTwip));
        // The page column is centred: equal grey on both sides.
        const int pageLeft = tc->textLeftX() - qRound(1134 * perTwip);
        const int pageRight = pageLeft + qRound(11906 * perTwip);
        const QScrollBar* vsb = tc->verticalScrollBar();
        const int innerRight = tc->contentsRect().right() + 1 - (vsb->isVisible() ? vsb->width() : 0);
        const int greyLeft = pageLeft - tc->contentsRect().left();
        const int greyRight = innerRight - pageRight;
        QVERIFY(greyLeft > 20);
        QVERIFY2(qAbs(greyLeft - greyRight) <= 2, qPrintable(QStringLiteral("%1 %2").arg(greyLeft).arg(greyRight)));
        // Grey outside the page, white in its margin beside the text.
        const QImage shot = tc->grab().toImage();
        const int y = tc->viewport()->geometry().center().y();
        QCOMPARE(shot.pixelColor(tc->contentsRect().left() + greyLeft / 2, y), QColor(0x80, 0x80, 0x80));
        QCOMPARE(shot.pixelColor(pageLeft + 5, y), QColor(Qt::white));
        QCOMPARE(shot.pixelColor(pageRight - 5, y), QColor(Qt::white));
        // The normal view keeps the window's width (zoomed) through resizing, zoom and page changes.
        tc->setViewMode(0);
        tc->resize(600, 500);
        tc->setZoomFactor(150);
        tc->setPageMarginL(3000);
        QApplication::processEvents();
        QVERIFY(qAbs(tc->document()->textWidth() * 1.5 - tc->viewport()->width()) <= 2);
    }

    void pagesAreThePrintedOnesInEveryView_data()
    {
        addColumns<int, int>("mode", "zoom");
        // The zoomed layout rounds line heights to whole pixels; the pages must not follow.
        QTest::newRow("layout zoomed") << 1 << 60;
        QTest::newRow("centred zoomed") << 2 << 250;
    }
    void pagesAreThePrintedOnesInEveryView()
    {
        QFETCH(int, mode);
        QFETCH(int, zoom);
        tc->setText(QString(QStringLiteral("Wort ")).repeated(40).append(QStringLiteral("\r")).repeated(60));
        tc->setPageMarginT(4000);
        tc->setPageMarginB(3000);
        tc->setPageMarginL(2500);
        tc->setViewMode(mode);
        tc->setZoomFactor(zoom);
        QList<InputPosition> narrow;
        for (int width : {300, 1400}) { // narrower and wider than the page
            tc->resize(width, 400);
            QApplication::processEvents();
            const int printed = tc->paginator()->pageCount();
            QVERIFY(printed >= 4);
            QCOMPARE(tc->CurrentPages(), printed);
            int lastPage = 1;
            int i = 0;
            for (int para : {0, 11, 23, 37, 52, 59}) {
                const int pos = tc->document()->findBlockByNumber(para).position() + 7;
                tc->setSelStart(pos);
                const InputPosition p = tc->CurrentInputPosition();
                QCOMPARE(p.page, tc->paginator()->pageOfPosition(pos));
                QVERIFY(p.page >= lastPage && p.page <= printed);
                lastPage = p.page;
                if (narrow.size() > i) { // the window's width changes no position
                    QCOMPARE(p.line, narrow.at(i).line);
                    QCOMPARE(p.column, narrow.at(i).column);
                } else {
                    narrow << p;
                }
                ++i;
                // The position names one place: going there comes back here.
                tc->setSelStart(0);
                tc->setCurrentInputPosition(p);
                QCOMPARE(tc->SelStart(), pos);
            }
            QVERIFY(lastPage >= printed - 1);
        }
    }

    void notifications()
    {
        QSignalSpy change(tc, &TextControl::Change);
        QString textWhenKeyDown = QStringLiteral("unset");
        connect(tc, &TextControl::KeyDown, this,
                [&](int key, Qt::KeyboardModifiers) {
                    if (key == Qt::Key_Q)
                        textWhenKeyDown = tc->Text();
                });
        QTest::keyClicks(tc, QStringLiteral("q b"));
        QCOMPARE(textWhenKeyDown, QString()); // told before the key is handled
        const int changes = change.count();
        const QImage before = tc->viewport()->grab().toImage();
        tc->setControlChars(true);
        QVERIFY(tc->viewport()->grab().toImage() != before);
        tc->setZoomFactor(150);
        tc->setSelStart(0);
        // Neither control characters, zoom nor moving is a change or an undo step.
        QCOMPARE(change.count(), changes);
        QCOMPARE(tc->UndoKind(), 1);
    }

    void fontDialogAppliesChangesInOneStep()
    {
        selectAll(QStringLiteral("abc"));
        auto boldAnd14 = [](int result) {
            return [result](QDialog* d) {
                d->findChild<QComboBox*>(QStringLiteral("style"))->setCurrentIndex(2); // Fett
                d->findChild<QComboBox*>(QStringLiteral("size"))->setEditText(QStringLiteral("14"));
                QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("colour")), Qt::LeftButton);
                return result;
            };
        };
        prompts->answerColour(QColor(Qt::blue));
        prompts->answerExec(boldAnd14(QDialog::Rejected));
        QVERIFY(!tc->FontDialog());
        QVERIFY(!tc->FontBold());
        QCOMPARE(tc->UndoKind(), 1);
        prompts->answerColour(QColor(Qt::blue)); // the colour chooser goes through the prompter
        prompts->answerExec(boldAnd14(QDialog::Accepted));
        QVERIFY(tc->FontDialog());
        QVERIFY(tc->FontBold());
        QCOMPARE(tc->FontSize(), 14.0);
        QCOMPARE(tc->ForeColor(), QColor(Qt::blue));
        tc->Undo(); // one step for all
        QVERIFY(!tc->FontBold());
        QCOMPARE(tc->FontSize(), 11.0);
    }

    // Undo and redo kinds as the edit menu reads them, through real keystrokes.
    void typedStepsAndTheirKinds_data()
    {
        // keys: see type()
        // undone: after one undo
        addColumns<QString, QString, int, QString, int, int>(
            "keys", "text", "undoKind", "undone", "undoneKind", "redoKind");
        QTest::newRow("empty") << "" << "" << 0 << "" << 0 << 0;
        QTest::newRow("two backspaces are one step") << "abc<<" << "a" << 2 << "abc" << 1 << 11;
        QTest::newRow("moving the caret starts a step") << "abc|x" << "xabc" << 1 << "abc" << 1 << 10;
        QTest::newRow("AltGr character is typing") << "a@b" << "a@b" << 1 << "" << 0 << 10;
        QTest::newRow("Alt with a letter is for the menus") << "a!b" << "ab" << 1 << "" << 0 << 10;
        QTest::newRow("format without selection") << "ab/" << "ab" << 1 << "" << 0 << 10;
        QTest::newRow("typing after an undo cuts the redo") << "abc<~x" << "abcx" << 1 << "abc" << 1 << 10;
        QTest::newRow("SelText") << "[=" << "drei zwei" << 1 << "eins zwei" << 0 << 10;
        QTest::newRow("Clip delete") << "[-" << " zwei" << 2 << "eins zwei" << 0 << 11;
        QTest::newRow("alignment") << "[^" << "eins zwei" << 3 << "eins zwei" << 0 << 12;
        // Not next to the typing, so Qt keeps it a step of its own.
        QTest::newRow("foreign step") << "ab#" << "zzab" << 4 << "ab" << 1 << 13;
    }
    void typedStepsAndTheirKinds()
    {
        QFETCH(QString, keys);
        QFETCH(QString, text);
        QFETCH(int, undoKind);
        type(keys);
        QCOMPARE(tc->Text(), text);
        QCOMPARE(tc->UndoKind(), undoKind);
        QCOMPARE(tc->RedoKind(), 0);
        tc->Undo();
        QTEST(tc->Text(), "undone");
        QTEST(tc->UndoKind(), "undoneKind");
        QTEST(tc->RedoKind(), "redoKind");
        tc->Redo();
        QCOMPARE(tc->Text(), text);
        QCOMPARE(tc->UndoKind(), undoKind);
        QCOMPARE(tc->RedoKind(), 0);
    }

private:
    // Types keys; '<' is Backspace, '|' Home, '@' typed with AltGr, '!' Alt+X, '/' italic
    // at the caret,
    // '~' undo; '[' sets "eins zwei" with "eins" selected, '=' replaces the selection by
    // "drei", '-' cuts it, '^' centres; '#' writes "zz" at the start past the surface.
    void type(const QString& keys)
    {
        for (QChar k : keys) {
            if (k == QLatin1Char('~'))
                tc->Undo();
            else if (k == QLatin1Char('[')) {
                tc->setText(QStringLiteral("eins zwei"));
                tc->document()->clearUndoRedoStacks();
                tc->setSelStart(0);
                tc->setSelLength(4);
            } else if (k == QLatin1Char('='))
                tc->setSelText(QStringLiteral("drei"));
            else if (k == QLatin1Char('-'))
                tc->Clip(4);
            else if (k == QLatin1Char('^'))
                tc->setAlignment(2);
            else if (k == QLatin1Char('#'))
                QTextCursor(tc->document()).insertText(QStringLiteral("zz"));
            else if (k == QLatin1Char('<'))
                QTest::keyClick(tc, Qt::Key_Backspace);
            else if (k == QLatin1Char('|'))
                QTest::keyClick(tc, Qt::Key_Home);
            else if (k == QLatin1Char('@'))
                QTest::keyClick(tc, Qt::Key_At, Qt::ControlModifier | Qt::AltModifier);
            else if (k == QLatin1Char('!'))
                QTest::keyClick(tc, Qt::Key_X, Qt::AltModifier);
            else if (k == QLatin1Char('/'))
                tc->setFontItalic(true);
            else
                QTest::keyClicks(tc, QString(k));
        }
    }

    void selectAll(const QString& text)
    {
        tc->setText(text);
        tc->setSelStart(0);
        tc->setSelLength(-1);
    }
    TextControl* tc = nullptr;
    ScriptedPrompter* prompts = nullptr;
};

QTEST_MAIN(TestTextControl)
#include "tst_textcontrol.moc"
