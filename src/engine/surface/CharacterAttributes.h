#pragma once
// The surface's character attributes read from a common format (absent = mixed: an
// empty name, 0, false or an invalid colour) and the one-property formats that set them.

#include <QColor>
#include <QString>
#include <QTextCharFormat>

class CharacterAttributes {
public:
    static QString fontName(const QTextCharFormat& f);
    static double fontSize(const QTextCharFormat& f);
    static bool bold(const QTextCharFormat& f);
    static bool italic(const QTextCharFormat& f);
    static bool underline(const QTextCharFormat& f);
    static bool strikeOut(const QTextCharFormat& f);
    static QColor foreground(const QTextCharFormat& f);
    static QColor background(const QTextCharFormat& f);

    static QTextCharFormat withFontName(const QString& name);
    static QTextCharFormat withFontSize(double points);
    static QTextCharFormat withBold(bool on);
    static QTextCharFormat withItalic(bool on);
    static QTextCharFormat withUnderline(bool on);
    static QTextCharFormat withStrikeOut(bool on);
    static QTextCharFormat withForeground(const QColor& c);
    // An invalid colour removes the background.
    static QTextCharFormat withBackground(const QColor& c);
};
