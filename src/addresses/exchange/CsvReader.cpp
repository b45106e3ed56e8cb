#include "CsvReader.h"

#include "Windows1252.h"

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
    // Not UTF-8: spreadsheets here save Windows-1252.
    return Windows1252::decode(bytes);
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
