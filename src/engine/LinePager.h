#pragma once
// Splits the laid-out body into pages by the height of the page's text area and
// counts lines per page. It is what the input position (page, line, column) and the
// page count of the editing surface rest on. Results are cached and rescanned only
// from the first changed paragraph, so typing at the end of a long text stays cheap.
//
// Line breaks come from the shown layout, line heights from the fonts' metrics in
// twips (a 1440-dpi device), so the pages are the printed ones although the 96-dpi
// layout rounds line heights to whole pixels.

#include <QHash>
#include <QImage>
#include <QList>

class QTextBlock;
class QTextFormat;
class QTextDocument;
class QTextLine;

struct PagedPosition {
    int page = 1;
    int line = 1;
    int column = 1;
};

class LinePager {
public:
    explicit LinePager(QTextDocument* doc) : m_doc(doc) {}

    // Height of a page's text area in twips, and the body's layout units per twip
    // (for objects whose height only the layout knows; 1/15 at 96 dpi).
    void setPageBodyHeight(double twips);
    void setUnitsPerTwip(double u) { m_unitsPerTwip = u; }
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
    double lineHeight(const QTextBlock& block, const QTextLine& line);
    QPair<double, double> ascentDescent(int formatIndex, const QTextFormat& f);

    QTextDocument* m_doc;
    double m_bodyHeight = 14569;
    double m_unitsPerTwip = 1.0 / 15;
    QList<PageStart> m_starts;
    // y (twips) where each scanned paragraph starts, one more than scanned.
    QList<double> m_blockTop{0.0};
    int m_nextBlock = 0;
    QImage m_device{1, 1, QImage::Format_Mono};
    QHash<int, QPair<double, double>> m_metrics; // by char-format index
};
