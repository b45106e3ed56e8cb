// The automatic styles of the ODF text writer: paragraph, text and list styles, each
// written once and named by its content.
#include "OdtBodyWriter.h"

#include "OdtNames.h"
#include "OdtWriterParts.h"
#include "engine/formats/FormatIO.h"
#include "engine/objects/TabLeaders.h"
#include "engine/objects/TabStops.h"

#include <QTextDocument>
#include <QTextList>

using namespace EngineProperty;

namespace Odt {

namespace {

QString numFormat(QTextListFormat::Style s)
{
    switch (s) {
    case QTextListFormat::ListLowerAlpha: return QStringLiteral("a");
    case QTextListFormat::ListUpperAlpha: return QStringLiteral("A");
    case QTextListFormat::ListLowerRoman: return QStringLiteral("i");
    case QTextListFormat::ListUpperRoman: return QStringLiteral("I");
    default: return QStringLiteral("1");
    }
}

} // namespace

QString BodyWriter::styleNamed(const QString& family, const QString& body, QHash<QString, QString>& known, const char* stem)
{
    const QString key = family + body;
    QString& name = known[key];
    if (name.isEmpty()) {
        name = m_prefix + QLatin1String(stem) + QString::number(known.size());
        m_styles += QStringLiteral("<style:style style:name=\"%1\" style:family=\"%2\">%3</style:style>").arg(name, family, body);
    }
    return name;
}

QString BodyWriter::paragraphStyle(const QTextBlock& b)
{
    const QTextBlockFormat bf = b.blockFormat();
    QString p;
    const Qt::Alignment a = bf.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignRight)
        p += attr("fo:text-align", QStringLiteral("end"));
    else if (a & Qt::AlignHCenter)
        p += attr("fo:text-align", QStringLiteral("center"));
    else if (a & Qt::AlignJustify)
        p += attr("fo:text-align", QStringLiteral("justify"));
    if (!b.textList()) {
        p += attr("fo:margin-left", pt(twips(bf.leftMargin())));
        p += attr("fo:text-indent", pt(twips(bf.textIndent())));
    }
    p += attr("fo:margin-right", pt(twips(bf.rightMargin())));
    p += attr("fo:margin-top", pt(twips(bf.topMargin())));
    p += attr("fo:margin-bottom", pt(twips(bf.bottomMargin())));
    switch (bf.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        p += attr("fo:line-height", QString::number(bf.lineHeight(), 'f', 0) + QLatin1Char('%'));
        break;
    case QTextBlockFormat::FixedHeight: p += attr("fo:line-height", pt(twips(bf.lineHeight()))); break;
    case QTextBlockFormat::MinimumHeight: p += attr("style:line-height-at-least", pt(twips(bf.lineHeight()))); break;
    default: break;
    }
    if (bf.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        p += attr("fo:break-before", QStringLiteral("page"));
    if (bf.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter)
        p += attr("fo:break-after", QStringLiteral("page"));
    int frame = bf.intProperty(FrameStyle);
    // A rule line: how office programs write one, a border below an empty paragraph.
    const bool rule = bf.hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth) && !frame;
    if (rule)
        frame = FrameBits::Bottom;
    if (frame & (FrameBits::Left | FrameBits::Right | FrameBits::Top | FrameBits::Bottom)) {
        const QString line = pt(rule ? 15 : qMax(1, bf.intProperty(FrameLineWidth))) + ((frame & FrameBits::Double) ? QStringLiteral(" double #000000") : QStringLiteral(" solid #000000"));
        const std::pair<int, const char*> sides[] = {{FrameBits::Left, "left"}, {FrameBits::Right, "right"}, {FrameBits::Top, "top"}, {FrameBits::Bottom, "bottom"}};
        for (const auto& [bit, side] : sides) {
            p += QStringLiteral(" fo:border-%1=\"%2\"").arg(QLatin1String(side), (frame & bit) ? line : QStringLiteral("none"));
            p += QStringLiteral(" fo:padding-%1=\"%2\"").arg(QLatin1String(side), pt(bf.intProperty(FrameDistance)));
        }
    }
    QString tabs;
    // ODF counts tab stops from the paragraph's left indent.
    QList<QTextOption::Tab> fromIndent = TabStops::fromMargin(bf);
    for (QTextOption::Tab& t : fromIndent)
        t.position -= bf.leftMargin();
    for (const QTextOption::Tab& t : std::as_const(fromIndent)) {
        const char* type = t.type == QTextOption::RightTab ? "right" : t.type == QTextOption::CenterTab ? "center"
                           : t.type == QTextOption::DelimiterTab ? "char" : "left";
        QString more = t.type == QTextOption::DelimiterTab ? attr("style:char", t.delimiter.isNull() ? QStringLiteral(",") : QString(t.delimiter)) : QString();
        // A thick line is ODF's solid one in bold.
        const QChar leader = TabLeaders::of(t);
        const bool thick = leader == u'=';
        for (const Leader& l : kLeaders)
            if (!leader.isNull() && QChar(l.leader) == (thick ? QChar(u'_') : leader)) {
                more += attr("style:leader-style", QLatin1String(l.style)) + attr("style:leader-text", QString(QChar(l.leader)));
                if (thick)
                    more += attr("style:leader-width", QStringLiteral("bold"));
                break;
            }
        tabs += QStringLiteral("<style:tab-stop style:position=\"%1\" style:type=\"%2\"%3/>")
                    .arg(pt(twips(t.position)), QLatin1String(type), more);
    }
    QString body = QStringLiteral("<style:paragraph-properties%1>").arg(p);
    body += tabs.isEmpty() ? QString() : QStringLiteral("<style:tab-stops>%1</style:tab-stops>").arg(tabs);
    body += QStringLiteral("</style:paragraph-properties>");
    // The paragraph mark's font: it gives an empty line its height.
    const QTextCharFormat mark = b.charFormat();
    QString text;
    if (b.length() == 1 && mark.hasProperty(QTextFormat::FontPointSize))
        text += attr("fo:font-size", QString::number(mark.fontPointSize()) + QStringLiteral("pt"));
    // ODF counts hyphenation among the text's properties.
    if (bf.boolProperty(EngineProperty::Hyphenate))
        text += attr("fo:hyphenate", QStringLiteral("true"));
    if (!text.isEmpty())
        body += QStringLiteral("<style:text-properties%1/>").arg(text);
    if (!m_firstMaster.isEmpty()) {
        // The master page goes on the style element itself.
        const QString name = m_prefix + QStringLiteral("PFirst");
        m_styles += QStringLiteral("<style:style style:name=\"%1\" style:family=\"paragraph\" style:master-page-name=\"%2\">%3</style:style>")
                        .arg(name, m_firstMaster, body);
        m_firstMaster.clear();
        return name;
    }
    return styleNamed(QStringLiteral("paragraph"), body, m_paraStyles, "P");
}

