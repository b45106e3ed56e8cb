#include "RtfReader.h"

#include "Cp1252.h"
#include "RtfSink.h"
#include "RtfTokenizer.h"
#include "engine/Document.h"

#include <QHash>
#include <QImage>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <functional>
#include <memory>

namespace {

enum class Dest { Body, FontTable, ColorTable, Skip, Pict, FieldInst, ListTable, ListOverride, PnText };

struct Field {
    QString instruction;
};

struct State {
    Dest dest = Dest::Body;
    RtfSink* sink = nullptr;
    QTextCharFormat cf;
    RtfParagraph para;
    bool inTable = false;
    int ls = 0, ilvl = 0;
    int pnStyle = 0; // old-style numbering: QTextListFormat::Style, 0 none
    QTextOption::TabType tabType = QTextOption::LeftTab;
    int uc = 1;
    int codePage = 1252; // of the current font, for \'hh and 8-bit text
    int field = -1;
    bool isHeaderPart = false;
};

struct ListLevels {
    QList<int> nfc; // per level
};

int styleOfNfc(int nfc)
{
    switch (nfc) {
    case 0: return QTextListFormat::ListDecimal;
    case 1: return QTextListFormat::ListUpperRoman;
    case 2: return QTextListFormat::ListLowerRoman;
    case 3: return QTextListFormat::ListUpperAlpha;
    case 4: return QTextListFormat::ListLowerAlpha;
    default: return QTextListFormat::ListDisc;
    }
}

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

class Parser {
public:
    Parser(const QByteArray& data, Document& into) : tok(data), doc(into), body(into.body()) {}

    bool run(QString* error);

private:
    State& st() { return stack.last(); }
    void word(const RtfToken& t);
    void text(const QString& s);
    void byte(unsigned char b) { text(decode(QByteArray(1, char(b)))); }
    QString decode(const QByteArray& bytes);
    void groupEnd();
    void endParagraph();
    void applyPage();
    RtfSink* partSink(int part);
    void finishPicture();

