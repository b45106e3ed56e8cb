#include "DocxBodyWriter.h"

#include "DocxNames.h"
#include "engine/objects/TextBoxes.h"
#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "engine/objects/Fields.h"
#include "engine/formats/BreakOpportunities.h"
#include "engine/formats/DocumentTransfer.h"
#include "engine/formats/TableColumns.h"
#include "engine/formats/FormatIO.h"

#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>

#include "engine/objects/TabLeaders.h"
#include "engine/objects/TabStops.h"
#include <QUrl>
#include <QXmlStreamWriter>

using namespace EngineProperty;

namespace Docx {

namespace {

int twips(double px) { return qRound(Document::pixelsToTwips(px)); }
QString num(qint64 v) { return QString::number(v); }

} // namespace

BodyWriter::BodyWriter(const QTextDocument* doc, PackageState& package, QXmlStreamWriter& xml)
    : m_doc(doc), m_package(package), m_xml(xml)
{
}

QString BodyWriter::addRelationship(const QString& type, const QString& target, bool external)
{
    const QString id = QStringLiteral("rId%1").arg(m_rels.size() + 100);
    m_rels.append({id, type, target, external});
    return id;
}

void BodyWriter::writeContent() { writeFrame(m_doc->rootFrame()); }

void BodyWriter::writeFrame(const QTextFrame* frame)
{
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (const QTextFrame* f = it.currentFrame()) {
            if (auto* t = qobject_cast<const QTextTable*>(f))
                writeTable(t);
            else
                writeFrame(f);
        } else {
            writeParagraph(it.currentBlock());
        }
    }
}

int BodyWriter::listId(QTextList* list)
{
    qsizetype i = m_package.lists.indexOf(list);
    if (i < 0) {
        m_package.lists.append(list);
        i = m_package.lists.size() - 1;
    }
    return int(i) + 1;
}

