#include "OdtBodyWriter.h"

#include "OdtNames.h"
#include "OdtWriterParts.h"
#include "engine/objects/TextBoxes.h"
#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "engine/objects/Fields.h"
#include "engine/formats/BreakOpportunities.h"
#include "engine/formats/DocumentTransfer.h"
#include "engine/formats/TableColumns.h"
#include "engine/formats/FormatIO.h"

#include <QBuffer>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>

#include <QUrl>

using namespace EngineProperty;

namespace Odt {

BodyWriter::BodyWriter(const QTextDocument* doc, Media& media, int textWidthTwips, const QString& prefix)
    : m_doc(doc), m_media(media), m_textWidth(textWidthTwips), m_prefix(prefix)
{
}

QString BodyWriter::content(const QString& firstMasterPage)
{
    m_firstMaster = firstMasterPage;
    m_out.clear();
    writeFrame(m_doc->rootFrame());
    return m_out;
}


void BodyWriter::writeFrame(const QTextFrame* frame)
{
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (const QTextFrame* f = it.currentFrame()) {
            if (auto* t = qobject_cast<const QTextTable*>(f))
                writeTable(t);
            else
                writeFrame(f);
            continue;
        }
        const QTextBlock b = it.currentBlock();
        QTextList* list = b.textList();
        if (!list) {
            writeBlock(b);
            continue;
        }
        // A run of paragraphs of one list is one text:list; a list that went on after
        // something else continues the numbers of its first run.
        const QString id = QStringLiteral("%1list%2").arg(m_prefix).arg(++m_listRuns);
        const int depth = listLevel(list->format());
        m_out += QStringLiteral("<text:list xml:id=\"%1\" text:style-name=\"%2\"%3>")
                     .arg(id, listStyle(list), m_listIds.contains(list) ? attr("text:continue-list", m_listIds.value(list)) : QString());
        if (!m_listIds.contains(list))
            m_listIds.insert(list, id);
        for (;;) {
            QString open, close;
            for (int d = 1; d < depth; ++d) {
                open += QStringLiteral("<text:list-item><text:list>");
                close.prepend(QStringLiteral("</text:list></text:list-item>"));
            }
            m_out += open + QStringLiteral("<text:list-item>");
            writeBlock(it.currentBlock());
            m_out += QStringLiteral("</text:list-item>") + close;
            auto next = it;
            ++next;
            if (next.atEnd() || next.currentFrame() || next.currentBlock().textList() != list)
                break;
            it = next;
        }
        m_out += QStringLiteral("</text:list>");
    }
}

void BodyWriter::writeBlock(const QTextBlock& b)
{
    const int heading = b.blockFormat().headingLevel();
    const QString style = paragraphStyle(b);
    if (heading > 0)
        m_out += QStringLiteral("<text:h text:style-name=\"%1\" text:outline-level=\"%2\">").arg(style).arg(heading);
    else
        m_out += QStringLiteral("<text:p text:style-name=\"%1\">").arg(style);
    m_spaceBefore = true;
    writeRuns(b);
    m_out += heading > 0 ? QStringLiteral("</text:h>") : QStringLiteral("</text:p>");
}

void BodyWriter::writeText(const QString& text)
{
    // ODF collapses blanks: one after a blank, a tab or the paragraph start is text:s.
    int spaces = 0;
    auto flush = [&] {
        if (spaces == 1)
            m_out += QStringLiteral("<text:s/>");
        else if (spaces > 1)
            m_out += QStringLiteral("<text:s text:c=\"%1\"/>").arg(spaces);
        spaces = 0;
    };
    for (QChar c : text) {
        if (c == u' ') {
            if (m_spaceBefore) {
                ++spaces;
            } else {
                m_out += c;
                m_spaceBefore = true;
            }
            continue;
        }
        if (c == QChar::ObjectReplacementCharacter)
            continue;
        flush();
        m_spaceBefore = c == u'\t' || c == QChar::LineSeparator;
        if (c == u'\t')
            m_out += QStringLiteral("<text:tab/>");
        else if (c == QChar::LineSeparator)
            m_out += QStringLiteral("<text:line-break/>");
        else
            m_out += esc(QString(c));
    }
    flush();
}

