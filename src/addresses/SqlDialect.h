#pragma once
// What is particular to the SQL engine behind the address file (SQLite): quoting of
// names, the row key, how a write takes its lock, how a change by another connection
// is noticed, text comparison. Another engine gets its own set of these; the
// statements of Queries stay as they are.

#include <QByteArray>
#include <QString>

namespace SqlDialect {

// "Straße" -> "\"Straße\"" (quotes inside doubled).
QString quotedName(const QString& name);

// The hidden key of every row, and the name it travels under in a result.
QString rowKey();
QString keyAlias();

// A write transaction that takes the write lock at once, so that a check made inside
// it still holds when the row is written.
QByteArray beginWrite();
QByteArray commit();
QByteArray rollback();

// A number that changes whenever another connection has committed to the file.
QByteArray dataVersion();

// The distinct non-empty values of `column` in `table`, sorted.
QString distinctValues(const QString& table, const QString& column);

} // namespace SqlDialect
