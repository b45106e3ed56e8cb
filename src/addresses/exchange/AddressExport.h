#pragma once
// Writing addresses out for other programs: CSV (semicolons, a header row of the
// address field names, which the import maps back) or vCard 4.0.

#include <QByteArray>
#include <QString>

class RecordSource;

namespace AddressExport {

enum class Encoding { Utf8, Windows1252 };

// Every row of `source`, in its order.
QByteArray csv(const RecordSource& source, Encoding encoding = Encoding::Utf8);
QByteArray vcard(const RecordSource& source);

// Writes the rows of `source` to `path`: vCard when it ends in ".vcf", else CSV in
// UTF-8. Returns the number of addresses, or -1 with `error` set.
int writeFile(const RecordSource& source, const QString& path, QString* error);

} // namespace AddressExport