void BodyWriter::writeRuns(const QTextBlock& b)
{
    QString openHref;
    int openField = 0;
    QString openName;
    BreakOpportunities::Stripper unbroken;
    for (auto it = b.begin(); !it.atEnd(); ++it) {
        const QTextFragment frag = it.fragment();
        const QTextCharFormat f = frag.charFormat();
        const QString href = f.isAnchor() ? f.anchorHref() : QString();
        const bool object = Fields::isFieldObject(f.objectType());
        const int field = object ? 0 : f.intProperty(FieldId);
        if (openField && field != openField) {
            m_out += QStringLiteral("<text:bookmark-end text:name=\"%1\"/>").arg(esc(openName));
            openField = 0;
        }
        if (href != openHref) {
            if (!openHref.isEmpty())
                m_out += QStringLiteral("</text:a>");
            if (!href.isEmpty())
                m_out += QStringLiteral("<text:a xlink:type=\"simple\" xlink:href=\"%1\">").arg(esc(href));
            openHref = href;
        }
        if (field > 0 && field != openField) {
            // Our own fields: a bookmark whose name carries id, type, link kind, data and link.
            openName = QStringList{QStringLiteral("qxfield"), QString::number(field), QString::number(f.intProperty(FieldType)),
                                   QString::number(f.intProperty(FieldLinkKind)),
                                   QString::fromLatin1(QUrl::toPercentEncoding(f.stringProperty(FieldData))),
                                   QString::fromLatin1(QUrl::toPercentEncoding(f.stringProperty(FieldLinkTarget)))}
                           .join(QLatin1Char(' '));
            m_out += QStringLiteral("<text:bookmark-start text:name=\"%1\"/>").arg(esc(openName));
            openField = field;
        }
        const QString style = textStyle(Fields::plainFormat(f));
        const QString span = style.isEmpty() ? QString() : QStringLiteral("<text:span text:style-name=\"%1\">").arg(style);
        if (object) {
            const bool count = f.intProperty(FieldType) == FieldTypes::PageCount;
            m_out += span + (count ? QStringLiteral("<text:page-count>1</text:page-count>")
                                   : QStringLiteral("<text:page-number text:select-page=\"current\">1</text:page-number>"))
                     + (span.isEmpty() ? QString() : QStringLiteral("</text:span>"));
        } else if (TextBoxes::isTextBox(f)) {
            m_out += span;
            writeText(TextBoxes::plainText(f));
            if (!span.isEmpty())
                m_out += QStringLiteral("</text:span>");
        } else if (f.isImageFormat() || f.objectType() == EngineObject::FixedImage) {
            for (qsizetype i = 0; i < frag.text().size(); ++i)
                writePicture(f);
        } else {
            m_out += span;
            writeText(unbroken(frag.text()));
            if (!span.isEmpty())
                m_out += QStringLiteral("</text:span>");
        }
    }
    if (openField)
        m_out += QStringLiteral("<text:bookmark-end text:name=\"%1\"/>").arg(esc(openName));
    if (!openHref.isEmpty())
        m_out += QStringLiteral("</text:a>");
}

void BodyWriter::writePicture(const QTextCharFormat& f)
{
    const bool fixed = f.objectType() == EngineObject::FixedImage;
    const QString name = fixed ? f.stringProperty(ImageName) : f.toImageFormat().name();
    QByteArray kind;
    QByteArray bytes = DocumentTransfer::imageBytes(m_doc, name, &kind);
    const QImage img = DocumentTransfer::image(m_doc, name);
    if (bytes.isEmpty() || img.isNull())
        return;
    if (kind != "png" && kind != "jpeg" && kind != "jpg" && kind != "gif") {
        bytes.clear();
        QBuffer buf(&bytes);
        buf.open(QIODevice::WriteOnly);
        img.save(&buf, "PNG");
        kind = "png";
    }
    const int n = m_media.next++;
    const QString path = QStringLiteral("Pictures/image%1.%2").arg(n).arg(QString::fromLatin1(kind));
    m_media.files.append({path, bytes});
    double w = 0, h = 0;
    if (fixed) {
        w = f.intProperty(ImageWidth);
        h = f.intProperty(ImageHeight);
    } else {
        const QTextImageFormat imf = f.toImageFormat();
        w = twips(imf.width() > 0 ? imf.width() : img.width());
        h = twips(imf.height() > 0 ? imf.height() : img.height());
    }
    QString frameProps = QStringLiteral("style:wrap=\"%1\"").arg(fixed ? QStringLiteral("run-through\" style:run-through=\"foreground") : QStringLiteral("none"));
    frameProps += QStringLiteral(" fo:margin-left=\"%1\" fo:margin-top=\"%2\" fo:margin-right=\"%3\" fo:margin-bottom=\"%4\"")
                      .arg(pt(f.intProperty(ImageDistanceL)), pt(f.intProperty(ImageDistanceT)), pt(f.intProperty(ImageDistanceR)),
                           pt(f.intProperty(ImageDistanceB)));
    if (fixed)
        frameProps += QStringLiteral(" style:horizontal-pos=\"from-left\" style:horizontal-rel=\"page\" style:vertical-pos=\"from-top\" "
                                     "style:vertical-rel=\"page\"");
    else
        frameProps += QStringLiteral(" style:vertical-pos=\"top\" style:vertical-rel=\"baseline\"");
    const QString style = styleNamed(QStringLiteral("graphic"), QStringLiteral("<style:graphic-properties %1/>").arg(frameProps),
                                     m_otherStyles, "fr");
    m_out += QStringLiteral("<draw:frame draw:style-name=\"%1\" draw:name=\"%2Bild%3\" text:anchor-type=\"%4\"%5 svg:width=\"%6\" "
                            "svg:height=\"%7\" draw:z-index=\"%3\"><draw:image xlink:href=\"%8\" xlink:type=\"simple\" "
                            "xlink:show=\"embed\" xlink:actuate=\"onLoad\"/></draw:frame>")
                 .arg(style, m_prefix)
                 .arg(n)
                 .arg(fixed ? QStringLiteral("paragraph") : QStringLiteral("as-char"),
                      fixed ? QStringLiteral(" svg:x=\"%1\" svg:y=\"%2\"").arg(pt(f.intProperty(ImagePosX)), pt(f.intProperty(ImagePosY)))
                            : QString(),
                      pt(w), pt(h), path);
}

