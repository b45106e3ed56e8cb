#include "Queries.h"

namespace Queries {

QString spliced(const QString& input)
{
    QString s = input;
    s.replace(QLatin1Char('\''), QStringLiteral("''"));
    return s;
}

QString nameOrder()
{
    return QStringLiteral("select * from [Addressen] Order by [Nachname], [Vorname]");
}

QString lastNameOrder()
{
    return QStringLiteral("select * from [Addressen] Order by [Nachname]");
}

QString search(const QString& word)
{
    const QString w = spliced(word);
    return QStringLiteral("SELECT * FROM Addressen WHERE Nachname Like '*") + w +
           QStringLiteral("*' OR Vorname LIKE '*") + w + QStringLiteral("*' OR Adresse LIKE '*") + w +
           QStringLiteral("*' OR Ort LIKE '*") + w + QStringLiteral("*'  Order by Nachname");
}

QString typeSearch(const QString& word)
{
    const QString w = spliced(word);
    return QStringLiteral("SELECT * FROM Addressen WHERE  Nachname LIKE '*") + w +
           QStringLiteral("*' OR Vorname LIKE '*") + w + QStringLiteral("*'Order by Nachname");
}

QString group(const QString& group)
{
    return QStringLiteral("SELECT * FROM Addressen ") + QStringLiteral("WHERE Gruppe Like ") +
           QStringLiteral("'") + spliced(group) + QStringLiteral("*'") +
           QStringLiteral("Order by [Nachname], [Vorname]");
}

QString postcodeOrder() { return QStringLiteral("SELECT ALL * FROM Addressen ORDER BY Postleitzahl"); }

QString recordNumber(qint64 n)
{
    return QStringLiteral("[Nr] LIKE '") + QString::number(n) + QStringLiteral("'");
}

QString addressTable() { return QStringLiteral("Addressen"); }
QString letterheadTable() { return QStringLiteral("Briefkopf"); }
QString optionsTable() { return QStringLiteral("Optionen"); }

} // namespace Queries
