#pragma once
// Text as RTF writes it: the characters RTF reserves escaped, line breaks, tabs and
// special blanks as control words, the rest in code page 1252 or as \uN.

#include <QByteArray>
#include <QStringView>

namespace RtfText {

QByteArray escape(QStringView s);
// A byte as \'hh.
QByteArray hexByte(int v);

} // namespace RtfText
