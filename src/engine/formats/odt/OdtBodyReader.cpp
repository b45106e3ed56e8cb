#include "OdtBodyReader.h"

#include "OdtNames.h"
#include "engine/EngineProperties.h"
#include "engine/objects/TabStops.h"
#include "engine/objects/Images.h"
#include "engine/formats/FixedPicture.h"
#include "engine/formats/zip/ZipPackage.h"

#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

using ZipPackage::XmlNode;
using namespace EngineProperty;

namespace Odt {

namespace {

constexpr int kMaxColumns = 64;
constexpr int kMaxCells = 250000;
QLatin1StringView L(const char* s) { return QLatin1StringView(s); }
double px(double twips) { return Document::twipsToPixels(twips); }

int repeat(const XmlNode& n, const QString& ns, const char* name, int cap)
{
    return qBound(1, n.attr(ns, L(name), QStringLiteral("1")).toInt(), cap);
}

} // namespace

BodyReader::BodyReader(QTextDocument* doc, ReadContext& context, bool contentPart)
    : m_doc(doc), m_ctx(context), m_content(contentPart)
{
}

void BodyReader::readAll(const XmlNode& container)
{
    QTextCursor c(m_doc);
    // One edit: the layout runs once at the end, not after every paragraph.
    c.beginEditBlock();
    bool first = true;
    readBlocks(container, c, first, nullptr);
    c.endEditBlock();
    RtfFields::numberProvisional(m_doc);
}

void BodyReader::appendNotes()
{
    QTextCursor c(m_doc);
    c.movePosition(QTextCursor::End);
    for (int i = 0; i < m_ctx.notes.size(); ++i) {
        bool first = false;
        const qsizetype before = c.position();
        readBlocks(*m_ctx.notes[i], c, first, nullptr);
        // The note's number leads its first paragraph.
        QTextCursor mark(m_doc);
        mark.setPosition(int(before) + 1);
        QTextCharFormat f = mark.charFormat();
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        mark.insertText(QString::number(i + 1), f);
        c.movePosition(QTextCursor::End);
    }
}

void BodyReader::readBlocks(const XmlNode& container, QTextCursor& c, bool& first, const ListRun* list)
{
    for (const XmlNode& n : container.children) {
        if (n.isText())
            continue;
        if (n.ns == TEXT && (n.name == u"p" || n.name == u"h")) {
            readParagraph(n, c, first, list);
        } else if (n.is(TEXT, L("list"))) {
            ListRun run;
            run.depth = list ? list->depth : 0;
            run.style = list ? list->style : QString();
            run.chain = list ? list->chain : QString();
            readList(n, c, first, run);
        } else if (n.is(TABLE, L("table"))) {
            readTable(n, c, first);
        } else if ((n.ns == TEXT && (n.name == u"section" || n.name == u"index-body" || n.name == u"list-item"
                                     || n.name == u"list-header" || n.name == u"table-of-content" || n.name == u"note-body"))
                   || n.is(TABLE, L("table-header-rows"))) {
            readBlocks(n, c, first, list);
        }
    }
}

void BodyReader::readList(const XmlNode& list, QTextCursor& c, bool& first, ListRun run)
{
    ++run.depth;
    if (run.depth == 1) {
        // Which numbering this list goes on with: one it names, the last of its style, or a new one.
        run.style = list.attr(TEXT, L("style-name"));
        const QString cont = list.attr(TEXT, L("continue-list"));
        if (!cont.isEmpty() && m_chainOfId.contains(cont))
            run.chain = m_chainOfId.value(cont);
        else if (list.attr(TEXT, L("continue-numbering")) == u"true" && m_lastChainOfStyle.contains(run.style))
            run.chain = m_lastChainOfStyle.value(run.style);
        else
            run.chain = QString::number(++m_chains);
        m_lastChainOfStyle.insert(run.style, run.chain);
        const QString id = list.attr(XMLNS, L("id"), list.attr(TEXT, L("id")));
        if (!id.isEmpty())
            m_chainOfId.insert(id, run.chain);
    } else if (list.hasAttr(TEXT, L("style-name"))) {
        run.style = list.attr(TEXT, L("style-name"));
    }
    readBlocks(list, c, first, &run);
}

void BodyReader::readParagraph(const XmlNode& p, QTextCursor& c, bool& first, const ListRun* list)
{
    const QString style = p.attr(TEXT, L("style-name"));
    if (m_first && m_content)
        m_firstMaster = m_ctx.styles.masterPageOf(style, m_content);
    m_first = false;
    QTextBlockFormat bf = m_ctx.styles.paragraph(style, m_content);
    if (p.name == u"h")
        bf.setHeadingLevel(qBound(1, p.attr(TEXT, L("outline-level"), QStringLiteral("1")).toInt(), 6));
    // A border below an empty paragraph is how office programs draw a rule line.
    if ((bf.intProperty(FrameStyle) & 0x0F) == FrameBits::Bottom && p.allText().isEmpty()) {
        for (int prop : {FrameStyle, FrameLineWidth, FrameDistance})
            bf.clearProperty(prop);
        bf.setProperty(QTextFormat::BlockTrailingHorizontalRulerWidth, QTextLength(QTextLength::PercentageLength, 100));
    }
    const QTextCharFormat chars = m_ctx.styles.text(style, m_content);
    LevelStyle level;
    if (list) {
        level = m_ctx.styles.listLevel(list->style, list->depth, m_content);
        bf.setLeftMargin(px(qMax(0, level.text)));
        bf.setTextIndent(0);
    }
    // ODF counts tab stops from the paragraph's left indent.
    QList<QTextOption::Tab> tabs = bf.tabPositions();
    for (QTextOption::Tab& t : tabs)
        t.position += bf.leftMargin();
    TabStops::setFromMargin(bf, tabs);
    if (first) {
        c.setBlockFormat(bf);
        c.setBlockCharFormat(chars);
        first = false;
    } else {
        c.insertBlock(bf, chars);
    }
    if (list) {
        QTextListFormat lf;
        lf.setStyle(level.style);
        lf.setIndent(0);
        lf.setNumberPrefix(level.prefix);
        lf.setNumberSuffix(level.suffix);
        lf.setProperty(ListLevel, list->depth);
        if (level.parentNumbers)
            lf.setProperty(ListParentNumbers, true);
        lf.setProperty(ListIndentText, qMax(0, level.text));
        lf.setProperty(ListIndentMarker, qMax(0, level.marker));
        for (auto it = m_lists.begin(); it != m_lists.end();)
            it = (it.key().first == list->chain && it.key().second > list->depth) ? m_lists.erase(it) : std::next(it);
        QTextList* l = m_lists.value({list->chain, list->depth});
        m_lists.insert({list->chain, list->depth}, m_listParts.add(c, l && l->format().style() == lf.style() ? l : nullptr, lf));
    }
    m_spaceBefore = true;
    readInline(p, c, chars, QString());
}

void BodyReader::text(QTextCursor& c, const QString& s, const QTextCharFormat& f)
{
    if (s.isEmpty())
        return;
    QTextCharFormat cf = f;
    if (m_inField)
        cf = RtfFields::fieldFormat(cf, m_field, m_nextProvisional--);
    c.insertText(s, cf);
}

void BodyReader::readInline(const XmlNode& parent, QTextCursor& c, QTextCharFormat f, const QString& href)
{
    if (!href.isEmpty()) {
        f.setAnchor(true);
        f.setAnchorHref(href);
    }
    for (const XmlNode& n : parent.children) {
        if (n.isText()) {
            // Blanks, tabs and line ends in the XML collapse to one blank.
            QString out;
            for (QChar ch : n.text) {
                const bool white = ch == u' ' || ch == u'\t' || ch == u'\n' || ch == u'\r';
                if (white) {
                    if (!m_spaceBefore)
                        out += QLatin1Char(' ');
                    m_spaceBefore = true;
                } else {
                    out += (ch == QChar::ObjectReplacementCharacter || ch == QChar::ParagraphSeparator) ? QChar(u' ') : ch;
                    m_spaceBefore = false;
                }
            }
            text(c, out, f);
            continue;
        }
        const QString& name = n.name;
        if (n.ns == TEXT) {
            if (name == u"span") {
                QTextCharFormat inner = f;
                inner.merge(m_ctx.styles.text(n.attr(TEXT, L("style-name")), m_content));
                readInline(n, c, inner, QString());
            } else if (name == u"a") {
                readInline(n, c, f, n.attr(XLINK, L("href")));
            } else if (name == u"s") {
                text(c, QString(qBound(1, n.attr(TEXT, L("c"), QStringLiteral("1")).toInt(), 10000), QLatin1Char(' ')), f);
                m_spaceBefore = true;
            } else if (name == u"tab") {
                text(c, QStringLiteral("\t"), f);
                m_spaceBefore = true;
            } else if (name == u"line-break") {
                text(c, QString(QChar::LineSeparator), f);
                m_spaceBefore = true;
            } else if (name == u"page-number" || name == u"page-count") {
                RtfFields::Field field;
                field.instruction = name == u"page-number" ? QStringLiteral("PAGE") : QStringLiteral("NUMPAGES");
                c.insertText(RtfFields::objectText(), RtfFields::fieldFormat(f, field, m_nextProvisional--));
                m_spaceBefore = false;
            } else if (name == u"bookmark-start") {
                const QStringList parts = n.attr(TEXT, L("name")).split(QLatin1Char(' '));
                if (parts.size() == 6 && parts[0] == u"qxfield") {
                    m_field = RtfFields::Field();
                    m_field.own = true;
                    m_field.id = parts[1].toInt();
                    m_field.type = parts[2].toInt();
                    m_field.linkKind = parts[3].toInt();
                    m_field.data = QUrl::fromPercentEncoding(parts[4].toLatin1());
                    m_field.link = QUrl::fromPercentEncoding(parts[5].toLatin1());
                    m_inField = true;
                }
            } else if (name == u"bookmark-end") {
                if (n.attr(TEXT, L("name")).startsWith(QLatin1String("qxfield ")))
                    m_inField = false;
            } else if (name == u"note") {
                m_ctx.unsupported.insert(QStringLiteral("Fuß- und Endnoten (stehen am Ende des Textes)"));
                if (const XmlNode* body = n.child(TEXT, L("note-body"))) {
                    m_ctx.notes.append(body);
                    QTextCharFormat mark = f;
                    mark.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
                    text(c, QString::number(m_ctx.notes.size()), mark);
                }
            } else if (name == u"tracked-changes" || name == u"soft-page-break" || name == u"bookmark" || name == u"reference-mark-start") {
                continue;
            } else {
                // Fields of other kinds (date, author, ...) show their text.
                readInline(n, c, f, QString());
            }
        } else if (n.is(DRAW, L("frame"))) {
            readFrame(n, c, f);
        } else if (n.is(OFFICE, L("annotation"))) {
            m_ctx.unsupported.insert(QStringLiteral("Kommentare"));
        } else if (n.ns == DRAW) {
            m_ctx.unsupported.insert(QStringLiteral("Zeichnungen und Formen"));
        } else if (n.ns != OFFICE) {
            // Extensions of other suites (content controls, ...) still hold text.
            readInline(n, c, f, QString());
        }
    }
}

void BodyReader::readFrame(const XmlNode& frame, QTextCursor& c, const QTextCharFormat& f)
{
    const XmlNode* image = frame.child(DRAW, L("image"));
    if (!image) {
        m_ctx.unsupported.insert(QStringLiteral("Textrahmen und Objekte"));
        return;
    }
    const QString href = image->attr(XLINK, L("href"));
    QByteArray bytes;
    QString error;
    const QString path = ZipPackage::resolve(QString(), href);
    if (path.isEmpty() || href.contains(QLatin1String("://")) || !m_ctx.zip.read(path, &bytes, &error)) {
        m_ctx.unsupported.insert(QStringLiteral("verknüpfte oder fehlende Bilder"));
        return;
    }
    const QImage img = QImage::fromData(bytes);
    if (img.isNull()) {
        m_ctx.unsupported.insert(QStringLiteral("Bilder in einem nicht lesbaren Format"));
        return;
    }
    int w = qRound(twipsOf(frame.attr(SVG, L("width"))));
    int h = qRound(twipsOf(frame.attr(SVG, L("height"))));
    if (w <= 0 || h <= 0) {
        w = qRound(Document::pixelsToTwips(img.width()));
        h = qRound(Document::pixelsToTwips(img.height()));
    }
    const int id = m_nextImageId++;
    const QString name = QStringLiteral("image://%1/%2").arg(id).arg(img.cacheKey());
    m_doc->addResource(QTextDocument::ImageResource, QUrl(name), img);
    const QString anchor = frame.attr(TEXT, L("anchor-type"), QStringLiteral("paragraph"));
    const XmlNode* style = m_ctx.styles.node(frame.attr(DRAW, L("style-name")), m_content);
    const XmlNode* gp = style ? style->child(STYLE, L("graphic-properties")) : nullptr;
    auto rel = [&](const char* attr) { return gp ? gp->attr(STYLE, L(attr)) : QString(); };
    auto margin = [&](const char* side) { return gp ? qRound(twipsOf(gp->attr(FO, L(side)))) : 0; };
    const PageGeometry& g = m_ctx.page;
    int x = qRound(twipsOf(frame.attr(SVG, L("x")))), y = qRound(twipsOf(frame.attr(SVG, L("y"))));
    bool fixed = false;
    if (anchor == u"page") {
        fixed = true;
    } else if (anchor != u"as-char" && anchor != u"char") {
        const QString h = rel("horizontal-rel"), v = rel("vertical-rel");
        if ((h == u"page" || h == u"page-content") && (v == u"page" || v == u"page-content")) {
            fixed = true;
            x += h == u"page" ? 0 : g.marginL;
            y += v == u"page" ? 0 : g.marginT;
        } else {
            m_ctx.unsupported.insert(QStringLiteral("am Absatz ausgerichtete Bilder (stehen im Text)"));
        }
    }
    if (fixed) {
        insertFixedPicture(c, f, {id, name, x, y, w, h, margin("margin-left"), margin("margin-top"), margin("margin-right"), margin("margin-bottom")});
        return;
    }
    QTextImageFormat imf;
    imf.merge(f);
    imf.setObjectType(QTextFormat::ImageObject);
    imf.setName(name);
    imf.setWidth(px(w));
    imf.setHeight(px(h));
    imf.setProperty(ImageId, id);
    c.insertText(QString(QChar::ObjectReplacementCharacter), imf);
    m_spaceBefore = false;
}

void BodyReader::readTable(const XmlNode& table, QTextCursor& c, bool& first)
{
    QList<int> widths;
    QList<const XmlNode*> rows;
    std::function<void(const XmlNode&)> collect = [&](const XmlNode& n) {
        for (const XmlNode& k : n.children) {
            if (k.is(TABLE, L("table-column"))) {
                const XmlNode* s = m_ctx.styles.node(k.attr(TABLE, L("style-name")), m_content);
                const XmlNode* cp = s ? s->child(STYLE, L("table-column-properties")) : nullptr;
                const int w = cp ? qRound(twipsOf(cp->attr(STYLE, L("column-width")))) : 0;
                for (int i = repeat(k, TABLE, "number-columns-repeated", kMaxColumns); i > 0 && widths.size() < kMaxColumns; --i)
                    widths << w;
            } else if (k.is(TABLE, L("table-row"))) {
                for (int i = repeat(k, TABLE, "number-rows-repeated", 1000); i > 0; --i)
                    rows << &k;
            } else if (k.ns == TABLE && (k.name == u"table-columns" || k.name == u"table-header-columns" || k.name == u"table-rows"
                                         || k.name == u"table-header-rows" || k.name == u"table-column-group" || k.name == u"table-row-group")) {
                collect(k);
            }
        }
    };
    collect(table);
    struct Cell {
        int row, col, rows, cols;
        const XmlNode* node;
    };
    QList<Cell> cells;
    int columns = int(widths.size());
    for (int r = 0; r < rows.size(); ++r) {
        int col = 0;
        for (const XmlNode& k : rows[r]->children) {
            const bool covered = k.is(TABLE, L("covered-table-cell"));
            if (!covered && !k.is(TABLE, L("table-cell")))
                continue;
            const int times = repeat(k, TABLE, "number-columns-repeated", kMaxColumns);
            for (int i = 0; i < times && col < kMaxColumns; ++i, ++col)
                if (!covered)
                    cells.append({r, col, repeat(k, TABLE, "number-rows-spanned", 1000), repeat(k, TABLE, "number-columns-spanned", kMaxColumns), &k});
        }
        columns = qMax(columns, col);
        if (qint64(r + 1) * qMax(1, columns) > kMaxCells) {
            rows.resize(r + 1);
            break;
        }
    }
    columns = qBound(0, columns, kMaxColumns);
    if (rows.isEmpty() || columns == 0)
        return;
    QTextTableFormat tf;
    bool borders = false;
    for (const Cell& cell : std::as_const(cells)) {
        const XmlNode* s = m_ctx.styles.node(cell.node->attr(TABLE, L("style-name")), m_content);
        const XmlNode* cp = s ? s->child(STYLE, L("table-cell-properties")) : nullptr;
        if (cp)
            for (const char* b : {"border", "border-left", "border-top"})
                if (const QString v = cp->attr(FO, L(b)); !v.isEmpty() && v != u"none")
                    borders = true;
    }
    tf.setBorder(borders ? 1 : 0);
    tf.setBorderStyle(borders ? QTextFrameFormat::BorderStyle_Solid : QTextFrameFormat::BorderStyle_None);
    if (borders)
        tf.setBorderCollapse(true);
    tf.setCellSpacing(0);
    tf.setCellPadding(0);
    if (widths.size() == columns && !widths.contains(0)) {
        QList<QTextLength> lengths;
        for (int w : std::as_const(widths))
            lengths << QTextLength(QTextLength::FixedLength, px(w));
        tf.setColumnWidthConstraints(lengths);
    }
    first = false;
    QTextTable* t = c.insertTable(int(rows.size()), columns, tf);
    for (const Cell& cell : std::as_const(cells)) {
        if (cell.col >= columns)
            continue;
        QTextCursor cc = t->cellAt(cell.row, cell.col).firstCursorPosition();
        bool cellFirst = true;
        readBlocks(*cell.node, cc, cellFirst, nullptr);
    }
    for (const Cell& cell : std::as_const(cells)) {
        if (cell.col >= columns)
            continue;
        QTextTableCell tc = t->cellAt(cell.row, cell.col);
        QTextTableCellFormat f = tc.format().toTableCellFormat();
        const XmlNode* s = m_ctx.styles.node(cell.node->attr(TABLE, L("style-name")), m_content);
        if (const XmlNode* cp = s ? s->child(STYLE, L("table-cell-properties")) : nullptr) {
            if (const QColor bg(cp->attr(FO, L("background-color"))); bg.isValid())
                f.setBackground(bg);
            const double all = twipsOf(cp->attr(FO, L("padding")));
            auto pad = [&](const char* side) {
                bool ok = false;
                const double v = twipsOf(cp->attr(FO, L(side)), &ok);
                return px(ok ? v : all);
            };
            f.setLeftPadding(pad("padding-left"));
            f.setRightPadding(pad("padding-right"));
            f.setTopPadding(pad("padding-top"));
            f.setBottomPadding(pad("padding-bottom"));
        }
        tc.setFormat(f);
    }
    for (const Cell& cell : std::as_const(cells)) {
        const int rs = qMin(cell.rows, int(rows.size()) - cell.row), cs = qMin(cell.cols, columns - cell.col);
        if (cell.col >= columns || (rs <= 1 && cs <= 1))
            continue;
        t->mergeCells(cell.row, cell.col, rs, cs);
        QTextTableCell tc = t->cellAt(cell.row, cell.col);
        QTextCharFormat f = tc.format();
        f.setProperty(QTextFormat::TableCellRowSpan, rs);
        f.setProperty(QTextFormat::TableCellColumnSpan, cs);
        tc.setFormat(f);
    }
    c.setPosition(t->lastPosition() + 1);
    first = true;
}

} // namespace Odt