void BodyWriter::writeParagraphProperties(const QTextBlock& b)
{
    const QTextBlockFormat bf = b.blockFormat();
    m_xml.writeStartElement(W, QStringLiteral("pPr"));
    if (bf.headingLevel() >= 1 && bf.headingLevel() <= 6) {
        m_xml.writeEmptyElement(W, QStringLiteral("pStyle"));
        m_xml.writeAttribute(W, QStringLiteral("val"), QStringLiteral("Heading%1").arg(bf.headingLevel()));
    }
    if (bf.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        m_xml.writeEmptyElement(W, QStringLiteral("pageBreakBefore"));
    QTextList* list = b.textList();
    int left = twips(bf.leftMargin());
    int first = twips(bf.textIndent());
    if (list) {
        const QTextListFormat lf = list->format();
        const int level = qBound(1, lf.hasProperty(ListLevel) ? lf.intProperty(ListLevel) : lf.indent(), 9);
        m_xml.writeStartElement(W, QStringLiteral("numPr"));
        m_xml.writeEmptyElement(W, QStringLiteral("ilvl"));
        m_xml.writeAttribute(W, QStringLiteral("val"), num(level - 1));
        m_xml.writeEmptyElement(W, QStringLiteral("numId"));
        m_xml.writeAttribute(W, QStringLiteral("val"), num(listId(list)));
        m_xml.writeEndElement();
        // Qt indents a list by its indent steps of 40 pixels on top of the margin.
        left += 600 * lf.indent();
        const int hanging = lf.hasProperty(ListIndentText)
                                ? lf.intProperty(ListIndentText) - lf.intProperty(ListIndentMarker)
                                : 360;
        first -= qMax(0, hanging);
    }
    int frame = bf.intProperty(FrameStyle);
    // A rule line: how office programs write one, a border below an empty paragraph.
    const bool rule = bf.hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth) && !frame;
    if (rule)
        frame = FrameBits::Bottom;
    if (frame & (FrameBits::Left | FrameBits::Right | FrameBits::Top | FrameBits::Bottom)) {
        m_xml.writeStartElement(W, QStringLiteral("pBdr"));
        const QString style = (frame & FrameBits::Double) ? QStringLiteral("double") : QStringLiteral("single");
        const int size = rule ? 6 : qBound(2, bf.intProperty(FrameLineWidth) * 8 / 20, 96);
        const int space = qBound(0, bf.intProperty(FrameDistance) / 20, 31);
        const std::pair<int, const char*> sides[] = {
            {FrameBits::Top, "top"}, {FrameBits::Left, "left"}, {FrameBits::Bottom, "bottom"}, {FrameBits::Right, "right"}};
        for (const auto& [bit, name] : sides) {
            if (!(frame & bit))
                continue;
            m_xml.writeEmptyElement(W, QLatin1String(name));
            m_xml.writeAttribute(W, QStringLiteral("val"), style);
            m_xml.writeAttribute(W, QStringLiteral("sz"), num(size));
            m_xml.writeAttribute(W, QStringLiteral("space"), num(space));
            m_xml.writeAttribute(W, QStringLiteral("color"), QStringLiteral("000000"));
        }
        m_xml.writeEndElement();
    }
    // Word counts tab stops from the page margin, as the ruler does.
    const QList<QTextOption::Tab> tabs = TabStops::fromMargin(bf);
    if (!tabs.isEmpty()) {
        m_xml.writeStartElement(W, QStringLiteral("tabs"));
        for (const QTextOption::Tab& t : tabs) {
            m_xml.writeEmptyElement(W, QStringLiteral("tab"));
            const char* kind = t.type == QTextOption::RightTab    ? "right"
                               : t.type == QTextOption::CenterTab ? "center"
                               : t.type == QTextOption::DelimiterTab ? "decimal"
                                                                      : "left";
            m_xml.writeAttribute(W, QStringLiteral("val"), QLatin1String(kind));
            for (const Leader& l : kLeaders)
                if (TabLeaders::of(t) == QChar(l.leader)) {
                    m_xml.writeAttribute(W, QStringLiteral("leader"), QLatin1String(l.name));
                    break;
                }
            m_xml.writeAttribute(W, QStringLiteral("pos"), num(twips(t.position)));
        }
        m_xml.writeEndElement();
    }
    const bool lineRule = bf.lineHeightType() == QTextBlockFormat::ProportionalHeight
                          || bf.lineHeightType() == QTextBlockFormat::FixedHeight
                          || bf.lineHeightType() == QTextBlockFormat::MinimumHeight;
    m_xml.writeEmptyElement(W, QStringLiteral("spacing"));
    m_xml.writeAttribute(W, QStringLiteral("before"), num(twips(bf.topMargin())));
    m_xml.writeAttribute(W, QStringLiteral("after"), num(twips(bf.bottomMargin())));
    if (lineRule) {
        switch (bf.lineHeightType()) {
        case QTextBlockFormat::ProportionalHeight:
            m_xml.writeAttribute(W, QStringLiteral("line"), num(qRound(bf.lineHeight() * 240 / 100)));
            m_xml.writeAttribute(W, QStringLiteral("lineRule"), QStringLiteral("auto"));
            break;
        case QTextBlockFormat::FixedHeight:
            m_xml.writeAttribute(W, QStringLiteral("line"), num(twips(bf.lineHeight())));
            m_xml.writeAttribute(W, QStringLiteral("lineRule"), QStringLiteral("exact"));
            break;
        default:
            m_xml.writeAttribute(W, QStringLiteral("line"), num(twips(bf.lineHeight())));
            m_xml.writeAttribute(W, QStringLiteral("lineRule"), QStringLiteral("atLeast"));
            break;
        }
    }
    if (left || first || bf.rightMargin() != 0) {
        m_xml.writeEmptyElement(W, QStringLiteral("ind"));
        m_xml.writeAttribute(W, QStringLiteral("left"), num(left));
        m_xml.writeAttribute(W, QStringLiteral("right"), num(twips(bf.rightMargin())));
        if (first >= 0)
            m_xml.writeAttribute(W, QStringLiteral("firstLine"), num(first));
        else
            m_xml.writeAttribute(W, QStringLiteral("hanging"), num(-first));
    }
    const Qt::Alignment a = bf.alignment() & Qt::AlignHorizontal_Mask;
    const char* jc = (a & Qt::AlignRight) ? "right" : (a & Qt::AlignHCenter) ? "center" : (a & Qt::AlignJustify) ? "both" : nullptr;
    if (jc) {
        m_xml.writeEmptyElement(W, QStringLiteral("jc"));
        m_xml.writeAttribute(W, QStringLiteral("val"), QLatin1String(jc));
    }
    if (bf.headingLevel() >= 1 && bf.headingLevel() <= 9) {
        m_xml.writeEmptyElement(W, QStringLiteral("outlineLvl"));
        m_xml.writeAttribute(W, QStringLiteral("val"), num(bf.headingLevel() - 1));
    }
    // The paragraph mark's font: it gives an empty line its height.
    if (b.length() == 1)
        writeRunProperties(b.charFormat());
    m_xml.writeEndElement();
}

