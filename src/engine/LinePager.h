#pragma once
// Splits the laid-out body into pages by the height of the page's text area and
// counts lines per page. It is what the input position (page, line, column) and the
// page count of the editing surface rest on. Results are cached and rescanned only
// from the first changed paragraph, so typing at the end of a long text stays cheap.

#include <QList>

class QTextDocument;

struct PagedPosition {
    int page = 1;
    int line = 1;
    int column = 1;
};

class LinePager {
public:
    explicit LinePager(QTextDocument* doc) : m_doc(doc) {}

    // Height of a page's text area in the body's layout units.
    void setPageBodyHeight(double h);
    void invalidateAll() { invalidateFrom(0); }
    void invalidateFrom(int blockNumber);

    int pageCount();
    PagedPosition positionOf(int docPosition);
    // Document position of page/line/column, clamped to what exists.
    int positionAt(const PagedPosition& p);

private:
    struct PageStart {
        int block;
        int line;
        double y;
    };
    void scanBlock(int blockNumber);
    void scanUntil(int blockNumber);

    QTextDocument* m_doc;
    double m_bodyHeight = 1000;
    QList<PageStart> m_starts;
    int m_nextBlock = 0;
};
