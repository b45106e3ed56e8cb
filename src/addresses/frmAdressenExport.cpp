#include "frmAdressenExport.h"

#include "AddressStore.h"
#include "Queries.h"
#include "RecordSource.h"
#include "app/Prompter.h"
#include "app/WaitCursor.h"
#include "exchange/ExchangeTable.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>

namespace {
const QString title = QStringLiteral("Adressen exportieren");

QRadioButton* option(QButtonGroup* group, int id, const QString& text, const QString& name, QWidget* parent)
{
    auto* b = new QRadioButton(text, parent);
    b->setObjectName(name);
    group->addButton(b, id);
    return b;
}
} // namespace

frmAdressenExport::frmAdressenExport(const QString& databasePath, const QString& currentList, QWidget* parent)
    : QDialog(parent), m_currentList(currentList), m_source(new RecordSource(this))
{
    setWindowTitle(title);
    setObjectName(QStringLiteral("frmAdressenExport"));
    if (!m_source->open(databasePath, currentList.isEmpty() ? Queries::nameOrder() : currentList))
        m_error = m_source->lastError();

    auto* layout = new QVBoxLayout(this);
    auto* which = new QGroupBox(QStringLiteral("Welche Adressen"), this);
    auto* wl = new QGridLayout(which);
    m_scope = new QButtonGroup(this);
    QRadioButton* list = option(m_scope, CurrentList, QStringLiteral("die angezeigte &Liste"), QStringLiteral("optListe"), which);
    QRadioButton* group = option(m_scope, Group, QStringLiteral("die &Gruppe:"), QStringLiteral("optGruppe"), which);
    QRadioButton* all = option(m_scope, All, QStringLiteral("&alle Adressen"), QStringLiteral("optAlle"), which);
    m_group = new QComboBox(which);
    m_group->setObjectName(QStringLiteral("cboGruppe"));
    m_group->setEditable(true);
    m_group->setMinimumContentsLength(20);
    if (m_error.isEmpty())
        m_group->addItems(AddressStore::databaseGroups(*m_source));
    list->setEnabled(!currentList.isEmpty());
    group->setEnabled(m_group->count() > 0);
    wl->addWidget(list, 0, 0, 1, 2);
    wl->addWidget(group, 1, 0);
    wl->addWidget(m_group, 1, 1);
    wl->addWidget(all, 2, 0, 1, 2);
    wl->setColumnStretch(1, 1);
    (currentList.isEmpty() ? all : list)->setChecked(true);
    layout->addWidget(which);

    auto* how = new QGroupBox(QStringLiteral("Format"), this);
    auto* hl = new QVBoxLayout(how);
    m_format = new QButtonGroup(this);
    hl->addWidget(option(m_format, int(AddressExport::Format::CsvUtf8),
                         QStringLiteral("CSV-Datei, &UTF-8 (Semikolon, mit Kopfzeile)"), QStringLiteral("optUtf8"), how));
    hl->addWidget(option(m_format, int(AddressExport::Format::CsvWindows1252),
                         QStringLiteral("CSV-Datei, &Windows-1252 (für ältere Tabellenprogramme)"),
                         QStringLiteral("optWindows"), how));
    hl->addWidget(option(m_format, int(AddressExport::Format::VCard),
                         QStringLiteral("&vCard 4.0 (für Telefon- und E-Mail-Programme)"), QStringLiteral("optVCard"),
                         how));
    m_format->button(int(AddressExport::Format::CsvUtf8))->setChecked(true);
    layout->addWidget(how);

    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("lblAnzahl"));
    layout->addWidget(m_count);
    layout->addStretch(1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("E&xportieren..."), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &frmAdressenExport::cmdOK_Click);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(m_scope, &QButtonGroup::idClicked, this, &frmAdressenExport::optScope_Click);
    // Choosing or typing a group means exporting that group.
    connect(m_group, &QComboBox::currentTextChanged, this, [this, group] {
        if (!group->isChecked() && group->isEnabled() && isVisible())
            group->setChecked(true);
        optScope_Click();
    });
    optScope_Click();
}

QString frmAdressenExport::statement() const
{
    switch (m_scope->checkedId()) {
    case CurrentList:
        return m_currentList;
    case Group:
        return Queries::group(m_group->currentText());
    default:
        return Queries::nameOrder();
    }
}

int frmAdressenExport::count() const { return m_error.isEmpty() ? m_source->recordCount() : 0; }

AddressExport::Format frmAdressenExport::format() const { return AddressExport::Format(m_format->checkedId()); }

void frmAdressenExport::optScope_Click()
{
    if (!m_error.isEmpty()) {
        m_count->setText(m_error);
        return;
    }
    WaitCursor wait;
    if (m_source->recordSource() != statement()) {
        m_source->setRecordSource(statement());
        m_source->refresh();
    }
    const int n = count();
    m_count->setText((n == 1 ? QStringLiteral("Es wird ") : QStringLiteral("Es werden ")) +
                     countedText(n, QStringLiteral("Adresse"), QStringLiteral("Adressen")) +
                     QStringLiteral(" geschrieben."));
}

void frmAdressenExport::cmdOK_Click()
{
    if (!m_error.isEmpty()) {
        prompter().message(this, title, m_error, QMessageBox::Ok, Prompter::Icon::Exclamation);
        return;
    }
    if (count() == 0) {
        prompter().message(this, title, QStringLiteral("In der gewählten Liste sind keine Adressen."));
        return;
    }
    const bool vcard = format() == AddressExport::Format::VCard;
    const QString ending = vcard ? QStringLiteral(".vcf") : QStringLiteral(".csv");
    QString name = m_scope->checkedId() == Group ? m_group->currentText().trimmed() : QString();
    name.replace(QRegularExpression(QStringLiteral("[/\\\\:*?\"<>|]")), QStringLiteral("_"));
    if (name.isEmpty())
        name = QStringLiteral("Adressen");
    const FileChoice choice =
        prompter().saveFile(this, title,
                            vcard ? QStringLiteral("vCard-Datei (*.vcf)|*.vcf") : QStringLiteral("CSV-Datei (*.csv)|*.csv"),
                            QDir::homePath(), name + ending);
    if (choice.cancelled())
        return;
    QString path = choice.path;
    if (QFileInfo(path).suffix().isEmpty())
        path += ending;
    WaitCursor wait;
    const AddressExport::Written written = AddressExport::writeFile(*m_source, path, format());
    wait.restore();
    if (written.addresses < 0) {
        prompter().message(this, title, written.error, QMessageBox::Ok, Prompter::Icon::Exclamation);
        return;
    }
    m_report = AddressExport::report(written, QDir::toNativeSeparators(path));
    prompter().message(this, title, m_report);
    accept();
}

bool frmAdressenExport::run(QWidget* owner, const QString& databasePath, const QString& currentList)
{
    frmAdressenExport window(databasePath, currentList, owner);
    if (!window.openOk()) {
        prompter().message(owner, title, window.error(), QMessageBox::Ok, Prompter::Icon::Exclamation);
        return false;
    }
    return prompter().exec(&window) == QDialog::Accepted;
}
