#include "HtmlLists.h"

#include "ListParts.h"
#include "engine/EngineProperties.h"
#include "engine/objects/ListNumbers.h"

#include <QHash>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

namespace HtmlLists {

namespace {

// Leads the number prefix that carries our list mark through Qt's importer: private
// use, never in a file's text.
constexpr char16_t Mark = 0xE002;
// Around an item's own number in front of its text, from <ol start> or <li value>.
constexpr char16_t NumberMark = 0xE003;
constexpr int MaxNumber = 999999;

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

// A CSS string inside a style attribute in double quotes: its own quotes as entities.
QString cssString(QString s)
{
    return QStringLiteral("&quot;") + s.replace(QLatin1Char('"'), QLatin1Char('\'')).toHtmlEscaped() + QStringLiteral("&quot;");
}

// Whether the nearest item of a lower level before `b` is numbered.
bool underNumberedItem(const QTextBlock& b, int level)
{
    for (QTextBlock p = b.previous(); p.isValid(); p = p.previous())
        if (const QTextList* l = p.textList(); l && ListNumbers::levelOf(l->format()) < level)
            return isOrdered(l->format().style());
    return false;
}

// Qt's importer drops <ol start> and <li value>: the number goes in front of the item's
// text between two marks (after a <p> that opens the item, as it shares its paragraph),
// and the attribute goes, so that a later Qt counting from it would not count twice.
QString markNumbers(const QString& html)
{
    static const QRegularExpression tag(QStringLiteral("<(ol|li)\\b[^>]*>(?:\\s*<p\\b[^>]*>)?"),
                                        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression attr(QStringLiteral("\\s(?:start|value)\\s*=\\s*([\"']?)\\s*([+-]?\\d+)\\s*\\1"),
                                         QRegularExpression::CaseInsensitiveOption);
    QString out;
    qsizetype from = 0;
    int start = -1; // of the list whose first item comes next
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        out += QStringView(html).mid(from, m.capturedStart() - from);
        from = m.capturedEnd();
        QString t = m.captured();
        int number = -1;
        if (const auto a = attr.match(t.left(t.indexOf(QLatin1Char('>')))); a.hasMatch()) {
            bool ok = false;
            const qlonglong n = a.captured(2).toLongLong(&ok);
            if (ok)
                number = int(qBound(0LL, n, qlonglong(MaxNumber)));
            t.remove(a.capturedStart(), a.capturedLength());
        }
        out += t;
        if (m.captured(1).compare(QLatin1String("ol"), Qt::CaseInsensitive) == 0) {
            start = number;
            continue;
        }
        if (number < 0)
            number = start;
        start = -1;
        if (number >= 0)
            out += QChar(NumberMark) + QString::number(number) + QChar(NumberMark);
    }
    out += QStringView(html).mid(from);
    return out;
}

// The numbers markNumbers() put in front of items, by paragraph number; the marks go.
QHash<int, int> takeNumbers(QTextDocument* d)
{
    QHash<int, int> numbers;
    for (QTextBlock b = d->begin(); b.isValid(); b = b.next()) {
        const QString text = b.text();
        const qsizetype open = text.indexOf(QChar(NumberMark));
        const qsizetype close = open < 0 ? -1 : text.indexOf(QChar(NumberMark), open + 1);
        if (close < 0)
            continue;
        numbers.insert(b.blockNumber(), text.mid(open + 1, close - open - 1).toInt());
        QTextCursor c(d);
        c.setPosition(b.position() + int(open));
        c.setPosition(b.position() + int(close) + 1, QTextCursor::KeepAnchor);
        c.removeSelectedText();
    }
    return numbers;
}

// The list that `l`, starting at number n, goes on from: the nearest earlier list of its
// level and look, when its n - 1 items end before l begins and no item of a lower level
// stands between them.
QTextList* continued(const QTextList* l, int n)
{
    if (n <= 1)
        return nullptr;
    const QTextListFormat f = l->format();
    const int level = ListNumbers::levelOf(f);
    for (QTextBlock b = l->item(0).previous(); b.isValid(); b = b.previous()) {
        QTextList* p = b.textList();
        if (!p || ListNumbers::levelOf(p->format()) > level)
            continue;
        const QTextListFormat pf = p->format();
        if (ListNumbers::levelOf(pf) < level || pf.style() != f.style() || pf.numberSuffix() != f.numberSuffix()
            || p->count() != n - 1 || p->item(p->count() - 1) != b)
            return nullptr;
        return p;
    }
    return nullptr;
}

// Numbered lists with numbers of their own: one that goes on from an earlier list joins
// it; from the first item whose number Qt would not show, items become paragraphs that
// start with their number. True when any did.
bool applyNumbers(QTextDocument* d, const QHash<int, int>& numbers)
{
    QList<QTextList*> lists;
    for (QTextBlock b = d->begin(); b.isValid(); b = b.next())
        if (QTextList* l = b.textList(); l && l->item(0) == b && isOrdered(l->format().style()))
            lists << l;
    bool joined = false, hung = false;
    for (QTextList* l : std::as_const(lists)) {
        QList<QTextBlock> items;
        QList<int> wanted;
        bool given = false;
        for (int i = 0, previous = 0; i < l->count(); ++i) {
            const QTextBlock b = l->item(i);
            given = given || numbers.contains(b.blockNumber());
            previous = numbers.value(b.blockNumber(), previous + 1);
            items << b;
            wanted << previous;
        }
        if (!given)
            continue;
        if (QTextList* earlier = continued(l, wanted.first())) {
            for (const QTextBlock& b : std::as_const(items))
                earlier->add(b);
            l = earlier;
            joined = true;
        }
        const int first = l->itemNumber(items.first()) + 1;
        qsizetype k = 0;
        while (k < items.size() && wanted[k] == first + k)
            ++k;
        const QTextListFormat f = l->format();
        for (qsizetype i = k; i < items.size(); ++i) {
            l->remove(items[i]); // the paragraph keeps the list's indent
            ListParts::hangNumber(QTextCursor(items[i]), ListParts::itemText(f, wanted[i]));
            hung = true;
        }
    }
    if (joined || hung)
        ListNumbers::update(d);
    return hung;
}

} // namespace

QString Nesting::startTag(const QTextList* list, int level, int number)
{
    const QTextListFormat f = list->format();
    const bool ordered = isOrdered(f.style());
    QString out = ordered ? QStringLiteral("<ol") : QStringLiteral("<ul");
    if (const QString type = typeOf(f.style()); !type.isEmpty())
        out += QStringLiteral(" type=\"%1\"").arg(type);
    if (ordered && number != 1)
        out += QStringLiteral(" start=\"%1\"").arg(number);
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

QString Nesting::enter(const QTextList* list, int number)
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
    return out + startTag(list, level, number);
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
    static const QRegularExpression prefix(QStringLiteral(";?\\s*-qt-list-number-prefix\\s*:\\s*(?:&quot;(.*?)&quot;|\"([^\"]*)\")"));
    QString out;
    qsizetype from = 0;
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        out += QStringView(html).mid(from, m.capturedStart() - from);
        from = m.capturedEnd();
        QString t = m.captured();
        const auto own = prefix.match(t);
        const QString given = own.hasMatch() ? own.captured(1) + own.captured(2) : QString();
        if (own.hasMatch())
            t.remove(own.capturedStart(), own.capturedLength());
        const auto k = mark.match(t);
        if (k.hasMatch())
            t.replace(k.capturedStart(), k.capturedLength(),
                      QStringLiteral("-qt-list-number-prefix: &quot;%1%2%3%1%4&quot;")
                          .arg(QString(QChar(Mark)), k.captured(1), k.captured(2).left(1), given));
        out += t;
    }
    out += QStringView(html).mid(from);
    return markNumbers(out);
}

bool settle(QTextDocument* d)
{
    const QHash<int, int> numbers = takeNumbers(d);
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
    return !numbers.isEmpty() && applyNumbers(d, numbers);
}

} // namespace HtmlLists
