#pragma once
// Measuring what a widget or a page shows by its dark pixels.

#include <QImage>
#include <QRect>

// Pixels inside `r` (as far as it lies on the image) darker than `threshold`.
inline int darkPixels(const QImage& img, const QRect& r, int threshold = 128)
{
    const QRect area = r.intersected(img.rect());
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(img.pixel(x, y)) < threshold)
                ++n;
    return n;
}
