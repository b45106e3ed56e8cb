#include "PgCursor.h"

#include "AddressDatabase.h"
#include "JetSql.h"
#include "PgConnection.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <sqlite3.h>

#include <algorithm>

namespace {
// Columns the server keeps for its own bookkeeping; a "SELECT *" does not show them.
bool hiddenColumn(const QString& name) { return name == u"qx_row" || name == u"qx_version"; }
} // namespace

// Reads the columns the statement yields without its rows.
int PgCursor::describe()
{
    if (!m_t.error.isEmpty())
        return m_c->refuse(m_t.error);
    QSqlQuery q(m_c->database());
    q.setForwardOnly(true);
    const int rc = m_c->run(QStringLiteral("SELECT * FROM (") + withParams(m_t.sql) + QStringLiteral(") AS qx_q LIMIT 0"), q);
    if (rc == SQLITE_OK)
        takeColumns(q.record());
    return rc;
}

int PgCursor::step()
{
    if (!m_ran) {
        m_ran = true;
        const int rc = execute();
        if (rc != SQLITE_OK)
            return rc;
    }
    if (m_next >= m_rows.size())
        return SQLITE_DONE;
    m_row = m_next++;
    return SQLITE_ROW;
}

void PgCursor::reset()
{
    m_ran = false;
    m_rows.clear();
    m_next = m_row = 0;
}

const char* PgCursor::text(int c) const
{
    const Cell& x = cell(c);
    return x.type == SQLITE_NULL ? nullptr : x.text.constData();
}

void PgCursor::bind(int i, const QString& value)
{
    if (i < 1)
        return;
    if (m_params.size() < size_t(i))
        m_params.resize(size_t(i));
    m_params[size_t(i - 1)] = value;
}

const PgCursor::Cell& PgCursor::cell(int c) const
{
    static const Cell none;
    if (m_row >= m_rows.size() || c < 0 || c >= int(m_visible.size()))
        return none;
    return m_rows[m_row][size_t(m_visible[size_t(c)])];
}

QString PgCursor::withParams(const QString& sql) const
{
    // Parameters stand outside quotes only: PgSql leaves no ?n inside a literal.
    QString out;
    qsizetype at = 0;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar ch = sql.at(i);
        if (ch == u'\'' || ch == u'"') {
            const QChar q = ch;
            qsizetype j = i + 1;
            while (j < sql.size() && sql.at(j) != q)
                ++j;
            i = j;
            continue;
        }
        if (ch == u'?' && i + 1 < sql.size() && sql.at(i + 1).isDigit()) {
            qsizetype j = i + 1;
            while (j < sql.size() && sql.at(j).isDigit())
                ++j;
            const size_t n = size_t(sql.mid(i + 1, j - i - 1).toInt());
            out += sql.mid(at, i - at) + (n >= 1 && n <= m_params.size() ? m_params[n - 1] : QStringLiteral("NULL"));
            at = j;
            i = j - 1;
        }
    }
    return out + sql.mid(at);
}

void PgCursor::takeColumns(const QSqlRecord& rec)
{
    m_names.clear();
    m_visible.clear();
    for (int c = 0; c < rec.count(); ++c) {
        const QString n = rec.fieldName(c);
        if (c > 0 && hiddenColumn(n))
            continue;
        m_visible.push_back(c);
        m_names << AddressDatabase::canonicalColumn(n);
    }
}

int PgCursor::execute()
{
    m_rows.clear();
    m_next = m_row = 0;
    if (!m_t.error.isEmpty())
        return m_c->refuse(m_t.error);
    for (const QString& p : m_params)
        if (p.contains(QChar(0)))
            return m_c->refuse(QStringLiteral("Der Text enthält ein Nullzeichen, das der Datenbank-Server nicht "
                                              "speichern kann. Es wurde nichts verändert."));
    QString sql = withParams(m_t.sql);
    const bool insert = m_t.kind == PgSql::Translated::Insert && !m_t.table.isEmpty();
    if (insert)
        sql += QStringLiteral(" RETURNING ") + m_c->rowKey(m_t.table);
    QSqlQuery q(m_c->database());
    q.setForwardOnly(true);
    int rc = m_c->run(sql, q);
    if (rc != SQLITE_OK)
        return rc;
    if (m_t.kind != PgSql::Translated::Select) {
        if (insert && q.next())
            m_c->setLastKey(q.value(0).toLongLong());
        if (!m_t.table.isEmpty())
            m_c->countOwnWrite(insert ? 1 : std::max(0, q.numRowsAffected()));
        return SQLITE_OK;
    }
    takeColumns(q.record());
    std::vector<int> sortBy;
    for (const QString& s : std::as_const(m_t.sortColumns)) {
        const int c = q.record().indexOf(s);
        if (c < 0)
            break;
        sortBy.push_back(c);
    }
    if (sortBy.size() != size_t(m_t.sortColumns.size())) {
        // Ordered by something the result does not show: the server sorts.
        sortBy.clear();
        q = QSqlQuery(m_c->database());
        q.setForwardOnly(true);
        if ((rc = m_c->run(withParams(m_t.serverOrdered), q)) != SQLITE_OK)
            return rc;
    }
    const int width = q.record().count();
    while (q.next()) {
        Row row(static_cast<size_t>(width));
        for (int c = 0; c < width; ++c) {
            const QVariant v = q.value(c);
            Cell& x = row[size_t(c)];
            if (v.isNull())
                continue;
            switch (v.typeId()) {
            case QMetaType::Int:
            case QMetaType::LongLong:
            case QMetaType::UInt:
            case QMetaType::ULongLong:
                x.type = SQLITE_INTEGER;
                break;
            case QMetaType::Double:
                x.type = SQLITE_FLOAT;
                break;
            default:
                x.type = SQLITE_TEXT;
            }
            x.text = v.toString().toUtf8();
        }
        m_rows.push_back(std::move(row));
    }
    if (q.lastError().isValid() && q.lastError().type() != QSqlError::NoError)
        return m_c->run(QString(), q); // reports the error the reading stopped at
    if (!sortBy.empty())
        std::stable_sort(m_rows.begin(), m_rows.end(), [&](const Row& a, const Row& b) {
            for (const int c : sortBy) {
                const int r = compare(a[size_t(c)], b[size_t(c)]);
                if (r)
                    return r < 0;
            }
            return false;
        });
    return SQLITE_OK;
}

// As SQLite orders values: nulls, numbers, texts in the German order.
int PgCursor::compare(const Cell& a, const Cell& b)
{
    auto rank = [](int t) { return t == SQLITE_NULL ? 0 : (t == SQLITE_TEXT ? 2 : 1); };
    if (rank(a.type) != rank(b.type))
        return rank(a.type) < rank(b.type) ? -1 : 1;
    if (rank(a.type) == 1) {
        const double x = a.text.toDouble(), y = b.text.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    return JetSql::germanCompareUtf8(a.text.constData(), int(a.text.size()), b.text.constData(),
                                     int(b.text.size()));
}
