#include "frmHeaderProperties.h"

#include "SurfaceDialog.h"

#include "FormatRules.h"

#include "app/Prompter.h"
#include "engine/surface/SettingStep.h"
#include "engine/surface/TextControl.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <memory>

namespace {
QLineEdit* millimetreField(QWidget* parent, const char* name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setMaximumWidth(60);
    e->setAlignment(Qt::AlignRight);
    // Digits only; the field keeps whole millimetres.
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
    return e;
}
} // namespace

frmHeaderProperties::frmHeaderProperties(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmHeaderProperties"));
    setWindowTitle(QString::fromUtf8("Einstellung Kopf- und Fußzeilen"));

    auto* distances = new QGroupBox(QStringLiteral("Abstand vom Seitenrand"), this);
    auto* dg = new QGridLayout(distances);
    txtHeader = millimetreField(distances, "txtHeader");
    txtFooter = millimetreField(distances, "txtFooter");
    auto* lblHeader = new QLabel(QStringLiteral("Kopfzeile"), distances);
    lblHeader->setBuddy(txtHeader);
    auto* lblFooter = new QLabel(QString::fromUtf8("Fußzeile"), distances);
    lblFooter->setBuddy(txtFooter);
    dg->addWidget(lblHeader, 0, 0);
    dg->addWidget(txtHeader, 0, 1);
    dg->addWidget(new QLabel(QStringLiteral("mm"), distances), 0, 2);
    dg->addWidget(lblFooter, 1, 0);
    dg->addWidget(txtFooter, 1, 1);
    dg->addWidget(new QLabel(QStringLiteral("mm"), distances), 1, 2);

    chkFirstPageDifferent = new QCheckBox(QStringLiteral("Erste Seite anders"), this);
    chkFirstPageDifferent->setObjectName(QStringLiteral("chkFirstPageDifferent"));

    QHBoxLayout* buttons = SurfaceDialog::okCancel(this, QStringLiteral("OK"), QStringLiteral("Abbrechen"));
    connect(txtHeader, &QLineEdit::editingFinished, this, &frmHeaderProperties::txtHeader_LostFocus);
    connect(txtFooter, &QLineEdit::editingFinished, this, &frmHeaderProperties::txtFooter_LostFocus);
    txtHeader->installEventFilter(this);
    txtFooter->installEventFilter(this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(distances, 0, 0);
    grid->addWidget(chkFirstPageDifferent, 1, 0);
    grid->addLayout(buttons, 2, 0);
}

bool frmHeaderProperties::edit(TextControl* surface, QWidget* parent) { return SurfaceDialog::edit<frmHeaderProperties>(surface, parent); }

bool frmHeaderProperties::eventFilter(QObject* watched, QEvent* event)
{
    // The whole text is selected on entering a field, also when entered by a click
    // (which would place the caret after the focus arrived).
    if (event->type() == QEvent::FocusIn)
        if (auto* e = qobject_cast<QLineEdit*>(watched))
            QTimer::singleShot(0, e, &QLineEdit::selectAll);
    return QDialog::eventFilter(watched, event);
}

void frmHeaderProperties::Form_Load()
{
    if (!surface)
        return;
    txtHeader->setText(QString::number(FormatRules::millimetresFromTwips(surface->HeaderFooterDistance(1))));
    txtFooter->setText(QString::number(FormatRules::millimetresFromTwips(surface->HeaderFooterDistance(4))));
    chkFirstPageDifferent->setChecked(surface->HeaderFooterFlags() & 0x2);
}

void frmHeaderProperties::txtHeader_LostFocus()
{
    txtHeader->setText(FormatRules::limitMillimetres(txtHeader->text()));
}

void frmHeaderProperties::txtFooter_LostFocus()
{
    txtFooter->setText(FormatRules::limitMillimetres(txtFooter->text()));
}

void frmHeaderProperties::cmdOK_Click()
{
    if (!surface) {
        accept();
        return;
    }
    TextControl* s = surface;
    const int header = FormatRules::twipsFromMillimetres(txtHeader->text());
    const int footer = FormatRules::twipsFromMillimetres(txtFooter->text());
    const int flags = chkFirstPageDifferent->isChecked() ? 15 : 5;
    auto before = std::make_shared<SettingStep::HeaderFooterSnapshot>(*s->doc());

    s->beginEditStep(3);
    s->setHeaderFooterDistance(1, header);
    s->setHeaderFooterDistance(4, footer);
    s->setHeaderFooterFlags(flags);
    if (before->differsFrom(*s->doc()))
        SettingStep::record(
        s->document(), [s, before] { before->restore(*s->doc()); },
        [s, header, footer, flags] {
            s->setHeaderFooterDistance(1, header);
            s->setHeaderFooterDistance(4, footer);
            s->setHeaderFooterFlags(flags);
        });
    s->endEditStep();
    accept();
}

void frmHeaderProperties::cmdCancel_Click() { reject(); }
