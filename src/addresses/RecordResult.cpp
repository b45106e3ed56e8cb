#include "RecordResult.h"

#include "StoreConnection.h"

#include <algorithm>
#include <numeric>

QString RecordResult::Rows::text(int row, int s) const
{
    const Cell& c = cell(row, s);
    return c.length > 0 ? QString::fromUtf8(arena.constData() + c.offset, c.length) : QString();
}

int RecordResult::Rows::append(qint64 key, const Cell* from, const char* text)
{
    keys.push_back(key);
    for (int c = 0; c < width; ++c) {
        Cell cell;
        if (from && from[c].length >= 0) {
            cell.offset = qint32(arena.size());
            cell.length = from[c].length;
            arena.append(text + from[c].offset, from[c].length);
        }
        cells.push_back(cell);
    }
    return count() - 1;
}

qint64 RecordResult::key(int row) const
{
    const int r = rows[size_t(row)];
    return r >= 0 ? store->keys[size_t(r)] : own.keys[size_t(-1 - r)];
}

bool RecordResult::allKept() const
{
    return std::all_of(slot.begin(), slot.end(), [](int s) { return s >= 0; });
}

void RecordResult::addColumn(const QString& name, int keptSlot)
{
    columnIndex.insert(name.toLower(), int(columns.size()));
    columns << name;
    slot.push_back(keptSlot);
}

void RecordResult::appendRow(const StoreCursor& st, int first)
{
    own.width = width;
    own.keys.push_back(first ? st.int64(0) : 0);
    for (int c = 0; c < width; ++c) {
        Cell cell;
        const auto* t = st.text(c + first);
        if (t) {
            const int len = st.bytes(c + first);
            cell.offset = qint32(own.arena.size());
            cell.length = len;
            own.arena.append(t, len);
        }
        own.cells.push_back(cell);
    }
    rows.push_back(-own.count());
}

void RecordResult::seal()
{
    own.width = width;
    auto sealed = std::make_shared<Rows>(std::move(own));
    own = Rows();
    own.width = width;
    rows.resize(size_t(sealed->count()));
    std::iota(rows.begin(), rows.end(), 0);
    store = std::move(sealed);
}

void RecordResult::appendEmptyRow(qint64 key)
{
    own.width = width;
    rows.push_back(-1 - own.append(key, nullptr, nullptr));
}

void RecordResult::eraseRow(int row) { rows.erase(rows.begin() + row); }

QString RecordResult::cellText(int row, int s) const
{
    const int r = rows[size_t(row)];
    return r >= 0 ? store->text(r, s) : own.text(-1 - r, s);
}

void RecordResult::setCell(int row, int s, const QByteArray& utf8)
{
    int& r = rows[size_t(row)];
    own.width = width;
    if (r >= 0) // the shared rows stay as read: the row moves into this result's own
        r = -1 - own.append(store->keys[size_t(r)], &store->cell(r, 0), store->arena.constData());
    Cell& c = own.cells[size_t(-1 - r) * size_t(width) + size_t(s)];
    c.offset = qint32(own.arena.size());
    c.length = qint32(utf8.size());
    own.arena.append(utf8);
}
