#pragma once
// Mouse and key handling of the editing surface that needs the printed pages: hyperlink
// clicks, Escape out of a header/footer part, and in the page views moving fixed
// images (Alt + drag) and double clicks into headers and footers.

#include <QObject>
#include <QPoint>

class TextControl;

class PagesEventFilter : public QObject {
public:
    explicit PagesEventFilter(TextControl& surface);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool layoutViewEvent(QEvent* event);

    TextControl& m_surface;
    int m_movingImage = 0;
    QPoint m_moveStart;
    QPoint m_moveOrigin;
};
