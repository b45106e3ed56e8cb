#include "HtmlPages.h"

#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "engine/objects/Fields.h"
#include "engine/objects/TabLeaders.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace HtmlPages {

namespace {

constexpr ushort PageMark = 0xE000, CountMark = 0xE001; // private use: never in a file's text
constexpr int TabStateBase = 0x51000;                 // block user states that stand for tab stops

struct PartName {
    int part;
    const char* title;
};
constexpr PartName kParts[] = {{1, "header"}, {2, "first-page-header"}, {4, "footer"}, {8, "first-page-footer"}};

QString pt(int twips) { return QString::number(twips / 20.0, 'f', 2) + QStringLiteral("pt"); }

// A CSS length in twips; -1 when it is none.
double twipsOf(const QString& value)
{
    static const QRegularExpression len(QStringLiteral("^([0-9.]+)\\s*(mm|cm|in|pt|pc|px)?$"));
    const auto m = len.match(value.trimmed().toLower());
    if (!m.hasMatch())
        return -1;
    const double v = m.captured(1).toDouble();
    const QString unit = m.captured(2);
    if (unit == u"mm") return v * 1440 / 25.4;
    if (unit == u"cm") return v * 1440 / 2.54;
    if (unit == u"in") return v * 1440;
    if (unit == u"pc") return v * 240;
    if (unit == u"px") return v * 15;
    return v * 20; // pt, and a bare number
}

QChar tabCode(QTextOption::TabType t)
{
    switch (t) {
    case QTextOption::RightTab: return QLatin1Char('r');
    case QTextOption::CenterTab: return QLatin1Char('c');
    case QTextOption::DelimiterTab: return QLatin1Char('d');
    default: return QLatin1Char('l');
    }
}

QList<QTextOption::Tab> parseTabs(const QString& text)
{
    QList<QTextOption::Tab> tabs;
    for (const QString& item : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const qsizetype colon = item.indexOf(QLatin1Char(':'));
        if (colon < 1)
            continue;
        bool ok = false;
        const double pos = item.mid(colon + 1).toDouble(&ok);
        const QChar leader(char16_t(qBound(0, item.mid(1, colon - 1).toInt(), 0xFFFF)));
        if (!ok || pos < 0 || pos > 5000 || tabs.size() >= 64)
            continue;
        switch (item.at(0).unicode()) {
        case 'r': tabs << TabLeaders::with(QTextOption::Tab(pos, QTextOption::RightTab), leader); break;
        case 'c': tabs << TabLeaders::with(QTextOption::Tab(pos, QTextOption::CenterTab), leader); break;
        case 'd': tabs << QTextOption::Tab(pos, QTextOption::DelimiterTab, QLatin1Char(',')); break;
        default: tabs << TabLeaders::with(QTextOption::Tab(pos, QTextOption::LeftTab), leader); break;
        }
    }
    std::sort(tabs.begin(), tabs.end(), [](const auto& a, const auto& b) { return a.position < b.position; });
    return tabs;
}

} // namespace

QString pageRule(const Document& doc)
{
    const PageGeometry& g = doc.page();
    return QStringLiteral("@page { size: %1 %2; margin: %3 %4 %5 %6; }\n")
        .arg(pt(g.width), pt(g.height), pt(g.marginT), pt(g.marginR), pt(g.marginB), pt(g.marginL));
}

QString partStart(const Document& doc, int part)
{
    for (const PartName& p : kParts)
        if (p.part == part)
            return QStringLiteral("<div title=\"%1\" data-distance=\"%2\">\n")
                .arg(QLatin1String(p.title))
                .arg(part == 1 || part == 2 ? doc.headerDistance() : doc.footerDistance());
    return QStringLiteral("<div>\n");
}

QString pageNumber(bool count)
{
    // As office programs write their page fields; the text is what a browser shows.
    return count ? QStringLiteral("<sdfield type=\"DOCSTAT\" subtype=\"PAGE\" format=\"PAGE\">1</sdfield>")
                 : QStringLiteral("<sdfield type=\"PAGE\" subtype=\"RANDOM\" format=\"PAGE\">1</sdfield>");
}

