#pragma once
// Draws a page-number field: the number of the page it is drawn on. In a paginated
// body that page follows from where it is drawn; in a header or footer the painter of
// the page says which page it is painting (PageNumberObject::Scope).

#include <QObject>
#include <QTextObjectInterface>

class QTextDocument;

class PageNumberObject : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    explicit PageNumberObject(QObject* parent = nullptr) : QObject(parent) {}

    // Registers one handler on the document's layout (idempotent).
    static void install(QTextDocument* doc);

    QSizeF intrinsicSize(QTextDocument* doc, int posInDocument, const QTextFormat& format) override;
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* doc, int posInDocument,
                    const QTextFormat& format) override;

    // While a Scope lives, page numbers show `page` wherever they are drawn.
    class Scope {
    public:
        explicit Scope(int page);
        ~Scope();
    private:
        int m_previous;
    };
    static int forcedPage();

private:
    static int s_page;
};
