#include "InputPositions.h"

#include "BlockBand.h"
#include "engine/Document.h"
#include "Paginator.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextLayout>

InputPosition InputPositions::at(int pos) const
{
    InputPosition out;
    // With sections the position is printed from its section's copy.
    const Paginator::Printed printed = m_paginator.printedAt(pos);
    out.page = m_paginator.hasSections() ? printed.firstPage : m_paginator.pageOfPosition(pos);
    QTextDocument* d = printed.d;
    pos -= printed.offset;
    const QTextBlock at = d->findBlock(pos);
    if (!at.isValid() || !at.layout() || at.layout()->lineCount() == 0)
        return out;
    const double pageH = printed.pageHeight;
    if (m_paginator.hasSections()) {
        const QTextLine line = at.layout()->lineForTextPosition(pos - at.position());
        const double y = d->documentLayout()->blockBoundingRect(at).top() + (line.isValid() ? line.y() : 0);
        out.page += int(y / pageH);
    }
    const int firstPage = printed.firstPage; // of the copy
    const QTextLine line = at.layout()->lineForTextPosition(pos - at.position());
    const int lineIndex = line.isValid() ? line.lineNumber() : 0;
    out.column = line.isValid() ? pos - at.position() - line.textStart() + 1 : 1;
    // Lines of this page up to the caret's: only one page is looked at.
    QAbstractTextDocumentLayout* layout = d->documentLayout();
    int count = 0;
    bool done = false;
    for (QTextBlock b = at; b.isValid() && !done; b = b.previous()) {
        const QTextLayout* l = b.layout();
        const double blockTop = layout->blockBoundingRect(b).top();
        for (int i = (b == at ? lineIndex : l->lineCount() - 1); i >= 0; --i) {
            if (int((blockTop + l->lineAt(i).y()) / pageH) + firstPage < out.page) {
                done = true;
                break;
            }
            ++count;
        }
    }
    out.line = qMax(1, count);
    return out;
}

int InputPositions::positionOf(const InputPosition& p) const
{
    const Paginator::Printed printed = m_paginator.printedOn(qBound(1, p.page, m_paginator.pageCount()));
    QTextDocument* d = printed.d;
    const int page = qBound(1, p.page, m_paginator.pageCount()) - printed.firstPage + 1;
    const double pageH = printed.pageHeight;
    QAbstractTextDocumentLayout* layout = d->documentLayout();
    QTextBlock b = BlockBand::firstReaching(d, (page - 1) * pageH);
    int pos = -1;
    int count = 0;
    bool done = false;
    for (; b.isValid() && !done; b = b.next()) {
        const QTextLayout* l = b.layout();
        const double blockTop = layout->blockBoundingRect(b).top();
        for (int i = 0; l && i < l->lineCount(); ++i) {
            const QTextLine line = l->lineAt(i);
            const int linePage = int((blockTop + line.y()) / pageH) + 1;
            if (linePage < page)
                continue;
            if (linePage > page) {
                done = true;
                break;
            }
            // A wrapped line ends before the first character of the next one.
            const int last = i + 1 < l->lineCount() ? line.textLength() - 1 : line.textLength();
            pos = printed.offset + b.position() + line.textStart() + qBound(0, p.column - 1, qMax(0, last));
            if (++count >= p.line) {
                done = true;
                break;
            }
        }
    }
    return pos;
}
