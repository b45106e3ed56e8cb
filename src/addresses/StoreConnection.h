#pragma once
// One connection to an address store, whatever engine holds it: the SQLite file (the
// default) or a PostgreSQL server. Record sources and the name index talk to the store
// only through this and StoreCursor. Results are reported in SQLite's result codes
// (SQLITE_ROW, SQLITE_DONE, SQLITE_BUSY, ...) on every engine, so the callers tell
// outcomes apart in one vocabulary; the German text for a code comes from the
// connection that produced it.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <memory>

class StoreCursor {
public:
    virtual ~StoreCursor() = default;
    virtual int columnCount() const = 0;
    virtual QString columnName(int column) const = 0;
    // Parameters are numbered from 1, as ?1, ?2 ... in the statement.
    virtual void bindText(int index, const QByteArray& utf8) = 0;
    virtual void bindInt64(int index, qint64 value) = 0;
    virtual void bindNull(int index) = 0;
    // SQLITE_ROW while there is a row, then SQLITE_DONE; else the failure's code.
    virtual int step() = 0;
    // Ready to run again with new parameters.
    virtual void reset() = 0;
    // SQLITE_NULL, SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT or SQLITE_BLOB.
    virtual int type(int column) const = 0;
    // UTF-8 text of the value; null for a null.
    virtual const char* text(int column) const = 0;
    virtual int bytes(int column) const = 0;
    virtual qint64 int64(int column) const = 0;
    virtual double real(int column) const = 0;
};

class StoreConnection {
public:
    virtual ~StoreConnection() = default;

    // The file path or server address it was opened on.
    virtual QString location() const = 0;
    // SQLITE_OK and a cursor, or the failure's code.
    virtual int prepare(const QString& sql, std::unique_ptr<StoreCursor>& cursor) = 0;
    // Runs a statement without result; false on failure (lastCode() tells).
    virtual bool exec(const QByteArray& sql) = 0;
    virtual int lastCode() const = 0;
    virtual QString engineMessage() const = 0;
    // The key of the row the last INSERT made.
    virtual qint64 lastInsertKey() const = 0;
    // A number that changes whenever another connection has committed a change to the
    // store; -1 when it cannot be read.
    virtual qint64 dataVersion() = 0;
    // The store's own count of changes as the last dataVersion() read it (this
    // connection's included); -1 where the engine keeps no log of changed rows.
    virtual qint64 changeMark() const { return -1; }
    // A cursor over the addresses changed after `mark`: each such row's key, its key
    // again (null when the row is gone) and `columns`. A failure code where the log does
    // not reach back that far: then everything has to be read again. At most `most`
    // rows: a caller that gets that many takes it that there are more.
    virtual int changedRows(const QStringList& columns, qint64 mark, int most, std::unique_ptr<StoreCursor>& cursor)
    {
        Q_UNUSED(columns);
        Q_UNUSED(mark);
        Q_UNUSED(most);
        cursor.reset();
        return 1; // SQLITE_ERROR
    }
    // How many rows this connection has changed so far.
    virtual qint64 totalChanges() const = 0;
    // Empty when `table` exists with its required columns, else a German text.
    virtual QString checkTable(const QString& table) = 0;

    // The hidden key of every row of `table` (the record number for addresses).
    virtual QString rowKey(const QString& table) const = 0;
    // The column that counts the versions of a row of `table` (moved by every change);
    // empty where rows have none.
    virtual QString versionColumn(const QString& table) const
    {
        Q_UNUSED(table);
        return {};
    }
    // A write transaction that takes the write lock at once, so that a check made inside
    // it still holds when the row is written.
    virtual QByteArray beginWrite() const = 0;
    virtual QByteArray commit() const { return "COMMIT"; }
    virtual QByteArray rollback() const { return "ROLLBACK"; }
    // Called after rows were written with their keys given, so that new rows get keys
    // after them.
    virtual void keysWritten(const QString& table) { Q_UNUSED(table); }
    // The distinct non-empty values of `column` in `table`, in German order.
    virtual QString distinctValues(const QString& table, const QString& column) const = 0;

    // An object whose `notification` signal fires when another connection has
    // committed a change (the server tells); null where changes are only found by
    // asking dataVersion().
    virtual QObject* changeNotifier() { return nullptr; }

    // German texts for a failed write or change, and for a failed read.
    virtual QString errorText(int code) const = 0;
    virtual QString readErrorText(int code) const = 0;
};
