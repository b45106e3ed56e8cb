// The RTF reader's words for tab stops, paragraph borders, outline levels and list
// levels (the rest of the table is in RtfControlWords.cpp).
#include "RtfParser.h"

#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "engine/objects/TabLeaders.h"

#include <algorithm>

namespace RtfRead {

namespace {

int styleOfNfc(int nfc)
{
    switch (nfc) {
    case 0: return QTextListFormat::ListDecimal;
    case 1: return QTextListFormat::ListUpperRoman;
    case 2: return QTextListFormat::ListLowerRoman;
    case 3: return QTextListFormat::ListUpperAlpha;
    case 4: return QTextListFormat::ListLowerAlpha;
    case 255: return 0; // no number at all (outline levels of headings)
    default: return QTextListFormat::ListDisc;
    }
}

double px(int twips) { return Document::twipsToPixels(qBound(-31680, twips, 31680)); }

} // namespace

bool Parser::listTableWord(const QByteArray& w, int p)
{
    State& s = st();
    if (w == "list") {
        curLevels = ListLevels();
    } else if (w == "listlevel") {
        if (curLevels.nfc.size() < 9) {
            curLevels.nfc << 0;
            curLevels.text << QString();
        }
    } else if ((w == "levelnfc" || w == "levelnfcn") && !curLevels.nfc.isEmpty()) {
        curLevels.nfc.last() = p;
    } else if (w == "leveltext") {
        s.levelText = true;
    } else if (w == "listid") {
        curListId = p;
        listTable.insert(p, curLevels);
    }
    return true;
}

bool Parser::listOf(const State& s, QTextListFormat* out, bool* parentNumbers) const
{
    int style = s.pnStyle;
    QString text;
    if (s.ls > 0) {
        const ListLevels levels = listTable.value(overrides.value(s.ls, -1));
        style = styleOfNfc(levels.nfc.value(s.ilvl, 23));
        // The level text starts with its length; without anything to show there is no label.
        text = levels.text.value(s.ilvl);
        if (!text.isEmpty() && text.at(0).unicode() < 32) {
            text = text.mid(1, text.at(0).unicode());
            if (text.isEmpty())
                style = 0;
        }
    }
    // A heading on an outline level shows no bullet of its own.
    if (s.outlineLevel >= 0 && style == QTextListFormat::ListDisc)
        style = 0;
    if (style == 0)
        return false;
    out->setStyle(QTextListFormat::Style(style));
    out->setIndent(s.ilvl + 1);
    // "1.1": the level's text shows the numbers of the levels above it.
    const qsizetype own = text.indexOf(QChar(s.ilvl));
    bool parents = false;
    for (qsizetype i = 0; i < own; ++i)
        parents = parents || text.at(i).unicode() < ushort(s.ilvl);
    *parentNumbers = parents;
    if (own >= 0 && style != QTextListFormat::ListDisc)
        out->setNumberSuffix(text.mid(own + 1));
    return true;
}

bool Parser::paragraphWord(const RtfToken& t)
{
    const QByteArray& w = t.word;
    const int p = t.param;
    State& s = st();
    QTextBlockFormat& bf = s.para.format;
    if (w == "deftab") {
        defaultTab = qBound(0, p, 31680);
        return true;
    }
    if (w == "tqr") { s.tabType = QTextOption::RightTab; return true; }
    if (w == "tqc") { s.tabType = QTextOption::CenterTab; return true; }
    if (w == "tqdec") { s.tabType = QTextOption::DelimiterTab; return true; }
    if (w == "tldot") { s.tabLeader = QLatin1Char('.'); return true; }
    if (w == "tlmdot") { s.tabLeader = QChar(0x00B7); return true; }
    if (w == "tlhyph") { s.tabLeader = QLatin1Char('-'); return true; }
    if (w == "tlul") { s.tabLeader = QLatin1Char('_'); return true; }
    if (w == "tlth" || w == "tleq") { s.tabLeader = QLatin1Char('='); return true; }
    if (w == "tx" || w == "tb") {
        QList<QTextOption::Tab> tabs = bf.tabPositions();
        if (tabs.size() < 64) {
            // The decimal separator of a German document: its comma.
            QTextOption::Tab tab(px(p), s.tabType, s.tabType == QTextOption::DelimiterTab ? QLatin1Char(',') : QChar());
            tabs << TabLeaders::with(tab, s.tabLeader);
            std::sort(tabs.begin(), tabs.end(), [](const auto& a, const auto& b) { return a.position < b.position; });
            bf.setTabPositions(tabs);
        }
        s.tabType = QTextOption::LeftTab;
        s.tabLeader = QChar();
        return true;
    }
    if (w == "brdrb") { s.ruleBelow = true; return true; }
    if (w == "hyphauto" || w == "hyphpar") {
        const bool on = !t.hasParam || p != 0;
        if (w == "hyphauto")
            hyphenateAll = on;
        if (on)
            bf.setProperty(EngineProperty::Hyphenate, true);
        else
            bf.clearProperty(EngineProperty::Hyphenate);
        return true;
    }
    if (w == "outlinelevel") { s.outlineLevel = qBound(0, p, 9); return true; }
    return false;
}

} // namespace RtfRead
