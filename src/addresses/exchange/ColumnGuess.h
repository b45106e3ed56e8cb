#pragma once
// Which address field a column of a foreign list fills, guessed from its header
// ("Vorname", "First Name", "PLZ", "Zip", ...). "Firma" stands for a company name,
// which becomes the last name of an address that has no name of its own.

#include <QString>
#include <QStringList>

namespace ColumnGuess {

// The fields a column can be mapped onto, in the order of the address form.
QStringList targets();
// The field for one header; empty when none fits.
QString guess(const QString& header);
// One field per header (empty: not taken); each field goes to its first column only.
QStringList guessAll(const QStringList& headers);

} // namespace ColumnGuess
