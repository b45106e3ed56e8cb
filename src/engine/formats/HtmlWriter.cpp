#include "HtmlWriter.h"

#include "BreakOpportunities.h"
#include "DocumentTransfer.h"
#include "engine/objects/TextBoxes.h"
#include "HtmlLists.h"
#include "HtmlPages.h"
#include "engine/Document.h"
#include "engine/objects/Images.h"
#include "engine/EngineProperties.h"

#include <QHash>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>

namespace {

QString esc(const QString& s) { return s.toHtmlEscaped(); }

QString cssColor(const QColor& c) { return c.name(QColor::HexRgb); }

QString charStyle(const QTextCharFormat& f)
{
    QStringList d;
    const QStringList fam = f.fontFamilies().toStringList();
    if (!fam.isEmpty())
        d << QStringLiteral("font-family: '%1'").arg(fam.first());
    if (f.hasProperty(QTextFormat::FontPointSize))
        d << QStringLiteral("font-size: %1pt").arg(f.fontPointSize());
    if (f.hasProperty(QTextFormat::FontWeight))
        d << (f.fontWeight() >= QFont::DemiBold ? QStringLiteral("font-weight: bold") : QStringLiteral("font-weight: normal"));
    if (f.fontItalic())
        d << QStringLiteral("font-style: italic");
    QStringList deco;
    if (f.fontUnderline() && !f.isAnchor())
        deco << QStringLiteral("underline");
    if (f.fontStrikeOut())
        deco << QStringLiteral("line-through");
    if (!deco.isEmpty())
        d << QStringLiteral("text-decoration: ") + deco.join(QLatin1Char(' '));
    if (FormatBrushes::foreground(f))
        d << QStringLiteral("color: ") + cssColor(f.foreground().color());
    if (FormatBrushes::background(f))
        d << QStringLiteral("background-color: ") + cssColor(f.background().color());
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        d << QStringLiteral("vertical-align: super");
    else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
        d << QStringLiteral("vertical-align: sub");
    return d.join(QStringLiteral("; "));
}

// `emptyLine`: the paragraph has no text; its mark's font gives the line's height.
QString blockStyle(const QTextBlockFormat& f, const QTextCharFormat* emptyLine = nullptr, bool hasTab = false)
{
    QStringList d;
    const Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignRight)
        d << QStringLiteral("text-align: right");
    else if (a & Qt::AlignHCenter)
        d << QStringLiteral("text-align: center");
    else if (a & Qt::AlignJustify)
        d << QStringLiteral("text-align: justify");
    d << QStringLiteral("margin-top: %1px").arg(f.topMargin()) << QStringLiteral("margin-bottom: %1px").arg(f.bottomMargin());
    if (f.leftMargin() != 0)
        d << QStringLiteral("margin-left: %1px").arg(f.leftMargin());
    if (f.rightMargin() != 0)
        d << QStringLiteral("margin-right: %1px").arg(f.rightMargin());
    if (f.textIndent() != 0)
        d << QStringLiteral("text-indent: %1px").arg(f.textIndent());
    if (f.lineHeightType() == QTextBlockFormat::ProportionalHeight)
        d << QStringLiteral("line-height: %1%").arg(f.lineHeight());
    else if (f.lineHeightType() == QTextBlockFormat::FixedHeight)
        d << QStringLiteral("line-height: %1px").arg(f.lineHeight());
    if (f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        d << QStringLiteral("page-break-before: always");
    if (f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter)
        d << QStringLiteral("page-break-after: always");
    if (const QString tabs = HtmlPages::tabsAttribute(f); !tabs.isEmpty())
        d << tabs;
    // HTML folds a tab into a blank unless told to keep it.
    if (hasTab)
        d << QStringLiteral("white-space: pre-wrap");
    // An empty line is as tall as its paragraph's font. Without the mark Qt's importer
    // reads the <br /> of an empty paragraph as a second line.
    if (emptyLine) {
        d << QStringLiteral("-qt-paragraph-type: empty");
        if (const QString font = charStyle(*emptyLine); !font.isEmpty())
            d << font;
    }
    return d.join(QStringLiteral("; "));
}

class Writer {
public:
    Writer(const Document& doc, int mode) : doc(doc), mode(mode), text(doc.body()) {}

    QString body()
    {
        // Headers before the text, footers after it, each in its marked block.
        for (int part : {1, 2})
            writePart(part);
        text = doc.body();
        writeItems(text->rootFrame()->begin());
        closeList();
        for (int part : {4, 8})
            writePart(part);
        return html;
    }

