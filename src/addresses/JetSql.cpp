#include "JetSql.h"

#include <QChar>
#include <QString>

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <cwchar>
#include <memory>
#include <vector>

namespace JetSql {
namespace {

// Decodes one code point; invalid bytes come out as U+FFFD, one byte each.
char32_t decodeUtf8(const unsigned char*& p, const unsigned char* end)
{
    const unsigned char c = *p++;
    if (c < 0x80)
        return c;
    int extra = 0;
    char32_t cp = 0;
    if ((c & 0xE0) == 0xC0) {
        extra = 1;
        cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        extra = 2;
        cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        extra = 3;
        cp = c & 0x07;
    } else {
        return 0xFFFD;
    }
    if (end - p < extra)
        return 0xFFFD;
    for (int i = 0; i < extra; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0xFFFD;
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    p += extra;
    return cp;
}

inline char32_t fold(char32_t c)
{
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    return QChar::toCaseFolded(c);
}

// Base letters of the accented Latin letters (U+00C0..U+017F), case-folded; 0 where the
// letter has no base of its own.
struct BaseTable {
    std::array<char32_t, 0x180 - 0xC0> base{};
    BaseTable()
    {
        for (char32_t c = 0xC0; c < 0x180; ++c) {
            char32_t b = 0;
            if (QChar::decompositionTag(c) == QChar::Canonical) {
                const QString d = QChar::decomposition(c);
                if (!d.isEmpty())
                    b = fold(d.at(0).unicode());
            }
            base[c - 0xC0] = b;
        }
    }
};

const BaseTable& baseTable()
{
    static const BaseTable t;
    return t;
}

// Walks a UTF-8 text as German primary letters: case folded, accents dropped, ß as "ss".
class PrimaryWalk {
public:
    PrimaryWalk(const unsigned char* p, const unsigned char* end) : m_p(p), m_end(end) {}
    // 0 at the end.
    char32_t next()
    {
        if (m_pending) {
            const char32_t c = m_pending;
            m_pending = 0;
            return c;
        }
        if (m_p >= m_end)
            return 0;
        char32_t c = fold(decodeUtf8(m_p, m_end));
        if (c == 0xDF) {
            m_pending = 's';
            return 's';
        }
        if (c >= 0xC0 && c < 0x180) {
            const char32_t b = baseTable().base[c - 0xC0];
            if (b)
                c = b;
        }
        return c ? c : 1;
    }

private:
    const unsigned char* m_p;
    const unsigned char* m_end;
    char32_t m_pending = 0;
};

int compareUtf8(const unsigned char* a, int na, const unsigned char* b, int nb)
{
    // Equal leading bytes compare equal at every level: start behind them, at the
    // beginning of a character.
    {
        const int n = std::min(na, nb);
        int i = 0;
        while (i < n && a[i] == b[i])
            ++i;
        if (i == na && i == nb)
            return 0;
        // The first differing byte (or the longer text's next one) may continue a character.
        auto continues = [&](int k) { return ((k < na ? a[k] : b[k]) & 0xC0) == 0x80; };
        while (i > 0 && continues(i))
            --i;
        a += i;
        b += i;
        na -= i;
        nb -= i;
    }
    // Most names are plain ASCII: decide there without decoding when the folded letters
    // differ before any other character.
    {
        const int n = std::min(na, nb);
        int i = 0;
        for (; i < n; ++i) {
            const unsigned char ca = a[i], cb = b[i];
            if ((ca | cb) & 0x80)
                break;
            const unsigned char fa = (ca >= 'A' && ca <= 'Z') ? ca + 32 : ca;
            const unsigned char fb = (cb >= 'A' && cb <= 'Z') ? cb + 32 : cb;
            if (fa != fb)
                return fa < fb ? -1 : 1;
        }
        if (i == n && na != nb) {
            // One is a prefix of the other (folded): the shorter comes first.
            return na < nb ? -1 : 1;
        }
    }
    // Primary: letters only.
    {
        PrimaryWalk wa(a, a + na), wb(b, b + nb);
        for (;;) {
            const char32_t ca = wa.next();
            const char32_t cb = wb.next();
            if (ca != cb)
                return ca < cb ? -1 : 1;
            if (!ca)
                break;
        }
    }
    // Secondary: accents (an unaccented letter first), case folded.
    {
        const unsigned char *pa = a, *pb = b;
        const unsigned char *ea = a + na, *eb = b + nb;
        while (pa < ea && pb < eb) {
            const char32_t ca = fold(decodeUtf8(pa, ea));
            const char32_t cb = fold(decodeUtf8(pb, eb));
            if (ca != cb)
                return ca < cb ? -1 : 1;
        }
    }
    // Tertiary: the bytes themselves (lower case after upper case in UTF-8 byte order).
    const int n = std::min(na, nb);
    const int r = n ? std::memcmp(a, b, size_t(n)) : 0;
    if (r)
        return r < 0 ? -1 : 1;
    return na == nb ? 0 : (na < nb ? -1 : 1);
}

int collate(void*, int na, const void* a, int nb, const void* b)
{
    return compareUtf8(static_cast<const unsigned char*>(a), na,
                       static_cast<const unsigned char*>(b), nb);
}

} // namespace

// A compiled Jet pattern over case-folded code points.
struct Pattern {
    enum Kind : char32_t { Literal, AnyOne, Digit, Star, Set };
    struct Token {
        Kind kind;
        char32_t c = 0;
        bool negated = false;
        std::vector<std::pair<char32_t, char32_t>> ranges;
    };
    std::vector<Token> tokens;
    // Fast paths: "*lit*", "lit*", "lit".
    enum Shape { General, Contains, Prefix, Exact } shape = General;
    std::u32string literal;
    // General shape: the longest run of plain letters, which every match contains.
    std::u32string required;

