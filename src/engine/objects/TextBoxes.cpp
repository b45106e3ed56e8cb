#include "TextBoxes.h"

#include "engine/Document.h"
#include "engine/EngineProperties.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QTextCharFormat>
#include <QTextDocument>

namespace TextBoxes {

bool isTextBox(const QTextCharFormat& f)
{
    return f.objectType() == EngineObject::FixedImage && f.hasProperty(EngineProperty::TextBoxHtml);
}

std::unique_ptr<QTextDocument> layOut(const QString& html, double widthPx)
{
    // The body's own resolution, so that the box breaks its lines as the body would.
    static QImage device(1, 1, QImage::Format_RGB32);
    device.setDotsPerMeterX(qRound(96 / 0.0254));
    device.setDotsPerMeterY(qRound(96 / 0.0254));
    auto d = std::make_unique<QTextDocument>();
    d->documentLayout()->setPaintDevice(&device);
    d->setDocumentMargin(0);
    d->setHtml(html);
    d->setTextWidth(qMax(1.0, widthPx));
    return d;
}

double heightOf(const QString& html, double widthPx)
{
    return layOut(html, widthPx)->size().height();
}

QString plainText(const QTextCharFormat& f)
{
    QTextDocument d;
    d.setHtml(f.stringProperty(EngineProperty::TextBoxHtml));
    return d.toPlainText().replace(QLatin1Char('\n'), QChar::LineSeparator);
}

void paint(QPainter* p, const QRectF& rect, const QTextCharFormat& f)
{
    const double padX = Document::twipsToPixels(f.intProperty(EngineProperty::TextBoxPaddingX));
    const double padY = Document::twipsToPixels(f.intProperty(EngineProperty::TextBoxPaddingY));
    const std::unique_ptr<QTextDocument> d = layOut(f.stringProperty(EngineProperty::TextBoxHtml),
                                                    rect.width() - 2 * padX);
    p->save();
    if (const int line = f.intProperty(EngineProperty::TextBoxLine); line > 0) {
        p->setPen(QPen(Qt::black, Document::twipsToPixels(line)));
        p->setBrush(Qt::NoBrush);
        p->drawRect(rect);
    }
    p->translate(rect.left() + padX, rect.top() + padY);
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.palette.setColor(QPalette::Text, Qt::black);
    d->documentLayout()->draw(p, ctx);
    p->restore();
}

} // namespace TextBoxes