    QString rules() const
    {
        QString css;
        const QFont f = doc.body()->defaultFont();
        css += QStringLiteral("body { font-family: '%1'; font-size: %2pt; }\n").arg(f.family()).arg(f.pointSizeF());
        for (int i = 0; i < classes.size(); ++i)
            css += QStringLiteral(".%1 { %2; }\n").arg(classNames[i], classes[i]);
        return css;
    }

private:
    void writePart(int part)
    {
        text = doc.headerFooter(part);
        if (!text)
            return;
        html += HtmlPages::partStart(doc, part);
        writeItems(text->rootFrame()->begin());
        closeList();
        html += QStringLiteral("</div>\n");
    }

    // The attribute that applies declarations: style="..." or class="...".
    QString styleAttr(const QString& decl, QChar prefix)
    {
        if (decl.isEmpty())
            return {};
        if (mode == 0)
            return QStringLiteral(" style=\"%1\"").arg(esc(decl));
        qsizetype i = classes.indexOf(decl);
        if (i < 0) {
            classes << decl;
            classNames << QString(prefix) + QString::number(classes.size());
            i = classes.size() - 1;
        }
        return QStringLiteral(" class=\"%1\"").arg(classNames[i]);
    }

    void closeList() { html += lists.closeAll(); }

    void writeItems(QTextFrame::iterator it)
    {
        for (; !it.atEnd(); ++it) {
            if (QTextFrame* f = it.currentFrame()) {
                closeList();
                if (auto* t = qobject_cast<QTextTable*>(f))
                    writeTable(t);
                else
                    writeItems(f->begin());
            } else {
                writeBlock(it.currentBlock());
            }
        }
    }

    void writeTable(QTextTable* t)
    {
        const QTextTableFormat tf = t->format();
        html += QStringLiteral("<table border=\"%1\" cellspacing=\"%2\" cellpadding=\"%3\">\n")
                    .arg(tf.border())
                    .arg(tf.cellSpacing())
                    .arg(tf.cellPadding());
        const QList<QTextLength> widths = tf.columnWidthConstraints();
        for (int r = 0; r < t->rows(); ++r) {
            html += QStringLiteral("<tr>");
            for (int c = 0; c < t->columns(); ++c) {
                const QTextTableCell cell = t->cellAt(r, c);
                if (cell.row() != r || cell.column() != c)
                    continue;
                html += QStringLiteral("<td");
                if (cell.rowSpan() > 1)
                    html += QStringLiteral(" rowspan=\"%1\"").arg(cell.rowSpan());
                if (cell.columnSpan() > 1)
                    html += QStringLiteral(" colspan=\"%1\"").arg(cell.columnSpan());
                const QTextLength w = widths.value(c);
                if (r == 0 && w.type() == QTextLength::FixedLength)
                    html += QStringLiteral(" width=\"%1\"").arg(qRound(w.rawValue()));
                else if (r == 0 && w.type() == QTextLength::PercentageLength)
                    html += QStringLiteral(" width=\"%1%\"").arg(w.rawValue());
                const QTextCharFormat cf = cell.format();
                if (FormatBrushes::background(cf))
                    html += styleAttr(QStringLiteral("background-color: ") + cssColor(cf.background().color()), u't');
                html += QLatin1Char('>');
                writeItems(cell.begin());
                closeList();
                html += QStringLiteral("</td>");
            }
            html += QStringLiteral("</tr>\n");
        }
        html += QStringLiteral("</table>\n");
    }

