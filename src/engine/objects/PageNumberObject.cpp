#include "PageNumberObject.h"

#include "engine/EngineProperties.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextLayout>

thread_local int PageNumberObject::s_page = 0;
thread_local int PageNumberObject::s_pages = 0;

PageNumberObject::Scope::Scope(int page, int pages) : m_previous(s_page), m_previousPages(s_pages)
{
    s_page = page;
    s_pages = pages;
}
PageNumberObject::Scope::~Scope()
{
    s_page = m_previous;
    s_pages = m_previousPages;
}
int PageNumberObject::forcedPage() { return s_page; }

namespace {
const char* const kDigits = "qx_pageNumberDigits";
const char* const kPageDigits = "qx_pageNumberPageDigits";
const char* const kFirstPage = "qx_pageNumberFirstPage";
const char* const kPages = "qx_pageNumberPages";

int digitsOf(const QTextDocument* doc, const char* property = kDigits)
{
    const QVariant v = doc->property(property);
    return v.isValid() ? v.toInt() : 1;
}

int digitsOfNumber(int n) { return int(QString::number(qMax(1, n)).size()); }

bool holdsNumber(const QTextBlock& b)
{
    for (auto it = b.begin(); !it.atEnd(); ++it) {
        const int type = it.fragment().charFormat().objectType();
        if (type == EngineObject::PageNumber || type == EngineObject::PageCount)
            return true;
    }
    return false;
}
} // namespace

void PageNumberObject::fitDigits(QTextDocument* doc, int pages, int page)
{
    const int digits = digitsOfNumber(pages);
    // A header or footer is drawn for one page at a time and can take that page's
    // digits; elsewhere a number takes the room of the largest one.
    const int pageDigits = page > 0 ? digitsOfNumber(page) : digits;
    if (!doc || (digitsOf(doc) == digits && digitsOf(doc, kPageDigits) == pageDigits))
        return;
    doc->setProperty(kDigits, digits);
    doc->setProperty(kPageDigits, pageDigits);
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
        if (holdsNumber(b))
            doc->markContentsDirty(b.position(), b.length());
}

void PageNumberObject::setNumbering(QTextDocument* doc, int firstPage, int pages)
{
    doc->setProperty(kFirstPage, firstPage);
    doc->setProperty(kPages, pages);
}

void PageNumberObject::install(QTextDocument* doc)
{
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    if (layout->handlerForObject(EngineObject::PageNumber))
        return;
    auto* handler = new PageNumberObject(layout);
    layout->registerHandler(EngineObject::PageNumber, handler);
    layout->registerHandler(EngineObject::PageCount, handler);
}

QSizeF PageNumberObject::intrinsicSize(QTextDocument* doc, int, const QTextFormat& format)
{
    // The width is fixed at layout time: room for the digits the painter of the pages
    // asked for (fitDigits).
    const QFontMetricsF fm(format.toCharFormat().font().resolve(doc->defaultFont()), doc->documentLayout()->paintDevice());
    // Inline objects sit on the baseline: their height counts as ascent.
    const int digits = digitsOf(doc, format.objectType() == EngineObject::PageNumber ? kPageDigits : kDigits);
    return {fm.horizontalAdvance(QString(digits, QLatin1Char('0'))), fm.ascent()};
}

void PageNumberObject::drawObject(QPainter* painter, const QRectF& rect, QTextDocument* doc, int,
                                  const QTextFormat& format)
{
    const double h = doc->pageSize().height();
    int page = s_page;
    const QVariant first = doc->property(kFirstPage), pages = doc->property(kPages);
    if (format.objectType() == EngineObject::PageCount)
        page = s_pages > 0 ? s_pages : pages.isValid() ? pages.toInt() : h > 0 ? doc->pageCount() : 1;
    else if (page <= 0)
        page = h > 0 ? int(rect.top() / h) + (first.isValid() ? first.toInt() : 1) : 1;
    const QTextCharFormat cf = format.toCharFormat();
    // Laid out like the text around it, so that the size matches on every device.
    QTextLayout layout(QString::number(page), cf.font().resolve(doc->defaultFont()),
                       doc->documentLayout()->paintDevice());
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (!line.isValid())
        return;
    painter->save();
    if (cf.foreground().style() != Qt::NoBrush)
        painter->setPen(cf.foreground().color());
    layout.draw(painter, QPointF(rect.left(), rect.bottom() - line.ascent()));
    painter->restore();
}
