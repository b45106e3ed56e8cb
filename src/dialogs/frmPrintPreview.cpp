#include "frmPrintPreview.h"

#include "PreviewRules.h"

#include "app/AppState.h"
#include "app/Prompter.h"
#include "app/WaitCursor.h"
#include "engine/pages/Paginator.h"
#include "engine/surface/TextControl.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>

namespace {
std::function<void()>& printSetupHook()
{
    static std::function<void()> f;
    return f;
}
} // namespace

// One page picture: paints its page through the paginator at the picture's size.
class frmPrintPreview::PagePicture : public QWidget {
public:
    PagePicture(frmPrintPreview* preview, int index, QWidget* parent)
        : QWidget(parent), m_preview(preview), m_index(index)
    {
        setObjectName(QStringLiteral("picPage%1").arg(index));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        TextControl* s = m_preview->m_surface;
        const int page = m_preview->m_current + m_index - 1;
        const int factor = m_preview->pictureFactor(m_index);
        if (!s || factor < 10 || page > s->CurrentPages())
            return;
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        const double scale = factor / 100.0 * logicalDpiX() / 96.0;
        p.save();
        p.scale(scale, scale);
        s->paginator()->paintPage(&p, page);
        p.restore();
        p.setPen(Qt::darkGray);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }

    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton)
            m_preview->picPage_MouseUp(m_index, e->position().toPoint(), e->modifiers());
    }

private:
    frmPrintPreview* m_preview;
    int m_index;
};

