#include "SoftBreaks.h"

#include "engine/EngineProperties.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

namespace SoftBreaks {

bool needsSplit(const QTextBlock& b)
{
    const QTextBlockFormat f = b.blockFormat();
    // A framed paragraph would get a frame per line.
    if (f.textIndent() == 0 || f.intProperty(EngineProperty::FrameStyle) != 0)
        return false;
    const QString t = b.text();
    const qsizetype soft = t.indexOf(QChar::LineSeparator);
    return soft >= 0 && t.indexOf(QLatin1Char('\t'), soft) > soft;
}

namespace {

// The format of the lines after the first: they start at the left indent, where the
// list's indent steps put the first line's text too.
QTextBlockFormat laterLine(const QTextBlockFormat& f, const QTextList* list, double indentWidth)
{
    QTextBlockFormat later = f;
    later.setObjectIndex(-1);
    if (list)
        later.setLeftMargin(f.leftMargin() + list->format().indent() * indentWidth);
    later.setTextIndent(0);
    later.setTopMargin(0);
    later.setHeadingLevel(0);
    later.setPageBreakPolicy(f.pageBreakPolicy() & ~QTextFormat::PageBreak_AlwaysBefore);
    QList<QTextOption::Tab> tabs = f.tabPositions();
    for (QTextOption::Tab& t : tabs)
        t.position += f.textIndent();
    later.setTabPositions(tabs);
    later.setProperty(SoftBreaks::LineProperty, true);
    return later;
}

} // namespace

void split(QTextDocument* copy)
{
    QList<QTextBlock> blocks;
    for (QTextBlock b = copy->begin(); b.isValid(); b = b.next())
        if (needsSplit(b))
            blocks << b;
    if (blocks.isEmpty())
        return;
    QTextCursor c(copy);
    c.beginEditBlock();
    for (const QTextBlock& b : std::as_const(blocks)) {
        const QTextBlockFormat f = b.blockFormat();
        const QTextBlockFormat later = laterLine(f, b.textList(), copy->indentWidth());
        QList<int> breaks;
        const QString t = b.text();
        for (qsizetype i = t.indexOf(QChar::LineSeparator); i >= 0; i = t.indexOf(QChar::LineSeparator, i + 1))
            breaks << b.position() + int(i);
        // The space after and a break after belong to the last line.
        QTextBlockFormat first = f;
        first.setBottomMargin(0);
        first.setPageBreakPolicy(f.pageBreakPolicy() & ~QTextFormat::PageBreak_AlwaysAfter);
        QTextCursor(b).setBlockFormat(first);
        for (int i = 0; i < breaks.size(); ++i) {
            c.setPosition(breaks[i]);
            c.setPosition(breaks[i] + 1, QTextCursor::KeepAnchor);
            const QTextCharFormat mark = c.charFormat();
            c.removeSelectedText();
            QTextBlockFormat line = later;
            if (i + 1 < breaks.size()) {
                line.setBottomMargin(0);
                line.setPageBreakPolicy(later.pageBreakPolicy() & ~QTextFormat::PageBreak_AlwaysAfter);
            }
            c.insertBlock(line, mark);
        }
    }
    c.endEditBlock();
}

} // namespace SoftBreaks
