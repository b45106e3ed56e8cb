#include "AddressDatabase.h"

#include "PgConnection.h"
#include "ServerAddress.h"
#include "SqliteConnection.h"

#include <QDir>

#include <sqlite3.h>

namespace AddressDatabase {

bool isServerAddress(const QString& location)
{
    return location.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
           location.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

QString displayName(const QString& location)
{
    ServerAddress a;
    if (isServerAddress(location) && ServerAddress::parse(location, &a, nullptr))
        return a.display();
    return QDir::toNativeSeparators(location);
}

std::unique_ptr<StoreConnection> open(const QString& location, QString* error)
{
    if (isServerAddress(location))
        return PgConnection::open(location, error);
    return SqliteConnection::open(location, error);
}

QStringList requiredColumns(const QString& table)
{
    const QString t = table.toLower();
    if (t == u"addressen")
        return {QStringLiteral("Nr"), QStringLiteral("Anrede"), QStringLiteral("Vorname"),
                QStringLiteral("Nachname"), QStringLiteral("Adresse"), QStringLiteral("Postleitzahl"),
                QStringLiteral("Ort"), QStringLiteral("LaenderKZ"), QStringLiteral("Land"),
                QStringLiteral("AnredezHd"), QStringLiteral("NamezHd"), QStringLiteral("MitgliedsNr"),
                QStringLiteral("Gruppe")};
    if (t == u"briefkopf")
        return {QStringLiteral("BriefKName"), QStringLiteral("BriefKStraße"), QStringLiteral("BriefKOrt"),
                QStringLiteral("BriefKTel"), QStringLiteral("Fax"), QStringLiteral("eMail"),
                QStringLiteral("Internet"), QStringLiteral("Postfach"), QStringLiteral("AbsFenster"),
                QStringLiteral("Schrift"), QStringLiteral("SchriftSize")};
    if (t == u"optionen")
        return {QStringLiteral("Freizjn"), QStringLiteral("Freiztxt"), QStringLiteral("Freiytxt")};
    return {};
}

QString canonicalColumn(const QString& column)
{
    for (const char* table : {"Addressen", "Briefkopf", "Optionen"})
        for (const QString& c : requiredColumns(QLatin1String(table)))
            if (c.compare(column, Qt::CaseInsensitive) == 0)
                return c;
    return column;
}

QString missingText(bool table, const QString& name)
{
    return (table ? QStringLiteral("In der Adressen-Datenbank fehlt die Tabelle [")
                  : QStringLiteral("In der Adressen-Datenbank fehlt die Spalte [")) +
           name + QStringLiteral("].");
}

QString missingColumnsText(const QString& table, const QStringList& have)
{
    if (have.isEmpty())
        return missingText(true, table);
    QStringList missing;
    for (const QString& col : requiredColumns(table))
        if (!have.contains(col, Qt::CaseInsensitive))
            missing << col;
    if (missing.isEmpty())
        return {};
    return QStringLiteral("In der Tabelle [") + table + QStringLiteral("] der Adressen-Datenbank ") +
           (missing.size() == 1 ? QStringLiteral("fehlt die Spalte ") : QStringLiteral("fehlen die Spalten ")) +
           missing.join(QStringLiteral(", ")) + QStringLiteral(".");
}

QString errorText(int code, const QString& engineText)
{
    switch (code & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("Die Adressen-Datenbank ist gerade von einem anderen Programm gesperrt "
                              "(zum Beispiel von der Adresskartei). Ihre Eingaben sind nicht verloren: "
                              "Versuchen Sie es in einem Augenblick noch einmal.");
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN:
        return QStringLiteral("Die Adressen-Datenbank ist schreibgeschützt. Die Änderung wurde nicht "
                              "gespeichert.");
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return QStringLiteral("Die Datei ist keine gültige Adressen-Datenbank.");
    case SQLITE_FULL:
        return QStringLiteral("Der Datenträger der Adressen-Datenbank ist voll. Die Änderung wurde "
                              "nicht gespeichert.");
    default:
        return QStringLiteral("Fehler in der Adressen-Datenbank: ") + engineText;
    }
}

QString readErrorText(int code, const QString& engineText)
{
    switch (code & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("Die Adressen-Datenbank ist gerade von einem anderen Programm gesperrt "
                              "(zum Beispiel von der Adresskartei). Die Adressen konnten nicht gelesen werden; "
                              "es wurde nichts verändert. Versuchen Sie es in einem Augenblick noch einmal.");
    case SQLITE_CORRUPT:
        return QStringLiteral("Die Adressen-Datenbank ist beschädigt. Stellen Sie eine Sicherungskopie der "
                              "Datei wieder her.");
    default:
        return QStringLiteral("Die Adresse konnte nicht gelesen werden: ") + engineText;
    }
}

QString damagedText(const QString& path)
{
    return QStringLiteral("Die Adressen-Datenbank ") + path +
           QStringLiteral(" ist beschädigt und wird nicht verwendet. Stellen Sie bitte eine Sicherungskopie "
                          "der Datei wieder her.");
}

} // namespace AddressDatabase
