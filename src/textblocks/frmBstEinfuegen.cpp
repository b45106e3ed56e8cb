#include "frmBstEinfuegen.h"

#include "TextBlockFile.h"
#include "TextBlockInsert.h"

#include "app/AppState.h"
#include "app/Prompter.h"
#include "engine/surface/TextControl.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {
// Error numbers and texts of the file errors the insert can meet.
constexpr int FileNotFound = 53;
constexpr int InputPastEnd = 62;
} // namespace

frmBstEinfuegen::frmBstEinfuegen(AppState& state, TextControl* surface, QWidget* parent)
    : QDialog(parent), m_state(state), m_surface(surface) {
    setObjectName(QStringLiteral("frmBstEinfuegen"));
    setWindowTitle(QStringLiteral(" Textbaustein einfügen"));
    m_txtText = BlockView::makeText(this);
    m_txtText->setReadOnly(true);
    m_txtText->setMinimumSize(420, 260);
    m_Command3 = new QPushButton(QStringLiteral("&OK"), this);
    m_Command3->setObjectName(QStringLiteral("Command3"));
    m_Command3->setDefault(true);
    m_Command1 = new QPushButton(QStringLiteral("&Abbruch"), this);
    m_Command1->setObjectName(QStringLiteral("Command1"));
    m_Command1->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_Command3);
    buttons->addWidget(m_Command1);
    auto* right = new QVBoxLayout;
    right->addWidget(m_txtText, 1);
    right->addLayout(buttons);
    auto* all = new QHBoxLayout(this);
    all->addWidget(m_options.frame);
    all->addLayout(right, 1);

    m_options.onChosen(this, [this](int n) { Option1_Click(n); });
    connect(m_Command3, &QPushButton::clicked, this, &frmBstEinfuegen::Command3_Click);
    connect(m_Command1, &QPushButton::clicked, this, &frmBstEinfuegen::Command1_Click);
}

frmBstEinfuegen::~frmBstEinfuegen() = default;

void frmBstEinfuegen::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!m_activated) {
        m_activated = true;
        Form_Activate();
    }
}

void frmBstEinfuegen::Form_Activate() {
    m_options.setCaptions(m_state.WorkFolder);
    if (m_options.Option1[0]->isChecked())
        Option1_Click(0);
    else
        m_options.Option1[0]->setChecked(true);
}

void frmBstEinfuegen::Option1_Click(int n) {
    m_number = n;
    const auto block = TextBlockFile::read(m_state.WorkFolder, n);
    if (block)
        BlockView::show(m_txtText, *block);
    else
        BlockView::show(m_txtText, TextBlock{});
}

void frmBstEinfuegen::showError(int number, const QString& description) {
    prompter().message(
        this, windowTitle(),
        QStringLiteral("Fehler # %1 wurde ausgelöst von Textbausteine\r").arg(number) + description,
        QMessageBox::Ok, Prompter::Icon::Critical);
}

void frmBstEinfuegen::Command3_Click() {
    const int n = m_options.firstChosen();
    if (n == 0) {
        prompter().message(this, QString(),
                           QStringLiteral("Wählen Sie zuerst einen Textbaustein aus!"));
        return;
    }
    if (!TextBlockFile::exists(m_state.WorkFolder, n)) {
        showError(FileNotFound, QStringLiteral("Datei nicht gefunden: ") +
                                    TextBlockFile::path(m_state.WorkFolder, n));
        return;
    }
    const auto block = TextBlockFile::read(m_state.WorkFolder, n);
    if (!block) {
        showError(InputPastEnd, QStringLiteral("Einlesen hinter Dateiende"));
        return;
    }
    if (m_surface)
        TextBlockInsert::write(*m_surface, *block);
    accept();
}

void frmBstEinfuegen::Command1_Click() {
    reject();
}
