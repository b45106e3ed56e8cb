#pragma once
// The fixed words of a letter: the line above the recipient's name, the salutations,
// the long German date and the reference line. Titles compare exactly, case included.

#include <QDate>
#include <QString>

namespace LetterTables {

// The line written above the name for `title`; empty when there is none.
QString titleLine(const QString& title);

// The salutation for `title` when there is no contact person (without its line
// break); empty when the title has none.
QString salutation(const QString& title, const QString& firstName, const QString& lastName);

// The salutation addressed to the contact person; empty for other contact titles.
QString contactSalutation(const QString& contactTitle, const QString& contactName);

// "05. März 2026": two-digit day, German month name, four-digit year.
QString longDate(const QDate& date);

// "Unser Zeichen: " + ours, padded with blanks to 30 characters, "Ihr Zeichen: " + yours.
QString referenceLine(const QString& ours, const QString& yours);

// The street split at its first and second line break (CR LF, CR or LF); a third
// line is dropped.
struct StreetLines {
    QString line1;
    QString line2;
};
StreetLines splitStreet(const QString& street);
bool hasLineBreak(const QString& text);

} // namespace LetterTables
