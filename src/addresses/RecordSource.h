#pragma once
// A record source over the address database: a statement (or a table name), its
// result and a current position. The result is read once and kept, so moving is free;
// writes go to the file at once and are mirrored in the kept result. This and the
// store's helpers are the only code that talks SQL.
//
// For "select * from <table> ..." only the row keys and the list columns (last name,
// first name, postal code) are kept for every row; the other columns of a row are read
// by key when asked for. The statement's rows are the same; sorting and reading
// 100,000 addresses stays quick. Those columns are sorted the German way even where
// the file declares no collation for them. The name orders and the search as you type
// are answered from an in-memory name index that follows every change of the file.

#include "AddressDatabase.h"
#include "RecordResult.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class NameIndex;
namespace Queries {
struct Recognised;
}

class RecordSource : public QObject {
    Q_OBJECT
public:
    explicit RecordSource(QObject* parent = nullptr);
    ~RecordSource() override;

    // Opens the database file and runs `source` (a statement, or a table name which
    // stands for all its rows). False with lastError() set on failure; the source is
    // then empty (BOF and EOF).
    bool open(const QString& databasePath, const QString& source);
    // Sets the statement without running it (refresh() runs it).
    void setRecordSource(const QString& source) { m_source = source; }
    QString recordSource() const { return m_source; }
    QString databasePath() const { return m_path; }
    // Re-runs the statement and moves to the first row. Reopens a database that could
    // not be opened before (locked by another program at the time). When the statement
    // fails, the previous statement, result and position stay as they were.
    bool refresh();
    // The same, except that a statement that finds no row is dropped too: the previous
    // statement, result and position stay (a list showing them still agrees), and
    // false comes back with lastError() empty.
    bool refreshUnlessEmpty();
    // True when another connection (another program, another window) has committed a
    // change to the file since this source last ran its statement.
    bool changedElsewhere() const;
    void close();
    bool isOpen() const { return m_db != nullptr; }

    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();
    bool eof() const { return m_pos >= recordCount() || recordCount() == 0; }
    bool bof() const { return m_pos < 0 || recordCount() == 0; }
    int recordCount() const { return m_r.rowCount(); }
    // 0-based position of the current row; -1 before the first or after the last.
    int absolutePosition() const { return (m_pos >= 0 && m_pos < recordCount()) ? m_pos : -1; }
    // A row that cannot be read (locked by another program) does not become current:
    // the error is reported and the position stays (positionChanged tells it again).
    void setAbsolutePosition(int pos);
    // No current row (as before the first): bound fields can then not be saved.
    void clearPosition() { setPos(-1); }

    QStringList columns() const { return m_r.columns; }
    // The result as kept (the texts of the kept columns of every row).
    const RecordResult& result() const { return m_r; }
    bool hasColumn(const QString& column) const { return m_r.columnIndex.contains(column.toLower()); }
    // Reads row `row` from the file where the result does not keep all its columns.
    // False, with the error reported and nothing cached, when it cannot be read.
    bool loadRow(int row) const;
    // The current row's value; the empty text for a null, a missing row or column, and
    // for a row that cannot be read (loadRow() tells that apart).
    QString field(const QString& column) const;
    QString fieldAt(int row, const QString& column) const;
    // Column number for valueAt(); -1 when the result has no such column.
    int columnIndex(const QString& column) const { return m_r.columnIndex.value(column.toLower(), -1); }
    QString valueAt(int row, int column) const;

