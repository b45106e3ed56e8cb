#include "ShellRules.h"

#include "engine/surface/TextControl.h"

namespace ShellRules {

std::optional<HeaderFooterStep> headerFooterStep(const QString& key, int current)
{
    if (key == QLatin1String("SwitchBetweenHeaderAndFooter")) {
        switch (current) {
        case 1: return HeaderFooterStep{4, true};
        case 4: return HeaderFooterStep{1, true};
        case 2: return HeaderFooterStep{8, true};
        case 8: return HeaderFooterStep{2, true};
        default: return HeaderFooterStep{current, false}; // re-activates what is there
        }
    }
    if (key == QLatin1String("GoToFirstPage")) {
        if (current == 4)
            return HeaderFooterStep{8, false};
        if (current == 1)
            return HeaderFooterStep{2, false};
        return std::nullopt;
    }
    if (key == QLatin1String("GoToDefault")) {
        if (current == 8)
            return HeaderFooterStep{4, false};
        if (current == 2)
            return HeaderFooterStep{1, false};
        return std::nullopt;
    }
    return std::nullopt;
}

int zoomForWidth(int widthTwips)
{
    return qRound(widthTwips / 15.0 * 0.12);
}

QString undoCaption(int kind)
{
    switch (kind) {
    case 1: return QStringLiteral("Rückgängig Eingabe");
    case 2: return QStringLiteral("Rückgängig Löschen");
    case 3: return QStringLiteral("Rückgängig Formatierung");
    default: return QStringLiteral("Rückgängig");
    }
}

QString redoCaption(int kind)
{
    switch (kind) {
    case 10: return QStringLiteral("Wiederholen Eingabe");
    case 11: return QStringLiteral("Wiederholen Löschen");
    case 12: return QStringLiteral("Wiederholen Formatierung");
    default: return QStringLiteral("Wiederholen");
    }
}

int zoomFromCaption(const QString& caption)
{
    QString s = caption;
    s.remove(QLatin1Char('&'));
    int n = 0;
    for (const QChar c : s) {
        if (!c.isDigit())
            break;
        n = n * 10 + c.digitValue();
    }
    return n;
}

QString closeQuestion(const QString& title)
{
    return QStringLiteral("Der Inhalt von [") + title +
           QStringLiteral("] wurde verändert.\r\nWollen Sie die Änderungen speichern?");
}

QString positionMessage(const InputPosition& p)
{
    return QStringLiteral("Seite ") + QString::number(p.page) + QStringLiteral("   Zeile ") +
           QString::number(p.line) + QStringLiteral("   Zeichen ") + QString::number(p.column);
}

} // namespace ShellRules
