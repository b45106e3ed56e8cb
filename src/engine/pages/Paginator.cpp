#include "Paginator.h"

#include "BlockBand.h"
#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "engine/objects/Images.h"
#include "engine/objects/PageNumberObject.h"
#include "PageEstimate.h"
#include "PaginatedCopy.h"
#include "PrintCopy.h"
#include "engine/SectionParts.h"
#include "engine/Sections.h"
#include "PlainLayout.h"
#include "PlainPages.h"
#include "engine/objects/ParagraphFrames.h"
#include "engine/objects/TabLeaders.h"

#include <QAbstractTextDocumentLayout>
#include <QtMath>
#include <QPainter>
#include <QSignalBlocker>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>

#include <algorithm>
#include <array>
#include <iterator>

namespace {
// True when a paragraph from `pos` to `pos + added` starts a section.
bool breaksSection(const QTextDocument* d, int pos, int added)
{
    for (QTextBlock b = d->findBlock(pos); b.isValid() && b.position() <= pos + added; b = b.next())
        if (Sections::isBreak(b.blockFormat()))
            return true;
    return false;
}

// Splits the paragraph at the cursor; a page break before it stays with the first half.
void insertParagraph(QTextCursor& c)
{
    QTextBlockFormat f = c.blockFormat();
    f.setPageBreakPolicy(f.pageBreakPolicy() & ~QTextFormat::PageBreak_AlwaysBefore);
    f.clearProperty(Sections::PageProperty);
    c.insertBlock(f);
}
} // namespace


Paginator::Paginator(Document* doc, QObject* parent) : QObject(parent), m_doc(doc)
{
    // Qt reports contentsChange only for a document that has a layout.
    doc->body()->documentLayout();
    connect(doc->body(), &QTextDocument::contentsChange, this, &Paginator::onContentsChange);
    connect(doc, &Document::pageChanged, this, &Paginator::invalidate);
    connect(doc, &Document::headerFooterSetChanged, this, &Paginator::watchParts);
    // A window places a long plain body as printed, or no longer: the copy changes.
    connect(doc->body(), &QTextDocument::documentLayoutChanged, this, &Paginator::invalidate);
    watchParts();
}

Paginator::Paginator(Document* doc, Still still)
    : QObject(nullptr), m_doc(doc), m_takesBody(still == PaintingCopy), m_still(true)
{
    watchParts();
}

void Paginator::watchParts()
{
    for (int part : {1, 2, 4, 8})
        if (QTextDocument* d = m_doc->headerFooter(part))
            connect(d, &QTextDocument::contentsChanged, this, &Paginator::onPartsChanged, Qt::UniqueConnection);
    onPartsChanged();
}

void Paginator::onPartsChanged()
{
    const PageGeometry g = bodyGeometry(*m_doc);
    bool same = g == m_laidOut;
    // Parts of later sections move only their own section's body.
    for (int i = 1; same && i < m_sectionGeometries.size(); ++i)
        same = sectionBodyGeometry(i) == m_sectionGeometries.at(i);
    if (!same)
        invalidate();
}

PageGeometry Paginator::bodyGeometry(const Document& doc)
{
    return bodyGeometry(Sections::firstOf(doc), {doc.headerFooter(1), doc.headerFooter(2)},
                        {doc.headerFooter(4), doc.headerFooter(8)});
}

PageGeometry Paginator::bodyGeometry(const SectionFormat& f, const QList<QTextDocument*>& headers,
                                     const QList<QTextDocument*>& footers)
{
    PageGeometry g = f.page;
    const double textWidth = Document::twipsToPixels(g.width - g.marginL - g.marginR);
    auto height = [&](const QList<QTextDocument*>& parts) -> int {
        int most = 0;
        for (QTextDocument* d : parts) {
            if (!d)
                continue;
            if (!qFuzzyCompare(d->textWidth(), textWidth))
                d->setTextWidth(qMax(10.0, textWidth));
            most = qMax(most, qCeil(Document::pixelsToTwips(d->size().height())));
        }
        return most;
    };
    const int header = height(headers);
    const int footer = height(footers);
    if (header > 0)
        g.marginT = qMax(g.marginT, f.headerDistance + header);
    if (footer > 0)
        g.marginB = qMax(g.marginB, f.footerDistance + footer);
    // Whatever the parts hold, a line of body must still fit on the page.
    const int room = g.height - 720;
    if (g.marginT + g.marginB > room) {
        g.marginT = qMin(g.marginT, qMax(f.page.marginT, room / 2));
        g.marginB = qMin(g.marginB, qMax(f.page.marginB, room - g.marginT));
    }
    return g;
}