    // Inserts an empty row, appends it to the result and makes it current.
    bool addNew();
    // Inserts a row holding `values` (column -> text) in one statement, appends it to
    // the result and makes it current. On failure nothing is written and the position
    // stays.
    bool addRow(const QHash<QString, QString>& values);
    // Writes `values` (column -> text) into the current row, whatever it holds now.
    bool saveRow(const QHash<QString, QString>& values);
    enum class Write { Done, Failed, ChangedElsewhere, DeletedElsewhere };
    // Writes `values` into the current row only while the file still holds `expected`
    // there (column -> text as read; the empty text stands for a null too). Checked and
    // written under one write lock, so no other writer comes in between. Failed is
    // reported (dataError); the other two outcomes are left to the caller to tell.
    // Where the store numbers the versions of a row (on a server), `expectedVersion`
    // (rowVersion() when the row was shown) is checked as well: any change counts.
    Write saveRowIf(const QHash<QString, QString>& values, const QHash<QString, QString>& expected,
                    qint64 expectedVersion = -1);
    // The version of the current row as read from the store; -1 where rows have none.
    qint64 rowVersion() const;
    // Reads the current row again from the file and shows it (positionChanged); false,
    // with lastError() set, when the row is gone or cannot be read.
    bool reloadRow();
    // The key of `row` (0 when there is none) and the row holding `key` (-1 when the
    // result has none).
    qint64 keyAt(int row) const;
    int rowOfKey(qint64 key) const;
    // The distinct non-empty values of `column` in the source's table, sorted; empty
    // when they cannot be read.
    QStringList distinctValues(const QString& column) const;
    // Several writes as one: everything between beginBatch() and endBatch(true) reaches
    // the file together, endBatch(false) takes all of it back. False with lastError()
    // set when the write lock or the commit cannot be had.
    bool beginBatch();
    bool endBatch(bool keep);
    // Deletes the current row; the row after it (or the new last row) becomes current.
    bool deleteRow();
    // Moves to the first row of the result that matches `criterion` (an SQL condition on
    // the source's table); false and the position unchanged when none does.
    bool findFirst(const QString& criterion);

    // German text of the last failure; empty after a success.
    QString lastError() const { return m_error; }

signals:
    void positionChanged(int position);
    // A failed read or write, as a German text.
    void dataError(const QString& text);
    // The server says a table of the store was changed (possibly by this source: ask
    // changedElsewhere()). Not sent for a file, which has to be asked.
    void changedOnServer();

private:
    bool ensureOpen();
    bool run(RecordResult& out);
    // The name-order statements and the search as you type, answered from m_index.
    bool runIndexed(RecordResult& r, const Queries::Recognised& known, const QString& table,
                    const QStringList& tableColumns, const QStringList& kept);
    void adopt(RecordResult&& result);
    qint64 dataVersion() const;
    bool exec(const QByteArray& sql);
    // Reads `row` again into the kept columns and the row cache; false after reporting.
    bool reloadKept(int row);
    // The UPDATE of `values` into the row with `key`; the result code, SQLITE_DONE on
    // success. Mirrors the written kept columns into the result.
    int update(int row, const QString& table, const QHash<QString, QString>& values);
    bool fail(const QString& text);
    bool failEngine(int code);
    // Reads the row with `key` into `values`; the result code, SQLITE_ROW on success.
    // The row's version into `version` where the store keeps one (else -1).
    int readByKey(qint64 key, QStringList* values, qint64* version = nullptr) const;
    void reportReadFailure(int code) const;
    void clearResult();
    const QStringList& rowByKey(int row) const;
    void forgetRowCache() const { m_rowCacheKey = -1; }
    void finalizeRowStatement();
    void setPos(int pos);
    QString tableName() const;
    // The current row and the table it can be changed in; false after reporting
    // `refusal` (or the missing row) when there is none.
    bool changeableRow(int& row, QString& table, const QString& refusal);

    std::unique_ptr<StoreConnection> m_db;
    QString m_path;
    QString m_source;
    QString m_resultSource; // the statement of the result held now
    QString m_error;
    RecordResult m_r;
    std::unique_ptr<NameIndex> m_index;
    // The table the index was built on, its columns and the index's columns of it.
    QString m_indexedTable;
    QStringList m_indexedColumns, m_indexedKept;
    mutable std::unique_ptr<StoreCursor> m_rowStatement;
    mutable qint64 m_rowCacheKey = -1;
    mutable QStringList m_rowCache;
    mutable qint64 m_rowCacheVersion = -1;
    mutable qint64 m_readFailKey = -1; // the row whose failed read was last reported
    int m_pos = -1;
    qint64 m_seenVersion = -1; // the file's change counter when the result was read
};
