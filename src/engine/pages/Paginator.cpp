#include "Paginator.h"

#include "BlockBand.h"
#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "engine/objects/Images.h"
#include "FirstSpacing.h"
#include "SoftBreaks.h"
#include "engine/objects/PageNumberObject.h"
#include "PageEstimate.h"
#include "PaginatedCopy.h"
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
// Splits the paragraph at the cursor; a page break before it stays with the first half.
void insertParagraph(QTextCursor& c)
{
    QTextBlockFormat f = c.blockFormat();
    f.setPageBreakPolicy(f.pageBreakPolicy() & ~QTextFormat::PageBreak_AlwaysBefore);
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
    watchParts();
}

Paginator::Paginator(Document* doc, Still still) : QObject(nullptr), m_doc(doc), m_takesBody(still == PaintingCopy)
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
    if (g == m_laidOut)
        return;
    invalidate();
}

PageGeometry Paginator::bodyGeometry(const Document& doc)
{
    PageGeometry g = doc.page();
    const double textWidth = Document::twipsToPixels(g.width - g.marginL - g.marginR);
    auto height = [&](int part) -> int {
        QTextDocument* d = doc.headerFooter(part);
        if (!d)
            return 0;
        if (!qFuzzyCompare(d->textWidth(), textWidth))
            d->setTextWidth(qMax(10.0, textWidth));
        return qCeil(Document::pixelsToTwips(d->size().height()));
    };
    const int header = qMax(height(1), height(2));
    const int footer = qMax(height(4), height(8));
    if (header > 0)
        g.marginT = qMax(g.marginT, doc.headerDistance() + header);
    if (footer > 0)
        g.marginB = qMax(g.marginB, doc.footerDistance() + footer);
    // Whatever the parts hold, a line of body must still fit on the page.
    const int room = g.height - 720;
    if (g.marginT + g.marginB > room) {
        g.marginT = qMin(g.marginT, qMax(doc.page().marginT, room / 2));
        g.marginB = qMin(g.marginB, qMax(doc.page().marginB, room - g.marginT));
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
        QTextFrame* f = QTextCursor(b).currentFrame();
        while (f && f->parentFrame() && f->parentFrame() != d->rootFrame())
            f = f->parentFrame();
        const double top = f && f != d->rootFrame() ? layout->frameBoundingRect(f).top() : layout->blockBoundingRect(b).top();
        if (top < last)
            return true;
        last = top;
    }
    return d->pageCount() < 1;
}

void Paginator::keepGlyphs(QTextDocument* copy)
{
    // Qt drops a paragraph's shaped glyphs once it is laid out and shapes its text again
    // to draw it. A copy of a letter's length keeps them (a few bytes a character).
    if (copy->characterCount() > 100000)
        return;
    for (QTextBlock b = copy->begin(); b.isValid(); b = b.next())
        b.layout()->setCacheEnabled(true);
}

int Paginator::layOutForPrint(QTextDocument* copy, const PageGeometry& g, int dpi)
{
    const int* at = std::find(std::begin(PrintDpis), std::end(PrintDpis), dpi);
    if (at == std::end(PrintDpis))
        at = std::begin(PrintDpis);
    // A copy estimated too long for a resolution starts at a coarser one, so that it is
    // laid out once (each layout of a long copy costs as much as the printing).
    at = std::max(at, std::find(std::begin(PrintDpis), std::end(PrintDpis), printDpiFor(copy, g)));
    SoftBreaks::split(copy);
    // Office programs' paragraph spacing does not depend on the resolution: added once.
    PaginatedCopy::addSpacing(copy);
    for (bool again = false;; ++at, again = true) {
        if (again)
            PaginatedCopy::scaleIndents(copy, 1 / layoutScale(copy)); // back to pixels
        copy->documentLayout()->setPaintDevice(printDevice(*at));
        // Before anything lays the copy out: objects keep the size they were laid out with.
        Images::installHandlers(copy);
        PaginatedCopy::scaleIndents(copy, layoutScale(copy));
        FirstSpacing::reserve(copy);
        keepGlyphs(copy);
        paginate(copy, g);
        if (at + 1 == std::end(PrintDpis) || !layoutWrapped(copy)) {
            FirstSpacing::apply(copy);
            return *at;
        }
    }
}

