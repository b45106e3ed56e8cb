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
    const RecordResult::Cell* c = m_cells.data() + size_t(row) * 3;
    const char* text = m_arena.constData();
    int r = compareText(text + c[0].offset, c[0].length, last, lastLength);
    if (r == 0 && byFirst)
        r = compareText(text + c[1].offset, c[1].length, first, firstLength);
    // Ties stand in table order, as build() leaves them.
    if (r == 0)
        r = m_keys[size_t(row)] < key ? -1 : (m_keys[size_t(row)] > key ? 1 : 0);
    return r;
}

int NameIndex::catchUp(StoreConnection* db, const QStringList& columns, qint64 dataVersion, std::vector<int>* follow)
{
    if (!m_db || db != m_db || m_mark < 0 || columns.size() != 3)
        return SQLITE_MISUSE;
    const qint64 mark = db->changeMark();
    std::unique_ptr<StoreCursor> st;
    int rc = db->changedRows(columns, m_mark, st);
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
    if (changed.size() > kMostChanges)
        return SQLITE_MISUSE;

    // Positions shift as rows go and come; `follow` (rows of a search) shifts with them
    // and takes in every row that came, since it may match now.
    auto shift = [](std::vector<int>& rows, int pos, int by) {
        if (by < 0)
            rows.erase(std::remove(rows.begin(), rows.end(), pos), rows.end());
        for (int& r : rows)
            if (r > pos || (by > 0 && r == pos))
                r += by;
    };
    for (const qint64 key : changed) {
        const auto it = std::find(m_keys.begin(), m_keys.end(), key);
        if (it == m_keys.end())
            continue;
        const qsizetype pos = it - m_keys.begin();
        m_keys.erase(it);
        m_cells.erase(m_cells.begin() + pos * 3, m_cells.begin() + pos * 3 + 3);
        m_folded.erase(m_folded.begin() + pos * 2, m_folded.begin() + pos * 2 + 2);
        shift(m_byLastName, int(pos), -1);
        if (follow)
            shift(*follow, int(pos), -1);
    }

    const qint32 base = qint32(m_arena.size());
    m_arena += added;
    std::u32string folded;
    for (Row& f : fresh) {
        for (RecordResult::Cell& c : f.cells)
            if (c.length >= 0)
                c.offset += base;
        const char* text = m_arena.constData();
        const RecordResult::Cell& last = f.cells[0];
        const RecordResult::Cell& first = f.cells[1];
        auto before = [&](int row, bool byFirst) {
            return compareNames(row, text + last.offset, last.length, text + first.offset, first.length, f.key,
                                byFirst) < 0;
        };
        size_t lo = 0, hi = m_keys.size();
        while (lo < hi) {
            const size_t mid = (lo + hi) / 2;
            if (before(int(mid), true))
                lo = mid + 1;
            else
                hi = mid;
        }
        const int pos = int(lo);
        m_keys.insert(m_keys.begin() + pos, f.key);
        m_cells.insert(m_cells.begin() + qsizetype(pos) * 3, f.cells, f.cells + 3);
        Folded names[2];
        for (int c = 0; c < 2; ++c)
            if (f.cells[c].length >= 0) {
                JetSql::foldUtf8(text + f.cells[c].offset, f.cells[c].length, folded);
                names[c].offset = qint32(m_foldedText.size());
                names[c].length = qint32(folded.size());
                m_foldedText += folded;
            }
        m_folded.insert(m_folded.begin() + qsizetype(pos) * 2, names, names + 2);
        shift(m_byLastName, pos, 1);
        if (follow) {
            shift(*follow, pos, 1);
            follow->push_back(pos);
        }
        lo = 0;
        hi = m_byLastName.size();
        while (lo < hi) {
            const size_t mid = (lo + hi) / 2;
            if (before(m_byLastName[mid], false))
                lo = mid + 1;
            else
                hi = mid;
        }
        m_byLastName.insert(m_byLastName.begin() + qsizetype(lo), pos);
    }
    if (follow && !fresh.empty()) {
        // Back into last-name order.
        std::vector<char> in(m_keys.size(), 0);
        for (const int r : *follow)
            in[size_t(r)] = 1;
        follow->clear();
        for (const int r : m_byLastName)
            if (in[size_t(r)])
                follow->push_back(r);
    }
    m_mark = mark;
    m_dataVersion = dataVersion;
    m_changes = db->totalChanges();
    return SQLITE_DONE;
}
