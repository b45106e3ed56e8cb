#pragma once
// Decoding the bytes of a text or HTML file: a byte-order mark chooses UTF-8, UTF-16
// or UTF-32 (what older editors save as "Unicode"); without one, UTF-8 or else
// Windows-1252. NUL characters cannot be shown or kept and are dropped.

#include <QByteArray>
#include <QString>

namespace TextDecoding {

// True when the bytes begin with a UTF-8, UTF-16 or UTF-32 byte-order mark.
bool hasByteOrderMark(const QByteArray& data);
// The text; `droppedNul` tells whether NUL characters were removed.
QString decode(const QByteArray& data, bool* droppedNul = nullptr);
// The note a reader adds when NUL characters were removed.
QString nulNote();

} // namespace TextDecoding
