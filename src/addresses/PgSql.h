#pragma once
// The store's statements (written for the Jet/SQLite dialect) as PostgreSQL runs them.
// Names in brackets or quotes become PostgreSQL names (lower case, as the server folds
// unquoted ones); `column LIKE 'pattern'` becomes a match of the case-folded column
// against the Jet pattern (`*`, `?`, `#`, `[list]`) as a regular expression;
// `COLLATE NOCASE` is dropped. A trailing ORDER BY over plain columns is taken off and
// done by the caller in the German order, ties in table order, exactly as the SQLite
// file sorts; the server only orders by the row key (and sorts alone by it).

#include <QString>
#include <QStringList>

#include <functional>

namespace PgSql {

struct Translated {
    // The statement, with the parameters ?1, ?2 ... left in place for the cursor.
    QString sql;
    // The same with the original ORDER BY, for when the caller cannot sort itself.
    QString serverOrdered;
    // Lower-case column names of the ORDER BY that was taken off.
    QStringList sortColumns;
    // The one table after FROM / INTO / UPDATE, lower case; empty when none or several.
    QString table;
    enum Kind { Select, Insert, Update, Delete, Other } kind = Other;
    // A German text when the statement cannot be sent (a NUL character).
    QString error;
};

// `rowKey` names the key column of a table given in lower case.
Translated translate(const QString& statement, const std::function<QString(const QString&)>& rowKey);

// The Jet pattern as an anchored regular expression over case-folded text.
QString likeRegex(const QString& pattern);

// A text as a PostgreSQL string literal ('' for a quote; backslashes stay as they are).
QString literal(const QString& text);

// A name as PostgreSQL keeps an unquoted one: ASCII letters in lower case.
QString serverName(const QString& name);

// The expression a LIKE compares: the column's text, case-folded by the server.
QString foldedColumn(const QString& quotedColumn);

} // namespace PgSql
