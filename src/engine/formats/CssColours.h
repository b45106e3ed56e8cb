#pragma once
// Colours in CSS as browsers read them, for Qt's HTML importer, which reads
// "transparent" as black without alpha, "inherit", "initial" and newer names
// (rebeccapurple) as black, and #RRGGBBAA as #AARRGGBB.

#include <QColor>
#include <QString>

namespace CssColours {

// A CSS colour value (a keyword, #hex, rgb(), rgba(), hsl(), hsla()); `none` is set
// for a value that paints nothing (transparent, an alpha of 0, inherit, currentColor,
// a system colour). Part transparency is mixed with the white of the page. Invalid
// QColor when the value holds no colour at all.
QColor parse(QStringView value, bool* none);

// The colour declarations of style attributes and <style> elements rewritten: a colour
// that paints nothing loses its declaration, every other one becomes #rrggbb.
// `pictures` is set when a background named a picture, which the document cannot show.
QString normalise(const QString& html, bool* pictures = nullptr);

} // namespace CssColours
