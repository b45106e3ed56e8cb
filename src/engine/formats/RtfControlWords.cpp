#include "RtfParser.h"

#include "engine/Document.h"
#include "engine/EngineProperties.h"

#include <QTextDocument>
#include <algorithm>

namespace RtfRead {

namespace {

// Single-byte Windows code page of an RTF font character set; 0 when unknown.
int codePageOfCharset(int charset)
{
    switch (charset) {
    case 0: return 1252;
    case 238: return 1250;
    case 204: return 1251;
    case 161: return 1253;
    case 162: return 1254;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 163: return 1258;
    case 222: return 874;
    default: return 0;
    }
}

// Control words that open a destination to be ignored entirely.
bool isSkippedDestination(const QByteArray& w)
{
    static const QList<QByteArray> names{"info", "stylesheet", "listtext", "nonshppict", "objdata",
                                         "objclass", "filetbl", "revtbl", "xe", "tc", "template", "author",
                                         "operator", "title", "subject", "keywords", "comment", "doccomm"};
    return names.contains(w);
}

} // namespace

void Parser::word(const RtfToken& t)
{
    const QByteArray& w = t.word;
    const int p = t.param;
    State& s = st();
    const bool wasStarred = starred;
    starred = false;
    if (s.dest == Dest::Skip)
        return;

    // Destinations.
    if (w == "fonttbl") { s.dest = Dest::FontTable; return; }
    if (w == "colortbl") { s.dest = Dest::ColorTable; return; }
    if (w == "listtable") { s.dest = Dest::ListTable; return; }
    if (w == "listoverridetable") { s.dest = Dest::ListOverride; return; }
    if (w == "pict") {
        s.dest = Dest::Pict;
        pict.clear();
        pictHex = -1;
        pictKind.clear();
        picW = picH = picWGoal = picHGoal = 0;
        picScaleX = picScaleY = 100;
        pictProps = RtfShapes::Shape();
        return;
    }
    if (w == "pntext") { s.dest = Dest::Skip; return; }
    if (w == "pn") { s.dest = Dest::PnText; return; }
    if (fieldWord(w, p, wasStarred))
        return;
    if (objectWord(w, p, wasStarred))
        return;
    int part = 0;
    if (w == "header" || w == "headerl" || w == "headerr") part = 1;
    else if (w == "headerf") part = 2;
    else if (w == "footer" || w == "footerl" || w == "footerr") part = 4;
    else if (w == "footerf") part = 8;
    if (part) {
        s.dest = Dest::Body;
        s.sink = sections == 0 ? partSink(part) : sectionPartSink(sections, part);
        s.isHeaderPart = true;
        s.part = part;
        s.frame = {};
        s.para = RtfParagraph();
        s.inTable = false;
        return;
    }
    if (isSkippedDestination(w) || (wasStarred && w != "shppict" && w != "listtable"
                                    && w != "listoverridetable" && w != "pn")) {
        s.dest = Dest::Skip;
        return;
    }
    if (s.dest == Dest::Skip)
        return;

    // Tables of fonts, colours and lists.
    if (s.dest == Dest::FontTable) {
        if (w == "f") fontNumber = p;
        else if (w == "fcharset") {
            const int cp = codePageOfCharset(p);
            if (cp)
                fontCodePages.insert(fontNumber, cp);
        }
        return;
    }
    if (s.dest == Dest::ColorTable) {
        if (w == "red") red = qBound(0, p, 255);
        else if (w == "green") green = qBound(0, p, 255);
        else if (w == "blue") blue = qBound(0, p, 255);
        return;
    }
    if (s.dest == Dest::ListTable) {
        listTableWord(w, p);
        return;
    }
    if (s.dest == Dest::ListOverride) {
        if (w == "listid") curOverrideList = p;
        else if (w == "ls") overrides.insert(p, curOverrideList);
        return;
    }
    if (s.dest == Dest::PnText) {
        // Old-style numbering of the paragraph (\pn destination); the state is the
        // paragraph's, one level up.
        if (stack.size() < 2)
            return;
        State& para = stack[stack.size() - 2];
        if (w == "pnlvlblt") para.pnStyle = QTextListFormat::ListDisc;
        else if (w == "pndec") para.pnStyle = QTextListFormat::ListDecimal;
        else if (w == "pnucrm") para.pnStyle = QTextListFormat::ListUpperRoman;
        else if (w == "pnlcrm") para.pnStyle = QTextListFormat::ListLowerRoman;
        else if (w == "pnucltr") para.pnStyle = QTextListFormat::ListUpperAlpha;
        else if (w == "pnlcltr") para.pnStyle = QTextListFormat::ListLowerAlpha;
        return;
    }
    if (s.dest == Dest::Pict) {
        if (w == "pngblip") pictKind = "png";
        else if (w == "jpegblip") pictKind = "jpeg";
        else if (w == "picw") picW = p;
        else if (w == "pich") picH = p;
        else if (w == "picwgoal") picWGoal = qBound(0, p, 31680 * 4);
        else if (w == "pichgoal") picHGoal = qBound(0, p, 31680 * 4);
        else if (w == "picscalex") picScaleX = p;
        else if (w == "picscaley") picScaleY = p;
        return;
    }
    if (s.dest == Dest::FieldInst) {
        return;
    }

    // Document and section.
    if (pageSettings.word(w, p))
        return;
    if (w == "deff") { defaultFont = p; return; }
    if (w == "ansicpg") {
        // Only single-byte Windows code pages; others read as 1252.
        if ((p >= 1250 && p <= 1258) || p == 874)
            ansiCodePage = s.codePage = p;
        return;
    }
    if (w == "uc") { s.uc = qBound(0, p, 10); return; }

    // Special characters.
    if (w == "par") { endParagraph(); return; }
    if (w == "line") { text(QString(QChar::LineSeparator)); return; }
    if (w == "tab") { text(QStringLiteral("\t")); return; }
    if (w == "page") {
        if (!s.sink->paragraphIsEmpty())
            endParagraph();
        s.sink->pageBreak();
        return;
    }
    if (w == "emdash") { text(QStringLiteral("\u2014")); return; }
    if (w == "endash") { text(QStringLiteral("\u2013")); return; }
    if (w == "bullet") { text(QStringLiteral("\u2022")); return; }
    if (w == "lquote") { text(QStringLiteral("\u2018")); return; }
    if (w == "rquote") { text(QStringLiteral("\u2019")); return; }
    if (w == "ldblquote") { text(QStringLiteral("\u201C")); return; }
    if (w == "rdblquote") { text(QStringLiteral("\u201D")); return; }
    if (w == "u") {
        text(QString(QChar(char16_t(p < 0 ? p + 65536 : p))));
        skipChars = s.uc;
        return;
    }

    // Paragraph.
    QTextBlockFormat& bf = s.para.format;
    if (w == "pard") {
        s.para = RtfParagraph();
        if (hyphenateAll)
            s.para.format.setProperty(EngineProperty::Hyphenate, true);
        s.frame = {};
        s.inTable = false;
        s.ls = s.ilvl = 0;
        s.pnStyle = 0;
        s.tabType = QTextOption::LeftTab;
        s.tabLeader = QChar();
        s.ruleBelow = false;
        s.outlineLevel = -1;
        return;
    }
    if (paragraphWord(t))
        return;
    if (w == "ql") { bf.setAlignment(Qt::AlignLeft); return; }
    if (w == "qr") { bf.setAlignment(Qt::AlignRight); return; }
    if (w == "qc") { bf.setAlignment(Qt::AlignHCenter); return; }
    if (w == "qj") { bf.setAlignment(Qt::AlignJustify); return; }
    auto px = [](int v) { return Document::twipsToPixels(qBound(-31680, v, 31680)); };
    if (w == "li") { bf.setLeftMargin(px(p)); return; }
    if (w == "ri") { bf.setRightMargin(px(p)); return; }
    if (w == "fi") { bf.setTextIndent(px(p)); return; }
    if (w == "sb") { bf.setTopMargin(px(p)); return; }
    if (w == "sa") { bf.setBottomMargin(px(p)); return; }
    if (w == "sl") {
        if (p == 0 || !t.hasParam)
            bf.setLineHeight(0, QTextBlockFormat::SingleHeight);
        else if (p < 0)
            bf.setLineHeight(px(-p), QTextBlockFormat::FixedHeight);
        else
            bf.setLineHeight(px(p), QTextBlockFormat::MinimumHeight);
        return;
    }
    if (w == "slmult") {
        if (p == 1 && bf.lineHeightType() == QTextBlockFormat::MinimumHeight)
            bf.setLineHeight(qRound(bf.lineHeight() * 15 / 240.0 * 100), QTextBlockFormat::ProportionalHeight);
        return;
    }
    if (s.dest == Dest::Body && s.frame.word(w, p))
        return;
    if (w == "pagebb") { bf.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore); return; }
    if (w == "ls") { s.ls = qMax(0, p); return; }
    if (w == "ilvl") { s.ilvl = qBound(0, p, 8); return; }

