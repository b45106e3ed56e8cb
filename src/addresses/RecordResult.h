#pragma once
// The kept part of a record source's result: the columns, a key per row and, per row,
// the texts of the kept columns. The rows as read sit in a shared store that is never
// changed once read (the name index shares its own with every result it answers, so a
// search hands over row numbers, not texts); rows written since are copied into the
// result's own small store first. A run builds a new result and swaps it in whole, so a
// run that fails leaves the previous result (and the list showing it) as it was.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class StoreCursor;

struct RecordResult {
    struct Cell {
        qint32 offset = 0;
        qint32 length = -1; // -1: null
    };
    // Rows with `width` cells each, their texts in one arena.
    struct Rows {
        int width = 0;
        std::vector<qint64> keys;
        std::vector<Cell> cells;
        QByteArray arena;
        int count() const { return int(keys.size()); }
        const Cell& cell(int row, int slot) const { return cells[size_t(row) * size_t(width) + size_t(slot)]; }
        QString text(int row, int slot) const;
        int append(qint64 key, const Cell* from, const char* text);
    };

    QStringList columns;
    QHash<QString, int> columnIndex; // lower-case name -> column
    std::vector<int> slot;           // column -> kept slot, -1 when read by key
    int width = 0;                   // kept columns per row
    bool hasKeys = false;
    qint64 dataVersion = -1;         // the file's change counter when the rows were read

    std::shared_ptr<const Rows> store; // rows as read
    std::vector<int> rows;             // result row -> row of `store`, or -1 - row of `own`
    Rows own;                          // rows added or written since

    int rowCount() const { return int(rows.size()); }
    qint64 key(int row) const;
    // True when every column is kept, so no row needs a read by key.
    bool allKept() const;
    void addColumn(const QString& name, int keptSlot);
    // While reading: rows go into `own`; seal() then makes them the shared store.
    void appendRow(const StoreCursor& st, int firstColumn);
    void seal();
    void appendEmptyRow(qint64 key);
    void eraseRow(int row);
    QString cellText(int row, int slot) const;
    void setCell(int row, int slot, const QByteArray& utf8);
};