QString tabsAttribute(const QTextBlockFormat& f)
{
    const QList<QTextOption::Tab> tabs = f.tabPositions();
    if (tabs.isEmpty())
        return {};
    QStringList items;
    for (const QTextOption::Tab& t : tabs)
        items << QString(tabCode(t.type)) + (TabLeaders::of(t).isNull() ? QString() : QString::number(TabLeaders::of(t).unicode()))
                     + QLatin1Char(':') + QString::number(t.position, 'f', 2);
    return QStringLiteral("-qx-tabs: ") + items.join(QLatin1Char(' '));
}

void Reader::readPageRule(const QString& css)
{
    static const QRegularExpression rule(QStringLiteral("@page\\s*\\{([^}]*)\\}"), QRegularExpression::CaseInsensitiveOption);
    const auto m = rule.match(css);
    if (!m.hasMatch())
        return;
    for (const QString& decl : m.captured(1).split(QLatin1Char(';'))) {
        const qsizetype colon = decl.indexOf(QLatin1Char(':'));
        if (colon < 0)
            continue;
        const QString name = decl.left(colon).trimmed().toLower();
        const QStringList values = decl.mid(colon + 1).simplified().toLower().split(QLatin1Char(' '));
        if (name == u"size") {
            double w = -1, h = -1;
            bool landscape = false;
            for (const QString& v : values) {
                if (v == u"a4") w = 11906, h = 16838;
                else if (v == u"a5") w = 8391, h = 11906;
                else if (v == u"letter") w = 12240, h = 15840;
                else if (v == u"landscape") landscape = true;
                else if (const double t = twipsOf(v); t > 0) (w < 0 ? w : h) = t;
            }
            if (w > 0 && h < 0)
                h = w;
            if (landscape && w < h)
                std::swap(w, h);
            if (w > 0) {
                m_size[0] = w;
                m_size[1] = h;
            }
        } else if (name == u"margin") {
            // One to four values, clockwise from the top as in CSS.
            QList<double> t;
            for (const QString& v : values)
                t << twipsOf(v);
            if (t.isEmpty() || t.contains(-1))
                continue;
            m_margins[0] = t[0];
            m_margins[1] = t.value(1, t[0]);
            m_margins[2] = t.value(2, t[0]);
            m_margins[3] = t.value(3, t.value(1, t[0]));
        } else if (name.startsWith(u"margin-")) {
            const QString side = name.mid(7);
            const int i = side == u"top" ? 0 : side == u"right" ? 1 : side == u"bottom" ? 2 : side == u"left" ? 3 : -1;
            if (i >= 0 && twipsOf(values.value(0)) >= 0)
                m_margins[i] = twipsOf(values.value(0));
        }
    }
}

QString Reader::takeParts(const QString& html)
{
    static const QRegularExpression open(QStringLiteral("<div\\b[^>]*\\btitle\\s*=\\s*\"?([a-z-]+)\"?[^>]*>"),
                                         QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression distance(QStringLiteral("data-distance\\s*=\\s*\"?(\\d+)"));
    static const QRegularExpression divTag(QStringLiteral("<(/?)div\\b[^>]*>"), QRegularExpression::CaseInsensitiveOption);
    QString out;
    qsizetype from = 0;
    for (auto it = open.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.capturedStart() < from)
            continue;
        int part = 0;
        for (const PartName& p : kParts)
            if (m.captured(1).toLower() == QLatin1String(p.title))
                part = p.part;
        if (!part)
            continue;
        // The block ends at its own </div>, nested blocks counted.
        int depth = 1;
        qsizetype end = -1, after = -1;
        for (auto t = divTag.globalMatch(html, m.capturedEnd()); t.hasNext() && depth > 0;) {
            const auto tag = t.next();
            depth += tag.captured(1).isEmpty() ? 1 : -1;
            if (depth == 0) {
                end = tag.capturedStart();
                after = tag.capturedEnd();
            }
        }
        if (end < 0)
            break;
        const auto d = distance.match(m.captured(0));
        // Without the line ends around it: Qt's importer would add a blank to the text.
        m_parts.append({part, html.mid(m.capturedEnd(), end - m.capturedEnd()).trimmed(),
                        d.hasMatch() ? qBound(0, d.captured(1).toInt(), 31680) : -1});
        // Nor the line end before it, which would end the last paragraph in a blank.
        out += QStringView(html).mid(from, m.capturedStart() - from).trimmed();
        from = after;
    }
    out += QStringView(html).mid(from);
    return out;
}