frmPrintPreview::frmPrintPreview(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPrintPreview"));
    setWindowTitle(QStringLiteral("Druckvorschau"));
    Frame1 = new QWidget(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* bar = new QHBoxLayout(Frame1);
    auto button = [this, bar](const char* name, const QString& caption, void (frmPrintPreview::*slot)()) {
        auto* b = new QPushButton(caption, Frame1);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        bar->addWidget(b);
        return b;
    };
    btnClose = button("btnClose", QStringLiteral("&Schließen"), &frmPrintPreview::btnClose_Click);
    btnZoomOut = button("btnZoomOut", QStringLiteral("Ver&kleinern"), &frmPrintPreview::btnZoomOut_Click);
    btnZoomIn = button("btnZoomIn", QStringLiteral("Ver&größern"), &frmPrintPreview::btnZoomIn_Click);
    btnPages = button("btnPages", QStringLiteral("&Zwei Seiten"), &frmPrintPreview::btnPages_Click);
    btnPrevious = button("btnPrevious", QStringLiteral("&Vorherige"), &frmPrintPreview::btnPrevious_Click);
    btnNext = button("btnNext", QStringLiteral("&Nächste"), &frmPrintPreview::btnNext_Click);
    btnPrint = button("btnPrint", QStringLiteral("&Drucken"), &frmPrintPreview::btnPrint_Click);
    lblPage = new QLabel(Frame1);
    lblPage->setObjectName(QStringLiteral("lblPage"));
    bar->addSpacing(12);
    bar->addWidget(lblPage);
    bar->addStretch();

    picMain = new QWidget(this);
    picMain->setObjectName(QStringLiteral("picMain"));
    picMain->setAutoFillBackground(true);
    QPalette pal = picMain->palette();
    pal.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    picMain->setPalette(pal);
    picPage1 = new PagePicture(this, 1, picMain);
    picPage2 = new PagePicture(this, 2, picMain);
    scrollH = new QScrollBar(Qt::Horizontal, this);
    scrollH->setObjectName(QStringLiteral("scrollH"));
    scrollV = new QScrollBar(Qt::Vertical, this);
    scrollV->setObjectName(QStringLiteral("scrollV"));
    connect(scrollH, &QScrollBar::valueChanged, this, &frmPrintPreview::scroll_Change);
    connect(scrollV, &QScrollBar::valueChanged, this, &frmPrintPreview::scroll_Change);
    resize(900, 700);
}

frmPrintPreview::~frmPrintPreview() = default;

void frmPrintPreview::setPrintSetup(std::function<void()> printSetup)
{
    printSetupHook() = std::move(printSetup);
}

void frmPrintPreview::ShowPreview(TextControl* tx, QWidget* parent)
{
    if (!tx)
        return;
    frmPrintPreview dlg(parent);
    dlg.setSurface(tx);
    prompter().exec(&dlg);
}

void frmPrintPreview::setSurface(TextControl* tx)
{
    m_surface = tx;
    m_current = 1;
    m_savedZoom = tx->ZoomFactor();
    m_zoom = 0;
    m_twoPages = false;
    picPage2->hide();
    scrollH->hide();
    scrollV->hide();
    updateControls();
    Form_Resize();
}

double frmPrintPreview::twipsPerPixel() const { return 1440.0 / logicalDpiX(); }

QRect frmPrintPreview::pixels(const QRectF& t) const
{
    const double k = twipsPerPixel();
    return QRect(qRound(t.x() / k), qRound(t.y() / k), qRound(t.width() / k), qRound(t.height() / k));
}

int frmPrintPreview::pictureFactor(int picture) const
{
    const QWidget* pic = picture == 1 ? picPage1 : picPage2;
    return PreviewRules::fitFactor(QSizeF(pic->size()) * twipsPerPixel(),
                                   QSizeF(m_pageWidth, m_pageHeight));
}

void frmPrintPreview::updateControls()
{
    const int pages = m_surface ? m_surface->CurrentPages() : 0;
    // Sections have pages of their own size: the picture takes the current page's.
    if (m_surface && pages > 0) {
        const PageGeometry g = m_surface->paginator()->pageGeometry(qBound(1, m_current, pages));
        m_pageWidth = g.width;
        m_pageHeight = g.height;
    }
    const PreviewRules::Controls c = PreviewRules::controls(m_current, pages, m_zoom);
    btnNext->setEnabled(c.next);
    btnPrevious->setEnabled(c.previous);
    btnPages->setEnabled(c.pages);
    btnZoomIn->setEnabled(c.zoomIn);
    btnZoomOut->setEnabled(c.zoomOut);
    lblPage->setText(c.label);
}

void frmPrintPreview::refresh()
{
    picPage1->update();
    if (m_twoPages)
        picPage2->update();
}

void frmPrintPreview::btnNext_Click()
{
    ++m_current;
    updateControls();
    Form_Resize();
}

void frmPrintPreview::btnPrevious_Click()
{
    m_current = qMax(1, m_current - 1);
    updateControls();
    Form_Resize();
}

void frmPrintPreview::btnPages_Click()
{
    m_twoPages = !m_twoPages;
    btnPages->setText(m_twoPages ? QStringLiteral("&Eine Seite") : QStringLiteral("&Zwei Seiten"));
    m_zoom = 0;
    picPage2->setVisible(m_twoPages);
    scrollH->hide();
    scrollV->hide();
    updateControls();
    Form_Resize();
}

void frmPrintPreview::btnZoomIn_Click() { setZoomLevel(m_zoom + 1); }
void frmPrintPreview::btnZoomOut_Click() { setZoomLevel(m_zoom - 1); }

void frmPrintPreview::setZoomLevel(int level)
{
    if (level < 0 || level > 2)
        return;
    m_zoom = level;
    const bool zoomed = level > 0;
    scrollH->setVisible(zoomed);
    scrollV->setVisible(zoomed);
    picPage2->setVisible(!zoomed && m_twoPages);
    updateControls();
    Form_Resize();
}

void frmPrintPreview::picPage_MouseUp(int picture, QPoint pos, Qt::KeyboardModifiers mods)
{
    const bool shift = mods & Qt::ShiftModifier;
    const QSize before = (picture == 1 ? picPage1 : picPage2)->size();
    if (picture == 1) {
        if (shift)
            setZoomLevel(m_zoom - 1);
        else if (m_zoom < 2)
            setZoomLevel(m_zoom + 1);
    } else {
        if (!m_surface || m_current >= m_surface->CurrentPages())
            return;
        if (!shift) {
            ++m_current;
            setZoomLevel(m_zoom + 1);
        }
    }
    // Keep the clicked point in view.
    if (m_zoom > 0 && before.width() > 0 && before.height() > 0) {
        scrollH->setValue(qRound(double(pos.x()) / before.width() * scrollH->maximum()));
        scrollV->setValue(qRound(double(pos.y()) / before.height() * scrollV->maximum()));
    }
}

void frmPrintPreview::scroll_Change()
{
    if (m_zoom == 0)
        return;
    const double k = twipsPerPixel();
    QRect g = picPage1->geometry();
    if (scrollH->isEnabled())
        g.moveLeft(qRound((100 - scrollH->value()) / k));
    if (scrollV->isEnabled())
        g.moveTop(qRound((100 - scrollV->value()) / k));
    picPage1->setGeometry(g);
    refresh();
}

void frmPrintPreview::resizeEvent(QResizeEvent* e)
{
    QDialog::resizeEvent(e);
    Form_Resize();
}

void frmPrintPreview::Form_Resize()
{
    const double k = twipsPerPixel();
    const int barHeight = Frame1->sizeHint().height();
    Frame1->setGeometry(0, 0, width(), barHeight);
    const int viewH = qMax(0, height() - barHeight);
    picMain->setGeometry(0, barHeight, width(), viewH);
    const int sw = scrollV->sizeHint().width(), sh = scrollH->sizeHint().height();
    scrollV->setGeometry(width() - sw, barHeight, sw, qMax(0, viewH - (scrollH->isVisible() ? sh : 0)));
    scrollH->setGeometry(0, height() - sh, qMax(0, width() - sw), sh);

    const QSizeF page(m_pageWidth, m_pageHeight);
    const QSizeF view(width() * k, viewH * k);
    if (m_zoom == 0) {
        const PreviewRules::Placement place = PreviewRules::fitted(view, page, m_twoPages);
        picPage1->setGeometry(pixels(place.first));
        if (m_twoPages)
            picPage2->setGeometry(pixels(place.second));
    } else {
        const QSizeF fitted = PreviewRules::fitted(view, page, false).first.size();
        const QSizeF pic = PreviewRules::zoomedSize(page, m_zoom, fitted);
        const PreviewRules::Axis h = PreviewRules::zoomed(pic.width(), view.width(), scrollH->value());
        const PreviewRules::Axis v = PreviewRules::zoomed(pic.height(), view.height(), scrollV->value());
        const QSignalBlocker bh(scrollH), bv(scrollV);
        for (auto [bar, axis] : {std::pair{scrollH, h}, std::pair{scrollV, v}}) {
            bar->setRange(0, axis.maximum);
            bar->setPageStep(axis.largeChange);
            bar->setSingleStep(axis.smallChange);
            bar->setEnabled(axis.scrollable);
        }
        picPage1->setGeometry(pixels(QRectF(h.edge, v.edge, pic.width(), pic.height())));
    }
    refresh();
}

void frmPrintPreview::btnPrint_Click()
{
    if (!m_surface)
        return;
    AppState& app = appState();
    app.PrintFromPage = 1;
    app.PrintToPage = m_surface->CurrentPages();
    if (printSetupHook())
        printSetupHook()();
    if (app.PrintCancelled)
        return;
    m_surface->setZoomFactor(m_savedZoom);
    {
        WaitCursor wait;
        m_surface->PrintDoc(windowTitle(), app.PrintFromPage, app.PrintToPage,
                            app.PrintCopies == 0 ? 1 : app.PrintCopies);
    }
    refresh();
}

void frmPrintPreview::btnClose_Click() { close(); }

void frmPrintPreview::done(int result)
{
    if (m_surface)
        m_surface->setZoomFactor(m_savedZoom);
    QDialog::done(result);
}
