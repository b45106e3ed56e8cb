#pragma once
// Windows code page 1252, the code page of RTF files from Western European systems.
// Qt without a codec library cannot be relied on for it, so the 32 characters that
// differ from Latin-1 are mapped here.

#include <QChar>

namespace Cp1252 {
// The character for one byte; undefined bytes give U+FFFD.
QChar toUnicode(unsigned char byte);
// The byte for a character, or -1 when the code page lacks it.
int fromUnicode(char16_t c);
} // namespace Cp1252
