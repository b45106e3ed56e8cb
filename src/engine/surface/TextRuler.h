#pragma once
// The document window's ruler for the editing surface: a centimetre scale over the
// page with its margins, the current paragraph's indents and tab stops. A click sets
// a left tab stop; a tab stop can be dragged along the ruler or off it to remove it.

#include <QWidget>

class SurfaceFollower;
class TextControl;

class TextRuler : public QWidget {
    Q_OBJECT
public:
    explicit TextRuler(QWidget* parent = nullptr);

    void setTextControl(TextControl* surface);
    TextControl* textControl() const;

    QSize sizeHint() const override;

    // Ruler x (pixels in this widget) of a position in twips from the text's left
    // edge, and back; both follow the surface's zoom and scrolling.
    double xForTwips(int twips) const;
    int twipsForX(double x) const;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    int tabAt(double x) const; // 1-based, 0 for none
    TextControl* surface() const;

    SurfaceFollower* m_follower;
    int m_dragTab = 0;
    bool m_dragged = false;
};
