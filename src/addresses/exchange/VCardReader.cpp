#include "VCardReader.h"

#include "CsvReader.h"

#include <QStringDecoder>

namespace VCardReader {
namespace {

enum Col {
    Anrede, Vorname, Nachname, Adresse, Postleitzahl, Ort, Land, Firma, EMail, Telefon, Titel, Gruppe,
    LaenderKZ, AnredezHd, NamezHd, MitgliedsNr, Count
};

QStringList headerNames()
{
    return {QStringLiteral("Anrede"),  QStringLiteral("Vorname"),      QStringLiteral("Nachname"),
            QStringLiteral("Adresse"), QStringLiteral("Postleitzahl"), QStringLiteral("Ort"),
            QStringLiteral("Land"),    QStringLiteral("Firma"),        QStringLiteral("E-Mail"),
            QStringLiteral("Telefon"), QStringLiteral("Titel"),        QStringLiteral("Gruppe"),
            QStringLiteral("LaenderKZ"), QStringLiteral("AnredezHd"),  QStringLiteral("NamezHd"),
            QStringLiteral("MitgliedsNr")};
}

QByteArray quotedPrintable(const QByteArray& in)
{
    QByteArray out;
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] == '=' && i + 2 < in.size()) {
            bool ok = false;
            const int v = in.mid(i + 1, 2).toInt(&ok, 16);
            if (ok) {
                out += char(v);
                i += 2;
                continue;
            }
        }
        out += in[i];
    }
    return out;
}

// Splits at unescaped `sep` and undoes the backslash escapes.
QStringList components(const QString& value, QChar sep)
{
    QStringList parts;
    QString cur;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == u'\\' && i + 1 < value.size()) {
            const QChar n = value[++i];
            cur += (n == u'n' || n == u'N') ? QChar(u'\n') : n;
        } else if (c == sep) {
            parts << cur;
            cur.clear();
        } else {
            cur += c;
        }
    }
    parts << cur;
    return parts;
}

struct Property {
    QString name;
    QStringList types; // lower case
    QString value;
};

Property parseLine(const QString& line)
{
    Property p;
    int colon = -1;
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        if (line[i] == u'"')
            quoted = !quoted;
        else if (line[i] == u':' && !quoted) {
            colon = i;
            break;
        }
    }
    if (colon < 0)
        return p;
    QStringList params = line.left(colon).split(QLatin1Char(';'));
    QString name = params.takeFirst().toUpper();
    if (const int dot = name.lastIndexOf(QLatin1Char('.')); dot >= 0)
        name = name.mid(dot + 1); // "item1.EMAIL"
    p.name = name;
    QString encoding, charset;
    for (const QString& param : std::as_const(params)) {
        const int eq = param.indexOf(QLatin1Char('='));
        const QString key = eq < 0 ? QString() : param.left(eq).toUpper();
        QString val = eq < 0 ? param : param.mid(eq + 1);
        val.remove(QLatin1Char('"'));
        if (key == u"ENCODING" || (eq < 0 && (val.toUpper() == u"QUOTED-PRINTABLE" || val.toUpper() == u"BASE64")))
            encoding = val.toUpper();
        else if (key == u"CHARSET")
            charset = val;
        else if (key.isEmpty() || key == u"TYPE")
            for (const QString& t : val.split(QLatin1Char(',')))
                p.types << t.toLower();
    }
    QString value = line.mid(colon + 1);
    if (!encoding.isEmpty()) {
        const QByteArray raw = value.toLatin1();
        const QByteArray bytes = encoding == u"QUOTED-PRINTABLE" ? quotedPrintable(raw)
                                                                 : QByteArray::fromBase64(raw);
        QStringDecoder named(charset.toLatin1().constData());
        value = (!charset.isEmpty() && named.isValid()) ? named.decode(bytes) : CsvReader::decode(bytes);
    }
    p.value = value;
    return p;
}

// The card's lines with folding undone: a line starting with a blank continues the
// one before; in quoted-printable a line ending in "=" goes on in the next.
QStringList unfold(const QStringList& raw, const std::vector<int>& lineNumbers, std::vector<int>* starts)
{
    QStringList out;
    bool softBreak = false;
    for (int i = 0; i < raw.size(); ++i) {
        const QString& l = raw[i];
        if (!out.isEmpty() && softBreak) {
            out.last().chop(1);
            out.last() += l.trimmed();
        } else if (!out.isEmpty() && (l.startsWith(u' ') || l.startsWith(u'\t'))) {
            out.last() += l.mid(1);
        } else {
            if (l.trimmed().isEmpty())
                continue;
            out << l;
            starts->push_back(lineNumbers[size_t(i)]);
        }
        softBreak = out.last().endsWith(u'=') && out.last().contains(QLatin1String("QUOTED-PRINTABLE"), Qt::CaseInsensitive);
    }
    return out;
}

} // namespace

