#include "DialogTitle.h"

#include <QFont>
#include <QFontMetrics>
#include <QScreen>
#include <QWidget>

namespace DialogTitle {

namespace {
// The window manager's icon, close, maximise and minimise buttons and margins.
constexpr int ButtonRoom = 140;
} // namespace

int roomFor(const QString& title, const QFont& font)
{
    QFont bold = font;
    bold.setBold(true);
    return QFontMetrics(bold).horizontalAdvance(title.trimmed()) + ButtonRoom;
}

void keepVisible(QWidget* dialog)
{
    if (!dialog || dialog->windowTitle().trimmed().isEmpty())
        return;
    int need = roomFor(dialog->windowTitle(), dialog->font());
    if (const QScreen* screen = dialog->screen())
        need = qMin(need, screen->availableGeometry().width() * 9 / 10);
    if (dialog->minimumWidth() < need)
        dialog->setMinimumWidth(qMin(need, dialog->maximumWidth()));
}

} // namespace DialogTitle
