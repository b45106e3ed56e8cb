#include "DialogTitle.h"

#include <QFont>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
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

void keepVisible(QMessageBox* box)
{
    // A message box fixes its own size from its layout when it shows, so a minimum
    // width would be overruled; an empty item across the grid widens it instead.
    auto* grid = box ? qobject_cast<QGridLayout*>(box->layout()) : nullptr;
    if (!grid || box->windowTitle().trimmed().isEmpty())
        return;
    int need = roomFor(box->windowTitle(), box->font());
    if (const QScreen* screen = box->screen())
        need = qMin(need, screen->availableGeometry().width() * 9 / 10);
    const QMargins m = grid->contentsMargins();
    grid->addItem(new QSpacerItem(need - m.left() - m.right(), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

} // namespace DialogTitle
