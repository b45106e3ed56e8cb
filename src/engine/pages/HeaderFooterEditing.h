#pragma once
// Editing of one header/footer part in a page view: a borderless editor laid over
// the part on its page, at the body's zoom. The surface owns one of these.

#include <QObject>
#include <QPointer>

class QTextDocument;
class QTextEdit;
class ScreenView;
class TextControl;
class ZoomedTextEdit;

class HeaderFooterEditing : public QObject {
public:
    // `filter` watches the editor's keys (Escape leaves the part).
    HeaderFooterEditing(TextControl& surface, ScreenView& view, QObject* filter);

    // Moves editing into part n of the document (of its first section); false when the
    // part is absent.
    bool activate(int part);
    // Moves editing into the header (slot 1) or footer (4) printed on `page`, which may
    // be a later section's own; false when the page has none.
    bool activateOn(int page, int slot);
    void leave();
    int active() const { return m_active; }
    QTextEdit* editor() const;
    // The part's editor when a part is being edited, else null.
    QTextEdit* activeEditor() const;
    // The part being edited, else null.
    QTextDocument* part() const { return m_active ? m_part.data() : nullptr; }
    // Lays the editor over the part (on the caret's page) after a move or a change.
    void place();

    // Distance of the header (index 1, 2) or footer (4, 8) from the paper's edge, twips.
    int distance(int index) const;
    void setDistance(int index, int twips);
    // 15 when the first page has its own parts, else 5; writing 15 adds first-page
    // parts beside the present ones, 5 removes them.
    int flags() const;
    void setFlags(int flags);

private:
    bool edit(QTextDocument* d, int kind, int page);
    void onPartChanged();

    TextControl& m_surface;
    ScreenView& m_view;
    QObject* m_filter;
    ZoomedTextEdit* m_editor = nullptr;
    int m_active = 0;
    QPointer<QTextDocument> m_part;
    int m_page = 0; // where it is edited; 0: the caret's page
};
