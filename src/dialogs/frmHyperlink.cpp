#include "frmHyperlink.h"

#include "SurfaceDialog.h"

#include "app/Prompter.h"
#include "engine/surface/TextControl.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
// Link kind of a field that leads to an internet address.
constexpr int kLinkKindAddress = 1;
} // namespace

frmHyperlink::frmHyperlink(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmHyperlink"));
    setWindowTitle(QString::fromUtf8("Hyperlink einfügen"));
    txtLinkedText = new QLineEdit(this);
    txtLinkedText->setObjectName(QStringLiteral("txtLinkedText"));
    txtLinkedText->setMinimumWidth(300);
    txtLinkTarget = new QLineEdit(this);
    txtLinkTarget->setObjectName(QStringLiteral("txtLinkTarget"));
    auto* lblText = new QLabel(QStringLiteral("Angezeigter Text:"), this);
    lblText->setBuddy(txtLinkedText);
    auto* lblTarget = new QLabel(QStringLiteral("Internetadresse:"), this);
    lblTarget->setBuddy(txtLinkTarget);

    QHBoxLayout* buttons = SurfaceDialog::okCancel(this, QStringLiteral("OK"), QStringLiteral("Abbrechen"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblText, 0, 0);
    grid->addWidget(txtLinkedText, 0, 1);
    grid->addWidget(lblTarget, 1, 0);
    grid->addWidget(txtLinkTarget, 1, 1);
    grid->addLayout(buttons, 2, 0, 1, 2);
}

bool frmHyperlink::edit(TextControl* surface, QWidget* parent) { return SurfaceDialog::edit<frmHyperlink>(surface, parent); }

void frmHyperlink::Form_Load()
{
    if (!surface)
        return;
    const int field = surface->FieldCurrent();
    if (field != 0) {
        txtLinkedText->setText(surface->FieldText());
        txtLinkTarget->setText(surface->FieldLinkTarget(field));
    } else {
        txtLinkedText->setText(surface->SelText());
    }
}

void frmHyperlink::cmdOK_Click()
{
    if (txtLinkedText->text().isEmpty()) {
        prompter().message(this, QString(),
                           QStringLiteral("Bitte geben Sie einen Text ein, der das Feld kennzeichnet."));
        txtLinkedText->setFocus();
        return;
    }
    if (txtLinkTarget->text().isEmpty()) {
        prompter().message(this, QString(), QStringLiteral("Bitte geben Sie eine Internetadresse ein."));
        txtLinkTarget->setFocus();
        return;
    }
    if (surface) {
        TextControl* s = surface;
        s->beginEditStep(4);
        if (const int field = s->FieldCurrent()) {
            s->setFieldText(txtLinkedText->text());
            s->setFieldLinkKind(field, kLinkKindAddress);
            s->setFieldLinkTarget(field, txtLinkTarget->text());
        } else {
            const int added = s->FieldInsert(txtLinkedText->text());
            if (added > 0) {
                s->setFieldLinkKind(added, kLinkKindAddress);
                s->setFieldLinkTarget(added, txtLinkTarget->text());
                s->MarkHyperlinks();
            }
        }
        s->endEditStep();
    }
    accept();
}

void frmHyperlink::cmdCancel_Click() { reject(); }
