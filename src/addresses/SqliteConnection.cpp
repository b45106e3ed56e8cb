#include "SqliteConnection.h"

#include "AddressDatabase.h"
#include "JetSql.h"
#include "SqlDialect.h"

#include <QAtomicInt>
#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QVariant>

#include <sqlite3.h>

namespace {
QAtomicInt connectionCounter;

class SqliteCursor : public StoreCursor {
public:
    explicit SqliteCursor(sqlite3_stmt* st) : m_st(st) {}
    ~SqliteCursor() override { sqlite3_finalize(m_st); }
    int columnCount() const override { return sqlite3_column_count(m_st); }
    QString columnName(int c) const override { return QString::fromUtf8(sqlite3_column_name(m_st, c)); }
    void bindText(int i, const QByteArray& utf8) override
    {
        sqlite3_bind_text(m_st, i, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    void bindInt64(int i, qint64 v) override { sqlite3_bind_int64(m_st, i, v); }
    void bindNull(int i) override { sqlite3_bind_null(m_st, i); }
    int step() override { return sqlite3_step(m_st); }
    void reset() override { sqlite3_reset(m_st); }
    int type(int c) const override { return sqlite3_column_type(m_st, c); }
    const char* text(int c) const override { return reinterpret_cast<const char*>(sqlite3_column_text(m_st, c)); }
    int bytes(int c) const override { return sqlite3_column_bytes(m_st, c); }
    qint64 int64(int c) const override { return sqlite3_column_int64(m_st, c); }
    double real(int c) const override { return sqlite3_column_double(m_st, c); }

private:
    sqlite3_stmt* m_st;
};

sqlite3* handleOf(const QSqlDatabase& db)
{
    const QVariant v = db.driver()->handle();
    if (v.isValid() && qstrcmp(v.typeName(), "sqlite3*") == 0)
        return *static_cast<sqlite3* const*>(v.constData());
    return nullptr;
}
// SQLITE_OK when SQLite's quick check finds the file sound, SQLITE_CORRUPT when it
// reports damage, else the code that stopped the check (a lock, for instance).
int quickCheck(sqlite3* db)
{
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(db, "PRAGMA quick_check(1)", -1, &st, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) {
        const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        rc = t && qstrcmp(t, "ok") == 0 ? SQLITE_OK : SQLITE_CORRUPT;
    }
    sqlite3_finalize(st);
    return (rc & 0xFF) == SQLITE_CORRUPT || (rc & 0xFF) == SQLITE_NOTADB ? SQLITE_CORRUPT : rc;
}

// A window opens three record sources on one file: a file found sound and unchanged
// since (same size and time) is not checked again. All on the UI thread.
using FileStamp = std::pair<qint64, QDateTime>;
QHash<QString, FileStamp>& checkedFiles()
{
    static QHash<QString, FileStamp> files;
    return files;
}

FileStamp stampOf(const QString& path)
{
    const QFileInfo fi(path);
    return {fi.size(), fi.lastModified()};
}

bool checkedBefore(const QString& path)
{
    const auto it = checkedFiles().constFind(path);
    return it != checkedFiles().constEnd() && *it == stampOf(path);
}

void rememberChecked(const QString& path) { checkedFiles().insert(path, stampOf(path)); }
} // namespace

std::unique_ptr<StoreConnection> SqliteConnection::open(const QString& path, QString* error)
{
    auto fail = [&](const QString& text) {
        if (error)
            *error = text;
        return std::unique_ptr<StoreConnection>();
    };
    if (!QFileInfo(path).isFile())
        return fail(QStringLiteral("Die Datenbank-Datei ") + path + QStringLiteral(" wurde nicht gefunden."));

    std::unique_ptr<SqliteConnection> c(new SqliteConnection);
    c->m_path = path;
    c->m_name = QStringLiteral("qx_addresses_") + QString::number(connectionCounter.fetchAndAddOrdered(1));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), c->m_name);
        db.setDatabaseName(path);
        QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=") + QString::number(AddressDatabase::BusyTimeoutMs);
        // A write-protected file stays protected, also for an administrator.
        if (!(QFileInfo(path).permissions() & QFile::WriteOwner))
            options += QStringLiteral(";QSQLITE_OPEN_READONLY");
        db.setConnectOptions(options);
        if (!db.open()) {
            const QString t = db.lastError().text();
            return fail(QStringLiteral("Die Datenbank-Datei ") + path +
                        QStringLiteral(" kann nicht geöffnet werden: ") + t);
        }
        c->m_db = handleOf(db);
    }
    if (!c->m_db || !JetSql::install(c->m_db))
        return fail(QStringLiteral("Die Datenbank-Datei ") + path + QStringLiteral(" kann nicht geöffnet werden."));
    // Room for sorting a whole address table in memory (SQLite's sorter spills to a
    // temporary file beyond the page cache) and reading through a memory map.
    sqlite3_exec(c->m_db, "PRAGMA cache_size = -65536; PRAGMA temp_store = MEMORY; PRAGMA mmap_size = 268435456;",
                 nullptr, nullptr, nullptr);
    // A file that is not a database opens fine; the first read tells.
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(c->m_db, "SELECT count(*) FROM sqlite_master", -1, &st, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(st);
    sqlite3_finalize(st);
    if (rc != SQLITE_ROW) {
        if (rc == SQLITE_NOTADB)
            return fail(QStringLiteral("Die Datei ") + path + QStringLiteral(" ist keine Adressen-Datenbank."));
        if ((rc & 0xFF) == SQLITE_CORRUPT)
            return fail(AddressDatabase::damagedText(path));
        return fail(c->readErrorText(rc));
    }
    rc = checkedBefore(path) ? SQLITE_OK : quickCheck(c->m_db);
    if (rc != SQLITE_OK)
        return fail(rc == SQLITE_CORRUPT ? AddressDatabase::damagedText(path) : c->readErrorText(rc));
    rememberChecked(path);
    return c;
}

