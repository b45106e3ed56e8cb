#include "AddressDatabase.h"

#include "JetSql.h"

#include <QAtomicInt>
#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <sqlite3.h>

namespace AddressDatabase {

namespace {
QAtomicInt connectionCounter;

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

Connection open(const QString& path, QString* error)
{
    auto fail = [&](const QString& text) {
        if (error)
            *error = text;
        return Connection{};
    };
    if (!QFileInfo(path).isFile())
        return fail(QStringLiteral("Die Datenbank-Datei ") + path + QStringLiteral(" wurde nicht gefunden."));

    Connection c;
    c.name = QStringLiteral("qx_addresses_") + QString::number(connectionCounter.fetchAndAddOrdered(1));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), c.name);
        db.setDatabaseName(path);
        QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=") + QString::number(BusyTimeoutMs);
        // A write-protected file stays protected, also for an administrator.
        if (!(QFileInfo(path).permissions() & QFile::WriteOwner))
            options += QStringLiteral(";QSQLITE_OPEN_READONLY");
        db.setConnectOptions(options);
        if (!db.open()) {
            const QString t = db.lastError().text();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(c.name);
            return fail(QStringLiteral("Die Datenbank-Datei ") + path +
                        QStringLiteral(" kann nicht geöffnet werden: ") + t);
        }
        c.handle = handleOf(db);
    }
    if (!c.handle || !JetSql::install(c.handle)) {
        close(c);
        return fail(QStringLiteral("Die Datenbank-Datei ") + path + QStringLiteral(" kann nicht geöffnet werden."));
    }
    // Room for sorting a whole address table in memory (SQLite's sorter spills to a
    // temporary file beyond the page cache) and reading through a memory map.
    sqlite3_exec(c.handle, "PRAGMA cache_size = -65536; PRAGMA temp_store = MEMORY; PRAGMA mmap_size = 268435456;",
                 nullptr, nullptr, nullptr);
    // A file that is not a database opens fine; the first read tells.
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(c.handle, "SELECT count(*) FROM sqlite_master", -1, &st, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(st);
    sqlite3_finalize(st);
    if (rc != SQLITE_ROW) {
        const QString engine = QString::fromUtf8(sqlite3_errmsg(c.handle));
        close(c);
        if (rc == SQLITE_NOTADB)
            return fail(QStringLiteral("Die Datei ") + path + QStringLiteral(" ist keine Adressen-Datenbank."));
        if ((rc & 0xFF) == SQLITE_CORRUPT)
            return fail(damagedText(path));
        return fail(readErrorText(rc, engine));
    }
    rc = checkedBefore(path) ? SQLITE_OK : quickCheck(c.handle);
    if (rc != SQLITE_OK) {
        const QString engine = QString::fromUtf8(sqlite3_errmsg(c.handle));
        close(c);
        return fail(rc == SQLITE_CORRUPT ? damagedText(path) : readErrorText(rc, engine));
    }
    rememberChecked(path);
    return c;
}

void close(Connection& c)
{
    if (c.name.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(c.name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(c.name);
    c = Connection{};
}

QStringList requiredColumns(const QString& table)
{
    const QString t = table.toLower();
    if (t == u"addressen")
        return {QStringLiteral("Nr"), QStringLiteral("Anrede"), QStringLiteral("Vorname"),
                QStringLiteral("Nachname"), QStringLiteral("Adresse"), QStringLiteral("Postleitzahl"),
                QStringLiteral("Ort"), QStringLiteral("LaenderKZ"), QStringLiteral("Land"),
                QStringLiteral("AnredezHd"), QStringLiteral("NamezHd"), QStringLiteral("MitgliedsNr"),
                QStringLiteral("Gruppe")};
    if (t == u"briefkopf")
        return {QStringLiteral("BriefKName"), QStringLiteral("BriefKStraße"), QStringLiteral("BriefKOrt"),
                QStringLiteral("BriefKTel"), QStringLiteral("Fax"), QStringLiteral("eMail"),
                QStringLiteral("Internet"), QStringLiteral("Postfach"), QStringLiteral("AbsFenster"),
                QStringLiteral("Schrift"), QStringLiteral("SchriftSize")};
    if (t == u"optionen")
        return {QStringLiteral("Freizjn"), QStringLiteral("Freiztxt"), QStringLiteral("Freiytxt")};
    return {};
}

QString checkTable(sqlite3* db, const QString& table)
{
    sqlite3_stmt* st = nullptr;
    const QByteArray sql = "SELECT name FROM pragma_table_info(?1)";
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) != SQLITE_OK)
        return errorText(sqlite3_errcode(db), QString::fromUtf8(sqlite3_errmsg(db)));
    const QByteArray name = table.toUtf8();
    sqlite3_bind_text(st, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
    QStringList have;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW)
        have << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))).toLower();
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE)
        return errorText(rc, QString::fromUtf8(sqlite3_errmsg(db)));
    if (have.isEmpty())
        return QStringLiteral("In der Adressen-Datenbank fehlt die Tabelle [") + table + QStringLiteral("].");
    QStringList missing;
    for (const QString& col : requiredColumns(table))
        if (!have.contains(col.toLower()))
            missing << col;
    if (missing.isEmpty())
        return {};
    return QStringLiteral("In der Tabelle [") + table + QStringLiteral("] der Adressen-Datenbank ") +
           (missing.size() == 1 ? QStringLiteral("fehlt die Spalte ") : QStringLiteral("fehlen die Spalten ")) +
           missing.join(QStringLiteral(", ")) + QStringLiteral(".");
}

QString errorText(int code, const QString& engineText)
{
    switch (code & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("Die Adressen-Datenbank ist gerade von einem anderen Programm gesperrt "
                              "(zum Beispiel von der Adresskartei). Ihre Eingaben sind nicht verloren: "
                              "Versuchen Sie es in einem Augenblick noch einmal.");
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN:
        return QStringLiteral("Die Adressen-Datenbank ist schreibgeschützt. Die Änderung wurde nicht "
                              "gespeichert.");
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return QStringLiteral("Die Datei ist keine gültige Adressen-Datenbank.");
    case SQLITE_FULL:
        return QStringLiteral("Der Datenträger der Adressen-Datenbank ist voll. Die Änderung wurde "
                              "nicht gespeichert.");
    default:
        return QStringLiteral("Fehler in der Adressen-Datenbank: ") + engineText;
    }
}

QString readErrorText(int code, const QString& engineText)
{
    switch (code & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("Die Adressen-Datenbank ist gerade von einem anderen Programm gesperrt "
                              "(zum Beispiel von der Adresskartei). Die Adressen konnten nicht gelesen werden; "
                              "es wurde nichts verändert. Versuchen Sie es in einem Augenblick noch einmal.");
    case SQLITE_CORRUPT:
        return QStringLiteral("Die Adressen-Datenbank ist beschädigt. Stellen Sie eine Sicherungskopie der "
                              "Datei wieder her.");
    default:
        return QStringLiteral("Die Adresse konnte nicht gelesen werden: ") + engineText;
    }
}

QString damagedText(const QString& path)
{
    return QStringLiteral("Die Adressen-Datenbank ") + path +
           QStringLiteral(" ist beschädigt und wird nicht verwendet. Stellen Sie bitte eine Sicherungskopie "
                          "der Datei wieder her.");
}

} // namespace AddressDatabase
