#include "LetterTables.h"

#include <QLocale>
#include <QRegularExpression>

namespace LetterTables {

namespace {

const QString kDamenUndHerren = QStringLiteral("Sehr geehrte Damen und Herren, ");

} // namespace

QString titleLine(const QString& title)
{
    if (title == u"Firma" || title == u"Hallo")
        return {};
    if (title == u"Herr Dr.")
        return QStringLiteral("Herrn Dr.");
    if (title == u"Liebe" || title == u"Liebe Schwester")
        return QStringLiteral("Frau");
    if (title == u"Lieber" || title == u"Lieber Bruder")
        return QStringLiteral("Herrn");
    // "Herrn", "Frau", "Frl.", "Frau Dr.", "Familie", "An die", "An das" and every
    // unlisted title stand as they are; the empty title gives no line.
    return title;
}

QString salutation(const QString& title, const QString& firstName, const QString& lastName)
{
    struct Rule {
        const char16_t* title;
        const char16_t* text;
        int name; // 0 none, 1 first name, 2 last name
    };
    static const Rule rules[] = {
        {u"Herrn", u"Sehr geehrter Herr ", 2},
        {u"Frau", u"Sehr geehrte Frau ", 2},
        {u"Frl.", u"Sehr geehrtes Fräulein ", 2},
        {u"Frau Dr.", u"Sehr geehrte Frau Dr. ", 2},
        {u"Herr Dr.", u"Sehr geehrter Herr Dr. ", 2},
        {u"Hallo", u"Hallo ", 1},
        {u"Liebe", u"Liebe ", 1},
        {u"Lieber", u"Lieber ", 1},
        {u"Liebe Schwester", u"Liebe Schwester", 0},
        {u"Lieber Bruder", u"Lieber Bruder", 0},
        {u"Familie", u"Sehr geehrte Familie ", 2},
    };
    if (title == u"Firma" || title == u"An die" || title == u"An das")
        return kDamenUndHerren;
    for (const Rule& r : rules) {
        if (title != QStringView(r.title))
            continue;
        const QString name = r.name == 1 ? firstName : r.name == 2 ? lastName : QString();
        return QString::fromUtf16(r.text) + name + QLatin1Char(',');
    }
    return {};
}

QString contactSalutation(const QString& contactTitle, const QString& contactName)
{
    if (contactTitle == u"Herrn")
        return QStringLiteral("Sehr geehrter Herr ") + contactName + QLatin1Char(',');
    if (contactTitle == u"Frau")
        return QStringLiteral("Sehr geehrte Frau ") + contactName + QLatin1Char(',');
    if (contactTitle == u"Frl.")
        return QStringLiteral("Sehr geehrtes Fräulein ") + contactName + QLatin1Char(',');
    return {};
}

QString longDate(const QDate& date)
{
    // The program is used with German month names whatever the system's locale says.
    return QLocale(QLocale::German, QLocale::Germany).toString(date, QStringLiteral("dd. MMMM yyyy"));
}

QString referenceLine(const QString& ours, const QString& yours)
{
    return QStringLiteral("Unser Zeichen: ") + ours + QString(qMax(0, 30 - int(ours.size())), QLatin1Char(' ')) +
           QStringLiteral("Ihr Zeichen: ") + yours;
}

bool hasLineBreak(const QString& text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

StreetLines splitStreet(const QString& street)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    const QStringList lines = street.split(lineBreak);
    StreetLines s;
    s.line1 = lines.value(0);
    s.line2 = lines.value(1);
    return s;
}

} // namespace LetterTables
