#include "CsvReader.h"

#include <QStringDecoder>

namespace CsvReader {

QString decode(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    if (bytes.startsWith("\xFF\xFE")) {
        QStringDecoder d(QStringDecoder::Utf16LE);
        return d.decode(bytes.mid(2));
    }
    if (bytes.startsWith("\xFE\xFF")) {
        QStringDecoder d(QStringDecoder::Utf16BE);
        return d.decode(bytes.mid(2));
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    // Not UTF-8: spreadsheets here save Windows-1252; its letters are Latin-1's apart
    // from 0x80..0x9F, which carry the euro sign and typographic quotes.
    static const char16_t high[32] = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
                                      0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
    QString out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += (b >= 0x80 && b < 0xA0) ? QChar(high[b - 0x80]) : QChar(b);
    }
    return out;
}

QChar guessDelimiter(const QString& text)
{
    int semicolons = 0, commas = 0, tabs = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && (c == u'\n' || c == u'\r'))
            break;
        else if (!quoted && c == u';')
            ++semicolons;
        else if (!quoted && c == u',')
            ++commas;
        else if (!quoted && c == u'\t')
            ++tabs;
    }
    if (tabs > semicolons && tabs > commas)
        return u'\t';
    return commas > semicolons ? u',' : u';';
}

std::vector<ExchangeRow> split(const QString& text, QChar delimiter)
{
    std::vector<ExchangeRow> rows;
    ExchangeRow row;
    QString field;
    bool quoted = false;
    bool rowHasData = false;
    int line = 1;
    row.line = 1;
    auto endRow = [&] {
        row.values << field;
        field.clear();
        // A line with nothing on it is no row.
        if (rowHasData || row.values.size() > 1)
            rows.push_back(std::move(row));
        row = ExchangeRow();
        rowHasData = false;
    };
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < n && text[i + 1] == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == u'\n')
                    ++line;
                if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                    continue; // CR LF inside a field is one line break
                field += (c == u'\r') ? QChar(u'\n') : c;
            }
            continue;
        }
        if (c == u'"' && field.isEmpty()) {
            quoted = true;
            rowHasData = true;
        } else if (c == delimiter) {
            row.values << field;
            field.clear();
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            endRow();
            ++line;
            row.line = line;
        } else {
            field += c;
            rowHasData = true;
        }
    }
    if (rowHasData || !row.values.isEmpty())
        endRow();
    return rows;
}

ExchangeTable read(const QByteArray& bytes)
{
    ExchangeTable t;
    const QString text = decode(bytes);
    auto rows = split(text, guessDelimiter(text));
    if (rows.empty()) {
        t.error = QStringLiteral("Die Datei enthält keine Adressen.");
        return t;
    }
    for (const QString& h : std::as_const(rows.front().values))
        t.headers << h.trimmed();
    rows.erase(rows.begin());
    t.rows = std::move(rows);
    return t;
}

} // namespace CsvReader
