#include "Windows1252.h"

namespace Windows1252 {
namespace {
// 0xFFFD marks the five bytes the code page leaves undefined.
constexpr char16_t high[32] = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                               0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
                               0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                               0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
} // namespace

QString decode(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += (b >= 0x80 && b < 0xA0) ? QChar(high[b - 0x80]) : QChar(b);
    }
    return out;
}

QByteArray encode(const QString& text, int* unmappable)
{
    QByteArray out;
    out.reserve(text.size());
    int missing = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out += char(u);
            continue;
        }
        int found = -1;
        for (int k = 0; k < 32 && found < 0; ++k)
            if (high[k] == u && u != 0xFFFD)
                found = k;
        if (found >= 0) {
            out += char(0x80 + found);
            continue;
        }
        // A character outside the basic plane is one "?" for both of its halves.
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        out += '?';
        ++missing;
    }
    if (unmappable)
        *unmappable = missing;
    return out;
}

} // namespace Windows1252
