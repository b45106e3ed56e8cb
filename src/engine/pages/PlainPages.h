#pragma once
// Pages of a document whose paragraphs all share one plain format (what the text reader
// makes), found without Qt's document layout: every line is as high as the next and every
// page starts at the top of its body, so a line's place follows from its number. Lines
// that surely fit the width are not shaped at all; longer paragraphs are broken by the
// same QTextLayout the document layout uses. Where lines stand on a page is read from a
// few pages that Qt lays out, so the pages print as the document layout prints them, at
// print resolution however long the document (Qt's layout wraps past some 2,000 pages).
// The same lines serve a window (PlainLayout): an edit breaks only the paragraphs it
// touched anew.

#include <QColor>
#include <QFont>
#include <QHash>
#include <QTextFormat>
#include <QTextOption>

#include <memory>
#include <vector>

struct PageGeometry;
class QPainter;
class QTextBlock;
class QTextDocument;
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

    // The lines in layout units of the print resolution, from the first sheet's top edge.
    int lineCount() const { return int(m_lineStarts.size()); }
    int lineStart(int line) const { return m_lineStarts[size_t(line)]; }
    int lineOfPosition(int pos) const;
    double lineTop(int line) const;
    double lineHeight() const { return m_measures.height; }
    // The line nearest to `y`: on its page, the last line starting at or above it.
    int lineAt(double y) const;
    double left() const { return m_measures.x; }
    double width() const { return m_measures.width; }
    double pageHeight() const { return m_measures.pageHeight; }
    // Breaks the paragraphs that an edit of `d` touched anew (positions after it), the
    // lines after them moved along. False when they are no longer plain.
    bool update(int pos, int removed, int added);
    // `b`'s own layout broken and placed as its lines stand, relative to its first line;
    // the lines laid out, 0 when it was laid out already.
    int layOutBlock(const QTextBlock& b) const;

private:
    PlainPages();
    // Where lines stand on a page, read from a few pages Qt lays out.
    bool measure(const QTextCharFormat& cf, const PageGeometry& g);
    bool breakLines();
    // Appends the starts of `b`'s lines; false when it is not plain.
    bool breakBlock(const QTextBlock& b, std::vector<int>* starts);
    bool plainFormats(const QTextBlock& b);
    // Every format `d` holds is one that plain paragraphs have (the quick look).
    bool plainCollection();
    // The character format at `index` is plain and like the first one seen.
    template<typename FormatOf>
    bool sameCharFormat(int index, FormatOf formatOf);
    // The line of the whole document that starts `page`.
    int firstLineOf(int page) const;
    // `d`'s paragraph `b` broken as the document layout breaks it.
    QTextLayout* layoutOf(const QTextBlock& b) const;

    const QTextDocument* m_doc = nullptr;
    QFont m_font; // at print resolution
    QTextOption m_option;
    QColor m_colour;
    struct Measures {
        double x = 0;     // left edge of a line, layout units
        double width = 0; // the width lines are broken at
        double height = 0; // of a line
        double pageHeight = 0;
        std::vector<double> firstTops; // line tops of page 1 and of every later page,
        std::vector<double> tops;      // from the sheet's top edge
    } m_measures;
    std::vector<int> m_lineStarts;   // document position where each line starts
    class Characters;
    std::unique_ptr<Characters> m_chars;
    // The one character format's font and colour, and what each format index was found.
    bool m_haveFormat = false;
    QTextCharFormat m_charFormat;
    QHash<int, bool> m_plainBlockFormats, m_plainCharFormats;
    double m_room = 0; // what surely fits without shaping
    mutable std::unique_ptr<QTextLayout> m_layout; // the last paragraph broken
    mutable int m_layoutBlock = -1;
};