QString BodyWriter::textStyle(const QTextCharFormat& f)
{
    QString p;
    const QStringList families = f.fontFamilies().toStringList();
    if (!families.isEmpty())
        p += attr("fo:font-family", families.first()) + attr("style:font-name", families.first());
    if (f.hasProperty(QTextFormat::FontPointSize))
        p += attr("fo:font-size", QString::number(f.fontPointSize()) + QStringLiteral("pt"));
    if (f.hasProperty(QTextFormat::FontWeight))
        p += attr("fo:font-weight", f.fontWeight() >= QFont::DemiBold ? QStringLiteral("bold") : QStringLiteral("normal"));
    if (f.fontItalic())
        p += attr("fo:font-style", QStringLiteral("italic"));
    if (f.fontUnderline())
        p += attr("style:text-underline-style", QStringLiteral("solid")) + attr("style:text-underline-width", QStringLiteral("auto"))
             + attr("style:text-underline-color", QStringLiteral("font-color"));
    if (f.fontStrikeOut())
        p += attr("style:text-line-through-style", QStringLiteral("solid"));
    if (FormatBrushes::foreground(f))
        p += attr("fo:color", colour(f.foreground().color()));
    if (FormatBrushes::background(f))
        p += attr("fo:background-color", colour(f.background().color()));
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        p += attr("style:text-position", QStringLiteral("super 58%"));
    else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
        p += attr("style:text-position", QStringLiteral("sub 58%"));
    if (f.fontCapitalization() == QFont::AllUppercase)
        p += attr("fo:text-transform", QStringLiteral("uppercase"));
    if (p.isEmpty())
        return {};
    return styleNamed(QStringLiteral("text"), QStringLiteral("<style:text-properties%1/>").arg(p), m_textStyles, "T");
}

QString BodyWriter::listStyle(QTextList* list)
{
    QString& name = m_lists[list];
    if (!name.isEmpty())
        return name;
    name = m_prefix + QStringLiteral("L") + QString::number(m_lists.size());
    const QTextListFormat lf = list->format();
    const bool bullet = lf.style() == QTextListFormat::ListDisc || lf.style() == QTextListFormat::ListCircle
                        || lf.style() == QTextListFormat::ListSquare;
    const int own = listLevel(lf);
    QString levels;
    for (int level = 1; level <= 10; ++level) {
        int text = 360 * (level + 1), marker = text - 360;
        if (level == own && lf.hasProperty(ListIndentText)) {
            text = lf.intProperty(ListIndentText);
            marker = lf.intProperty(ListIndentMarker);
        } else if (level == own) {
            text = qRound(twips(list->item(0).blockFormat().leftMargin())) + 600 * lf.indent();
            marker = text - 360;
        }
        const QString props = QStringLiteral("<style:list-level-properties text:list-level-position-and-space-mode=\"label-alignment\">"
                                             "<style:list-level-label-alignment text:label-followed-by=\"listtab\" text:list-tab-stop-position=\"%1\" "
                                             "fo:text-indent=\"%2\" fo:margin-left=\"%1\"/></style:list-level-properties>")
                                  .arg(pt(text), pt(marker - text));
        if (bullet) {
            const QString ch = lf.style() == QTextListFormat::ListCircle ? QStringLiteral("\u25E6")
                               : lf.style() == QTextListFormat::ListSquare ? QStringLiteral("\u25AA") : QStringLiteral("\u2022");
            levels += QStringLiteral("<text:list-level-style-bullet text:level=\"%1\" text:bullet-char=\"%2\">%3</text:list-level-style-bullet>")
                          .arg(level).arg(ch, props);
        } else {
            levels += QStringLiteral("<text:list-level-style-number text:level=\"%1\"%2%3 style:num-format=\"%4\">%5</text:list-level-style-number>")
                          .arg(level)
                          .arg(lf.numberPrefix().isEmpty() ? QString() : attr("style:num-prefix", lf.numberPrefix()),
                               lf.numberSuffix().isEmpty() ? QString() : attr("style:num-suffix", lf.numberSuffix()),
                               numFormat(lf.style()), props);
        }
    }
    m_styles += QStringLiteral("<text:list-style style:name=\"%1\">%2</text:list-style>").arg(name, levels);
    return name;
}

} // namespace Odt
