#include "AddressPlacement.h"

#include "engine/Document.h"
#include "engine/pages/Paginator.h"
#include "engine/surface/TextControl.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

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
    explicit Printed(TextControl& s)
        : m_body(s.doc()->body()), m_doc(Paginator::printedCopy(*s.doc())),
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
        mergeBlock(m_body, position, f);
        mergeBlock(m_doc.get(), position, f);
    }

private:
    QTextDocument* m_body;
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

} // namespace

bool moveToWindow(TextControl& s, int start, int end)
{
    // Measured again after each step, for whatever the layout adds to a paragraph's
    // own space.
    Printed printed(s);
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
        if (endPage == 1 && bottom <= WindowBottomMm + ToleranceMm)
            return true;
        narrowEmptyLines(s, printed, start, bottom - WindowBottomMm);
        return printed.lineTopMm(end, &endPage) <= WindowBottomMm + ToleranceMm && endPage == 1;
    }
    int page = 0;
    const double top = printed.lineTopMm(start, &page);
    return page == 1 && qAbs(top - WindowTopMm) <= ToleranceMm * 4;
}

QString letterheadTooLongText()
{
    return QStringLiteral("Der Briefkopf reicht bis in das Adressfeld (%1 mm unter dem oberen Blattrand). Die "
                          "Anschrift steht deshalb tiefer und ist im Fenster eines Fensterumschlags nicht ganz "
                          "zu sehen.\r\n\r\nVerringern Sie den „Abstand Briefkopf“ oder kürzen Sie den Briefkopf.")
        .arg(int(WindowTopMm));
}

} // namespace AddressPlacement