int Paginator::printDpiFor(const QTextDocument* copy, const PageGeometry& g)
{
    const double length = PageEstimate::pages(copy, g) * pageSizePixels(g).height() / 96 * WrapMargin;
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
        // Paragraphs after the first of a page must not take its break along.
        const QStringList paragraphs = pages.at(i).split(QLatin1Char('\n'));
        for (int p = 0; p < paragraphs.size(); ++p) {
            if (p > 0)
                insertParagraph(c);
            if (!paragraphs.at(p).isEmpty())
                c.insertText(paragraphs.at(p));
        }
    }
}

void Paginator::onContentsChange(int pos, int removed, int added)
{
    // A paginated copy that is up to date follows the edit; anything else is rebuilt,
    // and so is an edit of the first paragraph, whose spacing the copy lays out its own way.
    const QTextBlock first = m_doc->body()->begin();
    const bool firstSpacing = pos <= first.length() && first.blockFormat().topMargin() > 0;
    if (m_dirty || !m_copy || !m_copyMirrors || firstSpacing
        || !PaginatedCopy::mirror(m_doc->body(), m_copy, pos, removed, added, layoutScale(m_copy)))
        invalidate();
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
    return m_copy;
}

void Paginator::ensureLayout()
{
    if (!m_dirty)
        return;
    m_dirty = false;
    m_laidOut = bodyGeometry(*m_doc);
    if (m_takesBody && m_copy)
        return; // laid out for print already
    QTextDocument* d = m_doc->body();
    if (m_takesBody) {
        m_copy = d;
    } else {
        delete m_copy;
        m_copy = d->clone(this);
    }
    holdLayout(m_copy);
    ++m_rebuilds;
    m_copy->setUndoRedoEnabled(false);
    // Form feeds become paragraphs in the copy: positions differ from then on.
    m_copyMirrors = !d->toPlainText().contains(QChar(12));
    breakAtFormFeeds(m_copy);
    m_printDpi = layOutForPrint(m_copy, bodyGeometry(*m_doc), m_printDpi);
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

QList<Paginator::Decoration> Paginator::decorationsOf(int page)
{
    // Only the blocks of this page are looked at, so painting a page of a long
    // document costs what that page holds.
    QList<Decoration> out;
    QTextDocument* d = layoutDocument();
    QAbstractTextDocumentLayout* layout = d->documentLayout();
    const double h = pageSizePixels(m_doc->page()).height() * layoutScale(d);
    const double top = (page - 1) * h, bottom = page * h;
    BlockBand::forEach(d, top, bottom, [&](const QTextBlock& b) {
        const QRectF r = layout->blockBoundingRect(b);
        if (r.bottom() <= top || r.top() >= bottom)
            return true;
        if (ParagraphFrames::hasFrame(b.blockFormat()))
            out.append({b.position(), false});
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (f.charFormat().objectType() != EngineObject::FixedImage)
                continue;
            for (int i = 0; i < f.length(); ++i)
                if (pageOfPosition(f.position() + i) == page)
                    out.append({f.position() + i, true});
        }
        return true;
    });
    return out;
}

int Paginator::pageCount()
{
    return qMax(1, layoutDocument()->pageCount());
}

int Paginator::pageOfPosition(int pos)
{
    QTextDocument* d = m_dirty ? layoutDocument() : m_copy;
    const QTextBlock b = d->findBlock(pos);
    if (!b.isValid())
        return 1;
    double y = d->documentLayout()->blockBoundingRect(b).top();
    if (const QTextLayout* l = b.layout(); l && l->lineCount() > 0)
        y += l->lineForTextPosition(pos - b.position()).isValid()
                 ? l->lineForTextPosition(pos - b.position()).y()
                 : 0;
    return int(y / (pageSizePixels(m_doc->page()).height() * layoutScale(d))) + 1;
}

int Paginator::partForPage(int page, int slot) const
{
    const int first = slot == 1 ? 2 : 8;
    if (page == 1 && m_doc->headerFooter(first))
        return first;
    return m_doc->headerFooter(slot) ? slot : 0;
}

QRectF Paginator::partRect(int part, int)
{
    const PageGeometry& g = m_doc->page();
    QTextDocument* d = m_doc->headerFooter(part);
    const double w = Document::twipsToPixels(g.width - g.marginL - g.marginR);
    // Parts share the body's text width, whatever an editor set before.
    if (d && !qFuzzyCompare(d->textWidth(), w))
        d->setTextWidth(w);
    const double h = d ? d->size().height() : 0;
    const double x = Document::twipsToPixels(g.marginL);
    if (part == 1 || part == 2)
        return {x, Document::twipsToPixels(m_doc->headerDistance()), w, h};
    return {x, Document::twipsToPixels(g.height - m_doc->footerDistance()) - h, w, h};
}

