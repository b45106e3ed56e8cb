// Spelling as you type: the misspelt words of a letter get marks, and only they; the
// dialects differ where they should; a suggestion is one undo step; the user's own words
// survive a restart; the marks never reach a PDF or a saved file.

#include "engine/pages/PdfExport.h"
#include "engine/spelling/SpellChecker.h"
#include "engine/spelling/SpellMarks.h"
#include "engine/spelling/SpellMenu.h"
#include "engine/surface/TextControl.h"

#include <QAction>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

namespace {
const QString kLetter =
    QStringLiteral("Bittte schicken Sie mir Ihre Addresse. Viele Grüsse aus Berlin, Ihr Hans Meier");

// The marked words of the whole body, in order.
QStringList markedWords(TextControl* tc)
{
    QStringList out;
    for (QTextBlock b = tc->document()->begin(); b.isValid(); b = b.next())
        for (const auto& [start, length] : SpellMarks::marksOf(b))
            out << b.text().mid(start, length);
    return out;
}

int redPixels(const QImage& img)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            if (c.red() > 160 && c.green() < 110 && c.blue() < 110)
                ++n;
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
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");
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
        QFETCH(QStringList, expected);
        if (!SpellChecker::isInstalled(language))
            QSKIP("dictionary not installed");
        SpellChecker checker(language, m_work.path());
        QVERIFY(checker.isValid());
        QStringList found;
        for (const SpellChecker::Word& w : checker.misspelt(text))
            found << text.mid(w.start, w.length);
        QCOMPARE(found, expected);
    }

    // The surface marks exactly the misspelt words, on screen, and the text keeps its formats.
    void surfaceMarksAndUndo()
    {
        SpellChecker checker(QStringLiteral("de_DE"), m_work.path());
        std::unique_ptr<TextControl> tc(surfaceWith(&checker, kLetter + "\nZweite Zeihle"));
        QTRY_VERIFY(tc->spellMarks()->isIdle());
        QCOMPARE(markedWords(tc.get()), (QStringList{"Bittte", "Addresse", "Grüsse", "Zeihle"}));
        for (QTextBlock b = tc->document()->begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it)
                QCOMPARE(it.fragment().charFormat().underlineStyle(), QTextCharFormat::NoUnderline);
        QVERIFY(redPixels(tc->viewport()->grab().toImage()) > 20);

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