    RtfTokenizer tok;
    Document& doc;
    RtfSink body;
    QHash<int, std::shared_ptr<RtfSink>> parts;
    QList<State> stack;
    QHash<int, QString> fonts;
    QHash<int, int> fontCodePages;
    int ansiCodePage = 1252;
    QHash<int, std::shared_ptr<QStringDecoder>> decoders;
    int defaultFont = 0;
    QList<QColor> colors;
    int red = 0, green = 0, blue = 0;
    QString fontName;
    int fontNumber = 0;
    int skipChars = 0;
    bool starred = false;
    QList<Field> fields;
    // List table: list id -> levels; overrides: ls -> list id.
    QHash<int, ListLevels> listTable;
    QHash<int, int> overrides;
    int curListId = 0, curOverrideList = 0;
    ListLevels curLevels;
    // Page settings.
    PageGeometry page;
    bool pageSeen = false;
    int headerY = -1, footerY = -1;
    // Row definition of the table row being read.
    QList<RtfCellDef> cellDefs;
    RtfCellDef pendingCell;
    int rowLeft = 0;
    // Picture being read.
    QByteArray pict;
    int pictHex = -1;
    QByteArray pictKind;
    int picW = 0, picH = 0, picWGoal = 0, picHGoal = 0, picScaleX = 100, picScaleY = 100;
    int pictureCount = 0;
};

RtfSink* Parser::partSink(int part)
{
    if (!parts.contains(part)) {
        doc.setHeaderFooterSet(doc.headerFooterSet() | part);
        parts.insert(part, std::make_shared<RtfSink>(doc.headerFooter(part)));
    }
    return parts[part].get();
}

void Parser::text(const QString& s)
{
    State& s0 = st();
    switch (s0.dest) {
    case Dest::Body:
        s0.sink->addText(s, s0.cf);
        break;
    case Dest::FontTable:
        fontName += s;
        if (fontName.contains(QLatin1Char(';'))) {
            fonts.insert(fontNumber, fontName.left(fontName.indexOf(QLatin1Char(';'))).trimmed());
            fontName.clear();
        }
        break;
    case Dest::ColorTable:
        for (QChar c : s)
            if (c == u';') {
                colors << ((red | green | blue) || !colors.isEmpty() ? QColor(red, green, blue) : QColor());
                red = green = blue = 0;
            }
        break;
    case Dest::FieldInst:
        if (s0.field >= 0 && s0.field < fields.size())
            fields[s0.field].instruction += s;
        break;
    case Dest::Pict:
        for (QChar c : s) {
            const int v = c.isDigit() ? c.unicode() - '0'
                          : (c >= u'a' && c <= u'f') ? c.unicode() - 'a' + 10
                          : (c >= u'A' && c <= u'F') ? c.unicode() - 'A' + 10
                                                     : -1;
            if (v < 0)
                continue;
            if (pictHex < 0) {
                pictHex = v;
            } else {
                pict.append(char(pictHex * 16 + v));
                pictHex = -1;
            }
        }
        break;
    default:
        break;
    }
}

QString Parser::decode(const QByteArray& bytes)
{
    const int cp = st().codePage;
    if (cp != 1252) {
        std::shared_ptr<QStringDecoder>& d = decoders[cp];
        if (!d)
            d = std::make_shared<QStringDecoder>(QByteArray("windows-" + QByteArray::number(cp)).constData());
        if (d->isValid())
            return d->decode(bytes);
    }
    QString out;
    out.reserve(bytes.size());
    for (char c : bytes)
        out += Cp1252::toUnicode(uchar(c));
    return out;
}

void Parser::endParagraph()
{
    State& s = st();
    if (s.dest != Dest::Body)
        return;
    RtfParagraph p = s.para;
    p.format.setTabPositions(s.para.format.tabPositions());
    if (s.ls > 0 || s.pnStyle != 0) {
        int style = s.pnStyle;
        if (s.ls > 0) {
            const ListLevels levels = listTable.value(overrides.value(s.ls, -1));
            style = styleOfNfc(levels.nfc.value(s.ilvl, 23));
        }
        p.listKey = s.ls > 0 ? s.ls : 100000 + style;
        p.listFormat.setStyle(QTextListFormat::Style(style));
        p.listFormat.setIndent(s.ilvl + 1);
        // List paragraphs carry the list's own hanging indent; Qt adds that itself.
        const double left = p.format.leftMargin() - Document::twipsToPixels(360 * (s.ilvl + 2));
        const double first = p.format.textIndent() + Document::twipsToPixels(360);
        if (qAbs(left) < 0.01 || left < 0)
            p.format.clearProperty(QTextFormat::BlockLeftMargin);
        else
            p.format.setLeftMargin(left);
        if (qAbs(first) < 0.01)
            p.format.clearProperty(QTextFormat::TextIndent);
        else
            p.format.setTextIndent(first);
    }
    s.sink->endParagraph(p, s.inTable);
}

void Parser::finishPicture()
{
    if (pictKind != "png" && pictKind != "jpeg")
        return;
    const QImage img = QImage::fromData(pict);
    if (img.isNull())
        return;
    const QString name = QStringLiteral("rtfbild%1").arg(++pictureCount);
    QTextDocument* target = nullptr;
    // The picture belongs to the document of the enclosing text destination.
    for (qsizetype i = stack.size() - 1; i >= 0; --i)
        if (stack[i].dest == Dest::Body) {
            target = stack[i].sink == &body ? doc.body() : nullptr;
            for (auto it = parts.cbegin(); it != parts.cend(); ++it)
                if (it.value().get() == stack[i].sink)
                    target = doc.headerFooter(it.key());
            break;
        }
    if (!target)
        return;
    target->addResource(QTextDocument::ImageResource, QUrl(name), img);
    QTextImageFormat f;
    f.setName(name);
    const double w = picWGoal > 0 ? Document::twipsToPixels(picWGoal) : img.width();
    const double h = picHGoal > 0 ? Document::twipsToPixels(picHGoal) : img.height();
    f.setWidth(w * qBound(1, picScaleX, 1000) / 100.0);
    f.setHeight(h * qBound(1, picScaleY, 1000) / 100.0);
    for (qsizetype i = stack.size() - 1; i >= 0; --i)
        if (stack[i].dest == Dest::Body) {
            stack[i].sink->addText(QString(QChar::ObjectReplacementCharacter), f);
            break;
        }
}

void Parser::groupEnd()
{
    const State ended = stack.takeLast();
    if (ended.dest == Dest::Pict && st().dest != Dest::Pict)
        finishPicture();
    if (ended.isHeaderPart && !st().isHeaderPart)
        ended.sink->finish();
}

void Parser::applyPage()
{
    if (pageSeen)
        doc.setPage(page);
    if (headerY >= 0)
        doc.setHeaderDistance(headerY);
    if (footerY >= 0)
        doc.setFooterDistance(footerY);
}

// Control words that open a destination to be ignored entirely.
bool isSkippedDestination(const QByteArray& w)
{
    static const QList<QByteArray> names{"info", "stylesheet", "listtext", "nonshppict", "footnote", "objdata",
                                         "objclass", "filetbl", "revtbl", "xe", "tc", "template", "author",
                                         "operator", "title", "subject", "keywords", "comment", "doccomm"};
    return names.contains(w);
}

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
        return;
    }
    if (w == "pntext") { s.dest = Dest::Skip; return; }
    if (w == "pn") { s.dest = Dest::PnText; return; }
    if (w == "fldinst") { s.dest = Dest::FieldInst; return; }
    if (w == "fldrslt") {
        s.dest = Dest::Body;
        if (s.field >= 0 && s.field < fields.size()) {
            static const QRegularExpression link(QStringLiteral("HYPERLINK\\s+\"([^\"]*)\"(?:\\s*\\\\l\\s*\"([^\"]*)\")?"));
            const auto m = link.match(fields[s.field].instruction);
            if (m.hasMatch()) {
                QString href = m.captured(1);
                if (!m.captured(2).isEmpty())
                    href += QLatin1Char('#') + m.captured(2);
                s.cf.setAnchor(true);
                s.cf.setAnchorHref(href);
            }
        }
        return;
    }
    if (w == "field") {
        fields.append(Field());
        s.field = int(fields.size()) - 1;
        return;
    }
    int part = 0;
    if (w == "header" || w == "headerl" || w == "headerr") part = 1;
    else if (w == "headerf") part = 2;
    else if (w == "footer" || w == "footerl" || w == "footerr") part = 4;
    else if (w == "footerf") part = 8;
    if (part) {
        s.dest = Dest::Body;
        s.sink = partSink(part);
        s.isHeaderPart = true;
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
        if (w == "list") curLevels = ListLevels();
        else if (w == "levelnfc" && curLevels.nfc.size() < 9) curLevels.nfc << p;
        else if (w == "listid") { curListId = p; listTable.insert(p, curLevels); }
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
    auto twips = [](int v) { return qBound(0, v, 31680 * 10); };
    if (w == "deff") { defaultFont = p; return; }
    if (w == "ansicpg") {
        // Only single-byte Windows code pages; others read as 1252.
        if ((p >= 1250 && p <= 1258) || p == 874)
            ansiCodePage = s.codePage = p;
        return;
    }
    if (w == "uc") { s.uc = qBound(0, p, 10); return; }
    if (w == "paperw") { page.width = twips(p); pageSeen = true; return; }
    if (w == "paperh") { page.height = twips(p); pageSeen = true; return; }
    if (w == "margl") { page.marginL = twips(p); pageSeen = true; return; }
    if (w == "margr") { page.marginR = twips(p); pageSeen = true; return; }
    if (w == "margt") { page.marginT = twips(p); pageSeen = true; return; }
    if (w == "margb") { page.marginB = twips(p); pageSeen = true; return; }
    if (w == "headery") { headerY = twips(p); return; }
    if (w == "footery") { footerY = twips(p); return; }

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
        s.inTable = false;
        s.ls = s.ilvl = 0;
        s.pnStyle = 0;
        s.tabType = QTextOption::LeftTab;
        return;
    }
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
    if (w == "tqr") { s.tabType = QTextOption::RightTab; return; }
    if (w == "tqc") { s.tabType = QTextOption::CenterTab; return; }
    if (w == "tqdec") { s.tabType = QTextOption::DelimiterTab; return; }
    if (w == "tx" || w == "tb") {
        QList<QTextOption::Tab> tabs = bf.tabPositions();
        if (tabs.size() < 64) {
            QTextOption::Tab tab(px(p), s.tabType,
                                 s.tabType == QTextOption::DelimiterTab ? QLatin1Char(',') : QChar());
            tabs << tab;
            std::sort(tabs.begin(), tabs.end(), [](const auto& a, const auto& b) { return a.position < b.position; });
            bf.setTabPositions(tabs);
        }
        s.tabType = QTextOption::LeftTab;
        return;
    }
    if (w == "pagebb") { bf.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore); return; }
    if (w == "ls") { s.ls = qMax(0, p); return; }
    if (w == "ilvl") { s.ilvl = qBound(0, p, 8); return; }

    // Tables.
    if (w == "trowd") { cellDefs.clear(); pendingCell = RtfCellDef(); rowLeft = 0; return; }
    if (w == "trleft") { rowLeft = qBound(-31680, p, 31680); return; }
    if (w == "intbl") { s.inTable = true; return; }
    if (w == "clmgf") { pendingCell.mergeFirst = true; return; }
    if (w == "clmrg") { pendingCell.merged = true; return; }
    if (w == "clvmgf") { pendingCell.vMergeFirst = true; return; }
    if (w == "clvmrg") { pendingCell.vMerged = true; return; }
    if (w == "clcbpat") { pendingCell.background = colors.value(p); return; }
    if (w == "cellx") {
        if (cellDefs.size() < 64) {
            pendingCell.right = qBound(-31680, p, 31680 * 4);
            cellDefs << pendingCell;
        }
        pendingCell = RtfCellDef();
        return;
    }
    if (w == "cell" || w == "nestcell") {
        if (s.dest == Dest::Body)
            s.sink->endCell(s.para);
        return;
    }
    if (w == "row" || w == "nestrow") {
        if (s.dest == Dest::Body)
            s.sink->endRow(cellDefs, rowLeft);
        return;
    }

    // Characters.
    QTextCharFormat& cf = s.cf;
    const bool on = !t.hasParam || p != 0;
    if (w == "plain") {
        const bool anchor = cf.isAnchor();
        const QString href = cf.anchorHref();
        cf = QTextCharFormat();
        if (fonts.contains(defaultFont))
            cf.setFontFamilies({fonts.value(defaultFont)});
        cf.setFontPointSize(12);
        if (anchor) {
            cf.setAnchor(true);
            cf.setAnchorHref(href);
        }
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

bool Parser::run(QString* error)
{
    RtfToken t = tok.next();
    if (t.kind != RtfToken::GroupStart) {
        FormatErrors::set(error, QStringLiteral("Die Datei ist keine RTF-Datei."));
        return false;
    }
    State root;
    root.sink = &body;
    stack.append(root);
    doc.body()->setUndoRedoEnabled(false);
    // One edit block: the layout runs once at the end instead of after every insert.
    QTextCursor batch(doc.body());
    batch.beginEditBlock();
    bool closed = false;
    while (!closed) {
        t = tok.next();
        if (skipChars > 0) {
            if (t.kind == RtfToken::Text && !t.word.isEmpty()) {
                const int n = qMin<int>(skipChars, t.word.size());
                skipChars -= n;
                t.word.remove(0, n);
                if (t.word.isEmpty())
                    continue;
            } else if (t.kind == RtfToken::HexByte || t.kind == RtfToken::Symbol || t.kind == RtfToken::Word
                       || t.kind == RtfToken::Binary) {
                --skipChars;
                continue;
            } else {
                skipChars = 0;
            }
        }
        switch (t.kind) {
        case RtfToken::End:
            batch.endEditBlock();
            FormatErrors::set(error, QStringLiteral("Die RTF-Datei ist unvollständig und kann nicht gelesen werden."));
            return false;
        case RtfToken::GroupStart:
            if (stack.size() >= RtfReader::MaxDepth) {
                batch.endEditBlock();
                FormatErrors::set(error, QStringLiteral("Die RTF-Datei ist zu tief verschachtelt und kann nicht gelesen werden."));
                return false;
            }
            {
                State inner = stack.last(); // a copy: appending may move the list
                stack.append(std::move(inner));
            }
            break;
        case RtfToken::GroupEnd:
            if (stack.size() == 1) {
                closed = true;
                break;
            }
            groupEnd();
            break;
        case RtfToken::Word:
            if (stack.size() == 1 && t.word == "rtf" && tok.position() < 16)
                break;
            word(t);
            break;
        case RtfToken::Symbol:
            starred = false;
            if (t.symbol == '*') {
                starred = true;
            } else if (t.symbol == '\\' || t.symbol == '{' || t.symbol == '}') {
                text(QString(QLatin1Char(t.symbol)));
            } else if (t.symbol == '~') {
                text(QString(QChar::Nbsp));
            } else if (t.symbol == '-') {
                text(QString(QChar(0x00AD)));
            } else if (t.symbol == '_') {
                text(QString(QChar(0x2011)));
            } else if (t.symbol == '\t') {
                text(QStringLiteral("\t"));
            }
            break;
        case RtfToken::HexByte:
            if (st().dest == Dest::Pict)
                pict.append(char(t.param));
            else
                byte(uchar(t.param));
            break;
        case RtfToken::Text: {
            if (st().dest == Dest::Pict) {
                text(QString::fromLatin1(t.word));
                break;
            }
            QByteArray bytes;
            bytes.reserve(t.word.size());
            for (char c : t.word)
                if (uchar(c) >= 0x20 || c == '\t')
                    bytes += c;
            text(decode(bytes));
            break;
        }
        case RtfToken::Binary:
            if (st().dest == Dest::Pict)
                pict += t.word;
            break;
        }
    }
    body.finish();
    batch.endEditBlock();
    for (const auto& sink : std::as_const(parts))
        sink->finish();
    applyPage();
    doc.body()->setUndoRedoEnabled(true);
    return true;
}

} // namespace

bool RtfReader::sniff(const QByteArray& data) const
{
    const QByteArray head = data.left(64).trimmed();
    return head.startsWith("{\\rtf");
}

bool RtfReader::read(const QByteArray& data, Document& into, QString* error)
{
    if (!sniff(data)) {
        FormatErrors::set(error, QStringLiteral("Die Datei ist keine RTF-Datei."));
        return false;
    }
    Parser parser(data, into);
    return parser.run(error);
}
