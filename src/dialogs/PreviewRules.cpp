#include "PreviewRules.h"

#include <QtGlobal>
#include <cmath>

namespace PreviewRules {

namespace {
qint16 i16(double v) { return qint16(qBound(-32768.0, std::round(v), 32767.0)); }
} // namespace

Controls controls(int current, int pages, int zoom)
{
    Controls c;
    c.next = pages > current;
    c.previous = current >= 2;
    c.pages = zoom == 0 && pages >= 2;
    c.zoomIn = zoom < 2;
    c.zoomOut = zoom == 1 || zoom == 2;
    c.label = QStringLiteral("Seite %1 von %2").arg(current).arg(pages);
    return c;
}

int fitFactor(QSizeF picture, QSizeF page)
{
    if (page.width() <= 0 || page.height() <= 0)
        return 0;
    const int byHeight = i16(picture.height() * 100 / page.height());
    const int byWidth = i16(picture.width() * 100 / page.width());
    return qMin(byHeight, byWidth);
}

Placement fitted(QSizeF view, QSizeF page, bool twoPages)
{
    const double pw = page.width(), ph = page.height();
    const double vw = view.width(), vh = view.height();
    Placement out;
    if (!twoPages) {
        double h = std::round(vh - 300);
        double w = std::round(h * pw / ph);
        if (w <= vw - 300) {
            out.first = QRectF((vw - w) / 2, 100, w, h);
        } else {
            w = std::round(vw - 300);
            h = std::round(w * ph / pw);
            out.first = QRectF(100, (vh - h) / 2, w, h);
        }
        return out;
    }
    double w = std::round((vw - 400) / 2);
    double h = std::round(w * ph / pw);
    if (h <= vh - 300) {
        const double top = (vh - h) / 2;
        out.first = QRectF(100, top, w, h);
        out.second = QRectF(w + 200, top, w, h);
    } else {
        h = std::round(vh - 300);
        w = std::round(h * pw / ph);
        const double gap = (vw - 2 * w) / 3;
        out.first = QRectF(gap, 100, w, h);
        out.second = QRectF(2 * gap + w, 100, w, h);
    }
    return out;
}

Axis zoomed(double picture, double view, int scrollValue)
{
    Axis a;
    const double overflow = picture + 200 - view;
    if (overflow > 0) {
        a.maximum = i16(overflow);
        a.largeChange = qMax<int>(1, i16(view / (picture + 200) * overflow));
        a.smallChange = qMax<int>(1, i16(overflow * 0.2));
    }
    const double centred = (view - picture) / 2;
    if (centred >= 100) {
        a.edge = centred;
    } else {
        a.scrollable = true;
        a.edge = 100 - qBound(0, scrollValue, a.maximum);
    }
    return a;
}

QSizeF zoomedSize(QSizeF page, int zoom, QSizeF fitted)
{
    constexpr double step = 1.25;
    QSizeF size = fitted;
    for (int level = 1; level <= zoom && level <= 2; ++level) {
        const QSizeF nominal = page * (level == 1 ? 0.75 : 1.0);
        size = nominal.width() >= size.width() * step ? nominal : size * step;
    }
    return size;
}

} // namespace PreviewRules
