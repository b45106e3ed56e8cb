#include "SettingStep.h"

#include "engine/Document.h"
#include "TextControl.h"
#include "UndoKindTracker.h"

#include <QAbstractUndoItem>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

namespace SettingStep {

namespace {
class Item : public QAbstractUndoItem {
public:
    Item(std::function<void()> undo, std::function<void()> redo)
        : m_undo(std::move(undo)), m_redo(std::move(redo))
    {
    }
    void undo() override { m_undo(); }
    void redo() override { m_redo(); }

private:
    std::function<void()> m_undo;
    std::function<void()> m_redo;
};

constexpr int kParts[] = {1, 2, 4, 8};
} // namespace

void record(QTextDocument* doc, std::function<void()> undo, std::function<void()> redo)
{
    if (doc && doc->isUndoRedoEnabled())
        doc->appendUndoItem(new Item(std::move(undo), std::move(redo)));
}

bool changePage(TextControl& surface, const PageGeometry& page)
{
    const PageGeometry before = surface.doc()->page();
    if (before == page)
        return false;
    TextControl* s = &surface;
    const auto apply = [s](const PageGeometry& g) {
        s->doc()->setPage(g);
        // A page is no text, so no contents change tells the window; the signal does.
        Q_EMIT s->Change();
    };
    // Qt keeps the body's margins (its root frame's format) in the history itself. The
    // page follows them in an item before that change (run last on undo) and one after it
    // (run last on redo), so nothing is recorded while Qt walks its history.
    s->beginEditStep(UndoKindTracker::Formatting);
    record(s->document(), [apply, before] { apply(before); }, [] {});
    apply(page);
    record(s->document(), [] {}, [apply, page] { apply(page); });
    s->endEditStep();
    return true;
}

HeaderFooterSnapshot::HeaderFooterSnapshot(const Document& doc)
    : m_set(doc.headerFooterSet()), m_headerDistance(doc.headerDistance()),
      m_footerDistance(doc.footerDistance())
{
    for (int part : kParts) {
        const QTextDocument* d = doc.headerFooter(part);
        m_parts.append(d ? std::shared_ptr<QTextDocument>(d->clone()) : nullptr);
    }
}

HeaderFooterSnapshot::~HeaderFooterSnapshot() = default;

void HeaderFooterSnapshot::restore(Document& doc) const
{
    doc.setHeaderFooterSet(m_set);
    for (int i = 0; i < 4; ++i) {
        QTextDocument* d = doc.headerFooter(kParts[i]);
        const QTextDocument* saved = m_parts.at(i).get();
        if (!d || !saved || d->toRawText() == saved->toRawText())
            continue;
        QTextCursor c(d);
        c.select(QTextCursor::Document);
        c.insertFragment(QTextDocumentFragment(saved));
    }
    doc.setHeaderDistance(m_headerDistance);
    doc.setFooterDistance(m_footerDistance);
}

bool HeaderFooterSnapshot::differsFrom(const Document& doc) const
{
    return doc.headerFooterSet() != m_set || doc.headerDistance() != m_headerDistance
           || doc.footerDistance() != m_footerDistance;
}

} // namespace SettingStep
