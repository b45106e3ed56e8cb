#pragma once
// Multi-level numbers such as "2.1.": Qt 6.4 draws an item's own number only, so a
// sub-list whose labels start with its parent item's label (EngineProperty::
// ListParentNumbers) carries that label as its number prefix. ListNumbers keeps the
// prefixes in line with the parent items after every edit of the body; the change joins
// the edit's undo step, so undo gives back the old numbers along with the old text.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTextList>

class Document;
class QTextDocument;

class ListNumbers : public QObject {
    Q_OBJECT
public:
    explicit ListNumbers(Document* doc);

    // A list's level, 1 the outermost.
    static int levelOf(const QTextListFormat& f);
    // Brings every following prefix of `d` in line with its parent item now (readers,
    // copies); true when one changed.
    static bool update(QTextDocument* d);

private:
    void onContentsChange(int pos, int removed, int added);
    void settle();

    Document* m_doc;
    QList<QPointer<QTextList>> m_lists; // the lists that follow a parent
    int m_blocks = -1;                   // the block count when m_lists was collected
    bool m_pending = false; // an edit reached a list paragraph or added paragraphs
    bool m_updating = false;
};
