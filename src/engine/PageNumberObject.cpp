#include "PageNumberObject.h"

#include "engine/EngineProperties.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextLayout>

int PageNumberObject::s_page = 0;

PageNumberObject::Scope::Scope(int page) : m_previous(s_page) { s_page = page; }
PageNumberObject::Scope::~Scope() { s_page = m_previous; }
int PageNumberObject::forcedPage() { return s_page; }

void PageNumberObject::install(QTextDocument* doc)
{
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    if (layout->handlerForObject(EngineObject::PageNumber))
        return;
    layout->registerHandler(EngineObject::PageNumber, new PageNumberObject(layout));
}

QSizeF PageNumberObject::intrinsicSize(QTextDocument* doc, int, const QTextFormat& format)
{
    // The width is fixed at layout time, so reserve room for four digits.
    const QFontMetricsF fm(format.toCharFormat().font().resolve(doc->defaultFont()), doc->documentLayout()->paintDevice());
    // Inline objects sit on the baseline: their height counts as ascent.
    return {fm.horizontalAdvance(QStringLiteral("0000")), fm.ascent()};
}

void PageNumberObject::drawObject(QPainter* painter, const QRectF& rect, QTextDocument* doc, int,
                                  const QTextFormat& format)
{
    int page = s_page;
    if (page <= 0) {
        const double h = doc->pageSize().height();
        page = h > 0 ? int(rect.top() / h) + 1 : 1;
    }
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