SqliteConnection::~SqliteConnection()
{
    if (m_name.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

int SqliteConnection::prepare(const QString& sql, std::unique_ptr<StoreCursor>& cursor)
{
    cursor.reset();
    const QByteArray u = sql.toUtf8();
    sqlite3_stmt* st = nullptr;
    const int rc = sqlite3_prepare_v2(m_db, u.constData(), int(u.size()), &st, nullptr);
    if (rc == SQLITE_OK)
        cursor = std::make_unique<SqliteCursor>(st);
    else
        sqlite3_finalize(st);
    return rc;
}

bool SqliteConnection::exec(const QByteArray& sql)
{
    return sqlite3_exec(m_db, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

int SqliteConnection::lastCode() const { return sqlite3_extended_errcode(m_db); }

QString SqliteConnection::engineMessage() const { return QString::fromUtf8(sqlite3_errmsg(m_db)); }

qint64 SqliteConnection::lastInsertKey() const { return sqlite3_last_insert_rowid(m_db); }

qint64 SqliteConnection::dataVersion()
{
    sqlite3_stmt* st = nullptr;
    qint64 v = -1;
    if (sqlite3_prepare_v2(m_db, "PRAGMA data_version", -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        v = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    return v;
}

qint64 SqliteConnection::totalChanges() const { return sqlite3_total_changes64(m_db); }

QString SqliteConnection::checkTable(const QString& table)
{
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(m_db, "SELECT name FROM pragma_table_info(?1)", -1, &st, nullptr) != SQLITE_OK)
        return errorText(sqlite3_errcode(m_db));
    const QByteArray name = table.toUtf8();
    sqlite3_bind_text(st, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
    QStringList have;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW)
        have << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE)
        return errorText(rc);
    return AddressDatabase::missingColumnsText(table, have);
}

QString SqliteConnection::distinctValues(const QString& table, const QString& column) const
{
    const QString c = SqlDialect::quotedName(column);
    return QStringLiteral("SELECT DISTINCT ") + c + QStringLiteral(" FROM ") + SqlDialect::quotedName(table) +
           QStringLiteral(" WHERE ") + c + QStringLiteral(" IS NOT NULL AND trim(") + c +
           QStringLiteral(") <> '' ORDER BY ") + c + QStringLiteral(" COLLATE NOCASE");
}

QString SqliteConnection::errorText(int code) const
{
    const QString engine = engineMessage();
    static const QRegularExpression missing(QStringLiteral("^no such (table|column): (.+)$"));
    const auto m = missing.match(engine);
    if (m.hasMatch())
        return AddressDatabase::missingText(m.captured(1) == u"table", m.captured(2));
    return AddressDatabase::errorText(code, engine);
}

QString SqliteConnection::readErrorText(int code) const { return AddressDatabase::readErrorText(code, engineMessage()); }
