#pragma once
// Opening the address store named by a location: a file path (SQLite) or a server
// address "postgresql://host[:port]/database[?user=...]". Also the German texts for
// what can go wrong with it, shared by the engines.

#include "StoreConnection.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace AddressDatabase {

// How long a statement waits for a lock of another program before it gives up.
constexpr int BusyTimeoutMs = 2000;

// True for a server address, false for a file path.
bool isServerAddress(const QString& location);

// How the store at `location` is named to the user: the file path, or the server and
// database (never a password).
QString displayName(const QString& location);

// Opens the store at `location`; a file must exist (SQLite would create a missing
// file) and is checked before anything is written. Null and a German text on failure.
std::unique_ptr<StoreConnection> open(const QString& location, QString* error);

// Columns the program reads and writes in each of the three tables (empty for others).
QStringList requiredColumns(const QString& table);
// The spelling the program uses for a column of the three tables, found without regard
// to case; `column` itself for others.
QString canonicalColumn(const QString& column);

// Empty when `have` (the columns `table` has; empty when the table is missing) holds
// the required columns, else a German text naming the table or the missing columns.
QString missingColumnsText(const QString& table, const QStringList& have);
// "In der Adressen-Datenbank fehlt die Tabelle [name]." or "... die Spalte [name]."
QString missingText(bool table, const QString& name);

// A German text for an SQLite result code of a failed statement.
QString errorText(int code, const QString& engineText);
// The same for a failed read: nothing was changed, the address was not read.
QString readErrorText(int code, const QString& engineText);
// The text for a file that SQLite's integrity check finds damaged.
QString damagedText(const QString& path);

} // namespace AddressDatabase