void BodyWriter::writeRunProperties(const QTextCharFormat& f)
{
    m_xml.writeStartElement(W, QStringLiteral("rPr"));
    const QStringList families = f.fontFamilies().toStringList();
    if (!families.isEmpty()) {
        m_xml.writeEmptyElement(W, QStringLiteral("rFonts"));
        for (const char* a : {"ascii", "hAnsi", "cs"})
            m_xml.writeAttribute(W, QLatin1String(a), families.first());
    }
    auto flag = [this](const char* name) { m_xml.writeEmptyElement(W, QLatin1String(name)); };
    if (f.hasProperty(QTextFormat::FontWeight) && f.fontWeight() >= QFont::DemiBold)
        flag("b");
    if (f.fontItalic())
        flag("i");
    if (f.fontCapitalization() == QFont::AllUppercase)
        flag("caps");
    if (f.fontStrikeOut())
        flag("strike");
    if (FormatBrushes::foreground(f)) {
        m_xml.writeEmptyElement(W, QStringLiteral("color"));
        m_xml.writeAttribute(W, QStringLiteral("val"), hex(f.foreground().color()));
    }
    if (f.hasProperty(QTextFormat::FontPointSize)) {
        m_xml.writeEmptyElement(W, QStringLiteral("sz"));
        m_xml.writeAttribute(W, QStringLiteral("val"), num(qRound(f.fontPointSize() * 2)));
    }
    QString shading;
    if (FormatBrushes::background(f)) {
        const QRgb rgb = f.background().color().rgb() & 0xFFFFFF;
        const char* name = nullptr;
        for (const Highlight& h : kHighlights)
            if (h.rgb == rgb)
                name = h.name;
        if (name) {
            m_xml.writeEmptyElement(W, QStringLiteral("highlight"));
            m_xml.writeAttribute(W, QStringLiteral("val"), QLatin1String(name));
        } else {
            shading = hex(f.background().color());
        }
    }
    if (f.fontUnderline()) {
        m_xml.writeEmptyElement(W, QStringLiteral("u"));
        m_xml.writeAttribute(W, QStringLiteral("val"), QStringLiteral("single"));
    }
    if (!shading.isEmpty()) {
        m_xml.writeEmptyElement(W, QStringLiteral("shd"));
        m_xml.writeAttribute(W, QStringLiteral("val"), QStringLiteral("clear"));
        m_xml.writeAttribute(W, QStringLiteral("color"), QStringLiteral("auto"));
        m_xml.writeAttribute(W, QStringLiteral("fill"), shading);
    }
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript || f.verticalAlignment() == QTextCharFormat::AlignSubScript) {
        m_xml.writeEmptyElement(W, QStringLiteral("vertAlign"));
        m_xml.writeAttribute(W, QStringLiteral("val"), f.verticalAlignment() == QTextCharFormat::AlignSuperScript
                                                           ? QStringLiteral("superscript")
                                                           : QStringLiteral("subscript"));
    }
    m_xml.writeEndElement();
}

