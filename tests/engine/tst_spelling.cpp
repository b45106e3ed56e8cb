// Spelling as you type: the misspelt words of a letter get marks, and only they; the
// dialects differ where they should; a suggestion is one undo step; the user's own words
// survive a restart; the marks never reach a PDF or a saved file.

#include "PdfText.h"
#include "TestFiles.h"
#include "app/ScriptedPrompter.h"

#include "TestCommon.h"
#include "engine/dialogs/SpellDialog.h"
#include "engine/Document.h"
#include "engine/formats/Formats.h"
#include "engine/objects/Fields.h"
#include "engine/EngineProperties.h"
#include "engine/pages/PdfExport.h"
#include "engine/spelling/AutoHyphens.h"
#include "engine/spelling/Hyphenator.h"
#include "engine/spelling/SpellChecker.h"
#include "engine/spelling/SpellMarks.h"
#include "engine/spelling/SpellMenu.h"
#include "engine/surface/FragmentMimeData.h"
#include "engine/surface/SearchEngine.h"
#include "engine/surface/TextControl.h"

#include <QAction>
#include <QMenu>
#include <QProcess>
#include <map>
#include <memory>

namespace {
const QString kLetter =
    QStringLiteral("Bittte schicken Sie mir Ihre Addresse. Viele Grüsse aus Berlin, Ihr Hans Meier");

const QString kWalk = QStringLiteral(
    "Bittte schicken Sie mir Ihre Addresse. Viele Grüsse aus Berlin.\nDie Addresse ist neu, Bittte antworten Sie.");

// The marked words of the whole body, in order.
QStringList markedWords(TextControl* tc)
{
    QStringList out;
    for (QTextBlock b = tc->document()->begin(); b.isValid(); b = b.next())
        for (const auto& [start, length] : SpellMarks::marksOf(b))
            out << b.text().mid(start, length);
    return out;
}

// A long compound that must be broken in a narrow column, and a word to break after it;
// then a paragraph that is never hyphenated.
const QString kLong = QStringLiteral("Donaudampfschifffahrtsgesellschaftskapitän Silbentrennung");
const QString kTwo = kLong + "\nSilbentrennung";

void hyphenate(QTextDocument* d, bool on)
{
    QTextCursor c(d);
    c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    QTextBlockFormat f;
    f.setProperty(EngineProperty::Hyphenate, on);
    c.mergeBlockFormat(f);
}

// Red pixels of the marks; `rows` gets how many pixel rows hold any.
int redPixels(const QImage& img, int* rows = nullptr)
{
    int n = 0;
    if (rows)
        *rows = 0;
    for (int y = 0; y < img.height(); ++y) {
        const int before = n;
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            if (c.red() > 160 && c.green() < 110 && c.blue() < 110)
                ++n;
        }
        if (rows && n > before)
            ++*rows;
    }
    return n;
}
} // namespace

