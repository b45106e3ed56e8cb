#pragma once
// The address store on a PostgreSQL server, through Qt's QPSQL driver. Statements are
// translated by PgSql; results are read whole and, where the statement orders by
// names, sorted here in the German order so that every list looks as on the SQLite
// file. A lost connection is reported once in German and opened again by the next
// statement that comes outside a transaction.

#include "ServerAddress.h"
#include "StoreConnection.h"

#include <QHash>
#include <QSqlError>

#include <memory>

class QSqlDatabase;

class PgConnection : public StoreConnection {
public:
    ~PgConnection() override;
    static std::unique_ptr<StoreConnection> open(const QString& url, QString* error);
    static std::unique_ptr<PgConnection> openServer(const QString& url, QString* error);

    QString location() const override { return m_url; }
    int prepare(const QString& sql, std::unique_ptr<StoreCursor>& cursor) override;
    bool exec(const QByteArray& sql) override;
    int lastCode() const override { return m_code; }
    QString engineMessage() const override { return m_message; }
    qint64 lastInsertKey() const override { return m_lastKey; }
    qint64 dataVersion() override;
    qint64 changeMark() const override { return m_mark; }
    int changedRows(const QStringList& columns, qint64 mark, int most, std::unique_ptr<StoreCursor>& cursor) override;
    qint64 totalChanges() const override { return m_changes; }
    QString checkTable(const QString& table) override;
    QString rowKey(const QString& table) const override;
    QString versionColumn(const QString&) const override { return QStringLiteral("qx_version"); }
    QByteArray beginWrite() const override;
    void keysWritten(const QString& table) override;
    QString distinctValues(const QString& table, const QString& column) const override;
    QObject* changeNotifier() override;
    QString errorText(int code) const override;
    QString readErrorText(int code) const override;

    // Runs `sql` (already in PostgreSQL's dialect); the result code. Used by the cursor.
    int run(const QString& sql, class QSqlQuery& query);
    // A write statement on a table of the store succeeded: counted as this
    // connection's own change, so that it is not taken for another desk's.
    void countOwnWrite(qint64 rows);
    void setLastKey(qint64 key) { m_lastKey = key; }
    QSqlDatabase database() const;
    // A German text of the failure that stopped the statement: for the cursor's own
    // refusals (a NUL character).
    int refuse(const QString& text);

private:
    PgConnection() = default;
    // Opens the session; empty or a German text.
    QString connect();
    bool reconnectIfLost();
    int codeOf(const QSqlError& e);

    QString m_name; // the QSqlDatabase connection name
    QString m_url;
    ServerAddress m_address;
    QString m_passwordKey;
    int m_code = 0;
    QString m_message;
    QString m_refusal;
    QString m_missing; // table or column the server did not find ("t:name" / "c:name")
    qint64 m_lastKey = 0;
    qint64 m_changes = 0;
    qint64 m_mark = -1;        // the server's change counter as last read
    bool m_logged = false;     // the server logs which addresses changed
    qint64 m_ownBumps = 0;     // committed writes of this connection
    qint64 m_pendingBumps = 0; // writes of the open transaction
    bool m_inTransaction = false;
    bool m_lost = false;
    QHash<QString, QString> m_checked; // table -> checkTable() result once found sound
};
