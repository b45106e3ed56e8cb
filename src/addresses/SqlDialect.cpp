#include "SqlDialect.h"

namespace SqlDialect {

QString quotedName(const QString& name)
{
    QString n = name;
    n.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

QString rowKey() { return QStringLiteral("rowid"); }
QString keyAlias() { return QStringLiteral("qx_key"); }

QByteArray beginWrite() { return "BEGIN IMMEDIATE"; }
QByteArray commit() { return "COMMIT"; }
QByteArray rollback() { return "ROLLBACK"; }

QByteArray dataVersion() { return "PRAGMA data_version"; }

QString distinctValues(const QString& table, const QString& column)
{
    const QString c = quotedName(column);
    return QStringLiteral("SELECT DISTINCT ") + c + QStringLiteral(" FROM ") + quotedName(table) +
           QStringLiteral(" WHERE ") + c + QStringLiteral(" IS NOT NULL AND trim(") + c +
           QStringLiteral(") <> '' ORDER BY ") + c + QStringLiteral(" COLLATE NOCASE");
}

} // namespace SqlDialect