    explicit Pattern(const std::u32string& p)
    {
        for (size_t i = 0; i < p.size(); ++i) {
            const char32_t c = p[i];
            Token t{Literal, 0, false, {}};
            if (c == '*') {
                if (!tokens.empty() && tokens.back().kind == Star)
                    continue;
                t.kind = Star;
            } else if (c == '?') {
                t.kind = AnyOne;
            } else if (c == '#') {
                t.kind = Digit;
            } else if (c == '[') {
                const size_t close = p.find(U']', i + 1);
                if (close == std::u32string::npos) {
                    t.c = c;
                } else {
                    size_t j = i + 1;
                    t.kind = Set;
                    if (j < close && p[j] == '!') {
                        t.negated = true;
                        ++j;
                    }
                    for (; j < close; ++j) {
                        if (j + 2 < close && p[j + 1] == '-') {
                            t.ranges.push_back({p[j], p[j + 2]});
                            j += 2;
                        } else {
                            t.ranges.push_back({p[j], p[j]});
                        }
                    }
                    // "[*]" and the like stand for the character itself.
                    if (!t.negated && t.ranges.size() == 1 && t.ranges[0].first == t.ranges[0].second) {
                        t.kind = Literal;
                        t.c = t.ranges[0].first;
                    }
                    i = close;
                }
            } else {
                t.c = c;
            }
            tokens.push_back(std::move(t));
        }
        classify();
    }

    void classify()
    {
        const size_t n = tokens.size();
        size_t from = 0, to = n;
        const bool lead = n && tokens[0].kind == Star;
        const bool trail = n > (lead ? 1u : 0u) && tokens[n - 1].kind == Star;
        if (lead)
            from = 1;
        if (trail)
            to = n - 1;
        std::u32string run;
        for (const Token& t : tokens) {
            if (t.kind == Literal) {
                run.push_back(t.c);
                if (run.size() > required.size())
                    required = run;
            } else {
                run.clear();
            }
        }
        for (size_t i = from; i < to; ++i) {
            if (tokens[i].kind != Literal)
                return;
            literal.push_back(tokens[i].c);
        }
        if (lead && trail)
            shape = Contains;
        else if (lead && n == 1)
            shape = Contains; // "*" alone
        else if (trail)
            shape = Prefix;
        else if (!lead)
            shape = Exact;
    }

    // The literal anywhere in s: the first letter is looked for with wmemchr, which is
    // much quicker than comparing letter by letter.
    static bool contains(const std::u32string& literal, const char32_t* s, size_t n)
    {
        static_assert(sizeof(wchar_t) == sizeof(char32_t));
        const size_t m = literal.size();
        const auto* p = reinterpret_cast<const wchar_t*>(s);
        const auto first = wchar_t(literal[0]);
        while (n >= m) {
            const auto* hit = std::wmemchr(p, first, n - m + 1);
            if (!hit)
                return false;
            const size_t skip = size_t(hit - p);
            if (std::equal(literal.begin() + 1, literal.end(), reinterpret_cast<const char32_t*>(hit) + 1))
                return true;
            p = hit + 1;
            n -= skip + 1;
        }
        return false;
    }

    static bool tokenMatches(const Token& t, char32_t c)
    {
        switch (t.kind) {
        case Literal:
            return t.c == c;
        case AnyOne:
            return true;
        case Digit:
            return c >= '0' && c <= '9';
        case Set: {
            bool in = false;
            for (const auto& r : t.ranges)
                in = in || (c >= r.first && c <= r.second);
            return in != t.negated;
        }
        case Star:
            break;
        }
        return false;
    }

