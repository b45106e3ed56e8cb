#include "RtfSink.h"
#include "TableColumns.h"

#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "engine/Sections.h"

#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <algorithm>

namespace {
constexpr int kMaxColumns = 64;
}

RtfSink::RtfSink(QTextDocument* doc) : m_doc(doc), m_cursor(doc) {}

void RtfSink::addText(const QString& text, const QTextCharFormat& format)
{
    if (text.isEmpty())
        return;
    if (!m_para.runs.isEmpty() && m_para.runs.last().format == format
        && !format.isImageFormat())
        m_para.runs.last().text += text;
    else
        m_para.runs.append({text, format});
}

void RtfSink::resolveMark(QChar placeholder, const QString& text)
{
    for (qsizetype i = m_para.runs.size() - 1; i >= 0; --i) {
        const qsizetype at = m_para.runs[i].text.lastIndexOf(placeholder);
        if (at >= 0) {
            m_para.runs[i].text.replace(at, 1, text);
            return;
        }
    }
    QTextCursor found = m_doc->find(QString(placeholder), m_doc->characterCount(), QTextDocument::FindBackward);
    if (!found.isNull())
        found.insertText(text);
}

void RtfSink::endParagraph(const RtfParagraph& props, bool inTable)
{
    RtfParagraph p = props;
    p.runs = std::move(m_para.runs);
    m_para = RtfParagraph();
    if (m_section > 0) {
        RtfParagraph mark;
        mark.format.setProperty(Sections::PageProperty, QStringLiteral("#%1").arg(m_section));
        m_section = 0;
        if (inTable) {
            flushTable();
            mark.format.setPageBreakPolicy(m_pageBreak ? QTextFormat::PageBreak_AlwaysBefore : QTextFormat::PageBreak_Auto);
            mark.mark = props.mark;
            emitParagraph(m_cursor, m_first, mark);
            m_pageBreak = false;
        } else {
            p.format.setProperty(Sections::PageProperty, mark.format.property(Sections::PageProperty));
        }
    }
    if (m_pageBreak) {
        p.format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        m_pageBreak = false;
    }
    if (inTable) {
        m_cell.append(p);
        return;
    }
    flushTable();
    emitParagraph(m_cursor, m_first, p);
}

void RtfSink::flushTable()
{
    if (!m_rowCells.isEmpty() || !m_cell.isEmpty()) {
        // Cells without a closing \row: keep them as a row of their own.
        if (!m_cell.isEmpty())
            m_rowCells.append(m_cell);
        m_cell.clear();
        endRow(RtfRowDef());
    }
    if (!m_rows.isEmpty())
        emitTable();
}

void RtfSink::endCell(const RtfParagraph& props)
{
    endParagraph(props, true);
    m_rowCells.append(m_cell);
    m_cell.clear();
}

void RtfSink::endRow(const RtfRowDef& def)
{
    if (!m_cell.isEmpty() || !m_para.runs.isEmpty()) {
        endParagraph(RtfParagraph(), true);
        m_rowCells.append(m_cell);
        m_cell.clear();
    }
    if (m_rowCells.isEmpty())
        return;
    Row row;
    row.defs = def.cells;
    row.left = def.left;
    row.def = def;
    row.cells = std::move(m_rowCells);
    m_rowCells.clear();
    // Every cell needs a boundary; invent missing ones an inch apart.
    int right = row.defs.isEmpty() ? def.left : row.defs.last().right;
    while (row.defs.size() < row.cells.size()) {
        right += 1440;
        RtfCellDef d;
        d.right = right;
        row.defs.append(d);
    }
    row.defs.resize(row.cells.size());
    // Boundaries that do not move right would stack cells on one column and mix up
    // their text: such a cell gets an inch of its own.
    int previous = row.left;
    for (RtfCellDef& d : row.defs) {
        if (d.right <= previous)
            d.right = previous + 1440;
        previous = d.right;
    }
    m_rows.append(row);
}

void RtfSink::finish()
{
    flushTable();
    if (!m_para.runs.isEmpty())
        endParagraph(RtfParagraph(), false);
}

