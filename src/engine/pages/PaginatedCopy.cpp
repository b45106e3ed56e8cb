#include "PaginatedCopy.h"
#include "LineHeights.h"
#include "SoftBreaks.h"

#include "engine/EngineProperties.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

namespace PaginatedCopy {

namespace {

bool touchesFrame(const QTextDocument* d, int from, int to)
{
    for (const QTextFrame* f : d->rootFrame()->childFrames())
        if (f->firstPosition() - 1 <= to && f->lastPosition() + 1 >= from)
            return true;
    return false;
}

void copyResources(const QTextDocument* body, QTextDocument* copy, int from, int to)
{
    for (QTextBlock b = body->findBlock(from); b.isValid() && b.position() <= to; b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            QString name;
            if (f.isImageFormat())
                name = f.toImageFormat().name();
            else if (f.objectType() == EngineObject::FixedImage)
                name = f.stringProperty(EngineProperty::ImageName);
            if (!name.isEmpty())
                copy->addResource(QTextDocument::ImageResource, QUrl(name),
                                  body->resource(QTextDocument::ImageResource, QUrl(name)));
        }
}

// The paragraphs from `from` to `to` hold the same text in the same character formats in
// both: only paragraph or list formats changed (list numbers that follow an edit).
bool sameRuns(const QTextDocument* body, const QTextDocument* copy, int from, int to)
{
    QTextBlock b = body->findBlock(from), c = copy->findBlock(from);
    for (; b.isValid() && c.isValid() && b.position() <= to; b = b.next(), c = c.next()) {
        if (b.position() != c.position() || b.text() != c.text())
            return false;
        auto i = b.begin(), j = c.begin();
        for (; !i.atEnd() && !j.atEnd(); ++i, ++j)
            if (i.fragment().length() != j.fragment().length() || i.fragment().charFormat() != j.fragment().charFormat())
                return false;
        if (!i.atEnd() || !j.atEnd())
            return false;
    }
    return true;
}

} // namespace

QTextBlockFormat scaled(QTextBlockFormat f, double scale)
{
    if (scale == 1)
        return f;
    for (int p : {int(QTextFormat::BlockLeftMargin), int(QTextFormat::BlockRightMargin), int(QTextFormat::TextIndent)})
        if (f.hasProperty(p))
            f.setProperty(p, f.doubleProperty(p) * scale);
    return f;
}

namespace {

bool inRoot(const QTextBlock& b)
{
    return b.isValid() && QTextCursor(b).currentFrame() == b.document()->rootFrame();
}

// Two paragraphs of one table cell, where Qt takes the larger space as it does in the body.
bool sameCell(const QTextBlock& a, const QTextBlock& b)
{
    if (!a.isValid())
        return false;
    QTextTable* t = QTextCursor(b).currentTable();
    return t && t == QTextCursor(a).currentTable() && t->cellAt(a.position()) == t->cellAt(b.position());
}

bool breaksBetween(const QTextBlock& before, const QTextBlock& after)
{
    return (before.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter)
           || (after.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
}

} // namespace

QTextBlockFormat spaced(const QTextBlock& b, double scale)
{
    QTextBlockFormat f = scaled(b.blockFormat(), scale);
    // Qt takes the larger of a paragraph's space after and the next one's space before;
    // office programs add them up, in the body as in a cell. The sum goes into the space
    // before. A page break leaves the space after on its page.
    const QTextBlock prev = b.previous();
    if (!inRoot(b)) {
        if (sameCell(prev, b) && prev.blockFormat().bottomMargin() > 0)
            f.setTopMargin(f.topMargin() + prev.blockFormat().bottomMargin());
        return f;
    }
    if (inRoot(prev) && !breaksBetween(prev, b) && prev.blockFormat().bottomMargin() > 0)
        f.setTopMargin(f.topMargin() + prev.blockFormat().bottomMargin());
    const QTextBlock next = b.next();
    if (inRoot(next) && breaksBetween(b, next) && f.bottomMargin() > 0)
        f.setBottomMargin(0);
    return f;
}

void addSpacing(QTextDocument* copy)
{
    QTextCursor c(copy);
    c.beginEditBlock();
    QList<std::pair<int, QTextBlockFormat>> changes;
    for (QTextBlock b = copy->begin(); b.isValid(); b = b.next())
        if (const QTextBlockFormat f = spaced(b, 1); f != b.blockFormat())
            changes.append({b.position(), f});
    for (const auto& [pos, f] : std::as_const(changes)) {
        c.setPosition(pos);
        c.setBlockFormat(f);
    }
    // Qt drops the space of the paragraphs on either side of a table: the table keeps it.
    for (QTextFrame* frame : copy->rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (!table)
            continue;
        const QTextBlock before = copy->findBlock(table->firstPosition() - 1);
        const QTextBlock after = copy->findBlock(table->lastPosition() + 1);
        QTextTableFormat tf = table->format();
        if (inRoot(before) && before.blockFormat().bottomMargin() > 0)
            tf.setTopMargin(tf.topMargin() + before.blockFormat().bottomMargin());
        // The paragraph Qt keeps after the last table counts only when it holds something.
        if (inRoot(after) && after.blockFormat().topMargin() > 0 && (after.length() > 1 || after.next().isValid()))
            tf.setBottomMargin(tf.bottomMargin() + after.blockFormat().topMargin());
        if (tf != table->format())
            table->setFormat(tf);
    }
    c.endEditBlock();
}

void scaleIndents(QTextDocument* copy, double scale)
{
    if (scale == 1)
        return;
    QTextCursor c(copy);
    c.beginEditBlock();
    for (QTextBlock b = copy->begin(); b.isValid(); b = b.next()) {
        const QTextBlockFormat f = b.blockFormat();
        if (f.hasProperty(QTextFormat::BlockLeftMargin) || f.hasProperty(QTextFormat::BlockRightMargin)
            || f.hasProperty(QTextFormat::TextIndent)) {
            c.setPosition(b.position());
            c.setBlockFormat(scaled(f, scale));
        }
    }
    c.endEditBlock();
}

bool mirror(const QTextDocument* body, QTextDocument* copy, int pos, int removed, int added, double scale)
{
    const int bodyLast = body->characterCount() - 1;
    const int copyLast = copy->characterCount() - 1;
    if (pos < 0 || pos + added > bodyLast + 1 || pos + removed > copyLast + 1)
        return false;
    if (copyLast - removed != bodyLast - added)
        return false;
    if (touchesFrame(body, pos, pos + added) || touchesFrame(copy, pos, pos + removed))
        return false;

    // Whole paragraphs: block formats travel with them.
    const QTextBlock bodyFirst = body->findBlock(pos);
    const QTextBlock bodyEndBlock = body->findBlock(qMin(pos + added, bodyLast));
    const QTextBlock copyEndBlock = copy->findBlock(qMin(pos + removed, copyLast));
    if (!bodyFirst.isValid() || !bodyEndBlock.isValid() || !copyEndBlock.isValid())
        return false;
    // Paragraphs beside a table lend it their spacing: the copy is rebuilt.
    if ((bodyFirst.previous().isValid() && !inRoot(bodyFirst.previous()))
        || (bodyEndBlock.next().isValid() && !inRoot(bodyEndBlock.next())))
        return false;
    // Paragraphs broken at their soft breaks in the copy are broken anew by a rebuild.
    for (QTextBlock b = bodyFirst; b.isValid() && b != bodyEndBlock.next().next(); b = b.next())
        if (SoftBreaks::needsSplit(b))
            return false;
    for (QTextBlock c = copy->findBlock(pos); c.isValid() && c.position() <= pos + removed + 1; c = c.next())
        if (c.blockFormat().boolProperty(SoftBreaks::LineProperty) || c.next().blockFormat().boolProperty(SoftBreaks::LineProperty))
            return false;
    const int start = bodyFirst.position();
    const int bodyEnd = bodyEndBlock.position() + bodyEndBlock.length() - 1;
    const int copyEnd = copyEndBlock.position() + copyEndBlock.length() - 1;
    if (copy->findBlock(pos).position() != start || copyEnd - start != bodyEnd - start - added + removed)
        return false;

    QTextCursor src(const_cast<QTextDocument*>(body));
    src.setPosition(start);
    src.setPosition(bodyEnd, QTextCursor::KeepAnchor);
    if (src.selectedText().contains(QChar(12)))
        return false; // form feeds are broken into paragraphs only by a rebuild
    const QTextDocumentFragment fragment(src);

    QTextCursor dst(copy);
    dst.setPosition(start);
    dst.setPosition(copyEnd, QTextCursor::KeepAnchor);
    dst.beginEditBlock();
    // Pasted list paragraphs would come in lists of their own: a change of formats only
    // keeps the copy's paragraphs.
    if (removed != added || !sameRuns(body, copy, start, bodyEnd)) {
        dst.removeSelectedText();
        dst.insertFragment(fragment);
        copyResources(body, copy, start, bodyEnd);
    }
    // Paragraph formats as in the body (a fragment does not carry the first one).
    QTextBlock b = body->findBlock(start), c = copy->findBlock(start);
    // The paragraph after the change too: its space before holds the space after of the last.
    for (; b.isValid() && c.isValid() && b.position() <= bodyEnd + 1; b = b.next(), c = c.next()) {
        if (b.position() != c.position() || b.text() != c.text()) {
            dst.endEditBlock();
            return false;
        }
        QTextBlockFormat want = LineHeights::matched(spaced(b, scale), c);
        // The body's list numbers mean nothing in the copy: its own lists are set below.
        want.setObjectIndex(c.blockFormat().objectIndex());
        if (want != c.blockFormat() || b.charFormat() != c.charFormat()) {
            QTextCursor fix(c);
            fix.setBlockFormat(want);
            fix.setBlockCharFormat(b.charFormat());
        }
        if (const QTextList* l = b.textList()) {
            if (c.textList() && c.textList()->format() != l->format())
                c.textList()->setFormat(l->format());
        } else if (QTextList* stray = c.textList()) {
            stray->remove(c);
        }
    }
    dst.endEditBlock();
    return copy->characterCount() == body->characterCount();
}

} // namespace PaginatedCopy
