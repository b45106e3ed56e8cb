#pragma once
// The names of every address of one connection, kept in memory in the two name
// orders and case-folded for the Jet LIKE, so that the name-order statements and the
// search as you type are answered without running them: no statement sorts under the
// German order or calls like() row by row. Built from the file on first use and again
// whenever the file changed (another connection committed, or this one wrote), so a
// file written by another program is always seen as it is.

#include "RecordResult.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

class StoreConnection;

class NameIndex {
public:
    // Reads the row key and `columns` (last name, first name, postal code as the table
    // spells them) of every row of `table`. The SQLite code: SQLITE_DONE on success.
    int build(StoreConnection* db, const QString& table, const QStringList& columns, qint64 dataVersion);
    // Brings a built index up to date from the rows the store logs as changed since it
    // was read; SQLITE_DONE, else build() has to run (the index is then unchanged).
    // `follow`, rows in last-name order, is kept pointing at the same addresses, and
    // takes in those that changed.
    int catchUp(StoreConnection* db, const QStringList& columns, qint64 dataVersion,
                std::vector<int>* follow = nullptr);
    // True while the file holds what was read (`dataVersion` is the connection's now).
    bool isCurrent(StoreConnection* db, qint64 dataVersion) const;

    // Rows (positions in name order) in each of the orders.
    std::vector<int> nameOrder() const;
    const std::vector<int>& lastNameOrder() const { return m_byLastName; }
    // The rows whose last or first name matches the Jet pattern `*word*`, in last-name order;
    // only those of `among` (an earlier result, in that order) where given.
    std::vector<int> typeSearch(const QString& word, const std::vector<int>* among = nullptr) const;

    // Fills `r` (columns already set, three kept slots) with `rows`.
    void fill(RecordResult& r, const std::vector<int>& rows) const;
    int rowCount() const { return int(m_keys.size()); }

private:
    struct Folded {
        qint32 offset = 0;
        qint32 length = -1; // -1: null, never matches
    };
    std::vector<qint64> m_keys;              // per row, name order
    std::vector<RecordResult::Cell> m_cells; // three per row
    QByteArray m_arena;
    std::vector<Folded> m_folded;            // last and first name per row
    std::u32string m_foldedText;
    std::vector<int> m_byLastName;
    // Where a row goes in name order and in last-name order (NameIndexChanges.cpp).
    int compareNames(int row, const char* last, int lastLength, const char* first, int firstLength, qint64 key,
                     bool byFirst) const;
    qint64 m_mark = -1; // the store's change mark when last brought up to date
    qint64 m_dataVersion = -1;
    qint64 m_changes = -1;
    StoreConnection* m_db = nullptr;
};
