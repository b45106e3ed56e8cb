#pragma once
// The names of every address of one connection, kept in memory in the two name
// orders and case-folded for the Jet LIKE, so that the name-order statements and the
// search as you type are answered without running them: no statement sorts under the
// German order or calls like() row by row, and a search looks only at the rows whose
// letters can match (NameGrams). Built from the file on first use and again whenever
// the file changed (another connection committed, or this one wrote), so a file
// written by another program is always seen as it is.
//
// Rows are numbered in last-name order when built; a row changed later gets a new
// number at the end and its old one is dropped, so a number always stands for the
// same texts and the results can share the rows instead of copying them.

#include "NameGrams.h"
#include "RecordResult.h"

#include <QString>
#include <QStringList>

#include <future>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class StoreConnection;

class NameIndex {
public:
    NameIndex() = default;
    ~NameIndex();
    NameIndex& operator=(NameIndex&&) = default;

    // Reads the row key and `columns` (last name, first name, postal code as the table
    // spells them) of every row of `table`. The SQLite code: SQLITE_DONE on success.
    int build(StoreConnection* db, const QString& table, const QStringList& columns, qint64 dataVersion);
    // Brings a built index up to date from the rows the store logs as changed since it
    // was read; SQLITE_DONE, else build() has to run (the index is then unchanged).
    int catchUp(StoreConnection* db, const QStringList& columns, qint64 dataVersion);
    // True while the file holds what was read (`dataVersion` is the connection's now).
    bool isCurrent(StoreConnection* db, qint64 dataVersion) const;

    // The rows: key and last name, first name, postal code of each.
    std::shared_ptr<const RecordResult::Rows> rows() const { return m_store; }
    // The present rows in each of the orders.
    const std::vector<int>& nameOrder() const { return m_nameOrder; }
    const std::vector<int>& lastNameOrder() const { return m_lastOrder; }
    // The rows whose last or first name matches the Jet pattern `*word*`, in last-name order.
    std::vector<int> typeSearch(const QString& word) const;
    int rowCount() const { return int(m_lastOrder.size()); }

private:
    struct Folded {
        qint32 offset = 0;
        qint32 length = -1; // -1: null, never matches
    };
    std::u32string_view folded(int row, int name) const
    {
        const Folded& f = m_names[size_t(row) * 2 + size_t(name)];
        return {m_folded.data() + f.offset, size_t(std::max(f.length, 0))};
    }
    bool hasName(int row) const { return m_names[size_t(row) * 2].length >= 0 || m_names[size_t(row) * 2 + 1].length >= 0; }
    void addFolded(const RecordResult::Cell* cells, const char* text);
    // Folds the names of every row and lists their letters (on a helper thread).
    void foldNames();
    // Waits for foldNames(): everything below m_store is read there meanwhile.
    void searchable() const;
    // Rows in ascending numbers into last-name order.
    void intoLastNameOrder(std::vector<int>& rows) const;
    int rowOfKey(qint64 key) const;
    // Where a row goes in name order and in last-name order (NameIndexChanges.cpp).
    int compareNames(int row, const char* last, int lastLength, const char* first, int firstLength, qint64 key,
                     bool byFirst) const;

    std::shared_ptr<RecordResult::Rows> m_store;
    std::u32string m_folded;
    std::vector<Folded> m_names; // last and first name per row
    std::vector<char> m_present;
    std::vector<int> m_nameOrder, m_lastOrder;
    int m_inOrder = 0; // rows numbered in last-name order by build()
    mutable std::vector<int> m_rank; // row -> place in m_lastOrder, when not stale
    mutable bool m_rankStale = true;
    std::vector<std::pair<qint64, int>> m_keyRows;  // as built, by key
    std::unordered_map<qint64, int> m_movedKeys;    // since: key -> row, -1 when gone
    NameGrams m_grams;

    qint64 m_mark = -1; // the store's change mark when last brought up to date
    qint64 m_dataVersion = -1;
    qint64 m_changes = -1;
    StoreConnection* m_db = nullptr;
    mutable std::future<void> m_searchBuilt; // last: destroyed first
};
