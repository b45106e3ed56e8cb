#include "frmPageDlg.h"

#include "PageSetup.h"

#include "app/Prompter.h"
#include "engine/Document.h"
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

namespace {
QString u(const char* utf8) { return QString::fromUtf8(utf8); }

QLineEdit* lengthField(QWidget* parent, const char* name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setMaximumWidth(90);
    e->setAlignment(Qt::AlignRight);
    return e;
}
} // namespace

frmPageDlg::frmPageDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPageDlg"));
    setWindowTitle(QStringLiteral("Seite einrichten"));
    for (int i = 0; i < 6; ++i) {
        lblMeasurement[i] = new QLabel(this);
        lblMeasurement[i]->setObjectName(QStringLiteral("lblMeasurement(%1)").arg(i));
    }

    auto* margins = new QGroupBox(u("Ränder (Millimeter)"), this);
    auto* mg = new QGridLayout(margins);
    txtLeftMargin = lengthField(margins, "txtLeftMargin");
    txtTopMargin = lengthField(margins, "txtTopMargin");
    txtRightMargin = lengthField(margins, "txtRightMargin");
    txtBottomMargin = lengthField(margins, "txtBottomMargin");
    const std::array<std::pair<const char*, QLineEdit*>, 4> marginRows{
        {{"&Links:", txtLeftMargin}, {"&Oben:", txtTopMargin}, {"&Rechts:", txtRightMargin},
         {"&Unten:", txtBottomMargin}}};
    for (int i = 0; i < 4; ++i) {
        auto* l = new QLabel(u(marginRows[i].first), margins);
        l->setBuddy(marginRows[i].second);
        mg->addWidget(l, i, 0);
        mg->addWidget(marginRows[i].second, i, 1);
        mg->addWidget(lblMeasurement[i], i, 2);
    }

    auto* paper = new QGroupBox(u("&Papierformat"), this);
    auto* pg = new QGridLayout(paper);
    cboPaperSize = new QComboBox(paper);
    cboPaperSize->setObjectName(QStringLiteral("cboPaperSize"));
    paper->setFocusProxy(cboPaperSize);
    txtPaperWidth = lengthField(paper, "txtPaperWidth");
    txtPaperHeight = lengthField(paper, "txtPaperHeight");
    pg->addWidget(cboPaperSize, 0, 0, 1, 3);
    auto* lw = new QLabel(u("&Breite:"), paper);
    lw->setBuddy(txtPaperWidth);
    auto* lh = new QLabel(u("&Höhe:"), paper);
    lh->setBuddy(txtPaperHeight);
    pg->addWidget(lw, 1, 0);
    pg->addWidget(txtPaperWidth, 1, 1);
    pg->addWidget(lblMeasurement[4], 1, 2);
    pg->addWidget(lh, 2, 0);
    pg->addWidget(txtPaperHeight, 2, 1);
    pg->addWidget(lblMeasurement[5], 2, 2);

    auto* html = new QGroupBox(u("Optionen zum Speichern von HTML"), this);
    auto* hv = new QVBoxLayout(html);
    const char* captions[] = {"Ohne Seiten Style", "Inline Style", "Speichern aber nicht überschreiben ",
                              "Style speichern in extra Datei"};
    for (int i = 0; i < 4; ++i) {
        optStylesheetOptions[i] = new QRadioButton(u(captions[i]), html);
        optStylesheetOptions[i]->setObjectName(QStringLiteral("optStylesheetOptions(%1)").arg(i));
        hv->addWidget(optStylesheetOptions[i]);
        connect(optStylesheetOptions[i], &QRadioButton::toggled, this,
                &frmPageDlg::optStylesheetOptions_Click);
    }
    auto* fileRow = new QHBoxLayout;
    lblStylesheetFile = new QLabel(u("Stylesheet-Datei:"), html);
    lblStylesheetFile->setObjectName(QStringLiteral("lblStylesheetFile"));
    txtStylesheetFile = new QLineEdit(html);
    txtStylesheetFile->setObjectName(QStringLiteral("txtStylesheetFile"));
    lblStylesheetFile->setBuddy(txtStylesheetFile);
    fileRow->addWidget(lblStylesheetFile);
    fileRow->addWidget(txtStylesheetFile);
    hv->addLayout(fileRow);

    lblHint = new QLabel(this);
    lblHint->setObjectName(QStringLiteral("lblHint"));
    lblHint->setWordWrap(true);
    btnOK = new QPushButton(u("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(u("Abbrechen"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    connect(btnOK, &QPushButton::clicked, this, &frmPageDlg::btnOK_Click);
    connect(btnCancel, &QPushButton::clicked, this, &frmPageDlg::btnCancel_Click);

    auto* grid = new QGridLayout(this);
    grid->addWidget(margins, 0, 0);
    grid->addWidget(paper, 0, 1);
    grid->addWidget(html, 1, 0, 1, 2);
    grid->addWidget(lblHint, 2, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    grid->addLayout(buttons, 3, 0, 1, 2);

    for (QLineEdit* e : {txtLeftMargin, txtTopMargin, txtRightMargin, txtBottomMargin,
                         txtPaperWidth, txtPaperHeight})
        connect(e, &QLineEdit::textChanged, this, &frmPageDlg::validate);
    connect(txtPaperWidth, &QLineEdit::editingFinished, this, &frmPageDlg::txtPaperSize_LostFocus);
    connect(txtPaperHeight, &QLineEdit::editingFinished, this, &frmPageDlg::txtPaperSize_LostFocus);
    connect(cboPaperSize, &QComboBox::activated, this, &frmPageDlg::cboPaperSize_Click);
}

bool frmPageDlg::edit(TextControl* surface, int unit, QWidget* parent)
{
    if (!surface)
        return false;
    frmPageDlg dlg(parent);
    dlg.surface = surface;
    dlg.unit = unit;
    dlg.Form_Load();
    return prompter().exec(&dlg) == QDialog::Accepted;
}

void frmPageDlg::setLength(QLineEdit* e, int twips) { m_lengths.show(e, twips, unit); }

int frmPageDlg::twips(const QLineEdit* e) const { return m_lengths.read(e, unit); }

void frmPageDlg::Form_Load()
{
    for (QLabel* l : lblMeasurement)
        l->setText(unit == 1 ? QStringLiteral("Zoll") : QStringLiteral("cm"));
    cboPaperSize->clear();
    for (int i = 0; i <= PageSetup::CustomPaper; ++i)
        cboPaperSize->addItem(PageSetup::paperName(i));
    if (!surface)
        return;
    setLength(txtLeftMargin, surface->PageMarginL());
    setLength(txtTopMargin, surface->PageMarginT());
    setLength(txtRightMargin, surface->PageMarginR());
    setLength(txtBottomMargin, surface->PageMarginB());
    setLength(txtPaperWidth, surface->PageWidth());
    setLength(txtPaperHeight, surface->PageHeight());
    txtPaperSize_LostFocus();
    const int mode = surface->LoadSaveAttribute(9).toInt();
    optStylesheetOptions[mode >= 0 && mode < 4 ? mode : 0]->setChecked(true);
    txtStylesheetFile->setText(surface->LoadSaveAttribute(8).toString());
    optStylesheetOptions_Click();
}

void frmPageDlg::txtPaperSize_LostFocus()
{
    cboPaperSize->setCurrentIndex(PageSetup::matchPaper(twips(txtPaperWidth), twips(txtPaperHeight)));
}

void frmPageDlg::cboPaperSize_Click(int index)
{
    if (index < 0 || index >= PageSetup::CustomPaper)
        return;
    const PageSetup::Paper& p = PageSetup::papers()[index];
    setLength(txtPaperWidth, p.width);
    setLength(txtPaperHeight, p.height);
}

void frmPageDlg::optStylesheetOptions_Click()
{
    const bool withFile = optStylesheetOptions[2]->isChecked() || optStylesheetOptions[3]->isChecked();
    txtStylesheetFile->setEnabled(withFile);
    lblStylesheetFile->setEnabled(txtStylesheetFile->isEnabled());
}

void frmPageDlg::validate()
{
    const QString problem = PageSetup::problem({twips(txtLeftMargin), twips(txtTopMargin),
                                                twips(txtRightMargin), twips(txtBottomMargin),
                                                twips(txtPaperWidth), twips(txtPaperHeight)},
                                               unit);
    btnOK->setEnabled(problem.isEmpty());
    lblHint->setText(problem);
}

void frmPageDlg::btnOK_Click()
{
    if (!btnOK->isEnabled() || !surface)
        return;
    PageGeometry page;
    page.width = twips(txtPaperWidth);
    page.height = twips(txtPaperHeight);
    page.marginL = twips(txtLeftMargin);
    page.marginT = twips(txtTopMargin);
    page.marginR = twips(txtRightMargin);
    page.marginB = twips(txtBottomMargin);
    SettingStep::changePage(*surface, page);
    for (int i = 0; i < 4; ++i)
        if (optStylesheetOptions[i]->isChecked())
            surface->setLoadSaveAttribute(9, i);
    surface->setLoadSaveAttribute(8, txtStylesheetFile->text());
    accept();
}

void frmPageDlg::btnCancel_Click() { reject(); }