    void writeBlock(const QTextBlock& b)
    {
        QTextList* list = b.textList();
        if (b.blockFormat().hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth) && b.length() == 1) {
            closeList();
            html += QStringLiteral("<hr />\n");
            return;
        }
        html += lists.enter(list, list ? list->itemNumber(b) + 1 : 1);
        const QString tag = list ? QStringLiteral("li") : QStringLiteral("p");
        html += QLatin1Char('<') + tag;
        // Qt's importer takes justification only from the attribute.
        if ((b.blockFormat().alignment() & Qt::AlignHorizontal_Mask) == Qt::AlignJustify)
            html += QStringLiteral(" align=\"justify\"");
        const QTextCharFormat mark = b.charFormat();
        QTextBlockFormat bf = b.blockFormat();
        if (list)
            bf.setLeftMargin(lists.itemMargin(bf.leftMargin()));
        html += styleAttr(blockStyle(bf, b.length() == 1 ? &mark : nullptr, b.text().contains(QLatin1Char('\t'))), u'p')
                + QLatin1Char('>');
        QString openHref;
        BreakOpportunities::Stripper unbroken;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            const QTextCharFormat f = frag.charFormat();
            const QString href = f.isAnchor() ? f.anchorHref() : QString();
            if (href != openHref) {
                if (!openHref.isEmpty())
                    html += QStringLiteral("</a>");
                if (!href.isEmpty())
                    html += QStringLiteral("<a href=\"%1\">").arg(esc(href));
                openHref = href;
            }
            if (TextBoxes::isTextBox(f)) {
                html += esc(TextBoxes::plainText(f)).replace(QChar::LineSeparator, QStringLiteral("<br />"));
                continue;
            }
            if (f.isImageFormat() || f.objectType() == EngineObject::FixedImage) {
                // HTML has no pages: a fixed picture stands at its anchor.
                const QTextImageFormat img = f.isImageFormat() ? f.toImageFormat() : Images::asInline(f);
                QByteArray kind;
                const QByteArray bytes = DocumentTransfer::imageBytes(text, img.name(), &kind);
                if (bytes.isEmpty())
                    continue;
                html += QStringLiteral("<img src=\"data:image/%1;base64,%2\"")
                            .arg(QString::fromLatin1(kind.isEmpty() ? QByteArray("png") : kind),
                                 QString::fromLatin1(bytes.toBase64()));
                if (img.width() > 0)
                    html += QStringLiteral(" width=\"%1\"").arg(qRound(img.width()));
                if (img.height() > 0)
                    html += QStringLiteral(" height=\"%1\"").arg(qRound(img.height()));
                // Distances to the text, twips to CSS pixels.
                const int t = img.intProperty(EngineProperty::ImageDistanceT), r = img.intProperty(EngineProperty::ImageDistanceR),
                          b = img.intProperty(EngineProperty::ImageDistanceB), l = img.intProperty(EngineProperty::ImageDistanceL);
                if (t > 0 || r > 0 || b > 0 || l > 0)
                    html += QStringLiteral(" style=\"margin: %1px %2px %3px %4px\"")
                                .arg(qRound(t / 15.0)).arg(qRound(r / 15.0)).arg(qRound(b / 15.0)).arg(qRound(l / 15.0));
                html += QStringLiteral(" />");
                continue;
            }
            QString shown = esc(unbroken(frag.text()));
            shown.replace(QChar::LineSeparator, QStringLiteral("<br />"));
            shown.replace(QChar::Nbsp, QStringLiteral("&nbsp;"));
            if (f.objectType() == EngineObject::PageNumber || f.objectType() == EngineObject::PageCount) {
                shown.clear();
                for (qsizetype i = 0; i < frag.length(); ++i)
                    shown += HtmlPages::pageNumber(f.objectType() == EngineObject::PageCount);
            }
            const QString attr = styleAttr(charStyle(f), u'c');
            html += attr.isEmpty() ? shown : QStringLiteral("<span") + attr + QLatin1Char('>') + shown + QStringLiteral("</span>");
        }
        if (!openHref.isEmpty())
            html += QStringLiteral("</a>");
        if (b.text().isEmpty())
            html += QStringLiteral("<br />");
        // An item stays open for its sub-lists.
        if (!list)
            html += QStringLiteral("</p>\n");
    }

    const Document& doc;
    int mode;
    const QTextDocument* text; // the body or the part being written
    QString html;
    QStringList classes;
    QStringList classNames;
    HtmlLists::Nesting lists;
};

} // namespace

QString HtmlWriter::styleSheet(const Document& doc)
{
    Writer w(doc, 1);
    w.body();
    return w.rules();
}

bool HtmlWriter::write(const Document& doc, const WriteOptions& options, QByteArray* out, QString*)
{
    const int mode = qBound(0, options.styleSheetMode, 2);
    Writer w(doc, mode);
    const QString body = w.body();
    // No line end after </body>: Qt's importer would add it to the last paragraph.
    QString html = QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\" />\n<title></title>\n");
    // The page in every mode: a linked style sheet is not read back.
    html += QStringLiteral("<style type=\"text/css\">\n") + HtmlPages::pageRule(doc) + (mode == 1 ? w.rules() : QString())
            + QStringLiteral("</style>\n");
    if (mode == 2) {
        html += QStringLiteral("<link rel=\"stylesheet\" type=\"text/css\" href=\"%1\" />\n").arg(esc(options.styleSheetFile));
        if (options.styleSheetOut)
            *options.styleSheetOut = w.rules().toUtf8();
    } else if (mode == 0) {
        const QFont f = doc.body()->defaultFont();
        html += QStringLiteral("</head>\n<body style=\"font-family: '%1'; font-size: %2pt;\">\n")
                    .arg(esc(f.family()))
                    .arg(f.pointSizeF());
        *out = (html + body + QStringLiteral("</body></html>")).toUtf8();
        return true;
    }
    html += QStringLiteral("</head>\n<body>\n");
    *out = (html + body + QStringLiteral("</body></html>")).toUtf8();
    return true;
}
