#pragma once
// What the statements of the store share on every engine: quoting of names and the
// name the row key travels under in a result. What differs between the engines (the
// row key itself, how a write takes its lock, how a change by another connection is
// noticed, the Jet LIKE and the German order) belongs to each StoreConnection.

#include <QString>

namespace SqlDialect {

// "Straße" -> "\"Straße\"" (quotes inside doubled).
QString quotedName(const QString& name);

// The name the row key travels under in a result.
QString keyAlias();

} // namespace SqlDialect
