#include "frmImageDlg.h"

#include "SurfaceDialog.h"

#include "FormatRules.h"

#include "app/Prompter.h"
#include "engine/surface/SettingStep.h"
#include "engine/surface/TextControl.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

frmImageDlg::frmImageDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmImageDlg"));
    setWindowTitle(QStringLiteral("  Grafik Optionen"));

    fraBorders = new QGroupBox(QString::fromUtf8("Bildränder"), this);
    fraBorders->setObjectName(QStringLiteral("fraBorders"));
    auto* bg = new QGridLayout(fraBorders);
    const char* names[] = {"txtLeftBorder", "txtTopBorder", "txtRightBorder", "txtBottomBorder"};
    const char* captions[] = {"&Links:", "&Oben:", "&Rechts:", "&Unten:"};
    std::array<QLineEdit*, 4> fields{};
    for (int i = 0; i < 4; ++i) {
        fields[i] = new QLineEdit(fraBorders);
        fields[i]->setObjectName(QLatin1String(names[i]));
        fields[i]->setMaximumWidth(90);
        fields[i]->setAlignment(Qt::AlignRight);
        lblBorder[i] = new QLabel(QString::fromUtf8(captions[i]), fraBorders);
        lblBorder[i]->setBuddy(fields[i]);
        lblMeasurement[i] = new QLabel(fraBorders);
        lblMeasurement[i]->setObjectName(QStringLiteral("lblMeasurement(%1)").arg(i));
        bg->addWidget(lblBorder[i], i, 0);
        bg->addWidget(fields[i], i, 1);
        bg->addWidget(lblMeasurement[i], i, 2);
    }
    txtLeftBorder = fields[0];
    txtTopBorder = fields[1];
    txtRightBorder = fields[2];
    txtBottomBorder = fields[3];

    auto* options = new QGroupBox(QStringLiteral("Optionen"), this);
    auto* ov = new QVBoxLayout(options);
    optSaveToFile = new QRadioButton(QStringLiteral("&Grafik im Dokument speichern"), options);
    optSaveToFile->setObjectName(QStringLiteral("optSaveToFile"));
    optEmbed = new QRadioButton(QStringLiteral("&Anzeige als graues Rechteck"), options);
    optEmbed->setObjectName(QStringLiteral("optEmbed"));
    cboFileFormats = new QComboBox(options);
    cboFileFormats->setObjectName(QStringLiteral("cboFileFormats"));
    auto* lblFormats = new QLabel(QStringLiteral("Bild speichern unter:"), options);
    lblFormats->setBuddy(cboFileFormats);
    ov->addWidget(optSaveToFile);
    ov->addWidget(optEmbed);
    ov->addWidget(lblFormats);
    ov->addWidget(cboFileFormats);

    QHBoxLayout* buttons = SurfaceDialog::okCancel(this, QStringLiteral("OK"), QStringLiteral("Abbrechen"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(fraBorders, 0, 0);
    grid->addWidget(options, 0, 1);
    grid->addLayout(buttons, 1, 0, 1, 2);
}

bool frmImageDlg::edit(TextControl* surface, int unit, QWidget* parent)
{
    if (!surface)
        return false;
    frmImageDlg dlg(parent);
    dlg.surface = surface;
    dlg.unit = unit;
    dlg.Form_Load();
    return prompter().exec(&dlg) == QDialog::Accepted;
}

std::array<QLineEdit*, 4> frmImageDlg::borderFields() const
{
    return {txtLeftBorder, txtTopBorder, txtRightBorder, txtBottomBorder};
}

bool frmImageDlg::displaySettingAvailable() const
{
    const int value = surface->ImageDisplay();
    surface->setImageDisplay(value);
    return surface->ImageDisplay() == value;
}

void frmImageDlg::Form_Load()
{
    for (QLabel* l : lblMeasurement)
        l->setText(unit == 1 ? QStringLiteral("Zoll") : QStringLiteral("cm"));
    if (!surface)
        return;
    const bool image = surface->ObjectSelected() != 0;
    const auto fields = borderFields();
    for (int i = 0; i < 4; ++i) {
        if (image)
            m_lengths.show(fields[i], surface->ImageDistance(i + 1), unit);
        fields[i]->setEnabled(image);
        lblBorder[i]->setEnabled(image);
        lblMeasurement[i]->setEnabled(image);
    }
    fraBorders->setEnabled(image);

    const bool display = displaySettingAvailable();
    optSaveToFile->setEnabled(display);
    optEmbed->setEnabled(display);
    if (display)
        (surface->ImageDisplay() > 0 ? optEmbed : optSaveToFile)->setChecked(true);

    cboFileFormats->clear();
    cboFileFormats->addItems(FormatRules::exportFormatItems(surface->ImageExportFormats()));
    const int format = surface->ImageExportFormat();
    if (format > 0)
        cboFileFormats->setCurrentIndex(format - 1 < cboFileFormats->count() ? format - 1 : -1);
}

void frmImageDlg::cmdOK_Click()
{
    if (!surface) {
        accept();
        return;
    }
    TextControl* s = surface;
    const int oldDisplay = s->ImageDisplay(), oldFormat = s->ImageExportFormat();
    const bool display = displaySettingAvailable();
    const int newDisplay = display ? (optSaveToFile->isChecked() ? 0 : 1) : oldDisplay;
    const int newFormat = cboFileFormats->currentIndex() + 1;

    s->beginEditStep(3);
    if (s->ObjectSelected() != 0) {
        const auto fields = borderFields();
        for (int i = 0; i < 4; ++i)
            s->setImageDistance(i + 1, m_lengths.read(fields[i], unit));
    }
    s->setImageDisplay(newDisplay);
    s->setImageExportFormat(newFormat);
    if (newDisplay != oldDisplay || newFormat != oldFormat)
        SettingStep::record(
            s->document(),
            [s, oldDisplay, oldFormat] {
                s->setImageDisplay(oldDisplay);
                s->setImageExportFormat(oldFormat);
            },
            [s, newDisplay, newFormat] {
                s->setImageDisplay(newDisplay);
                s->setImageExportFormat(newFormat);
            });
    s->endEditStep();
    accept();
}

void frmImageDlg::cmdCancel_Click() { reject(); }
