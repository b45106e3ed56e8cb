#pragma once
// The address store in an SQLite file: the Jet LIKE and the German order installed on
// the connection, a busy timeout for the companion program's locks, and a quick
// integrity check before anything is read.

#include "StoreConnection.h"

#include <memory>

struct sqlite3;

class SqliteConnection : public StoreConnection {
public:
    ~SqliteConnection() override;
    // Opens `path` (which must exist: SQLite would create a missing file); null and a
    // German text when it cannot be used.
    static std::unique_ptr<StoreConnection> open(const QString& path, QString* error);

    QString location() const override { return m_path; }
    int prepare(const QString& sql, std::unique_ptr<StoreCursor>& cursor) override;
    bool exec(const QByteArray& sql) override;
    int lastCode() const override;
    QString engineMessage() const override;
    qint64 lastInsertKey() const override;
    qint64 dataVersion() override;
    qint64 totalChanges() const override;
    QString checkTable(const QString& table) override;
    QString rowKey(const QString&) const override { return QStringLiteral("rowid"); }
    QByteArray beginWrite() const override { return "BEGIN IMMEDIATE"; }
    QString distinctValues(const QString& table, const QString& column) const override;
    QString errorText(int code) const override;
    QString readErrorText(int code) const override;

private:
    SqliteConnection() = default;
    QString m_name; // the QSqlDatabase connection name
    QString m_path;
    sqlite3* m_db = nullptr;
};
