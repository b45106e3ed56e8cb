#include "RtfWriter.h"
#include "TableColumns.h"

#include "BreakOpportunities.h"
#include "DocumentTransfer.h"
#include "RtfFields.h"
#include "RtfListTable.h"
#include "RtfText.h"
#include "RtfShapes.h"
#include "engine/SectionParts.h"
#include "engine/EngineProperties.h"
#include "engine/Document.h"
#include "engine/Sections.h"
#include "engine/objects/Images.h"
#include "engine/objects/TextBoxes.h"
#include "engine/objects/TabStops.h"
#include "engine/objects/TabLeaders.h"
#include "engine/spelling/AutoHyphens.h"

#include <QBuffer>
#include <functional>
#include <QHash>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>

namespace {

using RtfText::escape;

QByteArray num(int v) { return QByteArray::number(v); }
int twips(double px) { return qRound(Document::pixelsToTwips(px)); }

class Writer {
public:
    explicit Writer(const Document& doc) : doc(doc) {}
    bool hyphenated = false; // \hyphauto1 written

    QByteArray run()
    {
        QList<const QTextDocument*> texts{doc.body()};
        for (int part : {1, 2, 4, 8})
            if (const QTextDocument* d = doc.headerFooter(part))
                texts << d;
        for (int id : SectionParts::ids(doc))
            for (int part : {1, 2, 4, 8})
                if (const QTextDocument* d = SectionParts::part(doc, id, part))
                    texts << d;
        fonts << doc.body()->defaultFont().family();
        collectTextBoxes(doc.body());
        for (const auto& box : std::as_const(textBoxes))
            texts << box.get();
        for (const QTextDocument* d : texts)
            collect(d);

        out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl";
        for (int i = 0; i < fonts.size(); ++i)
            out += "{\\f" + num(i) + "\\fnil\\fcharset0 " + escape(fonts[i]) + ";}";
        out += "}\n{\\colortbl;";
        for (const QColor& c : colors)
            out += "\\red" + num(c.red()) + "\\green" + num(c.green()) + "\\blue" + num(c.blue()) + ';';
        out += "}\n";
        out += lists.write();
        const PageGeometry& g = doc.page();
        out += "\\deftab" + num(TabStops::defaultDistance(doc.body())) + '\n';
        // Office programs hyphenate a whole document; the paragraphs without are excepted.
        hyphenated = AutoHyphens::anyOn(doc.body());
        if (hyphenated)
            out += "\\hyphauto1\n";
        out += "\\paperw" + num(g.width) + "\\paperh" + num(g.height) + "\\margl" + num(g.marginL) + "\\margr"
               + num(g.marginR) + "\\margt" + num(g.marginT) + "\\margb" + num(g.marginB) + '\n';
        writeSection(Sections::firstOf(doc), [this](int part) { return doc.headerFooter(part); });
        current = doc.body();
        writeItems(doc.body()->rootFrame()->begin(), false);
        out += "}\n";
        return out;
    }

private:
    // A section's page and the header and footer parts it has of its own.
    void writeSection(const SectionFormat& f, const std::function<const QTextDocument*(int)>& partOf)
    {
        const PageGeometry& g = f.page;
        out += "\\sectd";
        if (g.width > g.height)
            out += "\\lndscpsxn";
        out += "\\pgwsxn" + num(g.width) + "\\pghsxn" + num(g.height) + "\\marglsxn" + num(g.marginL)
               + "\\margrsxn" + num(g.marginR) + "\\margtsxn" + num(g.marginT) + "\\margbsxn" + num(g.marginB);
        out += "\\headery" + num(f.headerDistance) + "\\footery" + num(f.footerDistance);
        if (partOf(2) || partOf(8))
            out += "\\titlepg";
        out += '\n';
        static const char* const partWords[] = {"header", "headerf", "footer", "footerf"};
        int i = 0;
        const QTextDocument* was = current;
        for (int part : {1, 2, 4, 8}) {
            if (const QTextDocument* d = partOf(part)) {
                out += QByteArray("{\\") + partWords[i] + ' ';
                current = d;
                writeItems(d->rootFrame()->begin(), false);
                out += "}\n";
            }
            ++i;
        }
        current = was;
    }

