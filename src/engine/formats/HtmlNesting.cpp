#include "HtmlNesting.h"

#include <QHash>
#include <QList>
#include <QRegularExpression>

namespace HtmlNesting {

namespace {

enum class Kind { Other, Table, TablePart, Cell, Row, List, Item };

struct Open {
    QString name;
    Kind kind;
    bool dropped;
    QString tag; // of a list: its start tag, to open it again
    int items = 0;
};

bool oneOf(QStringView name, std::initializer_list<const char*> names)
{
    for (const char* n : names)
        if (name == QLatin1StringView(n))
            return true;
    return false;
}

Kind kindOf(QStringView name)
{
    if (name == u"table")
        return Kind::Table;
    if (name == u"td" || name == u"th")
        return Kind::Cell;
    if (name == u"tr")
        return Kind::Row;
    if (oneOf(name, {"thead", "tbody", "tfoot", "caption", "col", "colgroup"}))
        return Kind::TablePart;
    if (name == u"ul" || name == u"ol")
        return Kind::List;
    if (name == u"li")
        return Kind::Item;
    return Kind::Other;
}

bool isVoid(QStringView name)
{
    return oneOf(name, {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "param", "source",
                        "track", "wbr"});
}

// Elements whose end tag may be left out: a new one of the same group ends the last.
bool endsImplicitly(QStringView open, QStringView top)
{
    if (open == u"li" || open == u"p" || open == u"option" || open == u"tr")
        return top == open;
    if (open == u"td" || open == u"th")
        return top == u"td" || top == u"th";
    if (open == u"dt" || open == u"dd")
        return top == u"dt" || top == u"dd";
    return false;
}

bool isBlock(QStringView name)
{
    return oneOf(name, {"p", "div", "ul", "ol", "dl", "table", "h1", "h2", "h3", "h4", "h5", "h6", "blockquote",
                        "pre", "center", "hr", "form"});
}

// End of a tag starting at `from`, quotes respected; -1 when it never ends.
qsizetype tagEnd(const QString& html, qsizetype from)
{
    QChar quote;
    for (qsizetype i = from; i < html.size(); ++i) {
        const QChar c = html[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u'>') {
            return i;
        }
    }
    return -1;
}

// Qt's import makes a column for every column a cell spans, so colspan="100000" would
// build a grid of that width; the span is cut to one column more than a table keeps
// (a wider table becomes text after reading anyway).
QString withBoundedSpan(QStringView tag)
{
    static const QRegularExpression span(QStringLiteral("(colspan\\s*=\\s*[\"']?\\s*)(\\d+)"),
                                         QRegularExpression::CaseInsensitiveOption);
    QString out = tag.toString();
    const QRegularExpressionMatch m = span.match(out);
    if (m.hasMatch() && (m.capturedLength(2) > 4 || m.captured(2).toInt() > MaxColumnSpan))
        out.replace(m.capturedStart(2), m.capturedLength(2), QString::number(MaxColumnSpan));
    return out;
}

class Limiter {
public:
    explicit Limiter(const QString& html) : html(html) { out.reserve(html.size()); }

    QString run()
    {
        qsizetype pos = 0;
        while (pos < html.size()) {
            const qsizetype open = html.indexOf(QLatin1Char('<'), pos);
            if (open < 0)
                break;
            out += QStringView(html).mid(pos, open - pos);
            pos = tag(open);
        }
        out += QStringView(html).mid(pos);
        return out;
    }

private:
    // Handles the markup at `open` (a '<'); returns where the text goes on.
    qsizetype tag(qsizetype open)
    {
        if (html.mid(open, 4) == u"<!--") {
            const qsizetype end = html.indexOf(QStringLiteral("-->"), open + 4);
            const qsizetype next = end < 0 ? html.size() : end + 3;
            out += QStringView(html).mid(open, next - open);
            return next;
        }
        qsizetype nameStart = open + 1;
        const bool closing = nameStart < html.size() && html[nameStart] == u'/';
        if (closing)
            ++nameStart;
        qsizetype nameEnd = nameStart;
        while (nameEnd < html.size() && html[nameEnd].isLetterOrNumber())
            ++nameEnd;
        const qsizetype end = tagEnd(html, nameEnd);
        if (nameEnd == nameStart || end < 0) {
            out += QStringView(html).mid(open, nameEnd - open);
            return nameEnd;
        }
        const QString name = html.mid(nameStart, nameEnd - nameStart).toLower();
        const QStringView whole = QStringView(html).mid(open, end + 1 - open);
        if (!closing && (name == u"script" || name == u"style")) {
            // Their content is no markup.
            const qsizetype close = html.indexOf(QStringLiteral("</") + name, end, Qt::CaseInsensitive);
            const qsizetype next = close < 0 ? html.size() : close;
            out += QStringView(html).mid(open, next - open);
            return next;
        }
        if (closing)
            closeTag(name, whole);
        else if (isVoid(name) || whole.endsWith(u"/>"))
            out += whole;
        else
            openTag(name, whole);
        return end + 1;
    }

