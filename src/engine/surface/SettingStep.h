#pragma once
// Settings of a surface that live beside its text (header and footer distances and
// parts, image options) join the text's undo history: an undo item in the body's
// current edit block restores them, so one Undo takes back a dialog's whole change.

#include <QList>
#include <functional>
#include <memory>

class Document;
class QTextDocument;
class TextControl;
struct PageGeometry;

namespace SettingStep {

// Appends an undo item to `doc`; `undo` and `redo` run when Qt undoes or redoes the
// step. Call inside an open edit step so that the item joins it.
void record(QTextDocument* doc, std::function<void()> undo, std::function<void()> redo);

// Gives `surface` the page `page` as one undo step of kind formatting. The surface's
// Change is raised on the change and on its undo and redo, so the window counts it as
// an edit. False, and no step, when the page is already `page`.
bool changePage(TextControl& surface, const PageGeometry& page);

// Header and footer parts with their texts and the two distances, so that switching
// parts off can be undone without losing what they held.
class HeaderFooterSnapshot {
public:
    explicit HeaderFooterSnapshot(const Document& doc);
    ~HeaderFooterSnapshot();
    void restore(Document& doc) const;
    // True when `doc` holds other parts or distances than the snapshot.
    bool differsFrom(const Document& doc) const;

private:
    int m_set = 0;
    int m_headerDistance = 0;
    int m_footerDistance = 0;
    QList<std::shared_ptr<QTextDocument>> m_parts; // by bit 1, 2, 4, 8
};

} // namespace SettingStep
