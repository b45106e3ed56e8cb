#pragma once
// Pages of a document whose paragraphs all share one plain format (what the text reader
// makes), found without Qt's document layout: every line is as high as the next and every
// page starts at the top of its body, so a line's place follows from its number. Lines
// that surely fit the width are not shaped at all; longer paragraphs are broken by the
// same QTextLayout the document layout uses. Where lines stand on a page is read from a
// few pages that Qt lays out, so the pages print as the document layout prints them, at
// print resolution however long the document (Qt's layout wraps past some 2,000 pages).

#include <QColor>
#include <QFont>
#include <QTextOption>

#include <memory>
#include <vector>

struct PageGeometry;
class QPainter;
class QTextDocument;
class QTextCharFormat;
class QTextLayout;

class PlainPages {
public:
    // Null when `d` is not plain: formats that differ, tables, frames, objects, tabs, page
    // breaks, lists, indents, spacing, or characters the font lacks.
    static std::unique_ptr<PlainPages> make(const QTextDocument* d, const PageGeometry& g);
    ~PlainPages();

    int pageCount() const;
    // 1-based page of a document position.
    int pageOfPosition(int pos) const;
    // The body of `page` (1-based) with the sheet's corner at the painter's origin, in
    // 96-dpi pixels.
    void paint(QPainter* p, int page) const;

private:
    PlainPages() = default;
    // Where lines stand on a page, read from a few pages Qt lays out.
    bool measure(const QTextCharFormat& cf, const PageGeometry& g);
    bool breakLines();
    // The line of the whole document that starts `page`.
    int firstLineOf(int page) const;
    // `d`'s paragraph `block` broken as the document layout breaks it.
    QTextLayout* layoutOf(int block) const;

    const QTextDocument* m_doc = nullptr;
    QFont m_font; // at print resolution
    QTextOption m_option;
    QColor m_colour;
    struct Measures {
        double x = 0;     // left edge of a line, layout units
        double width = 0; // the width lines are broken at
        std::vector<double> firstTops; // line tops of page 1 and of every later page,
        std::vector<double> tops;      // from the sheet's top edge
    } m_measures;
    std::vector<int> m_lineStarts;   // document position where each line starts
    mutable std::unique_ptr<QTextLayout> m_layout; // the last paragraph broken
    mutable int m_layoutBlock = -1;
};