    void push(const QString& name, Kind kind, bool dropped, QStringView whole = {})
    {
        stack.append({name, kind, dropped, kind == Kind::List ? whole.toString() : QString()});
        ++counts[name];
        if (kind == Kind::Table)
            tableDrops.append(dropped);
        if (kind == Kind::List)
            listDrops.append(dropped);
    }

    Open pop()
    {
        Open o = stack.takeLast();
        --counts[o.name];
        if (o.kind == Kind::Table)
            tableDrops.removeLast();
        if (o.kind == Kind::List)
            listDrops.removeLast();
        return o;
    }

    void openTag(const QString& name, QStringView whole)
    {
        if (!stack.isEmpty() && (endsImplicitly(name, stack.last().name) || (isBlock(name) && stack.last().name == u"p")))
            pop();
        const Kind kind = kindOf(name);
        bool drop = int(stack.size()) >= MaxNesting;
        if (kind == Kind::Table)
            drop = drop || tableDrops.size() >= MaxTableNesting || ++tables > MaxTables;
        else if (kind == Kind::TablePart || kind == Kind::Cell || kind == Kind::Row)
            drop = drop || (!tableDrops.isEmpty() && tableDrops.last());
        else if (kind == Kind::List)
            drop = drop || listDrops.size() >= MaxListNesting;
        else if (kind == Kind::Item)
            drop = drop || (!listDrops.isEmpty() && listDrops.last());
        // Qt renumbers a whole list for every item it adds: a long list is cut into lists
        // of MaxListItems. Bullets look the same; numbered items past the first part become
        // paragraphs that start with their number.
        QString number;
        if (!drop && kind == Kind::Item && !stack.isEmpty() && stack.last().kind == Kind::List) {
            Open& list = stack.last();
            ++list.items;
            if (list.items > MaxListItems && list.name == u"ol") {
                // The list ends here; its later items are paragraphs led by their number.
                if (!list.dropped)
                    out += QStringLiteral("</ol>");
                list.dropped = true;
                drop = true;
                number = QStringLiteral("<p>%1. ").arg(list.items);
            } else if (list.items > 1 && (list.items - 1) % MaxListItems == 0) {
                out += QStringLiteral("</ul>") + list.tag;
            }
        }
        push(name, kind, drop, whole);
        if (!number.isEmpty())
            out += number;
        else if (!drop && kind == Kind::Cell)
            out += withBoundedSpan(whole);
        else if (!drop)
            out += whole;
        else if (kind == Kind::Item)
            out += QStringLiteral("<br>");
    }

    void closeTag(const QString& name, QStringView whole)
    {
        if (counts.value(name) <= 0) {
            out += whole; // Qt ignores an end tag without a start
            return;
        }
        // Elements left open inside end here too.
        for (;;) {
            const Open o = pop();
            if (o.name != name)
                continue;
            if (!o.dropped)
                out += whole;
            else if (o.kind == Kind::Cell)
                out += QLatin1Char(' ');
            else if (o.kind == Kind::Row)
                out += QStringLiteral("<br>");
            return;
        }
    }

    const QString& html;
    QString out;
    QList<Open> stack;
    QHash<QString, int> counts;
    // Per open table and list: whether it lost its tags.
    QList<bool> tableDrops;
    QList<bool> listDrops;
    int tables = 0;
};

} // namespace

QString limit(const QString& html) { return Limiter(html).run(); }

} // namespace HtmlNesting
