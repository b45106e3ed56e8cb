#include "LabelFill.h"

#include "LabelFit.h"
#include "LabelTemplate.h"

#include "engine/Document.h"
#include "engine/surface/TextControl.h"
#include "letters/LetterTables.h"

namespace {

const QStringList& fieldOrder() // the order the labels are written in
{
    static const QStringList names = LabelTemplate::fieldNames();
    return names;
}

void setField(TextControl& s, int id, const QString& text)
{
    if (!id)
        return;
    s.setFieldCurrent(id);
    s.setFieldText(text);
}

void setLabel(TextControl& s, const QHash<QString, int>& index, int n, const LabelValues& v, bool withoutTitle)
{
    for (const QString& name : fieldOrder()) {
        const QString text = (name == u"Anrede" && withoutTitle) ? QString() : v.value(name);
        setField(s, index.value(QString::number(n) + name), text);
    }
}

struct EditStep {
    TextControl& s;
    explicit EditStep(TextControl& surface) : s(surface) { s.beginEditStep(1); }
    ~EditStep() { s.endEditStep(); }
};

} // namespace

QString LabelValues::value(const QString& field) const
{
    const QString* byName[] = {&Anrede, &Vorname, &Nachname, &Strasse, &LKZ, &PLZ, &Ort, &Land};
    const int i = fieldOrder().indexOf(field);
    return i >= 0 ? *byName[i] : QString();
}

namespace LabelFill {

QString domesticCode(int homeCountry)
{
    switch (homeCountry) {
    case 41:
        return QStringLiteral("CH");
    case 43:
        return QStringLiteral("A");
    case 49:
        return QStringLiteral("D");
    default:
        return {};
    }
}

QString countryLine(const LabelAddress& a, int homeCountry)
{
    const QString home = domesticCode(homeCountry);
    if (home.isEmpty() || a.LKZ.isEmpty() || a.LKZ == home)
        return {};
    return a.Land.toUpper();
}

QString textErsteZeile(const QString& text)
{
    const LetterTables::StreetLines lines = LetterTables::splitStreet(text);
    return lines.line1 + QLatin1Char(' ') + lines.line2;
}

LabelValues valuesFor(const LabelAddress& a, int homeCountry)
{
    // Nothing is cut: a line too wide for its label is fitted on the sheet (LabelFit).
    LabelValues v;
    v.Anrede = a.Anrede;
    v.Vorname = a.Vorname;
    v.Nachname = a.Nachname;
    v.Strasse = LetterTables::hasLineBreak(a.Strasse) ? textErsteZeile(a.Strasse) : a.Strasse;
    v.LKZ = a.LKZ + QLatin1Char('-');
    v.PLZ = a.PLZ;
    v.Ort = a.Ort;
    v.Land = countryLine(a, homeCountry);
    return v;
}

int findField(const TextControl& s, const QString& name)
{
    int found = 0;
    for (int id = s.FieldNext(0, 0); id > 0; id = s.FieldNext(id, 0))
        if (s.FieldData(id) == name)
            found = id;
    return found;
}

QHash<QString, int> fieldIndex(const TextControl& s)
{
    QHash<QString, int> index;
    for (int id = s.FieldNext(0, 0); id > 0; id = s.FieldNext(id, 0))
        index.insert(s.FieldData(id), id);
    return index;
}

void fillAll(TextControl& s, const LabelValues& v, bool withoutTitle)
{
    const QHash<QString, int> index = fieldIndex(s);
    // One undo step, and one layout of the sheet instead of one per field.
    const EditStep step(s);
    // Field by field over the sheet, Anrede first, as the labels have always been made.
    for (const QString& name : fieldOrder()) {
        if (name == u"Anrede" && withoutTitle)
            continue;
        for (int n = 1; n <= LabelTemplate::Labels; ++n)
            setField(s, index.value(QString::number(n) + name), v.value(name));
    }
    LabelFit::fit(s, LabelFit::fieldPositions(s, index.values()));
}

int fillChosen(TextControl& s, int start, const QList<LabelValues>& labels, bool withoutTitle)
{
    const QHash<QString, int> index = fieldIndex(s);
    const EditStep step(s);
    const int last = qMin(start + int(labels.size()) - 1, LabelTemplate::Labels);
    int used = 0;
    for (int n = start; n <= last; ++n)
        setLabel(s, index, n, labels[used++], withoutTitle);
    if (start >= 1 && last < LabelTemplate::Labels) {
        const LabelValues empty;
        for (int n = 1; n <= LabelTemplate::Labels; ++n)
            if (n < start || n > last)
                setLabel(s, index, n, empty, false);
    }
    LabelFit::fit(s, LabelFit::fieldPositions(s, index.values()));
    return used;
}

QString nameLine(const LabelAddress& a)
{
    if (a.Vorname.isEmpty())
        return a.Nachname;
    if (a.Nachname.isEmpty())
        return a.Vorname;
    return a.Vorname + QLatin1Char(' ') + a.Nachname;
}

QString townLine(const LabelAddress& a) { return a.LKZ + QLatin1Char('-') + a.PLZ + QLatin1Char(' ') + a.Ort; }

bool extendedTable(const LabelAddress& a) { return !a.NamezHd.isEmpty() || LetterTables::hasLineBreak(a.Strasse); }

QStringList tableBlock(const LabelAddress& a)
{
    QStringList rows(8);
    if (!extendedTable(a)) {
        rows[2] = a.Anrede;
        rows[3] = nameLine(a);
        rows[4] = a.Strasse;
        rows[6] = townLine(a);
        return rows;
    }
    const LetterTables::StreetLines street = LetterTables::splitStreet(a.Strasse);
    int r = 1;
    rows[r++] = a.Anrede;
    rows[r++] = nameLine(a);
    if (!a.NamezHd.isEmpty())
        rows[r++] = a.AnredezHd + QLatin1Char(' ') + a.NamezHd;
    rows[r++] = street.line1;
    if (!street.line2.isEmpty())
        rows[r++] = street.line2;
    rows[r] = townLine(a);
    return rows;
}

int buildTable(TextControl& s, const LabelAddress& a)
{
    // The sheet of the label templates: 3 x 8 labels of 70 x 37 mm from 0.5 mm below
    // the top edge, each label 8 rows of a fixed height; nothing runs onto a second sheet.
    s.setPageMarginB(LabelTemplate::MarginBottom);
    s.setPageMarginL(LabelTemplate::MarginSide);
    s.setPageMarginR(LabelTemplate::MarginSide);
    s.setPageMarginT(LabelTemplate::MarginTop);
    s.setFontSize(11);
    const int id = s.TableInsert(64, 3, -1);
    s.setFontSize(1);
    if (!extendedTable(a))
        s.setFocus();
    LabelTemplate::shapeTable(s.doc()->body(), id);
    const QStringList block = tableBlock(a);
    QList<int> written;
    for (int k = 1; k <= LabelTemplate::Rows; ++k)
        for (int c = 1; c <= LabelTemplate::Columns; ++c)
            for (int i = 0; i < 8; ++i)
                if (!block[i].isEmpty()) {
                    s.setTableCellText(id, 8 * (k - 1) + i + 1, c, block[i]);
                    written << s.TableCellStart(id, 8 * (k - 1) + i + 1, c) - 1;
                }
    LabelFit::fit(s, written);
    return id;
}

} // namespace LabelFill
