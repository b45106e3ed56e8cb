#pragma once
// Long lists read from a file, kept in parts. Qt marks every item of a list changed for
// each item it adds and finds an item's number by a search through the list, so one
// list of n items costs n² to read and to lay out. A list is therefore cut into lists of
// MaxItems: bullets go on in a new list of the same look; numbered items past the first
// part become paragraphs that start with their number, hung where the list puts it
// (Qt 6.4 lists cannot start at a given number).

#include <QHash>
#include <QString>

class QTextCursor;
class QTextList;
class QTextListFormat;

class ListParts {
public:
    static constexpr int MaxItems = 500;

    // The paragraph at c joins `list`, or starts a list of format f when list is null.
    // Returns the list to join next time.
    QTextList* add(QTextCursor& c, QTextList* list, const QTextListFormat& f);
    // The number text of the list's latest item, counting the items past the cut.
    QString lastItemText(const QTextList* list) const;

    // The number of item n as a list of format f shows it ("12.", "c)", "IV.").
    static QString itemText(const QTextListFormat& f, int n);
    // Writes `number` at the start of the paragraph at c, hung before its text as a list
    // hangs its label: the paragraph already stands at the list's indent.
    static void hangNumber(QTextCursor c, const QString& number);

private:
    QHash<const QTextList*, int> m_pastCut;
};
