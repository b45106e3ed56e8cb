#pragma once
// Filling label sheets from one address: the values of the eight label fields (with
// the country rule), writing them into a template's named fields, and the editable
// label table without template.

#include <QHash>
#include <QList>
#include <QString>

class TextControl;

// One address as the picker shows it, plus the row's country name.
struct LabelAddress {
    QString Anrede;
    QString Vorname;
    QString Nachname;
    QString Strasse;
    QString PLZ;
    QString Ort;
    QString LKZ;
    QString AnredezHd;
    QString NamezHd;
    QString Land; // the row's `Land` column
};

// The texts of the eight fields of one label.
struct LabelValues {
    QString Anrede;
    QString Vorname;
    QString Nachname;
    QString Strasse;
    QString LKZ;
    QString PLZ;
    QString Ort;
    QString Land;
    // By field name ("Anrede" ... "Land"); empty for any other name.
    QString value(const QString& field) const;
};

namespace LabelFill {

// "CH" for 41, "A" for 43, "D" for 49, else empty.
QString domesticCode(int homeCountry);
// The Land field: empty at home, without a code or for an unknown home country; else
// the country in capitals.
QString countryLine(const LabelAddress& a, int homeCountry);
// The first two lines of a street joined by one blank.
QString textErsteZeile(const QString& text);
// The values of one label, nothing cut.
LabelValues valuesFor(const LabelAddress& a, int homeCountry);

// The field whose data is `name` (the last one when several are), 0 when none.
int findField(const TextControl& s, const QString& name);
// Every field name of the surface with its id; the last field wins as in findField.
QHash<QString, int> fieldIndex(const TextControl& s);

// All 24 labels from one address; with `withoutTitle` the Anrede fields keep the text
// they have. Fields the template lacks are skipped. Lines too wide for their label are
// fitted (LabelFit), here and in the other runs.
void fillAll(TextControl& s, const LabelValues& v, bool withoutTitle);

// One label per entry of `labels` from label `start` on, up to label 24 (the entries
// beyond are not used); with `withoutTitle` the Anrede fields become empty. When the
// run ends before label 24, the labels before `start` and after the last one filled
// are emptied. Returns the number of entries used.
int fillChosen(TextControl& s, int start, const QList<LabelValues>& labels, bool withoutTitle);

// "Vorname Nachname", or the one of them that is not empty.
QString nameLine(const LabelAddress& a);
// "LKZ-PLZ Ort".
QString townLine(const LabelAddress& a);
// The table layout: true for the extended one (attention line or a two-line street).
bool extendedTable(const LabelAddress& a);
// The 8 rows of one label block of the table, top to bottom.
QStringList tableBlock(const LabelAddress& a);
// Writes the table of 24 label blocks (64 rows, 3 columns) on the grid of the label
// templates into the empty surface `s` and returns the table's id.
int buildTable(TextControl& s, const LabelAddress& a);

} // namespace LabelFill
