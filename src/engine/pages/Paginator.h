#pragma once
// Lays the body of a Document out into pages of the document's size and margins and
// paints any page onto any QPainter: body, the header and footer that apply to the
// page, page numbers, fixed images and paragraph frames. The layout view, printing,
// page pictures and PDF export all paint through this one class. A body with sections
// is printed from one copy per section, each on its section's page (SectionCopies), and
// the page views show those copies.

#include <QImage>
#include <QList>
#include <QObject>
#include <QPicture>
#include <QPointer>
#include <QRectF>

#include <memory>

#include "engine/Document.h"
#include "SectionCopies.h"

class QPaintDevice;
class QPainter;
class QPrinter;
class QTextCursor;
class QTextDocument;
class PlainPages;

class Paginator : public QObject {
    Q_OBJECT
public:
    explicit Paginator(Document* doc, QObject* parent = nullptr);
    // For a document that does not change while it is painted (an export): the body
    // is not laid out at all, only its paginated copy. The body of a
    // Document::paintingCopy() is itself laid out for print, not copied once more.
    enum Still { DoesNotChange, PaintingCopy };
    Paginator(Document* doc, Still still);
    ~Paginator() override;
    Document* document() const { return m_doc; }

    // Makes `d` lay out in pages of `g` (96-dpi pixels, margins in the root frame).
    static void paginate(QTextDocument* d, const PageGeometry& g);
    static QSizeF pageSizePixels(const PageGeometry& g);
    // The page as the body is laid out on it: the top margin grows when the header,
    // at its distance from the top edge, reaches below it, and the bottom margin when
    // the footer does, so that the body never runs into either.
    static PageGeometry bodyGeometry(const Document& doc);
    // The same for a section whose pages show the given headers and footers.
    static PageGeometry bodyGeometry(const SectionFormat& f, const QList<QTextDocument*>& headers,
                                     const QList<QTextDocument*>& footers);
    // Printed pages are laid out in twips: at 96 dpi Qt rounds font sizes and line
    // heights to whole pixels (Arial 11 pt becomes 15 px, its lines 13.5 pt instead of
    // the 12.65 pt that the font's ascent, descent and line gap give), so text ran
    // longer than in other office programs.
    static constexpr int PrintDpi = 1440;
    // Qt's layout counts in 26.6 fixed point: past 2^25 units (some 1,990 A4 pages at
    // 1440 dpi) positions wrap around. A copy that long is laid out coarser, in steps
    // that keep whole-point fonts at whole pixels (144 dpi still holds 19,900 pages).
    // Line heights round differently at each: Arial 11 fills an A4 body with 57 lines at
    // 1440, 720 and 648 dpi, with 56 at 360 and 144 dpi; small steps keep the finest.
    static constexpr int PrintDpis[] = {PrintDpi, 1080, 720, 648, 504, 360, 288, 216, 144, 96};
    static constexpr double LayoutWrap = 1 << 25;
    // The finest of them where the estimated length of `copy` (unscaled) stays clear of
    // the wrap, with 5 % to spare.
    static int printDpiFor(const QTextDocument* copy, const PageGeometry& g);
    static constexpr double WrapMargin = 1.05;
    static QPaintDevice* printDevice(int dpi = PrintDpi);
    // Lays `copy` out at `dpi`, or the next coarser resolution where it does not fit;
    // returns the resolution used.
    static int layOutForPrint(QTextDocument* copy, const PageGeometry& g, int dpi = PrintDpi);
    // True when block positions of `d`'s layout do not grow down the document.
    static bool layoutWrapped(QTextDocument* d);
    // Layout units per 96-dpi pixel of a document: 1 for the body (laid out at 96 dpi),
    // 15 for its printed copies, else the screen's resolution over 96. Page sizes follow it.
    static double layoutScale(const QTextDocument* d);
    // A page break is a paragraph that starts a new page (Qt's page-break policy).
    // insertPageBreak makes one at the cursor; breakAtFormFeeds turns form-feed
    // characters (code 12) into such paragraphs.
    static void insertPageBreak(QTextCursor& c);
    static void breakAtFormFeeds(QTextDocument* d);
    // Inserts plain text with any line-end convention; a form feed starts a new page.
    static void insertText(QTextCursor& c, const QString& text);

    // A paginated copy of the body as it stands, laid out as printed, for measuring
    // while an edit block holds back the layout of the body and of layoutDocument().
    // Positions are the body's (form feeds stay characters).
    static std::unique_ptr<QTextDocument> printedCopy(const Document& doc);
    // Keeps Qt from laying `d` out until a page size is set again (paginate()): for
    // copies before their print layout, and for the body of a surface never shown.
    static void holdLayout(QTextDocument* d);

