// The members of RecordSource that change the file, and finding rows by key.
#include "RecordSource.h"

#include "SqlDialect.h"
#include "SqliteStatement.h"

#include <algorithm>
#include <unordered_set>

namespace {
using Statement = SqliteStatement;
using SqlDialect::quotedName;
} // namespace

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

int RecordSource::update(int row, const QString& table, const QHash<QString, QString>& values)
{
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
        return SQLITE_DONE;
    Statement up;
    int rc = up.prepare(m_db.handle, QStringLiteral("UPDATE ") + quotedName(table) + QStringLiteral(" SET ") +
                                         sets.join(QStringLiteral(", ")) + QStringLiteral(" WHERE ") +
                                         SqlDialect::rowKey() + QStringLiteral(" = ?") +
                                         QString::number(sets.size() + 1));
    if (rc == SQLITE_OK) {
        for (int i = 0; i < texts.size(); ++i)
            sqlite3_bind_text(up.st, i + 1, texts[i].constData(), int(texts[i].size()), SQLITE_STATIC);
        sqlite3_bind_int64(up.st, int(texts.size()) + 1, m_r.keys[size_t(row)]);
        rc = sqlite3_step(up.st);
    }
    if (rc != SQLITE_DONE)
        return rc;
    for (int i = 0; i < columns.size(); ++i)
        if (m_r.slot[size_t(columns[i])] >= 0)
            m_r.setCell(row, m_r.slot[size_t(columns[i])], texts[i]);
    forgetRowCache();
    return rc;
}

bool RecordSource::saveRow(const QHash<QString, QString>& values)
{
    int row;
    QString table;
    if (!changeableRow(row, table, QStringLiteral("Diese Liste kann nicht gespeichert werden.")))
        return false;
    const int rc = update(row, table, values);
    return rc == SQLITE_DONE || failEngine(rc);
}

bool RecordSource::beginBatch()
{
    m_error.clear();
    if (!m_db.isOpen())
        return fail(QStringLiteral("Die Adressdatenbank ist nicht geöffnet."));
    if (!exec(SqlDialect::beginWrite()))
        return failEngine(sqlite3_extended_errcode(m_db.handle));
    return true;
}

bool RecordSource::endBatch(bool keep)
{
    if (keep && exec(SqlDialect::commit()))
        return true;
    const int rc = sqlite3_extended_errcode(m_db.handle);
    exec(SqlDialect::rollback());
    // The kept result may hold rows that are gone again.
    refresh();
    return keep ? failEngine(rc) : true;
}

bool RecordSource::exec(const QByteArray& sql)
{
    return sqlite3_exec(m_db.handle, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

RecordSource::Write RecordSource::saveRowIf(const QHash<QString, QString>& values,
                                            const QHash<QString, QString>& expected)
{
    int row;
    QString table;
    if (!changeableRow(row, table, QStringLiteral("Diese Liste kann nicht gespeichert werden.")))
        return Write::Failed;
    if (!exec(SqlDialect::beginWrite())) {
        failEngine(sqlite3_extended_errcode(m_db.handle));
        return Write::Failed;
    }
    auto abandon = [this](Write w) {
        exec(SqlDialect::rollback());
        return w;
    };
    forgetRowCache();
    QStringList now;
    const int read = readByKey(m_r.keys[size_t(row)], &now);
    if (read == SQLITE_DONE) {
        m_error = QStringLiteral("Der Datensatz ist nicht mehr in der Adressen-Datenbank.");
        return abandon(Write::DeletedElsewhere);
    }
    if (read != SQLITE_ROW) {
        failEngine(read);
        return abandon(Write::Failed);
    }
    for (auto it = expected.constBegin(); it != expected.constEnd(); ++it) {
        const int c = columnIndex(it.key());
        if (c >= 0 && now.value(c) != it.value())
            return abandon(Write::ChangedElsewhere);
    }
    const int rc = update(row, table, values);
    if (rc != SQLITE_DONE || !exec(SqlDialect::commit())) {
        // Read before the rollback clears it.
        failEngine(rc != SQLITE_DONE ? rc : sqlite3_extended_errcode(m_db.handle));
        abandon(Write::Failed);
        reloadKept(row);
        return Write::Failed;
    }
    return Write::Done;
}

bool RecordSource::deleteRow()
{
    int row;
    QString table;
    if (!changeableRow(row, table, QStringLiteral("Aus dieser Liste kann nicht gelöscht werden.")))
        return false;
    Statement del;
    int rc = del.prepare(m_db.handle, QStringLiteral("DELETE FROM ") + quotedName(table) +
                                          QStringLiteral(" WHERE ") + SqlDialect::rowKey() + QStringLiteral(" = ?1"));
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
    int rc = st.prepare(m_db.handle, QStringLiteral("SELECT ") + SqlDialect::rowKey() + QStringLiteral(" FROM ") + quotedName(table) +
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

bool RecordSource::reloadRow()
{
    m_error.clear();
    const int row = absolutePosition();
    if (row < 0)
        return false;
    if (!reloadKept(row))
        return false;
    emit positionChanged(row);
    return true;
}

bool RecordSource::reloadKept(int row)
{
    if (!m_r.hasKeys)
        return true;
    forgetRowCache();
    QStringList values;
    const int rc = readByKey(m_r.keys[size_t(row)], &values);
    if (rc != SQLITE_ROW) {
        reportReadFailure(rc);
        return false;
    }
    for (int c = 0; c < m_r.columns.size() && c < values.size(); ++c)
        if (m_r.slot[size_t(c)] >= 0)
            m_r.setCell(row, m_r.slot[size_t(c)], values[c].toUtf8());
    m_rowCache = values;
    m_rowCacheKey = m_r.keys[size_t(row)];
    return true;
}

qint64 RecordSource::keyAt(int row) const
{
    return row >= 0 && row < recordCount() ? m_r.keys[size_t(row)] : 0;
}

int RecordSource::rowOfKey(qint64 key) const
{
    if (key == 0)
        return -1;
    const auto it = std::find(m_r.keys.begin(), m_r.keys.end(), key);
    return it == m_r.keys.end() ? -1 : int(it - m_r.keys.begin());
}

QStringList RecordSource::distinctValues(const QString& column) const
{
    QStringList values;
    const QString table = tableName();
    if (!m_db.isOpen() || table.isEmpty() || !AddressDatabase::checkTable(m_db.handle, table).isEmpty())
        return values;
    Statement st;
    if (st.prepare(m_db.handle, SqlDialect::distinctValues(table, column)) != SQLITE_OK)
        return values;
    while (sqlite3_step(st.st) == SQLITE_ROW)
        values << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st.st, 0)));
    return values;
}
