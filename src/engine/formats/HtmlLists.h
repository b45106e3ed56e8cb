#pragma once
// Lists in HTML. A sub-list is written inside its parent's item, so that a reader goes on
// counting the outer list after it ("1. 1.1. 2."); a flat list would start the outer
// numbering anew. Each list carries its level and whether its labels start with the
// parent item's label (-qx-list: 2 parent), which our reader turns back into the list's
// properties; HTML without them (other office suites, browsers) gets the level from the
// nesting, and a numbered list under a numbered item shows the parent's number.

#include <QList>
#include <QString>

class QTextDocument;
class QTextList;

namespace HtmlLists {

class Nesting {
public:
    // The markup before a paragraph of `list` (none: no list), whose item number is
    // `number`: ends the items and lists that end there and opens the list when it begins,
    // with its first number when a numbered list goes on after other paragraphs. The
    // caller writes the <li>, which stays open for sub-lists.
    QString enter(const QTextList* list, int number = 1);
    QString closeAll();
    // Qt's importer adds the margins of the items a list stands in to its own items':
    // the item just entered gives its left margin, and gets back how much of it to write.
    double itemMargin(double left);

private:
    struct Open {
        const QTextList* list;
        int level;
        bool ordered;
        double margin = 0; // the left margin of its open item
    };
    static QString startTag(const QTextList* list, int level, int number);
    QList<Open> m_open;
};

// Reading, before Qt's importer: our list marks into something the importer keeps; the
// blanks between a paragraph and a list tag, which it would add to the paragraph, go;
// the numbers of <ol start> and <li value>, which it drops, go into the items' text.
QString rewrite(const QString& html);
// After the import: levels and parent numbers of the lists of `d`; lists whose numbers
// start or go on from a given one. A list that goes on from an earlier one of its level
// and look joins it; where no list of Qt can show the numbers (Qt 6.4 lists count from
// 1), the items become paragraphs that start with their number. True when any did.
bool settle(QTextDocument* d);

} // namespace HtmlLists
