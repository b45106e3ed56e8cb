#include "DocxBodyReader.h"

#include "DocxNames.h"
#include "engine/EngineProperties.h"
#include "engine/objects/TabStops.h"
#include "engine/formats/RtfFields.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>

using ZipPackage::XmlNode;
using namespace EngineProperty;

namespace Docx {

namespace {

QLatin1StringView L(const char* s) { return QLatin1StringView(s); }
double px(int twips) { return Document::twipsToPixels(twips); }

// Characters that would break blocks or frames when inserted as text.
QString cleanText(QString s)
{
    for (QChar& c : s) {
        const char16_t u = c.unicode();
        if (u == u'\n' || u == u'\r' || u == 0x2029 || u == 0xFDD0 || u == 0xFDD1 || u == QChar::ObjectReplacementCharacter)
            c = QLatin1Char(' ');
    }
    return s;
}

} // namespace

BodyReader::BodyReader(QTextDocument* doc, ReadContext& context, const Rels& rels)
    : m_doc(doc), m_ctx(context), m_rels(rels)
{
}

void BodyReader::readAll(const XmlNode& container)
{
    QTextCursor c(m_doc);
    // One edit: the layout runs once at the end, not after every paragraph.
    c.beginEditBlock();
    bool first = true;
    readBlocks(container, c, first);
    c.endEditBlock();
    RtfFields::numberProvisional(m_doc);
}

void BodyReader::appendNote(const XmlNode& note, int number)
{
    QTextCursor c(m_doc);
    c.movePosition(QTextCursor::End);
    bool first = false;
    m_noteNumber = number;
    readBlocks(note, c, first);
    m_noteNumber = 0;
}

void BodyReader::readBlocks(const XmlNode& container, QTextCursor& c, bool& first)
{
    for (const XmlNode& n : container.children) {
        if (n.ns != W)
            continue;
        if (n.name == u"p") {
            readParagraph(n, c, first);
        } else if (n.name == u"tbl") {
            readTable(n, c, first);
        } else if (n.name == u"sdt") {
            if (const XmlNode* content = n.child(W, L("sdtContent")))
                readBlocks(*content, c, first);
        } else if (n.name == u"customXml" || n.name == u"ins" || n.name == u"smartTag") {
            readBlocks(n, c, first);
        } else if (n.name == u"altChunk") {
            m_ctx.unsupported.insert(QStringLiteral("eingebettete fremde Dokumente"));
        }
    }
}

void BodyReader::startParagraph(QTextCursor& c, bool& first, const QTextBlockFormat& bf, const QTextCharFormat& cf)
{
    if (first) {
        c.setBlockFormat(bf);
        c.setBlockCharFormat(cf);
        first = false;
    } else {
        c.insertBlock(bf, cf);
    }
}

namespace {

bool hasText(const XmlNode& n)
{
    for (const XmlNode& c : n.children) {
        if (c.ns == W && (c.name == u"tab" || c.name == u"drawing" || (c.name == u"t" && !c.allText().isEmpty())))
            return true;
        if (!c.isText() && hasText(c))
            return true;
    }
    return false;
}

} // namespace

void BodyReader::readParagraph(const XmlNode& p, QTextCursor& c, bool& first)
{
    const XmlNode* pPr = p.child(W, L("pPr"));
    QString styleId;
    if (pPr)
        if (const XmlNode* s = pPr->child(W, L("pStyle")))
            styleId = s->attr(W, L("val"));
    const Styles& styles = m_ctx.styles;
    ParaProps eff = styles.paragraphStyle(styleId);
    const ParaProps direct = styles.paragraphProperties(pPr);
    const int numId = direct.numId >= 0 ? direct.numId : eff.numId;
    const int ilvl = qMax(0, direct.ilvl >= 0 ? direct.ilvl : eff.ilvl);
    const Level* level = numId > 0 ? styles.level(numId, ilvl) : nullptr;
    if (level && level->left != INT_MIN) {
        eff.left = level->left;
        eff.first = -level->hanging;
    }
    eff.mergeFrom(direct);

    QTextBlockFormat bf = eff.block;
    const int left = eff.left == INT_MIN ? 0 : eff.left;
    const int first1 = eff.first == INT_MIN ? 0 : eff.first;
    bf.setLeftMargin(px(qMax(0, left)));
    bf.setRightMargin(px(eff.right == INT_MIN ? 0 : qMax(0, eff.right)));
    bf.setTextIndent(level ? 0 : px(first1));
    // w:tab positions count from the page margin.
    TabStops::setFromMargin(bf, bf.tabPositions());
    if (eff.heading > 0)
        bf.setHeadingLevel(eff.heading);
    // A border below an empty paragraph is how office programs draw a rule line.
    if ((bf.intProperty(EngineProperty::FrameStyle) & 0x0F) == FrameBits::Bottom && !hasText(p)) {
        for (int prop : {EngineProperty::FrameStyle, EngineProperty::FrameLineWidth, EngineProperty::FrameDistance})
            bf.clearProperty(prop);
        bf.setProperty(QTextFormat::BlockTrailingHorizontalRulerWidth, QTextLength(QTextLength::PercentageLength, 100));
    }
    if (m_breakBefore) {
        bf.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        m_breakBefore = false;
    }
    QTextCharFormat paraChars = styles.charStyle(styleId.isEmpty() ? styles.defaultParagraphStyle() : styleId);
    QTextCharFormat markChars = paraChars;
    if (pPr)
        markChars.merge(styles.runProperties(pPr->child(W, L("rPr"))));
    startParagraph(c, first, bf, markChars);

    if (level) {
        QTextListFormat lf;
        lf.setStyle(level->style);
        lf.setIndent(0);
        lf.setNumberPrefix(level->prefix);
        lf.setNumberSuffix(level->suffix);
        lf.setProperty(ListLevel, ilvl + 1);
        if (level->parentNumbers)
            lf.setProperty(EngineProperty::ListParentNumbers, true);
        lf.setProperty(ListIndentText, qMax(0, left));
        lf.setProperty(ListIndentMarker, qMax(0, left + qMin(0, first1)));
        if (level->start != 1 && !level->bullet)
            m_ctx.unsupported.insert(QStringLiteral("Startnummern von Listen"));
        // A paragraph of a higher level ends the lists below it: their numbers restart.
        for (auto it = m_lists.begin(); it != m_lists.end();)
            it = (it.key().first == numId && it.key().second > ilvl) ? m_lists.erase(it) : std::next(it);
        QTextList* list = m_lists.value({numId, ilvl});
        m_lists.insert({numId, ilvl}, m_listParts.add(c, list && list->format().style() == lf.style() ? list : nullptr, lf));
    }

    m_paragraphStyle = styleId;
    Run context;
    context.format = paraChars;
    readInline(p, c, context);
    if (pPr && pPr->child(W, L("sectPr"))) {
        // A section ends here; this document has one page format, so the next section
        // starts on a new page with the last section's format.
        m_ctx.unsupported.insert(QStringLiteral("mehrere Abschnitte (es gilt das Seitenformat des letzten)"));
        const XmlNode* type = pPr->child(W, L("sectPr"))->child(W, L("type"));
        if (!type || type->attr(W, L("val")) != u"continuous")
            m_breakBefore = true;
    }
}

bool BodyReader::textSuppressed() const
{
    for (const ComplexField& f : m_fields)
        if (!f.separated || f.shown)
            return true;
    return false;
}

QTextCharFormat BodyReader::withLinks(QTextCharFormat f, const QString& href) const
{
    QString link = href;
    for (const ComplexField& cf : m_fields)
        if (!cf.href.isEmpty())
            link = cf.href;
    if (!link.isEmpty()) {
        f.setAnchor(true);
        f.setAnchorHref(link);
    }
    return f;
}

void BodyReader::insertText(QTextCursor& c, const QString& text, const QTextCharFormat& f)
{
    if (text.isEmpty() || textSuppressed())
        return;
    c.insertText(text, f);
}

void BodyReader::insertFieldObject(QTextCursor& c, const QString& instruction, const QTextCharFormat& f)
{
    RtfFields::Field field;
    field.instruction = instruction;
    const QTextCharFormat cf = RtfFields::fieldFormat(f, field, m_nextProvisional--);
    c.insertText(RtfFields::objectText(), cf);
}

void BodyReader::readInline(const XmlNode& parent, QTextCursor& c, const Run& context)
{
    for (const XmlNode& n : parent.children) {
        if (n.ns != W)
            continue;
        const QString& name = n.name;
        if (name == u"r") {
            readRun(n, c, context);
        } else if (name == u"hyperlink") {
            Run inner = context;
            const QString id = n.attr(R, L("id"));
            if (!id.isEmpty() && m_rels.contains(id))
                inner.href = m_rels.value(id).target;
            const QString anchor = n.attr(W, L("anchor"));
            if (!anchor.isEmpty())
                inner.href += QLatin1Char('#') + anchor;
            readInline(n, c, inner);
        } else if (name == u"fldSimple") {
            const QString instr = n.attr(W, L("instr"));
            RtfFields::Field field;
            field.instruction = instr;
            const RtfFields::Kind kind = RtfFields::kindOf(field);
            if (kind == RtfFields::Kind::PageNumber || kind == RtfFields::Kind::PageCount) {
                QTextCharFormat f = context.format;
                if (const XmlNode* r = n.child(W, L("r")))
                    f.merge(m_ctx.styles.runProperties(r->child(W, L("rPr"))));
                insertFieldObject(c, instr, withLinks(f, context.href));
            } else {
                Run inner = context;
                if (kind == RtfFields::Kind::Hyperlink)
                    inner.href = RtfFields::hyperlinkTarget(instr);
                readInline(n, c, inner);
            }
        } else if (name == u"sdt") {
            const XmlNode* content = n.child(W, L("sdtContent"));
            if (!content)
                continue;
            Run inner = context;
            const XmlNode* pr = n.child(W, L("sdtPr"));
            const XmlNode* tag = pr ? pr->child(W, L("tag")) : nullptr;
            const QStringList parts = tag ? tag->attr(W, L("val")).split(QLatin1Char(' ')) : QStringList();
            if (parts.size() == 6 && parts[0] == u"qxfield") {
                RtfFields::Field field;
                field.own = true;
                field.id = parts[1].toInt();
                field.type = parts[2].toInt();
                field.linkKind = parts[3].toInt();
                field.data = QUrl::fromPercentEncoding(parts[4].toLatin1());
                field.link = QUrl::fromPercentEncoding(parts[5].toLatin1());
                inner.format = RtfFields::fieldFormat(inner.format, field, m_nextProvisional--);
            }
            readInline(*content, c, inner);
        } else if (name == u"smartTag" || name == u"customXml" || name == u"ins" || name == u"moveTo"
                   || name == u"dir" || name == u"bdo") {
            readInline(n, c, context);
        } else if (name == u"del" || name == u"moveFrom") {
            m_ctx.unsupported.insert(QStringLiteral("Änderungsverfolgung (gelöschter Text entfällt)"));
        } else if (name == u"commentRangeStart") {
            m_ctx.unsupported.insert(QStringLiteral("Kommentare"));
        }
    }
}

void BodyReader::readRun(const XmlNode& r, QTextCursor& c, const Run& context)
{
    const Styles& styles = m_ctx.styles;
    const XmlNode* rPr = r.child(W, L("rPr"));
    QTextCharFormat f = context.format;
    if (rPr) {
        if (const XmlNode* rs = rPr->child(W, L("rStyle")))
            f.merge(styles.charStyle(rs->attr(W, L("val"))));
        f.merge(styles.runProperties(rPr));
    }
    f = withLinks(f, context.href);
    QString pending;
    auto flush = [&] {
        insertText(c, pending, withLinks(f, context.href));
        pending.clear();
    };
    for (const XmlNode& n : r.children) {
        if (n.ns != W && !(n.name == u"AlternateContent"))
            continue;
        const QString& name = n.name;
        if (name == u"t") {
            pending += cleanText(n.allText());
        } else if (name == u"tab" || name == u"ptab") {
            pending += QLatin1Char('\t');
        } else if (name == u"br" || name == u"cr") {
            const QString type = n.attr(W, L("type"));
            if (type == u"page" || type == u"column") {
                flush();
                if (type == u"column")
                    m_ctx.unsupported.insert(QStringLiteral("Spaltenumbrüche (als Seitenumbruch)"));
                // The rest of the paragraph goes on a new page.
                QTextBlockFormat bf = c.blockFormat();
                if (c.block().length() <= 1) {
                    bf.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                    c.setBlockFormat(bf);
                } else {
                    bf.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                    QTextList* list = c.block().textList();
                    c.insertBlock(bf, c.charFormat());
                    if (list)
                        list->remove(c.block());
                }
            } else {
                pending += QChar(QChar::LineSeparator);
            }
        } else if (name == u"noBreakHyphen") {
            pending += QChar(0x2011);
        } else if (name == u"softHyphen") {
            pending += QChar(0xAD);
        } else if (name == u"sym") {
            bool ok = false;
            const uint code = n.attr(W, L("char")).toUInt(&ok, 16);
            if (ok && code >= 0x20 && code < 0xD800)
                pending += QChar(char16_t(code >= 0xF000 ? code - 0xF000 : code));
        } else if (name == u"fldChar") {
            flush();
            const QString type = n.attr(W, L("fldCharType"));
            if (type == u"begin") {
                m_fields.append(ComplexField());
            } else if (type == u"separate" && !m_fields.isEmpty()) {
                ComplexField& cf = m_fields.last();
                RtfFields::Field field;
                field.instruction = cf.instruction;
                const RtfFields::Kind kind = RtfFields::kindOf(field);
                if (kind == RtfFields::Kind::Hyperlink)
                    cf.href = RtfFields::hyperlinkTarget(cf.instruction);
                cf.separated = true;
                if (kind == RtfFields::Kind::PageNumber || kind == RtfFields::Kind::PageCount) {
                    if (!textSuppressed())
                        insertFieldObject(c, cf.instruction, f);
                    m_fields.last().shown = true; // the object stands for the result
                }
            } else if (type == u"end" && !m_fields.isEmpty()) {
                const ComplexField cf = m_fields.takeLast();
                if (!cf.separated) {
                    RtfFields::Field field;
                    field.instruction = cf.instruction;
                    const RtfFields::Kind kind = RtfFields::kindOf(field);
                    if ((kind == RtfFields::Kind::PageNumber || kind == RtfFields::Kind::PageCount) && !textSuppressed())
                        insertFieldObject(c, cf.instruction, f);
                }
            }
        } else if (name == u"instrText") {
            if (!m_fields.isEmpty() && !m_fields.last().separated)
                m_fields.last().instruction += n.allText();
        } else if (name == u"drawing") {
            flush();
            readDrawing(n, c, withLinks(f, context.href));
        } else if (name == u"pict" || name == u"object") {
            m_ctx.unsupported.insert(QStringLiteral("ältere Grafiken und eingebettete Objekte"));
        } else if (name == u"footnoteReference" || name == u"endnoteReference") {
            flush();
            const int number = int(m_ctx.notes.size()) + 1;
            m_ctx.notes.append({number, (name == u"footnoteReference" ? QStringLiteral("f") : QStringLiteral("e"))
                                            + n.attr(W, L("id"))});
            QTextCharFormat mark = f;
            mark.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
            insertText(c, QString::number(number), mark);
        } else if (name == u"footnoteRef" || name == u"endnoteRef") {
            flush();
            QTextCharFormat mark = f;
            mark.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
            insertText(c, QString::number(m_noteNumber), mark);
        }
    }
    flush();
}

} // namespace Docx
