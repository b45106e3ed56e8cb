#pragma once
// What the dialogs that edit one document's settings share: OK and Cancel at the bottom
// right, and showing the dialog modally for one editing surface.

#include "app/Prompter.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

class TextControl;

namespace SurfaceDialog {

// Creates the dialog's cmdOK (the default button) and cmdCancel, clicked into its
// cmdOK_Click and cmdCancel_Click; returns the row that holds them on the right.
template <class Dialog>
QHBoxLayout* okCancel(Dialog* dialog, const QString& okCaption, const QString& cancelCaption)
{
    dialog->cmdOK = new QPushButton(okCaption, dialog);
    dialog->cmdOK->setObjectName(QStringLiteral("cmdOK"));
    dialog->cmdOK->setDefault(true);
    dialog->cmdCancel = new QPushButton(cancelCaption, dialog);
    dialog->cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    QObject::connect(dialog->cmdOK, &QPushButton::clicked, dialog, &Dialog::cmdOK_Click);
    QObject::connect(dialog->cmdCancel, &QPushButton::clicked, dialog, &Dialog::cmdCancel_Click);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(dialog->cmdOK);
    row->addWidget(dialog->cmdCancel);
    return row;
}

// Loads the dialog from `surface` and shows it modally; true when confirmed. Without a
// surface nothing is shown.
template <class Dialog> bool edit(TextControl* surface, QWidget* parent)
{
    if (!surface)
        return false;
    Dialog dlg(parent);
    dlg.surface = surface;
    dlg.Form_Load();
    return prompter().exec(&dlg) == QDialog::Accepted;
}

} // namespace SurfaceDialog
