#include "FormatRules.h"

#include <QtGlobal>
#include <cmath>

namespace FormatRules {

namespace {
int roundHalfEven(double v) { return int(std::nearbyint(v)); }

constexpr int kPartBits[] = {0x01, 0x02, 0x04, 0x08, 0x10};
} // namespace

double leadingNumber(const QString& text)
{
    int i = 0;
    const int n = int(text.size());
    while (i < n && text.at(i).isSpace())
        ++i;
    QString number;
    if (i < n && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+')))
        number += text.at(i++);
    bool digits = false, separator = false;
    for (; i < n; ++i) {
        const QChar c = text.at(i);
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            number += c;
            digits = true;
        } else if ((c == QLatin1Char('.') || c == QLatin1Char(',')) && !separator) {
            number += QLatin1Char('.');
            separator = true;
        } else {
            break;
        }
    }
    if (!digits)
        return 0;
    bool ok = false;
    const double v = number.toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0;
}

int leadingInt16(const QString& text)
{
    return qBound(-32768, roundHalfEven(qBound(-1e6, leadingNumber(text), 1e6)), 32767);
}

int frameStyleWord(const FrameParts& p)
{
    const bool on[] = {p.left, p.right, p.top, p.bottom, p.tabLines};
    int word = 0;
    for (int i = 0; i < 5; ++i)
        word |= on[i] ? kPartBits[i] : kPartBits[i] << 8;
    if (p.connected)
        word |= 0x80;
    word |= p.doubleLines ? 0x40 : 0x20;
    return word;
}

FrameParts frameParts(int style)
{
    if (style < 0)
        return {};
    return {bool(style & 0x01), bool(style & 0x02), bool(style & 0x04), bool(style & 0x08),
            bool(style & 0x10), bool(style & 0x80), bool(style & 0x40)};
}

QString pointsText(double points)
{
    const QString number = QString::number(points, 'g', 7);
    return (points < 0 ? number : QLatin1Char(' ') + number) + QStringLiteral(" pt");
}

std::optional<int> frameLineWidthTwips(const QString& text)
{
    if (text.isEmpty())
        return std::nullopt;
    return qBound(1, leadingInt16(text), 12) * 20;
}

std::optional<int> frameDistanceTwips(const QString& text)
{
    if (text.isEmpty())
        return std::nullopt;
    return roundHalfEven(qBound(0.0, leadingNumber(text), 12.0) * 20);
}

int millimetresFromTwips(int twips) { return roundHalfEven(twips / TwipsPerMillimetre); }

int twipsFromMillimetres(const QString& text)
{
    return roundHalfEven(qBound(-1e6, leadingNumber(text), 1e6) * TwipsPerMillimetre);
}

QString limitMillimetres(const QString& text)
{
    const double v = leadingNumber(text);
    if (v > 100)
        return QStringLiteral("100");
    if (v < 0)
        return QStringLiteral("0");
    return text;
}

QStringList exportFormatItems(const QString& formats)
{
    if (formats.isEmpty())
        return {};
    return formats.split(QLatin1Char('|'));
}

} // namespace FormatRules
