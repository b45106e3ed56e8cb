#include "frmImageDlg.h"

#include "SurfaceDialog.h"

#include "FormatRules.h"

#include "app/Prompter.h"
#include "engine/surface/SettingStep.h"
#include "engine/surface/TextControl.h"

#include <QComboBox>
#include <QFileInfo>
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
    cmdSaveImage = new QPushButton(QStringLiteral("Bild &speichern..."), options);
    cmdSaveImage->setObjectName(QStringLiteral("cmdSaveImage"));
    cmdSaveImage->setAutoDefault(false);
    connect(cmdSaveImage, &QPushButton::clicked, this, &frmImageDlg::cmdSaveImage_Click);
    ov->addWidget(lblFormats);
    auto* saveRow = new QHBoxLayout;
    saveRow->addWidget(cboFileFormats, 1);
    saveRow->addWidget(cmdSaveImage);
    ov->addLayout(saveRow);

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
    // Only a selected picture keeps the setting (-1 without one).
    const int value = surface->ImageDisplay();
    surface->setImageDisplay(value);
    return value >= 0 && surface->ImageDisplay() == value;
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
    cmdSaveImage->setEnabled(image);

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
    const int oldFormat = s->ImageExportFormat();
    const int newFormat = cboFileFormats->currentIndex() + 1;

    s->beginEditStep(3);
    if (s->ObjectSelected() != 0) {
        const auto fields = borderFields();
        for (int i = 0; i < 4; ++i)
            s->setImageDistance(i + 1, m_lengths.read(fields[i], unit));
    }
    // The grey box belongs to the picture's format, so the undo step holds it.
    if (displaySettingAvailable())
        s->setImageDisplay(optSaveToFile->isChecked() ? 0 : 1);
    s->setImageExportFormat(newFormat);
    if (newFormat != oldFormat)
        SettingStep::record(
            s->document(), [s, oldFormat] { s->setImageExportFormat(oldFormat); },
            [s, newFormat] { s->setImageExportFormat(newFormat); });
    s->endEditStep();
    accept();
}

void frmImageDlg::cmdCancel_Click() { reject(); }

void frmImageDlg::cmdSaveImage_Click()
{
    if (!surface || !surface->ObjectSelected())
        return;
    // The format chosen in the list comes first in the file chooser.
    QStringList items = FormatRules::exportFormatItems(surface->ImageExportFormats());
    const int chosen = cboFileFormats->currentIndex();
    if (chosen > 0 && chosen < items.size())
        items.move(chosen, 0);
    QString filter;
    for (const QString& item : std::as_const(items)) {
        const qsizetype open = item.lastIndexOf(QLatin1Char('('));
        QString patterns = open >= 0 ? item.mid(open + 1).chopped(1) : QString();
        if (patterns == u"*.jpg")
            patterns += QStringLiteral(";*.jpeg");
        filter += (filter.isEmpty() ? QString() : QStringLiteral("|")) + item + QLatin1Char('|') + patterns;
    }
    const QString first = items.isEmpty() ? QStringLiteral("*.png") : items.first();
    const QString ending = first.mid(first.lastIndexOf(QLatin1String("*.")) + 1).chopped(1);
    const FileChoice choice = prompter().saveFile(this, QStringLiteral("Bild speichern unter"), filter, QString(),
                                                  QStringLiteral("Bild%1%2").arg(surface->ObjectSelected()).arg(ending));
    if (choice.cancelled())
        return;
    QString path = choice.path;
    // A name without an ending gets the one of the chosen file type.
    if (QFileInfo(path).suffix().isEmpty() && choice.filterIndex >= 1 && choice.filterIndex <= items.size()) {
        const QString item = items.at(choice.filterIndex - 1);
        path += item.mid(item.lastIndexOf(QLatin1String("*.")) + 1).chopped(1);
    }
    if (!surface->SaveImage(path))
        prompter().message(this, QStringLiteral("Bild speichern"), surface->LastError(), QMessageBox::Ok,
                           Prompter::Icon::Exclamation);
}
