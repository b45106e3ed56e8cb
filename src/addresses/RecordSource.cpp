#include "RecordSource.h"

#include "NameIndex.h"
#include "Queries.h"
#include "SqlDialect.h"

#include <QRegularExpression>

#include <sqlite3.h>

#include <algorithm>
#include <unordered_set>

namespace {

using Cursor = std::unique_ptr<StoreCursor>;
using SqlDialect::quotedName;

bool isTableName(const QString& source)
{
    static const QRegularExpression word(QStringLiteral("^\\[?[\\w ]+\\]?$"));
    return !source.trimmed().startsWith(QLatin1String("select"), Qt::CaseInsensitive) &&
           word.match(source.trimmed()).hasMatch();
}

QString bareTable(const QString& name)
{
    QString n = name.trimmed();
    if (n.startsWith(QLatin1Char('[')) && n.endsWith(QLatin1Char(']')))
        n = n.mid(1, n.size() - 2);
    return n;
}

} // namespace

RecordSource::RecordSource(QObject* parent) : QObject(parent) {}

RecordSource::~RecordSource() { close(); }

bool RecordSource::open(const QString& databasePath, const QString& source)
{
    close();
    m_path = databasePath;
    m_source = source;
    if (refresh())
        return true;
    setPos(-1); // bound fields show no row of a file that did not open
    return false;
}

bool RecordSource::ensureOpen()
{
    if (m_db)
        return true;
    if (m_path.isEmpty())
        return fail(QStringLiteral("Die Adressen-Datenbank ist nicht geöffnet."));
    QString error;
    m_db = AddressDatabase::open(m_path, &error);
    if (!m_db)
        return fail(error);
    if (QObject* n = m_db->changeNotifier())
        connect(n, SIGNAL(notification(QString, QSqlDriver::NotificationSource, QVariant)), this,
                SIGNAL(changedOnServer()));
    return true;
}

void RecordSource::close()
{
    clearResult();
    m_index.reset();
    m_indexedTable.clear();
    m_db.reset();
}

void RecordSource::finalizeRowStatement()
{
    m_rowStatement.reset();
    m_rowCacheKey = -1;
    m_readFailKey = -1;
    m_rowCache.clear();
}

void RecordSource::clearResult()
{
    finalizeRowStatement();
    m_r = RecordResult();
    m_resultSource.clear();
    m_pos = -1;
}

bool RecordSource::fail(const QString& text)
{
    m_error = text;
    emit dataError(text);
    return false;
}

bool RecordSource::failEngine(int code)
{
    return fail(m_db ? m_db->errorText(code) : AddressDatabase::errorText(code, QString()));
}

