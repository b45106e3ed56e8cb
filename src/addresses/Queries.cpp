#include "Queries.h"

#include <QRegularExpression>

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

Recognised recognise(const QString& statement)
{
    if (statement == nameOrder())
        return {Recognised::NameOrder, {}};
    if (statement == lastNameOrder())
        return {Recognised::LastNameOrder, {}};
    // The word is taken between the first quotes; only a statement typeSearch() would
    // make from it again counts.
    static const QRegularExpression typed(QStringLiteral("^SELECT \\* FROM Addressen WHERE  Nachname LIKE '\\*((?:[^']|'')*)\\*' OR "));
    const auto m = typed.match(statement);
    if (!m.hasMatch())
        return {};
    QString word = m.captured(1);
    word.replace(QStringLiteral("''"), QStringLiteral("'"));
    if (typeSearch(word) != statement)
        return {};
    return {Recognised::TypeSearch, word};
}

QString addressTable() { return QStringLiteral("Addressen"); }
QString letterheadTable() { return QStringLiteral("Briefkopf"); }
QString optionsTable() { return QStringLiteral("Optionen"); }

} // namespace Queries