void BodyWriter::writeText(const QString& text, const QTextCharFormat& f)
{
    m_xml.writeStartElement(W, QStringLiteral("r"));
    writeRunProperties(f);
    QString pending;
    auto flush = [&] {
        if (pending.isEmpty())
            return;
        m_xml.writeStartElement(W, QStringLiteral("t"));
        m_xml.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
        m_xml.writeCharacters(pending);
        m_xml.writeEndElement();
        pending.clear();
    };
    for (QChar ch : text) {
        const char16_t c = ch.unicode();
        const char* special = c == u'\t' ? "tab" : c == 0x2028 ? "br" : c == 0x2011 ? "noBreakHyphen" : c == 0xAD ? "softHyphen" : nullptr;
        if (special) {
            flush();
            m_xml.writeEmptyElement(W, QLatin1String(special));
        } else if (c >= 0x20 && c != QChar::ObjectReplacementCharacter && c != 0xFFFE && c != 0xFFFF
                   && !(ch.isSurrogate() && false)) {
            pending += ch;
        }
    }
    flush();
    m_xml.writeEndElement();
}

void BodyWriter::writeFieldObject(const QTextCharFormat& f)
{
    const bool count = f.intProperty(FieldType) == FieldTypes::PageCount;
    m_xml.writeStartElement(W, QStringLiteral("fldSimple"));
    m_xml.writeAttribute(W, QStringLiteral("instr"), count ? QStringLiteral(" NUMPAGES ") : QStringLiteral(" PAGE "));
    writeText(QStringLiteral("1"), Fields::plainFormat(f));
    m_xml.writeEndElement();
}

void BodyWriter::writeParagraph(const QTextBlock& b)
{
    m_xml.writeStartElement(W, QStringLiteral("p"));
    writeParagraphProperties(b);
    QString openHref;
    int openField = 0;
    BreakOpportunities::Stripper unbroken;
    auto closeField = [&] {
        if (openField)
            m_xml.writeEndElement(), m_xml.writeEndElement(); // sdtContent, sdt
        openField = 0;
    };
    for (auto it = b.begin(); !it.atEnd(); ++it) {
        const QTextFragment frag = it.fragment();
        const QTextCharFormat f = frag.charFormat();
        const QString href = f.isAnchor() ? f.anchorHref() : QString();
        const bool object = Fields::isFieldObject(f.objectType());
        const int field = object ? 0 : f.intProperty(FieldId);
        if (openField && (field != openField || href != openHref))
            closeField();
        if (href != openHref) {
            if (!openHref.isEmpty())
                m_xml.writeEndElement();
            if (!href.isEmpty()) {
                m_xml.writeStartElement(W, QStringLiteral("hyperlink"));
                if (href.startsWith(QLatin1Char('#'))) {
                    m_xml.writeAttribute(W, QStringLiteral("anchor"), href.mid(1));
                } else {
                    QString& rel = m_linkRels[href];
                    if (rel.isEmpty())
                        rel = addRelationship(relType("hyperlink"), href, true);
                    m_xml.writeAttribute(R, QStringLiteral("id"), rel);
                }
            }
            openHref = href;
        }
        if (field > 0 && field != openField) {
            // Our own fields keep id, type, data and link in a content control's tag;
            // other programs just show the text.
            m_xml.writeStartElement(W, QStringLiteral("sdt"));
            m_xml.writeStartElement(W, QStringLiteral("sdtPr"));
            m_xml.writeEmptyElement(W, QStringLiteral("tag"));
            const QStringList parts{QStringLiteral("qxfield"), num(field), num(f.intProperty(FieldType)),
                                    num(f.intProperty(FieldLinkKind)),
                                    QString::fromLatin1(QUrl::toPercentEncoding(f.stringProperty(FieldData))),
                                    QString::fromLatin1(QUrl::toPercentEncoding(f.stringProperty(FieldLinkTarget)))};
            m_xml.writeAttribute(W, QStringLiteral("val"), parts.join(QLatin1Char(' ')));
            m_xml.writeEndElement();
            m_xml.writeStartElement(W, QStringLiteral("sdtContent"));
            openField = field;
        }
        if (object) {
            writeFieldObject(f);
        } else if (TextBoxes::isTextBox(f)) {
            writeText(TextBoxes::plainText(f), Fields::plainFormat(f));
        } else if (f.isImageFormat() || f.objectType() == EngineObject::FixedImage) {
            for (qsizetype i = 0; i < frag.text().size(); ++i)
                writePicture(f);
        } else {
            const QString text = unbroken(frag.text());
            writeText(text, Fields::plainFormat(f));
        }
    }
    closeField();
    if (!openHref.isEmpty())
        m_xml.writeEndElement();
    if (b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter) {
        m_xml.writeStartElement(W, QStringLiteral("r"));
        m_xml.writeEmptyElement(W, QStringLiteral("br"));
        m_xml.writeAttribute(W, QStringLiteral("type"), QStringLiteral("page"));
        m_xml.writeEndElement();
    }
    m_xml.writeEndElement();
}

