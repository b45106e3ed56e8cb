#pragma once
// Paragraph alignment as the surface numbers it: 0 left, 1 right, 2 centred,
// 3 justified.

#include <Qt>
#include <QtGlobal>

namespace AlignmentCodes {

inline int code(Qt::Alignment a)
{
    if (a & Qt::AlignRight)
        return 1;
    if (a & Qt::AlignHCenter)
        return 2;
    if (a & Qt::AlignJustify)
        return 3;
    return 0;
}

inline Qt::Alignment flags(int code)
{
    static const Qt::Alignment map[] = {Qt::AlignLeft | Qt::AlignAbsolute, Qt::AlignRight, Qt::AlignHCenter,
                                        Qt::AlignJustify};
    return map[qBound(0, code, 3)];
}

} // namespace AlignmentCodes
