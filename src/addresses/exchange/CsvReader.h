#pragma once
// Comma-separated address lists as spreadsheets and mail programs save them: the
// encoding (UTF-8 with or without BOM, UTF-16 with BOM, else Windows-1252), the
// delimiter (semicolon, comma or tab, whichever the first line holds most of) and
// quoted fields with line breaks and doubled quotes. The first row is the header.

#include "ExchangeTable.h"

#include <QByteArray>

namespace CsvReader {

// The bytes as text, decoded by the encoding they show.
QString decode(const QByteArray& bytes);
// ';', ',' or '\t' as found outside quotes in the first line of `text`.
QChar guessDelimiter(const QString& text);
// Splits `text` into rows; a row's line is where it starts (1-based).
std::vector<ExchangeRow> split(const QString& text, QChar delimiter);
// Decodes, splits and takes the first row as the header.
ExchangeTable read(const QByteArray& bytes);

} // namespace CsvReader
