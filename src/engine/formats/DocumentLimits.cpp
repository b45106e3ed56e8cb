#include "DocumentLimits.h"

#include "FormatIO.h"
#include "LocalTextDocument.h"
#include "engine/Sections.h"
#include "engine/Document.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>

#include <cmath>

namespace DocumentLimits {

namespace {

// Margins of one axis shrink in proportion until the text keeps half the side.
void fitMargins(int side, int& a, int& b)
{
    a = qMax(0, a);
    b = qMax(0, b);
    const qint64 room = side / 2;
    if (qint64(a) + b <= room)
        return;
    const double scale = double(room) / (double(a) + double(b));
    a = int(a * scale);
    b = int(b * scale);
}

double finiteOr(double v, double fallback) { return std::isfinite(v) ? v : fallback; }

struct Area {
    double width;  // text width, 96-dpi pixels
    double height; // text height
    double left = 0; // the page's left margin, which a table may reach into
};

// A brush that paints nothing (read from "transparent") is no colour: writers would
// give its red, green and blue, black, to the next program.
bool dropClearBrushes(QTextFormat& f)
{
    bool changed = false;
    for (int p : {int(QTextFormat::BackgroundBrush), int(QTextFormat::ForegroundBrush)})
        if (f.hasProperty(p) && !FormatBrushes::paints(f.brushProperty(p))) {
            f.clearProperty(p);
            changed = true;
        }
    return changed;
}

void dropClearCellBrushes(QTextFrame* frame)
{
    for (QTextFrame* child : frame->childFrames()) {
        if (auto* t = qobject_cast<QTextTable*>(child))
            for (int r = 0; r < t->rows(); ++r)
                for (int c = 0; c < t->columns(); ++c) {
                    QTextTableCell cell = t->cellAt(r, c);
                    QTextCharFormat f = cell.format();
                    if (cell.row() == r && cell.column() == c && dropClearBrushes(f))
                        cell.setFormat(f);
                }
        QTextFrameFormat ff = child->frameFormat();
        if (dropClearBrushes(ff))
            child->setFrameFormat(ff);
        dropClearCellBrushes(child);
    }
}

// A paragraph keeps at least a quarter of the text width for its text.
bool clampBlock(QTextBlockFormat& f, const Area& area, double indentWidth)
{
    bool changed = false;
    auto setIf = [&](int property, double value) {
        if (f.doubleProperty(property) != value || !f.hasProperty(property)) {
            f.setProperty(property, value);
            changed = true;
        }
    };
    const double most = area.width * 0.75;
    const double left = qBound(0.0, finiteOr(f.leftMargin(), 0), most);
    const double right = qBound(0.0, finiteOr(f.rightMargin(), 0), most - left);
    if (f.hasProperty(QTextFormat::BlockLeftMargin))
        setIf(QTextFormat::BlockLeftMargin, left);
    if (f.hasProperty(QTextFormat::BlockRightMargin))
        setIf(QTextFormat::BlockRightMargin, right);
    if (f.hasProperty(QTextFormat::BlockIndent)) {
        const int levels = qBound(0, f.indent(), int((most - left - right) / qMax(1.0, indentWidth)));
        if (levels != f.indent()) {
            f.setIndent(levels);
            changed = true;
        }
    }
    if (f.hasProperty(QTextFormat::TextIndent))
        setIf(QTextFormat::TextIndent, qBound(-left, finiteOr(f.textIndent(), 0), most - left - right));
    for (int p : {int(QTextFormat::BlockTopMargin), int(QTextFormat::BlockBottomMargin)})
        if (f.hasProperty(p))
            setIf(p, qBound(0.0, finiteOr(f.doubleProperty(p), 0), area.height / 2));
    if (f.hasProperty(QTextFormat::LineHeight)) {
        const double h = f.lineHeight();
        const bool fixed = f.lineHeightType() == QTextBlockFormat::FixedHeight
                           || f.lineHeightType() == QTextBlockFormat::MinimumHeight;
        const double limit = f.lineHeightType() == QTextBlockFormat::ProportionalHeight ? 1000 : area.height / 2;
        if (!std::isfinite(h) || h < 0 || h > limit || (fixed && h < 1)) {
            f.clearProperty(QTextFormat::LineHeight);
            f.clearProperty(QTextFormat::LineHeightType);
            changed = true;
        }
    }
    return changed;
}

bool clampChar(QTextCharFormat& f, const Area& area)
{
    bool changed = false;
    if (f.hasProperty(QTextFormat::FontPointSize)) {
        const double pt = f.doubleProperty(QTextFormat::FontPointSize);
        const double ok = std::isfinite(pt) ? qBound(MinFontPoints, pt, MaxFontPoints) : 11.0;
        if (ok != pt) {
            f.setProperty(QTextFormat::FontPointSize, ok);
            changed = true;
        }
    }
    if (f.hasProperty(QTextFormat::FontPixelSize)) {
        const int px = f.intProperty(QTextFormat::FontPixelSize);
        const int ok = qBound(1, px, int(MaxFontPoints * 96 / 72));
        if (ok != px) {
            f.setProperty(QTextFormat::FontPixelSize, ok);
            changed = true;
        }
    }
    for (int p : {int(QTextFormat::FontLetterSpacing), int(QTextFormat::FontWordSpacing)}) {
        if (!f.hasProperty(p))
            continue;
        const double v = f.doubleProperty(p);
        const double ok = std::isfinite(v) ? qBound(-100.0, v, 1000.0) : 0.0;
        if (ok != v) {
            f.setProperty(p, ok);
            changed = true;
        }
    }
    if (f.isImageFormat()) {
        QTextImageFormat img = f.toImageFormat();
        double w = img.hasProperty(QTextFormat::ImageWidth) ? finiteOr(img.width(), 0) : 0;
        double h = img.hasProperty(QTextFormat::ImageHeight) ? finiteOr(img.height(), 0) : 0;
        const double maxW = qMax(1.0, area.width), maxH = qMax(1.0, area.height);
        if (w > maxW || h > maxH || w < 0 || h < 0) {
            // Keep the proportions where both sides are known.
            double scale = 1;
            if (w > maxW)
                scale = maxW / w;
            if (h * scale > maxH)
                scale = maxH / h;
            w = qMax(0.0, w * scale);
            h = qMax(0.0, h * scale);
            if (w > 0)
                img.setWidth(w);
            if (h > 0)
                img.setHeight(h);
            f = img;
            changed = true;
        }
    }
    return changed;
}

// A picture without a given size is drawn at its own size: give it one that fits.
bool fitPictureSize(QTextCharFormat& f, const QTextDocument* doc, const Area& area)
{
    if (!f.isImageFormat())
        return false;
    QTextImageFormat img = f.toImageFormat();
    if (img.hasProperty(QTextFormat::ImageWidth) && img.hasProperty(QTextFormat::ImageHeight))
        return false;
    const QImage pic = doc->resource(QTextDocument::ImageResource, QUrl(img.name())).value<QImage>();
    if (pic.isNull())
        return false;
    double w = img.hasProperty(QTextFormat::ImageWidth) ? img.width() : pic.width();
    double h = img.hasProperty(QTextFormat::ImageHeight) ? img.height() : pic.height();
    if (!img.hasProperty(QTextFormat::ImageHeight) && img.hasProperty(QTextFormat::ImageWidth) && pic.width() > 0)
        h = pic.height() * w / pic.width();
    if (!img.hasProperty(QTextFormat::ImageWidth) && img.hasProperty(QTextFormat::ImageHeight) && pic.height() > 0)
        w = pic.width() * h / pic.height();
    if (w <= area.width && h <= area.height)
        return false;
    double scale = qMin(area.width / qMax(1.0, w), area.height / qMax(1.0, h));
    img.setWidth(qMax(1.0, w * scale));
    img.setHeight(qMax(1.0, h * scale));
    f = img;
    return true;
}

void collectWideTables(QTextFrame* frame, QList<QTextTable*>& out)
{
    for (QTextFrame* child : frame->childFrames()) {
        auto* t = qobject_cast<QTextTable*>(child);
        if (t && t->columns() > MaxTableColumns)
            out << t; // its cells become text, nested tables with them
        else
            collectWideTables(child, out);
    }
}

// A row of thousands of cells would run off the page: each row becomes a paragraph
// with the cells' contents separated by tabs.
void flattenWideTable(QTextDocument* doc, QTextTable* t)
{
    QList<QList<QTextDocumentFragment>> rows(t->rows());
    for (int r = 0; r < t->rows(); ++r) {
        for (int c = 0; c < t->columns(); ++c) {
            const QTextTableCell cell = t->cellAt(r, c);
            if (cell.row() != r || cell.column() != c)
                continue;
            QTextCursor s = cell.firstCursorPosition();
            s.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
            rows[r] << s.selection();
        }
    }
    const int at = t->firstPosition() - 1;
    QTextCursor c(doc);
    // In an edit block the cursor does not measure the growing line after each insert.
    c.beginEditBlock();
    c.setPosition(at);
    c.setPosition(t->lastPosition() + 1, QTextCursor::KeepAnchor);
    c.removeSelectedText();
    c.setPosition(at);
    // The table stood between paragraphs; its rows still do.
    if (!c.atBlockStart())
        c.insertBlock();
    for (int r = 0; r < rows.size(); ++r) {
        if (r > 0)
            c.insertBlock();
        for (int i = 0; i < rows[r].size(); ++i) {
            if (i > 0)
                c.insertText(QStringLiteral("\t"));
            c.insertFragment(rows[r][i]);
        }
    }
    if (!c.atBlockEnd())
        c.insertBlock();
    c.endEditBlock();
}

bool bound(QTextFormat& f, int property, double most, double least = 0)
{
    if (!f.hasProperty(property))
        return false;
    const double v = f.doubleProperty(property);
    const double ok = std::isfinite(v) ? qBound(least, v, most) : 0.0;
    if (ok == v)
        return false;
    f.setProperty(property, ok);
    return true;
}

// Lengths of one type that add up to more than `whole` shrink in proportion, to their
// share of `whole` by count, so that columns of other types keep room; broken ones give way.
bool fitLengths(QList<QTextLength>& lengths, QTextLength::Type type, double whole)
{
    bool changed = false;
    double sum = 0;
    int count = 0;
    for (QTextLength& l : lengths) {
        if (l.type() != QTextLength::VariableLength && (!std::isfinite(l.rawValue()) || l.rawValue() < 0)) {
            l = QTextLength();
            changed = true;
        }
        if (l.type() == type) {
            sum += l.rawValue();
            ++count;
        }
    }
    if (sum > whole) {
        const double share = whole * count / lengths.size();
        for (QTextLength& l : lengths)
            if (l.type() == type)
                l = QTextLength(type, l.rawValue() * share / sum);
        changed = true;
    }
    return changed;
}

const int kFrameSpaces[] = {QTextFormat::FrameBorder,       QTextFormat::FramePadding,      QTextFormat::FrameMargin,
                            QTextFormat::FrameTopMargin,    QTextFormat::FrameBottomMargin, QTextFormat::FrameLeftMargin,
                            QTextFormat::FrameRightMargin,  QTextFormat::TableCellSpacing,  QTextFormat::TableCellPadding};
const int kCellSpaces[] = {QTextFormat::TableCellTopPadding,  QTextFormat::TableCellBottomPadding,
                           QTextFormat::TableCellLeftPadding, QTextFormat::TableCellRightPadding,
                           QTextFormat::TableCellTopBorder,   QTextFormat::TableCellBottomBorder,
                           QTextFormat::TableCellLeftBorder,  QTextFormat::TableCellRightBorder};

// Bounds the paddings and borders of every cell; returns the widest a cell side had.
double boundCells(QTextTable* table, double most)
{
    double widest = 0;
    for (int r = 0; r < table->rows(); ++r) {
        for (int c = 0; c < table->columns(); ++c) {
            QTextTableCell cell = table->cellAt(r, c);
            if (cell.row() != r || cell.column() != c)
                continue;
            QTextCharFormat cf = cell.format();
            bool changed = false;
            for (int p : kCellSpaces)
                changed |= bound(cf, p, most);
            for (auto [padding, border] : {std::pair{QTextFormat::TableCellLeftPadding, QTextFormat::TableCellLeftBorder},
                                           std::pair{QTextFormat::TableCellRightPadding, QTextFormat::TableCellRightBorder}})
                widest = qMax(widest, cf.doubleProperty(padding) + cf.doubleProperty(border));
            if (changed)
                cell.setFormat(cf);
        }
    }
    return widest;
}

// Tables and frames: borders, paddings, margins and widths that would push their
// text off the page are brought back into the text area. A table whose lines and
// spaces take more than half the width gets them cut to a share per column.
void clampFrames(QTextFrame* parent, const Area& area)
{
    for (QTextFrame* frame : parent->childFrames()) {
        QTextFrameFormat f = frame->frameFormat();
        bool changed = false;
        // A table's cells may start left of the text, as far as the margin goes (office
        // programs put a row's first edge a cell padding into it).
        const bool table = qobject_cast<QTextTable*>(frame);
        auto least = [&](int p, double most) { return table && p == QTextFormat::FrameLeftMargin ? -qMin(area.left, most) : 0.0; };
        for (int p : kFrameSpaces)
            changed |= bound(f, p, area.width / 8, least(p, area.width / 8));
        QList<QTextLength> width{f.width()}, height{f.height()};
        if (fitLengths(width, QTextLength::FixedLength, area.width)
            | fitLengths(width, QTextLength::PercentageLength, 100)) {
            f.setWidth(width[0]);
            changed = true;
        }
        if (fitLengths(height, QTextLength::FixedLength, area.height)
            | fitLengths(height, QTextLength::PercentageLength, 100)) {
            f.setHeight(height[0]);
            changed = true;
        }
        if (auto* table = qobject_cast<QTextTable*>(frame)) {
            QTextTableFormat tf = f.toTableFormat();
            QList<QTextLength> columns = tf.columnWidthConstraints();
            if (fitLengths(columns, QTextLength::FixedLength, area.width)
                | fitLengths(columns, QTextLength::PercentageLength, 100)) {
                tf.setColumnWidthConstraints(columns);
                changed = true;
            }
            const int n = table->columns();
            const double cell = qMax(tf.cellPadding(), boundCells(table, area.width / 8)) + tf.border();
            const double spaces = 2 * (tf.leftMargin() + tf.rightMargin() + tf.padding() + tf.border())
                                  + (n + 1) * tf.cellSpacing() + 2 * n * cell;
            if (spaces > area.width / 2) {
                const double share = area.width / (8.0 * (n + 1));
                for (int p : kFrameSpaces)
                    changed |= bound(tf, p, share, least(p, share));
                boundCells(table, share);
            }
            f = tf;
        }
        if (changed)
            frame->setFrameFormat(f);
        clampFrames(frame, area);
    }
}

void applyToText(QTextDocument* doc, const Area& area)
{
    if (!doc)
        return;
    QList<QTextTable*> wide;
    collectWideTables(doc->rootFrame(), wide);
    for (QTextTable* t : std::as_const(wide))
        flattenWideTable(doc, t);
    clampFrames(doc->rootFrame(), area);
    LocalTextDocument::loadPictures(doc);
    QTextCursor c(doc);
    c.beginEditBlock();
    dropClearCellBrushes(doc->rootFrame());
    const double indentWidth = doc->indentWidth();
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        QTextBlockFormat bf = b.blockFormat();
        const bool clear = dropClearBrushes(bf);
        if (clampBlock(bf, area, indentWidth) || clear) {
            c.setPosition(b.position());
            c.setBlockFormat(bf);
        }
        if (QTextList* list = b.textList()) {
            QTextListFormat lf = list->format();
            const int most = int(area.width * 0.5 / qMax(1.0, indentWidth));
            if (lf.indent() > most) {
                lf.setIndent(qMax(1, most));
                list->setFormat(lf);
            }
        }
        // Changed after the walk: a changed fragment may merge with its neighbour.
        struct Change {
            int position, length;
            QTextCharFormat format;
        };
        QList<Change> changes;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            QTextCharFormat cf = frag.charFormat();
            const bool a = clampChar(cf, area);
            const bool p = fitPictureSize(cf, doc, area);
            const bool clear = dropClearBrushes(cf);
            if (a || p || clear)
                changes.append({frag.position(), frag.length(), cf});
        }
        for (const Change& ch : std::as_const(changes)) {
            c.setPosition(ch.position);
            c.setPosition(ch.position + ch.length, QTextCursor::KeepAnchor);
            c.setCharFormat(ch.format);
        }
    }
    c.endEditBlock();
}

} // namespace

