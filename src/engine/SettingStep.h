#pragma once
// Settings of a surface that live beside its text (header and footer distances and
// parts, image options) join the text's undo history: an undo item in the body's
// current edit block restores them, so one Undo takes back a dialog's whole change.

#include <QList>
#include <functional>
#include <memory>

class Document;
class QTextDocument;

namespace SettingStep {

// Appends an undo item to `doc`; `undo` and `redo` run when Qt undoes or redoes the
// step. Call inside an open edit step so that the item joins it.
void record(QTextDocument* doc, std::function<void()> undo, std::function<void()> redo);

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
