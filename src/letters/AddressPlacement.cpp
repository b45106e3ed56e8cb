#include "AddressPlacement.h"

#include "engine/Document.h"
#include "engine/pages/Paginator.h"
#include "engine/surface/TextControl.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>
#include <QUrl>

namespace AddressPlacement {

namespace {

constexpr double PixelsPerMm = 96 / 25.4; // the body's units
constexpr double ToleranceMm = 0.05;

void mergeBlock(QTextDocument* doc, int position, const QTextBlockFormat& f)
{
    QTextCursor c(doc);
    c.setPosition(position);
    c.mergeBlockFormat(f);
}

// The document as printed, measured on a copy: letters are written inside one edit
// block, which holds back the body's own layout. The copy is made once and takes the
// same paragraph changes as the body, so each measurement lays out only what moved.
class Printed {
public:
    // Every change made is appended to `merges` when given.
    explicit Printed(TextControl& s, QList<std::pair<int, QTextBlockFormat>>* merges = nullptr)
        : m_body(s.doc()->body()), m_merges(merges), m_doc(Paginator::printedCopy(*s.doc())),
          m_scale(Paginator::layoutScale(m_doc.get())),
          m_pageHeight(Paginator::pageSizePixels(s.doc()->page()).height() * m_scale)
    {
    }
    // Top of the first line of the paragraph at `position`, millimetres from the top
    // edge of its page; its page in `page`.
    double lineTopMm(int position, int* page) const
    {
        const QTextBlock b = m_doc->findBlock(position);
        double y = m_doc->documentLayout()->blockBoundingRect(b).top();
        if (const QTextLayout* l = b.layout(); l && l->lineCount() > 0)
            y += l->lineAt(0).y();
        *page = int(y / m_pageHeight) + 1;
        return (y - (*page - 1) * m_pageHeight) / m_scale / PixelsPerMm;
    }
    void merge(int position, const QTextBlockFormat& f)
    {
        if (m_merges)
            m_merges->append({position, f});
        mergeBlock(m_body, position, f);
        mergeBlock(m_doc.get(), position, f);
    }

private:
    QTextDocument* m_body;
    QList<std::pair<int, QTextBlockFormat>>* m_merges;
    std::unique_ptr<QTextDocument> m_doc;
    double m_scale;
    double m_pageHeight;
};

// The empty paragraphs right before the one at `position`, outside tables.
QList<QTextBlock> emptyLinesBefore(QTextDocument* body, int position)
{
    QList<QTextBlock> lines;
    for (QTextBlock b = body->findBlock(position).previous();
         b.isValid() && b.text().isEmpty() && !QTextCursor(b).currentTable(); b = b.previous())
        lines.prepend(b);
    return lines;
}

// Takes up to `rise` millimetres of height out of the empty lines before `position`;
// returns how much it took.
double narrowEmptyLines(TextControl& s, Printed& printed, int position, double rise)
{
    QTextDocument* body = s.doc()->body();
    const QList<QTextBlock> lines = emptyLinesBefore(body, position);
    if (lines.isEmpty() || rise <= 0)
        return 0;
    int page = 0;
    const double height = printed.lineTopMm(position, &page) - printed.lineTopMm(lines.first().position(), &page);
    const double taken = qMin(rise, height);
    QTextBlockFormat f;
    f.setLineHeight(qMax(0.0, height - taken) / lines.size() * PixelsPerMm, QTextBlockFormat::FixedHeight);
    f.setTopMargin(0);
    f.setBottomMargin(0);
    for (const QTextBlock& b : lines)
        printed.merge(b.position(), f);
    return taken;
}

// Moves the block; `byHeight` is set when the changes made depended on the block's
// own height (a block below text that reaches into the field).
bool place(Printed& printed, TextControl& s, int start, int end, bool* byHeight)
{
    // Measured again after each step, for whatever the layout adds to a paragraph's
    // own space.
    double space = 0;
    for (int i = 0; i < 4; ++i) {
        int page = 0, endPage = 0;
        const double top = printed.lineTopMm(start, &page);
        const double bottom = printed.lineTopMm(end, &endPage);
        if (page != 1)
            return false;
        const double missing = WindowTopMm - top;
        if (qAbs(missing) <= ToleranceMm)
            return endPage == 1 && bottom <= WindowBottomMm + ToleranceMm;
        if (missing > 0) {
            space = qMax(0.0, space + missing);
            QTextBlockFormat f;
            f.setTopMargin(space * PixelsPerMm);
            printed.merge(start, f);
            continue;
        }
        // Up to the window's top when the empty lines above allow it; otherwise the text
        // above reaches into the field, and the block, just below that text, only has
        // to end inside the window.
        if (space <= 0 && narrowEmptyLines(s, printed, start, -missing) >= -missing - ToleranceMm)
            continue;
        *byHeight = true;
        if (endPage == 1 && bottom <= WindowBottomMm + ToleranceMm)
            return true;
        narrowEmptyLines(s, printed, start, bottom - WindowBottomMm);
        return printed.lineTopMm(end, &endPage) <= WindowBottomMm + ToleranceMm && endPage == 1;
    }
    int page = 0;
    const double top = printed.lineTopMm(start, &page);
    return page == 1 && qAbs(top - WindowTopMm) <= ToleranceMm * 4;
}

void collectFrames(const QTextFrame* frame, int start, QList<QTextFormat>* formats)
{
    for (const QTextFrame* f : frame->childFrames()) {
        if (f->firstPosition() > start)
            break;
        formats->append(f->frameFormat());
        // A table's columns and spans are part of its layout.
        if (const auto* t = qobject_cast<const QTextTable*>(f)) {
            QTextCharFormat shape;
            shape.setProperty(QTextFormat::UserProperty, QSize(t->rows(), t->columns()));
            formats->append(shape);
        }
        collectFrames(f, start, formats);
    }
}

// Everything the layout of the text above `start` depends on, and the format of the
// block that starts there (its own space above).
Memo::Above above(const Document& doc, int start)
{
    const QTextDocument* body = doc.body();
    Memo::Above a;
    a.page = Paginator::bodyGeometry(doc);
    a.start = start;
    a.font = body->defaultFont();
    a.margin = body->documentMargin();
    a.formats.append(body->rootFrame()->frameFormat());
    collectFrames(body->rootFrame(), start, &a.formats);
    for (QTextBlock b = body->begin(); b.isValid() && b.position() <= start; b = b.next()) {
        a.formats.append(b.blockFormat());
        a.formats.append(b.charFormat());
        if (b.position() == start)
            break;
        a.text += b.text() + QChar::ParagraphSeparator;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            QTextCharFormat f = it.fragment().charFormat();
            // Runs of the same format split differently still lay out alike.
            f.setProperty(QTextFormat::UserProperty + 1, it.fragment().length());
            a.formats.append(f);
            if (f.isImageFormat()) {
                QTextCharFormat size;
                const QVariant image = body->resource(QTextDocument::ImageResource, QUrl(f.toImageFormat().name()));
                size.setProperty(QTextFormat::UserProperty, image.value<QImage>().size());
                a.formats.append(size);
            }
        }
    }
    return a;
}

} // namespace

