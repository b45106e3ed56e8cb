#include "TextRuler.h"

#include "engine/Document.h"
#include "engine/TextControl.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>

namespace {
constexpr double kTwipsPerCm = 567.0;
constexpr int kSnapTwips = 142; // a quarter centimetre
} // namespace

TextRuler::TextRuler(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TXRuler1"));
    setToolTip(QStringLiteral("Klicken setzt einen linksbündigen Tabstopp; ziehen verschiebt ihn, "
                              "aus dem Lineal ziehen entfernt ihn."));
    setMouseTracking(false);
}

QSize TextRuler::sizeHint() const { return {400, 24}; }

void TextRuler::setTextControl(TextControl* surface)
{
    for (const auto& c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    m_surface = surface;
    if (surface) {
        auto up = [this] { scheduleUpdate(); };
        m_connections << connect(surface, &TextControl::PosChange, this, up)
                      << connect(surface, &TextControl::Change, this, up)
                      << connect(surface->horizontalScrollBar(), &QScrollBar::valueChanged, this, up)
                      << connect(surface->doc(), &Document::pageChanged, this, up)
                      << connect(surface, &QObject::destroyed, this, [this] { setTextControl(nullptr); });
    }
    update();
}

void TextRuler::scheduleUpdate() { update(); }

double TextRuler::xForTwips(int twips) const
{
    if (!m_surface)
        return 0;
    const QPoint origin = mapFromGlobal(m_surface->mapToGlobal(QPoint(m_surface->textLeftX(), 0)));
    return origin.x() + twips * m_surface->pixelsPerTwip();
}

int TextRuler::twipsForX(double x) const
{
    if (!m_surface)
        return 0;
    return qRound((x - xForTwips(0)) / m_surface->pixelsPerTwip());
}

void TextRuler::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    if (!m_surface)
        return;
    const int W = m_surface->PageWidth();
    const int textW = W - m_surface->PageMarginL() - m_surface->PageMarginR();
    const int h = height();
    const QRectF band(xForTwips(-m_surface->PageMarginL()), 3, W * m_surface->pixelsPerTwip(), h - 8);
    p.fillRect(band, QColor(0xc8, 0xc8, 0xc8));
    p.fillRect(QRectF(xForTwips(0), band.top(), textW * m_surface->pixelsPerTwip(), band.height()),
               Qt::white);
    p.setPen(Qt::darkGray);
    p.drawRect(band);

    // Centimetre scale from the text's left edge, numbers every centimetre when they fit.
    const double perCm = kTwipsPerCm * m_surface->pixelsPerTwip();
    QFont f = font();
    f.setPixelSize(9);
    p.setFont(f);
    const int every = perCm < 12 ? 5 : perCm < 22 ? 2 : 1;
    const int firstCm = -int(m_surface->PageMarginL() / kTwipsPerCm);
    const int lastCm = int((W - m_surface->PageMarginL()) / kTwipsPerCm);
    for (int cm = firstCm; cm <= lastCm; ++cm) {
        const double x = xForTwips(qRound(cm * kTwipsPerCm));
        if (cm != 0 && cm % every == 0)
            p.drawText(QRectF(x - 10, band.top(), 20, band.height()), Qt::AlignCenter,
                       QString::number(qAbs(cm)));
        else
            p.drawLine(QPointF(x, band.center().y() - 2), QPointF(x, band.center().y() + 2));
        if (perCm >= 16) {
            const double xh = x + perCm / 2;
            p.drawLine(QPointF(xh, band.center().y() - 1), QPointF(xh, band.center().y() + 1));
        }
    }

    // Indents: first line on top, left indent below, right indent at the right.
    const double left = xForTwips(m_surface->IndentL());
    const double first = xForTwips(m_surface->IndentL() + m_surface->IndentFL());
    const double right = xForTwips(textW - m_surface->IndentR());
    p.setPen(Qt::black);
    p.setBrush(QColor(0xe0, 0xe0, 0xe0));
    p.drawPolygon(QPolygonF({{first - 4, 0}, {first + 4, 0}, {first, 5}}));
    p.drawPolygon(QPolygonF({{left - 4, double(h)}, {left + 4, double(h)}, {left, h - 5.0}}));
    p.drawPolygon(QPolygonF({{right - 4, double(h)}, {right + 4, double(h)}, {right, h - 5.0}}));

    // Tab stops by type: └ left, ┘ right, ┴ centre, ┴ with a dot decimal.
    p.setPen(QPen(Qt::black, 1.5));
    const int saved = m_surface->TabCurrent();
    const int count = m_surface->TabCount();
    const double base = h - 5.0;
    for (int i = 1; i <= count; ++i) {
        m_surface->setTabCurrent(i);
        const double x = xForTwips(m_surface->TabPos());
        const int type = m_surface->TabType();
        p.drawLine(QPointF(x, base - 6), QPointF(x, base));
        if (type == 1)
            p.drawLine(QPointF(x, base), QPointF(x + 5, base));
        else if (type == 2)
            p.drawLine(QPointF(x - 5, base), QPointF(x, base));
        else
            p.drawLine(QPointF(x - 4, base), QPointF(x + 4, base));
        if (type == 4)
            p.drawPoint(QPointF(x + 3, base - 3));
    }
    m_surface->setTabCurrent(saved);
}

int TextRuler::tabAt(double x) const
{
    if (!m_surface)
        return 0;
    const int saved = m_surface->TabCurrent();
    int found = 0;
    for (int i = 1; i <= m_surface->TabCount() && !found; ++i) {
        m_surface->setTabCurrent(i);
        if (qAbs(xForTwips(m_surface->TabPos()) - x) <= 4)
            found = i;
    }
    m_surface->setTabCurrent(saved);
    return found;
}

void TextRuler::mousePressEvent(QMouseEvent* e)
{
    if (!m_surface || e->button() != Qt::LeftButton)
        return;
    m_dragTab = tabAt(e->position().x());
    m_dragged = false;
}

void TextRuler::mouseMoveEvent(QMouseEvent* e)
{
    if (m_dragTab)
        m_dragged = true;
}

void TextRuler::mouseReleaseEvent(QMouseEvent* e)
{
    if (!m_surface || e->button() != Qt::LeftButton)
        return;
    const double x = e->position().x();
    const int textW = m_surface->PageWidth() - m_surface->PageMarginL() - m_surface->PageMarginR();
    int twips = qRound(double(twipsForX(x)) / kSnapTwips) * kSnapTwips;
    if (m_dragTab && m_dragged) {
        const bool off = e->position().y() < -10 || e->position().y() > height() + 10 || twips < 0;
        if (off) {
            m_surface->removeTabStop(m_dragTab);
        } else {
            m_surface->setTabCurrent(m_dragTab);
            m_surface->setTabPos(qMin(twips, textW));
        }
    } else if (!m_dragTab && twips > 0 && twips <= textW) {
        m_surface->addTabStop(twips, 1);
    }
    m_dragTab = 0;
    m_dragged = false;
    update();
    m_surface->setFocus(Qt::OtherFocusReason);
}