void BodyWriter::writeTable(const QTextTable* t)
{
    const QTextTableFormat tf = t->format();
    const double textWidth = Document::twipsToPixels(m_package.textWidthTwips);
    QList<int> grid;
    for (double w : TableColumns::widths(t, textWidth))
        grid << twips(w);

    m_xml.writeStartElement(W, QStringLiteral("tbl"));
    m_xml.writeStartElement(W, QStringLiteral("tblPr"));
    m_xml.writeEmptyElement(W, QStringLiteral("tblW"));
    m_xml.writeAttribute(W, QStringLiteral("w"), QStringLiteral("0"));
    m_xml.writeAttribute(W, QStringLiteral("type"), QStringLiteral("auto"));
    if (tf.border() > 0 && tf.borderStyle() != QTextFrameFormat::BorderStyle_None) {
        m_xml.writeStartElement(W, QStringLiteral("tblBorders"));
        const QString size = num(qBound(2, qRound(tf.border() * 6), 96));
        for (const char* side : {"top", "left", "bottom", "right", "insideH", "insideV"}) {
            m_xml.writeEmptyElement(W, QLatin1String(side));
            m_xml.writeAttribute(W, QStringLiteral("val"), QStringLiteral("single"));
            m_xml.writeAttribute(W, QStringLiteral("sz"), size);
            m_xml.writeAttribute(W, QStringLiteral("space"), QStringLiteral("0"));
            m_xml.writeAttribute(W, QStringLiteral("color"), hex(tf.borderBrush().style() == Qt::NoBrush ? QColor(Qt::black) : tf.borderBrush().color()));
        }
        m_xml.writeEndElement();
    }
    m_xml.writeEmptyElement(W, QStringLiteral("tblLayout"));
    m_xml.writeAttribute(W, QStringLiteral("type"), QStringLiteral("fixed"));
    m_xml.writeStartElement(W, QStringLiteral("tblCellMar"));
    for (const char* side : {"left", "right"}) {
        m_xml.writeEmptyElement(W, QLatin1String(side));
        m_xml.writeAttribute(W, QStringLiteral("w"), num(twips(tf.cellPadding())));
        m_xml.writeAttribute(W, QStringLiteral("type"), QStringLiteral("dxa"));
    }
    m_xml.writeEndElement();
    m_xml.writeEndElement(); // tblPr
    m_xml.writeStartElement(W, QStringLiteral("tblGrid"));
    for (int w : grid) {
        m_xml.writeEmptyElement(W, QStringLiteral("gridCol"));
        m_xml.writeAttribute(W, QStringLiteral("w"), num(w));
    }
    m_xml.writeEndElement();
    for (int r = 0; r < t->rows(); ++r) {
        m_xml.writeStartElement(W, QStringLiteral("tr"));
        for (int c = 0; c < t->columns(); ++c) {
            const QTextTableCell cell = t->cellAt(r, c);
            if (cell.column() != c)
                continue;
            int width = 0;
            for (int i = 0; i < cell.columnSpan(); ++i)
                width += grid.value(c + i);
            writeCell(t, cell, r, c, cell.row() != r, width);
        }
        m_xml.writeEndElement();
    }
    m_xml.writeEndElement();
}

