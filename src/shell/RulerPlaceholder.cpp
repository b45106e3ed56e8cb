#include "RulerPlaceholder.h"

#include <QPainter>

RulerPlaceholder::RulerPlaceholder(QWidget* parent) : QWidget(parent)
{
    setFixedHeight(sizeHint().height());
}

QSize RulerPlaceholder::sizeHint() const { return {200, 22}; }

void RulerPlaceholder::setZoom(int percent)
{
    m_zoom = percent;
    update();
}

void RulerPlaceholder::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    p.setPen(palette().color(QPalette::Mid));
    p.drawLine(0, height() - 1, width(), height() - 1);
    // 1 cm = 567 twips = 37.8 px at 96 dpi, scaled by the zoom.
    const double cm = 567.0 / 15.0 * m_zoom / 100.0;
    if (cm < 2)
        return;
    QFont f = font();
    f.setPointSizeF(7);
    p.setFont(f);
    p.setPen(palette().color(QPalette::WindowText));
    for (int i = 0; i * cm / 2 < width(); ++i) {
        const int x = int(i * cm / 2);
        const bool whole = i % 2 == 0;
        p.drawLine(x, height() - 1, x, height() - (whole ? 7 : 4));
        if (whole && i > 0)
            p.drawText(QRect(x - 10, 0, 20, height() - 7), Qt::AlignCenter, QString::number(i / 2));
    }
}