    int fontIndex(const QTextCharFormat& f)
    {
        const QStringList fam = f.fontFamilies().toStringList();
        const QString name = fam.isEmpty() ? fonts.first() : fam.first();
        qsizetype i = fonts.indexOf(name);
        if (i < 0) {
            fonts << name;
            i = fonts.size() - 1;
        }
        return int(i);
    }
    int colorIndex(const QColor& c)
    {
        const QColor opaque(c.red(), c.green(), c.blue());
        qsizetype i = colors.indexOf(opaque);
        if (i < 0) {
            colors << opaque;
            i = colors.size() - 1;
        }
        return int(i) + 1;
    }

    void collect(const QTextDocument* d)
    {
        for (QTextBlock b = d->begin(); b.isValid(); b = b.next()) {
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat f = it.fragment().charFormat();
                fontIndex(f);
                if (FormatBrushes::foreground(f))
                    colorIndex(f.foreground().color());
                if (FormatBrushes::background(f))
                    colorIndex(f.background().color());
            }
        }
        lists.collect(d);
        // Cell backgrounds.
        for (QTextFrame* f : d->rootFrame()->childFrames())
            if (auto* t = qobject_cast<QTextTable*>(f))
                for (int r = 0; r < t->rows(); ++r)
                    for (int c = 0; c < t->columns(); ++c) {
                        const QTextCharFormat cf = t->cellAt(r, c).format();
                        if (FormatBrushes::background(cf))
                            colorIndex(cf.background().color());
                    }
    }

    void writeItems(QTextFrame::iterator it, bool inTable)
    {
        for (; !it.atEnd(); ++it) {
            if (QTextFrame* f = it.currentFrame()) {
                if (auto* t = qobject_cast<QTextTable*>(f); t && !inTable)
                    writeTable(t);
                else
                    writeItems(f->begin(), inTable);
            } else {
                SectionFormat section;
                const QTextBlock b = it.currentBlock();
                if (!inTable && current == doc.body() && b.position() > 0 && Sections::breakOf(b.blockFormat(), &section)) {
                    out += "\\sect";
                    writeSection(section, [this, &section](int part) { return SectionParts::part(doc, section.parts, part); });
                }
                writeParagraph(b, inTable, false);
            }
        }
    }