bool looksLikeVCard(const QByteArray& bytes)
{
    return CsvReader::decode(bytes.left(256)).trimmed().startsWith(QLatin1String("BEGIN:VCARD"), Qt::CaseInsensitive);
}

ExchangeTable read(const QByteArray& bytes, Prefer prefer)
{
    ExchangeTable t;
    t.headers = headerNames();
    const QStringList raw = CsvReader::decode(bytes).split(QLatin1Char('\n'));
    std::vector<int> numbers;
    QStringList trimmed;
    for (int i = 0; i < raw.size(); ++i) {
        QString l = raw[i];
        if (l.endsWith(u'\r'))
            l.chop(1);
        trimmed << l;
        numbers.push_back(i + 1);
    }
    std::vector<int> starts;
    const QStringList lines = unfold(trimmed, numbers, &starts);

    ExchangeRow row;
    bool inCard = false;
    int adrRank = 0; // 0 none, 1 other kind, 2 the preferred kind
    const QString wanted = prefer == Prefer::Home ? QStringLiteral("home") : QStringLiteral("work");
    for (int i = 0; i < lines.size(); ++i) {
        const Property p = parseLine(lines[i]);
        if (p.name == u"BEGIN" && p.value.trimmed().compare(QLatin1String("VCARD"), Qt::CaseInsensitive) == 0) {
            row = ExchangeRow();
            row.line = starts[size_t(i)];
            row.values = QStringList(Count, QString());
            inCard = true;
            adrRank = 0;
            continue;
        }
        if (!inCard)
            continue;
        QStringList& v = row.values;
        if (p.name == u"END") {
            t.rows.push_back(row);
            inCard = false;
        } else if (p.name == u"N") {
            const QStringList n = components(p.value, u';');
            v[Nachname] = n.value(0).trimmed();
            v[Vorname] = n.value(1).trimmed();
            v[Anrede] = n.value(3).trimmed();
        } else if (p.name == u"FN" && v[Vorname].isEmpty() && v[Nachname].isEmpty()) {
            // Only a display name: its last word is the last name.
            const QString fn = components(p.value, QChar()).join(QString()).trimmed();
            const int blank = fn.lastIndexOf(QLatin1Char(' '));
            v[Nachname] = blank < 0 ? fn : fn.mid(blank + 1);
            v[Vorname] = blank < 0 ? QString() : fn.left(blank);
        } else if (p.name == u"ORG") {
            v[Firma] = components(p.value, u';').value(0).trimmed();
        } else if (p.name == u"ADR") {
            const int rank = p.types.contains(wanted) ? 2 : 1;
            if (rank <= adrRank)
                continue;
            adrRank = rank;
            const QStringList a = components(p.value, u';');
            v[Adresse] = a.value(2).trimmed().isEmpty() ? a.value(0).trimmed() : a.value(2).trimmed();
            v[Ort] = a.value(3).trimmed();
            v[Postleitzahl] = a.value(5).trimmed();
            v[Land] = a.value(6).trimmed();
        } else if (p.name == u"TEL" && v[Telefon].isEmpty()) {
            v[Telefon] = p.value.trimmed();
        } else if (p.name == u"EMAIL" && v[EMail].isEmpty()) {
            v[EMail] = p.value.trimmed();
        } else if (p.name == u"TITLE") {
            v[Titel] = components(p.value, u';').join(QString()).trimmed();
        } else if (p.name == u"CATEGORIES") {
            v[Gruppe] = components(p.value, u',').value(0).trimmed();
        } else if (p.name.startsWith(QLatin1String("X-QX-"))) {
            // What our own export writes beyond the standard properties.
            const QStringList own = headerNames();
            for (int c = LaenderKZ; c < Count; ++c)
                if (p.name.mid(5) == own[c].toUpper())
                    v[c] = components(p.value, QChar()).join(QString()).trimmed();
        }
    }
    if (t.rows.empty())
        t.error = QStringLiteral("Die Datei enthält keine Adressen.");
    return t;
}

} // namespace VCardReader
