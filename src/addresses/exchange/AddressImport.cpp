#include "AddressImport.h"

#include "ColumnGuess.h"
#include "CsvReader.h"
#include "addresses/RecordSource.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace AddressImport {
namespace {

const QString nameless = QStringLiteral("ohne Namen");

// NUL bytes do not occur in text, except between the halves of UTF-16.
bool isBinary(const QByteArray& bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return false;
    return bytes.left(64 * 1024).contains('\0');
}

enum Field { Anrede, Vorname, Nachname, Adresse, Postleitzahl, Ort, LaenderKZ, Land, AnredezHd, NamezHd, MitgliedsNr, Gruppe };

// Same first and last name, street and town; case and outer blanks do not count.
QString key(const QString& first, const QString& last, const QString& street, const QString& town)
{
    return QStringList{first.trimmed().toLower(), last.trimmed().toLower(), street.trimmed().toLower(),
                       town.trimmed().toLower()}
        .join(QChar(0x1F));
}

// The address store keeps line breaks (a street over two lines) as CR LF.
QString storedBreaks(QString v)
{
    if (v.contains(u'\n') || v.contains(u'\r'))
        v.replace(QLatin1String("\r\n"), QLatin1String("\n"))
            .replace(QLatin1Char('\r'), QLatin1Char('\n'))
            .replace(QLatin1String("\n"), QLatin1String("\r\n"));
    return v;
}

QString counted(int n, const char* one, const char* many)
{
    return countedText(n, QString::fromUtf8(one), QString::fromUtf8(many));
}

} // namespace

const QStringList& fields()
{
    static const QStringList names{
        QStringLiteral("Anrede"),    QStringLiteral("Vorname"),   QStringLiteral("Nachname"),
        QStringLiteral("Adresse"),   QStringLiteral("Postleitzahl"), QStringLiteral("Ort"),
        QStringLiteral("LaenderKZ"), QStringLiteral("Land"),      QStringLiteral("AnredezHd"),
        QStringLiteral("NamezHd"),   QStringLiteral("MitgliedsNr"), QStringLiteral("Gruppe")};
    return names;
}

QHash<QString, QString> Record::filled() const
{
    QHash<QString, QString> out;
    for (int i = 0; i < values.size(); ++i)
        if (!values[i].isEmpty())
            out.insert(fields()[i], values[i]);
    return out;
}

ExchangeTable readBytes(const QByteArray& bytes, bool vcard, VCardReader::Prefer prefer)
{
    ExchangeTable t;
    if (bytes.trimmed().isEmpty() || bytes == "\xEF\xBB\xBF") {
        t.error = QStringLiteral("Die Datei ist leer.");
        return t;
    }
    if (isBinary(bytes)) {
        t.error = QStringLiteral("Die Datei ist keine Adressliste (CSV oder vCard), sondern enthält binäre Daten.");
        return t;
    }
    if (vcard || VCardReader::looksLikeVCard(bytes))
        return VCardReader::read(bytes, prefer);
    return CsvReader::read(bytes);
}

ExchangeTable readFile(const QString& path, VCardReader::Prefer prefer)
{
    ExchangeTable t;
    const QFileInfo info(path);
    QFile f(path);
    if (!info.isFile() || !f.open(QIODevice::ReadOnly)) {
        t.error = QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden.").arg(path);
        return t;
    }
    if (info.size() > MaxFileBytes) {
        t.error = QStringLiteral("Die Datei \"%1\" ist größer als 100 MB und wird nicht eingelesen.")
                      .arg(info.fileName());
        return t;
    }
    const QString ext = info.suffix().toLower();
    return readBytes(f.readAll(), ext == u"vcf" || ext == u"vcard", prefer);
}

Prepared prepare(const ExchangeTable& table, const QStringList& mapping, const QString& group)
{
    Prepared p;
    if (!mapping.contains(QStringLiteral("Nachname")) && !mapping.contains(QStringLiteral("Vorname")) &&
        !mapping.contains(QStringLiteral("Firma"))) {
        p.error = QStringLiteral("In der Datei wurde keine Spalte mit Namen gefunden (etwa \"Name\", \"Nachname\" "
                                 "oder \"Vorname\"). Es wurde nichts übernommen.");
        return p;
    }
    for (const ExchangeRow& row : table.rows) {
        bool extra = false;
        for (int i = int(table.headers.size()); i < row.values.size(); ++i)
            extra = extra || !row.values[i].trimmed().isEmpty();
        if (extra) {
            p.refused.push_back({row.line, QStringLiteral("mehr Felder als die Kopfzeile")});
            continue;
        }
        Record r;
        r.line = row.line;
        r.values = QStringList(fields().size(), QString());
        QString company;
        bool anything = false;
        for (int i = 0; i < mapping.size() && i < row.values.size(); ++i) {
            const QString v = row.values[i].trimmed();
            if (mapping[i].isEmpty() || v.isEmpty())
                continue;
            anything = true;
            if (mapping[i] == u"Firma")
                company = v;
            else if (const int f = int(fields().indexOf(mapping[i])); f >= 0)
                r.values[f] = storedBreaks(v);
        }
        QStringList& v = r.values;
        if (v[Vorname].isEmpty() && v[Nachname].isEmpty() && !company.isEmpty()) {
            v[Nachname] = company;
            if (v[Anrede].isEmpty())
                v[Anrede] = QStringLiteral("Firma");
        }
        if (v[Vorname].isEmpty() && v[Nachname].isEmpty()) {
            // Blank lines of a spreadsheet (only delimiters) are no addresses at all.
            if (anything) {
                p.refused.push_back({row.line, nameless});
                ++p.nameless;
            }
            continue;
        }
        if (!group.isEmpty())
            v[Gruppe] = group;
        p.records.push_back(std::move(r));
    }
    return p;
}