void RtfSink::emitParagraph(QTextCursor& c, bool& first, const RtfParagraph& p)
{
    QTextCharFormat blockChar;
    // The paragraph's own character format is that of its first text, not an object's.
    for (const RtfRun& r : p.runs)
        if (r.format.objectType() == QTextFormat::NoObject) {
            blockChar = r.format;
            break;
        }
    if (p.runs.isEmpty()) {
        // An empty line is as tall as its paragraph mark's font.
        for (int prop : {int(QTextFormat::FontFamilies), int(QTextFormat::FontPointSize)})
            if (p.mark.hasProperty(prop))
                blockChar.setProperty(prop, p.mark.property(prop));
    }
    if (first) {
        c.setBlockFormat(p.format);
        c.setBlockCharFormat(blockChar);
        first = false;
    } else {
        c.insertBlock(p.format, blockChar);
    }
    if (p.listKey > 0) {
        const int level = p.listFormat.intProperty(EngineProperty::ListLevel);
        if (m_lastListKey != p.listKey)
            m_levels.clear();
        // A level goes on counting after its sub-lists; the levels below start anew.
        for (auto it = m_levels.begin(); it != m_levels.end();)
            it = it.key() > level ? m_levels.erase(it) : std::next(it);
        QTextList* list = m_levels.value(level);
        QTextListFormat f = p.listFormat;
        if (p.parentNumbers)
            f.setProperty(EngineProperty::ListParentNumbers, true);
        for (int up = level - 1; !list && p.parentNumbers && up > 0; --up)
            if (const QString parent = m_listParts.lastItemText(m_levels.value(up)); !parent.isEmpty()) {
                f.setNumberPrefix(parent);
                break;
            }
        m_levels.insert(level, m_listParts.add(c, list, f));
    }
    m_lastListKey = p.listKey;
    for (const RtfRun& r : p.runs)
        c.insertText(r.text, r.format);
}

