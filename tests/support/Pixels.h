#pragma once
// Measuring what a widget or a page shows by its dark pixels.

#include <QColor>
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

// Pixels inside `r` (the whole image when null) of exactly the colour `c`.
inline int colourPixels(const QImage& img, const QColor& c, const QRect& r = {})
{
    const QRect area = r.isNull() ? img.rect() : r.intersected(img.rect());
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += img.pixelColor(x, y) == c;
    return n;
}

// The smallest rectangle holding every pixel whose colour `match` accepts.
template <typename Match>
QRect pixelBox(const QImage& img, Match match)
{
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (match(img.pixelColor(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}