Paginator::~Paginator() = default;

QSizeF Paginator::pageSizePixels(const PageGeometry& g)
{
    return {Document::twipsToPixels(g.width), Document::twipsToPixels(g.height)};
}

QPaintDevice* Paginator::printDevice(int dpi)
{
    // Made once for every resolution, so that painting threads can share them.
    static std::array<QImage, std::size(PrintDpis)> devices = [] {
        std::array<QImage, std::size(PrintDpis)> made;
        for (size_t i = 0; i < made.size(); ++i) {
            QImage img(1, 1, QImage::Format_RGB32);
            const int dpm = qRound(PrintDpis[i] / 0.0254);
            img.setDotsPerMeterX(dpm);
            img.setDotsPerMeterY(dpm);
            made[i] = img;
        }
        return made;
    }();
    const int* at = std::find(std::begin(PrintDpis), std::end(PrintDpis), dpi);
    return &devices[at == std::end(PrintDpis) ? 0 : size_t(at - std::begin(PrintDpis))];
}

bool Paginator::layoutWrapped(QTextDocument* d)
{
    // Samples closer together than a whole turn (2^26 units) show a wrap as a step back.
    QAbstractTextDocumentLayout* layout = d->documentLayout();
    const int blocks = d->blockCount();
    const int samples = qMin(blocks, 256);
    double last = -1;
    for (int i = 0; i <= samples; ++i) {
        const QTextBlock b = d->findBlockByNumber(qMin(blocks - 1, int(qint64(blocks - 1) * i / qMax(1, samples))));
        // Cells stand side by side: a block in a table counts where its outermost table starts.
        QTextFrame* f = d->frameAt(b.position());
        while (f && f->parentFrame() && f->parentFrame() != d->rootFrame())
            f = f->parentFrame();
        const double top = f && f != d->rootFrame() ? layout->frameBoundingRect(f).top() : layout->blockBoundingRect(b).top();
        if (top < last)
            return true;
        last = top;
    }
    return d->pageCount() < 1;
}

int Paginator::layOutForPrint(QTextDocument* copy, const PageGeometry& g, int dpi)
{
    return PrintCopy::layOut(copy, g, PrintCopy::prepare(copy, g, dpi));
}

int Paginator::printDpiFor(const QTextDocument* copy, const PageGeometry& g)
{
    const double page = pageSizePixels(g).height() / 96 * WrapMargin;
    // A copy far from the wrap even at four times its rough length (a letter) is not
    // measured word by word, which cost a sixteenth of painting a letter.
    if (PageEstimate::pages(copy, g, false) * 4 * page * PrintDpi < LayoutWrap)
        return PrintDpi;
    const double length = PageEstimate::pages(copy, g) * page;
    for (int dpi : PrintDpis)
        if (length * dpi < LayoutWrap)
            return dpi;
    return std::end(PrintDpis)[-1];
}

double Paginator::layoutScale(const QTextDocument* d)
{
    const QPaintDevice* dev = d->documentLayout()->paintDevice();
    return dev ? dev->logicalDpiY() / 96.0 : 1.0;
}

void Paginator::holdLayout(QTextDocument* copy)
{
    // A clone takes the body's page size, and Qt lays a document with a page size out
    // as soon as it gets a layout and after every edit; a null size holds that back,
    // so a copy is laid out once, at print resolution, when paginate() sets its page.
    copy->setPageSize(QSizeF(0, 0));
    // Printed without the marks of spaces and paragraph ends that the screen may show.
    QTextOption o = copy->defaultTextOption();
    o.setFlags(o.flags() & ~(QTextOption::ShowTabsAndSpaces | QTextOption::ShowLineAndParagraphSeparators));
    copy->setDefaultTextOption(o);
}

void Paginator::paginate(QTextDocument* d, const PageGeometry& g)
{
    Document::setRootMargins(d, g);
    d->setPageSize(pageSizePixels(g) * layoutScale(d));
    PageNumberObject::install(d);
    Images::installHandlers(d);
}

