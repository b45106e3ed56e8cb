#pragma once
// Test databases made from the starter database's SQL sources: SQLite files, or, when
// the test runs against the server (QX_TEST_BACKEND=postgresql), a fresh database on
// the test cluster named by QX_TEST_POSTGRESQL, filled through a file and the copy.

#include "TestPaths.h"
#include "addresses/AddressServer.h"
#include "addresses/RecordSource.h"
#include "addresses/ServerAddress.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <sqlite3.h>

namespace AddressFixture {

inline bool onServer() { return qgetenv("QX_TEST_BACKEND") == "postgresql"; }
inline QString serverUrl() { return qEnvironmentVariable("QX_TEST_POSTGRESQL"); }
inline bool isServer(const QString& location) { return location.startsWith(QLatin1String("postgresql://")); }

// Runs `sql` (one or more statements) on the test server's database `database`.
inline bool serverExec(const QString& database, const QString& sql)
{
    ServerAddress a;
    if (!ServerAddress::parse(serverUrl(), &a, nullptr))
        return false;
    const QString name = QStringLiteral("fixture_") + database;
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(a.host);
        db.setPort(a.port);
        db.setUserName(a.user);
        db.setDatabaseName(database);
        if (db.open()) {
            QSqlQuery q(db);
            q.exec(QStringLiteral("SET client_min_messages = warning"));
            ok = q.exec(sql);
            if (!ok)
                qWarning("%s", qPrintable(q.lastError().text()));
        } else {
            qWarning("%s", qPrintable(db.lastError().text()));
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

// An empty store on the test server (one database per test program, emptied for each
// use), or with `bare` a new database without any table; its address.
inline QString newServerDatabase(bool bare = false)
{
    static int count = 0;
    static QString shared;
    ServerAddress a;
    if (!ServerAddress::parse(serverUrl(), &a, nullptr))
        return {};
    if (!bare && !shared.isEmpty()) {
        a.database = shared;
        return serverExec(shared, QStringLiteral("TRUNCATE addressen, briefkopf, optionen RESTART IDENTITY"))
                   ? a.url()
                   : QString();
    }
    const QString name = QStringLiteral("qx_t%1_%2").arg(QCoreApplication::applicationPid()).arg(++count);
    if (!serverExec(a.database, QStringLiteral("DROP DATABASE IF EXISTS ") + name) ||
        !serverExec(a.database, QStringLiteral("CREATE DATABASE ") + name))
        return {};
    a.database = name;
    if (bare)
        return a.url();
    const QString error = AddressServer::create(a.url(), nullptr);
    if (!error.isEmpty()) {
        qWarning("%s", qPrintable(error));
        return {};
    }
    shared = name;
    return newServerDatabase();
}

// Where a test keeps its address store: `file` in `dir`, or a new server database.
inline QString location(const QTemporaryDir& dir, const QString& file)
{
    return onServer() ? newServerDatabase() : dir.filePath(file);
}

inline QByteArray sqlSource(const char* name)
{
    QFile f(qxSourceDir() + QStringLiteral("/resources/db/") + QLatin1String(name));
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

inline bool execFile(const QString& path, const QByteArray& sql)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK)
        return false;
    char* err = nullptr;
    // Throw-away files: no need to wait for the disk.
    sqlite3_exec(db, "PRAGMA synchronous = OFF", nullptr, nullptr, nullptr);
    const bool ok = sqlite3_exec(db, sql.constData(), nullptr, nullptr, &err) == SQLITE_OK;
    if (err) {
        qWarning("%s", err);
        sqlite3_free(err);
    }
    sqlite3_close(db);
    return ok;
}

// On a server: the file made by `make` in a scratch folder, copied over.
template<typename Make>
inline bool viaFile(const QString& url, Make make)
{
    QTemporaryDir scratch;
    const QString file = scratch.filePath(QStringLiteral("copy.adr"));
    if (!make(file))
        return false;
    const QString error = AddressServer::copy(file, url, nullptr);
    if (!error.isEmpty())
        qWarning("%s", qPrintable(error));
    return error.isEmpty();
}

// Runs `sql` on the store at `location` (statements both engines understand).
inline bool exec(const QString& location, const QByteArray& sql)
{
    if (!isServer(location))
        return execFile(location, sql);
    ServerAddress a;
    return ServerAddress::parse(location, &a, nullptr) && serverExec(a.database, QString::fromUtf8(sql));
}

// The starter database at `location`.
inline bool makeStarter(const QString& location)
{
    if (isServer(location))
        return viaFile(location, [](const QString& f) { return makeStarter(f); });
    return execFile(location, sqlSource("schema.sql") + sqlSource("data.sql"));
}

// The empty tables plus the sender and options rows, and one address per entry of
// `people` given as "Nachname|Vorname|Adresse|Ort|Gruppe|Postleitzahl" (missing parts empty).
inline bool makeWith(const QString& path, const QStringList& people)
{
    if (isServer(path))
        return viaFile(path, [&](const QString& f) { return makeWith(f, people); });
    QByteArray sql = sqlSource("schema.sql");
    sql += "INSERT INTO Briefkopf (BriefKName) VALUES ('Absender');"
           "INSERT INTO Optionen (Freizjn, Freiztxt, Freiytxt) VALUES ('0','17','90');BEGIN;";
    for (const QString& p : people) {
        QStringList f = p.split(QLatin1Char('|'));
        while (f.size() < 6)
            f << QString();
        for (QString& s : f)
            s = QLatin1Char('\'') + s.replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
        sql += QStringLiteral("INSERT INTO Addressen (Nachname, Vorname, Adresse, Ort, Gruppe, Postleitzahl) "
                              "VALUES (%1);")
                   .arg(f.join(QLatin1Char(',')))
                   .toUtf8();
    }
    sql += "COMMIT;";
    return execFile(path, sql);
}

// Another program's connection holding a lock on the file until release():
// "BEGIN EXCLUSIVE" keeps readers out, "BEGIN IMMEDIATE" only writers.
// On the server the same as table locks of another desk.
struct Lock {
    sqlite3* db = nullptr;
    QString server; // connection name on the server
    bool held = false;
    Lock(const QString& path, const char* begin)
    {
        if (isServer(path)) {
            ServerAddress a;
            ServerAddress::parse(path, &a, nullptr);
            server = QStringLiteral("lock_") + a.database;
            QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), server);
            d.setHostName(a.host);
            d.setPort(a.port);
            d.setUserName(a.user);
            d.setDatabaseName(a.database);
            QSqlQuery q(d);
            held = d.open() && q.exec(QStringLiteral("BEGIN")) &&
                   q.exec(QStringLiteral("LOCK TABLE addressen IN ") +
                          (qstrcmp(begin, "BEGIN EXCLUSIVE") == 0 ? QStringLiteral("ACCESS EXCLUSIVE")
                                                                  : QStringLiteral("SHARE ROW EXCLUSIVE")) +
                          QStringLiteral(" MODE"));
            return;
        }
        held = sqlite3_open(path.toUtf8().constData(), &db) == SQLITE_OK &&
               sqlite3_exec(db, begin, nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~Lock() { release(); }
    void release()
    {
        if (!server.isEmpty()) {
            {
                QSqlDatabase d = QSqlDatabase::database(server, false);
                QSqlQuery(d).exec(QStringLiteral("ROLLBACK"));
                d.close();
            }
            QSqlDatabase::removeDatabase(server);
            server.clear();
        }
        if (!db)
            return;
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        db = nullptr;
    }
};

// Each row of `rs` as its `columns` joined with "|".
inline QStringList rows(const RecordSource& rs, const QStringList& columns)
{
    QStringList out;
    for (int i = 0; i < rs.recordCount(); ++i) {
        QStringList f;
        for (const QString& c : columns)
            f << rs.fieldAt(i, c);
        out << f.join(QLatin1Char('|'));
    }
    return out;
}

} // namespace AddressFixture
