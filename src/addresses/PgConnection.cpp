#include "PgConnection.h"
#include "PgCursor.h"

#include "AddressDatabase.h"
#include "AddressServer.h"
#include "JetSql.h"
#include "PgSql.h"
#include "SqlDialect.h"

#include <QAtomicInt>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QSqlRecord>

#include <sqlite3.h>

#include <algorithm>
#include <vector>

namespace {
QAtomicInt connectionCounter;

QString canonicalTable(const QString& name)
{
    for (const char* t : {"Addressen", "Briefkopf", "Optionen"})
        if (name.compare(QLatin1String(t), Qt::CaseInsensitive) == 0)
            return QLatin1String(t);
    return name;
}


} // namespace

std::unique_ptr<StoreConnection> PgConnection::open(const QString& url, QString* error)
{
    return openServer(url, error);
}

std::unique_ptr<PgConnection> PgConnection::openServer(const QString& url, QString* error)
{
    std::unique_ptr<PgConnection> c(new PgConnection);
    QString problem;
    if (!ServerAddress::parse(url, &c->m_address, &problem)) {
        if (error)
            *error = problem;
        return {};
    }
    c->m_url = c->m_address.url();
    c->m_name = QStringLiteral("qx_server_") + QString::number(connectionCounter.fetchAndAddOrdered(1));
    problem = c->connect();
    if (!problem.isEmpty()) {
        if (error)
            *error = problem;
        return {};
    }
    return c;
}

PgConnection::~PgConnection()
{
    if (m_name.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase PgConnection::database() const { return QSqlDatabase::database(m_name, false); }

QString PgConnection::connect()
{
    const ServerAddress& a = m_address;
    const QString where = a.display();
    QSqlDatabase db = QSqlDatabase::contains(m_name) ? QSqlDatabase::database(m_name, false)
                                                     : QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_name);
    if (!db.isValid())
        return QStringLiteral("Für die Adressen auf einem Datenbank-Server fehlt der PostgreSQL-Treiber von Qt "
                              "(Paket libqt6sql6-psql).");
    db.close();
    db.setHostName(a.host);
    db.setPort(a.port);
    db.setDatabaseName(a.database);
    db.setUserName(a.user);
    QStringList options{QStringLiteral("connect_timeout=5"), QStringLiteral("application_name=qx-text")};
    if (!a.sslmode.isEmpty())
        options << QStringLiteral("sslmode=") + a.sslmode;
    db.setConnectOptions(options.join(QLatin1Char(';')));
    m_passwordKey = a.user + QLatin1Char('@') + a.host + QLatin1Char(':') + QString::number(a.port) +
                    QLatin1Char('/') + a.database;
    db.setPassword(ServerPasswords::remembered(m_passwordKey));
    bool asked = false;
    while (!db.open()) {
        const QString text = db.lastError().databaseText();
        const bool wantsPassword = text.contains(QLatin1String("password"), Qt::CaseInsensitive);
        if (wantsPassword && !asked && ServerPasswords::asker()) {
            asked = true;
            const auto pw = ServerPasswords::asker()(
                QStringLiteral("Anmeldung am Datenbank-Server"),
                QStringLiteral("Kennwort für ") + (a.user.isEmpty() ? QStringLiteral("Ihren Benutzer") : a.user) +
                    QStringLiteral(" auf ") + where + QLatin1Char(':'));
            if (pw) {
                db.setPassword(*pw);
                continue;
            }
        }
        if (wantsPassword) {
            ServerPasswords::forget(m_passwordKey);
            return QStringLiteral("Die Anmeldung am Datenbank-Server wurde abgelehnt (") + where +
                   QStringLiteral("): Benutzer oder Kennwort stimmen nicht.");
        }
        if (text.contains(QLatin1String("does not exist")) && text.contains(QLatin1String("database")))
            return QStringLiteral("Auf dem Datenbank-Server gibt es die Datenbank „") + a.database +
                   QStringLiteral("“ nicht (") + where + QStringLiteral(").");
        return QStringLiteral("Der Datenbank-Server ist nicht erreichbar (") + where + QStringLiteral("): ") +
               text.trimmed();
    }
    if (asked)
        ServerPasswords::remember(m_passwordKey, db.password());
    m_lost = false;
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SET standard_conforming_strings = on")) ||
        !q.exec(QStringLiteral("SET lock_timeout = ") + QString::number(AddressDatabase::BusyTimeoutMs)) ||
        !q.exec(QStringLiteral("SET client_encoding = 'UTF8'")))
        return QStringLiteral("Der Datenbank-Server lehnt die Sitzung ab: ") + q.lastError().databaseText();
    // The folding of LIKE needs a Unicode-aware collation on the server.
    if (!q.exec(QStringLiteral("SELECT 1 FROM pg_collation WHERE collname = 'und-x-icu'")) || !q.next())
        return QStringLiteral("Der Datenbank-Server kennt die Unicode-Sortierung „und-x-icu“ nicht (PostgreSQL ohne "
                              "ICU). Die Adressen können dort nicht gesucht werden.");
    return {};
}

