// Paginator: painting a page and finding what it shows (the sections' copies, headers
// and footers, fixed images, paragraph frames).
#include "Paginator.h"

#include "BlockBand.h"
#include "PlainPages.h"
#include "engine/EngineProperties.h"
#include "engine/objects/Images.h"
#include "engine/objects/PageNumberObject.h"
#include "engine/objects/ParagraphFrames.h"
#include "engine/objects/TabLeaders.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace {
// Page of `pos` within the laid-out copy `d` whose pages are `pageHeight` units high.
int localPageOf(QTextDocument* d, int pos, double pageHeight)
{
    const QTextBlock b = d->findBlock(pos);
    if (!b.isValid())
        return 1;
    double y = d->documentLayout()->blockBoundingRect(b).top();
    if (const QTextLayout* l = b.layout(); l && l->lineCount() > 0) {
        const QTextLine line = l->lineForTextPosition(pos - b.position());
        y += line.isValid() ? line.y() : 0;
    }
    return int(y / pageHeight) + 1;
}

// Whether any format of `d` asks for what is painted over the text: paragraph frames and
// rules, tab leaders, fixed pictures. Formats are shared, so the format table is short
// (a letter has a few dozen) and spares three walks over the page's paragraphs.
bool decorated(const QTextDocument* d)
{
    for (const QTextFormat& f : d->allFormats()) {
        if (f.objectType() == EngineObject::FixedImage)
            return true;
        if (!f.isBlockFormat())
            continue;
        const QTextBlockFormat bf = f.toBlockFormat();
        if (ParagraphFrames::hasFrame(bf) || bf.hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth))
            return true;
        if (bf.hasProperty(QTextFormat::TabPositions))
            for (const QTextOption::Tab& t : bf.tabPositions())
                if (!TabLeaders::of(t).isNull())
                    return true;
    }
    return false;
}
} // namespace

bool Paginator::hasSections()
{
    ensureLayout();
    return !m_sections.isEmpty();
}

int Paginator::pageCount()
{
    ensureLayout();
    if (m_plain)
        return m_plain->pageCount();
    return hasSections() ? SectionCopies::pageCount(m_sections) : shownPageCount();
}

int Paginator::shownPageCount()
{
    if (hasSections())
        return SectionCopies::pageCount(m_sections);
    return qMax(1, layoutDocument()->pageCount());
}

namespace {
Paginator::Printed printedBy(const SectionCopies::Copy& c)
{
    const PageGeometry& g = c.section.format.page;
    return {c.doc.get(), c.section.start, c.firstPage,
            Paginator::pageSizePixels(g).height() * Paginator::layoutScale(c.doc.get()), c.end, c.pages, g};
}
} // namespace

Paginator::Printed Paginator::printedAt(int pos)
{
    if (hasSections())
        return printedBy(SectionCopies::ofPosition(m_sections, pos));
    QTextDocument* d = layoutDocument();
    // Not counted: counting makes Qt lay out the rest of a long copy after each edit.
    return {d, 0, 1, pageSizePixels(m_doc->page()).height() * layoutScale(d), m_doc->body()->characterCount(), 0,
            m_doc->page()};
}

Paginator::Printed Paginator::printedOn(int page)
{
    if (hasSections())
        return printedBy(SectionCopies::ofPage(m_sections, page));
    return printedAt(0);
}

QList<Paginator::Printed> Paginator::printedCopies()
{
    if (!hasSections()) {
        Printed one = printedAt(0);
        one.pages = shownPageCount();
        return {one};
    }
    QList<Printed> out;
    for (const SectionCopies::Copy& c : std::as_const(m_sections))
        out.append(printedBy(c));
    return out;
}

PageGeometry Paginator::pageGeometry(int page)
{
    return sheetOf(page).page;
}

Paginator::Sheet Paginator::sheetOf(int page)
{
    ensureLayout();
    Sheet s;
    s.number = page;
    s.local = page;
    if (m_sections.isEmpty()) {
        s.d = m_copy;
        s.page = m_doc->page();
        s.headerDistance = m_doc->headerDistance();
        s.footerDistance = m_doc->footerDistance();
        for (int slot : {1, 4}) {
            const int part = partForPage(page, slot);
            s.parts[slot == 1 ? 0 : 1] = part ? m_doc->headerFooter(part) : nullptr;
        }
        return s;
    }
    const SectionCopies::Copy& c = SectionCopies::ofPage(m_sections, page);
    s.d = c.doc.get();
    s.local = page - c.firstPage + 1;
    const SectionFormat& f = c.section.format;
    s.page = f.page;
    s.headerDistance = f.headerDistance;
    s.footerDistance = f.footerDistance;
    for (int slot : {1, 4})
        s.parts[slot == 1 ? 0 : 1] = Sections::partFor(*m_doc, m_sectionList, c.index, slot, s.local == 1);
    return s;
}

QList<Paginator::Decoration> Paginator::decorationsOf(const Sheet& s)
{
    // Only the blocks of this page are looked at, so painting a page of a long
    // document costs what that page holds.
    QList<Decoration> out;
    QTextDocument* d = s.d;
    QAbstractTextDocumentLayout* layout = d->documentLayout();
    const double h = pageSizePixels(s.page).height() * layoutScale(d);
    const double top = (s.local - 1) * h, bottom = s.local * h;
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
                if (localPageOf(d, f.position() + i, h) == s.local)
                    out.append({f.position() + i, true});
        }
        return true;
    });
    return out;
}