void Paginator::insertPageBreak(QTextCursor& c)
{
    c.beginEditBlock();
    c.insertBlock();
    QTextBlockFormat f = c.blockFormat();
    f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    c.setBlockFormat(f);
    c.endEditBlock();
}

void Paginator::breakAtFormFeeds(QTextDocument* d)
{
    const QChar formFeed(12);
    QTextCursor found = d->find(QString(formFeed));
    while (!found.isNull()) {
        found.removeSelectedText();
        insertPageBreak(found);
        found = d->find(QString(formFeed), found.position());
    }
}

void Paginator::insertText(QTextCursor& c, const QString& text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList pages = t.split(QChar(12));
    for (int i = 0; i < pages.size(); ++i) {
        if (i > 0) {
            QTextBlockFormat bf = c.blockFormat();
            bf.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            c.insertBlock(bf);
        }
        // The page in one insertion (a million lines cost a few seconds less). Qt gives
        // each new paragraph the format of the one before: the page's break stays with its
        // first paragraph.
        const QString& page = pages.at(i);
        const qsizetype end = page.indexOf(QLatin1Char('\n'));
        if (end < 0) {
            if (!page.isEmpty())
                c.insertText(page);
            continue;
        }
        if (end > 0)
            c.insertText(page.left(end));
        insertParagraph(c);
        if (end + 1 < page.size())
            c.insertText(page.mid(end + 1));
    }
}

void Paginator::onContentsChange(int pos, int removed, int added)
{
    if (m_copyIsBody && !m_dirty)
        return; // the body's own layout follows the edit, and says when it cannot

    // A paginated copy that is up to date follows the edit; anything else is rebuilt,
    // and so is an edit of the first paragraph, whose spacing the copy lays out its own way.
    const QTextBlock first = m_doc->body()->begin();
    const bool firstSpacing = pos <= first.length() && first.blockFormat().topMargin() > 0;
    // Sections are laid out in copies of their own, which are not replayed on.
    if (m_dirty || !m_copy || !m_copyMirrors || firstSpacing || !m_sections.isEmpty()
        || breaksSection(m_doc->body(), pos, added)
        || !PaginatedCopy::mirror(m_doc->body(), m_copy, pos, removed, added, layoutScale(m_copy)))
        invalidate();
    else if (auto* plain = qobject_cast<PlainLayout*>(m_copy->documentLayout()); plain && !plain->fits())
        invalidate(); // no longer plain: laid out the long way
}

void Paginator::invalidate()
{
    if (m_dirty)
        return;
    m_dirty = true;
    Q_EMIT invalidated();
}

QTextDocument* Paginator::layoutDocument()
{
    ensureLayout();
    if (m_plain) {
        // Asked for the copy after all: the long way, once.
        m_plain.reset();
        m_dirty = true;
        m_still = false;
        ensureLayout();
    }
    return m_copy;
}

void Paginator::ensureLayout()
{
    if (!m_dirty)
        return;
    m_dirty = false;
    m_laidOut = bodyGeometry(*m_doc);
    if ((m_takesBody && m_copy) || m_plain)
        return; // laid out for print already
    if (const int dpi = PrintCopy::laidOutDpi(m_doc->body()); m_takesBody && dpi > 0) {
        // Laid out by the thread that readied it, on the same page.
        m_copy = m_doc->body();
        ++m_rebuilds;
        m_printDpi = dpi;
        return;
    }
    if (m_still && (m_plain = PlainPages::make(m_doc->body(), m_laidOut)))
        return;
    QTextDocument* d = m_doc->body();
    layOutSections(); // before a body taken as the copy is laid out
    if (const int dpi = PrintCopy::preparedDpi(d); m_takesBody && dpi > 0) {
        m_copy = d;
        ++m_rebuilds;
        m_printDpi = PrintCopy::layOut(m_copy, m_laidOut, dpi);
        return;
    }
    if (!m_takesBody && !m_copyIsBody)
        delete m_copy;
    m_copy = nullptr;
    m_copyIsBody = false;
    if (auto* plain = m_takesBody ? nullptr : qobject_cast<PlainLayout*>(d->documentLayout());
        plain && plain->fits() && plain->page() == m_laidOut && m_sections.isEmpty()) {
        m_copy = d;
        m_copyIsBody = true;
        ++m_rebuilds;
        connect(plain, &PlainLayout::leftPlainPath, this, &Paginator::invalidate, Qt::UniqueConnection);
        return;
    }
    m_copy = m_takesBody ? d : d->clone(this);
    holdLayout(m_copy);
    ++m_rebuilds;
    m_copy->setUndoRedoEnabled(false);
    // A long plain text in a window: its lines and pages without Qt's layout.
    if (!m_takesBody && m_sections.isEmpty() && d->blockCount() >= PlainLayout::LongDocument
        && PlainLayout::install(m_copy, m_laidOut)) {
        m_copyMirrors = true;
        return;
    }
    // Form feeds become paragraphs in the copy: positions differ from then on.
    m_copyMirrors = !d->toPlainText().contains(QChar(12));
    breakAtFormFeeds(m_copy);
    m_printDpi = layOutForPrint(m_copy, bodyGeometry(*m_doc), m_printDpi);
}

