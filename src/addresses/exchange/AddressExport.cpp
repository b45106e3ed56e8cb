#include "AddressExport.h"

#include "addresses/RecordSource.h"
#include "app/SafeSave.h"

#include <QFileInfo>
#include <QStringEncoder>
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

QByteArray csv(const RecordSource& source, Encoding encoding)
{
    QString text;
    QStringList header;
    for (const char* c : columns)
        header << QLatin1String(c);
    text += header.join(QLatin1Char(';')) + QLatin1String("\r\n");
    for (int row = 0; row < source.recordCount(); ++row) {
        QStringList fields;
        for (const char* c : columns)
            fields << csvField(source.fieldAt(row, QLatin1String(c)));
        text += fields.join(QLatin1Char(';')) + QLatin1String("\r\n");
    }
    if (encoding == Encoding::Utf8)
        return "\xEF\xBB\xBF" + text.toUtf8(); // the mark lets spreadsheets see UTF-8
    QStringEncoder named("windows-1252");
    if (named.isValid())
        return named.encode(text);
    QStringEncoder latin(QStringEncoder::Latin1);
    return latin.encode(text);
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
        out += "END:VCARD\r\n";
    }
    return out;
}

int writeFile(const RecordSource& source, const QString& path, QString* error)
{
    const bool asVCard = QFileInfo(path).suffix().compare(QLatin1String("vcf"), Qt::CaseInsensitive) == 0;
    const QByteArray bytes = asVCard ? vcard(source) : csv(source);
    if (!SafeSave::saveFile(path, bytes, error))
        return -1;
    return source.recordCount();
}

} // namespace AddressExport
