#pragma once
// A prepared SQLite statement that finalizes itself.

#include <QString>

#include <sqlite3.h>

struct SqliteStatement {
    sqlite3_stmt* st = nullptr;
    SqliteStatement() = default;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;
    ~SqliteStatement() { sqlite3_finalize(st); }
    int prepare(sqlite3* db, const QString& sql)
    {
        sqlite3_finalize(st);
        st = nullptr;
        const QByteArray u = sql.toUtf8();
        return sqlite3_prepare_v2(db, u.constData(), int(u.size()), &st, nullptr);
    }
};
