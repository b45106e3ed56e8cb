#pragma once
// Tables addressed by the caller's id (a table-format property). Rows and columns are
// 1-based; cell positions are counted from 1 as the callers expect.

#include <QList>
#include <QString>

class QPainter;
class QPointF;
class QRectF;
class QTextCursor;
class QTextDocument;
class QTextTable;

namespace Tables {

QTextTable* find(const QTextDocument* doc, int id);
QList<QTextTable*> all(const QTextDocument* doc); // document order
int idOf(const QTextTable* table);

// Inserts a rows x cols table at the cursor with equal column widths over the text
// width; an id <= 0 (or one in use) gets a fresh one. The cells take the cursor's
// character format and the cursor ends after the table. Returns the id, 0 on failure.
int insert(QTextCursor& c, int rows, int cols, int id = 0);

QString cellText(const QTextDocument* doc, int id, int row, int col);
bool setCellText(QTextDocument* doc, int id, int row, int col, const QString& text);
int cellStart(const QTextDocument* doc, int id, int row, int col);  // 1-based, 0 no cell
int cellLength(const QTextDocument* doc, int id, int row, int col);
int rowCount(const QTextDocument* doc, int id);
int columnCount(const QTextDocument* doc, int id);

// The table, row and column at the cursor's position; 0 outside tables.
int tableAt(const QTextCursor& c);
int rowAt(const QTextCursor& c);
int columnAt(const QTextCursor& c);

// where: 1 before, 2 after the row/column at the cursor.
bool insertRows(const QTextCursor& c, int where, int count = 1);
bool insertColumns(const QTextCursor& c, int where, int count = 1);
// Deletes the rows / columns the selection touches; the whole table when all go.
bool deleteRows(const QTextCursor& c);
bool deleteColumns(const QTextCursor& c);

// Tab and Shift+Tab in a table: selects the content of the next (previous) cell; Tab
// in the last cell appends a row first. False when the cursor is in no table.
bool moveByTab(QTextCursor& c, bool back);
bool tabAddsRow(const QTextCursor& c); // Tab at the cursor would append a row

bool canInsertTable(const QTextCursor& c);
bool canInsertRow(const QTextCursor& c);
bool canInsertColumn(const QTextCursor& c);
bool canDeleteRows(const QTextCursor& c);
bool canDeleteColumns(const QTextCursor& c);

// Selection of table, row or cell at the cursor as (SelStart, SelLength), 0-based.
struct Span {
    int start = -1;
    int length = 0;
};
Span tableSpan(const QTextDocument* doc, int id);
Span rowSpan(const QTextDocument* doc, int id, int row);
Span cellSpan(const QTextDocument* doc, int id, int row, int col);
// Selection from 1-based cell starts: first cell start s1, last cell start sN and
// length lN give SelStart s1 - 1 and a length that ends with the last cell's text.
// (Counting the end-of-cell mark too would end the selection outside the table, and
// Qt would then select the whole table.)
Span spanFromCells(int firstStart, int lastStart, int lastLength);

// Screen-only grid lines of all tables: dotted cell outlines, drawn with the
// document's origin at `offset`; tables outside `visible` are skipped.
void paintGridLines(QPainter* p, QTextDocument* doc, const QPointF& offset, const QRectF& visible);

} // namespace Tables