    // Tables.
    if (rowDef.word(w, p, t.hasParam, colors))
        return;
    if (w == "intbl") { s.inTable = true; return; }
    if (w == "cell" || w == "nestcell") {
        if (s.dest == Dest::Body)
            s.sink->endCell(s.para);
        return;
    }
    if (w == "row" || w == "nestrow") {
        if (s.dest == Dest::Body)
            s.sink->endRow(rowDef);
        return;
    }

    // Characters.
    QTextCharFormat& cf = s.cf;
    const bool on = !t.hasParam || p != 0;
    if (w == "plain") {
        const QTextCharFormat before = cf;
        cf = QTextCharFormat();
        if (fonts.contains(defaultFont))
            cf.setFontFamilies({fonts.value(defaultFont)});
        cf.setFontPointSize(12);
        RtfFields::keepAcrossPlain(before, cf);
        return;
    }
    if (w == "b") { cf.setFontWeight(on ? QFont::Bold : QFont::Normal); return; }
    if (w == "i") { cf.setFontItalic(on); return; }
    if (w == "ul" || w == "uld" || w == "uldb" || w == "ulw" || w == "uldash" || w == "ulth") {
        cf.setFontUnderline(on);
        return;
    }
    if (w == "ulnone") { cf.setFontUnderline(false); return; }
    if (w == "strike" || w == "striked") { cf.setFontStrikeOut(on); return; }
    if (w == "f") {
        if (fonts.contains(p))
            cf.setFontFamilies({fonts.value(p)});
        s.codePage = fontCodePages.value(p, ansiCodePage);
        return;
    }
    if (w == "fs") { cf.setFontPointSize(qBound(1, t.hasParam ? p : 24, 3276) / 2.0); return; }
    if (w == "cf") {
        const QColor c = colors.value(p);
        if (p > 0 && c.isValid())
            cf.setForeground(c);
        else
            cf.clearForeground();
        return;
    }
    if (w == "cb" || w == "chcbpat" || w == "highlight") {
        const QColor c = colors.value(p);
        if (p > 0 && c.isValid())
            cf.setBackground(c);
        else
            cf.clearBackground();
        return;
    }
    if (w == "super") { cf.setVerticalAlignment(QTextCharFormat::AlignSuperScript); return; }
    if (w == "sub") { cf.setVerticalAlignment(QTextCharFormat::AlignSubScript); return; }
    if (w == "nosupersub") { cf.setVerticalAlignment(QTextCharFormat::AlignNormal); return; }
    if (w == "caps") { cf.setFontCapitalization(on ? QFont::AllUppercase : QFont::MixedCase); return; }
}

} // namespace RtfRead
