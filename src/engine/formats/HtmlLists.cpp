#include "HtmlLists.h"

#include "engine/EngineProperties.h"
#include "engine/objects/ListNumbers.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

namespace HtmlLists {

namespace {

// Leads the number prefix that carries our list mark through Qt's importer: private
// use, never in a file's text.
constexpr char16_t Mark = 0xE002;

bool isOrdered(QTextListFormat::Style s)
{
    return s == QTextListFormat::ListDecimal || s == QTextListFormat::ListLowerAlpha || s == QTextListFormat::ListUpperAlpha
           || s == QTextListFormat::ListLowerRoman || s == QTextListFormat::ListUpperRoman;
}

QString typeOf(QTextListFormat::Style s)
{
    switch (s) {
    case QTextListFormat::ListLowerAlpha: return QStringLiteral("a");
    case QTextListFormat::ListUpperAlpha: return QStringLiteral("A");
    case QTextListFormat::ListLowerRoman: return QStringLiteral("i");
    case QTextListFormat::ListUpperRoman: return QStringLiteral("I");
    case QTextListFormat::ListCircle: return QStringLiteral("circle");
    case QTextListFormat::ListSquare: return QStringLiteral("square");
    case QTextListFormat::ListDecimal: return QString();
    default: return QStringLiteral("disc"); // else a nested list would take the next bullet
    }
}

QString cssString(QString s) { return QLatin1Char('"') + s.replace(QLatin1Char('"'), QLatin1Char('\'')).toHtmlEscaped() + QLatin1Char('"'); }

// Whether the nearest item of a lower level before `b` is numbered.
bool underNumberedItem(const QTextBlock& b, int level)
{
    for (QTextBlock p = b.previous(); p.isValid(); p = p.previous())
        if (const QTextList* l = p.textList(); l && ListNumbers::levelOf(l->format()) < level)
            return isOrdered(l->format().style());
    return false;
}

} // namespace

QString Nesting::startTag(const QTextList* list, int level)
{
    const QTextListFormat f = list->format();
    const bool ordered = isOrdered(f.style());
    QString out = ordered ? QStringLiteral("<ol") : QStringLiteral("<ul");
    if (const QString type = typeOf(f.style()); !type.isEmpty())
        out += QStringLiteral(" type=\"%1\"").arg(type);
    const bool parent = f.boolProperty(EngineProperty::ListParentNumbers);
    // Qt's own indent as it is: the items' margins are written as they are.
    out += QStringLiteral(" style=\"-qt-list-indent: %1; -qx-list: %2 %3")
               .arg(f.indent())
               .arg(level)
               .arg(parent ? QStringLiteral("parent") : QStringLiteral("own"));
    if (!parent && !f.numberPrefix().isEmpty())
        out += QStringLiteral("; -qt-list-number-prefix: ") + cssString(f.numberPrefix());
    if (f.hasProperty(QTextFormat::ListNumberSuffix) && f.numberSuffix() != u".")
        out += QStringLiteral("; -qt-list-number-suffix: ") + cssString(f.numberSuffix());
    return out + QStringLiteral("\">\n");
}

QString Nesting::enter(const QTextList* list)
{
    if (!list)
        return closeAll();
    const int level = qMax(1, ListNumbers::levelOf(list->format()));
    QString out;
    // Deeper lists and other lists of the level end; the open item of the list ends
    // before its next item, and an item of a lower level takes the new list inside.
    while (!m_open.isEmpty()) {
        const Open& top = m_open.last();
        if (top.list == list)
            return out + QStringLiteral("</li>\n");
        if (top.level < level)
            break;
        out += top.ordered ? QStringLiteral("</li>\n</ol>\n") : QStringLiteral("</li>\n</ul>\n");
        m_open.removeLast();
    }
    m_open.append({list, level, isOrdered(list->format().style())});
    return out + startTag(list, level);
}

double Nesting::itemMargin(double left)
{
    if (m_open.isEmpty())
        return left;
    m_open.last().margin = left;
    double outer = 0;
    for (qsizetype i = 0; i + 1 < m_open.size(); ++i)
        outer += m_open[i].margin;
    return left - outer;
}

QString Nesting::closeAll()
{
    QString out;
    for (; !m_open.isEmpty(); m_open.removeLast())
        out += m_open.last().ordered ? QStringLiteral("</li>\n</ol>\n") : QStringLiteral("</li>\n</ul>\n");
    return out;
}

QString rewrite(const QString& source)
{
    static const QRegularExpression blanks(QStringLiteral("(</(?:p|ol|ul|li)>)\\s+(?=</?(?:ol|ul|li)\\b)"),
                                           QRegularExpression::CaseInsensitiveOption);
    QString html = source;
    html.replace(blanks, QStringLiteral("\\1"));
    // The mark and the list's own prefix ride on the prefix, which the importer keeps.
    static const QRegularExpression tag(QStringLiteral("<[ou]l\\b[^>]*-qx-list[^>]*>"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression mark(QStringLiteral("-qx-list\\s*:\\s*(\\d+)\\s+(parent|own)"));
    static const QRegularExpression prefix(QStringLiteral(";?\\s*-qt-list-number-prefix\\s*:\\s*\"([^\"]*)\""));
    QString out;
    qsizetype from = 0;
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        out += QStringView(html).mid(from, m.capturedStart() - from);
        from = m.capturedEnd();
        QString t = m.captured();
        const auto own = prefix.match(t);
        const QString given = own.hasMatch() ? own.captured(1) : QString();
        if (own.hasMatch())
            t.remove(own.capturedStart(), own.capturedLength());
        const auto k = mark.match(t);
        if (k.hasMatch())
            t.replace(k.capturedStart(), k.capturedLength(),
                      QStringLiteral("-qt-list-number-prefix: \"%1%2%3%1%4\"")
                          .arg(QString(QChar(Mark)), k.captured(1), k.captured(2).left(1), given));
        out += t;
    }
    out += QStringView(html).mid(from);
    return out;
}

void settle(QTextDocument* d)
{
    bool any = false;
    for (QTextBlock b = d->begin(); b.isValid(); b = b.next()) {
        QTextList* l = b.textList();
        if (!l || l->item(0) != b)
            continue;
        QTextListFormat f = l->format();
        const QString prefix = f.numberPrefix();
        if (prefix.startsWith(QChar(Mark))) {
            const qsizetype end = prefix.indexOf(QChar(Mark), 1);
            const QString code = prefix.mid(1, end < 0 ? -1 : end - 1);
            f.setProperty(EngineProperty::ListLevel, qBound(1, code.chopped(1).toInt(), 9));
            if (code.endsWith(u'p'))
                f.setProperty(EngineProperty::ListParentNumbers, true);
            f.setNumberPrefix(end < 0 ? QString() : prefix.mid(end + 1));
        } else {
            // Other programs' HTML: the nesting gave the level.
            const int level = f.indent();
            if (level < 2 || f.style() != QTextListFormat::ListDecimal || !prefix.isEmpty() || !underNumberedItem(b, level))
                continue;
            f.setProperty(EngineProperty::ListParentNumbers, true);
        }
        l->setFormat(f);
        any = true;
    }
    if (any)
        ListNumbers::update(d);
}

} // namespace HtmlLists
