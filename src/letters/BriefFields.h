#pragma once
// Rules of the letter composer's fields that need no window: the clamped millimetre
// fields, the letter-text font file, the record number handed over by the companion
// program and the small-screen test.

#include <QString>

namespace BriefFields {

// The text a clamped field shows after leaving it: its leading number held to
// lo..hi ("150" with 80..120 gives "120", "" with 5..30 gives "5"); a number inside
// the range is kept as typed.
QString clamped(const QString& text, int lo, int hi);
// True when `text` may stand in a digit-only field.
bool digitsOnly(const QString& text);

// The number of the address to preselect: the numeric value of the start option
// ("17" gives 17, "noBrief" or nothing gives 0).
qint64 handedOverRecord(const QString& startOption);

// The composer is scaled down on screens exactly 800 pixels wide with fewer than 15
// twips per pixel (more than 96 dots per inch).
bool needsSmallLayout(int screenWidth, double dotsPerInch);

} // namespace BriefFields
