#pragma once
// Taking a foreign address list into the address table: read the file (CSV or vCard),
// map its columns onto the address fields, then write every address in one
// transaction, so that an import is either all there or not there at all.

#include "ExchangeTable.h"
#include "VCardReader.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class RecordSource;

namespace AddressImport {

// Files above this are refused before they are read.
constexpr qint64 MaxFileBytes = 100 * 1024 * 1024;

// Reads `path`: vCard by its ending or content, else CSV. On a file that cannot be
// taken (missing, empty, binary, too big, nothing in it) the table's error says why.
ExchangeTable readFile(const QString& path, VCardReader::Prefer prefer = VCardReader::Prefer::Home);
ExchangeTable readBytes(const QByteArray& bytes, bool vcard, VCardReader::Prefer prefer = VCardReader::Prefer::Home);

// The address fields an import fills, in the order of Record::values.
const QStringList& fields();

// An address as it goes into the table. A list rather than a map per address: large
// files hold hundreds of thousands of them.
struct Record {
    int line = 0;
    QStringList values; // one text per fields() entry

    QString value(const QString& field) const { return values.value(fields().indexOf(field)); }
    // The fields that have a text, as the store takes them.
    QHash<QString, QString> filled() const;
};
struct Refused {
    int line = 0;
    QString reason;
};
struct Prepared {
    std::vector<Record> records;
    std::vector<Refused> refused;
    int nameless = 0;
    QString error; // the whole file is refused (no name column)
};

// Applies `mapping` (one field of ColumnGuess::targets() or empty per column) to the
// rows. Rows without any name, and rows with more fields than the header, are refused
// with their lines. A non-empty `group` is set on every address.
Prepared prepare(const ExchangeTable& table, const QStringList& mapping, const QString& group);

enum class Duplicates { Skip, Update, Add };

struct Outcome {
    int added = 0;
    int updated = 0;
    int skipped = 0;
    bool cancelled = false;
    QString error; // nothing was written
};

// Told after each record how many of how many are done; returning false stops the
// import, which then takes back everything it wrote.
using Progress = std::function<bool(int done, int total)>;

// Writes the records into `source` (open on the address table) in one transaction.
// A duplicate has the same first and last name, street and town as an address in the
// table or earlier in the file (case and outer blanks do not count).
Outcome write(RecordSource& source, const std::vector<Record>& records, Duplicates duplicates,
              const Progress& progress = {});

// "312 Adressen übernommen, 4 doppelte übersprungen, 2 Zeilen ohne Namen nicht
// übernommen", followed by the refused lines one per line; past `listed` of them
// (-1: no limit) one line says how many more there are.
QString summary(const Outcome& outcome, const Prepared& prepared, int listed = -1);

} // namespace AddressImport