void BodyWriter::writeCell(const QTextTable* t, const QTextTableCell& cell, int row, int col, bool continued, int width)
{
    m_xml.writeStartElement(W, QStringLiteral("tc"));
    m_xml.writeStartElement(W, QStringLiteral("tcPr"));
    m_xml.writeEmptyElement(W, QStringLiteral("tcW"));
    m_xml.writeAttribute(W, QStringLiteral("w"), num(width));
    m_xml.writeAttribute(W, QStringLiteral("type"), QStringLiteral("dxa"));
    if (cell.columnSpan() > 1) {
        m_xml.writeEmptyElement(W, QStringLiteral("gridSpan"));
        m_xml.writeAttribute(W, QStringLiteral("val"), num(cell.columnSpan()));
    }
    if (cell.rowSpan() > 1) {
        m_xml.writeEmptyElement(W, QStringLiteral("vMerge"));
        if (!continued)
            m_xml.writeAttribute(W, QStringLiteral("val"), QStringLiteral("restart"));
    }
    const QTextTableCellFormat cf = cell.format().toTableCellFormat();
    if (FormatBrushes::background(cf)) {
        m_xml.writeEmptyElement(W, QStringLiteral("shd"));
        m_xml.writeAttribute(W, QStringLiteral("val"), QStringLiteral("clear"));
        m_xml.writeAttribute(W, QStringLiteral("color"), QStringLiteral("auto"));
        m_xml.writeAttribute(W, QStringLiteral("fill"), hex(cf.background().color()));
    }
    static const std::pair<int, const char*> pads[] = {{QTextFormat::TableCellTopPadding, "top"},
                                                       {QTextFormat::TableCellLeftPadding, "left"},
                                                       {QTextFormat::TableCellBottomPadding, "bottom"},
                                                       {QTextFormat::TableCellRightPadding, "right"}};
    bool anyPad = false;
    for (const auto& p : pads)
        anyPad = anyPad || cf.hasProperty(p.first);
    if (anyPad) {
        m_xml.writeStartElement(W, QStringLiteral("tcMar"));
        for (const auto& [prop, side] : pads) {
            m_xml.writeEmptyElement(W, QLatin1String(side));
            m_xml.writeAttribute(W, QStringLiteral("w"), num(twips(cf.doubleProperty(prop))));
            m_xml.writeAttribute(W, QStringLiteral("type"), QStringLiteral("dxa"));
        }
        m_xml.writeEndElement();
    }
    m_xml.writeEndElement(); // tcPr
    if (continued) {
        m_xml.writeEmptyElement(W, QStringLiteral("p"));
    } else {
        // A cell's blocks, nested tables included; a cell must end with a paragraph.
        bool lastWasTable = true;
        for (auto it = cell.begin(); !it.atEnd(); ++it) {
            if (const QTextFrame* f = it.currentFrame()) {
                if (auto* nested = qobject_cast<const QTextTable*>(f))
                    writeTable(nested);
                else
                    writeFrame(f);
                lastWasTable = true;
            } else {
                writeParagraph(it.currentBlock());
                lastWasTable = false;
            }
        }
        if (lastWasTable)
            m_xml.writeEmptyElement(W, QStringLiteral("p"));
    }
    Q_UNUSED(t);
    Q_UNUSED(row);
    Q_UNUSED(col);
    m_xml.writeEndElement();
}

} // namespace Docx
