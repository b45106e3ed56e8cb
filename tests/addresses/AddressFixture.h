#pragma once
// Test databases made from the starter database's SQL sources.

#include <QFile>
#include <QString>
#include <QStringList>

#include <sqlite3.h>

namespace AddressFixture {

inline QByteArray sqlSource(const char* name)
{
    QFile f(QStringLiteral(QX_SOURCE_DIR "/resources/db/") + QLatin1String(name));
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

inline bool exec(const QString& path, const QByteArray& sql)
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

// The starter database at `path`.
inline bool makeStarter(const QString& path)
{
    return exec(path, sqlSource("schema.sql") + sqlSource("data.sql"));
}

// The empty tables plus the sender and options rows, and one address per entry of
// `people` given as "Nachname|Vorname|Adresse|Ort|Gruppe|Postleitzahl" (missing parts empty).
inline bool makeWith(const QString& path, const QStringList& people)
{
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
    return exec(path, sql);
}

// Another program's connection holding a lock on the file until release():
// "BEGIN EXCLUSIVE" keeps readers out, "BEGIN IMMEDIATE" only writers.
struct Lock {
    sqlite3* db = nullptr;
    bool held = false;
    Lock(const QString& path, const char* begin)
    {
        held = sqlite3_open(path.toUtf8().constData(), &db) == SQLITE_OK &&
               sqlite3_exec(db, begin, nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~Lock() { release(); }
    void release()
    {
        if (!db)
            return;
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        db = nullptr;
    }
};

} // namespace AddressFixture
