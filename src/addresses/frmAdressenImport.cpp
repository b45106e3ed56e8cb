#include "frmAdressenImport.h"

#include "Queries.h"
#include "RecordSource.h"
#include "app/Prompter.h"
#include "app/WaitCursor.h"
#include "exchange/ColumnGuess.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QComboBox>
#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include <optional>

namespace {
constexpr int PreviewRows = 20;
// Refused lines named in the summary box; more would not fit on the screen.
constexpr int ListedLines = 25;
const QString title = QStringLiteral("Adressen importieren");
const QString notTaken = QStringLiteral("(nicht übernehmen)");
} // namespace

frmAdressenImport::frmAdressenImport(const QString& file, const QString& databasePath, QWidget* parent)
    : QDialog(parent), m_file(file), m_databasePath(databasePath)
{
    setWindowTitle(title);
    setObjectName(QStringLiteral("frmAdressenImport"));
    const QString ext = QFileInfo(file).suffix().toLower();
    m_vcard = ext == u"vcf" || ext == u"vcard";

    auto* layout = new QVBoxLayout(this);
    m_info = new QLabel(this);
    layout->addWidget(m_info);

    m_preview = new QTableWidget(this);
    m_preview->setObjectName(QStringLiteral("grdVorschau"));
    m_preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(m_preview, 2);

    auto* mapBox = new QGroupBox(QStringLiteral("Zuordnung der Spalten"), this);
    auto* mapLayout = new QVBoxLayout(mapBox);
    m_mapping = new QTableWidget(0, 2, mapBox);
    m_mapping->setObjectName(QStringLiteral("grdZuordnung"));
    m_mapping->setHorizontalHeaderLabels({QStringLiteral("Spalte der Datei"), QStringLiteral("Adressfeld")});
    m_mapping->horizontalHeader()->setStretchLastSection(true);
    m_mapping->verticalHeader()->hide();
    m_mapping->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mapLayout->addWidget(m_mapping);
    layout->addWidget(mapBox, 2);

    auto* form = new QFormLayout;
    m_kind = new QComboBox(this);
    m_kind->setObjectName(QStringLiteral("cboAdressart"));
    m_kind->addItems({QStringLiteral("Privatadresse"), QStringLiteral("Geschäftsadresse")});
    m_kind->setEnabled(m_vcard);
    auto* kindLabel = new QLabel(QStringLiteral("&Anschrift aus vCards:"), this);
    kindLabel->setBuddy(m_kind);
    form->addRow(kindLabel, m_kind);
    m_group = new QLineEdit(this);
    m_group->setObjectName(QStringLiteral("txtGruppe"));
    auto* groupLabel = new QLabel(QStringLiteral("&Gruppe für alle Adressen:"), this);
    groupLabel->setBuddy(m_group);
    form->addRow(groupLabel, m_group);
    layout->addLayout(form);

    auto* dupBox = new QGroupBox(QStringLiteral("Doppelte Adressen (gleicher Name, gleiche Straße, gleicher Ort)"), this);
    auto* dupLayout = new QVBoxLayout(dupBox);
    m_duplicates = new QButtonGroup(this);
    const QStringList choices{QStringLiteral("&überspringen"), QStringLiteral("&aktualisieren"),
                              QStringLiteral("trotzdem &hinzufügen")};
    for (int i = 0; i < choices.size(); ++i) {
        auto* b = new QRadioButton(choices[i], dupBox);
        m_duplicates->addButton(b, i);
        dupLayout->addWidget(b);
    }
    m_duplicates->button(0)->setChecked(true);
    layout->addWidget(dupBox);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("Über&nehmen"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("cmdOK"));
    buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &frmAdressenImport::cmdOK_Click);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_kind, &QComboBox::currentIndexChanged, this, &frmAdressenImport::cboKind_Change);
    layout->addWidget(buttons);

    m_table = AddressImport::readFile(m_file);
    fill();
    resize(720, 620);
}

