#pragma once
// A QTextEdit that shows its document magnified by painting, not by layout: the
// document is always laid out in 96-dpi pixels, and painting, mouse hits, the caret and
// the scroll bars work in "zoomed" viewport pixels. So indents, tabs, fonts and tables
// all grow alike and a line breaks at the same word at every zoom.
//
// Viewport pixels are document pixels × zoom − scroll offset.
//
// A subclass may show another layout of its document: copies with the same character
// positions laid out elsewhere (the page views show the body as printed, a section in
// a copy of its own). Painting, the caret, hits, line keys and repaints then follow
// those layouts.

#include "ShownLayout.h"

#include <QAbstractTextDocumentLayout>
#include <QBasicTimer>
#include <QPointer>
#include <QTextEdit>

class ZoomedTextEdit : public QTextEdit {
    Q_OBJECT
public:
    explicit ZoomedTextEdit(QWidget* parent = nullptr);

    double zoom() const { return m_zoom; }
    void setZoom(double factor);

    QPoint scrollOffset() const;
    // Viewport point to document point and back.
    QPointF toDocument(const QPointF& viewportPos) const;
    QPointF toViewport(const QPointF& docPos) const;
    // The caret of `c` (the text cursor when none is given) in viewport pixels: what
    // QTextEdit::cursorRect would be without the zoom.
    QRect caretRect() const;
    QRect caretRect(const QTextCursor& c) const;
    // Where the caret of `c` stands in the document.
    QRectF documentCaretRect(const QTextCursor& c) const;
    // The cursor at a viewport point.
    QTextCursor cursorAt(const QPoint& viewportPos) const;

    // The document whose layout is shown: document() itself, or a copy with the same
    // positions laid out at shownScale() layout units per document pixel.
    virtual QTextDocument* shownDocument() const { return document(); }
    virtual double shownScale() const { return 1; }
    // Whether a copy is shown; asks without laying the copy out.
    virtual bool showsCopy() const { return false; }
    // The laid-out copies shown and where: by default shownDocument() alone.
    virtual ShownLayout::Pieces shownPieces() const;
    // True while the text is read or laid out anew: the caret's place waits for the end.
    virtual bool settling() const { return false; }

    // Scrolls the least that brings `r` (viewport pixels) into view.
    void reveal(const QRect& r);

public Q_SLOTS:
    // Scroll bar ranges for the zoomed contents; call after the contents grew in ways the
    // document does not report.
    void adjustScrollRanges();

protected:
    // The size to scroll over, in document pixels; the page views add their sheets.
    virtual QSizeF contentsSize() const;
    // Paints the document, selections and caret for the viewport region `r`.
    void paintContents(QPainter* p, const QRect& r);
    // Screen-only decorations over the text (spelling marks); `p` is in document pixels.
    virtual void paintOverText(QPainter* p, const QRectF& clip) {}

    void paintEvent(QPaintEvent* e) override;
    // Up, Down, Home, End and the page keys along the shown lines; false for other keys
    // and when the document's own layout is shown.
    bool moveAlongShownLines(QKeyEvent* e);
    // The shown copy was laid out anew: repaint all and follow its layout from now on.
    void shownDocumentReplaced();
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dragLeaveEvent(QDragLeaveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void timerEvent(QTimerEvent* e) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

private Q_SLOTS:
    // From QTextEdit's internal text control, in document coordinates.
    void repaintDocumentRect(const QRectF& r);
    void revealDocumentRect(const QRectF& r);
    void takeTextSize(const QSizeF& size);
    void repaintSelectionChange();

private:
    // The point QTextEdit's own handlers must be given for viewport point `p`: they add
    // the scroll offset themselves and know nothing of the zoom.
    QPointF forTextEdit(const QPointF& p) const;
    void routeTextControl();
    // Repaints document rectangle `r` with room for letters reaching out of it.
    void repaintArea(const QRectF& r);
    void restartBlink();
    void updateCaret();
    QRect zoomed(const QRectF& docRect) const;
    // How far (document pixels) letters may reach out of the lines of `r`.
    double overhang(const QRectF& r) const;
    // The selections of the document as selections of piece `p`.
    QAbstractTextDocumentLayout::PaintContext paintContext(const ShownLayout::Piece& p, bool onePiece) const;
    void watchShownDocument(const ShownLayout::Pieces& pieces);
    // A shown copy's layout asks for rectangle `r` (its layout units) to be repainted.
    void repaintShownRect(const QTextDocument* d, const QRectF& r);

    double m_zoom = 1.0;
    QBasicTimer m_blink;
    bool m_caretOn = false;
    QRect m_caretShown; // where the caret was last drawn, viewport pixels
    QPoint m_caretScroll; // the scroll offset it was drawn at
    int m_dropPosition = -1;
    bool m_fixingRange = false;
    QSizeF m_textSize; // as the layout last reported it
    const QTextDocument* m_textSizeOf = nullptr;
    double m_guessedHeight = 0; // QTextEdit's height of a text still being laid out
    QList<QPointer<QTextDocument>> m_watched; // the shown copies whose repaints are followed
    int m_selStart = 0, m_selEnd = 0;  // the selection as last painted
    double m_goalX = -1;               // the column kept by Up and Down (document pixels)
    int m_goalPos = -1;                // where the last Up or Down left the caret
};
