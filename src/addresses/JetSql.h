#pragma once
// The SQL behaviour the address statements were written for: the Jet LIKE (`*`, `?`,
// `#`, `[list]`, case-insensitive for every letter) and a German ordering that puts
// umlauts beside their base letters and ignores case. Both are installed on each
// SQLite connection of the address store.

#include <QStringView>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace JetSql {

// True when `text` matches the Jet pattern `pattern` as a whole.
bool like(QStringView pattern, QStringView text);

// German order: <0, 0, >0. Case and diacritics only break ties, so the order is total.
int germanCompare(QStringView a, QStringView b);

// germanCompare() on UTF-8 texts.
int germanCompareUtf8(const char* a, int na, const char* b, int nb);

// `text` case-folded as like() compares it.
QString folded(QStringView text);

// A UTF-8 text case-folded as like() compares it, one code point each; added to what
// `out` holds with `append`.
void foldUtf8(const char* utf8, int n, std::u32string& out, bool append = false);

// The runs of plain letters of `pattern`, case-folded: every text it matches holds each
// of them. `plain` is set when the pattern is "*run*" (or "*") and nothing else, so that
// holding the run is matching.
std::vector<std::u32string> literalRuns(QStringView pattern, bool* plain);

struct Pattern;
// One pattern matched against many texts folded by foldUtf8(): like() without
// compiling the pattern and folding the text on every call.
class LikeMatcher {
public:
    explicit LikeMatcher(QStringView pattern);
    ~LikeMatcher();
    bool matches(std::u32string_view folded) const;

private:
    std::unique_ptr<Pattern> m_pattern;
};

// Installs like() and the German ordering under the collation name NOCASE on `db`.
// Tables declare their name columns COLLATE NOCASE: other SQLite tools still read the
// file (with their ASCII-only NOCASE), this program sorts them the German way.
bool install(sqlite3* db);

} // namespace JetSql
