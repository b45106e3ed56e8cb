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
    QString error;
    m_db = AddressDatabase::open(databasePath, &error);
    if (!m_db.isOpen())
        return fail(error);
    return refresh();
}

void RecordSource::close()
{
    clearResult();
    AddressDatabase::close(m_db);
}

void RecordSource::clearResult()
{
    sqlite3_finalize(m_rowStatement);
    m_rowStatement = nullptr;
    m_rowCacheKey = -1;
    m_rowCache.clear();
    m_slot.clear();
    m_slots = 0;
    m_columns.clear();
    m_columnIndex.clear();
    m_keys.clear();
    m_cells.clear();
    m_arena.clear();
    m_hasKeys = false;
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
    const bool ok = run();
    setPos(recordCount() ? 0 : -1);
    return ok;
}

bool RecordSource::run()
{
    clearResult();
    m_error.clear();
    if (!m_db.isOpen())
        return fail(QStringLiteral("Die Adressen-Datenbank ist nicht geöffnet."));
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
    m_hasKeys = rc == SQLITE_OK;
    if (rc != SQLITE_OK) {
        kept.clear();
        rc = st.prepare(m_db.handle, plain);
    }
    if (rc != SQLITE_OK)
        return failEngine(rc);

    const int first = m_hasKeys ? 1 : 0;
    if (kept.isEmpty()) {
        const int n = sqlite3_column_count(st.st);
        for (int c = first; c < n; ++c) {
            const QString name = QString::fromUtf8(sqlite3_column_name(st.st, c));
            m_columnIndex.insert(name.toLower(), c - first);
            m_columns << name;
            m_slot.push_back(c - first);
        }
        m_slots = int(m_columns.size());
    } else {
        m_columns = tableColumns;
        for (int c = 0; c < m_columns.size(); ++c) {
            m_columnIndex.insert(m_columns[c].toLower(), c);
            m_slot.push_back(int(kept.indexOf(m_columns[c])));
        }
        m_slots = int(kept.size());
    }
    while ((rc = sqlite3_step(st.st)) == SQLITE_ROW)
        appendRow(st.st, first);
    if (rc != SQLITE_DONE) {
        const bool r = failEngine(rc);
        clearResult();
        return r;
    }
    return true;
}

void RecordSource::appendRow(sqlite3_stmt* st, int first)
{
    m_keys.push_back(first ? sqlite3_column_int64(st, 0) : 0);
    for (int c = 0; c < m_slots; ++c) {
        Cell cell;
        const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, c + first));
        if (t) {
            const int len = sqlite3_column_bytes(st, c + first);
            cell.offset = qint32(m_arena.size());
            cell.length = len;
            m_arena.append(t, len);
        }
        m_cells.push_back(cell);
    }
}

QString RecordSource::cellText(int row, int slot) const
{
    const Cell& c = m_cells[size_t(row) * size_t(m_slots) + size_t(slot)];
    if (c.length <= 0)
        return {};
    return QString::fromUtf8(m_arena.constData() + c.offset, c.length);
}

void RecordSource::setCell(int row, int slot, const QByteArray& utf8)
{
    Cell& c = m_cells[size_t(row) * size_t(m_slots) + size_t(slot)];
    c.offset = qint32(m_arena.size());
    c.length = qint32(utf8.size());
    m_arena.append(utf8);
}

const QStringList& RecordSource::rowByKey(int row) const
{
    const qint64 key = m_keys[size_t(row)];
    if (key == m_rowCacheKey)
        return m_rowCache;
    m_rowCache.clear();
    m_rowCacheKey = key;
    if (!m_rowStatement) {
        QStringList cols;
        for (const QString& c : m_columns)
            cols << quotedName(c);
        const QByteArray sql = (QStringLiteral("SELECT ") + cols.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") +
                                quotedName(tableName()) + QStringLiteral(" WHERE rowid = ?1"))
                                   .toUtf8();
        sqlite3_prepare_v2(m_db.handle, sql.constData(), int(sql.size()), &m_rowStatement, nullptr);
    }
    if (m_rowStatement) {
        sqlite3_bind_int64(m_rowStatement, 1, key);
        if (sqlite3_step(m_rowStatement) == SQLITE_ROW)
            for (int c = 0; c < m_columns.size(); ++c)
                m_rowCache << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(m_rowStatement, c)),
                                                sqlite3_column_bytes(m_rowStatement, c));
        sqlite3_reset(m_rowStatement);
    }
    while (m_rowCache.size() < m_columns.size())
        m_rowCache << QString();
    return m_rowCache;
}