    bool matches(const char32_t* s, size_t n) const
    {
        switch (shape) {
        case Contains:
            return literal.empty() || contains(literal, s, n);
        case Prefix:
            return n >= literal.size() && std::equal(literal.begin(), literal.end(), s);
        case Exact:
            return n == literal.size() && std::equal(literal.begin(), literal.end(), s);
        case General:
            break;
        }
        if (!required.empty() && !contains(required, s, n))
            return false;
        // Backtracking over the last star only: linear for patterns of single tokens.
        size_t ti = 0, si = 0;
        size_t starT = size_t(-1), starS = 0;
        const size_t tn = tokens.size();
        while (si < n) {
            if (ti < tn && tokens[ti].kind == Star) {
                starT = ti++;
                starS = si;
            } else if (ti < tn && tokenMatches(tokens[ti], s[si])) {
                ++ti;
                ++si;
            } else if (starT != size_t(-1)) {
                ti = starT + 1;
                si = ++starS;
            } else {
                return false;
            }
        }
        while (ti < tn && tokens[ti].kind == Star)
            ++ti;
        return ti == tn;
    }
};

namespace {


void foldInto(const unsigned char* p, const unsigned char* end, std::u32string& out, bool append = false)
{
    if (!append)
        out.clear();
    while (p < end) {
        if (*p < 0x80) {
            const unsigned char c = *p++;
            out.push_back((c >= 'A' && c <= 'Z') ? c + 32 : c);
        } else {
            out.push_back(fold(decodeUtf8(p, end)));
        }
    }
}

std::u32string foldString(QStringView s)
{
    const QByteArray u = s.toUtf8();
    std::u32string out;
    const auto* p = reinterpret_cast<const unsigned char*>(u.constData());
    foldInto(p, p + u.size(), out);
    return out;
}

void deletePattern(void* p) { delete static_cast<Pattern*>(p); }

void likeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (argc < 2 || sqlite3_value_type(argv[0]) == SQLITE_NULL ||
        sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    auto* pattern = static_cast<Pattern*>(sqlite3_get_auxdata(ctx, 0));
    bool fresh = false;
    if (!pattern) {
        const auto* pp = sqlite3_value_text(argv[0]);
        const int pn = sqlite3_value_bytes(argv[0]);
        std::u32string folded;
        foldInto(pp, pp + pn, folded);
        pattern = new Pattern(folded);
        fresh = true;
    }
    thread_local std::u32string text;
    const auto* tp = sqlite3_value_text(argv[1]);
    const int tn = sqlite3_value_bytes(argv[1]);
    foldInto(tp, tp + tn, text);
    sqlite3_result_int(ctx, pattern->matches(text.data(), text.size()) ? 1 : 0);
    // Kept for the next rows of the same statement; SQLite may free it at once.
    if (fresh)
        sqlite3_set_auxdata(ctx, 0, pattern, deletePattern);
}

} // namespace

bool like(QStringView pattern, QStringView text)
{
    const Pattern p(foldString(pattern));
    const std::u32string t = foldString(text);
    return p.matches(t.data(), t.size());
}

int germanCompare(QStringView a, QStringView b)
{
    const QByteArray ua = a.toUtf8();
    const QByteArray ub = b.toUtf8();
    return compareUtf8(reinterpret_cast<const unsigned char*>(ua.constData()), int(ua.size()),
                       reinterpret_cast<const unsigned char*>(ub.constData()), int(ub.size()));
}

int germanCompareUtf8(const char* a, int na, const char* b, int nb)
{
    return compareUtf8(reinterpret_cast<const unsigned char*>(a), na, reinterpret_cast<const unsigned char*>(b), nb);
}

QString folded(QStringView text)
{
    const std::u32string f = foldString(text);
    return QString::fromUcs4(f.data(), qsizetype(f.size()));
}

void foldUtf8(const char* utf8, int n, std::u32string& out, bool append)
{
    const auto* p = reinterpret_cast<const unsigned char*>(utf8);
    foldInto(p, p + n, out, append);
}

std::vector<std::u32string> literalRuns(QStringView pattern, bool* plain)
{
    const Pattern p(foldString(pattern));
    std::vector<std::u32string> runs(1);
    for (const Pattern::Token& t : p.tokens) {
        if (t.kind == Pattern::Literal)
            runs.back().push_back(t.c);
        else if (!runs.back().empty())
            runs.emplace_back();
    }
    if (runs.back().empty())
        runs.pop_back();
    *plain = p.shape == Pattern::Contains;
    return runs;
}

LikeMatcher::LikeMatcher(QStringView pattern) : m_pattern(std::make_unique<Pattern>(foldString(pattern))) {}

LikeMatcher::~LikeMatcher() = default;

bool LikeMatcher::matches(std::u32string_view folded) const
{
    return m_pattern->matches(folded.data(), folded.size());
}

bool install(sqlite3* db)
{
    if (!db)
        return false;
    baseTable();
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    bool ok = sqlite3_create_function(db, "like", 2, flags, nullptr, likeFunction, nullptr,
                                      nullptr) == SQLITE_OK;
    ok = sqlite3_create_collation(db, "NOCASE", SQLITE_UTF8, nullptr, collate) == SQLITE_OK && ok;
    return ok;
}

} // namespace JetSql
