#pragma once
// Writing addresses out for other programs: CSV (semicolons, a header row of the
// address field names, which the import maps back) or vCard 4.0.

#include <QByteArray>
#include <QString>

class RecordSource;

namespace AddressExport {

enum class Encoding { Utf8, Windows1252 };
enum class Format { CsvUtf8, CsvWindows1252, VCard };

// Every row of `source`, in its order. In Windows-1252 a character the code page lacks
// is written as "?"; `unmappable` counts the addresses that had one.
QByteArray csv(const RecordSource& source, Encoding encoding = Encoding::Utf8, int* unmappable = nullptr);
QByteArray vcard(const RecordSource& source);

// vCard for a name ending in ".vcf", else CSV in UTF-8.
Format formatFor(const QString& path);

struct Written {
    int addresses = -1; // -1: nothing written, `error` says why
    int unmappable = 0; // addresses with characters Windows-1252 lacks
    QString error;
};
// Writes the rows of `source` to `path` in one safe save.
Written writeFile(const RecordSource& source, const QString& path, Format format);
// "3 Adressen geschrieben: <path>", and a warning about characters written as "?".
QString report(const Written& written, const QString& path);

} // namespace AddressExport
