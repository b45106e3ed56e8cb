#pragma once
// Header and footer parts are named by bits (1 header, 2 first-page header, 4 footer,
// 8 first-page footer); their sets are stored in arrays of four.
inline int partIndex(int part)
{
    switch (part) {
    case 1: return 0;
    case 2: return 1;
    case 4: return 2;
    case 8: return 3;
    default: return -1;
    }
}
