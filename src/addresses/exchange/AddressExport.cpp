#include "AddressExport.h"

#include "addresses/RecordSource.h"
#include "app/SafeSave.h"

#include "ExchangeTable.h"
#include "Windows1252.h"

#include <QFileInfo>
#include <QStringList>

namespace AddressExport {
namespace {

const char* const columns[] = {"Anrede",    "Vorname",   "Nachname", "Adresse",     "Postleitzahl", "Ort",
                               "LaenderKZ", "Land",      "AnredezHd", "NamezHd",    "MitgliedsNr",  "Gruppe"};

QString csvField(const QString& v)
{
    if (!v.contains(u';') && !v.contains(u'"') && !v.contains(u'\n') && !v.contains(u'\r'))
        return v;
    QString q = v;
    q.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

// Backslash, comma, semicolon and line breaks escaped as vCard wants them.
QString escaped(const QString& v)
{
    QString out;
    for (const QChar c : v) {
        if (c == u'\\' || c == u',' || c == u';')
            out += QLatin1Char('\\') + QString(c);
        else if (c == u'\n')
            out += QLatin1String("\\n");
        else if (c != u'\r')
            out += c;
    }
    return out;
}

// Lines longer than 75 octets are folded, never inside a UTF-8 sequence.
QByteArray folded(const QString& line)
{
    const QByteArray bytes = line.toUtf8();
    QByteArray out;
    int used = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const bool continuation = (static_cast<unsigned char>(bytes[i]) & 0xC0) == 0x80;
        if (used >= 74 && !continuation) {
            out += "\r\n ";
            used = 1;
        }
        out += bytes[i];
        ++used;
    }
    return out + "\r\n";
}

} // namespace

QByteArray csv(const RecordSource& source, Encoding encoding, int* unmappable)
{
    QStringList header;
    for (const char* c : columns)
        header << QLatin1String(c);
    const QString headerLine = header.join(QLatin1Char(';')) + QLatin1String("\r\n");
    const bool utf8 = encoding == Encoding::Utf8;
    // The mark lets spreadsheets see UTF-8.
    QByteArray out = utf8 ? "\xEF\xBB\xBF" + headerLine.toUtf8() : Windows1252::encode(headerLine);
    int lacking = 0;
    for (int row = 0; row < source.recordCount(); ++row) {
        QStringList fields;
        for (const char* c : columns)
            fields << csvField(source.fieldAt(row, QLatin1String(c)));
        const QString line = fields.join(QLatin1Char(';')) + QLatin1String("\r\n");
        int missing = 0;
        out += utf8 ? line.toUtf8() : Windows1252::encode(line, &missing);
        lacking += missing > 0 ? 1 : 0;
    }
    if (unmappable)
        *unmappable = lacking;
    return out;
}

QByteArray vcard(const RecordSource& source)
{
    QByteArray out;
    for (int row = 0; row < source.recordCount(); ++row) {
        auto f = [&](const char* c) { return source.fieldAt(row, QLatin1String(c)); };
        const QString fn = (f("Vorname") + QLatin1Char(' ') + f("Nachname")).trimmed();
        out += "BEGIN:VCARD\r\nVERSION:4.0\r\n";
        out += folded(QLatin1String("FN:") + escaped(fn));
        out += folded(QLatin1String("N:") + escaped(f("Nachname")) + QLatin1Char(';') + escaped(f("Vorname")) +
                      QLatin1String(";;") + escaped(f("Anrede")) + QLatin1Char(';'));
        if (!(f("Adresse") + f("Postleitzahl") + f("Ort") + f("Land")).isEmpty())
            out += folded(QLatin1String("ADR;TYPE=home:;;") + escaped(f("Adresse")) + QLatin1Char(';') +
                          escaped(f("Ort")) + QLatin1String(";;") + escaped(f("Postleitzahl")) + QLatin1Char(';') +
                          escaped(f("Land")));
        if (!f("Gruppe").isEmpty())
            out += folded(QLatin1String("CATEGORIES:") + escaped(f("Gruppe")));
        // Fields vCard has no property for, under names our import knows.
        for (const char* c : {"LaenderKZ", "AnredezHd", "NamezHd", "MitgliedsNr"})
            if (!f(c).isEmpty())
                out += folded(QLatin1String("X-QX-") + QString::fromLatin1(c).toUpper() + QLatin1Char(':') +
                              escaped(f(c)));
        out += "END:VCARD\r\n";
    }
    return out;
}

Format formatFor(const QString& path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("vcf"), Qt::CaseInsensitive) == 0 ? Format::VCard
                                                                                           : Format::CsvUtf8;
}

Written writeFile(const RecordSource& source, const QString& path, Format format)
{
    Written w;
    const QByteArray bytes = format == Format::VCard ? vcard(source)
                             : csv(source, format == Format::CsvUtf8 ? Encoding::Utf8 : Encoding::Windows1252,
                                   &w.unmappable);
    if (SafeSave::saveFile(path, bytes, &w.error))
        w.addresses = source.recordCount();
    return w;
}

QString report(const Written& w, const QString& path)
{
    auto addresses = [](int n) { return countedText(n, QStringLiteral("Adresse"), QStringLiteral("Adressen")); };
    QString text = addresses(w.addresses) + QStringLiteral(" geschrieben: ") + path;
    if (w.unmappable > 0)
        text += QLatin1Char('\n') + addresses(w.unmappable) +
                (w.unmappable == 1 ? QStringLiteral(" enthält") : QStringLiteral(" enthalten")) +
                QStringLiteral(" Zeichen, die es in Windows-1252 nicht gibt; sie wurden als \"?\" geschrieben. "
                               "Wählen Sie UTF-8, um sie zu erhalten.");
    return text;
}

} // namespace AddressExport