void RtfSink::emitTable()
{
    // The column grid: every cell boundary of every row.
    QList<int> bounds;
    for (const Row& row : m_rows) {
        bounds << row.left;
        for (const RtfCellDef& d : row.defs)
            bounds << d.right;
    }
    std::sort(bounds.begin(), bounds.end());
    bounds.erase(std::unique(bounds.begin(), bounds.end()), bounds.end());
    if (bounds.size() > kMaxColumns + 1) {
        // Rows that share no boundaries would make a huge grid: take the row with the
        // most cells as the grid and fit the others onto it.
        const Row* widest = &m_rows.first();
        for (const Row& row : m_rows)
            if (row.defs.size() > widest->defs.size())
                widest = &row;
        bounds = {widest->left};
        for (const RtfCellDef& d : widest->defs)
            bounds << d.right;
        std::sort(bounds.begin(), bounds.end());
        bounds.erase(std::unique(bounds.begin(), bounds.end()), bounds.end());
    }
    const int columns = qMax(1, int(bounds.size()) - 1);
    const int rows = int(m_rows.size());

    // Lines only where the file draws them; paddings per cell, as each row states them.
    const bool borders = std::any_of(m_rows.cbegin(), m_rows.cend(), [](const Row& r) { return r.def.hasBorders(); });
    QTextTableFormat tf;
    tf.setBorder(borders ? 1 : 0);
    tf.setBorderStyle(borders ? QTextFrameFormat::BorderStyle_Solid : QTextFrameFormat::BorderStyle_None);
    tf.setCellSpacing(0);
    tf.setCellPadding(0);
    // Edges where \cellx puts them: a line between two cells belongs to both, half
    // inside each, as in the programs that write RTF (Qt would add two lines' widths
    // to every column), and the first cell starts at the row's \trleft.
    tf.setBorderCollapse(true);
    tf.setLeftMargin(TableColumns::marginForEdge(tf, Document::twipsToPixels(bounds.first())));
    QList<QTextLength> widths;
    for (int i = 0; i + 1 < bounds.size(); ++i)
        widths << QTextLength(QTextLength::FixedLength, Document::twipsToPixels(bounds[i + 1] - bounds[i]));
    if (widths.size() == columns)
        tf.setColumnWidthConstraints(widths);
    QTextTable* table = m_cursor.insertTable(rows, columns, tf);

    auto columnOf = [&](int twips) {
        return int(std::lower_bound(bounds.begin(), bounds.end(), twips) - bounds.begin());
    };
    // Which grid cell each RTF cell starts at and spans.
    struct Placed {
        int row, col, span;
        const RtfCellDef* def;
        // A cell merged into this one keeps its text here, after the cell's own.
        QList<const QList<RtfParagraph>*> contents;
    };
    auto hasText = [](const QList<RtfParagraph>& cell) {
        return std::any_of(cell.cbegin(), cell.cend(), [](const RtfParagraph& p) { return !p.runs.isEmpty(); });
    };
    QList<Placed> placed;
    QList<QList<int>> startCol(rows);
    for (int r = 0; r < rows; ++r) {
        const Row& row = m_rows[r];
        int left = row.left;
        for (int i = 0; i < row.cells.size(); ++i) {
            const RtfCellDef& d = row.defs[i];
            const int from = qBound(0, columnOf(left), columns - 1);
            const int to = qBound(from + 1, columnOf(d.right), columns);
            left = qMax(left, d.right);
            if (d.merged && !placed.isEmpty() && placed.last().row == r) {
                placed.last().span = to - placed.last().col;
                if (hasText(row.cells[i]))
                    placed.last().contents.append(&row.cells[i]);
                continue;
            }
            placed.append({r, from, to - from, &d, {&row.cells[i]}});
        }
    }
    // Vertical merges: a continued cell lengthens the cell above it.
    QList<int> rowSpan(placed.size(), 1);
    QList<bool> covered(placed.size(), false);
    for (int i = 0; i < placed.size(); ++i) {
        if (!placed[i].def->vMerged || placed[i].row == 0)
            continue;
        for (int j = i - 1; j >= 0; --j) {
            if (placed[j].col == placed[i].col && placed[j].row < placed[i].row && !covered[j]) {
                if (placed[j].row + rowSpan[j] == placed[i].row && placed[j].span == placed[i].span) {
                    ++rowSpan[j];
                    covered[i] = true;
                    for (const QList<RtfParagraph>* content : std::as_const(placed[i].contents))
                        if (hasText(*content))
                            placed[j].contents.append(content);
                }
                break;
            }
        }
    }
    // Content first, then formats and merges (Qt moves the content of merged cells).
    for (int i = 0; i < placed.size(); ++i) {
        if (covered[i])
            continue;
        const Placed& p = placed[i];
        QTextCursor c = table->cellAt(p.row, p.col).firstCursorPosition();
        bool first = true;
        for (const QList<RtfParagraph>* content : p.contents)
            for (const RtfParagraph& para : *content)
                emitParagraph(c, first, para);
    }
    // The cell format sits on the cell's first character, so after the content.
    for (int i = 0; i < placed.size(); ++i) {
        if (covered[i])
            continue;
        QTextTableCell cell = table->cellAt(placed[i].row, placed[i].col);
        QTextTableCellFormat f = cell.format().toTableCellFormat();
        if (placed[i].def->background.isValid())
            f.setBackground(placed[i].def->background);
        const RtfRowDef& rowDef = m_rows[placed[i].row].def;
        f.setLeftPadding(Document::twipsToPixels(rowDef.paddingOf(0)));
        f.setTopPadding(Document::twipsToPixels(rowDef.paddingOf(1)));
        f.setRightPadding(Document::twipsToPixels(rowDef.paddingOf(2)));
        f.setBottomPadding(Document::twipsToPixels(rowDef.paddingOf(3)));
        cell.setFormat(f);
    }
    for (int i = 0; i < placed.size(); ++i) {
        const Placed& p = placed[i];
        if (covered[i] || (p.span == 1 && rowSpan[i] == 1))
            continue;
        const int rs = qMin(rowSpan[i], rows - p.row);
        const int cs = qMin(p.span, columns - p.col);
        table->mergeCells(p.row, p.col, rs, cs);
        // The spans also go into the cell format, which copies of the document use.
        QTextTableCell cell = table->cellAt(p.row, p.col);
        QTextCharFormat f = cell.format();
        f.setProperty(QTextFormat::TableCellRowSpan, rs);
        f.setProperty(QTextFormat::TableCellColumnSpan, cs);
        cell.setFormat(f);
    }
    m_cursor.setPosition(table->lastPosition() + 1);
    m_first = true;
    m_rows.clear();
    m_lastListKey = 0;
}
