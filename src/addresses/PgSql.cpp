#include "PgSql.h"

#include "JetSql.h"

#include <vector>

namespace PgSql {

namespace {

struct Token {
    enum Kind { Space, Word, Name, Literal, Param, Punct } kind;
    QString text; // Word and Punct as written, Name and Literal unquoted, Param the number
};

std::vector<Token> tokenize(const QString& s)
{
    std::vector<Token> out;
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = s.at(i);
        if (c.isSpace()) {
            qsizetype j = i;
            while (j < n && s.at(j).isSpace())
                ++j;
            out.push_back({Token::Space, s.mid(i, j - i)});
            i = j;
        } else if (c == u'\'' || c == u'"') {
            QString text;
            qsizetype j = i + 1;
            for (; j < n; ++j) {
                if (s.at(j) == c) {
                    if (j + 1 < n && s.at(j + 1) == c) {
                        text += c;
                        ++j;
                        continue;
                    }
                    break;
                }
                text += s.at(j);
            }
            out.push_back({c == u'\'' ? Token::Literal : Token::Name, text});
            i = j + 1;
        } else if (c == u'[') {
            const qsizetype close = s.indexOf(u']', i + 1);
            const qsizetype end = close < 0 ? n : close;
            out.push_back({Token::Name, s.mid(i + 1, end - i - 1)});
            i = end + 1;
        } else if (c == u'?' && i + 1 < n && s.at(i + 1).isDigit()) {
            qsizetype j = i + 1;
            while (j < n && s.at(j).isDigit())
                ++j;
            out.push_back({Token::Param, s.mid(i + 1, j - i - 1)});
            i = j;
        } else if (c.isLetterOrNumber() || c == u'_') {
            qsizetype j = i;
            while (j < n && (s.at(j).isLetterOrNumber() || s.at(j) == u'_'))
                ++j;
            out.push_back({Token::Word, s.mid(i, j - i)});
            i = j;
        } else {
            out.push_back({Token::Punct, QString(c)});
            ++i;
        }
    }
    return out;
}

bool is(const Token& t, const char* word)
{
    return t.kind == Token::Word && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool isName(const Token& t)
{
    static const char* const keywords[] = {"select", "from", "where", "and", "or", "not", "like", "order",
                                           "by", "all", "distinct", "as", "set", "values", "into", "is", "null"};
    if (t.kind == Token::Name)
        return true;
    if (t.kind != Token::Word || t.text.at(0).isDigit())
        return false;
    for (const char* k : keywords)
        if (is(t, k))
            return false;
    return true;
}

QString nameText(const Token& t)
{
    if (t.kind == Token::Word)
        return t.text;
    QString n = serverName(t.text);
    n.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

// The index of the next token that is not a blank, from `i` on; size() when none.
size_t skip(const std::vector<Token>& t, size_t i)
{
    while (i < t.size() && t[i].kind == Token::Space)
        ++i;
    return i;
}

QString escapedChar(char32_t c)
{
    const QString s = QString::fromUcs4(&c, 1);
    if (c < 0x80 && !QChar(c).isLetterOrNumber())
        return QLatin1Char('\\') + s;
    return s;
}

} // namespace

QString serverName(const QString& name)
{
    QString n = name;
    for (QChar& c : n)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    return n;
}

QString literal(const QString& text)
{
    QString t = text;
    t.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

QString foldedColumn(const QString& quotedColumn)
{
    return QStringLiteral("lower(CAST(") + quotedColumn + QStringLiteral(" AS text) COLLATE \"und-x-icu\")");
}

QString likeRegex(const QString& pattern)
{
    const QString f = JetSql::folded(pattern);
    const std::u32string p = f.toStdU32String();
    QString re = QStringLiteral("^");
    for (size_t i = 0; i < p.size(); ++i) {
        const char32_t c = p[i];
        if (c == U'*') {
            while (i + 1 < p.size() && p[i + 1] == U'*')
                ++i;
            re += QStringLiteral(".*");
        } else if (c == U'?') {
            re += QLatin1Char('.');
        } else if (c == U'#') {
            re += QStringLiteral("[0-9]");
        } else if (c == U'[' && p.find(U']', i + 1) != std::u32string::npos) {
            const size_t close = p.find(U']', i + 1);
            size_t j = i + 1;
            const bool negated = j < close && p[j] == U'!';
            if (negated)
                ++j;
            QString set;
            for (; j < close; ++j) {
                set += escapedChar(p[j]);
                if (j + 2 < close && p[j + 1] == U'-') {
                    set += QLatin1Char('-') + escapedChar(p[j + 2]);
                    j += 2;
                }
            }
            if (set.isEmpty())
                re += negated ? QStringLiteral(".") : QStringLiteral("[^\\x01-\\U0010ffff]"); // "[]" matches nothing
            else
                re += (negated ? QStringLiteral("[^") : QStringLiteral("[")) + set + QLatin1Char(']');
            i = close;
        } else {
            re += escapedChar(c);
        }
    }
    return re + QLatin1Char('$');
}

Translated translate(const QString& statement, const std::function<QString(const QString&)>& rowKey)
{
    Translated out;
    const std::vector<Token> t = tokenize(statement);
    const size_t first = skip(t, 0);
    if (first < t.size()) {
        if (is(t[first], "select"))
            out.kind = Translated::Select;
        else if (is(t[first], "insert"))
            out.kind = Translated::Insert;
        else if (is(t[first], "update"))
            out.kind = Translated::Update;
        else if (is(t[first], "delete"))
            out.kind = Translated::Delete;
    }
    bool distinct = false;
    int tables = 0;
    std::vector<QString> pieces; // per token
    pieces.reserve(t.size());
    int depth = 0;
    size_t orderAt = t.size(); // token of a top-level ORDER
    for (size_t i = 0; i < t.size(); ++i) {
        const Token& k = t[i];
        if (k.kind == Token::Literal || k.kind == Token::Name) {
            if (k.text.contains(QChar(0)))
                out.error = QStringLiteral("Der Text enthält ein Nullzeichen, das der Datenbank-Server nicht "
                                           "speichern kann. Es wurde nichts verändert.");
        }
        if (is(k, "distinct") || is(k, "group") || is(k, "count"))
            distinct = true;
        if ((is(k, "from") || is(k, "into") || (is(k, "update") && i == first))) {
            const size_t n = skip(t, i + 1);
            if (n < t.size() && isName(t[n])) {
                out.table = serverName(t[n].text);
                ++tables;
            }
        }
        if (k.kind == Token::Punct && k.text == u"(")
            ++depth;
        if (k.kind == Token::Punct && k.text == u")")
            --depth;
        if (depth == 0 && is(k, "order") && skip(t, i + 1) < t.size() && is(t[skip(t, i + 1)], "by"))
            orderAt = i;
        if (is(k, "collate")) {
            const size_t n = skip(t, i + 1);
            if (n < t.size() && is(t[n], "nocase")) {
                pieces.push_back(QString());
                for (size_t j = i + 1; j <= n; ++j)
                    pieces.push_back(QString());
                i = n;
                continue;
            }
        }
        // name LIKE 'pattern'
        if (isName(k)) {
            const size_t like = skip(t, i + 1);
            const size_t pat = like < t.size() ? skip(t, like + 1) : t.size();
            if (pat < t.size() && is(t[like], "like") && t[pat].kind == Token::Literal) {
                pieces.push_back(foldedColumn(nameText(k)) + QStringLiteral(" ~ ") + literal(likeRegex(t[pat].text)));
                for (size_t j = i + 1; j <= pat; ++j)
                    pieces.push_back(QString());
                i = pat;
                continue;
            }
            pieces.push_back(nameText(k));
            continue;
        }
        switch (k.kind) {
        case Token::Literal:
            pieces.push_back(literal(k.text));
            break;
        case Token::Param:
            pieces.push_back(QLatin1Char('?') + k.text);
            break;
        default:
            pieces.push_back(k.text);
        }
    }
    if (tables != 1)
        out.table.clear();
    auto join = [&](size_t to) {
        QString s;
        for (size_t i = 0; i < to; ++i)
            s += pieces[i];
        return s;
    };
    out.sql = join(t.size());
    out.serverOrdered = out.sql;
    if (out.kind != Translated::Select || out.table.isEmpty())
        return out;
    // ORDER BY a, b, c: plain names only, else the server orders.
    QStringList columns;
    bool plain = orderAt < t.size();
    if (plain) {
        bool wantName = true;
        for (size_t i = skip(t, skip(t, orderAt + 1) + 1); i < t.size(); i = skip(t, i + 1)) {
            if (wantName && isName(t[i]) && !pieces[i].isEmpty()) {
                columns << serverName(t[i].text);
                wantName = false;
            } else if (!wantName && t[i].kind == Token::Punct && t[i].text == u",") {
                wantName = true;
            } else if (pieces[i].isEmpty() || (!wantName && is(t[i], "asc"))) {
                // a dropped COLLATE NOCASE, or ASC
            } else {
                plain = false;
                break;
            }
        }
        plain = plain && !columns.isEmpty();
    }
    const QString key = rowKey(out.table);
    if (orderAt < t.size() && !plain)
        return out;
    // By the key alone the server's order is the same: nothing is left to sort on the desk.
    if (plain && columns == QStringList{key})
        return out;
    if (plain) {
        out.sortColumns = columns;
        out.sql = join(orderAt);
    }
    if (!distinct && !key.isEmpty())
        out.sql = out.sql.trimmed() + QStringLiteral(" ORDER BY ") + key;
    return out;
}

} // namespace PgSql
