#pragma once
// The kept part of a record source's result: the columns, a key per row and, per row,
// the texts of the kept columns in one arena. A run builds a new one and swaps it in
// whole, so a run that fails leaves the previous result (and the list showing it) as
// it was.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

class StoreCursor;

struct RecordResult {
    struct Cell {
        qint32 offset = 0;
        qint32 length = -1; // -1: null
    };

    QStringList columns;
    QHash<QString, int> columnIndex; // lower-case name -> column
    std::vector<int> slot;           // column -> kept slot, -1 when read by key
    int width = 0;                   // kept columns per row
    std::vector<qint64> keys;        // rowid per row (0 when the statement gives none)
    std::vector<Cell> cells;         // row-major, `width` per row
    QByteArray arena;                // UTF-8 texts of all cells
    bool hasKeys = false;
    qint64 dataVersion = -1;         // the file's change counter when the rows were read

    int rowCount() const { return int(keys.size()); }
    // True when every column is kept, so no row needs a read by key.
    bool allKept() const;
    void addColumn(const QString& name, int keptSlot);
    void appendRow(const StoreCursor& st, int firstColumn);
    void appendEmptyRow(qint64 key);
    void eraseRow(int row);
    QString cellText(int row, int slot) const;
    void setCell(int row, int slot, const QByteArray& utf8);
};