Paginator::PagePart Paginator::partOn(int page, int slot)
{
    ensureLayout();
    PagePart out;
    if (m_sections.isEmpty()) {
        out.kind = partForPage(page, slot);
        out.d = out.kind ? m_doc->headerFooter(out.kind) : nullptr;
        return out;
    }
    const SectionCopies::Copy& c = SectionCopies::ofPage(m_sections, page);
    out.d = Sections::partFor(*m_doc, m_sectionList, c.index, slot, page == c.firstPage, &out.kind);
    return out;
}

QRectF Paginator::partRect(QTextDocument* d, int page, bool header)
{
    return partRect(sheetOf(page), d, header);
}

QRectF Paginator::partRect(int part, int page)
{
    return partRect(m_doc->headerFooter(part), page, part == 1 || part == 2);
}

QRectF Paginator::partRect(const Sheet& s, QTextDocument* d, bool header)
{
    const PageGeometry& g = s.page;
    const double w = Document::twipsToPixels(g.width - g.marginL - g.marginR);
    // Parts share the body's text width, whatever an editor set before.
    if (d && !qFuzzyCompare(d->textWidth(), w))
        d->setTextWidth(w);
    const double h = d ? d->size().height() : 0;
    const double x = Document::twipsToPixels(g.marginL);
    if (header)
        return {x, Document::twipsToPixels(s.headerDistance), w, h};
    return {x, Document::twipsToPixels(g.height - s.footerDistance) - h, w, h};
}

void Paginator::paintPage(QPainter* p, int page, int layers)
{
    ensureLayout();
    const Sheet s = sheetOf(page);
    if (m_plain) {
        // Nothing in a plain body is decorated.
        if (layers & HeaderFooter)
            paintHeaderFooter(p, s);
        if (layers & Body)
            m_plain->paint(p, page);
        return;
    }
    PageNumberObject::fitDigits(s.d, pageCount());
    if (layers & HeaderFooter)
        paintHeaderFooter(p, s);
    if (layers & Body) {
        p->save();
        const QRectF sheet = enterSheet(p, s);
        p->setClipRect(sheet, Qt::IntersectClip);
        QAbstractTextDocumentLayout::PaintContext ctx;
        ctx.clip = sheet;
        ctx.palette.setColor(QPalette::Text, Qt::black);
        s.d->documentLayout()->draw(p, ctx);
        p->restore();
    }
    if ((layers & Decorations) && decorated(s.d)) {
        paintDecorations(p, s);
        const double scale = layoutScale(s.d);
        p->save();
        const QRectF sheet = enterSheet(p, s);
        // Found by bisection: Qt's hit test walks the document from its start.
        const QTextBlock from = BlockBand::firstReaching(s.d, sheet.top());
        TabLeaders::paint(p, s.d, sheet, scale, from);
        ParagraphFrames::paintRules(p, s.d, sheet, scale, from);
        p->restore();
    }
}

QRectF Paginator::enterSheet(QPainter* p, const Sheet& s)
{
    const QSizeF size = pageSizePixels(s.page);
    const double scale = layoutScale(s.d);
    p->scale(1 / scale, 1 / scale);
    const QRectF sheet(0, (s.local - 1) * size.height() * scale, size.width() * scale, size.height() * scale);
    p->translate(0, -sheet.top());
    return sheet;
}

void Paginator::paintHeaderFooter(QPainter* p, const Sheet& s)
{
    const int pages = pageCount();
    PageNumberObject::Scope scope(s.number, pages);
    for (int i = 0; i < 2; ++i) {
        QTextDocument* d = s.parts[i];
        if (!d)
            continue;
        PageNumberObject::install(d);
        Images::installHandlers(d);
        // The part is laid out anew for a page whose number has other digits; an editor
        // showing it must not hear of that, or painting the pages would repaint it.
        const QSignalBlocker quiet(d->documentLayout());
        PageNumberObject::fitDigits(d, pages, s.number);
        const QRectF r = partRect(s, d, i == 0);
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
                    for (int k = 0; k < it.fragment().length(); ++k)
                        Images::paintFixed(p, d, it.fragment().position() + k);
    }
}

void Paginator::paintDecorations(QPainter* p, const Sheet& s)
{
    const QList<Decoration> decorations = decorationsOf(s);
    if (decorations.isEmpty())
        return;
    QTextDocument* d = s.d;
    const double scale = layoutScale(d);
    const PageGeometry& g = s.page;
    const QSizeF size = pageSizePixels(g) * scale;
    // Frames are drawn in the body's layout units, images in page pixels.
    const QRectF content(0, (s.local - 1) * size.height() + Document::twipsToPixels(g.marginT) * scale, size.width(),
                         size.height() - Document::twipsToPixels(g.marginT + g.marginB) * scale);
    for (const Decoration& dec : decorations) {
        if (dec.image) {
            Images::paintFixed(p, d, dec.position);
        } else {
            p->save();
            p->scale(1 / scale, 1 / scale);
            p->translate(0, -(s.local - 1) * size.height());
            ParagraphFrames::paint(p, d, d->findBlock(dec.position), content, scale);
            p->restore();
        }
    }
}

QImage Paginator::renderPage(int page, double dpi)
{
    const QSizeF size = pageSizePixels(pageGeometry(page)) * (dpi / 96.0);
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
