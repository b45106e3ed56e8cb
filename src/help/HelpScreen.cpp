#include "HelpScreen.h"

#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

void initHelpResources();

namespace {
// Room left on the screen for the window's title bar.
constexpr int titleBar = 40;
} // namespace

HelpScreen::HelpScreen(const QString& objectName, const QString& caption, const QString& picture,
                       int borderTwips, QWidget* parent)
    : QDialog(parent), m_border(borderTwips)
{
    initHelpResources();
    setObjectName(objectName);
    setWindowTitle(caption);
    Picture1 = new QLabel;
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(QPixmap(picture));
    Picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Picture1->installEventFilter(this);
    Picture1->setToolTip(QStringLiteral("Klicken oder Esc schließt die Hilfe"));
    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_scroll->setWidget(Picture1);
    m_scroll->setBackgroundRole(QPalette::Base);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scroll);
    Form_Activate();
}

void HelpScreen::Form_Activate()
{
    Picture1->adjustSize();
    Picture1->move(0, 0);
    // 15 twips to the pixel on a 96-dpi screen.
    const int border = m_border / 15;
    QSize size = Picture1->size() + QSize(border, border);
    // A screen smaller than the picture gets scroll bars instead of a window off screen.
    if (const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen()) {
        const QSize room = s->availableGeometry().size() - QSize(0, titleBar);
        size = size.boundedTo(room);
    }
    resize(size);
}

void HelpScreen::Picture1_Click() { close(); }

void HelpScreen::closeOnWindowClick()
{
    m_closeOnWindowClick = true;
    m_scroll->viewport()->installEventFilter(this);
}

void HelpScreen::mouseReleaseEvent(QMouseEvent* e)
{
    if (m_closeOnWindowClick && e->button() == Qt::LeftButton)
        close();
}

void HelpScreen::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Escape)
        close();
    // Other keys do nothing; Enter must not close the screen either.
    e->accept();
}

bool HelpScreen::eventFilter(QObject* watched, QEvent* e)
{
    const bool clickable =
        watched == Picture1 || (m_closeOnWindowClick && watched == m_scroll->viewport());
    if (clickable && e->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
        Picture1_Click();
        return true;
    }
    return QDialog::eventFilter(watched, e);
}
