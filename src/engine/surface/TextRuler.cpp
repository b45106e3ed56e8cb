#include "TextRuler.h"

#include "engine/Document.h"
#include "engine/objects/TabStops.h"
#include "SurfaceFollower.h"
#include "TextControl.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>

namespace {
constexpr double kTwipsPerCm = 567.0;
constexpr int kSnapTwips = 142; // a quarter centimetre
} // namespace

TextRuler::TextRuler(QWidget* parent)
    : QWidget(parent), m_follower(new SurfaceFollower(this, [this] { update(); }))
{
    setObjectName(QStringLiteral("TXRuler1"));
    setToolTip(QStringLiteral("Klicken setzt einen linksbündigen Tabstopp; ziehen verschiebt ihn, "
                              "aus dem Lineal ziehen entfernt ihn."));
    setMouseTracking(false);
}

QSize TextRuler::sizeHint() const { return {400, 24}; }

void TextRuler::setTextControl(TextControl* surface)
{
    m_follower->follow(surface);
    if (surface) {
        auto up = [this] { m_follower->schedule(); };
        m_follower->keep(connect(surface->horizontalScrollBar(), &QScrollBar::valueChanged, this, up));
        m_follower->keep(connect(surface, &TextControl::ViewChanged, this, up));
    }
}

TextControl* TextRuler::textControl() const { return m_follower->surface(); }
TextControl* TextRuler::surface() const { return m_follower->surface(); }

double TextRuler::xForTwips(int twips) const
{
    if (!surface())
        return 0;
    const QPoint origin = mapFromGlobal(surface()->mapToGlobal(QPoint(surface()->textLeftX(), 0)));
    return origin.x() + twips * surface()->pixelsPerTwip();
}

int TextRuler::twipsForX(double x) const
{
    if (!surface())
        return 0;
    return qRound((x - xForTwips(0)) / surface()->pixelsPerTwip());
}

void TextRuler::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    if (!surface())
        return;
    // The page of the caret's section: sections have pages of their own.
    const PageGeometry page = surface()->caretPage();
    const int W = page.width;
    const int textW = W - page.marginL - page.marginR;
    const int h = height();
    const QRectF band(xForTwips(-page.marginL), 3, W * surface()->pixelsPerTwip(), h - 8);
    p.fillRect(band, QColor(0xc8, 0xc8, 0xc8));
    p.fillRect(QRectF(xForTwips(0), band.top(), textW * surface()->pixelsPerTwip(), band.height()),
               Qt::white);
    p.setPen(Qt::darkGray);
    p.drawRect(band);

    // Centimetre scale from the text's left edge, numbers every centimetre when they fit.
    const double perCm = kTwipsPerCm * surface()->pixelsPerTwip();
    QFont f = font();
    f.setPixelSize(9);
    p.setFont(f);
    const int every = perCm < 12 ? 5 : perCm < 22 ? 2 : 1;
    const int firstCm = -int(page.marginL / kTwipsPerCm);
    const int lastCm = int((W - page.marginL) / kTwipsPerCm);
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
    const double left = xForTwips(surface()->IndentL());
    const double first = xForTwips(surface()->IndentL() + surface()->IndentFL());
    const double right = xForTwips(textW - surface()->IndentR());
    p.setPen(Qt::black);
    p.setBrush(QColor(0xe0, 0xe0, 0xe0));
    p.drawPolygon(QPolygonF({{first - 4, 0}, {first + 4, 0}, {first, 5}}));
    p.drawPolygon(QPolygonF({{left - 4, double(h)}, {left + 4, double(h)}, {left, h - 5.0}}));
    p.drawPolygon(QPolygonF({{right - 4, double(h)}, {right + 4, double(h)}, {right, h - 5.0}}));

    // Tab stops by type: └ left, ┘ right, ┴ centre, ┴ with a dot decimal.
    p.setPen(QPen(Qt::black, 1.5));
    const double base = h - 5.0;
    for (const QTextOption::Tab& tab : TabStops::fromMargin(surface()->textCursor().blockFormat())) {
        const double x = xForTwips(TabStops::twips(tab));
        const int type = TabStops::typeCode(tab.type);
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
}

int TextRuler::tabAt(double x) const
{
    if (!surface())
        return 0;
    const auto tabs = TabStops::fromMargin(surface()->textCursor().blockFormat());
    for (int i = 0; i < tabs.size(); ++i)
        if (qAbs(xForTwips(TabStops::twips(tabs.at(i))) - x) <= 4)
            return i + 1;
    return 0;
}

void TextRuler::mousePressEvent(QMouseEvent* e)
{
    if (!surface() || e->button() != Qt::LeftButton)
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
    if (!surface() || e->button() != Qt::LeftButton)
        return;
    const double x = e->position().x();
    const PageGeometry page = surface()->caretPage();
    const int textW = page.width - page.marginL - page.marginR;
    int twips = qRound(double(twipsForX(x)) / kSnapTwips) * kSnapTwips;
    if (m_dragTab && m_dragged) {
        const bool off = e->position().y() < -10 || e->position().y() > height() + 10 || twips < 0;
        if (off) {
            surface()->removeTabStop(m_dragTab);
        } else {
            surface()->setTabCurrent(m_dragTab);
            surface()->setTabPos(qMin(twips, textW));
        }
    } else if (!m_dragTab && twips > 0 && twips <= textW) {
        surface()->addTabStop(twips, 1);
    }
    m_dragTab = 0;
    m_dragged = false;
    update();
    surface()->setFocus(Qt::OtherFocusReason);
}
