#pragma once
// Marks the misspelt words of a document with a red wavy line on screen. The marks are
// kept as the paragraphs' user data and drawn over the text by the surface; they are no
// format at all (a layout format would land in the document's format collection and from
// there in the own file format), so they cannot reach a file, a printer or a PDF.
//
// Checking runs in short slices while the program is idle: the whole document after
// start, then every paragraph an edit touched, so typing never waits for it.

#include <QList>
#include <QObject>
#include <QTextCursor>
#include <QTimer>

class QPainter;
class QRectF;
class QTextBlock;
class QTextDocument;
class SpellChecker;
class TextControl;

class SpellMarks : public QObject {
    Q_OBJECT
public:
    SpellMarks(QTextDocument* doc, QObject* parent = nullptr);

    // How the program sets up an editor that checks as you type (its checker, the
    // option on or off). Set once at start; windows outside the document frame call
    // prepare() on their editors, which does nothing while no setup is set.
    static void setSetup(void (*setup)(TextControl*));
    static void prepare(TextControl* editor);

    // No checker, or one without dictionary: no marks.
    void setChecker(SpellChecker* checker);
    SpellChecker* checker() const { return m_checker; }
    void setEnabled(bool on);
    bool isEnabled() const { return m_enabled; }

    // Nothing waits to be checked.
    bool isIdle() const { return m_pending.isEmpty() && m_scan.isNull(); }
    // Checks every paragraph again (after a word was ignored or added).
    void recheckAll();
    // Takes the mark off one word until its paragraph is edited.
    void ignoreOnce(const QTextBlock& b, int start);
    // The marked word around document position `pos`: its cursor selects it; null if none.
    QTextCursor markedWordAt(int pos) const;
    // The marked words of one paragraph, as (start in the paragraph, length).
    static QList<QPair<int, int>> marksOf(const QTextBlock& b);
    // The misspelt words of a paragraph, as (start in the paragraph, length), leaving out
    // fields: the program fills in their names, dates and links.
    static QList<QPair<int, int>> misspelt(const QTextBlock& b, SpellChecker* checker);

    // Draws the marks of the paragraphs within `clip` (document pixels) with `p` set up
    // in document pixels; along the lines of `shown`, a copy of the document with the
    // same positions (less `offset`: a section's copy) laid out at `scale` units per
    // document pixel, when one is given.
    void paint(QPainter* p, const QRectF& clip, QTextDocument* shown = nullptr, double scale = 1, int offset = 0) const;

Q_SIGNALS:
    // Marks came or went; the surface repaints.
    void marksChanged();

private:
    void onContentsChange(int pos, int removed, int added);
    void work();
    void check(const QTextBlock& b);
    void setMarks(const QTextBlock& b, const QList<QPair<int, int>>& words);

    QTextDocument* m_doc;
    SpellChecker* m_checker = nullptr;
    bool m_enabled = true;
    QList<QTextCursor> m_pending; // edited paragraphs still to check; they follow edits
    QTextCursor m_scan; // the next paragraph of a pass over the whole document
    QTimer m_timer;
};