bool PgConnection::reconnectIfLost()
{
    if (!m_lost)
        return true;
    if (m_inTransaction)
        return false;
    if (!connect().isEmpty())
        return false;
    m_checked.clear();
    // The subscription ended with the old session.
    if (QSqlDriver* driver = database().driver())
        driver->subscribeToNotification(QStringLiteral("qx_adressen"));
    return true;
}

int PgConnection::codeOf(const QSqlError& e)
{
    const QString state = e.nativeErrorCode();
    m_message = e.databaseText().trimmed();
    m_missing.clear();
    if (state.startsWith(QLatin1String("08")) || state.startsWith(QLatin1String("57P")) ||
        (state.isEmpty() && e.type() != QSqlError::StatementError) || !database().isOpen()) {
        m_lost = true;
        return SQLITE_IOERR;
    }
    if (state == u"55P03" || state == u"40001" || state == u"40P01")
        return SQLITE_BUSY;
    if (state == u"42501" || state == u"25006")
        return SQLITE_READONLY;
    if (state == u"53100")
        return SQLITE_FULL;
    static const QRegularExpression name(QStringLiteral("\"([^\"]+)\""));
    const QString quoted = name.match(m_message).captured(1);
    if (state == u"42P01")
        m_missing = QStringLiteral("t:") + canonicalTable(quoted);
    else if (state == u"42703")
        m_missing = QStringLiteral("c:") + AddressDatabase::canonicalColumn(quoted.section(QLatin1Char('.'), -1));
    return SQLITE_ERROR;
}

int PgConnection::run(const QString& sql, QSqlQuery& query)
{
    m_refusal.clear();
    if (sql.isEmpty())
        return m_code = codeOf(query.lastError());
    if (!reconnectIfLost())
        return m_code = SQLITE_IOERR;
    if (query.exec(sql))
        return m_code = SQLITE_OK;
    m_code = codeOf(query.lastError());
    // A connection that was closed under us is opened again once, for a read.
    if (m_code == SQLITE_IOERR && !m_inTransaction && sql.startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive) &&
        reconnectIfLost()) {
        query = QSqlQuery(database());
        query.setForwardOnly(true);
        if (query.exec(sql))
            return m_code = SQLITE_OK;
        m_code = codeOf(query.lastError());
    }
    return m_code;
}

int PgConnection::refuse(const QString& text)
{
    m_refusal = text;
    return m_code = SQLITE_MISMATCH;
}

void PgConnection::countOwnWrite(qint64 rows)
{
    m_changes += rows;
    // The server moves its counter once per transaction.
    if (m_inTransaction)
        m_pendingBumps = 1;
    else
        ++m_ownBumps;
}