Outcome write(RecordSource& source, const std::vector<Record>& records, Duplicates duplicates,
              const Progress& progress)
{
    Outcome o;
    // Duplicate key -> row of the source; rows only get added at the end meanwhile.
    QHash<QString, int> known;
    if (duplicates != Duplicates::Add)
        for (int row = 0; row < source.recordCount(); ++row)
            known.insert(key(source.fieldAt(row, fields()[Vorname]), source.fieldAt(row, fields()[Nachname]),
                             source.fieldAt(row, fields()[Adresse]), source.fieldAt(row, fields()[Ort])),
                         row);
    if (!source.beginBatch()) {
        o.error = QStringLiteral("Die Adressen konnten nicht übernommen werden. ") + source.lastError();
        return o;
    }
    auto abandon = [&source, &o](const QString& why) {
        source.endBatch(false);
        o = Outcome();
        o.error = why;
        return o;
    };
    const int total = int(records.size());
    for (int done = 0; done < total; ++done) {
        const Record& r = records[size_t(done)];
        const QString k = key(r.values[Vorname], r.values[Nachname], r.values[Adresse], r.values[Ort]);
        const auto found = known.constFind(k);
        bool ok = true;
        if (found != known.constEnd() && duplicates == Duplicates::Skip) {
            ++o.skipped;
        } else if (found != known.constEnd() && duplicates == Duplicates::Update) {
            source.setAbsolutePosition(found.value());
            ok = source.saveRow(r.filled());
            ++o.updated;
        } else {
            ok = source.addRow(r.filled());
            ++o.added;
            if (ok)
                known.insert(k, source.absolutePosition());
        }
        if (!ok)
            return abandon(QStringLiteral("Die Adresse aus Zeile %1 konnte nicht gespeichert werden; es wurde "
                                          "nichts übernommen. ")
                               .arg(r.line) +
                           source.lastError());
        if (progress && !progress(done + 1, total)) {
            abandon(QStringLiteral("Der Import wurde abgebrochen. Es wurde nichts übernommen."));
            o.cancelled = true;
            return o;
        }
    }
    if (!source.endBatch(true)) {
        const QString why = source.lastError();
        o = Outcome();
        o.error = QStringLiteral("Die Adressen konnten nicht übernommen werden. ") + why;
    }
    return o;
}

QString summary(const Outcome& outcome, const Prepared& prepared, int listed)
{
    QStringList parts;
    parts << counted(outcome.added, "Adresse übernommen", "Adressen übernommen");
    if (outcome.updated > 0)
        parts << counted(outcome.updated, "doppelte aktualisiert", "doppelte aktualisiert");
    if (outcome.skipped > 0)
        parts << counted(outcome.skipped, "doppelte übersprungen", "doppelte übersprungen");
    if (prepared.nameless > 0)
        parts << counted(prepared.nameless, "Zeile ohne Namen nicht übernommen", "Zeilen ohne Namen nicht übernommen");
    const int other = int(prepared.refused.size()) - prepared.nameless;
    if (other > 0)
        parts << counted(other, "fehlerhafte Zeile nicht übernommen", "fehlerhafte Zeilen nicht übernommen");
    QString text = parts.join(QStringLiteral(", "));
    const int shown = listed < 0 ? int(prepared.refused.size()) : std::min(listed, int(prepared.refused.size()));
    for (int i = 0; i < shown; ++i)
        text += QStringLiteral("\nZeile %1: %2").arg(prepared.refused[size_t(i)].line).arg(prepared.refused[size_t(i)].reason);
    if (const int more = int(prepared.refused.size()) - shown; more > 0)
        text += QStringLiteral("\n… und ") + countedText(more, QStringLiteral("weitere Zeile"), QStringLiteral("weitere Zeilen"));
    return text;
}

} // namespace AddressImport
