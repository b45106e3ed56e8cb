#include "RecordSource.h"

#include <QRegularExpression>

#include <sqlite3.h>

#include <algorithm>
#include <unordered_set>

namespace {

// A statement that sqlite3_finalize()s itself.
struct Statement {
    sqlite3_stmt* st = nullptr;
    ~Statement() { sqlite3_finalize(st); }
    int prepare(sqlite3* db, const QString& sql)
    {
        sqlite3_finalize(st);
        st = nullptr;
        const QByteArray u = sql.toUtf8();
        return sqlite3_prepare_v2(db, u.constData(), int(u.size()), &st, nullptr);
    }
};

QString quotedName(const QString& name)
{
    QString n = name;
    n.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

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

const char* const KeyColumn = "qx_key";

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
    if (m_db.isOpen())
        return true;
    if (m_path.isEmpty())
        return fail(QStringLiteral("Die Adressen-Datenbank ist nicht geöffnet."));
    QString error;
    m_db = AddressDatabase::open(m_path, &error);
    return m_db.isOpen() || fail(error);
}

void RecordSource::close()
{
    clearResult();
    AddressDatabase::close(m_db);
}

void RecordSource::finalizeRowStatement()
{
    sqlite3_finalize(m_rowStatement);
    m_rowStatement = nullptr;
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
    QString engine = m_db.handle ? QString::fromUtf8(sqlite3_errmsg(m_db.handle)) : QString();
    static const QRegularExpression missing(QStringLiteral("^no such (table|column): (.+)$"));
    const auto m = missing.match(engine);
    if (m.hasMatch())
        return fail((m.captured(1) == u"table" ? QStringLiteral("In der Adressen-Datenbank fehlt die Tabelle [")
                                                : QStringLiteral("In der Adressen-Datenbank fehlt die Spalte [")) +
                    m.captured(2) + QStringLiteral("]."));
    return fail(AddressDatabase::errorText(code, engine));
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
    if (!run()) {
        // The previous result stays, and with it the statement that made it.
        if (!m_resultSource.isEmpty())
            m_source = m_resultSource;
        return false;
    }
    m_resultSource = m_source;
    setPos(recordCount() ? 0 : -1);
    return true;
}

bool RecordSource::run()
{
    m_error.clear();
    if (!ensureOpen())
        return false;
    const QString table = tableName();
    if (!AddressDatabase::requiredColumns(table).isEmpty()) {
        const QString missing = AddressDatabase::checkTable(m_db.handle, table);
        if (!missing.isEmpty())
            return fail(missing);
    }

    // The row key rides along as a first column so that rows can be written back.
    QString keyed;
    QString plain = m_source;
    QStringList tableColumns;
    if (!table.isEmpty()) {
        Statement probe;
        if (probe.prepare(m_db.handle, QStringLiteral("SELECT * FROM ") + quotedName(table)) == SQLITE_OK)
            for (int c = 0; c < sqlite3_column_count(probe.st); ++c)
                tableColumns << QString::fromUtf8(sqlite3_column_name(probe.st, c));
    }
    // Columns kept for every row when the rest can be read by key.
    QStringList kept;
    if (isTableName(m_source)) {
        plain = QStringLiteral("SELECT * FROM ") + quotedName(table);
        keyed = QStringLiteral("SELECT rowid AS ") + QLatin1String(KeyColumn) + QStringLiteral(", * FROM ") +
                quotedName(table);
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
            keyed = m.captured(1) + QStringLiteral("rowid AS ") + QLatin1String(KeyColumn) + QStringLiteral(", ") +
                    what + m_source.mid(m.capturedEnd());
        }
    }
    Statement st;
    int rc = SQLITE_ERROR;
    if (!keyed.isEmpty())
        rc = st.prepare(m_db.handle, keyed);
    RecordResult r;
    r.hasKeys = rc == SQLITE_OK;
    if (rc != SQLITE_OK) {
        kept.clear();
        rc = st.prepare(m_db.handle, plain);
    }
    if (rc != SQLITE_OK)
        return failEngine(rc);

