#include "ColumnGuess.h"

#include <QHash>

namespace ColumnGuess {
namespace {

// "E-Mail Adresse" -> "emailadresse", "Straße" -> "strasse".
QString folded(const QString& header)
{
    QString out;
    for (const QChar c : header.toLower()) {
        if (c == u'ä')
            out += QLatin1String("ae");
        else if (c == u'ö')
            out += QLatin1String("oe");
        else if (c == u'ü')
            out += QLatin1String("ue");
        else if (c == u'ß')
            out += QLatin1String("ss");
        else if (c.isLetterOrNumber())
            out += c;
    }
    return out;
}

const QHash<QString, QString>& names()
{
    static const QHash<QString, QString> map = [] {
        QHash<QString, QString> m;
        auto add = [&m](const char* field, std::initializer_list<const char*> keys) {
            for (const char* k : keys)
                m.insert(QString::fromUtf8(k), QString::fromUtf8(field));
        };
        add("Anrede", {"anrede", "salutation", "title", "prefix", "nameprefix", "briefanrede"});
        add("Vorname", {"vorname", "vornamen", "firstname", "givenname", "first", "forename"});
        add("Nachname", {"nachname", "name", "familienname", "zuname", "lastname", "surname", "familyname",
                         "last", "name1"});
        add("Adresse", {"adresse", "strasse", "str", "strasseundhausnummer", "strassehausnr", "anschrift",
                        "street", "address", "streetaddress", "address1", "homestreet", "businessstreet",
                        "postfach"});
        add("Postleitzahl", {"postleitzahl", "plz", "zip", "zipcode", "postalcode", "postcode",
                             "homepostalcode", "businesspostalcode"});
        add("Ort", {"ort", "wohnort", "stadt", "city", "town", "homecity", "businesscity"});
        add("LaenderKZ", {"laenderkz", "laenderkennzeichen", "lkz", "countrycode"});
        add("Land", {"land", "country", "staat", "homecountry", "businesscountry", "countryregion",
                     "homecountryregion", "businesscountryregion"});
        add("AnredezHd", {"anredezhd"});
        add("NamezHd", {"namezhd", "zhd", "zuhaenden", "ansprechpartner", "contact"});
        add("MitgliedsNr", {"mitgliedsnr", "mitgliedsnummer", "mitgliednr", "membernumber", "memberno",
                            "membershipnumber"});
        add("Gruppe", {"gruppe", "group", "kategorie", "categories", "category"});
        add("Firma", {"firma", "firmenname", "unternehmen", "organisation", "organization", "company",
                      "companyname"});
        return m;
    }();
    return map;
}

} // namespace

QStringList targets()
{
    return {QStringLiteral("Anrede"),    QStringLiteral("Vorname"),   QStringLiteral("Nachname"),
            QStringLiteral("Firma"),     QStringLiteral("Adresse"),   QStringLiteral("Postleitzahl"),
            QStringLiteral("Ort"),       QStringLiteral("LaenderKZ"), QStringLiteral("Land"),
            QStringLiteral("AnredezHd"), QStringLiteral("NamezHd"),   QStringLiteral("MitgliedsNr"),
            QStringLiteral("Gruppe")};
}

QString guess(const QString& header)
{
    return names().value(folded(header));
}

QStringList guessAll(const QStringList& headers)
{
    QStringList out;
    for (const QString& h : headers) {
        const QString field = guess(h);
        out << (out.contains(field) ? QString() : field);
    }
    return out;
}

} // namespace ColumnGuess
