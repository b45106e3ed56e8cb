#include "NameIndex.h"

#include "JetSql.h"
#include "SqlDialect.h"
#include "StoreConnection.h"

#include <sqlite3.h>

#include <algorithm>
#include <climits>
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

NameIndex::~NameIndex() { searchable(); }

void NameIndex::searchable() const
{
    if (m_searchBuilt.valid())
        m_searchBuilt.get();
}

int NameIndex::build(StoreConnection* db, const QString& table, const QStringList& columns, qint64 dataVersion)
{
    searchable(); // the helper thread reads what is replaced here
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
    // Rows are numbered in last-name order; they came in table order, which breaks ties.
    std::vector<int> byLast(n);
    std::iota(byLast.begin(), byLast.end(), 0);
    std::stable_sort(byLast.begin(), byLast.end(),
                     [&](int a, int b) { return lastRank[size_t(a)] < lastRank[size_t(b)]; });

    m_store = std::make_shared<RecordResult::Rows>();
    m_store->width = 3;
    m_store->arena = arena;
    m_store->keys.reserve(n);
    m_store->cells.reserve(n * 3);
    m_keyRows.resize(n);
    for (size_t row = 0; row < n; ++row) {
        const int from = byLast[row];
        m_store->keys.push_back(keys[size_t(from)]);
        const RecordResult::Cell* c = cells.data() + size_t(from) * 3;
        m_store->cells.insert(m_store->cells.end(), c, c + 3);
        m_keyRows[size_t(from)] = {keys[size_t(from)], int(row)};
    }
    m_present.assign(n, 1);
    m_lastOrder.resize(n);
    std::iota(m_lastOrder.begin(), m_lastOrder.end(), 0);
    // Name order: by first name among equal last names, else as in last-name order.
    m_nameOrder = m_lastOrder;
    std::stable_sort(m_nameOrder.begin(), m_nameOrder.end(), [&](int a, int b) {
        const size_t x = size_t(byLast[size_t(a)]), y = size_t(byLast[size_t(b)]);
        return lastRank[x] != lastRank[y] ? lastRank[x] < lastRank[y] : firstRank[x] < firstRank[y];
    });
    m_inOrder = int(n);
    // The names for the search are folded and listed on the other core meanwhile: the
    // window shows its list without waiting for them; the first search does.
    m_searchBuilt = std::async(std::launch::async, [this] { foldNames(); });
    m_db = db;
    m_dataVersion = dataVersion;
    m_changes = db->totalChanges();
    m_mark = db->changeMark();
    return SQLITE_DONE;
}

void NameIndex::foldNames()
{
    const size_t n = size_t(m_store->count());
    m_names.reserve(n * 2);
    m_folded.reserve(size_t(m_store->arena.size())); // a letter takes at least one byte
    for (size_t row = 0; row < n; ++row)
        addFolded(&m_store->cell(int(row), 0), m_store->arena.constData());
    std::vector<std::u32string_view> names;
    names.reserve(n * 2);
    for (size_t row = 0; row < n; ++row)
        for (int f = 0; f < 2; ++f)
            names.push_back(folded(int(row), f));
    m_grams.build(names);
}

void NameIndex::addFolded(const RecordResult::Cell* cells, const char* text)
{
    for (int c = 0; c < 2; ++c) {
        Folded name;
        if (cells[c].length >= 0) {
            name.offset = qint32(m_folded.size());
            JetSql::foldUtf8(text + cells[c].offset, cells[c].length, m_folded, true);
            name.length = qint32(m_folded.size()) - name.offset;
        }
        m_names.push_back(name);
    }
}

bool NameIndex::isCurrent(StoreConnection* db, qint64 dataVersion) const
{
    return m_db && db == m_db && dataVersion >= 0 && dataVersion == m_dataVersion &&
           db->totalChanges() == m_changes;
}

int NameIndex::rowOfKey(qint64 key) const
{
    const auto moved = m_movedKeys.find(key);
    if (moved != m_movedKeys.end())
        return moved->second;
    const auto it = std::lower_bound(m_keyRows.begin(), m_keyRows.end(), std::make_pair(key, INT_MIN));
    return it != m_keyRows.end() && it->first == key ? it->second : -1;
}

std::vector<int> NameIndex::typeSearch(const QString& word) const
{
    searchable();
    const QString pattern = QLatin1Char('*') + word + QLatin1Char('*');
    bool plain = false;
    const std::vector<std::u32string> runs = JetSql::literalRuns(pattern, &plain);
    const JetSql::LikeMatcher like(pattern);
    auto matches = [&](int row) {
        for (int f = 0; f < 2; ++f)
            if (m_names[size_t(row) * 2 + size_t(f)].length >= 0 && like.matches(folded(row, f)))
                return true;
        return false;
    };
    std::vector<int> rows;
    bool exact = false;
    if (!m_grams.candidates(runs, rows, exact)) {
        // No letter to go by ("", "*", "?"): every row is looked at, in order.
        for (const int row : m_lastOrder)
            if (plain ? hasName(row) : matches(row))
                rows.push_back(row);
        return rows;
    }
    // Holding the letters is matching only for a word without wildcards.
    exact = exact && plain;
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [&](int row) { return !m_present[size_t(row)] || (!exact && !matches(row)); }),
               rows.end());
    intoLastNameOrder(rows);
    return rows;
}

void NameIndex::intoLastNameOrder(std::vector<int>& rows) const
{
    // Rows numbered by build() stand in last-name order already; the few added since
    // are merged in by their place.
    const auto added = std::lower_bound(rows.begin(), rows.end(), m_inOrder);
    if (added == rows.end())
        return;
    if (m_rankStale) {
        m_rank.assign(m_present.size(), -1);
        for (size_t i = 0; i < m_lastOrder.size(); ++i)
            m_rank[size_t(m_lastOrder[i])] = int(i);
        m_rankStale = false;
    }
    auto byRank = [this](int a, int b) { return m_rank[size_t(a)] < m_rank[size_t(b)]; };
    std::sort(added, rows.end(), byRank);
    std::inplace_merge(rows.begin(), added, rows.end(), byRank);
}
