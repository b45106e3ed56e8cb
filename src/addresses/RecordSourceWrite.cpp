// The members of RecordSource that change the file, and finding rows by key.
#include "RecordSource.h"

#include "SqlDialect.h"
#include <sqlite3.h>

#include <algorithm>
#include <unordered_set>

namespace {
using Cursor = std::unique_ptr<StoreCursor>;
using SqlDialect::quotedName;
} // namespace

bool RecordSource::addNew() { return addRow({}); }

bool RecordSource::addRow(const QHash<QString, QString>& values)
{
    m_error.clear();
    const QString table = tableName();
    if (!m_db || table.isEmpty() || !m_r.hasKeys)
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
    Cursor ins;
    int rc = m_db->prepare(QStringLiteral("INSERT INTO ") + quotedName(table) + what, ins);
    if (rc == SQLITE_OK) {
        for (int i = 0; i < texts.size(); ++i)
            ins->bindText(i + 1, texts[i]);
        rc = ins->step();
    }
    if (rc != SQLITE_DONE)
        return fail(QStringLiteral("Die neue Adresse wurde nicht angelegt. ") + m_db->errorText(rc));
    const qint64 key = m_db->lastInsertKey();

    // The new row's kept columns, read back so that defaults show; what was written
    // when even that read is refused.
    m_r.appendEmptyRow(key);
    const int row = recordCount() - 1;
    QStringList stored;
    if (readByKey(key, &stored, &m_rowCacheVersion) == SQLITE_ROW) {
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
    Cursor up;
    int rc = m_db->prepare(QStringLiteral("UPDATE ") + quotedName(table) + QStringLiteral(" SET ") +
                               sets.join(QStringLiteral(", ")) + QStringLiteral(" WHERE ") + m_db->rowKey(table) +
                               QStringLiteral(" = ?") + QString::number(sets.size() + 1),
                           up);
    if (rc == SQLITE_OK) {
        for (int i = 0; i < texts.size(); ++i)
            up->bindText(i + 1, texts[i]);
        up->bindInt64(int(texts.size()) + 1, m_r.key(row));
        rc = up->step();
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
    if (!m_db)
        return fail(QStringLiteral("Die Adressdatenbank ist nicht geöffnet."));
    if (!exec(m_db->beginWrite()))
        return failEngine(m_db->lastCode());
    return true;
}

bool RecordSource::endBatch(bool keep)
{
    if (!m_db)
        return !keep;
    if (keep && exec(m_db->commit()))
        return true;
    const int rc = m_db->lastCode();
    exec(m_db->rollback());
    // The kept result may hold rows that are gone again.
    refresh();
    return keep ? failEngine(rc) : true;
}

bool RecordSource::exec(const QByteArray& sql)
{
    return m_db && m_db->exec(sql);
}

RecordSource::Write RecordSource::saveRowIf(const QHash<QString, QString>& values,
                                            const QHash<QString, QString>& expected, qint64 expectedVersion)
{
    int row;
    QString table;
    if (!changeableRow(row, table, QStringLiteral("Diese Liste kann nicht gespeichert werden.")))
        return Write::Failed;
    if (!exec(m_db->beginWrite())) {
        failEngine(m_db->lastCode());
        return Write::Failed;
    }
    auto abandon = [this](Write w) {
        exec(m_db->rollback());
        return w;
    };
    forgetRowCache();
    QStringList now;
    qint64 version = -1;
    const int read = readByKey(m_r.key(row), &now, &version);
    if (read == SQLITE_DONE) {
        m_error = QStringLiteral("Der Datensatz ist nicht mehr in der Adressen-Datenbank.");
        return abandon(Write::DeletedElsewhere);
    }
    if (read != SQLITE_ROW) {
        failEngine(read);
        return abandon(Write::Failed);
    }
    if (expectedVersion >= 0 && version != expectedVersion)
        return abandon(Write::ChangedElsewhere);
    for (auto it = expected.constBegin(); it != expected.constEnd(); ++it) {
        const int c = columnIndex(it.key());
        if (c >= 0 && now.value(c) != it.value())
            return abandon(Write::ChangedElsewhere);
    }
    int rc = update(row, table, values);
    // The version the save made, read under the same lock: the next save checks it.
    if (rc == SQLITE_DONE && version >= 0)
        rc = reloadKept(row) ? SQLITE_DONE : m_db->lastCode();
    if (rc != SQLITE_DONE || !exec(m_db->commit())) {
        // Read before the rollback clears it.
        failEngine(rc != SQLITE_DONE ? rc : m_db->lastCode());
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
    Cursor del;
    int rc = m_db->prepare(QStringLiteral("DELETE FROM ") + quotedName(table) + QStringLiteral(" WHERE ") +
                               m_db->rowKey(table) + QStringLiteral(" = ?1"),
                           del);
    if (rc == SQLITE_OK) {
        del->bindInt64(1, m_r.key(row));
        rc = del->step();
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
    if (!m_db || !m_r.hasKeys || table.isEmpty())
        return false;
    Cursor st;
    int rc = m_db->prepare(QStringLiteral("SELECT ") + m_db->rowKey(table) + QStringLiteral(" FROM ") +
                               quotedName(table) + QStringLiteral(" WHERE ") + criterion,
                           st);
    if (rc != SQLITE_OK)
        return failEngine(rc);
    std::unordered_set<qint64> keys;
    while ((rc = st->step()) == SQLITE_ROW)
        keys.insert(st->int64(0));
    if (rc != SQLITE_DONE)
        return failEngine(rc);
    for (int i = 0; i < recordCount(); ++i) {
        if (keys.count(m_r.key(i))) {
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
    qint64 version = -1;
    const int rc = readByKey(m_r.key(row), &values, &version);
    if (rc != SQLITE_ROW) {
        reportReadFailure(rc);
        return false;
    }
    for (int c = 0; c < m_r.columns.size() && c < values.size(); ++c)
        if (m_r.slot[size_t(c)] >= 0)
            m_r.setCell(row, m_r.slot[size_t(c)], values[c].toUtf8());
    m_rowCache = values;
    m_rowCacheKey = m_r.key(row);
    m_rowCacheVersion = version;
    return true;
}

qint64 RecordSource::keyAt(int row) const
{
    return row >= 0 && row < recordCount() ? m_r.key(row) : 0;
}

int RecordSource::rowOfKey(qint64 key) const
{
    if (key == 0)
        return -1;
    for (int row = 0; row < recordCount(); ++row)
        if (m_r.key(row) == key)
            return row;
    return -1;
}

QStringList RecordSource::distinctValues(const QString& column) const
{
    QStringList values;
    const QString table = tableName();
    if (!m_db || table.isEmpty() || !m_db->checkTable(table).isEmpty())
        return values;
    Cursor st;
    if (m_db->prepare(m_db->distinctValues(table, column), st) != SQLITE_OK)
        return values;
    while (st->step() == SQLITE_ROW)
        values << QString::fromUtf8(st->text(0), st->bytes(0));
    return values;
}