PageGeometry Paginator::sectionBodyGeometry(int index)
{
    if (index == 0)
        return bodyGeometry(*m_doc);
    auto parts = [&](int slot) {
        return QList<QTextDocument*>{Sections::partFor(*m_doc, m_sectionList, index, slot, true),
                                     Sections::partFor(*m_doc, m_sectionList, index, slot, false)};
    };
    return bodyGeometry(m_sectionList.at(index).format, parts(1), parts(4));
}

void Paginator::layOutSections()
{
    m_sectionList = Sections::of(*m_doc);
    m_sections.clear();
    m_sectionGeometries.clear();
    if (m_sectionList.size() < 2)
        return;
    m_sections = SectionCopies::build(m_doc->body(), m_sectionList, [this](QTextDocument* copy, const SectionCopies::Copy& c) {
        holdLayout(copy);
        breakAtFormFeeds(copy);
        const PageGeometry g = sectionBodyGeometry(c.index);
        m_sectionGeometries.append(g);
        layOutForPrint(copy, g, m_printDpi);
    });
    // Page numbers in the body count on from the sections before.
    const int pages = SectionCopies::pageCount(m_sections);
    for (const SectionCopies::Copy& c : std::as_const(m_sections))
        PageNumberObject::setNumbering(c.doc.get(), c.firstPage, pages);
    // A later section's own header or footer moves its body as it grows.
    for (const Sections::Section& section : std::as_const(m_sectionList))
        for (int part : {1, 2, 4, 8})
            if (QTextDocument* d = section.format.parts ? SectionParts::part(*m_doc, section.format.parts, part) : nullptr)
                connect(d, &QTextDocument::contentsChanged, this, &Paginator::onPartsChanged, Qt::UniqueConnection);
}

std::unique_ptr<QTextDocument> Paginator::printedCopy(const Document& doc)
{
    const QTextDocument* body = doc.body();
    std::unique_ptr<QTextDocument> copy(body->clone());
    holdLayout(copy.get());
    copy->setUndoRedoEnabled(false);
    layOutForPrint(copy.get(), bodyGeometry(doc));
    return copy;
}

int Paginator::pageOfPosition(int pos)
{
    ensureLayout();
    if (m_plain)
        return m_plain->pageOfPosition(pos);
    // With sections the position is printed in its section's copy.
    const Printed printed = m_sections.isEmpty() ? Printed{m_dirty ? layoutDocument() : m_copy} : printedAt(pos);
    QTextDocument* d = printed.d;
    pos -= printed.offset;
    const QTextBlock b = d->findBlock(pos);
    if (!b.isValid())
        return printed.firstPage;
    double y = d->documentLayout()->blockBoundingRect(b).top();
    if (const QTextLayout* l = b.layout(); l && l->lineCount() > 0)
        y += l->lineForTextPosition(pos - b.position()).isValid()
                 ? l->lineForTextPosition(pos - b.position()).y()
                 : 0;
    const double pageHeight = m_sections.isEmpty() ? pageSizePixels(m_doc->page()).height() * layoutScale(d)
                                                   : printed.pageHeight;
    return int(y / pageHeight) + printed.firstPage;
}

int Paginator::partForPage(int page, int slot) const
{
    const int first = slot == 1 ? 2 : 8;
    if (page == 1 && m_doc->headerFooter(first))
        return first;
    return m_doc->headerFooter(slot) ? slot : 0;
}

