#pragma once
// The SQL behaviour the address statements were written for: the Jet LIKE (`*`, `?`,
// `#`, `[list]`, case-insensitive for every letter) and a German ordering that puts
// umlauts beside their base letters and ignores case. Both are installed on each
// SQLite connection of the address store.

#include <QStringView>

struct sqlite3;

namespace JetSql {

// True when `text` matches the Jet pattern `pattern` as a whole.
bool like(QStringView pattern, QStringView text);

// German order: <0, 0, >0. Case and diacritics only break ties, so the order is total.
int germanCompare(QStringView a, QStringView b);

// Installs like() and the German ordering under the collation name NOCASE on `db`.
// Tables declare their name columns COLLATE NOCASE: other SQLite tools still read the
// file (with their ASCII-only NOCASE), this program sorts them the German way.
bool install(sqlite3* db);

} // namespace JetSql
