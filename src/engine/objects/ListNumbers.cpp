#include "ListNumbers.h"

#include "engine/Document.h"
#include "engine/EngineProperties.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

bool follows(const QTextList* l)
{
    return l && l->count() > 0 && l->format().boolProperty(EngineProperty::ListParentNumbers);
}

QList<QPointer<QTextList>> collect(const QTextDocument* d)
{
    QList<QPointer<QTextList>> lists;
    for (QTextBlock b = d->begin(); b.isValid(); b = b.next())
        if (QTextList* l = b.textList(); follows(l) && l->item(0) == b)
            lists << l;
    return lists;
}

// The label of the item a list hangs under: the nearest item of a lower level before
// the list's first; empty when there is none.
QString parentLabel(const QTextList* list)
{
    const int level = ListNumbers::levelOf(list->format());
    for (QTextBlock b = list->item(0).previous(); b.isValid(); b = b.previous())
        if (const QTextList* l = b.textList(); l && ListNumbers::levelOf(l->format()) < level)
            return l->itemText(b);
    return QString();
}

// The lists whose prefix is not their parent's label, outer ones first; each one's new
// prefix is known only once the ones before it are set.
QList<QTextList*> stale(QList<QPointer<QTextList>>& lists)
{
    lists.removeIf([](const QPointer<QTextList>& l) { return !follows(l); });
    std::sort(lists.begin(), lists.end(),
              [](const QPointer<QTextList>& a, const QPointer<QTextList>& b) { return a->item(0).position() < b->item(0).position(); });
    QList<QTextList*> out;
    for (QTextList* l : std::as_const(lists))
        if (!out.isEmpty() || l->format().numberPrefix() != parentLabel(l))
            out << l;
    return out;
}

bool apply(const QList<QTextList*>& lists)
{
    bool changed = false;
    for (QTextList* l : lists) {
        QTextListFormat f = l->format();
        const QString label = parentLabel(l);
        if (f.numberPrefix() == label)
            continue;
        f.setNumberPrefix(label);
        l->setFormat(f);
        changed = true;
    }
    return changed;
}

} // namespace

ListNumbers::ListNumbers(Document* doc) : QObject(doc), m_doc(doc)
{
    connect(doc->body(), &QTextDocument::contentsChange, this, &ListNumbers::onContentsChange);
    connect(doc->body(), &QTextDocument::contentsChanged, this, &ListNumbers::settle);
}

int ListNumbers::levelOf(const QTextListFormat& f)
{
    return f.hasProperty(EngineProperty::ListLevel) ? f.intProperty(EngineProperty::ListLevel) : f.indent();
}

bool ListNumbers::update(QTextDocument* d)
{
    QList<QPointer<QTextList>> lists = collect(d);
    return apply(stale(lists));
}

void ListNumbers::onContentsChange(int pos, int, int added)
{
    if (m_updating || m_pending)
        return;
    // New lists come with new paragraphs. A change of an item's number marks its whole
    // list changed, so an edit that reaches no list paragraph changes no number.
    const QTextDocument* d = m_doc->body();
    m_pending = d->blockCount() != m_blocks;
    for (QTextBlock b = d->findBlock(pos); !m_pending && b.isValid() && b.position() <= pos + added; b = b.next())
        m_pending = b.textList() != nullptr;
}

// After the edit, not inside its change signal: the prefixes then tell their own change
// to everyone who follows the text (the printed copy).
void ListNumbers::settle()
{
    QTextDocument* d = m_doc->body();
    if (m_updating || !m_pending)
        return;
    m_pending = false;
    // Bulk work without undo (reading a file) settles its numbers itself; an undo or
    // redo brings back numbers that were right for the text it brings back.
    if (!d->isUndoRedoEnabled() || d->isRedoAvailable())
        return;
    if (d->blockCount() != m_blocks) {
        m_lists = collect(d);
        m_blocks = d->blockCount();
    }
    const QList<QTextList*> lists = stale(m_lists);
    if (lists.isEmpty())
        return;
    m_updating = true;
    QTextCursor edit(d);
    d->isUndoAvailable() ? edit.joinPreviousEditBlock() : edit.beginEditBlock();
    apply(lists);
    edit.endEditBlock();
    m_updating = false;
}
