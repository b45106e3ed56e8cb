// Word count: the counting rules, a German letter with a table checked
// against counts made here from the known text, and the window.

#include "TestCommon.h"

#include "dialogs/DocumentStatistics.h"
#include "dialogs/frmWordCount.h"
#include "engine/surface/TextControl.h"

#include <QRegularExpression>

using DocumentStatistics::Counts;

namespace {

const QStringList kParagraphs = {
    QString::fromUtf8("Sehr geehrte Frau Müller,"),
    QString::fromUtf8("die Straßenbahn fährt ab Öhringen über Großbottwar nach Heilbronn."),
    QString::fromUtf8("Das Mutter-Kind-Heim liegt  im Süden, gleich neben der Bäckerei."),
    QString(),
    QString::fromUtf8("Mit freundlichen Grüßen"),
};
const QStringList kCells = {QString::fromUtf8("Größe"), QStringLiteral("Preis in Euro"),
                            QString::fromUtf8("Maße"), QStringLiteral("klein"),
                            QStringLiteral("12,50"), QString::fromUtf8("30 × 20 cm")};

// Counted without the rules under test: words are runs between white space.
int words(const QStringList& texts)
{
    int n = 0;
    for (const QString& t : texts)
        n += int(t.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts).size());
    return n;
}

int length(const QStringList& texts, bool blanks)
{
    int n = 0;
    for (const QString& t : texts)
        n += int(t.size() - (blanks ? 0 : t.count(u' ')));
    return n;
}

} // namespace

class TstWordCount : public QObject {
    Q_OBJECT
    ScriptedPrompter* m_prompts = nullptr;

private Q_SLOTS:
    void initTestCase() { m_prompts = installScriptedPrompter(); }

    void rules_data()
    {
        addColumns<QString, int, int, int, int>("image", "words", "withBlanks", "withoutBlanks", "paragraphs");
        QTest::newRow("empty") << QString() << 0 << 0 << 0 << 1;
        QTest::newRow("umlauts and sharp s") << QString::fromUtf8("Äpfel größer süß") << 3 << 16 << 14 << 1;
        QTest::newRow("hyphenated") << "Mutter-Kind-Heim - gut" << 3 << 22 << 20 << 1;
        QTest::newRow("empty paragraphs") << "\n\nWort\n" << 1 << 4 << 4 << 4;
    }
    void rules()
    {
        QFETCH(QString, image);
        const Counts c = DocumentStatistics::fromImage(image, 1, 1);
        QTEST(c.words, "words");
        QTEST(c.chars, "withBlanks");
        QTEST(c.charsNoSpaces, "withoutBlanks");
        QTEST(c.paragraphs, "paragraphs");
    }

    // Letter text, then a table of two rows and three columns.
    void letterWithTable()
    {
        TextControl tc;
        tc.setText(kParagraphs.join(QStringLiteral("\r\n")));
        const int id = tc.TableInsert(2, 3, int(tc.Text().size()) + 1, 5);
        for (int i = 0; i < kCells.size(); ++i)
            tc.setTableCellText(id, i / 3 + 1, i % 3 + 1, kCells.at(i));

        const QStringList all = kParagraphs + kCells;
        const Counts c = DocumentStatistics::of(tc);
        QCOMPARE(c.words, words(all));
        QCOMPARE(c.chars, length(all, true));
        QCOMPARE(c.charsNoSpaces, length(all, false));
        // Each cell is a paragraph; the document goes on with an empty one after the table.
        QCOMPARE(c.paragraphs, int(all.size()) + 1);
        // Every paragraph and cell fits on one line.
        QCOMPARE(c.lines, c.paragraphs);
    }

    void window()
    {
        TextControl tc;
        tc.setText(QString::fromUtf8("Grüß Gott\r\nliebe Leute"));
        QStringList shown;
        m_prompts->answerExec([&shown](QDialog* d) {
            shown << d->windowTitle();
            for (const char* name : {"lblPageCnt", "lblWordCnt", "lblCharNoSpCnt", "lblCharCnt",
                                     "lblParaCnt", "lblLineCnt"})
                shown << d->findChild<QLabel*>(QLatin1String(name))->text();
            return int(QDialog::Accepted);
        });
        frmWordCount::showStatistics(&tc);
        QCOMPARE(shown, QStringList({"Statistik Dokument", "1", "4", "18", "20", "2", "2"}));
    }
};

QTEST_MAIN(TstWordCount)
#include "tst_wordcount.moc"
