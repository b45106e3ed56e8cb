#include "NameIndex.h"

#include "JetSql.h"
#include "SqlDialect.h"
#include "StoreConnection.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <string_view>
#include <unordered_map>

namespace {

// A cell as ORDER BY sees it: nulls first, then numbers, texts (German order), blobs.
struct SortCell {
    int kind = 0; // 0 null, 1 number, 2 text, 3 blob
    double number = 0;
};

int kindOf(int type)
{
    switch (type) {
    case SQLITE_NULL:
        return 0;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        return 1;
    case SQLITE_TEXT:
        return 2;
    default:
        return 3;
    }
}

} // namespace

int NameIndex::build(StoreConnection* db, const QString& table, const QStringList& columns, qint64 dataVersion)
{
    *this = NameIndex();
    if (columns.size() != 3)
        return SQLITE_MISUSE;
    QStringList quoted;
    for (const QString& c : columns)
        quoted << SqlDialect::quotedName(c);
    std::unique_ptr<StoreCursor> st;
    // Ties keep the order of the table, as the sorter of a statement keeps it.
    const QString key = db->rowKey(table);
    const QString sql = QStringLiteral("SELECT ") + key + QStringLiteral(", ") + quoted.join(QStringLiteral(", ")) +
                        QStringLiteral(" FROM ") + SqlDialect::quotedName(table) + QStringLiteral(" ORDER BY ") + key;
    int rc = db->prepare(sql, st);
    if (rc != SQLITE_OK)
        return rc;

    std::vector<qint64> keys;
    std::vector<RecordResult::Cell> cells;
    std::vector<SortCell> sortCells; // last and first name per row
    QByteArray arena;
    while ((rc = st->step()) == SQLITE_ROW) {
        keys.push_back(st->int64(0));
        for (int c = 1; c <= 3; ++c) {
            const int type = st->type(c);
            RecordResult::Cell cell;
            const auto* t = st->text(c);
            if (t) {
                cell.offset = qint32(arena.size());
                cell.length = st->bytes(c);
                arena.append(t, cell.length);
            }
            cells.push_back(cell);
            if (c < 3)
                sortCells.push_back({kindOf(type), type == SQLITE_INTEGER || type == SQLITE_FLOAT
                                                       ? st->real(c)
                                                       : 0.0});
        }
    }
    if (rc != SQLITE_DONE)
        return rc;

    const char* text = arena.constData();
    auto compareCell = [&](size_t a, size_t b, int which) {
        const SortCell& x = sortCells[a * 2 + size_t(which)];
        const SortCell& y = sortCells[b * 2 + size_t(which)];
        if (x.kind != y.kind)
            return x.kind < y.kind ? -1 : 1;
        if (x.kind == 1)
            return x.number < y.number ? -1 : (x.number > y.number ? 1 : 0);
        const RecordResult::Cell& cx = cells[a * 3 + size_t(which)];
        const RecordResult::Cell& cy = cells[b * 3 + size_t(which)];
        if (x.kind == 2)
            return JetSql::germanCompareUtf8(text + cx.offset, cx.length, text + cy.offset, cy.length);
        if (x.kind == 3) {
            const int r = std::memcmp(text + cx.offset, text + cy.offset, size_t(std::min(cx.length, cy.length)));
            return r ? r : (cx.length == cy.length ? 0 : (cx.length < cy.length ? -1 : 1));
        }
        return 0;
    };

    // Each distinct name is compared once: rows sort by the ranks of their names.
    const size_t n = keys.size();
    auto ranks = [&](int which) {
        std::unordered_map<std::string_view, int> ids[4]; // per kind of value
        std::vector<size_t> firstRow;                     // per distinct value
        std::vector<int> id(n);
        for (size_t row = 0; row < n; ++row) {
            const RecordResult::Cell& c = cells[row * 3 + size_t(which)];
            const std::string_view value =
                c.length > 0 ? std::string_view(text + c.offset, size_t(c.length)) : std::string_view();
            const auto [it, fresh] =
                ids[sortCells[row * 2 + size_t(which)].kind].try_emplace(value, int(firstRow.size()));
            if (fresh)
                firstRow.push_back(row);
            id[row] = it->second;
        }
        std::vector<int> distinct(firstRow.size());
        std::iota(distinct.begin(), distinct.end(), 0);
        std::sort(distinct.begin(), distinct.end(),
                  [&](int a, int b) { return compareCell(firstRow[size_t(a)], firstRow[size_t(b)], which) < 0; });
        std::vector<int> rankOfId(firstRow.size());
        int rank = 0;
        for (size_t i = 0; i < distinct.size(); ++i) {
            if (i && compareCell(firstRow[size_t(distinct[i - 1])], firstRow[size_t(distinct[i])], which) != 0)
                ++rank;
            rankOfId[size_t(distinct[i])] = rank;
        }
        for (int& r : id)
            r = rankOfId[size_t(r)];
        return id;
    };
    const std::vector<int> lastRank = ranks(0);
    const std::vector<int> firstRank = ranks(1);
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    // Ties keep table order: the rows came in that order, and the index breaks ties.
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        const int la = lastRank[size_t(a)], lb = lastRank[size_t(b)];
        if (la != lb)
            return la < lb;
        const int fa = firstRank[size_t(a)], fb = firstRank[size_t(b)];
        return fa != fb ? fa < fb : a < b;
    });

    // Name order: positions are rows from here on.
    m_keys.reserve(n);
    m_cells.reserve(n * 3);
    m_folded.reserve(n * 2);
    m_arena = arena;
    std::u32string folded;
    for (const int from : order) {
        m_keys.push_back(keys[size_t(from)]);
        for (int c = 0; c < 3; ++c)
            m_cells.push_back(cells[size_t(from) * 3 + size_t(c)]);
        for (int c = 0; c < 2; ++c) {
            const RecordResult::Cell& cell = cells[size_t(from) * 3 + size_t(c)];
            Folded f;
            if (cell.length >= 0) {
                JetSql::foldUtf8(text + cell.offset, cell.length, folded);
                f.offset = qint32(m_foldedText.size());
                f.length = qint32(folded.size());
                m_foldedText += folded;
            }
            m_folded.push_back(f);
        }
    }
    // Last-name order: equal last names stand in table order, not by first name.
    m_byLastName.resize(n);
    std::iota(m_byLastName.begin(), m_byLastName.end(), 0);
    for (size_t i = 0; i < n;) {
        size_t j = i + 1;
        while (j < n && lastRank[size_t(order[i])] == lastRank[size_t(order[j])])
            ++j;
        if (j - i > 1)
            std::sort(m_byLastName.begin() + qsizetype(i), m_byLastName.begin() + qsizetype(j),
                      [this](int a, int b) { return m_keys[size_t(a)] < m_keys[size_t(b)]; });
        i = j;
    }
    m_db = db;
    m_dataVersion = dataVersion;
    m_changes = db->totalChanges();
    m_mark = db->changeMark();
    return SQLITE_DONE;
}