int PgConnection::prepare(const QString& sql, std::unique_ptr<StoreCursor>& cursor)
{
    cursor.reset();
    PgSql::Translated t = PgSql::translate(sql, [this](const QString& table) { return rowKey(table); });
    auto c = std::make_unique<PgCursor>(this, std::move(t));
    // A read is checked at once (missing tables and columns, a lost connection) unless
    // it waits for parameters; everything else runs at the first step.
    if (!sql.contains(QLatin1Char('?')) && sql.trimmed().startsWith(QLatin1String("select"), Qt::CaseInsensitive)) {
        const int rc = c->describe();
        if (rc != SQLITE_OK)
            return rc;
    }
    cursor = std::move(c);
    return SQLITE_OK;
}

bool PgConnection::exec(const QByteArray& sql)
{
    const QString text = QString::fromUtf8(sql).trimmed();
    const bool begin = text.startsWith(QLatin1String("BEGIN"), Qt::CaseInsensitive);
    const bool end = text == u"COMMIT" || text == u"ROLLBACK";
    if (begin && !reconnectIfLost()) {
        m_code = SQLITE_IOERR;
        return false;
    }
    QSqlQuery q(database());
    for (const QString& part : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        if (q.exec(part.trimmed()))
            continue;
        m_code = codeOf(q.lastError());
        if (begin && !m_lost)
            q.exec(QStringLiteral("ROLLBACK"));
        if (end || begin) {
            m_inTransaction = false;
            m_pendingBumps = 0;
        }
        return false;
    }
    if (begin) {
        m_inTransaction = true;
        m_pendingBumps = 0;
    } else if (end) {
        if (text == u"COMMIT")
            m_ownBumps += m_pendingBumps;
        m_pendingBumps = 0;
        m_inTransaction = false;
    }
    m_code = SQLITE_OK;
    return true;
}

qint64 PgConnection::dataVersion()
{
    if (!reconnectIfLost())
        return -1;
    QSqlQuery q(database());
    // A store set up before the log was kept has no qx_log: its desks read all again.
    if (!q.exec(QStringLiteral("SELECT changes, to_regclass('qx_log') IS NOT NULL FROM qx_state")) || !q.next()) {
        m_mark = -1;
        codeOf(q.lastError());
        return -1;
    }
    m_mark = q.value(0).toLongLong();
    m_logged = q.value(1).toBool();
    // This connection's own writes (also those of its open transaction, which it sees)
    // do not count as a change made elsewhere.
    return q.value(0).toLongLong() - m_ownBumps - (m_inTransaction ? m_pendingBumps : 0);
}

int PgConnection::changedRows(const QStringList& columns, qint64 mark, int most, std::unique_ptr<StoreCursor>& cursor)
{
    cursor.reset();
    if (!m_logged || mark < 0 || m_mark < 0 || mark < m_mark - AddressServer::logKept())
        return SQLITE_ERROR;
    PgSql::Translated t;
    t.kind = PgSql::Translated::Select;
    QStringList wanted;
    for (const QString& c : columns)
        wanted << QStringLiteral("a.") + SqlDialect::quotedName(PgSql::serverName(c));
    // Everything in one statement: the rows as they stand in the log's snapshot; after an
    // import the log is not read further than the caller wants to know.
    t.sql = QStringLiteral("SELECT l.nr, a.nr AS present, ") + wanted.join(QStringLiteral(", ")) +
            QStringLiteral(" FROM (SELECT DISTINCT nr FROM qx_log WHERE changes > ") + QString::number(mark) +
            QStringLiteral(" LIMIT ") + QString::number(most) +
            QStringLiteral(") AS l LEFT JOIN addressen AS a ON a.nr = l.nr");
    cursor = std::make_unique<PgCursor>(this, std::move(t));
    return SQLITE_OK;
}

