#include "frmFramesDlg.h"

#include "SurfaceDialog.h"

#include "FormatRules.h"

#include "app/Prompter.h"
#include "engine/surface/TextControl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QCheckBox* box(QWidget* parent, const char* name, const char* caption)
{
    auto* c = new QCheckBox(QString::fromUtf8(caption), parent);
    c->setObjectName(QLatin1String(name));
    return c;
}

QComboBox* pointsBox(QWidget* parent, const char* name, int from, int to)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QLatin1String(name));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    for (int i = from; i <= to; ++i)
        c->addItem(FormatRules::pointsText(i));
    c->setCurrentIndex(-1);
    return c;
}
} // namespace

frmFramesDlg::frmFramesDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFramesDlg"));
    setWindowTitle(QStringLiteral("  Absatzrahmen"));

    auto* parts = new QGroupBox(QStringLiteral("Teile:"), this);
    auto* pv = new QVBoxLayout(parts);
    chkLeft = box(parts, "chkLeft", "&Links");
    chkRight = box(parts, "chkRight", "&Rechts");
    chkTop = box(parts, "chkTop", "&Oben");
    chkBottom = box(parts, "chkBottom", "&Unten");
    chkTabLines = box(parts, "chkTabLines", "T&ab Linien");
    for (QCheckBox* c : {chkLeft, chkRight, chkTop, chkBottom, chkTabLines})
        pv->addWidget(c);

    auto* styles = new QGroupBox(QStringLiteral("Stile:"), this);
    auto* sg = new QGridLayout(styles);
    chkDoubleLines = box(styles, "chkDoubleLines", "&Doppelte Linien");
    chkConnectedFrames = box(styles, "chkConnectedFrames", "&Verbundene Rahmen");
    cboLineWidth = pointsBox(styles, "cboLineWidth", 1, 12);
    cboTextDistance = pointsBox(styles, "cboTextDistance", 0, 12);
    auto* lblWidth = new QLabel(QStringLiteral("&Linienbreite:"), styles);
    lblWidth->setBuddy(cboLineWidth);
    auto* lblDistance = new QLabel(QStringLiteral("A&bstand zum Text:"), styles);
    lblDistance->setBuddy(cboTextDistance);
    sg->addWidget(chkDoubleLines, 0, 0, 1, 2);
    sg->addWidget(chkConnectedFrames, 1, 0, 1, 2);
    sg->addWidget(lblWidth, 2, 0);
    sg->addWidget(cboLineWidth, 2, 1);
    sg->addWidget(lblDistance, 3, 0);
    sg->addWidget(cboTextDistance, 3, 1);

    QHBoxLayout* buttons = SurfaceDialog::okCancel(this, QStringLiteral("OK"), QStringLiteral("Abbrechen"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(parts, 0, 0);
    grid->addWidget(styles, 0, 1);
    grid->addLayout(buttons, 1, 0, 1, 2);
}

bool frmFramesDlg::edit(TextControl* surface, QWidget* parent) { return SurfaceDialog::edit<frmFramesDlg>(surface, parent); }

void frmFramesDlg::Form_Load()
{
    if (!surface)
        return;
    const FormatRules::FrameParts p = FormatRules::frameParts(surface->FrameStyle());
    chkLeft->setChecked(p.left);
    chkRight->setChecked(p.right);
    chkTop->setChecked(p.top);
    chkBottom->setChecked(p.bottom);
    chkTabLines->setChecked(p.tabLines);
    chkDoubleLines->setChecked(p.doubleLines);
    chkConnectedFrames->setChecked(p.connected);
    const int width = surface->FrameLineWidth();
    if (width != -1)
        cboLineWidth->setEditText(FormatRules::pointsText(width / 20.0));
    const int distance = surface->FrameDistance();
    if (distance != -1)
        cboTextDistance->setEditText(FormatRules::pointsText(distance / 20.0));
}

void frmFramesDlg::cmdOK_Click()
{
    if (surface) {
        FormatRules::FrameParts p;
        p.left = chkLeft->isChecked();
        p.right = chkRight->isChecked();
        p.top = chkTop->isChecked();
        p.bottom = chkBottom->isChecked();
        p.tabLines = chkTabLines->isChecked();
        p.connected = chkConnectedFrames->isChecked();
        p.doubleLines = chkDoubleLines->isChecked();
        surface->beginEditStep(3);
        surface->setFrameStyle(FormatRules::frameStyleWord(p));
        if (const auto width = FormatRules::frameLineWidthTwips(cboLineWidth->currentText()))
            surface->setFrameLineWidth(*width);
        if (const auto distance = FormatRules::frameDistanceTwips(cboTextDistance->currentText()))
            surface->setFrameDistance(*distance);
        surface->endEditStep();
    }
    accept();
}

void frmFramesDlg::cmdCancel_Click() { reject(); }
