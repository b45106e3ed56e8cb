#include "SqlDialect.h"

namespace SqlDialect {

QString quotedName(const QString& name)
{
    QString n = name;
    n.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

QString keyAlias() { return QStringLiteral("qx_key"); }

} // namespace SqlDialect