QString RecordSource::tableName() const
{
    if (isTableName(m_source))
        return bareTable(m_source);
    static const QRegularExpression from(QStringLiteral("\\bfrom\\s+(\\[[^\\]]+\\]|\\w+)"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto m = from.match(m_source);
    return m.hasMatch() ? bareTable(m.captured(1)) : QString();
}

bool RecordSource::refresh()
{
    RecordResult r;
    if (!run(r)) {
        // The previous result stays, and with it the statement that made it.
        if (!m_resultSource.isEmpty())
            m_source = m_resultSource;
        return false;
    }
    adopt(std::move(r));
    return true;
}

bool RecordSource::refreshUnlessEmpty()
{
    RecordResult r;
    if (!run(r) || r.rowCount() == 0) {
        if (!m_resultSource.isEmpty())
            m_source = m_resultSource;
        return false;
    }
    adopt(std::move(r));
    return true;
}

void RecordSource::adopt(RecordResult&& result)
{
    finalizeRowStatement();
    m_r = std::move(result);
    m_pos = -1;
    m_resultSource = m_source;
    m_seenVersion = m_r.dataVersion;
    setPos(recordCount() ? 0 : -1);
}

qint64 RecordSource::dataVersion() const
{
    return m_db ? m_db->dataVersion() : -1;
}

bool RecordSource::changedElsewhere() const
{
    if (!m_db || m_seenVersion < 0)
        return false;
    const qint64 now = dataVersion();
    return now >= 0 && now != m_seenVersion;
}

bool RecordSource::run(RecordResult& r)
{
    m_error.clear();
    r = RecordResult();
    // Neither engine takes a statement with a NUL in it (pasted into a search field).
    if (m_source.contains(QChar(0)))
        return fail(QStringLiteral("Der Suchtext enthält ein Nullzeichen; damit kann nicht gesucht werden. Es wurde "
                                   "nichts verändert."));
    if (!ensureOpen())
        return false;
    // Taken before the read, so that a change committed meanwhile is not missed.
    r.dataVersion = dataVersion();
    const QString table = tableName();
    if (!AddressDatabase::requiredColumns(table).isEmpty()) {
        const QString missing = m_db->checkTable(table);
        if (!missing.isEmpty())
            return fail(missing);
    }

    // A statement the name index answers needs nothing from the engine once the table's
    // columns are known: on a server every statement prepared is a round trip.
    const Queries::Recognised known = Queries::recognise(m_source);
    if (known.kind != Queries::Recognised::None && m_index && !m_indexedTable.isEmpty() &&
        m_indexedTable == table) {
        r.hasKeys = true;
        return runIndexed(r, known, table, m_indexedColumns, m_indexedKept);
    }

    // The row key rides along as a first column so that rows can be written back.
    QString keyed;
    QString plain = m_source;
    QStringList tableColumns;
    if (!table.isEmpty()) {
        Cursor probe;
        if (m_db->prepare(QStringLiteral("SELECT * FROM ") + quotedName(table), probe) == SQLITE_OK)
            for (int c = 0; c < probe->columnCount(); ++c)
                tableColumns << probe->columnName(c);
    }
    // Columns kept for every row when the rest can be read by key.
    QStringList kept;
    const QString rowKey = table.isEmpty() ? QString() : m_db->rowKey(table);
    if (isTableName(m_source)) {
        plain = QStringLiteral("SELECT * FROM ") + quotedName(table);
        keyed = QStringLiteral("SELECT ") + rowKey + QStringLiteral(" AS ") + SqlDialect::keyAlias() +
                QStringLiteral(", * FROM ") + quotedName(table);
    } else {
        static const QRegularExpression star(QStringLiteral("^(\\s*select\\s+(?:all\\s+)?)\\*"),
                                             QRegularExpression::CaseInsensitiveOption);
        const auto m = star.match(m_source);
        if (m.hasMatch()) {
            for (const char* c : {"Nachname", "Vorname", "Postleitzahl"})
                for (const QString& t : std::as_const(tableColumns))
                    if (t.compare(QLatin1String(c), Qt::CaseInsensitive) == 0)
                        kept << t;
            // The German order also for files whose columns were declared without it
            // (the companion program's): ORDER BY a result column uses its collation.
            QStringList quoted;
            for (const QString& k : std::as_const(kept))
                quoted << quotedName(k) + QStringLiteral(" COLLATE NOCASE AS ") + quotedName(k);
            const QString what = kept.size() == 3 ? quoted.join(QStringLiteral(", ")) : QStringLiteral("*");
            if (kept.size() != 3)
                kept.clear();
            keyed = m.captured(1) + rowKey + QStringLiteral(" AS ") + SqlDialect::keyAlias() +
                    QStringLiteral(", ") + what + m_source.mid(m.capturedEnd());
        }
    }
    Cursor st;
    int rc = SQLITE_ERROR;
    if (!keyed.isEmpty())
        rc = m_db->prepare(keyed, st);
    r.hasKeys = rc == SQLITE_OK;
    if (rc != SQLITE_OK) {
        kept.clear();
        rc = m_db->prepare(plain, st);
    }
    if (rc != SQLITE_OK)
        return failEngine(rc);

    const int first = r.hasKeys ? 1 : 0;
    if (known.kind != Queries::Recognised::None && r.hasKeys && kept.size() == 3) {
        if (!runIndexed(r, known, table, tableColumns, kept))
            return false;
        m_indexedTable = table;
        m_indexedColumns = tableColumns;
        m_indexedKept = kept;
        return true;
    }
    if (kept.isEmpty()) {
        const int n = st->columnCount();
        for (int c = first; c < n; ++c)
            r.addColumn(st->columnName(c), c - first);
        r.width = int(r.columns.size());
    } else {
        for (const QString& c : std::as_const(tableColumns))
            r.addColumn(c, int(kept.indexOf(c)));
        r.width = int(kept.size());
    }
    while ((rc = st->step()) == SQLITE_ROW)
        r.appendRow(*st, first);
    r.seal();
    return rc == SQLITE_DONE || failEngine(rc);
}

bool RecordSource::runIndexed(RecordResult& r, const Queries::Recognised& known, const QString& table,
                              const QStringList& tableColumns, const QStringList& kept)
{
    if (!m_index)
        m_index = std::make_unique<NameIndex>();
    // On a server the index follows the rows changed since; else it is read again.
    if (!m_index->isCurrent(m_db.get(), r.dataVersion)) {
        if (m_index->catchUp(m_db.get(), kept, r.dataVersion) != SQLITE_DONE) {
            const int rc = m_index->build(m_db.get(), table, kept, r.dataVersion);
            if (rc != SQLITE_DONE) {
                m_index.reset();
                m_indexedTable.clear();
                return failEngine(rc);
            }
        }
    }
    for (const QString& c : tableColumns)
        r.addColumn(c, int(kept.indexOf(c)));
    r.width = 3;
    r.own.width = 3;
    // The result shares the index's rows and keeps only their numbers.
    r.store = m_index->rows();
    switch (known.kind) {
    case Queries::Recognised::NameOrder:
        r.rows = m_index->nameOrder();
        break;
    case Queries::Recognised::LastNameOrder:
        r.rows = m_index->lastNameOrder();
        break;
    case Queries::Recognised::TypeSearch:
        r.rows = m_index->typeSearch(known.word);
        break;
    case Queries::Recognised::None:
        break;
    }
    return true;
}

int RecordSource::readByKey(qint64 key, QStringList* values, qint64* version) const
{
    int rc = SQLITE_OK;
    const QString table = tableName();
    const QString versioned = m_db->versionColumn(table);
    if (!m_rowStatement) {
        QStringList cols;
        for (const QString& c : m_r.columns)
            cols << quotedName(c);
        if (!versioned.isEmpty())
            cols << versioned + QStringLiteral(" AS qx_seen");
        rc = m_db->prepare(QStringLiteral("SELECT ") + cols.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") +
                               quotedName(table) + QStringLiteral(" WHERE ") + m_db->rowKey(table) +
                               QStringLiteral(" = ?1"),
                           m_rowStatement);
    }
    if (rc != SQLITE_OK)
        return rc;
    m_rowStatement->bindInt64(1, key);
    rc = m_rowStatement->step();
    const int n = int(m_r.columns.size());
    if (rc == SQLITE_ROW)
        for (int c = 0; c < n; ++c)
            *values << QString::fromUtf8(m_rowStatement->text(c), m_rowStatement->bytes(c));
    if (version)
        *version = rc == SQLITE_ROW && !versioned.isEmpty() ? m_rowStatement->int64(n) : -1;
    m_rowStatement->reset();
    return rc;
}

qint64 RecordSource::rowVersion() const
{
    const int row = absolutePosition();
    if (row < 0 || m_r.allKept() || !loadRow(row))
        return -1;
    return m_rowCacheVersion;
}

bool RecordSource::loadRow(int row) const
{
    if (row < 0 || row >= recordCount() || m_r.allKept())
        return true;
    const qint64 key = m_r.key(row);
    if (key == m_rowCacheKey)
        return true;
    QStringList values;
    const int rc = readByKey(key, &values, &m_rowCacheVersion);
    if (rc != SQLITE_ROW) {
        // Reported once per row, not once per bound field that asks.
        if (key != m_readFailKey) {
            m_readFailKey = key;
            reportReadFailure(rc);
        }
        return false;
    }
    m_readFailKey = -1;
    m_rowCache = values;
    m_rowCacheKey = key;
    return true;
}

void RecordSource::reportReadFailure(int code) const
{
    // Reading changes nothing in the file; only the report leaves this const member.
    auto* self = const_cast<RecordSource*>(this);
    if (code == SQLITE_DONE)
        self->fail(QStringLiteral("Die Adresse ist nicht mehr in der Adressen-Datenbank; ein anderes Programm hat "
                                  "sie gelöscht. Zeigen Sie die Adressen neu an."));
    else
        self->fail(m_db ? m_db->readErrorText(code) : AddressDatabase::readErrorText(code, QString()));
}

const QStringList& RecordSource::rowByKey(int row) const
{
    static const QStringList none;
    return loadRow(row) ? m_rowCache : none;
}

void RecordSource::setPos(int pos)
{
    // A row that cannot be read does not become current: the bound fields would show
    // it blank, and saving them would write the blanks over the address.
    if (pos >= 0 && pos < recordCount() && !loadRow(pos)) {
        if (m_pos >= recordCount())
            m_pos = -1;
    } else {
        m_pos = pos;
    }
    emit positionChanged(absolutePosition());
}

void RecordSource::moveFirst() { setPos(recordCount() ? 0 : -1); }

void RecordSource::moveLast() { setPos(recordCount() ? recordCount() - 1 : -1); }

void RecordSource::moveNext()
{
    if (m_pos < recordCount())
        setPos(m_pos + 1);
}

void RecordSource::movePrevious()
{
    if (m_pos >= 0)
        setPos(m_pos - 1);
}

void RecordSource::setAbsolutePosition(int pos)
{
    if (pos >= 0 && pos < recordCount())
        setPos(pos);
}

QString RecordSource::field(const QString& column) const
{
    const int row = absolutePosition();
    return row < 0 ? QString() : fieldAt(row, column);
}

QString RecordSource::fieldAt(int row, const QString& column) const
{
    if (row < 0 || row >= recordCount())
        return {};
    return valueAt(row, columnIndex(column));
}

QString RecordSource::valueAt(int row, int column) const
{
    if (row < 0 || row >= recordCount() || column < 0 || column >= m_r.columns.size())
        return {};
    const int slot = m_r.slot[size_t(column)];
    if (slot >= 0)
        return m_r.cellText(row, slot);
    const QStringList& values = rowByKey(row);
    return column < values.size() ? values.at(column) : QString();
}

