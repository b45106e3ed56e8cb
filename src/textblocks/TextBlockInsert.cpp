#include "TextBlockInsert.h"

#include "engine/surface/TextControl.h"

#include <QGuiApplication>
#include <QPalette>

namespace TextBlockInsert {

QColor windowTextColour() {
    return QGuiApplication::palette().color(QPalette::WindowText);
}

QColor colour(qint32 number) {
    if (number < 0)
        return windowTextColour();
    int r = 0, g = 0, b = 0;
    TextBlockFile::colourParts(number, &r, &g, &b);
    return QColor(r, g, b);
}

QString toEditText(const QString& fileText) {
    QString t = fileText;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

QString toFileText(const QString& editText) {
    QString t = toEditText(editText);
    t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return t;
}

void write(TextControl& surface, const TextBlock& block) {
    // Attributes first, so the inserted text takes them.
    if (!block.FontName.isEmpty())
        surface.setFontName(block.FontName);
    surface.setFontSize(block.FontSize);
    surface.setFontBold(block.Bold);
    surface.setFontItalic(block.Italic);
    surface.setFontUnderline(block.Underline);
    surface.setFontStrikethru(block.Strikethru);
    surface.setForeColor(colour(block.Colour));
    surface.setSelText(block.Text);
    resetFont(surface);
}

void resetFont(TextControl& surface) {
    surface.setFontName(QStringLiteral("Arial"));
    surface.setFontSize(10);
    surface.setFontBold(false);
    surface.setFontItalic(false);
    surface.setFontUnderline(false);
    surface.setFontStrikethru(false);
    surface.setForeColor(windowTextColour());
}

} // namespace TextBlockInsert