bool moveToWindow(TextControl& s, int start, int end)
{
    Printed printed(s);
    bool byHeight = false;
    return place(printed, s, start, end, &byHeight);
}

void placeInWindow(TextControl& s, int start, int end, Memo& memo)
{
    Memo::Above now = above(*s.doc(), start);
    if (memo.m_valid && now == memo.m_above) {
        for (const auto& [position, f] : std::as_const(memo.m_merges))
            mergeBlock(s.doc()->body(), position, f);
        return;
    }
    ++memo.m_measured;
    memo.m_merges.clear();
    bool byHeight = false;
    {
        Printed printed(s, &memo.m_merges);
        place(printed, s, start, end, &byHeight);
    }
    memo.m_valid = !byHeight;
    memo.m_above = std::move(now);
}

QString letterheadTooLongText()
{
    return QStringLiteral("Der Briefkopf reicht bis in das Adressfeld (%1 mm unter dem oberen Blattrand). Die "
                          "Anschrift steht deshalb tiefer und ist im Fenster eines Fensterumschlags nicht ganz "
                          "zu sehen.\r\n\r\nVerringern Sie den „Abstand Briefkopf“ oder kürzen Sie den Briefkopf.")
        .arg(int(WindowTopMm));
}

} // namespace AddressPlacement
