#include "PlainTextWriter.h"

#include "BreakOpportunities.h"
#include "engine/Document.h"
#include "engine/objects/TextBoxes.h"

#include <QTextBlock>
#include <QTextFrame>
#include <QTextTable>

namespace {

QString blockText(const QTextBlock& b)
{
    // A text box's lines stand where it is anchored, each on a line of its own.
    QString text;
    for (auto it = b.begin(); !it.atEnd(); ++it) {
        const QTextCharFormat f = it.fragment().charFormat();
        if (TextBoxes::isTextBox(f))
            for (int i = 0; i < it.fragment().length(); ++i)
                text += TextBoxes::plainText(f) + QChar(QChar::LineSeparator);
        else
            text += it.fragment().text();
    }
    QString s = BreakOpportunities::Stripper()(text);
    s.remove(QChar::ObjectReplacementCharacter);
    s.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    s.replace(QChar::Nbsp, QLatin1Char(' '));
    return s;
}

void writeItems(QTextFrame::iterator it, QStringList& lines);

// All text of a cell on one line: its paragraphs joined by blanks.
QString cellText(const QTextTableCell& cell)
{
    QStringList parts;
    writeItems(cell.begin(), parts);
    return parts.join(QLatin1Char(' '));
}

void writeItems(QTextFrame::iterator it, QStringList& lines)
{
    for (; !it.atEnd(); ++it) {
        if (QTextFrame* f = it.currentFrame()) {
            if (auto* t = qobject_cast<QTextTable*>(f)) {
                for (int r = 0; r < t->rows(); ++r) {
                    QStringList cells;
                    for (int c = 0; c < t->columns(); ++c) {
                        const QTextTableCell cell = t->cellAt(r, c);
                        cells << (cell.row() == r && cell.column() == c ? cellText(cell) : QString());
                    }
                    lines << cells.join(QLatin1Char('\t'));
                }
            } else {
                writeItems(f->begin(), lines);
            }
        } else {
            const QTextBlock b = it.currentBlock();
            // A page break is written as a form feed, which the reader turns back.
            const bool newPage = b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore;
            lines << (newPage ? QString(QChar(12)) : QString()) + blockText(b);
        }
    }
}

} // namespace

bool PlainTextWriter::write(const Document& doc, const WriteOptions&, QByteArray* out, QString*)
{
    QStringList lines;
    writeItems(doc.body()->rootFrame()->begin(), lines);
    QString text = lines.join(QStringLiteral("\r\n"));
    text.replace(QStringLiteral("\r\n\f"), QStringLiteral("\f"));
    *out = text.toUtf8();
    return true;
}
