#pragma once
// Windows-1252, the code page German spreadsheets save in: Latin-1 apart from
// 0x80..0x9F, which carry the euro sign, typographic quotes and a few letters. Kept
// here rather than asked of the platform's codecs, which may not know it.

#include <QByteArray>
#include <QString>

namespace Windows1252 {

QString decode(const QByteArray& bytes);
// Characters the code page lacks become "?"; `unmappable` counts them.
QByteArray encode(const QString& text, int* unmappable = nullptr);

} // namespace Windows1252
