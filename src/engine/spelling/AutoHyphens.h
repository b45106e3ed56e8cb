#pragma once
// Automatic hyphenation of the paragraphs whose block format asks for it
// (EngineProperty::Hyphenate). Qt's line breaker breaks a word only at a soft hyphen
// (U+00AD) in the text it lays out, and draws one as "-" at a line end. So such
// paragraphs carry soft hyphens at every point the language's patterns allow, and the
// screen, the printed copy and PDF, all laid out from this one text, break alike.
//
// The soft hyphens are layout, not content: the writers and the clipboard get copies
// without them (strip()), the spelling check reads past them, and the hyphens an edit
// brings join that edit's undo step, so undo and redo never see them on their own.

#include <QList>
#include <QObject>
#include <QTextCursor>
#include <QTimer>

class Document;
class QTextBlock;
class QTextDocument;

class AutoHyphens : public QObject {
    Q_OBJECT
public:
    // A painting copy's follows no edits: it is printed with the hyphens it was copied with.
    explicit AutoHyphens(Document* doc, bool followEdits = true);

    static bool isOn(const QTextBlock& b);
    // Any paragraph of `d` asks for hyphenation.
    static bool anyOn(const QTextDocument* d);
    // Takes the soft hyphens out of the hyphenated paragraphs of a copy, or out of all
    // (a copied piece of a paragraph no longer knows its paragraph's option).
    static void strip(QTextDocument* d, bool everywhere = false);
    // `text` as shown: without the soft hyphens a hyphenated paragraph carries.
    static QString plain(QString text) { return text.remove(QChar::SoftHyphen); }

    // Hyphenates what edits left waiting, now (before printing, or a test looking).
    void settle();
    bool isIdle() const { return m_pending.isEmpty() && !m_all; }

private:
    void onContentsChange(int pos, int removed, int added);
    void wakeAll();
    // The edits that bring the paragraph's soft hyphens in line with its text and option.
    void apply(QTextCursor& edit, const QTextBlock& b);

    Document* m_doc;
    QList<QTextCursor> m_pending; // edited paragraphs; the cursors follow later edits
    bool m_all = false;
    bool m_applying = false;
    QTimer m_timer;
};
