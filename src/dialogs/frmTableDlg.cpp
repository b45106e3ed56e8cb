#include "frmTableDlg.h"

#include "SurfaceDialog.h"

#include "FormatRules.h"

#include "app/Prompter.h"
#include "engine/surface/TextControl.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {
QComboBox* countBox(QWidget* parent, const char* name)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setMaxVisibleItems(12);
    return c;
}
} // namespace

frmTableDlg::frmTableDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmTableDlg"));
    setWindowTitle(QString::fromUtf8("Tabelle einfügen"));
    cboRows = countBox(this, "cboRows");
    cboColumns = countBox(this, "cboColumns");
    auto* lblRows = new QLabel(QStringLiteral("&Zeilen:"), this);
    lblRows->setBuddy(cboRows);
    auto* lblColumns = new QLabel(QStringLiteral("&Spalten:"), this);
    lblColumns->setBuddy(cboColumns);

    QHBoxLayout* buttons = SurfaceDialog::okCancel(this, QStringLiteral("OK"), QStringLiteral("Abbrechen"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblRows, 0, 0);
    grid->addWidget(cboRows, 0, 1);
    grid->addWidget(lblColumns, 1, 0);
    grid->addWidget(cboColumns, 1, 1);
    grid->addLayout(buttons, 2, 0, 1, 2);
}

bool frmTableDlg::edit(TextControl* surface, QWidget* parent) { return SurfaceDialog::edit<frmTableDlg>(surface, parent); }

void frmTableDlg::Form_Load()
{
    cboRows->clear();
    cboColumns->clear();
    for (int i = 1; i <= 100; ++i)
        cboRows->addItem(QString::number(i));
    for (int i = 1; i <= 12; ++i)
        cboColumns->addItem(QString::number(i));
    cboRows->setCurrentIndex(1);
    cboColumns->setCurrentIndex(1);
}

void frmTableDlg::cmdOK_Click()
{
    if (surface) {
        const int rows = FormatRules::leadingInt16(cboRows->currentText());
        const int columns = FormatRules::leadingInt16(cboColumns->currentText());
        surface->beginEditStep(4);
        const int id = surface->TableInsert(rows, columns, -1);
        surface->endEditStep();
        // The user goes on writing in the new table, not below it.
        if (id)
            surface->setSelStart(surface->TableCellStart(id, 1, 1) - 1);
    }
    accept();
}

void frmTableDlg::cmdCancel_Click() { reject(); }
