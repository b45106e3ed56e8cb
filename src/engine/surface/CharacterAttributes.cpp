#include "CharacterAttributes.h"

#include <QFont>

QString CharacterAttributes::fontName(const QTextCharFormat& f)
{
    return f.hasProperty(QTextFormat::FontFamilies) ? f.fontFamilies().toStringList().value(0)
                                                    : QString();
}

double CharacterAttributes::fontSize(const QTextCharFormat& f)
{
    return f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize() : 0.0;
}

bool CharacterAttributes::bold(const QTextCharFormat& f)
{
    return f.hasProperty(QTextFormat::FontWeight) && f.fontWeight() >= QFont::DemiBold;
}

bool CharacterAttributes::italic(const QTextCharFormat& f)
{
    return f.hasProperty(QTextFormat::FontItalic) && f.fontItalic();
}

bool CharacterAttributes::underline(const QTextCharFormat& f)
{
    return f.hasProperty(QTextFormat::TextUnderlineStyle) && f.fontUnderline();
}

bool CharacterAttributes::strikeOut(const QTextCharFormat& f)
{
    return f.hasProperty(QTextFormat::FontStrikeOut) && f.fontStrikeOut();
}

QColor CharacterAttributes::foreground(const QTextCharFormat& f)
{
    return f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color() : QColor();
}

QColor CharacterAttributes::background(const QTextCharFormat& f)
{
    return f.hasProperty(QTextFormat::BackgroundBrush) ? f.background().color() : QColor();
}

QTextCharFormat CharacterAttributes::withFontName(const QString& name)
{
    QTextCharFormat f;
    f.setFontFamilies({name});
    return f;
}

QTextCharFormat CharacterAttributes::withFontSize(double points)
{
    QTextCharFormat f;
    f.setFontPointSize(points);
    return f;
}

QTextCharFormat CharacterAttributes::withBold(bool on)
{
    QTextCharFormat f;
    f.setFontWeight(on ? QFont::Bold : QFont::Normal);
    return f;
}

QTextCharFormat CharacterAttributes::withItalic(bool on)
{
    QTextCharFormat f;
    f.setFontItalic(on);
    return f;
}

QTextCharFormat CharacterAttributes::withUnderline(bool on)
{
    QTextCharFormat f;
    f.setFontUnderline(on);
    return f;
}

QTextCharFormat CharacterAttributes::withStrikeOut(bool on)
{
    QTextCharFormat f;
    f.setFontStrikeOut(on);
    return f;
}

QTextCharFormat CharacterAttributes::withForeground(const QColor& c)
{
    QTextCharFormat f;
    f.setForeground(c);
    return f;
}

QTextCharFormat CharacterAttributes::withBackground(const QColor& c)
{
    QTextCharFormat f;
    if (c.isValid())
        f.setBackground(c);
    else
        f.setBackground(Qt::NoBrush);
    return f;
}
