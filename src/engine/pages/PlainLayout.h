#pragma once
// The layout of a long plain document's printed copy as a window shows it: lines and
// pages come from PlainPages, so the window opens on a text of a million lines without
// Qt laying it all out, and its positions (a double per line) never wrap as Qt's fixed
// point does past some 2,000 A4 pages at print resolution. A paragraph is shaped only
// when it is drawn or measured; an edit breaks only the paragraphs it touched anew.
// When an edit leaves the plain path (a bold word, a table), fits() turns false and the
// owner lays the copy out the long way.

#include "engine/Document.h"

#include <QAbstractTextDocumentLayout>

#include <memory>
#include <vector>

class PlainPages;

class PlainLayout : public QAbstractTextDocumentLayout {
    Q_OBJECT
public:
    // Installs itself on `copy` (a held copy, see Paginator::holdLayout) for pages of `g`;
    // null, with `copy` untouched, when the copy is not plain.
    static PlainLayout* install(QTextDocument* copy, const PageGeometry& g);
    ~PlainLayout() override;

    // Paragraphs from which a long document takes this layout in a window.
    static constexpr int LongDocument = 2000;

    bool fits() const { return m_lines != nullptr; }
    // Lines of the whole text, as the statistics count them.
    int lineCount() const;
    const PageGeometry& page() const { return m_page; }
    // Pages of another size or margins: every line placed anew.
    void setPage(const PageGeometry& g);

    void draw(QPainter* painter, const PaintContext& context) override;
    int hitTest(const QPointF& point, Qt::HitTestAccuracy accuracy) const override;
    int pageCount() const override;
    QSizeF documentSize() const override;
    QRectF frameBoundingRect(QTextFrame* frame) const override;
    QRectF blockBoundingRect(const QTextBlock& block) const override;

Q_SIGNALS:
    // An edit took the text off the plain path: whoever shows it lays it out otherwise.
    void leftPlainPath();

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;

private:
    PlainLayout(QTextDocument* copy, const PageGeometry& g);
    // Lines from scratch; false when the document is not plain.
    bool rebuild();

    // What the lines were broken for: a document that tells of a change to all of it
    // (a new text width, which the lines do not depend on) keeps them when this stays.
    QString builtFor() const;

    PageGeometry m_page;
    std::unique_ptr<PlainPages> m_lines;
    QString m_builtFor;
    bool m_installing = false;
    // Where paragraphs of several lines were laid out: a page end may cross them elsewhere
    // once lines above come or go.
    mutable std::vector<int> m_wrapped;
};