void BodyWriter::writeTable(const QTextTable* t)
{
    const QTextTableFormat tf = t->format();
    QList<double> widths = TableColumns::widths(t, Document::twipsToPixels(m_textWidth));
    double total = 0;
    for (double& w : widths)
        total += (w = twips(w));
    const QString name = QStringLiteral("%1Tabelle%2").arg(m_prefix).arg(++m_tables);
    const QString tableStyle = styleNamed(QStringLiteral("table"),
                                          QStringLiteral("<style:table-properties style:width=\"%1\" table:align=\"left\"/>").arg(pt(total)),
                                          m_otherStyles, "Ta");
    m_out += QStringLiteral("<table:table table:name=\"%1\" table:style-name=\"%2\">").arg(name, tableStyle);
    for (double w : std::as_const(widths))
        m_out += QStringLiteral("<table:table-column table:style-name=\"%1\"/>")
                     .arg(styleNamed(QStringLiteral("table-column"),
                                     QStringLiteral("<style:table-column-properties style:column-width=\"%1\"/>").arg(pt(w)), m_otherStyles,
                                     "Co"));
    const bool borders = tf.border() > 0 && tf.borderStyle() != QTextFrameFormat::BorderStyle_None;
    for (int r = 0; r < t->rows(); ++r) {
        m_out += QStringLiteral("<table:table-row>");
        for (int c = 0; c < t->columns(); ++c) {
            const QTextTableCell cell = t->cellAt(r, c);
            if (cell.row() != r || cell.column() != c) {
                m_out += QStringLiteral("<table:covered-table-cell/>");
                continue;
            }
            const QTextTableCellFormat cf = cell.format().toTableCellFormat();
            QString props = attr("fo:border", borders ? QStringLiteral("0.5pt solid #000000") : QStringLiteral("none"));
            if (FormatBrushes::background(cf))
                props += attr("fo:background-color", colour(cf.background().color()));
            props += attr("fo:padding-left", pt(twips(cf.hasProperty(QTextFormat::TableCellLeftPadding) ? cf.leftPadding() : tf.cellPadding())));
            props += attr("fo:padding-right", pt(twips(cf.hasProperty(QTextFormat::TableCellRightPadding) ? cf.rightPadding() : tf.cellPadding())));
            props += attr("fo:padding-top", pt(twips(cf.hasProperty(QTextFormat::TableCellTopPadding) ? cf.topPadding() : tf.cellPadding())));
            props += attr("fo:padding-bottom", pt(twips(cf.hasProperty(QTextFormat::TableCellBottomPadding) ? cf.bottomPadding() : tf.cellPadding())));
            const QString cellStyle = styleNamed(QStringLiteral("table-cell"), QStringLiteral("<style:table-cell-properties%1/>").arg(props),
                                                 m_otherStyles, "Ce");
            m_out += QStringLiteral("<table:table-cell table:style-name=\"%1\" office:value-type=\"string\"").arg(cellStyle);
            if (cell.columnSpan() > 1)
                m_out += QStringLiteral(" table:number-columns-spanned=\"%1\"").arg(cell.columnSpan());
            if (cell.rowSpan() > 1)
                m_out += QStringLiteral(" table:number-rows-spanned=\"%1\"").arg(cell.rowSpan());
            m_out += QLatin1Char('>');
            bool any = false;
            for (auto it = cell.begin(); !it.atEnd(); ++it) {
                if (const QTextFrame* f = it.currentFrame()) {
                    if (auto* nested = qobject_cast<const QTextTable*>(f))
                        writeTable(nested);
                    else
                        writeFrame(f);
                } else {
                    writeBlock(it.currentBlock());
                }
                any = true;
            }
            if (!any)
                m_out += QStringLiteral("<text:p/>");
            m_out += QStringLiteral("</table:table-cell>");
        }
        m_out += QStringLiteral("</table:table-row>");
    }
    m_out += QStringLiteral("</table:table>");
}

} // namespace Odt