void frmAdressenImport::fill()
{
    const int rows = int(m_table.rows.size());
    m_info->setText(QFileInfo(m_file).fileName() + QStringLiteral(": ") +
                    countedText(rows, QStringLiteral("Zeile"), QStringLiteral("Zeilen")));
    m_preview->clear();
    m_preview->setColumnCount(int(m_table.headers.size()));
    m_preview->setHorizontalHeaderLabels(m_table.headers);
    m_preview->setRowCount(std::min(rows, PreviewRows));
    for (int r = 0; r < m_preview->rowCount(); ++r) {
        const ExchangeRow& row = m_table.rows[size_t(r)];
        m_preview->setVerticalHeaderItem(r, new QTableWidgetItem(QString::number(row.line)));
        for (int c = 0; c < row.values.size() && c < m_preview->columnCount(); ++c)
            m_preview->setItem(r, c, new QTableWidgetItem(row.values[c]));
    }

    // Wide enough for the headers and values, but no column takes the whole window.
    m_preview->resizeColumnsToContents();
    for (int c = 0; c < m_preview->columnCount(); ++c)
        m_preview->setColumnWidth(c, std::min(m_preview->columnWidth(c), 240));
    m_preview->resizeRowsToContents();

    const QStringList guessed = ColumnGuess::guessAll(m_table.headers);
    m_mapping->setRowCount(int(m_table.headers.size()));
    m_fields.clear();
    for (int c = 0; c < m_table.headers.size(); ++c) {
        m_mapping->setItem(c, 0, new QTableWidgetItem(m_table.headers[c]));
        auto* box = new QComboBox(m_mapping);
        box->addItem(notTaken, QString());
        for (const QString& t : ColumnGuess::targets())
            box->addItem(t, t);
        box->setCurrentIndex(std::max(0, box->findData(guessed.value(c))));
        m_mapping->setCellWidget(c, 1, box);
        m_fields << box;
    }
    m_mapping->resizeColumnToContents(0);
}

QStringList frmAdressenImport::mapping() const
{
    QStringList out;
    for (const QComboBox* box : m_fields)
        out << box->currentData().toString();
    return out;
}

void frmAdressenImport::cboKind_Change()
{
    if (!m_vcard)
        return;
    m_table = AddressImport::readFile(m_file, m_kind->currentIndex() == 1 ? VCardReader::Prefer::Work
                                                                           : VCardReader::Prefer::Home);
    fill();
}

void frmAdressenImport::cmdOK_Click()
{
    const auto prepared = AddressImport::prepare(m_table, mapping(), m_group->text().trimmed());
    if (!prepared.error.isEmpty()) {
        prompter().message(this, title, prepared.error);
        return;
    }
    WaitCursor wait;
    RecordSource source;
    if (!source.open(m_databasePath, Queries::addressTable())) {
        wait.restore();
        prompter().message(this, title, source.lastError(), QMessageBox::Ok, Prompter::Icon::Exclamation);
        return;
    }
    const auto duplicates = AddressImport::Duplicates(m_duplicates->checkedId());
    const int total = int(prepared.records.size());
    QProgressDialog progress(QStringLiteral("Adressen werden übernommen …"), QStringLiteral("Abbrechen"), 0, total, this);
    progress.setObjectName(QStringLiteral("prgImport"));
    progress.setWindowTitle(title);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setValue(0);
    QElapsedTimer tick;
    tick.start();
    const AddressImport::Outcome outcome =
        AddressImport::write(source, prepared.records, duplicates, [&](int done, int all) {
            // The first record and then a few times a second, so a click on
            // "Abbrechen" is seen at once and the counting costs nothing.
            if (done != 1 && done != all && tick.elapsed() < 40)
                return true;
            tick.restart();
            const QLocale german(QLocale::German);
            progress.setLabelText(QStringLiteral("Adresse %1 von %2 wird übernommen …")
                                      .arg(german.toString(done), german.toString(all)));
            progress.setValue(done);
            if (progress.isVisible())
                QApplication::changeOverrideCursor(Qt::BusyCursor); // the button can be clicked
            QCoreApplication::processEvents();
            return !progress.wasCanceled();
        });
    progress.close();
    wait.restore();
    if (outcome.cancelled) {
        prompter().message(this, title, outcome.error);
        return;
    }
    if (!outcome.error.isEmpty()) {
        prompter().message(this, title, outcome.error, QMessageBox::Ok, Prompter::Icon::Exclamation);
        return;
    }
    m_summary = AddressImport::summary(outcome, prepared, ListedLines);
    prompter().message(this, title, m_summary);
    accept();
}

bool frmAdressenImport::run(QWidget* owner, const QString& databasePath)
{
    const FileChoice choice =
        prompter().openFile(owner, title,
                            QStringLiteral("Adresslisten (*.csv;*.txt;*.vcf)|*.csv;*.txt;*.vcf|Alle Dateien (*.*)|*.*"),
                            QString());
    if (choice.cancelled())
        return false;
    std::optional<WaitCursor> reading(std::in_place);
    frmAdressenImport window(choice.path, databasePath, owner);
    reading.reset();
    if (!window.readOk()) {
        prompter().message(owner, title, window.error() + QStringLiteral(" Es wurde nichts übernommen."));
        return false;
    }
    return prompter().exec(&window) == QDialog::Accepted;
}