QString PgConnection::checkTable(const QString& table)
{
    const QString key = table.toLower();
    if (m_checked.contains(key))
        return {};
    QSqlQuery q(database());
    const int rc = run(QStringLiteral("SELECT column_name FROM information_schema.columns WHERE table_schema = "
                                      "current_schema() AND table_name = ") +
                           PgSql::literal(PgSql::serverName(table)),
                       q);
    if (rc != SQLITE_OK)
        return errorText(rc);
    QStringList have;
    while (q.next())
        have << q.value(0).toString();
    const QString missing = AddressDatabase::missingColumnsText(canonicalTable(table), have);
    if (missing.isEmpty())
        m_checked.insert(key, QString());
    return missing;
}

QString PgConnection::rowKey(const QString& table) const
{
    return table.compare(QLatin1String("addressen"), Qt::CaseInsensitive) == 0 ? QStringLiteral("nr")
                                                                              : QStringLiteral("qx_row");
}

QByteArray PgConnection::beginWrite() const
{
    // One writer at a time, as on the file; readers are not held up.
    return "BEGIN; LOCK TABLE addressen, briefkopf, optionen IN SHARE ROW EXCLUSIVE MODE";
}

void PgConnection::keysWritten(const QString& table)
{
    const QString t = PgSql::serverName(table);
    const QString key = rowKey(t);
    QSqlQuery q(database());
    run(QStringLiteral("SELECT setval(pg_get_serial_sequence(%1, %2), GREATEST((SELECT max(%3) FROM %4), 1))")
            .arg(PgSql::literal(t), PgSql::literal(key), key, t),
        q);
}

QString PgConnection::distinctValues(const QString& table, const QString& column) const
{
    const QString c = SqlDialect::quotedName(column);
    return QStringLiteral("SELECT DISTINCT ") + c + QStringLiteral(" FROM ") + SqlDialect::quotedName(table) +
           QStringLiteral(" WHERE ") + c + QStringLiteral(" IS NOT NULL AND trim(") + c +
           QStringLiteral(") <> '' ORDER BY ") + c;
}

QObject* PgConnection::changeNotifier()
{
    QSqlDriver* driver = database().driver();
    if (!driver)
        return nullptr;
    if (!driver->subscribedToNotifications().contains(QStringLiteral("qx_adressen")))
        driver->subscribeToNotification(QStringLiteral("qx_adressen"));
    return driver;
}

QString PgConnection::errorText(int code) const
{
    if (code == SQLITE_MISMATCH && !m_refusal.isEmpty())
        return m_refusal;
    if (code == SQLITE_IOERR)
        return QStringLiteral("Die Verbindung zum Datenbank-Server ist unterbrochen (") + m_address.display() +
               QStringLiteral("). Ihre Eingaben sind nicht verloren: Versuchen Sie es gleich noch einmal, die "
                              "Verbindung wird dabei neu aufgebaut.");
    if (m_missing.startsWith(QLatin1String("t:")))
        return AddressDatabase::missingText(true, m_missing.mid(2));
    if (m_missing.startsWith(QLatin1String("c:")))
        return AddressDatabase::missingText(false, m_missing.mid(2));
    if (code == SQLITE_BUSY)
        return QStringLiteral("Die Adressen-Datenbank ist gerade von einem anderen Arbeitsplatz gesperrt. Ihre "
                              "Eingaben sind nicht verloren: Versuchen Sie es in einem Augenblick noch einmal.");
    if (code == SQLITE_READONLY)
        return QStringLiteral("Sie dürfen die Adressen auf dem Datenbank-Server nicht ändern. Die Änderung wurde "
                              "nicht gespeichert.");
    return AddressDatabase::errorText(code, m_message);
}

QString PgConnection::readErrorText(int code) const
{
    if (code == SQLITE_IOERR || code == SQLITE_MISMATCH || !m_missing.isEmpty())
        return errorText(code);
    if (code == SQLITE_BUSY)
        return QStringLiteral("Die Adressen-Datenbank ist gerade von einem anderen Arbeitsplatz gesperrt. Die "
                              "Adressen konnten nicht gelesen werden; es wurde nichts verändert.");
    return AddressDatabase::readErrorText(code, m_message);
}
