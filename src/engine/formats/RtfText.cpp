#include "RtfText.h"

#include "Cp1252.h"

namespace RtfText {

QByteArray hexByte(int v) { return "\\'" + QByteArray::number(v, 16).rightJustified(2, '0'); }

QByteArray escape(QStringView s)
{
    QByteArray out;
    for (QChar ch : s) {
        const char16_t c = ch.unicode();
        switch (c) {
        case u'\\': out += "\\\\"; continue;
        case u'{': out += "\\{"; continue;
        case u'}': out += "\\}"; continue;
        case u'\t': out += "\\tab "; continue;
        case 0x2028: out += "\\line "; continue;
        case 0x00A0: out += "\\~"; continue;
        case 0x00AD: out += "\\-"; continue;
        case 0x2011: out += "\\_"; continue;
        case QChar::ObjectReplacementCharacter: continue;
        default: break;
        }
        if (c < 0x20)
            continue;
        if (c < 0x80) {
            out += char(c);
            continue;
        }
        const int b = Cp1252::fromUnicode(c);
        if (b >= 0) {
            out += hexByte(b);
        } else {
            out += "\\u" + QByteArray::number(qint16(c)) + '?';
        }
    }
    return out;
}

} // namespace RtfText
