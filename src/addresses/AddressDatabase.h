#pragma once
// Connections to the address database file: one per record source, each with the
// Jet LIKE and the German order installed and a busy timeout for the companion
// program's locks. Also the German texts for what can go wrong with the file.

#include <QString>
#include <QStringList>

struct sqlite3;

namespace AddressDatabase {

struct Connection {
    QString name;               // the QSqlDatabase connection name
    sqlite3* handle = nullptr;  // null when not open
    bool isOpen() const { return handle != nullptr; }
};

// How long a statement waits for a lock of another program before it gives up.
constexpr int BusyTimeoutMs = 2000;

// Opens `path` (which must exist: SQLite would create a missing file), checks that it
// is a database and runs SQLite's quick integrity check on it; nothing is written
// before that check passed. On failure returns a closed connection and a German text.
Connection open(const QString& path, QString* error);
void close(Connection& c);

// Columns the program reads and writes in each of the three tables (empty for others).
QStringList requiredColumns(const QString& table);

// Checks that `table` exists and has its required columns; empty when it does, else
// a German text naming the table or the missing columns.
QString checkTable(sqlite3* db, const QString& table);

// A German text for an SQLite result code of a failed statement.
QString errorText(int code, const QString& engineText);
// The same for a failed read: nothing was changed, the address was not read.
QString readErrorText(int code, const QString& engineText);
// The text for a file that SQLite's integrity check finds damaged.
QString damagedText(const QString& path);

} // namespace AddressDatabase