PageGeometry clampedPage(const PageGeometry& in)
{
    PageGeometry g = in;
    g.width = qBound(MinPageWidth, g.width, MaxPageSide);
    g.height = qBound(MinPageHeight, g.height, MaxPageSide);
    fitMargins(g.width, g.marginL, g.marginR);
    fitMargins(g.height, g.marginT, g.marginB);
    return g;
}

void apply(Document& doc)
{
    const PageGeometry g = clampedPage(doc.page());
    doc.setPage(g);
    doc.setHeaderDistance(qBound(0, doc.headerDistance(), g.height / 2));
    doc.setFooterDistance(qBound(0, doc.footerDistance(), g.height / 2));
    const Area area{Document::twipsToPixels(g.width - g.marginL - g.marginR),
                    Document::twipsToPixels(g.height - g.marginT - g.marginB), Document::twipsToPixels(g.marginL)};
    // The body's text may be as wide and as tall as its largest section's.
    Area bodyArea = area;
    for (const Sections::Section& section : Sections::of(doc)) {
        const PageGeometry& p = section.format.page;
        bodyArea.width = qMax(bodyArea.width, Document::twipsToPixels(p.width - p.marginL - p.marginR));
        bodyArea.height = qMax(bodyArea.height, Document::twipsToPixels(p.height - p.marginT - p.marginB));
        bodyArea.left = qMin(bodyArea.left, qMax(0.0, Document::twipsToPixels(p.marginL)));
    }
    const bool undo = doc.body()->isUndoRedoEnabled();
    doc.body()->setUndoRedoEnabled(false);
    applyToText(doc.body(), bodyArea);
    doc.body()->setUndoRedoEnabled(undo);
    for (int part : {1, 2, 4, 8})
        if (QTextDocument* d = doc.headerFooter(part)) {
            const bool partUndo = d->isUndoRedoEnabled();
            d->setUndoRedoEnabled(false);
            applyToText(d, area);
            d->setUndoRedoEnabled(partUndo);
        }
}

} // namespace DocumentLimits
