#pragma once
// Draws a page-number field: the number of the page it is drawn on, or for a
// page-count field the number of pages. In a paginated body the page follows from
// where it is drawn and the count from the body; in a header or footer the painter of
// the page says which page it is painting and how many there are (Scope).

#include <QObject>
#include <QTextObjectInterface>

class QTextDocument;

class PageNumberObject : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    explicit PageNumberObject(QObject* parent = nullptr) : QObject(parent) {}

    // Registers the handler for both objects on the document's layout (idempotent).
    static void install(QTextDocument* doc);

    QSizeF intrinsicSize(QTextDocument* doc, int posInDocument, const QTextFormat& format) override;
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* doc, int posInDocument,
                    const QTextFormat& format) override;

    // While a Scope lives, page numbers show `page` and page counts `pages` (when
    // above 0) wherever they are drawn.
    class Scope {
    public:
        explicit Scope(int page, int pages = 0);
        ~Scope();
    private:
        int m_previous, m_previousPages;
    };
    static int forcedPage();

    // Numbers in `doc` take the room of as many digits as `pages` has (one until told),
    // page numbers that of `page` when it is given (a header or footer drawn for that
    // page); when that changes, the paragraphs holding them are laid out again.
    static void fitDigits(QTextDocument* doc, int pages, int page = 0);
    // A paginated copy of one section of a longer body: its first page is printed as
    // page `firstPage` of `pages`.
    static void setNumbering(QTextDocument* doc, int firstPage, int pages);

private:
    // Per thread: documents may be painted on another thread than the window's.
    static thread_local int s_page;
    static thread_local int s_pages;
};
