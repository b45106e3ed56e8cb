#pragma once
// The millimetre fields of the letter windows: only digits can be typed, and on
// leaving the field its number is held to its range ("150" in 80..120 becomes "120").

class QLineEdit;

namespace DigitField {

void attach(QLineEdit* field, int lo, int hi);

} // namespace DigitField