QString Reader::prepare(const QString& html)
{
    static const QRegularExpression style(QStringLiteral("<style[^>]*>(.*?)</style>"),
                                          QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    for (auto it = style.globalMatch(html); it.hasNext();)
        readPageRule(it.next().captured(1));
    QString out = rewrite(takeParts(html));
    for (Part& p : m_parts)
        p.html = rewrite(p.html);
    return out;
}

QString Reader::rewrite(const QString& out)
{
    // Page fields become marks that finishText() turns into our own.
    static const QRegularExpression field(QStringLiteral("<sdfield\\b([^>]*)>(.*?)</sdfield>"),
                                          QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression pageType(QStringLiteral("\\btype\\s*=\\s*\"?page\\b"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression countType(QStringLiteral("\\btype\\s*=\\s*\"?docstat\\b.*\\bsubtype\\s*=\\s*\"?page\\b"),
                                              QRegularExpression::CaseInsensitiveOption);
    QString fields;
    qsizetype from = 0;
    for (auto it = field.globalMatch(out); it.hasNext();) {
        const auto m = it.next();
        fields += QStringView(out).mid(from, m.capturedStart() - from);
        if (pageType.match(m.captured(1)).hasMatch())
            fields += QChar(PageMark);
        else if (countType.match(m.captured(1)).hasMatch())
            fields += QChar(CountMark);
        else
            fields += m.captured(2);
        from = m.capturedEnd();
    }
    fields += QStringView(out).mid(from);
    // Tab stops ride on the block's user state, which Qt's importer keeps.
    static const QRegularExpression tabs(QStringLiteral("-qx-tabs\\s*:\\s*([^;\"'}]*)"));
    QString result;
    from = 0;
    for (auto it = tabs.globalMatch(fields); it.hasNext();) {
        const auto m = it.next();
        result += QStringView(fields).mid(from, m.capturedStart() - from);
        m_tabs << parseTabs(m.captured(1));
        result += QStringLiteral("-qt-user-state: %1").arg(TabStateBase + m_tabs.size() - 1);
        from = m.capturedEnd();
    }
    result += QStringView(fields).mid(from);
    return result;
}

void Reader::finishText(QTextDocument* d) const
{
    QTextCursor c(d);
    for (QTextBlock b = d->begin(); b.isValid(); b = b.next()) {
        const int state = b.userState() - TabStateBase;
        if (state >= 0 && state < m_tabs.size()) {
            QTextBlockFormat f = b.blockFormat();
            f.setTabPositions(m_tabs[state]);
            c.setPosition(b.position());
            c.setBlockFormat(f);
        }
        if (b.userState() >= TabStateBase)
            b.setUserState(-1);
    }
    for (ushort mark : {PageMark, CountMark}) {
        for (QTextCursor at = d->find(QString(QChar(mark))); !at.isNull(); at = d->find(QString(QChar(mark)), at)) {
            const QTextCharFormat shown = at.charFormat();
            at.removeSelectedText();
            at.setCharFormat(shown);
            const int id = Fields::insert(at, QString());
            Fields::setType(d, id, mark == PageMark ? FieldTypes::PageNumber : FieldTypes::PageCount);
        }
    }
}

void Reader::apply(Document& doc, const std::function<void(QTextDocument*, const QString&)>& importPart)
{
    if (hasPage()) {
        PageGeometry g = doc.page();
        if (m_size[0] > 0) {
            g.width = qRound(m_size[0]);
            g.height = qRound(m_size[1]);
        }
        int* sides[] = {&g.marginT, &g.marginR, &g.marginB, &g.marginL};
        for (int i = 0; i < 4; ++i)
            if (m_margins[i] >= 0)
                *sides[i] = qRound(m_margins[i]);
        doc.setPage(g);
    }
    int set = doc.headerFooterSet();
    for (const Part& p : m_parts)
        set |= p.part;
    doc.setHeaderFooterSet(set);
    for (const Part& p : m_parts) {
        QTextDocument* d = doc.headerFooter(p.part);
        importPart(d, p.html);
        finishText(d);
        if (p.distance >= 0) {
            if (p.part == 1 || p.part == 2)
                doc.setHeaderDistance(p.distance);
            else
                doc.setFooterDistance(p.distance);
        }
    }
}

} // namespace HtmlPages
