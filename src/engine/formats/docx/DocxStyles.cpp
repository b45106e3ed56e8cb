#include "DocxStyles.h"

#include "DocxNames.h"
#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "engine/objects/TabLeaders.h"

#include <cmath>
#include <QFont>

using ZipPackage::XmlNode;

namespace Docx {

namespace {

const QLatin1StringView kVal("val");

double px(int twips) { return Document::twipsToPixels(twips); }

QColor colorOf(const QString& hexText)
{
    if (hexText.size() != 6)
        return {};
    return QColor(QLatin1Char('#') + hexText);
}

QTextListFormat::Style listStyleOf(const QString& fmt, const QString& text)
{
    if (fmt == u"lowerLetter")
        return QTextListFormat::ListLowerAlpha;
    if (fmt == u"upperLetter")
        return QTextListFormat::ListUpperAlpha;
    if (fmt == u"lowerRoman")
        return QTextListFormat::ListLowerRoman;
    if (fmt == u"upperRoman")
        return QTextListFormat::ListUpperRoman;
    if (fmt == u"bullet") {
        // Word's "o" in Courier New and the hollow bullet look like a circle, its
        // Wingdings square like a square.
        if (text == u"o" || text == u"\u25E6" || text == u"\u25CB")
            return QTextListFormat::ListCircle;
        if (text == u"\u25AA" || text == u"\u25A0" || text == u"\uF0A7" || text == u"\uF06E")
            return QTextListFormat::ListSquare;
        return QTextListFormat::ListDisc;
    }
    return QTextListFormat::ListDecimal;
}

Level levelOf(const XmlNode& lvl)
{
    Level l;
    QString fmt = QStringLiteral("decimal"), text;
    for (const XmlNode& c : lvl.children) {
        if (c.is(W, QLatin1StringView("numFmt")))
            fmt = c.attr(W, kVal);
        else if (c.is(W, QLatin1StringView("lvlText")))
            text = c.attr(W, kVal);
        else if (c.is(W, QLatin1StringView("start")))
            l.start = intAttr(c, kVal, 1);
        else if (c.is(W, QLatin1StringView("pPr")))
            if (const XmlNode* ind = c.child(W, QLatin1StringView("ind"))) {
                l.left = intAttr(*ind, QLatin1StringView("left"), intAttr(*ind, QLatin1StringView("start"), INT_MIN));
                l.hanging = intAttr(*ind, QLatin1StringView("hanging"), 0);
            }
    }
    l.bullet = fmt == u"bullet" || fmt == u"none";
    l.style = listStyleOf(fmt, text);
    if (!l.bullet) {
        const qsizetype pct = text.indexOf(QLatin1Char('%'));
        const qsizetype last = text.lastIndexOf(QLatin1Char('%'));
        l.prefix = pct > 0 ? text.left(pct) : QString();
        l.suffix = last >= 0 ? text.mid(last + 2) : QString();
        // "%1.%2." numbers the parents too: the list's prefix then follows its parent item.
        const QString own = QLatin1Char('%') + QString::number(intAttr(lvl, QLatin1StringView("ilvl")) + 1);
        const QString before = text.left(qMax(qsizetype(0), text.indexOf(own)));
        for (int up = 1; up < own.mid(1).toInt() && !l.parentNumbers; ++up)
            l.parentNumbers = before.contains(QLatin1Char('%') + QString::number(up));
        if (l.parentNumbers)
            l.prefix.clear();
    }
    return l;
}

} // namespace

bool isOn(const XmlNode& n)
{
    const QString v = n.attr(W, kVal);
    return !(v == u"0" || v == u"false" || v == u"off" || v == u"none");
}

int intAttr(const XmlNode& n, QLatin1StringView name, int fallback)
{
    // Far beyond any page or list (A0 is 67,000 twips wide), yet a few such values
    // added up still fit an int.
    constexpr int kLimit = 100000000;
    bool ok = false;
    const QString text = n.attr(W, name);
    const int v = text.toInt(&ok);
    if (ok)
        return qBound(-kLimit, v, kLimit);
    // Some writers give fractional twips or units ("12pt").
    const double d = text.toDouble(&ok);
    return ok && std::isfinite(d) ? int(qBound(double(-kLimit), d, double(kLimit))) : fallback;
}

void ParaProps::mergeFrom(const ParaProps& o)
{
    block.merge(o.block);
    if (o.numId >= 0)
        numId = o.numId;
    if (o.ilvl >= 0)
        ilvl = o.ilvl;
    if (o.heading > 0)
        heading = o.heading;
    if (o.left != INT_MIN)
        left = o.left;
    if (o.right != INT_MIN)
        right = o.right;
    if (o.first != INT_MIN)
        first = o.first;
}

QString Styles::themeFont(const QString& which) const
{
    return which.startsWith(QLatin1String("major")) ? m_majorFont : m_minorFont;
}

QTextCharFormat Styles::runProperties(const XmlNode* rPr) const
{
    QTextCharFormat f;
    if (!rPr)
        return f;
    for (const XmlNode& c : rPr->children) {
        if (c.ns != W)
            continue;
        const QString& n = c.name;
        if (n == u"rFonts") {
            QString family = c.attr(W, QLatin1StringView("ascii"));
            if (family.isEmpty())
                family = c.attr(W, QLatin1StringView("hAnsi"));
            if (family.isEmpty() && c.hasAttr(W, QLatin1StringView("asciiTheme")))
                family = themeFont(c.attr(W, QLatin1StringView("asciiTheme")));
            if (!family.isEmpty())
                f.setFontFamilies({family});
        } else if (n == u"b") {
            f.setFontWeight(isOn(c) ? QFont::Bold : QFont::Normal);
        } else if (n == u"i") {
            f.setFontItalic(isOn(c));
        } else if (n == u"strike" || n == u"dstrike") {
            f.setFontStrikeOut(isOn(c));
        } else if (n == u"caps") {
            f.setFontCapitalization(isOn(c) ? QFont::AllUppercase : QFont::MixedCase);
        } else if (n == u"smallCaps") {
            f.setFontCapitalization(isOn(c) ? QFont::SmallCaps : QFont::MixedCase);
        } else if (n == u"u") {
            f.setFontUnderline(isOn(c));
        } else if (n == u"color") {
            const QColor col = colorOf(c.attr(W, kVal));
            if (col.isValid())
                f.setForeground(col);
        } else if (n == u"sz") {
            const int half = intAttr(c, kVal, 0);
            if (half > 0)
                f.setFontPointSize(qBound(1, half, 3276) / 2.0);
        } else if (n == u"highlight") {
            const QString v = c.attr(W, kVal);
            for (const Highlight& h : kHighlights)
                if (v == QLatin1String(h.name))
                    f.setBackground(QColor::fromRgb(h.rgb));
        } else if (n == u"shd") {
            const QColor col = colorOf(c.attr(W, QLatin1StringView("fill")));
            if (col.isValid() && c.attr(W, kVal) != u"nil")
                f.setBackground(col);
        } else if (n == u"vertAlign") {
            const QString v = c.attr(W, kVal);
            f.setVerticalAlignment(v == u"superscript" ? QTextCharFormat::AlignSuperScript
                                   : v == u"subscript" ? QTextCharFormat::AlignSubScript
                                                        : QTextCharFormat::AlignNormal);
        } else if (n == u"vanish" && isOn(c)) {
            m_unsupported.insert(QStringLiteral("verborgener Text (wird angezeigt)"));
        }
    }
    return f;
}

ParaProps Styles::paragraphProperties(const XmlNode* pPr) const
{
    ParaProps p;
    if (!pPr)
        return p;
    for (const XmlNode& c : pPr->children) {
        if (c.ns != W)
            continue;
        const QString& n = c.name;
        if (n == u"jc") {
            const QString v = c.attr(W, kVal);
            if (v == u"center")
                p.block.setAlignment(Qt::AlignHCenter);
            else if (v == u"right" || v == u"end")
                p.block.setAlignment(Qt::AlignRight);
            else if (v == u"both" || v == u"distribute")
                p.block.setAlignment(Qt::AlignJustify);
            else
                p.block.setAlignment(Qt::AlignLeft);
        } else if (n == u"ind") {
            p.left = intAttr(c, QLatin1StringView("left"), intAttr(c, QLatin1StringView("start"), p.left));
            p.right = intAttr(c, QLatin1StringView("right"), intAttr(c, QLatin1StringView("end"), p.right));
            if (c.hasAttr(W, QLatin1StringView("hanging")))
                p.first = -intAttr(c, QLatin1StringView("hanging"));
            else if (c.hasAttr(W, QLatin1StringView("firstLine")))
                p.first = intAttr(c, QLatin1StringView("firstLine"));
        } else if (n == u"spacing") {
            if (c.hasAttr(W, QLatin1StringView("before")))
                p.block.setTopMargin(px(intAttr(c, QLatin1StringView("before"))));
            if (c.hasAttr(W, QLatin1StringView("after")))
                p.block.setBottomMargin(px(intAttr(c, QLatin1StringView("after"))));
            if (c.hasAttr(W, QLatin1StringView("line"))) {
                const int line = intAttr(c, QLatin1StringView("line"));
                const QString rule = c.attr(W, QLatin1StringView("lineRule"), QStringLiteral("auto"));
                if (rule == u"exact")
                    p.block.setLineHeight(px(qAbs(line)), QTextBlockFormat::FixedHeight);
                else if (rule == u"atLeast")
                    p.block.setLineHeight(px(line), QTextBlockFormat::MinimumHeight);
                else if (line > 0)
                    p.block.setLineHeight(line * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
            }
        } else if (n == u"tabs") {
            QList<QTextOption::Tab> tabs;
            for (const XmlNode& t : c.children) {
                if (!t.is(W, QLatin1StringView("tab")))
                    continue;
                const QString v = t.attr(W, kVal);
                if (v == u"clear" || v == u"bar" || v == u"num")
                    continue;
                QTextOption::Tab tab;
                tab.position = px(intAttr(t, QLatin1StringView("pos")));
                tab.type = (v == u"right" || v == u"end") ? QTextOption::RightTab
                           : v == u"center"               ? QTextOption::CenterTab
                           : v == u"decimal"              ? QTextOption::DelimiterTab
                                                          : QTextOption::LeftTab;
                if (tab.type == QTextOption::DelimiterTab)
                    tab.delimiter = QLatin1Char(',');
                else
                    for (const Leader& l : kLeaders)
                        if (t.attr(W, QLatin1StringView("leader")) == QLatin1String(l.name))
                            tab = TabLeaders::with(tab, QChar(l.leader));
                if (tab.position >= 0)
                    tabs << tab;
            }
            std::sort(tabs.begin(), tabs.end(), [](const QTextOption::Tab& a, const QTextOption::Tab& b) { return a.position < b.position; });
            p.block.setTabPositions(tabs);
        } else if (n == u"pageBreakBefore") {
            p.block.setPageBreakPolicy(isOn(c) ? QTextFormat::PageBreak_AlwaysBefore : QTextFormat::PageBreak_Auto);
        } else if (n == u"numPr") {
            if (const XmlNode* id = c.child(W, QLatin1StringView("numId")))
                p.numId = intAttr(*id, kVal, 0);
            if (const XmlNode* lv = c.child(W, QLatin1StringView("ilvl")))
                p.ilvl = qBound(0, intAttr(*lv, kVal, 0), 8);
        } else if (n == u"outlineLvl") {
            const int lvl = intAttr(c, kVal, 9);
            if (lvl >= 0 && lvl < 6)
                p.heading = lvl + 1;
        } else if (n == u"pBdr") {
            int bits = 0, width = 0, space = 0;
            bool dbl = false;
            for (const XmlNode& s : c.children) {
                const QString v = s.attr(W, kVal);
                if (s.ns != W || v.isEmpty() || v == u"none" || v == u"nil")
                    continue;
                const int bit = s.name == u"top" ? 0x04 : s.name == u"bottom" ? 0x08 : (s.name == u"left" || s.name == u"start") ? 0x01
                                : (s.name == u"right" || s.name == u"end") ? 0x02 : 0;
                bits |= bit;
                dbl = dbl || v == u"double";
                width = qMax(width, intAttr(s, QLatin1StringView("sz")) * 20 / 8);
                space = qMax(space, intAttr(s, QLatin1StringView("space")) * 20);
            }
            if (bits) {
                p.block.setProperty(EngineProperty::FrameStyle, bits | (dbl ? 0x40 : 0x20));
                p.block.setProperty(EngineProperty::FrameLineWidth, width);
                p.block.setProperty(EngineProperty::FrameDistance, space);
            }
        } else if (n == u"framePr") {
            m_unsupported.insert(QStringLiteral("positionierte Absatzrahmen"));
        }
    }
    return p;
}

void Styles::read(const XmlNode* styles, const XmlNode* numbering, const XmlNode* theme)
{
    m_minorFont = QStringLiteral("Calibri");
    m_majorFont = QStringLiteral("Calibri Light");
    if (theme) {
        // a:theme/a:themeElements/a:fontScheme/a:majorFont|a:minorFont/a:latin@typeface
        if (const XmlNode* el = theme->child(A, QLatin1StringView("themeElements")))
            if (const XmlNode* fs = el->child(A, QLatin1StringView("fontScheme"))) {
                for (const auto& [name, target] : {std::pair{"majorFont", &m_majorFont}, {"minorFont", &m_minorFont}})
                    if (const XmlNode* f = fs->child(A, QLatin1StringView(name)))
                        if (const XmlNode* latin = f->child(A, QLatin1StringView("latin")))
                            if (QString face = latin->attr(QString(), QLatin1StringView("typeface")); !face.isEmpty())
                                *target = face;
            }
    }
    // Word's defaults when a file states none: Times New Roman 10 pt.
    m_defaultChars.setFontFamilies({QStringLiteral("Times New Roman")});
    m_defaultChars.setFontPointSize(10);
    if (styles) {
        for (const XmlNode& c : styles->children) {
            if (c.is(W, QLatin1StringView("docDefaults"))) {
                if (const XmlNode* rd = c.child(W, QLatin1StringView("rPrDefault")))
                    m_defaultChars.merge(runProperties(rd->child(W, QLatin1StringView("rPr"))));
                if (const XmlNode* pd = c.child(W, QLatin1StringView("pPrDefault")))
                    m_defaultParaProps = paragraphProperties(pd->child(W, QLatin1StringView("pPr")));
            } else if (c.is(W, QLatin1StringView("style"))) {
                Style s;
                s.id = c.attr(W, QLatin1StringView("styleId"));
                s.type = c.attr(W, QLatin1StringView("type"));
                if (const XmlNode* n = c.child(W, QLatin1StringView("name")))
                    s.name = n->attr(W, kVal);
                if (const XmlNode* b = c.child(W, QLatin1StringView("basedOn")))
                    s.basedOn = b->attr(W, kVal);
                s.para = paragraphProperties(c.child(W, QLatin1StringView("pPr")));
                s.chars = runProperties(c.child(W, QLatin1StringView("rPr")));
                const QString lower = s.name.toLower();
                if (s.para.heading == 0 && lower.startsWith(QLatin1String("heading ")))
                    s.para.heading = qBound(0, lower.mid(8).toInt(), 6);
                if (const XmlNode* tp = c.child(W, QLatin1StringView("tblPr")))
                    if (const XmlNode* tb = tp->child(W, QLatin1StringView("tblBorders")))
                        for (const XmlNode& side : tb->children)
                            if (!side.isText() && side.attr(W, kVal) != u"none" && side.attr(W, kVal) != u"nil")
                                s.tableBorders = true;
                if (s.type == u"paragraph" && isOn(c) && c.hasAttr(W, QLatin1StringView("default")))
                    m_defaultPara = s.id;
                m_styles.insert(s.id, s);
            }
        }
    }
    if (numbering) {
        for (const XmlNode& c : numbering->children) {
            if (c.is(W, QLatin1StringView("abstractNum"))) {
                QHash<int, Level>& levels = m_abstract[intAttr(c, QLatin1StringView("abstractNumId"), -1)];
                for (const XmlNode& lvl : c.children)
                    if (lvl.is(W, QLatin1StringView("lvl")))
                        levels.insert(intAttr(lvl, QLatin1StringView("ilvl")), levelOf(lvl));
            } else if (c.is(W, QLatin1StringView("num"))) {
                const int id = intAttr(c, QLatin1StringView("numId"), -1);
                if (const XmlNode* a = c.child(W, QLatin1StringView("abstractNumId")))
                    m_numToAbstract.insert(id, intAttr(*a, kVal, -1));
                for (const XmlNode& o : c.children)
                    if (o.is(W, QLatin1StringView("lvlOverride")))
                        if (const XmlNode* lvl = o.child(W, QLatin1StringView("lvl")))
                            m_overrides[id].insert(intAttr(o, QLatin1StringView("ilvl")), levelOf(*lvl));
            }
        }
    }
}

ParaProps Styles::paragraphStyle(const QString& id) const
{
    QList<const Style*> chain;
    QString at = id.isEmpty() ? m_defaultPara : id;
    while (!at.isEmpty() && chain.size() < 20) {
        auto it = m_styles.constFind(at);
        if (it == m_styles.cend())
            break;
        chain.prepend(&*it);
        at = it->basedOn;
    }
    ParaProps p = m_defaultParaProps;
    for (const Style* s : chain)
        p.mergeFrom(s->para);
    return p;
}

QTextCharFormat Styles::charStyle(const QString& id) const
{
    QList<const Style*> chain;
    QString at = id;
    while (!at.isEmpty() && chain.size() < 20) {
        auto it = m_styles.constFind(at);
        if (it == m_styles.cend())
            break;
        chain.prepend(&*it);
        at = it->basedOn;
    }
    QTextCharFormat f;
    for (const Style* s : chain)
        f.merge(s->chars);
    return f;
}

bool Styles::tableStyleHasBorders(const QString& id) const
{
    QString at = id;
    for (int i = 0; i < 20 && !at.isEmpty(); ++i) {
        auto it = m_styles.constFind(at);
        if (it == m_styles.cend())
            return false;
        if (it->tableBorders)
            return true;
        at = it->basedOn;
    }
    return false;
}

QFont Styles::defaultFont() const
{
    QFont f(m_defaultChars.fontFamilies().toStringList().value(0, QStringLiteral("Times New Roman")));
    f.setPointSizeF(m_defaultChars.hasProperty(QTextFormat::FontPointSize) ? m_defaultChars.fontPointSize() : 10);
    return f;
}

const Level* Styles::level(int numId, int ilvl) const
{
    if (auto o = m_overrides.constFind(numId); o != m_overrides.cend())
        if (auto l = o->constFind(ilvl); l != o->cend())
            return &*l;
    auto a = m_abstract.constFind(m_numToAbstract.value(numId, -1));
    if (a == m_abstract.cend())
        return nullptr;
    auto l = a->constFind(ilvl);
    return l == a->cend() ? nullptr : &*l;
}

} // namespace Docx