    // Printed pages: with sections, those of all sections' copies.
    int pageCount();
    // The same, for the page views: never counted from a still plain body.
    int shownPageCount();
    // Size and margins of printed page `page`.
    PageGeometry pageGeometry(int page);
    // True when the printed pages come from one copy per section.
    bool hasSections();
    // The laid-out copy that prints a body position or a page: the copy, the body
    // position of its start, the printed number of its first page, its page height in
    // its layout units.
    struct Printed {
        QTextDocument* d = nullptr;
        int offset = 0;
        int firstPage = 1;
        double pageHeight = 1;
        int end = 0;       // body position where the next copy starts
        int pages = 0;     // 0 from printedAt/On for a body without sections: not counted
        PageGeometry page; // the sheet its pages are printed on
    };
    Printed printedAt(int pos);
    Printed printedOn(int page);
    // Every laid-out copy in page order: one per section, or the one of the whole body.
    QList<Printed> printedCopies();
    // How often the paginated copy was built from scratch (edits are replayed).
    int rebuilds() const { return m_rebuilds; }
    // The whole body laid out as printed on the first section's page: the body or a copy
    // of it. With sections the pages come from printedCopies() instead.
    QTextDocument* layoutDocument();
    // 1-based printed page of a body position.
    int pageOfPosition(int pos);
    // Header/footer part of the document shown on `page` for the header (1) or footer
    // (4) slot; 0 none.
    int partForPage(int page, int slot) const;
    // The part printed on `page` in the header (1) or footer (4) slot, whichever section
    // it belongs to, and its kind (1, 2, 4, 8); a null part where there is none.
    struct PagePart {
        QTextDocument* d = nullptr;
        int kind = 0;
    };
    PagePart partOn(int page, int slot);
    // Where part `d` is drawn on `page` as its header or footer, pixels from the sheet's
    // corner; the same for the document's part (1, 2, 4, 8).
    QRectF partRect(QTextDocument* d, int page, bool header);
    QRectF partRect(int part, int page);

    enum Layer { Body = 1, HeaderFooter = 2, Decorations = 4, All = 7 };
    // Paints page `page` (1-based) with the sheet's top-left corner at the painter's
    // origin, in 96-dpi pixels (whatever the layout scale of the body).
    void paintPage(QPainter* p, int page, int layers = All);
    QImage renderPage(int page, double dpi = 96);
    QPicture pagePicture(int page);

Q_SIGNALS:
    void invalidated();

private:
    void invalidate();
    void onContentsChange(int pos, int removed, int added);
    // A header or footer changed: its height may move the body.
    void onPartsChanged();
    void watchParts();
    void ensureLayout();
    // One page as painted: the laid-out copy it comes from and its place there.
    struct Sheet {
        QTextDocument* d = nullptr;
        PageGeometry page;       // the sheet's size and margins
        int number = 1;          // printed page number
        int local = 1;           // page within d
        int headerDistance = 720;
        int footerDistance = 720;
        QTextDocument* parts[2] = {nullptr, nullptr}; // header, footer
    };
    Sheet sheetOf(int page);
    void paintHeaderFooter(QPainter* p, const Sheet& s);
    void paintDecorations(QPainter* p, const Sheet& s);
    static QRectF partRect(const Sheet& s, QTextDocument* d, bool header);
    // Sets `p` to paint the laid-out document's units; returns the sheet in those units.
    static QRectF enterSheet(QPainter* p, const Sheet& s);
    void layOutSections();
    // The page the body of section `index` is laid out on, clear of its header and footer.
    PageGeometry sectionBodyGeometry(int index);

    Document* m_doc;
    QTextDocument* m_copy = nullptr;
    bool m_takesBody = false;
    bool m_still = false;
    // A still plain document is paginated without a laid-out copy.
    std::unique_ptr<PlainPages> m_plain;
    bool m_dirty = true;
    int m_rebuilds = 0;
    int m_printDpi = PrintDpi; // a copy once too long starts its rebuilds coarser
    bool m_copyMirrors = false; // edits of the body can be replayed on the copy
    // The body placed as printed by a window (PlainLayout) serves as the copy itself.
    bool m_copyIsBody = false;
    PageGeometry m_laidOut; // the body geometry of the last layout
    struct Decoration {
        int position; // block or anchor position
        bool image;
    };
    QList<Decoration> decorationsOf(const Sheet& s);
    QList<SectionCopies::Copy> m_sections; // empty for a body without sections
    QList<Sections::Section> m_sectionList;
    QList<PageGeometry> m_sectionGeometries; // as the copies were laid out
};