bool NameIndex::isCurrent(StoreConnection* db, qint64 dataVersion) const
{
    return m_db && db == m_db && dataVersion >= 0 && dataVersion == m_dataVersion &&
           db->totalChanges() == m_changes;
}

std::vector<int> NameIndex::nameOrder() const
{
    std::vector<int> rows(m_keys.size());
    std::iota(rows.begin(), rows.end(), 0);
    return rows;
}

std::vector<int> NameIndex::typeSearch(const QString& word, const std::vector<int>* among) const
{
    const JetSql::LikeMatcher like(QLatin1Char('*') + word + QLatin1Char('*'));
    auto matches = [&](const Folded& f) {
        return f.length >= 0 && like.matches(std::u32string_view(m_foldedText.data() + f.offset, size_t(f.length)));
    };
    std::vector<int> rows;
    for (const int row : among ? *among : m_byLastName)
        if (matches(m_folded[size_t(row) * 2]) || matches(m_folded[size_t(row) * 2 + 1]))
            rows.push_back(row);
    return rows;
}

void NameIndex::fill(RecordResult& r, const std::vector<int>& rows) const
{
    r.arena = m_arena;
    r.keys.reserve(rows.size());
    r.cells.reserve(rows.size() * 3);
    for (const int row : rows) {
        r.keys.push_back(m_keys[size_t(row)]);
        const auto* c = m_cells.data() + size_t(row) * 3;
        r.cells.insert(r.cells.end(), c, c + 3);
    }
}
