#pragma once
// Where the RTF reader's text goes: one QTextDocument (the body or a header/footer
// part). Paragraphs are collected with their runs; table rows are held back until
// the table ends, because RTF states the cell layout per row and only at its end is
// the column grid known.

#include "RtfRowDef.h"
#include "ListParts.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QTextCharFormat>
#include <QTextCursor>

class QTextDocument;
class QTextList;

struct RtfRun {
    QString text;
    QTextCharFormat format;
};

struct RtfParagraph {
    QTextBlockFormat format;
    QList<RtfRun> runs;
    int listKey = 0; // 0 = not in a list
    QTextListFormat listFormat;
    bool parentNumbers = false; // "1.1": the label starts with the labels of the levels above
    QTextCharFormat mark;       // the paragraph mark's font: an empty paragraph's height
};

class RtfSink {
public:
    explicit RtfSink(QTextDocument* doc);

    void addText(const QString& text, const QTextCharFormat& format);
    bool paragraphIsEmpty() const { return m_para.runs.isEmpty(); }
    // Ends the paragraph with the given properties; inTable puts it in the current cell.
    void endParagraph(const RtfParagraph& props, bool inTable);
    void endCell(const RtfParagraph& props);
    void endRow(const RtfRowDef& def);
    void pageBreak() { m_pageBreak = true; }
    // A section break that continues on the same page takes the pending break back.
    void cancelPageBreak() { m_pageBreak = false; }
    // The next paragraph starts section `n`: its format carries "#n" as its section
    // page until the reader knows the section's page (a table gets a paragraph before it).
    void sectionBreak(int n)
    {
        m_pageBreak = true;
        m_section = n;
    }
    // Replaces the last `placeholder` written (pending or already emitted) by `text`.
    void resolveMark(QChar placeholder, const QString& text);
    QTextDocument* document() const { return m_doc; }
    // Emits whatever is still held back.
    void finish();

private:
    struct Row {
        QList<RtfCellDef> defs;
        int left = 0;
        RtfRowDef def;
        QList<QList<RtfParagraph>> cells;
    };
    void emitParagraph(QTextCursor& c, bool& first, const RtfParagraph& p);
    void emitTable();
    // Closes open cells and rows and writes the held-back table.
    void flushTable();

    QTextDocument* m_doc;
    QTextCursor m_cursor;
    bool m_first = true;
    bool m_pageBreak = false;
    int m_section = 0; // pending section break, 0 none
    RtfParagraph m_para;
    QList<RtfParagraph> m_cell;
    QList<QList<RtfParagraph>> m_rowCells;
    QList<Row> m_rows;
    QHash<int, QTextList*> m_levels; // the lists of the current list run by level
    ListParts m_listParts;
    int m_lastListKey = 0;
};