void Paginator::paintPage(QPainter* p, int page, int layers)
{
    ensureLayout();
    PageNumberObject::fitDigits(layoutDocument(), pageCount());
    if (layers & HeaderFooter)
        paintHeaderFooter(p, page);
    if (layers & Body) {
        QTextDocument* d = layoutDocument();
        p->save();
        const QRectF sheet = enterSheet(p, d, page);
        p->setClipRect(sheet, Qt::IntersectClip);
        QAbstractTextDocumentLayout::PaintContext ctx;
        ctx.clip = sheet;
        ctx.palette.setColor(QPalette::Text, Qt::black);
        d->documentLayout()->draw(p, ctx);
        p->restore();
    }
    if (layers & Decorations) {
        paintDecorations(p, page);
        QTextDocument* d = layoutDocument();
        const double s = layoutScale(d);
        p->save();
        const QRectF sheet = enterSheet(p, d, page);
        // Found by bisection: Qt's hit test walks the document from its start.
        const QTextBlock from = BlockBand::firstReaching(d, sheet.top());
        TabLeaders::paint(p, d, sheet, s, from);
        ParagraphFrames::paintRules(p, d, sheet, s, from);
        p->restore();
    }
}

QRectF Paginator::enterSheet(QPainter* p, QTextDocument* d, int page) const
{
    const QSizeF size = pageSizePixels(m_doc->page());
    const double s = layoutScale(d);
    p->scale(1 / s, 1 / s);
    const QRectF sheet(0, (page - 1) * size.height() * s, size.width() * s, size.height() * s);
    p->translate(0, -sheet.top());
    return sheet;
}

void Paginator::paintHeaderFooter(QPainter* p, int page)
{
    const int pages = pageCount();
    PageNumberObject::Scope scope(page, pages);
    for (int slot : {1, 4}) {
        const int part = partForPage(page, slot);
        if (!part)
            continue;
        QTextDocument* d = m_doc->headerFooter(part);
        PageNumberObject::install(d);
        Images::installHandlers(d);
        // The part is laid out anew for a page whose number has other digits; an editor
        // showing it must not hear of that, or painting the pages would repaint it.
        const QSignalBlocker quiet(d->documentLayout());
        PageNumberObject::fitDigits(d, pages, page);
        const QRectF r = partRect(part, page);
        p->save();
        p->translate(r.topLeft());
        QAbstractTextDocumentLayout::PaintContext ctx;
        ctx.clip = QRectF(QPointF(0, 0), r.size());
        ctx.palette.setColor(QPalette::Text, Qt::black);
        d->documentLayout()->draw(p, ctx);
        p->restore();
        // Pictures and text boxes anchored here stand where the page puts them (a logo).
        for (QTextBlock b = d->begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it)
                if (it.fragment().charFormat().objectType() == EngineObject::FixedImage)
                    for (int i = 0; i < it.fragment().length(); ++i)
                        Images::paintFixed(p, d, it.fragment().position() + i);
    }
}

void Paginator::paintDecorations(QPainter* p, int page)
{
    const QList<Decoration> decorations = decorationsOf(page);
    if (decorations.isEmpty())
        return;
    QTextDocument* d = layoutDocument();
    const double s = layoutScale(d);
    const PageGeometry& g = m_doc->page();
    const QSizeF size = pageSizePixels(g) * s;
    // Frames are drawn in the body's layout units, images in page pixels.
    const QRectF content(0, (page - 1) * size.height() + Document::twipsToPixels(g.marginT) * s, size.width(),
                         size.height() - Document::twipsToPixels(g.marginT + g.marginB) * s);
    for (const Decoration& dec : decorations) {
        if (dec.image) {
            Images::paintFixed(p, d, dec.position);
        } else {
            p->save();
            p->scale(1 / s, 1 / s);
            p->translate(0, -(page - 1) * size.height());
            ParagraphFrames::paint(p, d, d->findBlock(dec.position), content, s);
            p->restore();
        }
    }
}

QImage Paginator::renderPage(int page, double dpi)
{
    const QSizeF size = pageSizePixels(m_doc->page()) * (dpi / 96.0);
    QImage img(size.toSize(), QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(dpi / 96.0, dpi / 96.0);
    paintPage(&p, page);
    return img;
}

QPicture Paginator::pagePicture(int page)
{
    QPicture pic;
    QPainter p(&pic);
    paintPage(&p, page);
    p.end();
    return pic;
}