void RecordSource::setPos(int pos)
{
    m_pos = pos;
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
    if (row < 0 || row >= recordCount() || column < 0 || column >= m_columns.size())
        return {};
    const int slot = m_slot[size_t(column)];
    return slot >= 0 ? cellText(row, slot) : rowByKey(row).at(column);
}

bool RecordSource::addNew()
{
    m_error.clear();
    const QString table = tableName();
    if (!m_db.isOpen() || table.isEmpty() || !m_hasKeys)
        return fail(QStringLiteral("In diese Liste können keine Adressen eingefügt werden."));
    Statement ins;
    int rc = ins.prepare(m_db.handle, QStringLiteral("INSERT INTO ") + quotedName(table) +
                                          QStringLiteral(" DEFAULT VALUES"));
    if (rc == SQLITE_OK)
        rc = sqlite3_step(ins.st);
    if (rc != SQLITE_DONE)
        return failEngine(rc);
    const qint64 key = sqlite3_last_insert_rowid(m_db.handle);

    // The new row's kept columns, read back so that defaults show.
    m_keys.push_back(key);
    m_cells.resize(m_cells.size() + size_t(m_slots));
    const int row = recordCount() - 1;
    const QStringList values = rowByKey(row);
    for (int c = 0; c < m_columns.size(); ++c)
        if (m_slot[size_t(c)] >= 0 && !values[c].isEmpty())
            setCell(row, m_slot[size_t(c)], values[c].toUtf8());
    setPos(recordCount() - 1);
    return true;
}

bool RecordSource::saveRow(const QHash<QString, QString>& values)
{
    m_error.clear();
    const int row = absolutePosition();
    const QString table = tableName();
    if (row < 0)
        return fail(QStringLiteral("Es ist kein aktueller Datensatz vorhanden."));
    if (!m_hasKeys || table.isEmpty())
        return fail(QStringLiteral("Diese Liste kann nicht gespeichert werden."));
    QStringList sets;
    QList<int> columns;
    QList<QByteArray> texts;
    for (auto it = values.constBegin(); it != values.constEnd(); ++it) {
        const auto c = m_columnIndex.constFind(it.key().toLower());
        if (c == m_columnIndex.constEnd())
            continue;
        sets << quotedName(m_columns[*c]) + QStringLiteral(" = ?") + QString::number(sets.size() + 1);
        columns << *c;
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
        sqlite3_bind_int64(up.st, int(texts.size()) + 1, m_keys[size_t(row)]);
        rc = sqlite3_step(up.st);
    }
    if (rc != SQLITE_DONE)
        return failEngine(rc);
    for (int i = 0; i < columns.size(); ++i)
        if (m_slot[size_t(columns[i])] >= 0)
            setCell(row, m_slot[size_t(columns[i])], texts[i]);
    forgetRowCache();
    return true;
}

bool RecordSource::deleteRow()
{
    m_error.clear();
    const int row = absolutePosition();
    const QString table = tableName();
    if (row < 0)
        return fail(QStringLiteral("Es ist kein aktueller Datensatz vorhanden."));
    if (!m_hasKeys || table.isEmpty())
        return fail(QStringLiteral("Aus dieser Liste kann nicht gelöscht werden."));
    Statement del;
    int rc = del.prepare(m_db.handle, QStringLiteral("DELETE FROM ") + quotedName(table) +
                                          QStringLiteral(" WHERE rowid = ?1"));
    if (rc == SQLITE_OK) {
        sqlite3_bind_int64(del.st, 1, m_keys[size_t(row)]);
        rc = sqlite3_step(del.st);
    }
    if (rc != SQLITE_DONE)
        return failEngine(rc);
    const size_t n = size_t(m_slots);
    forgetRowCache();
    m_keys.erase(m_keys.begin() + row);
    m_cells.erase(m_cells.begin() + qsizetype(size_t(row) * n), m_cells.begin() + qsizetype(size_t(row + 1) * n));
    setPos(std::min(row, recordCount() - 1));
    return true;
}

bool RecordSource::findFirst(const QString& criterion)
{
    m_error.clear();
    const QString table = tableName();
    if (!m_db.isOpen() || !m_hasKeys || table.isEmpty())
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
        if (keys.count(m_keys[size_t(i)])) {
            setPos(i);
            return true;
        }
    }
    return false;
}
