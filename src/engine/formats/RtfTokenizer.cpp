#include "RtfTokenizer.h"

#include <limits>

namespace {
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
} // namespace

RtfToken RtfTokenizer::next()
{
    RtfToken t;
    const qsizetype n = m_data.size();
    // Line ends in RTF source carry no meaning.
    while (m_pos < n && (m_data[m_pos] == '\r' || m_data[m_pos] == '\n'))
        ++m_pos;
    if (m_pos >= n)
        return t;
    const char c = m_data[m_pos];
    if (c == '{') {
        ++m_pos;
        t.kind = RtfToken::GroupStart;
        return t;
    }
    if (c == '}') {
        ++m_pos;
        t.kind = RtfToken::GroupEnd;
        return t;
    }
    if (c != '\\') {
        const qsizetype start = m_pos;
        while (m_pos < n) {
            const char d = m_data[m_pos];
            if (d == '\\' || d == '{' || d == '}' || d == '\r' || d == '\n')
                break;
            ++m_pos;
        }
        t.kind = RtfToken::Text;
        t.word = m_data.mid(start, m_pos - start);
        return t;
    }
    ++m_pos; // the backslash
    if (m_pos >= n) {
        t.kind = RtfToken::Symbol;
        t.symbol = '\\';
        return t;
    }
    const char d = m_data[m_pos];
    if (!isLetter(d)) {
        ++m_pos;
        if (d == '\'') {
            const int hi = m_pos < n ? hexValue(m_data[m_pos]) : -1;
            const int lo = m_pos + 1 < n ? hexValue(m_data[m_pos + 1]) : -1;
            if (hi >= 0 && lo >= 0) {
                m_pos += 2;
                t.kind = RtfToken::HexByte;
                t.param = hi * 16 + lo;
                return t;
            }
        }
        // A backslash before a line end is a paragraph mark.
        if (d == '\r' || d == '\n') {
            t.kind = RtfToken::Word;
            t.word = "par";
            return t;
        }
        t.kind = RtfToken::Symbol;
        t.symbol = d;
        return t;
    }
    const qsizetype start = m_pos;
    while (m_pos < n && isLetter(m_data[m_pos]) && m_pos - start < 32)
        ++m_pos;
    t.kind = RtfToken::Word;
    t.word = m_data.mid(start, m_pos - start);
    bool negative = false;
    if (m_pos < n && m_data[m_pos] == '-' && m_pos + 1 < n && isDigit(m_data[m_pos + 1])) {
        negative = true;
        ++m_pos;
    }
    if (m_pos < n && isDigit(m_data[m_pos])) {
        t.hasParam = true;
        qint64 v = 0;
        while (m_pos < n && isDigit(m_data[m_pos])) {
            if (v < std::numeric_limits<int>::max())
                v = v * 10 + (m_data[m_pos] - '0');
            ++m_pos;
        }
        v = qMin<qint64>(v, std::numeric_limits<int>::max());
        t.param = int(negative ? -v : v);
    }
    if (m_pos < n && m_data[m_pos] == ' ')
        ++m_pos; // the delimiting blank belongs to the control word
    if (t.word == "bin" && t.hasParam && t.param > 0) {
        const qsizetype len = qMin<qsizetype>(t.param, n - m_pos);
        t.kind = RtfToken::Binary;
        t.word = m_data.mid(m_pos, len);
        m_pos += len;
    }
    return t;
}