class TestSpelling : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_work;

    TextControl* surfaceWith(SpellChecker* checker, const QString& text)
    {
        auto* tc = new TextControl;
        tc->resize(800, 400);
        tc->setPlainText(text);
        tc->spellMarks()->setChecker(checker);
        tc->show();
        return tc;
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!SpellChecker::isInstalled(QStringLiteral("de_DE")) || !SpellChecker::isInstalled(QStringLiteral("de_CH")))
            QSKIP("German dictionaries are not installed (scripts/setup.sh)");
    }

    void misspeltWords_data()
    {
        addColumns<QString, QString, QStringList>("language", "text", "expected");
        QTest::addRow("Germany") << "de_DE" << kLetter << QStringList{"Bittte", "Addresse", "Grüsse"};
        QTest::addRow("Switzerland") << "de_CH" << kLetter << QStringList{"Bittte", "Addresse"};
        QTest::addRow("not words") << "de_DE"
                                   << "Siehe www.beispiehl.de, schreibt an post@beispiehl.de oder "
                                      "https://beispiehl.de/seitte, Zimmer 3b, Blatt A4x."
                                   << QStringList{};
        QTest::addRow("hyphen and quotes") << "de_DE" << "Das \"Brieff\" im Schreib-Tischh."
                                           << QStringList{"Brieff", "Schreib-Tischh"};
        QTest::addRow("English") << "en_US" << "Please send your adress to us." << QStringList{"adress"};
    }
    void misspeltWords()
    {
        QFETCH(QString, language);
        QFETCH(QString, text);
        if (!SpellChecker::isInstalled(language))
            QSKIP("dictionary not installed");
        SpellChecker checker(language, m_work.path());
        QVERIFY(checker.isValid());
        QStringList found;
        for (const SpellChecker::Word& w : checker.misspelt(text))
            found << text.mid(w.start, w.length);
        QTEST(found, "expected");
    }

    // Points as a German (or English) dictionary shows them; '|' marks a soft hyphen.
    void hyphenation_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::addRow("compound") << "de_DE" << kLong
                                  << "Do|nau|dampf|schiff|fahrts|ge|sell|schafts|ka|pi|tän Sil|ben|tren|nung";
        QTest::addRow("short words, addresses, old soft hyphens") << "de_CH"
                                    << "Ein Abend: www.beispielverwaltung.de, Sil\u00adbentrennung"
                                    << "Ein Abend: www.beispielverwaltung.de, Sil|ben|tren|nung";
        QTest::addRow("English") << "en_US" << "hyphenation" << "hy|phen|ation";
    }
    void hyphenation()
    {
        QFETCH(QString, language);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        text.replace("\\u00ad", QString(QChar::SoftHyphen));
        const Hyphenator* h = Hyphenator::forLanguage(language);
        if (!h)
            QSKIP("hyphenation patterns not installed (scripts/setup.sh)");
        QCOMPARE(h->hyphenated(text).replace(QChar::SoftHyphen, '|'), expected);
    }

    // A column of 3.7 cm = 105 pt (Arial 11 pt): "Donaudampfschiff-" is 92 pt wide, with
    // "fahrts-" 120 pt, so the first line ends after "schiff"; "fahrtsgesellschafts-" is
    // 95 pt, "kapitän Silbentren-" 92 pt. Off, the word is cut where the line is full
    // ("Donaudampfschifffah" 104 pt). The second paragraph is never hyphenated. The files
    // and the clipboard keep the words whole.
    void hyphenatedParagraph_data()
    {
        QTest::addColumn<bool>("on");
        QTest::addColumn<QString>("lines");
        QTest::addRow("on") << true << "Donaudampfschiff-\nfahrtsgesellschafts-\nkapitän Silbentren-\nnung\nSilbentrennung";
        QTest::addRow("off") << false << "Donaudampfschifffah\nrtsgesellschaftskapit\nän Silbentrennung\nSilbentrennung";
    }
    void hyphenatedParagraph()
    {
        QFETCH(bool, on);
        QFETCH(QString, lines);
        if (!Hyphenator::forLanguage("de_DE"))
            QSKIP("hyphenation patterns not installed (scripts/setup.sh)");
        Document doc;
        PageGeometry g;
        g.marginR = g.width - g.marginL - 2098;
        doc.setPage(g);
        doc.body()->setPlainText(kTwo);
        hyphenate(doc.body(), on);
        QTemporaryDir dir;
        QString error;
        QVERIFY2(PdfExport::exportPdf(doc, dir.filePath("schmal.pdf"), &error), qPrintable(error));
        QCOMPARE(pdfPageText(dir.filePath("schmal.pdf"), 1).trimmed(), lines);
        for (int format : {3, 5, 14}) {
            QByteArray bytes;
            QVERIFY2(Formats::write(format, doc, nullptr, &bytes, &error), qPrintable(error));
            Document back;
            QVERIFY2(Formats::read(format, bytes, back, nullptr, &error), qPrintable(error));
            QCOMPARE(back.body()->toPlainText(), kTwo);
            QCOMPARE(AutoHyphens::isOn(back.body()->firstBlock()), on);
            QVERIFY(!AutoHyphens::isOn(back.body()->lastBlock()));
        }
        // A piece of a paragraph no longer carries the paragraph's option.
        QTextCursor piece(doc.body());
        piece.setPosition(1);
        piece.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        QCOMPARE(FragmentMimeData(piece.selection()).text(), kLong.mid(1));
    }

    // The hyphens join the step that asked for them: undo takes both, redo brings both.
    void hyphensFollowUndo()
    {
        std::unique_ptr<TextControl> tc(surfaceWith(nullptr, kLong));
        QTextDocument* d = tc->document();
        d->clearUndoRedoStacks();
        hyphenate(d, true);
        QTRY_COMPARE(d->toPlainText().count(QChar::SoftHyphen), 13);
        d->undo();
        QTRY_VERIFY(tc->doc()->hyphens()->isIdle());
        QCOMPARE(d->toPlainText(), kLong);
        QVERIFY(!d->isUndoAvailable());
        d->redo();
        QTRY_VERIFY(tc->doc()->hyphens()->isIdle());
        QCOMPARE(d->toPlainText().count(QChar::SoftHyphen), 13);
        // The search and the spelling check read past them.
        SearchOptions o;
        QVERIFY(!SearchEngine(d).findFromEdge(QStringLiteral("schifffahrt"), o).isNull());
        SpellChecker checker(QStringLiteral("de_DE"), m_work.path());
        QVERIFY(checker.misspelt(d->toPlainText()).isEmpty());
        // The caret passes a soft hyphen with its letter, and deleting takes the letter:
        // "Do-nau", Delete after "Do" takes the "n", Backspace then the "o".
        tc->moveCursor(QTextCursor::Start);
        for (Qt::Key k : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Delete, Qt::Key_Backspace, Qt::Key_Right})
            QTest::keyClick(tc.get(), k);
        QCOMPARE(AutoHyphens::plain(d->toPlainText().left(tc->textCursor().position())), "Da");
        QTest::keyClick(tc.get(), Qt::Key_Left);
        QTest::keyClick(tc.get(), Qt::Key_Left);
        QCOMPARE(tc->textCursor().position(), 0);
        // Off again: the paragraph is as it was typed.
        hyphenate(d, false);
        QTRY_COMPARE(d->toPlainText(), "Dau" + kLong.mid(5));
    }

    // The surface marks exactly the misspelt words, on screen, and the text keeps its formats.
    void surfaceMarksAndUndo()
    {
        SpellChecker checker(QStringLiteral("de_DE"), m_work.path());
        std::unique_ptr<TextControl> tc(surfaceWith(&checker, kLetter + "\nZweite Zeihle\nDritte Zeile ohne Fehler\nVierte Zeile"));
        QTRY_VERIFY(tc->spellMarks()->isIdle());
        QCOMPARE(markedWords(tc.get()), (QStringList{"Bittte", "Addresse", "Grüsse", "Zeihle"}));
        for (QTextBlock b = tc->document()->begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it)
                QCOMPARE(it.fragment().charFormat().underlineStyle(), QTextCharFormat::NoUnderline);
        // Both lines carry their waves (a wave on whole pixels is two pixel rows high).
        int rows = 0;
        QVERIFY(redPixels(tc->viewport()->grab().toImage(), &rows) > 20);
        QVERIFY2(rows >= 4, qPrintable(QString::number(rows)));

        // Right click on "Addresse": the suggestion replaces it as one step.
        QTextCursor at(tc->document());
        at.setPosition(kLetter.indexOf("Addresse") + 3);
        std::unique_ptr<QMenu> menu(SpellMenu::forWordAt(tc.get(), tc->caretRect(at).center(), nullptr));
        QVERIFY(menu);
        QStringList texts;
        QAction* adresse = nullptr;
        for (QAction* a : menu->actions()) {
            texts << a->text();
            if (a->text() == "Adresse")
                adresse = a;
        }
        QVERIFY2(adresse, qPrintable(texts.join('|')));
        QVERIFY(texts.contains("&Ignorieren") && texts.contains("&Alle ignorieren")
                && texts.contains("Zum &Wörterbuch hinzufügen"));
        QVERIFY(texts.size() <= 8 + 4);
        adresse->trigger();
        QCOMPARE(tc->document()->firstBlock().text(),
                 QStringLiteral("Bittte schicken Sie mir Ihre Adresse. Viele Grüsse aus Berlin, Ihr Hans Meier"));
        QTRY_VERIFY(tc->spellMarks()->isIdle());
        QCOMPARE(markedWords(tc.get()), (QStringList{"Bittte", "Grüsse", "Zeihle"}));
        tc->document()->undo();
        QCOMPARE(tc->document()->firstBlock().text(), kLetter);

        // A plain word has no menu.
        at.setPosition(kLetter.indexOf("schicken") + 2);
        QVERIFY(!SpellMenu::forWordAt(tc.get(), tc->caretRect(at).center(), nullptr));
    }

    // Text the program writes between two idle moments: without a checker nothing is
    // kept to be done (a serial run writes thousands of letters without an idle moment);
    // with one, the marks still come for a long run of edits.
    void longEditRunsBetweenIdleMoments()
    {
        TextControl quiet;
        for (int i = 0; i < 300; ++i)
            quiet.setSelText(QStringLiteral("Zeile mit Feler %1\r\n").arg(i));
        QVERIFY(quiet.spellMarks()->isIdle());

        SpellChecker checker(QStringLiteral("de_DE"), m_work.path());
        std::unique_ptr<TextControl> tc(surfaceWith(&checker, QString()));
        QTRY_VERIFY(tc->spellMarks()->isIdle());
        for (int i = 0; i < 300; ++i)
            tc->setSelText(QStringLiteral("Zeile mit Feler %1\r\n").arg(i));
        tc->setSelText(QStringLiteral("Zweite Zeihle"));
        QTRY_VERIFY(tc->spellMarks()->isIdle());
        const QStringList marked = markedWords(tc.get());
        QCOMPARE(marked.size(), 301);
        QCOMPARE(marked.first(), QStringLiteral("Feler"));
        QCOMPARE(marked.last(), QStringLiteral("Zeihle"));
    }

    // Fields hold what the program fills in (names from the address database, links):
    // their words are not marked, the text around them is.
    void fieldsAreNotMarked()
    {
        SpellChecker checker(QStringLiteral("de_DE"), m_work.path());
        std::unique_ptr<TextControl> tc(surfaceWith(&checker, "Sehr geehrter , Bittte"));
        QTextCursor at(tc->document());
        at.setPosition(QStringLiteral("Sehr geehrter ").size());
        Fields::insert(at, QStringLiteral("Herr Kowalskii"));
        QCOMPARE(tc->document()->toPlainText(), QStringLiteral("Sehr geehrter Herr Kowalskii, Bittte"));
        QTRY_VERIFY(tc->spellMarks()->isIdle());
        QCOMPARE(markedWords(tc.get()), QStringList{"Bittte"});
    }

    // A word added to the user dictionary is no longer marked, also with a new checker.
    void userDictionary()
    {
        QTemporaryDir work;
        {
            SpellChecker checker(QStringLiteral("de_DE"), work.path());
            std::unique_ptr<TextControl> tc(surfaceWith(&checker, "Gruß vom Kontorixverein und Bittte"));
            QTRY_VERIFY(tc->spellMarks()->isIdle());
            QCOMPARE(markedWords(tc.get()), (QStringList{"Kontorixverein", "Bittte"}));
            QTextCursor at(tc->document());
            at.setPosition(12);
            std::unique_ptr<QMenu> menu(SpellMenu::forWordAt(tc.get(), tc->caretRect(at).center(), nullptr));
            QVERIFY(menu);
            for (QAction* a : menu->actions())
                if (a->text() == "Zum &Wörterbuch hinzufügen")
                    a->trigger();
            QTRY_VERIFY(tc->spellMarks()->isIdle());
            QCOMPARE(markedWords(tc.get()), QStringList{"Bittte"});
        }
        QFile f(work.filePath("Benutzerwoerterbuch.txt"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("Kontorixverein\n"));
        SpellChecker again(QStringLiteral("de_DE"), work.path());
        QVERIFY(again.isCorrect("Kontorixverein"));
        QVERIFY(again.isCorrect("Kontorixvereine1n")); // words with digits are never checked
        QVERIFY(!again.isCorrect("Bittte"));
    }

    // The dialog walks the errors from the caret to the end and on from the beginning;
    // each change is one undo step.
    void dialogWalk_data()
    {
        // caretBefore: the caret goes before this text
        // actions: "=X" change to X, "*X" change all to X
        addColumns<QString, QStringList, QStringList, QString, QString, int>(
            "caretBefore", "actions", "visited", "firstSentence", "result", "undoSteps");
        const QStringList all{"ignore", "ignore", "ignore", "ignore", "ignore"};
        QTest::addRow("from the caret, wrapping")
            << "Die Addresse" << all << QStringList{"Addresse", "Bittte", "Bittte", "Addresse", "Grüsse"}
            << "Die Addresse ist neu, Bittte antworten Sie." << kWalk << 0;
        QTest::addRow("caret inside a word")
            << "resse. Viele" << all << QStringList{"Grüsse", "Addresse", "Bittte", "Bittte", "Addresse"}
            << "Viele Grüsse aus Berlin." << kWalk << 0;
        QTest::addRow("change one by one")
            << "Bittte schicken" << QStringList{"=Bitte", "=Adresse", "=Grüße", "ignore", "ignore"}
            << QStringList{"Bittte", "Addresse", "Grüsse", "Addresse", "Bittte"}
            << "Bittte schicken Sie mir Ihre Addresse."
            << "Bitte schicken Sie mir Ihre Adresse. Viele Grüße aus Berlin.\nDie Addresse ist neu, Bittte antworten Sie."
            << 3;
        QTest::addRow("change all")
            << "Bittte schicken" << QStringList{"*Bitte", "*Adresse", "ignoreAll"}
            << QStringList{"Bittte", "Addresse", "Grüsse"} << "Bittte schicken Sie mir Ihre Addresse."
            << "Bitte schicken Sie mir Ihre Adresse. Viele Grüsse aus Berlin.\nDie Adresse ist neu, Bitte antworten Sie."
            << 2;
        QTest::addRow("add and ignore all")
            << "Bittte schicken" << QStringList{"add", "ignoreAll", "ignoreAll"}
            << QStringList{"Bittte", "Addresse", "Grüsse"} << "Bittte schicken Sie mir Ihre Addresse." << kWalk << 0;
        QTest::addRow("nothing to do") << "" << QStringList{} << QStringList{} << "" << kWalk << 0;
    }
    void dialogWalk()
    {
        QFETCH(QString, caretBefore);
        QFETCH(QStringList, actions);
        QFETCH(QStringList, visited);
        QFETCH(QString, result);
        QTemporaryDir work; // "Hinzufügen" writes to it
        SpellChecker checker(QStringLiteral("de_DE"), work.path());
        ScriptedPrompter* prompts = installScriptedPrompter();
        std::unique_ptr<TextControl> tc(surfaceWith(&checker, visited.isEmpty() ? "Alles richtig." : kWalk));
        QTextCursor caret(tc->document());
        caret.setPosition(qMax(0, tc->document()->toPlainText().indexOf(caretBefore)));
        tc->setTextCursor(caret);

        QStringList seen;
        QString sentence;
        // Plays the user: one button per error shown, in order.
        auto walk = [&](SpellDialog* d) {
            sentence = d->sentence();
            for (const QString& a : actions) {
                seen << d->word();
                if (a.startsWith('=') || a.startsWith('*'))
                    d->setReplacement(a.mid(1));
                const QString name = a.startsWith('=') ? "change" : a.startsWith('*') ? "changeAll" : a;
                QPushButton* button = d->findChild<QPushButton*>(name);
                QVERIFY2(button, qPrintable(name));
                button->click();
            }
            QVERIFY(d->word().isEmpty());
        };
        prompts->answerExec([&](QDialog* dialog) {
            walk(qobject_cast<SpellDialog*>(dialog));
            return dialog->result();
        });
        SpellDialog::run(tc.get(), [&](const QString&) { return &checker; }, nullptr);
        QCOMPARE(seen, visited);
        QTEST(sentence, "firstSentence");
        QCOMPARE(prompts->count("exec"), visited.isEmpty() ? 0 : 1);
        QCOMPARE(prompts->last().text, QStringLiteral("Die Rechtschreibprüfung ist abgeschlossen."));
        QCOMPARE(tc->document()->toPlainText(), visited.isEmpty() ? "Alles richtig." : result);
        // Undo step by step until the text is the one before the walk.
        const QString before = visited.isEmpty() ? "Alles richtig." : kWalk;
        int steps = 0;
        while (tc->document()->toPlainText() != before && tc->document()->isUndoAvailable()) {
            tc->document()->undo();
            ++steps;
        }
        QCOMPARE(tc->document()->toPlainText(), before);
        QTEST(steps, "undoSteps");
    }

    // The language chosen in the dialog is the document's: "Grüsse" is right in Switzerland.
    void dialogLanguage()
    {
        QTemporaryDir work;
        std::map<QString, std::unique_ptr<SpellChecker>> checkers;
        auto checkerFor = [&](const QString& language) {
            auto& c = checkers[language];
            if (!c)
                c = std::make_unique<SpellChecker>(language, work.path());
            return c.get();
        };
        ScriptedPrompter* prompts = installScriptedPrompter();
        std::unique_ptr<TextControl> tc(surfaceWith(nullptr, kLetter));
        tc->document()->setModified(false);
        QStringList seen;
        auto walk = [&](SpellDialog* d) {
            auto* language = d->findChild<QComboBox*>("language");
            QCOMPARE(language->currentText(), QStringLiteral("Deutsch (Deutschland)"));
            seen << d->word();
            language->setCurrentIndex(language->findText("Deutsch (Schweiz)"));
            Q_EMIT language->activated(language->currentIndex());
            for (int i = 0; i < 2; ++i) {
                seen << d->word();
                d->findChild<QPushButton*>("ignore")->click();
            }
            seen << d->word();
        };
        prompts->answerExec([&](QDialog* dialog) {
            walk(qobject_cast<SpellDialog*>(dialog));
            return dialog->result();
        });
        QTextCursor caret(tc->document());
        caret.setPosition(kLetter.indexOf("Viele"));
        tc->setTextCursor(caret);
        SpellDialog::run(tc.get(), checkerFor, nullptr);
        // After the switch "Grüsse" is right; the walk goes on to the words before the caret.
        QCOMPARE(seen, (QStringList{"Grüsse", "Bittte", "Addresse", ""}));
        QCOMPARE(tc->doc()->language(), QStringLiteral("de_CH"));
        QVERIFY(tc->document()->isModified());
    }

    // The own format keeps the language; files without it are German (Germany).
    void languageInFile_data()
    {
        addColumns<QString, QByteArray, QByteArray, QString>("language", "from", "to", "expected");
        QTest::addRow("Switzerland") << "de_CH" << QByteArray() << QByteArray() << "de_CH";
        QTest::addRow("Austria") << "de_AT" << QByteArray() << QByteArray() << "de_AT";
        QTest::addRow("English") << "en_US" << QByteArray() << QByteArray() << "en_US";
        QTest::addRow("older file") << "de_CH" << QByteArray("<language spelling=\"de_CH\"/>") << QByteArray()
                                    << "de_DE";
        QTest::addRow("unknown language") << "de_CH" << QByteArray("\"de_CH\"") << QByteArray("\"xx_YY\"")
                                          << "de_DE";
    }
    void languageInFile()
    {
        QFETCH(QString, language);
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        Document doc;
        doc.body()->setPlainText("Grüsse");
        doc.setLanguage(language);
        QByteArray bytes;
        QString error;
        QVERIFY2(Formats::write(3, doc, nullptr, &bytes, &error), qPrintable(error));
        if (!from.isEmpty()) {
            QVERIFY(bytes.contains(from));
            bytes.replace(from, to);
        }
        Document back;
        back.setLanguage("en_US"); // a reader must not keep what was there
        QVERIFY2(Formats::read(3, bytes, back, nullptr, &error), qPrintable(error));
        QTEST(back.language(), "expected");
        QCOMPARE(back.body()->toPlainText(), QStringLiteral("Grüsse"));
        QVERIFY(!back.body()->isModified());
    }

    // Marks stay on the screen: the PDF and the saved files are those of an unchecked text.
    void marksNeverLeaveTheScreen()
    {
        SpellChecker checker(QStringLiteral("de_DE"), m_work.path());
        std::unique_ptr<TextControl> tc(surfaceWith(&checker, kLetter));
        std::unique_ptr<TextControl> plain(surfaceWith(nullptr, kLetter));
        QTRY_VERIFY(tc->spellMarks()->isIdle());
        QCOMPARE(markedWords(tc.get()).size(), 3);
        for (int format : {3, 4})
            QCOMPARE(QString::fromUtf8(tc->SaveToMemory(format)).split(QLatin1Char(10)), QString::fromUtf8(plain->SaveToMemory(format)).split(QLatin1Char(10)));

        QTemporaryDir dir;
        const QString pdf = dir.filePath("brief.pdf");
        QString error;
        QVERIFY2(PdfExport::exportPdf(*tc->doc(), pdf, &error), qPrintable(error));
        QProcess text;
        text.start("pdftotext", {"-layout", pdf, "-"});
        QVERIFY(text.waitForFinished(20000));
        QVERIFY(QString::fromUtf8(text.readAllStandardOutput()).contains("Bittte schicken Sie mir Ihre Addresse."));
        QProcess render;
        render.start("pdftoppm", {"-r", "100", "-f", "1", "-l", "1", "-png", pdf, dir.filePath("seite")});
        QVERIFY(render.waitForFinished(20000));
        QImage page(dir.filePath("seite-1.png"));
        QVERIFY(!page.isNull());
        QCOMPARE(redPixels(page), 0);
    }
};

QTEST_MAIN(TestSpelling)
#include "tst_spelling.moc"
