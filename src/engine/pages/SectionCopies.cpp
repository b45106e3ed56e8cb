#include "SectionCopies.h"

#include "engine/EngineProperties.h"

#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>

namespace SectionCopies {

std::unique_ptr<QTextDocument> cut(const QTextDocument* body, int start, int end)
{
    std::unique_ptr<QTextDocument> copy(body->clone());
    copy->setUndoRedoEnabled(false);
    const int last = copy->characterCount() - 1;
    if (end < copy->characterCount()) {
        // From the end of the section's last paragraph on; after a table the next
        // section's paragraph stays, emptied, as the paragraph Qt keeps after a frame.
        const bool afterParagraph = copy->characterAt(end - 1) == QChar::ParagraphSeparator;
        QTextCursor c(copy.get());
        c.setPosition(afterParagraph ? end - 1 : end);
        c.setPosition(last, QTextCursor::KeepAnchor);
        c.removeSelectedText();
        if (!afterParagraph) {
            c.setBlockFormat(QTextBlockFormat());
            c.setBlockCharFormat(body->findBlock(end - 1).charFormat());
        }
    }
    if (start > 0) {
        const QTextBlock first = body->findBlock(start);
        QTextCursor c(copy.get());
        c.setPosition(start, QTextCursor::KeepAnchor);
        c.removeSelectedText();
        // The merged paragraph is the section's first, not whatever stood at the top;
        // its break is the edge of the copy.
        QTextBlockFormat f = first.blockFormat();
        f.setPageBreakPolicy(f.pageBreakPolicy() & ~QTextFormat::PageBreak_AlwaysBefore);
        f.clearProperty(Sections::PageProperty);
        c.setBlockFormat(f);
        c.setBlockCharFormat(first.charFormat());
    }
    return copy;
}

QList<Copy> build(const QTextDocument* body, const QList<Sections::Section>& sections,
                  const std::function<void(QTextDocument*, const Copy&)>& layOut)
{
    QList<Copy> out;
    int page = 1;
    for (qsizetype i = 0; i < sections.size(); ++i) {
        Copy c;
        c.index = int(i);
        c.section = sections[i];
        c.end = i + 1 < sections.size() ? sections[i + 1].start : body->characterCount();
        c.doc = cut(body, c.section.start, c.end);
        c.firstPage = page;
        layOut(c.doc.get(), c);
        c.pages = qMax(1, c.doc->pageCount());
        page += c.pages;
        out.append(c);
    }
    return out;
}

int pageCount(const QList<Copy>& copies)
{
    return copies.isEmpty() ? 1 : copies.last().firstPage + copies.last().pages - 1;
}

const Copy& ofPage(const QList<Copy>& copies, int page)
{
    auto it = std::upper_bound(copies.cbegin(), copies.cend(), page, [](int p, const Copy& c) { return p < c.firstPage; });
    return it == copies.cbegin() ? copies.first() : *(it - 1);
}

const Copy& ofPosition(const QList<Copy>& copies, int pos)
{
    auto it = std::upper_bound(copies.cbegin(), copies.cend(), pos, [](int p, const Copy& c) { return p < c.section.start; });
    return it == copies.cbegin() ? copies.first() : *(it - 1);
}

} // namespace SectionCopies
