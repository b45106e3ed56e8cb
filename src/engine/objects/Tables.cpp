#include "Tables.h"

#include "engine/EngineProperties.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>

using namespace EngineProperty;

namespace Tables {

namespace {

void collect(QTextFrame* frame, QList<QTextTable*>& out)
{
    for (QTextFrame* child : frame->childFrames()) {
        if (auto* t = qobject_cast<QTextTable*>(child))
            out.append(t);
        collect(child, out);
    }
}

QTextTableCell cell(const QTextDocument* doc, int id, int row, int col)
{
    QTextTable* t = find(doc, id);
    if (!t || row < 1 || col < 1 || row > t->rows() || col > t->columns())
        return {};
    return t->cellAt(row - 1, col - 1);
}

} // namespace

QList<QTextTable*> all(const QTextDocument* doc)
{
    QList<QTextTable*> out;
    collect(doc->rootFrame(), out);
    return out;
}

QTextTable* find(const QTextDocument* doc, int id)
{
    if (id <= 0)
        return nullptr;
    for (QTextTable* t : all(doc))
        if (idOf(t) == id)
            return t;
    return nullptr;
}

int idOf(const QTextTable* table) { return table ? table->format().intProperty(TableId) : 0; }

int insert(QTextCursor& c, int rows, int cols, int id)
{
    if (rows < 1 || cols < 1 || rows > 32767 || cols > 63)
        return 0;
    QTextDocument* doc = c.document();
    if (id <= 0 || find(doc, id)) {
        id = 0;
        for (QTextTable* t : all(doc))
            id = qMax(id, idOf(t));
        ++id;
    }
    QTextTableFormat f;
    QList<QTextLength> widths;
    for (int i = 0; i < cols; ++i)
        widths.append(QTextLength(QTextLength::PercentageLength, 100.0 / cols));
    f.setColumnWidthConstraints(widths);
    f.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    // No printed lines; the editor shows grid lines on screen when asked to.
    f.setBorder(0);
    f.setBorderCollapse(true);
    f.setCellPadding(2);
    f.setCellSpacing(0);
    f.setProperty(TableId, id);
    // Cells write in the format of the caret; the caret goes on after the table.
    QTextCharFormat chars = c.charFormat();
    chars.clearProperty(QTextFormat::ObjectType);
    c.beginEditBlock();
    QTextTable* t = c.insertTable(rows, cols, f);
    for (int r = 0; r < rows; ++r)
        for (int col = 0; col < cols; ++col) {
            QTextCursor cell = t->cellAt(r, col).firstCursorPosition();
            cell.setBlockCharFormat(chars);
        }
    // The empty line the table was put on shrinks to nothing in front of it; as a list
    // item it would draw its bullet into the first cell.
    const QTextBlock line = doc->findBlock(t->firstPosition() - 1);
    if (QTextList* list = line.textList(); list && line.length() == 1) {
        list->remove(line);
        QTextBlockFormat bf = line.blockFormat();
        bf.setIndent(0);
        bf.setLeftMargin(0);
        bf.setTextIndent(0);
        QTextCursor(line).setBlockFormat(bf);
    }
    c.setPosition(t->lastPosition() + 1);
    // An empty paragraph behind the table keeps the caret's format even after later
    // edits before it (writing cells) make the cursor forget its own.
    if (c.block().length() == 1)
        c.setBlockCharFormat(chars);
    c.setCharFormat(chars);
    c.endEditBlock();
    return id;
}

QString cellText(const QTextDocument* doc, int id, int row, int col)
{
    const QTextTableCell ce = cell(doc, id, row, col);
    if (!ce.isValid())
        return {};
    QTextCursor c = ce.firstCursorPosition();
    c.setPosition(ce.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    QString s = c.selectedText();
    s.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    return s;
}

bool setCellText(QTextDocument* doc, int id, int row, int col, const QString& text)
{
    const QTextTableCell ce = cell(doc, id, row, col);
    if (!ce.isValid())
        return false;
    QTextCursor c = ce.firstCursorPosition();
    c.setPosition(ce.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    c.insertText(t);
    return true;
}

int cellStart(const QTextDocument* doc, int id, int row, int col)
{
    const QTextTableCell ce = cell(doc, id, row, col);
    return ce.isValid() ? ce.firstPosition() + 1 : 0;
}

int cellLength(const QTextDocument* doc, int id, int row, int col)
{
    const QTextTableCell ce = cell(doc, id, row, col);
    return ce.isValid() ? ce.lastPosition() - ce.firstPosition() : 0;
}

int rowCount(const QTextDocument* doc, int id)
{
    const QTextTable* t = find(doc, id);
    return t ? t->rows() : 0;
}

int columnCount(const QTextDocument* doc, int id)
{
    const QTextTable* t = find(doc, id);
    return t ? t->columns() : 0;
}

int tableAt(const QTextCursor& c) { return idOf(c.currentTable()); }

int rowAt(const QTextCursor& c)
{
    const QTextTable* t = c.currentTable();
    return t ? t->cellAt(c).row() + 1 : 0;
}

int columnAt(const QTextCursor& c)
{
    const QTextTable* t = c.currentTable();
    return t ? t->cellAt(c).column() + 1 : 0;
}

bool insertRows(const QTextCursor& c, int where, int count)
{
    QTextTable* t = c.currentTable();
    if (!t || count < 1)
        return false;
    const int row = t->cellAt(c).row();
    t->insertRows(where == 2 ? row + 1 : row, count);
    return true;
}

bool insertColumns(const QTextCursor& c, int where, int count)
{
    QTextTable* t = c.currentTable();
    if (!t || count < 1)
        return false;
    const int col = t->cellAt(c).column();
    t->insertColumns(where == 2 ? col + 1 : col, count);
    // Keep equal widths over the table's width.
    QTextTableFormat f = t->format();
    QList<QTextLength> widths;
    for (int i = 0; i < t->columns(); ++i)
        widths.append(QTextLength(QTextLength::PercentageLength, 100.0 / t->columns()));
    f.setColumnWidthConstraints(widths);
    t->setFormat(f);
    return true;
}

namespace {
// The rows or columns (0-based, inclusive) that the selection touches.
bool touched(const QTextCursor& c, QTextTable*& t, int& r0, int& r1, int& c0, int& c1)
{
    QTextCursor a(c.document()), b(c.document());
    a.setPosition(c.selectionStart());
    b.setPosition(c.selectionEnd());
    t = a.currentTable();
    if (!t || b.currentTable() != t) {
        t = c.currentTable();
        if (!t)
            return false;
        if (!a.currentTable()) a = c;
        if (!b.currentTable()) b = c;
    }
    const QTextTableCell ca = t->cellAt(a), cb = t->cellAt(b);
    if (!ca.isValid() || !cb.isValid())
        return false;
    r0 = qMin(ca.row(), cb.row());
    r1 = qMax(ca.row(), cb.row());
    c0 = qMin(ca.column(), cb.column());
    c1 = qMax(ca.column(), cb.column());
    return true;
}
} // namespace

namespace {
void removeTable(QTextDocument* doc, const QTextTable* t)
{
    QTextCursor all(doc);
    all.setPosition(t->firstPosition() - 1);
    all.setPosition(t->lastPosition() + 1, QTextCursor::KeepAnchor);
    all.removeSelectedText();
}
} // namespace

bool deleteRows(const QTextCursor& c)
{
    QTextTable* t;
    int r0, r1, c0, c1;
    if (!touched(c, t, r0, r1, c0, c1))
        return false;
    if (r0 == 0 && r1 == t->rows() - 1) {
        removeTable(c.document(), t);
        return true;
    }
    t->removeRows(r0, r1 - r0 + 1);
    return true;
}

bool deleteColumns(const QTextCursor& c)
{
    QTextTable* t;
    int r0, r1, c0, c1;
    if (!touched(c, t, r0, r1, c0, c1))
        return false;
    if (c0 == 0 && c1 == t->columns() - 1) {
        removeTable(c.document(), t);
        return true;
    }
    t->removeColumns(c0, c1 - c0 + 1);
    return true;
}

bool tabAddsRow(const QTextCursor& c)
{
    QTextTable* t = c.currentTable();
    if (!t)
        return false;
    const QTextTableCell here = t->cellAt(c.position());
    return here.row() + here.rowSpan() >= t->rows() && here.column() + here.columnSpan() >= t->columns();
}

bool moveByTab(QTextCursor& c, bool back)
{
    QTextTable* t = c.currentTable();
    if (!t)
        return false;
    const QTextTableCell here = t->cellAt(c.position());
    int row = here.row(), col = here.column();
    QTextTableCell next;
    if (back) {
        // The cell before: the one that covers the column left of this cell.
        if (col > 0)
            next = t->cellAt(row, col - 1);
        else if (row > 0)
            next = t->cellAt(row - 1, t->columns() - 1);
        else
            return true; // first cell: the caret stays
    } else {
        col += here.columnSpan();
        if (col >= t->columns()) {
            col = 0;
            ++row;
        }
        if (row >= t->rows()) {
            // Tab in the last cell adds a row to write on.
            t->appendRows(1);
            row = t->rows() - 1;
            col = 0;
        }
        next = t->cellAt(row, col);
    }
    c.setPosition(next.firstCursorPosition().position());
    c.setPosition(next.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return true;
}

bool canInsertTable(const QTextCursor& c) { return !c.currentTable(); }
bool canInsertRow(const QTextCursor& c) { return c.currentTable(); }
bool canInsertColumn(const QTextCursor& c) { return c.currentTable() && c.currentTable()->columns() < 63; }
bool canDeleteRows(const QTextCursor& c) { return c.currentTable(); }
bool canDeleteColumns(const QTextCursor& c) { return c.currentTable(); }

Span spanFromCells(int firstStart, int lastStart, int lastLength)
{
    if (firstStart <= 0 || lastStart <= 0)
        return {};
    const int start = firstStart - 1;
    return {start, lastStart - 1 + lastLength - start};
}

Span tableSpan(const QTextDocument* doc, int id)
{
    const int r = rowCount(doc, id), cols = columnCount(doc, id);
    return spanFromCells(cellStart(doc, id, 1, 1), cellStart(doc, id, r, cols), cellLength(doc, id, r, cols));
}

Span rowSpan(const QTextDocument* doc, int id, int row)
{
    const int cols = columnCount(doc, id);
    return spanFromCells(cellStart(doc, id, row, 1), cellStart(doc, id, row, cols),
                         cellLength(doc, id, row, cols));
}

Span cellSpan(const QTextDocument* doc, int id, int row, int col)
{
    const int s = cellStart(doc, id, row, col);
    if (s <= 0)
        return {};
    return {s - 1, cellLength(doc, id, row, col)};
}

void paintGridLines(QPainter* p, QTextDocument* doc, const QPointF& offset, const QRectF& visible)
{
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    p->save();
    p->setPen(QPen(QColor(160, 160, 160), 0, Qt::DotLine));
    p->translate(offset);
    const QRectF area = visible.translated(-offset);
    for (QTextTable* t : all(doc)) {
        const QRectF outline = layout->frameBoundingRect(t);
        if (!outline.intersects(area))
            continue;
        p->drawRect(outline);
        // Cell edges follow from the first paragraph of each cell and the padding.
        const double pad = t->format().cellPadding();
        for (int r = 0; r < t->rows(); ++r)
            for (int c = 0; c < t->columns(); ++c) {
                const QRectF br = layout->blockBoundingRect(t->cellAt(r, c).firstCursorPosition().block());
                if (c > 0)
                    p->drawLine(QPointF(br.left() - pad, br.top() - pad), QPointF(br.left() - pad, br.bottom() + pad));
                if (r > 0)
                    p->drawLine(QPointF(br.left() - pad, br.top() - pad), QPointF(br.right() + pad, br.top() - pad));
            }
    }
    p->restore();
}

} // namespace Tables