    void writeParagraphProps(const QTextBlock& b, bool inTable)
    {
        const QTextBlockFormat bf = b.blockFormat();
        out += "\\pard\\plain";
        if (inTable)
            out += "\\intbl";
        const Qt::Alignment a = bf.alignment() & Qt::AlignHorizontal_Mask;
        if (a & Qt::AlignRight)
            out += "\\qr";
        else if (a & Qt::AlignHCenter)
            out += "\\qc";
        else if (a & Qt::AlignJustify)
            out += "\\qj";
        double left = bf.leftMargin();
        double indent = bf.textIndent();
        QTextList* list = b.textList();
        if (list) {
            const int level = lists.level(list);
            // \li is where an item's text starts; Qt adds the list's indent steps to the margin.
            left += list->format().indent() * current->indentWidth();
            indent -= Document::twipsToPixels(360);
            out += "\\ls" + num(lists.listNumber(list)) + "\\ilvl" + num(level);
        }
        if (left != 0)
            out += "\\li" + num(twips(left));
        if (bf.rightMargin() != 0)
            out += "\\ri" + num(twips(bf.rightMargin()));
        if (indent != 0)
            out += "\\fi" + num(twips(indent));
        if (bf.topMargin() != 0)
            out += "\\sb" + num(twips(bf.topMargin()));
        if (bf.bottomMargin() != 0)
            out += "\\sa" + num(twips(bf.bottomMargin()));
        switch (bf.lineHeightType()) {
        case QTextBlockFormat::ProportionalHeight:
            out += "\\sl" + num(qRound(bf.lineHeight() * 240 / 100)) + "\\slmult1";
            break;
        case QTextBlockFormat::FixedHeight:
            out += "\\sl-" + num(twips(bf.lineHeight())) + "\\slmult0";
            break;
        case QTextBlockFormat::MinimumHeight:
            out += "\\sl" + num(twips(bf.lineHeight())) + "\\slmult0";
            break;
        default:
            break;
        }
        for (const QTextOption::Tab& t : TabStops::fromMargin(bf)) {
            if (t.type == QTextOption::RightTab)
                out += "\\tqr";
            else if (t.type == QTextOption::CenterTab)
                out += "\\tqc";
            else if (t.type == QTextOption::DelimiterTab)
                out += "\\tqdec";
            switch (TabLeaders::of(t).unicode()) {
            case '.': out += "\\tldot"; break;
            case 0x00B7: out += "\\tlmdot"; break;
            case '-': out += "\\tlhyph"; break;
            case '_': out += "\\tlul"; break;
            case '=': out += "\\tlth"; break;
            default: break;
            }
            out += "\\tx" + num(twips(t.position));
        }
        // A section starts its page with \\sect already.
        if ((bf.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) && !Sections::isBreak(bf))
            out += "\\pagebb";
        if (hyphenated && !bf.boolProperty(EngineProperty::Hyphenate))
            out += "\\hyphpar0";
        // A rule line: how office programs write one, an empty paragraph with a border below.
        if (bf.hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth))
            out += "\\brdrb\\brdrs\\brdrw10\\brsp20";
        out += ' ';
        if (list) {
            QString label = list->itemText(b);
            if (label.isEmpty())
                label = QString(QChar(0x2022));
            out += "{\\listtext\\pard\\plain " + escape(label) + "\\tab}";
        }
    }

    QByteArray charProps(const QTextCharFormat& f)
    {
        QByteArray p = "\\plain\\f" + num(fontIndex(f));
        const double size = f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize()
                                                                     : current->defaultFont().pointSizeF();
        p += "\\fs" + num(qRound(size * 2));
        if (f.fontWeight() >= QFont::DemiBold)
            p += "\\b";
        if (f.fontItalic())
            p += "\\i";
        if (f.fontUnderline())
            p += "\\ul";
        if (f.fontStrikeOut())
            p += "\\strike";
        if (FormatBrushes::foreground(f))
            p += "\\cf" + num(colorIndex(f.foreground().color()));
        if (FormatBrushes::background(f)) {
            const QByteArray i = num(colorIndex(f.background().color()));
            p += "\\chcbpat" + i + "\\cb" + i + "\\highlight" + i;
        }
        if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
            p += "\\super";
        else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
            p += "\\sub";
        if (f.fontCapitalization() == QFont::AllUppercase)
            p += "\\caps";
        return p + ' ';
    }

    // The {\pict ...} group of an image, `props` (picture properties) inside it.
    QByteArray pictGroup(const QTextImageFormat& f, const QByteArray& props) const
    {
        QByteArray kind;
        const QByteArray bytes = DocumentTransfer::imageBytes(current, f.name(), &kind);
        const QImage img = DocumentTransfer::image(current, f.name());
        if (bytes.isEmpty() || img.isNull())
            return {};
        QByteArray data = bytes;
        QByteArray blip = "\\pngblip";
        if (kind == "jpeg" || kind == "jpg") {
            blip = "\\jpegblip";
        } else if (kind != "png") {
            data.clear();
            QBuffer buf(&data);
            buf.open(QIODevice::WriteOnly);
            img.save(&buf, "PNG");
        }
        const double w = f.width() > 0 ? f.width() : img.width();
        const double h = f.height() > 0 ? f.height() : img.height();
        QByteArray pict = "{\\pict" + props + blip + "\\picw" + num(img.width()) + "\\pich" + num(img.height())
                          + "\\picwgoal" + num(twips(w)) + "\\pichgoal" + num(twips(h)) + '\n';
        const QByteArray hex = data.toHex();
        for (qsizetype i = 0; i < hex.size(); i += 128)
            pict += hex.mid(i, 128) + '\n';
        return pict + '}';
    }

    // A picture in the text, its distances in {\*\picprop}.
    void writeImage(const QTextImageFormat& f) { out += pictGroup(f, RtfShapes::distanceProperties(f)); }

    // Text boxes of the body as documents, so that their fonts and colours are listed.
    void collectTextBoxes(const QTextDocument* d)
    {
        for (QTextBlock b = d->begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat f = it.fragment().charFormat();
                if (!TextBoxes::isTextBox(f))
                    continue;
                const QString html = f.stringProperty(EngineProperty::TextBoxHtml);
                if (!textBoxes.contains(html))
                    textBoxes.insert(html, TextBoxes::layOut(html, 100));
            }
    }

    // A fixed picture or a text box: a shape at its page position.
    void writeShape(const QTextCharFormat& f)
    {
        const QTextDocument* box = nullptr;
        if (TextBoxes::isTextBox(f)) {
            const auto it = textBoxes.constFind(f.stringProperty(EngineProperty::TextBoxHtml));
            if (it == textBoxes.cend())
                return;
            box = it->get();
        }
        QByteArray pict;
        if (!box) {
            pict = pictGroup(Images::asInline(f), {});
            if (pict.isEmpty())
                return;
        }
        out += RtfShapes::shapeStart(f, 1025 + shapes++);
        if (box) {
            const QTextDocument* outer = current;
            current = box;
            writeItems(box->rootFrame()->begin(), false);
            current = outer;
            out += "}}}\n";
        } else {
            out += pict + "}}}}\n";
        }
    }

    void writeParagraph(const QTextBlock& b, bool inTable, bool endsCell)
    {
        writeParagraphProps(b, inTable);
        QString openHref;
        int openField = 0;
        BreakOpportunities::Stripper unbroken;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            const QTextCharFormat f = frag.charFormat();
            const QString href = f.isAnchor() ? f.anchorHref() : QString();
            const int field = f.intProperty(EngineProperty::FieldId);
            // A field sits inside a link, so it closes when either changes.
            if (openField && (field != openField || href != openHref)) {
                out += RtfFields::close();
                openField = 0;
            }
            if (href != openHref) {
                if (!openHref.isEmpty())
                    out += "}}}";
                if (!href.isEmpty()) {
                    QString target = href;
                    target.replace(QLatin1Char('"'), QStringLiteral("%22"));
                    out += "{\\field{\\*\\fldinst{HYPERLINK \"" + escape(target) + "\"}}{\\fldrslt{";
                }
                openHref = href;
            }
            if (field > 0 && field != openField) {
                out += RtfFields::open(f, escape);
                openField = field;
            }
            if (const QString shown = RtfFields::resultText(f); !shown.isEmpty()) {
                out += '{' + charProps(f) + escape(shown) + '}';
                continue;
            }
            if (f.objectType() == EngineObject::FixedImage) {
                for (qsizetype i = 0; i < frag.text().size(); ++i)
                    writeShape(f);
                continue;
            }
            if (f.isImageFormat()) {
                for (qsizetype i = 0; i < frag.text().size(); ++i)
                    writeImage(f.toImageFormat());
                continue;
            }
            out += '{' + charProps(f) + escape(unbroken(frag.text())) + '}';
        }
        if (openField)
            out += RtfFields::close();
        if (!openHref.isEmpty())
            out += "}}}";
        if (b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter)
            out += "\\page";
        // The paragraph mark's font: it gives an empty line its height.
        if (b.length() == 1)
            out += charProps(b.charFormat()); // ends in the blank that closes its last word
        out += endsCell ? "\\cell\n" : "\\par\n";
    }

    void writeCell(const QTextTableCell& cell)
    {
        // All paragraphs of the cell; the last one ends the cell instead of a paragraph.
        QList<QTextBlock> blocks;
        for (auto it = cell.begin(); !it.atEnd(); ++it) {
            if (QTextFrame* f = it.currentFrame()) {
                for (QTextBlock b = f->firstCursorPosition().block(); b.isValid() && b.position() <= f->lastPosition(); b = b.next())
                    blocks << b;
            } else {
                blocks << it.currentBlock();
            }
        }
        if (blocks.isEmpty()) {
            out += "\\pard\\intbl\\cell\n";
            return;
        }
        for (int i = 0; i < blocks.size(); ++i)
            writeParagraph(blocks[i], true, i == blocks.size() - 1);
    }

    void writeTable(QTextTable* t)
    {
        const PageGeometry& g = doc.page();
        const double textWidth = Document::twipsToPixels(g.width - g.marginL - g.marginR);
        // Cell edges from where the first one stands, which \trleft gives.
        const double left = TableColumns::firstEdge(t->format());
        QList<int> right;
        double x = left;
        for (double w : TableColumns::widths(t, textWidth)) {
            x += w;
            right << twips(x);
        }
        const bool borders = t->format().border() > 0;
        for (int r = 0; r < t->rows(); ++r) {
            out += "\\trowd\\trgaph108\\trleft" + num(twips(left)) + rowPadding(t, r);
            QList<QTextTableCell> cells;
            for (int c = 0; c < t->columns(); ++c) {
                const QTextTableCell cell = t->cellAt(r, c);
                if (cell.column() != c)
                    continue;
                if (cell.rowSpan() > 1 && cell.row() == r)
                    out += "\\clvmgf";
                else if (cell.row() != r)
                    out += "\\clvmrg";
                const QTextCharFormat cf = cell.format();
                if (FormatBrushes::background(cf))
                    out += "\\clcbpat" + num(colorIndex(cf.background().color()));
                if (borders)
                    out += "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10";
                out += "\\cellx" + num(right.value(c + cell.columnSpan() - 1));
                cells << cell;
            }
            out += '\n';
            for (const QTextTableCell& cell : cells) {
                if (cell.row() != r)
                    out += "\\pard\\intbl\\cell\n";
                else
                    writeCell(cell);
            }
            out += "\\row\n";
        }
    }

    // The paddings of a row's first cell, when it has its own.
    static QByteArray rowPadding(QTextTable* t, int row)
    {
        const QTextTableCellFormat cf = t->cellAt(row, 0).format().toTableCellFormat();
        static const int props[4] = {QTextFormat::TableCellLeftPadding, QTextFormat::TableCellTopPadding,
                                     QTextFormat::TableCellRightPadding, QTextFormat::TableCellBottomPadding};
        static const char sides[4] = {'l', 't', 'r', 'b'};
        QByteArray out;
        for (int i = 0; i < 4; ++i)
            if (cf.hasProperty(props[i]))
                out += QByteArray("\\trpadd") + sides[i] + num(twips(cf.doubleProperty(props[i])))
                       + "\\trpaddf" + sides[i] + '3';
        return out;
    }

    const Document& doc;
    const QTextDocument* current = nullptr;
    QByteArray out;
    int shapes = 0; // shape ids given so far
    QStringList fonts;
    QList<QColor> colors;
    RtfListTable lists;
    QHash<QString, std::shared_ptr<QTextDocument>> textBoxes;
};

} // namespace

bool RtfWriter::write(const Document& doc, const WriteOptions&, QByteArray* out, QString*)
{
    *out = Writer(doc).run();
    return true;
}
