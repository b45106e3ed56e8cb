#pragma once
// Plain rules of the page setup: the length conversions of the length fields, the
// paper table, the match of a size to a paper entry and the check that decides
// whether the dialog's values may be confirmed.

#include <QString>
#include <array>

namespace PageSetup {

// Unit of the length fields: 1 inch, 2 centimetre.
enum Unit { Inch = 1, Centimetre = 2 };

// Twips as the text of a length field ("2,00" for 1134 twips in cm under a German
// locale). Another unit shows "Interner Fehler: unbekannte Maßeinheit." and gives "".
QString Twips2DlgString(float twips, int unit);
// The text of a length field as twips: 0 for empty or unreadable text and for an
// unknown unit; halves round to the even neighbour.
int DlgString2Twips(const QString& text, int unit);

struct Paper {
    const char* name;
    int width;
    int height;
};
// "A4", "A5", "B5", "Letter", "Legal"; index 5 is "Benutzerdefiniert".
const std::array<Paper, 5>& papers();
constexpr int CustomPaper = 5;
QString paperName(int index);
// Index of the first entry within 10 twips in both directions, else CustomPaper.
int matchPaper(int width, int height);

struct Values {
    int left = 0, top = 0, right = 0, bottom = 0, width = 0, height = 0;
};
// Empty when the values may be confirmed; otherwise a German sentence that says
// what is wrong (the first broken rule), for the dialog's hint line.
QString problem(const Values& v, int unit);

} // namespace PageSetup
