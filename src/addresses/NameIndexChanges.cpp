// Bringing the name index up to date from the addresses a server logs as changed, so
// that a save at another desk costs a desk a few rows read, not all of them.
#include "NameIndex.h"

#include "JetSql.h"
#include "StoreConnection.h"

#include <sqlite3.h>

#include <algorithm>

namespace {

// More changes than this at once (an import): reading everything again is quicker.
constexpr size_t kMostChanges = 200;

// Nulls first, then texts in the German order (the server holds only texts).
int compareText(const char* a, int na, const char* b, int nb)
{
    if (na < 0 || nb < 0)
        return na < 0 ? (nb < 0 ? 0 : -1) : 1;
    return JetSql::germanCompareUtf8(a, na, b, nb);
}

} // namespace

int NameIndex::compareNames(int row, const char* last, int lastLength, const char* first, int firstLength,
                            qint64 key, bool byFirst) const
{
    const RecordResult::Cell* c = &m_store->cell(row, 0);
    const char* text = m_store->arena.constData();
    int r = compareText(text + c[0].offset, c[0].length, last, lastLength);
    if (r == 0 && byFirst)
        r = compareText(text + c[1].offset, c[1].length, first, firstLength);
    // Ties stand in table order, as build() leaves them.
    const qint64 own = m_store->keys[size_t(row)];
    if (r == 0)
        r = own < key ? -1 : (own > key ? 1 : 0);
    return r;
}

int NameIndex::catchUp(StoreConnection* db, const QStringList& columns, qint64 dataVersion)
{
    if (!m_db || db != m_db || m_mark < 0 || columns.size() != 3)
        return SQLITE_MISUSE;
    searchable();
    const qint64 mark = db->changeMark();
    std::unique_ptr<StoreCursor> st;
    int rc = db->changedRows(columns, m_mark, int(kMostChanges) + 1, st);
    if (rc != SQLITE_OK)
        return rc;

    // Everything is read before the index is touched: a failure leaves it as it was.
    struct Row {
        qint64 key;
        RecordResult::Cell cells[3];
    };
    std::vector<qint64> changed;
    std::vector<Row> fresh;
    QByteArray added;
    while ((rc = st->step()) == SQLITE_ROW) {
        const qint64 key = st->int64(0);
        changed.push_back(key);
        if (changed.size() > kMostChanges)
            return SQLITE_MISUSE;
        if (st->type(1) == SQLITE_NULL)
            continue; // deleted
        Row row{key, {}};
        for (int c = 0; c < 3; ++c)
            if (const char* t = st->text(c + 2)) {
                row.cells[c].offset = qint32(added.size());
                row.cells[c].length = st->bytes(c + 2);
                added.append(t, row.cells[c].length);
            }
        fresh.push_back(row);
    }
    if (rc != SQLITE_DONE)
        return rc;

    // A changed row leaves both orders; as it stands now it comes back under a new number.
    for (const qint64 key : changed) {
        const int row = rowOfKey(key);
        if (row < 0 || !m_present[size_t(row)])
            continue;
        m_present[size_t(row)] = 0;
        m_movedKeys[key] = -1;
        for (std::vector<int>* order : {&m_lastOrder, &m_nameOrder})
            order->erase(std::find(order->begin(), order->end(), row));
    }
    for (const Row& f : fresh) {
        const int row = m_store->append(f.key, f.cells, added.constData());
        addFolded(&m_store->cell(row, 0), m_store->arena.constData());
        m_present.push_back(1);
        m_grams.add(folded(row, 0), folded(row, 1));
        m_movedKeys[f.key] = row;
        const char* text = m_store->arena.constData();
        const RecordResult::Cell* c = &m_store->cell(row, 0);
        for (const bool byFirst : {false, true}) {
            std::vector<int>& order = byFirst ? m_nameOrder : m_lastOrder;
            const auto at = std::partition_point(order.begin(), order.end(), [&](int other) {
                return compareNames(other, text + c[0].offset, c[0].length, text + c[1].offset, c[1].length, f.key,
                                    byFirst) < 0;
            });
            order.insert(at, row);
        }
    }
    m_rankStale = true;
    m_mark = mark;
    m_dataVersion = dataVersion;
    m_changes = db->totalChanges();
    return SQLITE_DONE;
}
