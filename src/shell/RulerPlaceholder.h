#pragma once
// A plain centimetre scale above the document until the engine's ruler takes its
// place.

#include <QWidget>

class RulerPlaceholder : public QWidget {
    Q_OBJECT
public:
    explicit RulerPlaceholder(QWidget* parent = nullptr);
    QSize sizeHint() const override;
    // Zoom in percent; the scale follows it.
    void setZoom(int percent);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    int m_zoom = 100;
};
