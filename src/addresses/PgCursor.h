#pragma once
// A statement on the address server, read to its end at once and handed out row by
// row as the store's cursor expects (SQLite's result codes and types).

#include "PgSql.h"
#include "StoreConnection.h"

#include <QStringList>

#include <sqlite3.h>

#include <vector>

class PgConnection;
class QSqlRecord;

class PgCursor : public StoreCursor {
public:
    PgCursor(PgConnection* c, PgSql::Translated t) : m_c(c), m_t(std::move(t)) {}

    // Reads the columns the statement yields without its rows.
    int describe();

    int columnCount() const override { return int(m_visible.size()); }
    QString columnName(int c) const override { return m_names.value(c); }
    void bindText(int i, const QByteArray& utf8) override { bind(i, PgSql::literal(QString::fromUtf8(utf8))); }
    void bindInt64(int i, qint64 v) override { bind(i, QString::number(v)); }
    void bindNull(int i) override { bind(i, QStringLiteral("NULL")); }

    int step() override;
    void reset() override;
    int type(int c) const override { return cell(c).type; }
    const char* text(int c) const override;
    int bytes(int c) const override { return int(cell(c).text.size()); }
    qint64 int64(int c) const override { return cell(c).text.toLongLong(); }
    double real(int c) const override { return cell(c).text.toDouble(); }

private:
    struct Cell {
        int type = SQLITE_NULL;
        QByteArray text;
    };
    using Row = std::vector<Cell>;

    void bind(int i, const QString& value);
    const Cell& cell(int c) const;
    QString withParams(const QString& sql) const;
    void takeColumns(const QSqlRecord& rec);
    int execute();
    // As SQLite orders values: nulls, numbers, texts in the German order.
    static int compare(const Cell& a, const Cell& b);

    PgConnection* m_c;
    PgSql::Translated m_t;
    std::vector<QString> m_params;
    QStringList m_names;
    std::vector<int> m_visible;
    std::vector<Row> m_rows;
    size_t m_next = 0;
    size_t m_row = 0;
    bool m_ran = false;
};