    const int first = r.hasKeys ? 1 : 0;
    if (kept.isEmpty()) {
        const int n = sqlite3_column_count(st.st);
        for (int c = first; c < n; ++c)
            r.addColumn(QString::fromUtf8(sqlite3_column_name(st.st, c)), c - first);
        r.width = int(r.columns.size());
    } else {
        for (const QString& c : std::as_const(tableColumns))
            r.addColumn(c, int(kept.indexOf(c)));
        r.width = int(kept.size());
    }
    while ((rc = sqlite3_step(st.st)) == SQLITE_ROW)
        r.appendRow(st.st, first);
    if (rc != SQLITE_DONE)
        return failEngine(rc);
    finalizeRowStatement();
    m_r = std::move(r);
    m_pos = -1;
    return true;
}

int RecordSource::readByKey(qint64 key, QStringList* values) const
{
    int rc = SQLITE_OK;
    if (!m_rowStatement) {
        QStringList cols;
        for (const QString& c : m_r.columns)
            cols << quotedName(c);
        const QByteArray sql = (QStringLiteral("SELECT ") + cols.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") +
                                quotedName(tableName()) + QStringLiteral(" WHERE rowid = ?1"))
                                   .toUtf8();
        rc = sqlite3_prepare_v2(m_db.handle, sql.constData(), int(sql.size()), &m_rowStatement, nullptr);
    }
    if (rc != SQLITE_OK)
        return rc;
    sqlite3_bind_int64(m_rowStatement, 1, key);
    rc = sqlite3_step(m_rowStatement);
    if (rc == SQLITE_ROW)
        for (int c = 0; c < m_r.columns.size(); ++c)
            *values << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(m_rowStatement, c)),
                                         sqlite3_column_bytes(m_rowStatement, c));
    sqlite3_reset(m_rowStatement);
    return rc;
}

