#pragma once
// Splits RTF into tokens: group braces, control words with their (clamped) numeric
// parameter, control symbols, \'hh bytes, \bin data and runs of plain text bytes.

#include <QByteArray>

struct RtfToken {
    enum Kind { End, GroupStart, GroupEnd, Word, Symbol, HexByte, Text, Binary };
    Kind kind = End;
    QByteArray word;     // Word: the name; Text/Binary: the bytes
    bool hasParam = false;
    int param = 0;       // Word: parameter clamped to the 32-bit range; HexByte: value
    char symbol = 0;     // Symbol: the character after the backslash
};

class RtfTokenizer {
public:
    explicit RtfTokenizer(const QByteArray& data) : m_data(data) {}
    RtfToken next();
    qsizetype position() const { return m_pos; }

private:
    const QByteArray& m_data;
    qsizetype m_pos = 0;
};
