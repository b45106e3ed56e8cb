#pragma once
// How the editing surface shows its body: the normal view (0) wraps the text at the
// window; the layout view (1) and the centred view (2) are page views, with the sheets
// in one column in the middle of a grey desk as they are printed: headers, footers,
// page breaks, paragraph frames and movable pictures.
//
// The body's root frame carries the page margins in every view, so changing the view
// changes no format and records no undo step. The page views show the body's printed
// copy (the paginator's), laid out as printed; the body itself wraps at the page width
// there and at the window in the normal view.

#include <QString>

class Document;
class Paginator;
class QPaintEvent;
class QRect;
class QSizeF;
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

private:
    void placeViewport();
    // A long plain text in the page views: the body is placed as printed too (PlainLayout),
    // so that typing does not move every paragraph after the caret through Qt's layout.
    void chooseBodyLayout();
    double sheetHeight() const; // document pixels

    TextControl* m_surface;
    Document* m_doc;
    Paginator* m_paginator;
    int m_mode = 2;
    int m_zoom = 100;
    bool m_updating = false;
    mutable int m_pages = 1; // printed pages as last counted
    QString m_notPlain; // the body as last found not plain
};
