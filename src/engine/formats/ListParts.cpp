#include "engine/formats/ListParts.h"

#include <QFontMetricsF>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

namespace {

bool isNumbered(QTextListFormat::Style s)
{
    return s != QTextListFormat::ListDisc && s != QTextListFormat::ListCircle && s != QTextListFormat::ListSquare
           && s != QTextListFormat::ListStyleUndefined;
}

QString roman(int n)
{
    static const struct { int value; const char* digits; } table[] = {
        {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
        {40, "xl"}, {10, "x"}, {9, "ix"}, {5, "v"}, {4, "iv"}, {1, "i"}};
    QString s;
    for (const auto& t : table)
        for (; n >= t.value; n -= t.value)
            s += QLatin1String(t.digits);
    return s;
}

QString letters(int n)
{
    QString s;
    for (; n > 0; n = (n - 1) / 26)
        s.prepend(QChar(u'a' + (n - 1) % 26));
    return s;
}

} // namespace

QString ListParts::itemText(const QTextListFormat& f, int n)
{
    QString number;
    switch (f.style()) {
    case QTextListFormat::ListLowerAlpha: number = letters(n); break;
    case QTextListFormat::ListUpperAlpha: number = letters(n).toUpper(); break;
    // Roman numbers past 4999 would need bars over the letters.
    case QTextListFormat::ListLowerRoman: number = n < 5000 ? roman(n) : QString::number(n); break;
    case QTextListFormat::ListUpperRoman: number = n < 5000 ? roman(n).toUpper() : QString::number(n); break;
    default: number = QString::number(n); break;
    }
    const QString suffix = f.hasProperty(QTextFormat::ListNumberSuffix) ? f.numberSuffix() : QStringLiteral(".");
    return f.numberPrefix() + number + suffix;
}

QTextList* ListParts::add(QTextCursor& c, QTextList* list, const QTextListFormat& f)
{
    if (!list)
        return c.createList(f);
    if (list->count() < MaxItems) {
        list->add(c.block());
        return list;
    }
    const QTextListFormat lf = list->format();
    if (!isNumbered(lf.style()))
        return c.createList(lf);
    QTextBlockFormat bf = c.blockFormat();
    bf.setIndent(bf.indent() + lf.indent()); // the list's own indent, which Qt adds to its items
    c.setBlockFormat(bf);
    hangNumber(c, itemText(lf, MaxItems + ++m_pastCut[list]));
    return list;
}

void ListParts::hangNumber(QTextCursor c, const QString& number)
{
    // The number's right edge one blank before where the text starts, as a list's label.
    const QString shown = number + QLatin1Char(' ');
    const QTextCharFormat mark = c.block().charFormat();
    const QFont font = mark.font().resolve(c.document()->defaultFont());
    QTextBlockFormat bf = c.blockFormat();
    bf.setTextIndent(-QFontMetricsF(font).horizontalAdvance(shown));
    c.setBlockFormat(bf);
    c.movePosition(QTextCursor::StartOfBlock);
    c.insertText(shown, mark);
}

QString ListParts::lastItemText(const QTextList* list) const
{
    if (!list || list->count() == 0)
        return QString();
    const int past = m_pastCut.value(list);
    return past > 0 ? itemText(list->format(), MaxItems + past) : list->itemText(list->item(list->count() - 1));
}