bool RecordSource::loadRow(int row) const
{
    if (row < 0 || row >= recordCount() || m_r.allKept())
        return true;
    const qint64 key = m_r.keys[size_t(row)];
    if (key == m_rowCacheKey)
        return true;
    QStringList values;
    const int rc = readByKey(key, &values);
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
        self->fail(AddressDatabase::readErrorText(code, QString::fromUtf8(sqlite3_errmsg(m_db.handle))));
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

bool RecordSource::addNew() { return addRow({}); }

bool RecordSource::addRow(const QHash<QString, QString>& values)
{
    m_error.clear();
    const QString table = tableName();
    if (!m_db.isOpen() || table.isEmpty() || !m_r.hasKeys)
        return fail(QStringLiteral("In diese Liste können keine Adressen eingefügt werden."));
    QStringList names, marks;
    QList<QByteArray> texts;
    for (auto it = values.constBegin(); it != values.constEnd(); ++it) {
        const int c = columnIndex(it.key());
        if (c < 0)
            continue;
        names << quotedName(m_r.columns[c]);
        marks << QLatin1Char('?') + QString::number(marks.size() + 1);
        texts << it.value().toUtf8();
    }
    const QString what = names.isEmpty() ? QStringLiteral(" DEFAULT VALUES")
                                         : QStringLiteral(" (") + names.join(QStringLiteral(", ")) +
                                               QStringLiteral(") VALUES (") + marks.join(QStringLiteral(", ")) +
                                               QLatin1Char(')');
    // One statement, so the row is there with its values or not at all.
    Statement ins;
    int rc = ins.prepare(m_db.handle, QStringLiteral("INSERT INTO ") + quotedName(table) + what);
    if (rc == SQLITE_OK) {
        for (int i = 0; i < texts.size(); ++i)
            sqlite3_bind_text(ins.st, i + 1, texts[i].constData(), int(texts[i].size()), SQLITE_STATIC);
        rc = sqlite3_step(ins.st);
    }
    if (rc != SQLITE_DONE)
        return fail(QStringLiteral("Die neue Adresse wurde nicht angelegt. ") +
                    AddressDatabase::errorText(rc, QString::fromUtf8(sqlite3_errmsg(m_db.handle))));
    const qint64 key = sqlite3_last_insert_rowid(m_db.handle);

    // The new row's kept columns, read back so that defaults show; what was written
    // when even that read is refused.
    m_r.appendEmptyRow(key);
    const int row = recordCount() - 1;
    QStringList stored;
    if (readByKey(key, &stored) == SQLITE_ROW) {
        m_rowCache = stored;
        m_rowCacheKey = key;
    } else {
        stored = QStringList(m_r.columns.size(), QString());
        for (auto it = values.constBegin(); it != values.constEnd(); ++it)
            if (const int c = columnIndex(it.key()); c >= 0)
                stored[c] = it.value();
    }
    for (int c = 0; c < m_r.columns.size(); ++c)
        if (m_r.slot[size_t(c)] >= 0 && !stored[c].isEmpty())
            m_r.setCell(row, m_r.slot[size_t(c)], stored[c].toUtf8());
    setPos(row);
    return true;
}

bool RecordSource::changeableRow(int& row, QString& table, const QString& refusal)
{
    m_error.clear();
    row = absolutePosition();
    table = tableName();
    if (row < 0)
        return fail(QStringLiteral("Es ist kein aktueller Datensatz vorhanden."));
    if (!m_r.hasKeys || table.isEmpty())
        return fail(refusal);
    return true;
}

bool RecordSource::saveRow(const QHash<QString, QString>& values)
{
    int row;
    QString table;
    if (!changeableRow(row, table, QStringLiteral("Diese Liste kann nicht gespeichert werden.")))
        return false;
    QStringList sets;
    QList<int> columns;
    QList<QByteArray> texts;
    for (auto it = values.constBegin(); it != values.constEnd(); ++it) {
        const int c = columnIndex(it.key());
        if (c < 0)
            continue;
        sets << quotedName(m_r.columns[c]) + QStringLiteral(" = ?") + QString::number(sets.size() + 1);
        columns << c;
        texts << it.value().toUtf8();
    }
    if (sets.isEmpty())
        return true;
    Statement up;
    int rc = up.prepare(m_db.handle, QStringLiteral("UPDATE ") + quotedName(table) + QStringLiteral(" SET ") +
                                         sets.join(QStringLiteral(", ")) + QStringLiteral(" WHERE rowid = ?") +
                                         QString::number(sets.size() + 1));
    if (rc == SQLITE_OK) {
        for (int i = 0; i < texts.size(); ++i)
            sqlite3_bind_text(up.st, i + 1, texts[i].constData(), int(texts[i].size()), SQLITE_STATIC);
        sqlite3_bind_int64(up.st, int(texts.size()) + 1, m_r.keys[size_t(row)]);
        rc = sqlite3_step(up.st);
    }
    if (rc != SQLITE_DONE)
        return failEngine(rc);
    for (int i = 0; i < columns.size(); ++i)
        if (m_r.slot[size_t(columns[i])] >= 0)
            m_r.setCell(row, m_r.slot[size_t(columns[i])], texts[i]);
    forgetRowCache();
    return true;
}

bool RecordSource::deleteRow()
{
    int row;
    QString table;
    if (!changeableRow(row, table, QStringLiteral("Aus dieser Liste kann nicht gelöscht werden.")))
        return false;
    Statement del;
    int rc = del.prepare(m_db.handle, QStringLiteral("DELETE FROM ") + quotedName(table) +
                                          QStringLiteral(" WHERE rowid = ?1"));
    if (rc == SQLITE_OK) {
        sqlite3_bind_int64(del.st, 1, m_r.keys[size_t(row)]);
        rc = sqlite3_step(del.st);
    }
    if (rc != SQLITE_DONE)
        return failEngine(rc);
    forgetRowCache();
    m_r.eraseRow(row);
    m_pos = -1; // the row that was current is gone
    setPos(std::min(row, recordCount() - 1));
    return true;
}

bool RecordSource::findFirst(const QString& criterion)
{
    m_error.clear();
    const QString table = tableName();
    if (!m_db.isOpen() || !m_r.hasKeys || table.isEmpty())
        return false;
    Statement st;
    int rc = st.prepare(m_db.handle, QStringLiteral("SELECT rowid FROM ") + quotedName(table) +
                                         QStringLiteral(" WHERE ") + criterion);
    if (rc != SQLITE_OK)
        return failEngine(rc);
    std::unordered_set<qint64> keys;
    while ((rc = sqlite3_step(st.st)) == SQLITE_ROW)
        keys.insert(sqlite3_column_int64(st.st, 0));
    if (rc != SQLITE_DONE)
        return failEngine(rc);
    for (int i = 0; i < recordCount(); ++i) {
        if (keys.count(m_r.keys[size_t(i)])) {
            setPos(i);
            return absolutePosition() == i;
        }
    }
    return false;
}
