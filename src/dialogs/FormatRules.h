#pragma once
// Plain rules of the formatting dialogs: reading numbers the way the dialogs' fields
// are read, the paragraph-frame style word, the point and millimetre conversions and
// the list of image export formats.

#include <QString>
#include <QStringList>
#include <optional>

namespace FormatRules {

// The number at the start of `text` (leading blanks skipped; a point or a comma as the
// decimal separator); 0 when the text does not start with one.
double leadingNumber(const QString& text);
// leadingNumber rounded half to even and limited to a 16-bit integer.
int leadingInt16(const QString& text);

// Parts and styles of a paragraph frame as the frames dialog writes them: a ticked part
// sets its bit in the low byte, an unticked one the same bit in the high byte.
struct FrameParts {
    bool left = false, right = false, top = false, bottom = false, tabLines = false;
    bool connected = false, doubleLines = false;
};
int frameStyleWord(const FrameParts& parts);
// Reads the parts back from a style (-1, a mixed selection, ticks nothing).
FrameParts frameParts(int style);

// " 12 pt": a number in the signed-number format (a leading blank unless negative)
// followed by " pt"; fractions keep a point as their separator.
QString pointsText(double points);
// Line width in twips from its field: empty gives nothing; else the value rounded to
// whole points within 1..12.
std::optional<int> frameLineWidthTwips(const QString& text);
// Frame-to-text distance in twips from its field: empty gives nothing; else the value
// within 0..12 points.
std::optional<int> frameDistanceTwips(const QString& text);

// Header and footer distances: twips shown as whole millimetres and back.
constexpr double TwipsPerMillimetre = 56.7;
int millimetresFromTwips(int twips);
int twipsFromMillimetres(const QString& text);
// The text a millimetre field keeps when it loses the focus: above 100 becomes "100",
// below 0 becomes "0".
QString limitMillimetres(const QString& text);

// "A|B|C" as list entries, the last one being the text after the last "|".
QStringList exportFormatItems(const QString& formats);

} // namespace FormatRules
