#include "RecordResult.h"

#include "StoreConnection.h"

#include <algorithm>

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
    keys.push_back(first ? st.int64(0) : 0);
    for (int c = 0; c < width; ++c) {
        Cell cell;
        const auto* t = st.text(c + first);
        if (t) {
            const int len = st.bytes(c + first);
            cell.offset = qint32(arena.size());
            cell.length = len;
            arena.append(t, len);
        }
        cells.push_back(cell);
    }
}

void RecordResult::appendEmptyRow(qint64 key)
{
    keys.push_back(key);
    cells.resize(cells.size() + size_t(width));
}

void RecordResult::eraseRow(int row)
{
    const auto n = qsizetype(width);
    keys.erase(keys.begin() + row);
    cells.erase(cells.begin() + qsizetype(row) * n, cells.begin() + qsizetype(row + 1) * n);
}

QString RecordResult::cellText(int row, int s) const
{
    const Cell& c = cells[size_t(row) * size_t(width) + size_t(s)];
    if (c.length <= 0)
        return {};
    return QString::fromUtf8(arena.constData() + c.offset, c.length);
}

void RecordResult::setCell(int row, int s, const QByteArray& utf8)
{
    Cell& c = cells[size_t(row) * size_t(width) + size_t(s)];
    c.offset = qint32(arena.size());
    c.length = qint32(utf8.size());
    arena.append(utf8);
}
