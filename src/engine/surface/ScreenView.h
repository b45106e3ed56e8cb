#pragma once
// How the editing surface shows its body: the normal view (0) wraps the text at the
// window; the layout view (1) and the centred view (2) are page views, with the sheets
// in one column in the middle of a grey desk as they are printed: headers, footers,
// page breaks, paragraph frames and movable pictures.
//
// The body's root frame carries the page margins in every view, so changing the view
// changes no format and records no undo step. The page views show the body's printed
// copy (the paginator's), laid out as printed; the body itself wraps at the page width
// there and at the window in the normal view. A body with sections shows each section's
// copy on sheets of its own size, centred on the widest (SheetColumn).

#include <QSizeF>

#include <QString>

class Document;
class Paginator;
class QPaintEvent;
class QPointF;
class QRect;
class QRectF;
class TextControl;

class ScreenView {
public:
    ScreenView(TextControl* surface, Document* doc, Paginator* paginator);

    int mode() const { return m_mode; }
    // The layout and the centred view show the printed pages.
    bool showsPages() const { return m_mode != 0; }
    void setMode(int mode);
    int zoom() const { return m_zoom; }
    double zoomFactor() const { return m_zoom / 100.0; }
    // Keeps the same part of the text in view.
    void setZoom(int percent);

    // Lays the body out anew for the view, the zoom, the page and the window.
    void update();
    // The surface or its viewport changed size.
    void resized();
    // x in the surface where the left edge of the text is shown.
    int textLeftX() const;
    // The page views: sheets under the text, headers, footers and decorations over it.
    void paintLayout(QPaintEvent* e);
    // The normal view: table grid lines and paragraph frames over the text, which has
    // no pages there.
    void paintTextExtras();
    // Scrolls the least that brings `r` (viewport pixels) into view.
    void reveal(const QRect& r);
    // What the surface scrolls over, given the size of its text (document pixels).
    QSizeF contentsSize(QSizeF text) const;
    // The sheet of printed page `page` in the page views, document pixels; the page
    // whose sheet holds `docPos` (the nearest above or below the sheets).
    QRectF sheet(int page) const;
    int pageAt(const QPointF& docPos) const;

private:
    void placeViewport();
    QSizeF columnSize() const; // of the sheets, document pixels
    // A long plain text in the page views: the body is placed as printed too (PlainLayout),
    // so that typing does not move every paragraph after the caret through Qt's layout.
    void chooseBodyLayout();

    TextControl* m_surface;
    Document* m_doc;
    Paginator* m_paginator;
    int m_mode = 2;
    int m_zoom = 100;
    bool m_updating = false;
    mutable QSizeF m_column;          // the sheets as last measured
    mutable double m_sectionsWidth = 0; // their width when sections have sheets of their own
    QString m_notPlain; // the body as last found not plain
};
