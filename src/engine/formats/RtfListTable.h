#pragma once
// The lists of a document as RTF writes them: a list and the sub-lists that hang under
// its items form one multi-level list (one \ls, a level each), so that a reader goes on
// counting the outer level after a sub-list and sees "1.1." as the parent's number
// followed by the own one.

#include <QByteArray>
#include <QHash>
#include <QList>

class QTextDocument;
class QTextList;

class RtfListTable {
public:
    // Gives the lists of `d` their places, in the order of their paragraphs.
    void collect(const QTextDocument* d);
    // The {\*\listtable} and {\*\listoverridetable} groups; empty without lists.
    QByteArray write() const;

    // The \ls number and the level (0-based) of a collected list.
    int listNumber(const QTextList* l) const { return m_places.value(l).first; }
    int level(const QTextList* l) const { return m_places.value(l).second; }

private:
    struct Group {
        const QTextList* levels[9] = {};
    };
    void place(const QTextList* l, const QTextList* previous);
    QByteArray levelGroup(const Group& g, int level, QList<QString>& texts) const;

    QList<Group> m_groups;
    QHash<const QTextList*, std::pair<int, int>> m_places;
};
