#pragma once
// Finding and replacing text in a QTextDocument, without any dialog: the search
// dialog and tests drive it alike.

#include <QString>
#include <QTextCursor>

class QTextDocument;

struct SearchOptions {
    bool matchCase = false;
    bool wholeWords = false;
    bool backward = false;
};

class SearchEngine {
public:
    explicit SearchEngine(QTextDocument* doc) : m_doc(doc) {}

    // Next match after `from` (before it when searching backward), not wrapping.
    // A null cursor when there is none.
    QTextCursor find(const QString& what, const QTextCursor& from, const SearchOptions& o) const;
    // Searches the whole document from its start (its end when backward).
    QTextCursor findFromEdge(const QString& what, const SearchOptions& o) const;
    // True when `c` selects exactly one match of `what`.
    bool selectsMatch(const QTextCursor& c, const QString& what, const SearchOptions& o) const;
    // Replaces every match; returns the count. The caller frames the undo step.
    int replaceAll(const QString& what, const QString& with, const SearchOptions& o) const;

private:
    QTextDocument* m_doc;
};
