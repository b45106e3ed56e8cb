#include "OdtStyles.h"

#include "OdtNames.h"
#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "engine/objects/TabLeaders.h"

#include <QFont>

using ZipPackage::XmlNode;

namespace Odt {

namespace {

QLatin1StringView L(const char* s) { return QLatin1StringView(s); }
double px(double twips) { return Document::twipsToPixels(twips); }

// A stop's leader: its character where one is given, else the first of its line style.
// Line styles that no character draws take the nearest one, and the reader says so.
QChar leaderOf(const XmlNode& stop, QSet<QString>& unsupported)
{
    const QString style = stop.attr(STYLE, L("leader-style"));
    if (style.isEmpty() || style == u"none")
        return {};
    const QString text = stop.attr(STYLE, L("leader-text")).trimmed();
    QChar leader = text.isEmpty() ? QChar() : text.at(0);
    for (const Leader& l : kLeaders)
        if (leader.isNull() && style == QLatin1String(l.style))
            leader = QChar(l.leader);
    static const std::pair<const char*, const char*> nearest[] = {
        {"long-dash", "Füllzeichen aus langen Strichen (als kurze Striche übernommen)"},
        {"dot-dash", "Füllzeichen aus Strichen und Punkten (als Punkte übernommen)"},
        {"dot-dot-dash", "Füllzeichen aus Strichen und Punkten (als Punkte übernommen)"},
        {"wave", "Füllzeichen in Wellenform (als durchgehende Linie übernommen)"}};
    for (const auto& [name, note] : nearest)
        if (text.isEmpty() && style == QLatin1String(name))
            unsupported.insert(QString::fromUtf8(note));
    if (leader.isNull())
        leader = QLatin1Char('.');
    return leader == u'_' && stop.attr(STYLE, L("leader-width")) == u"bold" ? QChar(u'=') : leader;
}

bool length(const XmlNode& n, const QString& ns, const char* name, double* twips)
{
    bool ok = false;
    const double v = twipsOf(n.attr(ns, L(name)), &ok);
    if (ok)
        *twips = v;
    return ok;
}

QString unquoted(QString s)
{
    s = s.trimmed();
    if (s.size() >= 2 && (s.startsWith(QLatin1Char('\'')) || s.startsWith(QLatin1Char('"'))))
        s = s.mid(1, s.size() - 2);
    return s;
}

// "0.5pt solid #000000": a line unless "none" or of no width.
bool isLine(const QString& border) { return !border.isEmpty() && border != u"none" && !border.startsWith(QLatin1String("0pt")); }

} // namespace

void Styles::parseProperties(const XmlNode& style, OdtStyle& into) const
{
    into.parent = style.attr(STYLE, L("parent-style-name"));
    into.masterPage = style.attr(STYLE, L("master-page-name"));
    into.node = &style;
    if (const XmlNode* t = style.child(STYLE, L("text-properties"))) {
        QTextCharFormat& f = into.chars;
        if (t->attr(FO, L("hyphenate")) == u"true")
            into.block.setProperty(EngineProperty::Hyphenate, true);
        QString family = m_fontFaces.value(t->attr(STYLE, L("font-name")));
        if (family.isEmpty())
            family = unquoted(t->attr(FO, L("font-family")));
        if (!family.isEmpty())
            f.setFontFamilies({family});
        const QString size = t->attr(FO, L("font-size"));
        double tw = 0;
        if (size.endsWith(QLatin1Char('%'))) {
            const double base = m_default.hasProperty(QTextFormat::FontPointSize) ? m_default.fontPointSize() : 12;
            f.setFontPointSize(qBound(1.0, base * size.chopped(1).toDouble() / 100, 1600.0));
        } else if (length(*t, FO, "font-size", &tw) && tw > 0) {
            f.setFontPointSize(qBound(1.0, tw / 20, 1600.0));
        }
        if (t->hasAttr(FO, L("font-weight"))) {
            const QString w = t->attr(FO, L("font-weight"));
            f.setFontWeight(w == u"bold" || w.toInt() >= 600 ? QFont::Bold : QFont::Normal);
        }
        if (t->hasAttr(FO, L("font-style")))
            f.setFontItalic(t->attr(FO, L("font-style")) == u"italic" || t->attr(FO, L("font-style")) == u"oblique");
        if (t->hasAttr(STYLE, L("text-underline-style")))
            f.setFontUnderline(t->attr(STYLE, L("text-underline-style")) != u"none");
        if (t->hasAttr(STYLE, L("text-line-through-style")))
            f.setFontStrikeOut(t->attr(STYLE, L("text-line-through-style")) != u"none");
        if (const QColor c(t->attr(FO, L("color"))); c.isValid())
            f.setForeground(c);
        if (const QString bg = t->attr(FO, L("background-color")); bg != u"transparent" && QColor(bg).isValid())
            f.setBackground(QColor(bg));
        if (t->hasAttr(STYLE, L("text-position"))) {
            const QString pos = t->attr(STYLE, L("text-position"));
            const double v = pos.section(QLatin1Char(' '), 0, 0).remove(QLatin1Char('%')).toDouble();
            f.setVerticalAlignment(pos.startsWith(QLatin1String("super")) || v > 0 ? QTextCharFormat::AlignSuperScript
                                   : pos.startsWith(QLatin1String("sub")) || v < 0 ? QTextCharFormat::AlignSubScript
                                                                                   : QTextCharFormat::AlignNormal);
        }
        if (t->attr(FO, L("text-transform")) == u"uppercase")
            f.setFontCapitalization(QFont::AllUppercase);
        if (t->attr(FO, L("font-variant")) == u"small-caps")
            f.setFontCapitalization(QFont::SmallCaps);
    }
    if (const XmlNode* p = style.child(STYLE, L("paragraph-properties"))) {
        QTextBlockFormat& b = into.block;
        double tw = 0;
        if (length(*p, FO, "margin-left", &tw))
            b.setLeftMargin(px(qMax(0.0, tw)));
        if (length(*p, FO, "margin-right", &tw))
            b.setRightMargin(px(qMax(0.0, tw)));
        if (length(*p, FO, "margin-top", &tw))
            b.setTopMargin(px(qMax(0.0, tw)));
        if (length(*p, FO, "margin-bottom", &tw))
            b.setBottomMargin(px(qMax(0.0, tw)));
        if (length(*p, FO, "text-indent", &tw))
            b.setTextIndent(px(tw));
        const QString align = p->attr(FO, L("text-align"));
        if (align == u"center")
            b.setAlignment(Qt::AlignHCenter);
        else if (align == u"end" || align == u"right")
            b.setAlignment(Qt::AlignRight);
        else if (align == u"justify")
            b.setAlignment(Qt::AlignJustify);
        else if (align == u"start" || align == u"left")
            b.setAlignment(Qt::AlignLeft);
        const QString line = p->attr(FO, L("line-height"));
        if (line.endsWith(QLatin1Char('%')))
            b.setLineHeight(line.chopped(1).toDouble(), QTextBlockFormat::ProportionalHeight);
        else if (length(*p, FO, "line-height", &tw))
            b.setLineHeight(px(tw), QTextBlockFormat::FixedHeight);
        else if (length(*p, STYLE, "line-height-at-least", &tw))
            b.setLineHeight(px(tw), QTextBlockFormat::MinimumHeight);
        int breaks = 0;
        if (p->attr(FO, L("break-before")) == u"page")
            breaks |= QTextFormat::PageBreak_AlwaysBefore;
        if (p->attr(FO, L("break-after")) == u"page")
            breaks |= QTextFormat::PageBreak_AlwaysAfter;
        if (breaks)
            b.setPageBreakPolicy(QTextFormat::PageBreakFlags(breaks));
        if (const XmlNode* stops = p->child(STYLE, L("tab-stops"))) {
            QList<QTextOption::Tab> tabs;
            for (const XmlNode& t : stops->children) {
                if (!t.is(STYLE, L("tab-stop")))
                    continue;
                const QString type = t.attr(STYLE, L("type"));
                QTextOption::Tab tab;
                tab.position = px(twipsOf(t.attr(STYLE, L("position"))));
                tab.type = type == u"right" ? QTextOption::RightTab : type == u"center" ? QTextOption::CenterTab
                           : type == u"char" ? QTextOption::DelimiterTab : QTextOption::LeftTab;
                if (tab.type == QTextOption::DelimiterTab)
                    tab.delimiter = (t.attr(STYLE, L("char")) + QLatin1Char(',')).at(0);
                else
                    tab = TabLeaders::with(tab, leaderOf(t, m_unsupported));
                tabs << tab;
            }
            std::sort(tabs.begin(), tabs.end(), [](const auto& a, const auto& b) { return a.position < b.position; });
            b.setTabPositions(tabs);
        }
        int bits = 0;
        bool dbl = false;
        double width = 0, padding = 0;
        const std::pair<const char*, int> sides[] = {{"left", 0x01}, {"right", 0x02}, {"top", 0x04}, {"bottom", 0x08}};
        for (const auto& [side, bit] : sides) {
            QString border = p->attr(FO, L((QByteArray("border-") + side).constData()));
            if (border.isEmpty())
                border = p->attr(FO, L("border"));
            if (!isLine(border))
                continue;
            bits |= bit;
            dbl = dbl || border.contains(QLatin1String("double"));
            width = qMax(width, twipsOf(border.section(QLatin1Char(' '), 0, 0)));
            double pad = 0;
            if (length(*p, FO, (QByteArray("padding-") + side).constData(), &pad) || length(*p, FO, "padding", &pad))
                padding = qMax(padding, pad);
        }
        if (bits) {
            b.setProperty(EngineProperty::FrameStyle, bits | (dbl ? 0x40 : 0x20));
            b.setProperty(EngineProperty::FrameLineWidth, qRound(width));
            b.setProperty(EngineProperty::FrameDistance, qRound(padding));
        }
    }
}

void Styles::add(const XmlNode& root, bool contentPart)
{
    for (const XmlNode& section : root.children) {
        if (section.is(OFFICE, L("font-face-decls"))) {
            for (const XmlNode& f : section.children)
                if (f.is(STYLE, L("font-face")))
                    m_fontFaces.insert(f.attr(STYLE, L("name")), unquoted(f.attr(SVG, L("font-family"))));
            continue;
        }
        const bool automatic = section.is(OFFICE, L("automatic-styles"));
        if (!automatic && !section.is(OFFICE, L("styles")))
            continue;
        QHash<QString, OdtStyle>& styles = automatic ? (contentPart ? m_content : m_styles) : m_common;
        QHash<QString, const XmlNode*>& lists = automatic ? (contentPart ? m_listContent : m_listStyles) : m_listCommon;
        for (const XmlNode& s : section.children) {
            if (s.is(STYLE, L("default-style")) && s.attr(STYLE, L("family")) == u"paragraph") {
                OdtStyle d;
                parseProperties(s, d);
                m_default.merge(d.chars);
            } else if (s.is(STYLE, L("style"))) {
                OdtStyle st;
                parseProperties(s, st);
                styles.insert(s.attr(STYLE, L("name")), st);
            } else if (s.is(TEXT, L("list-style"))) {
                lists.insert(s.attr(STYLE, L("name")), &s);
            }
        }
    }
}

const OdtStyle* Styles::find(const QString& name, bool contentPart) const
{
    const QHash<QString, OdtStyle>& own = contentPart ? m_content : m_styles;
    if (auto it = own.constFind(name); it != own.cend())
        return &*it;
    if (auto it = m_common.constFind(name); it != m_common.cend())
        return &*it;
    return nullptr;
}

// The style and its parents, the farthest parent first (at most 20, against loops).
QList<const OdtStyle*> Styles::chainOf(const QString& name, bool contentPart) const
{
    QList<const OdtStyle*> chain;
    QString at = name;
    while (!at.isEmpty() && chain.size() < 20) {
        const OdtStyle* s = find(at, contentPart);
        if (!s)
            break;
        chain.prepend(s);
        at = s->parent;
    }
    return chain;
}

QTextBlockFormat Styles::paragraph(const QString& name, bool contentPart) const
{
    const QList<const OdtStyle*> chain = chainOf(name, contentPart);
    QTextBlockFormat f;
    for (const OdtStyle* s : chain)
        f.merge(s->block);
    return f;
}

QTextCharFormat Styles::text(const QString& name, bool contentPart) const
{
    const QList<const OdtStyle*> chain = chainOf(name, contentPart);
    QTextCharFormat f;
    for (const OdtStyle* s : chain)
        f.merge(s->chars);
    return f;
}

QString Styles::masterPageOf(const QString& name, bool contentPart) const
{
    const OdtStyle* s = find(name, contentPart);
    return s ? s->masterPage : QString();
}

const XmlNode* Styles::node(const QString& name, bool contentPart) const
{
    const OdtStyle* s = find(name, contentPart);
    return s ? s->node : nullptr;
}

LevelStyle Styles::listLevel(const QString& listStyle, int level, bool contentPart) const
{
    LevelStyle l;
    l.text = 360 * (level + 1);
    l.marker = l.text - 360;
    const QHash<QString, const XmlNode*>& own = contentPart ? m_listContent : m_listStyles;
    const XmlNode* style = own.value(listStyle, m_listCommon.value(listStyle));
    if (!style)
        return l;
    for (const XmlNode& lv : style->children) {
        if (lv.isText() || lv.attr(TEXT, L("level")).toInt() != level)
            continue;
        if (lv.name == u"list-level-style-bullet") {
            const QString ch = lv.attr(TEXT, L("bullet-char"));
            l.style = (ch == u"\u25E6" || ch == u"\u25CB" || ch == u"o") ? QTextListFormat::ListCircle
                      : (ch == u"\u25AA" || ch == u"\u25A0") ? QTextListFormat::ListSquare : QTextListFormat::ListDisc;
        } else if (lv.name == u"list-level-style-number") {
            const QString fmt = lv.attr(STYLE, L("num-format"), QStringLiteral("1"));
            l.style = fmt == u"a" ? QTextListFormat::ListLowerAlpha : fmt == u"A" ? QTextListFormat::ListUpperAlpha
                      : fmt == u"i" ? QTextListFormat::ListLowerRoman : fmt == u"I" ? QTextListFormat::ListUpperRoman
                                                                    : QTextListFormat::ListDecimal;
            l.prefix = lv.attr(STYLE, L("num-prefix"));
            l.suffix = lv.attr(STYLE, L("num-suffix"));
            l.parentNumbers = lv.attr(TEXT, L("display-levels")).toInt() > 1;
        }
        if (const XmlNode* props = lv.child(STYLE, L("list-level-properties"))) {
            if (const XmlNode* align = props->child(STYLE, L("list-level-label-alignment"))) {
                l.text = qRound(twipsOf(align->attr(FO, L("margin-left"))));
                l.marker = l.text + qRound(twipsOf(align->attr(FO, L("text-indent"))));
            } else {
                const double start = twipsOf(props->attr(TEXT, L("space-before")));
                l.marker = qRound(start);
                l.text = qRound(start + twipsOf(props->attr(TEXT, L("min-label-width"))));
            }
        }
    }
    return l;
}

QFont Styles::defaultFont() const
{
    QFont f(m_default.fontFamilies().toStringList().value(0, QStringLiteral("Liberation Serif")));
    f.setPointSizeF(m_default.hasProperty(QTextFormat::FontPointSize) ? m_default.fontPointSize() : 12);
    return f;
}

} // namespace Odt
