#include "Document.h"

#include "PartIndex.h"
#include "SectionParts.h"
#include "formats/LocalTextDocument.h"
#include "objects/ListNumbers.h"
#include "spelling/AutoHyphens.h"

#include <QAbstractTextDocumentLayout>
#include <QTextFrame>
#include <QTextFrameFormat>

Document::Document(QObject* parent) : QObject(parent), m_body(new LocalTextDocument(this))
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(11);
    m_body->setDefaultFont(f);
    m_body->setDocumentMargin(0);
    layOutAt96Dpi(m_body);
    applyPage();
    // Setting the margin is recorded as an undoable step; a new document has none.
    m_body->clearUndoRedoStacks();
    m_hyphens = new AutoHyphens(this);
    new ListNumbers(this);
}

std::unique_ptr<Document> Document::paintingCopy() const
{
    return std::unique_ptr<Document>(new Document(CopyOf{*this}));
}

// The body is taken as cloned, never laid out at 96 dpi (its print layout is its only
// one), and nothing follows its edits: readying it for print changes it on purpose.
Document::Document(CopyOf from)
    : m_body(from.original.m_body->clone(this)), m_page(from.original.m_page),
      m_headerDistance(from.original.m_headerDistance), m_footerDistance(from.original.m_footerDistance),
      m_language(from.original.m_language), m_hyphens(new AutoHyphens(this, false))
{
    for (int i = 0; i < 4; ++i) {
        if (!from.original.m_parts[i])
            continue;
        m_parts[i] = from.original.m_parts[i]->clone(this);
        layOutAt96Dpi(m_parts[i]);
    }
    m_hfSet = from.original.m_hfSet;
    SectionParts::cloneInto(from.original, *this);
}

void Document::layOutAt96Dpi(QTextDocument* d)
{
    const int dpm = qRound(96 / 0.0254);
    m_device.setDotsPerMeterX(dpm);
    m_device.setDotsPerMeterY(dpm);
    d->documentLayout()->setPaintDevice(&m_device);
}

void Document::setPage(const PageGeometry& g)
{
    if (g == m_page)
        return;
    m_page = g;
    applyPage();
    Q_EMIT pageChanged();
}

void Document::setLanguage(const QString& language)
{
    if (language == m_language)
        return;
    m_language = language;
    m_body->setModified(true);
    Q_EMIT languageChanged(language);
}

void Document::setHeaderDistance(int twips)
{
    if (twips == m_headerDistance)
        return;
    m_headerDistance = twips;
    Q_EMIT pageChanged();
}

void Document::setFooterDistance(int twips)
{
    if (twips == m_footerDistance)
        return;
    m_footerDistance = twips;
    Q_EMIT pageChanged();
}

void Document::applyPage()
{
    setRootMargins(m_body, m_page);
    const double width = qMax(10.0, twipsToPixels(m_page.width));
    // A body that nothing shows (a conversion) has a null page size, which holds back
    // Qt's layout; otherwise every call lays the whole text out anew.
    if (!m_body->pageSize().isNull() && m_body->textWidth() != width)
        m_body->setTextWidth(width);
    // Headers and footers are laid out at the text's width, unzoomed.
    const double textWidth = qMax(10.0, twipsToPixels(m_page.width - m_page.marginL - m_page.marginR));
    for (QTextDocument* d : m_parts)
        if (d)
            d->setTextWidth(textWidth);
}

void Document::setRootMargins(QTextDocument* d, const PageGeometry& g)
{
    const QTextFrameFormat f = d->rootFrame()->frameFormat();
    QTextFrameFormat want = f;
    want.setLeftMargin(twipsToPixels(g.marginL));
    want.setTopMargin(twipsToPixels(g.marginT));
    want.setRightMargin(twipsToPixels(g.marginR));
    want.setBottomMargin(twipsToPixels(g.marginB));
    auto same = [](double a, double b) { return qFuzzyCompare(a + 1, b + 1); };
    if (same(f.leftMargin(), want.leftMargin()) && same(f.topMargin(), want.topMargin())
        && same(f.rightMargin(), want.rightMargin()) && same(f.bottomMargin(), want.bottomMargin()))
        return;
    const bool modified = d->isModified();
    // While Qt undoes or redoes a step its history reads as off: then the step being
    // replayed must not be cleared away under it.
    const bool fresh = d->isUndoRedoEnabled() && !d->isUndoAvailable() && !d->isRedoAvailable();
    d->rootFrame()->setFrameFormat(want);
    if (fresh)
        d->clearUndoRedoStacks();
    d->setModified(modified);
}

void Document::setHeaderFooterSet(int bits)
{
    bits &= 15;
    if (bits == m_hfSet)
        return;
    for (int part : {1, 2, 4, 8}) {
        QTextDocument*& d = m_parts[partIndex(part)];
        if ((bits & part) && !d) {
            d = new LocalTextDocument(this);
            d->setDefaultFont(m_body->defaultFont());
            d->setDocumentMargin(0);
            layOutAt96Dpi(d);
            d->setTextWidth(qMax(10.0, twipsToPixels(m_page.width - m_page.marginL - m_page.marginR)));
        } else if (!(bits & part) && d) {
            // Later, so that an editor showing the part can let go of it first.
            d->deleteLater();
            d = nullptr;
        }
    }
    m_hfSet = bits;
    Q_EMIT headerFooterSetChanged(bits);
}

QTextDocument* Document::headerFooter(int part) const
{
    const int i = partIndex(part);
    return i < 0 ? nullptr : m_parts[i];
}
