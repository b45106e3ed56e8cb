#include "AdressenAuswaehlen.h"

#include "AddressListBox.h"
#include "AddressStore.h"
#include "FieldBinder.h"
#include "Queries.h"
#include "RecordSource.h"

#include "app/AppState.h"
#include "app/Prompter.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>

namespace {
AdressenAuswaehlen::LabelRunner& labelRunner()
{
    static AdressenAuswaehlen::LabelRunner r;
    return r;
}
AdressenAuswaehlen::HelpHandler& helpHandler()
{
    static AdressenAuswaehlen::HelpHandler h;
    return h;
}
} // namespace

const QColor AdressenAuswaehlen::LightGreen(192, 255, 192);

AdressenAuswaehlen::AdressenAuswaehlen(AppState& state, QWidget* parent)
    : QDialog(parent), m_state(state), m_w(this), m_data1(new RecordSource(this)),
      m_binder(new FieldBinder(m_data1, this))
{
    // Another desk changed addresses on the server: the list follows at once.
    connect(m_data1, &RecordSource::changedOnServer, this, [this] {
        if (m_activated)
            AddressStore::refreshIfChanged(*m_data1, m_w.List3, AddressStore::Entry(m_entryStyle), false);
    });
    setObjectName(QStringLiteral("AdressenAuswaehlen"));
    setWindowTitle(QStringLiteral("Etiketten - Drucken       Adressen Auswählen"));

    connect(m_data1, &RecordSource::dataError, this, [this](const QString& text) {
        prompter().message(this, QStringLiteral("Adressen-Datenbank"), text, QMessageBox::Ok,
                           Prompter::Icon::Exclamation);
    });
    AddressStore::linkList(m_w.List3, m_data1);
    m_binder->bind({{m_w.lblAnrede, "Anrede"}, {m_w.lblVorname, "Vorname"}, {m_w.lblNachname, "Nachname"},
                   {m_w.lblStrasse, "Adresse"}, {m_w.lblPLZ, "Postleitzahl"}, {m_w.lblOrt, "Ort"},
                   {m_w.lblLKZ, "LaenderKZ"}, {m_w.lblAnredezHd, "AnredezHd"}, {m_w.lblNamezHd, "NamezHd"}});

    connect(m_w.List3, &AddressListBox::entryDoubleClicked, this, &AdressenAuswaehlen::List3_DblClick);
    connect(m_w.txtFind, &QLineEdit::returnPressed, this, &AdressenAuswaehlen::cmdFind_Click);
    connect(m_w.cmdFind, &QToolButton::clicked, this, &AdressenAuswaehlen::cmdFind_Click);
    // A pressed picture while the mouse button is down.
    connect(m_w.cmdFind, &QToolButton::pressed, this,
            [this] { m_w.cmdFind->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton)); });
    connect(m_w.cmdFind, &QToolButton::released, this,
            [this] { m_w.cmdFind->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView)); });
    connect(m_w.cboGruppe, qOverload<int>(&QComboBox::activated), this, &AdressenAuswaehlen::cboGruppe_Click);
    connect(m_w.Command4, &QPushButton::clicked, this, &AdressenAuswaehlen::Command4_Click);
    connect(m_w.cmdInsert, &QPushButton::clicked, this, &AdressenAuswaehlen::cmdInsert_Click);
    connect(m_w.cmdLoeschen, &QPushButton::clicked, this, &AdressenAuswaehlen::cmdLoeschen_Click);
    connect(m_w.cmdUebern, &QPushButton::clicked, this, &AdressenAuswaehlen::cmdUebern_Click);
    connect(m_w.Command3, &QPushButton::clicked, this, &AdressenAuswaehlen::Command3_Click);
    connect(m_w.List1, &QListWidget::currentRowChanged, this, &AdressenAuswaehlen::List1_Click);
    connect(m_w.cmdMerge, &QPushButton::clicked, this, &AdressenAuswaehlen::cmdMerge_Click);
    connect(m_w.Command1, &QPushButton::clicked, this, &AdressenAuswaehlen::Command1_Click);
    connect(m_w.Command2, &QPushButton::clicked, this, &AdressenAuswaehlen::Command2_Click);
    connect(m_w.cmdCancel, &QPushButton::clicked, this, &AdressenAuswaehlen::cmdCancel_Click);
    connect(m_w.Image1, &QToolButton::clicked, this, &AdressenAuswaehlen::Image1_Click);
    for (QLabel* l : std::as_const(m_w.lblPos))
        l->installEventFilter(this);

    Form_Load();
}

AdressenAuswaehlen::~AdressenAuswaehlen() = default;

AdressenAuswaehlen* AdressenAuswaehlen::showForLabels(AppState& state, QWidget* parent)
{
    auto* w = new AdressenAuswaehlen(state, parent);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->setModal(false);
    w->show();
    return w;
}

int AdressenAuswaehlen::pickForTemplate(AppState& state, QWidget* parent)
{
    AdressenAuswaehlen w(state, parent);
    return prompter().exec(&w);
}

void AdressenAuswaehlen::setLabelRunner(LabelRunner runner) { labelRunner() = std::move(runner); }

void AdressenAuswaehlen::setHelpHandler(HelpHandler handler) { helpHandler() = std::move(handler); }

void AdressenAuswaehlen::Form_Load()
{
    m_data1->open(m_state.AddressDbPath, Queries::nameOrder());
    m_w.cmdUebern->setText(QStringLiteral("24 Adressen in Liste Auswahl [rechts] übernehmen. \n"
                                          "Beginnend bei aktuell ausgewählter Adresse"));
    m_w.cmdMerge->setText(QStringLiteral("Aktuelle Adresse für alle Felder übernehmen."));
    m_w.Command2->setText(QStringLiteral("Aktuelle Adresse für alle Felder übernehmen.\n"
                                         "Mit Zusätzlichen Zeilen für 'Zu Händen' "));
    LocalSettings();
    AddressStore::fillGroups(m_w.cboGruppe, m_state.WorkFolder, m_data1);
    refreshSheetMap();
}

int AdressenAuswaehlen::diallingCodeOf(const QLocale& locale)
{
    switch (locale.territory()) {
    case QLocale::Germany:
        return 49;
    case QLocale::Switzerland:
        return 41;
    case QLocale::Austria:
        return 43;
    case QLocale::Liechtenstein:
        return 423;
    case QLocale::Luxembourg:
        return 352;
    case QLocale::France:
        return 33;
    case QLocale::Italy:
        return 39;
    case QLocale::Netherlands:
        return 31;
    case QLocale::Belgium:
        return 32;
    case QLocale::Denmark:
        return 45;
    case QLocale::Poland:
        return 48;
    case QLocale::UnitedKingdom:
        return 44;
    case QLocale::UnitedStates:
        return 1;
    default:
        return 0;
    }
}

void AdressenAuswaehlen::LocalSettings()
{
    // The user's own locale, not the program's German default.
    const int code = diallingCodeOf(QLocale::system());
    if (code)
        HomeCountry = code;
}

void AdressenAuswaehlen::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!m_activated) {
        m_activated = true;
        Form_Activate();
    }
}

void AdressenAuswaehlen::Form_Activate()
{
    m_data1->moveFirst();
    AddressStore::fillList(m_w.List3, *m_data1, AddressStore::Entry::Name);
}

void AdressenAuswaehlen::changeEvent(QEvent* e)
{
    QDialog::changeEvent(e);
    // Another program or window may have changed addresses meanwhile.
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && m_activated)
        AddressStore::refreshIfChanged(*m_data1, m_w.List3, AddressStore::Entry(m_entryStyle), false);
}

void AdressenAuswaehlen::List3_DblClick() { cmdInsert_Click(); }

void AdressenAuswaehlen::cmdFind_Click()
{
    if (AddressStore::searchButton(this, *m_data1, m_w.List3, m_w.txtFind->text())) {
        m_entryStyle = int(AddressStore::Entry::Name);
        paint(m_w.Command4, QPalette::Button, LightGreen);
    }
}

void AdressenAuswaehlen::cboGruppe_Click(int index)
{
    const QString group = index >= 0 ? m_w.cboGruppe->itemText(index) : m_w.cboGruppe->currentText();
    m_data1->setRecordSource(Queries::group(group));
    if (!m_data1->refresh())
        return; // reported; the list stays as it is
    m_entryStyle = int(AddressStore::Entry::Numbered);
    AddressStore::fillList(m_w.List3, *m_data1, AddressStore::Entry::Numbered);
}

void AdressenAuswaehlen::Command4_Click()
{
    m_data1->setRecordSource(Queries::nameOrder());
    if (!m_data1->refresh())
        return; // reported; the list stays as it is
    m_entryStyle = int(AddressStore::Entry::Name);
    AddressStore::fillList(m_w.List3, *m_data1, AddressStore::Entry::Name);
    paint(m_w.Command4, QPalette::Button, buttonFace());
    // All addresses: no group is chosen any more.
    AddressStore::resetGroupBox(m_w.cboGruppe);
}

void AdressenAuswaehlen::addCurrent()
{
    m_w.List1->addItem(m_w.lblVorname->text() + QLatin1Char(' ') + m_w.lblNachname->text());
    auto* item = new QListWidgetItem(QString::number(m_data1->absolutePosition()));
    item->setData(Qt::UserRole, m_data1->keyAt(m_data1->absolutePosition()));
    m_w.List2->addItem(item);
}

bool AdressenAuswaehlen::moveToChosen(int index)
{
    if (index < 0 || index >= m_w.List2->count())
        return false;
    const qint64 key = m_w.List2->item(index)->data(Qt::UserRole).toLongLong();
    if (m_data1->rowOfKey(key) < 0)
        Command4_Click();
    const int row = m_data1->rowOfKey(key);
    if (row < 0)
        return false;
    m_data1->setAbsolutePosition(row);
    return m_data1->absolutePosition() == row;
}

void AdressenAuswaehlen::cmdInsert_Click()
{
    if (m_data1->absolutePosition() < 0)
        return;
    addCurrent();
    m_w.Command1->setEnabled(true);
    paint(m_w.Command1, QPalette::Button, LightGreen);
    refreshSheetMap();
}

void AdressenAuswaehlen::cmdLoeschen_Click()
{
    const int i = m_w.List1->currentRow();
    if (i < 0 || !m_w.List1->item(i)->isSelected()) {
        prompter().message(this, QString(), QStringLiteral("Es ist kein Eintrag ausgewählt."));
        return;
    }
    {
        const QSignalBlocker block(m_w.List1);
        delete m_w.List2->takeItem(i);
        delete m_w.List1->takeItem(i);
        m_w.List1->setCurrentRow(-1);
    }
    refreshSheetMap();
}

void AdressenAuswaehlen::takeFrom(int start)
{
    {
        const QSignalBlocker block(m_w.List1);
        m_w.List1->clear();
        m_w.List2->clear();
    }
    for (int p = start; p >= 0 && p < m_data1->recordCount() && m_w.List1->count() < 24; ++p) {
        m_data1->setAbsolutePosition(p);
        addCurrent();
    }
    m_w.Command1->setEnabled(true);
    paint(m_w.Command1, QPalette::Button, LightGreen);
    refreshSheetMap();
}

void AdressenAuswaehlen::cmdUebern_Click() { takeFrom(m_data1->absolutePosition()); }

void AdressenAuswaehlen::Command3_Click() { takeFrom(m_w.List3->currentRow()); }

void AdressenAuswaehlen::List1_Click(int index)
{
    moveToChosen(index);
}

void AdressenAuswaehlen::lblPos_Click(int index)
{
    if (index < 0 || index >= 24)
        return;
    m_w.lblPosition->setText(QString::number(index + 1));
    refreshSheetMap();
}

bool AdressenAuswaehlen::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::MouseButtonPress) {
        const int k = m_w.lblPos.indexOf(qobject_cast<QLabel*>(watched));
        if (k >= 0) {
            lblPos_Click(k);
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}

bool AdressenAuswaehlen::labelFilled(int n, int start, int chosen) { return start <= n && n < start + chosen; }

void AdressenAuswaehlen::refreshSheetMap()
{
    const int start = startPosition();
    const int chosen = m_w.List1->count();
    for (int n = 1; n <= 24; ++n)
        paint(m_w.lblPos[n - 1], QPalette::Window, labelFilled(n, start, chosen) ? LightGreen : buttonFace());
}

int AdressenAuswaehlen::startPosition() const { return m_w.lblPosition->text().toInt(); }

int AdressenAuswaehlen::templateFontSize() const
{
    const int sizes[] = {10, 11, 12, 14};
    for (int i = 0; i < 4; ++i)
        if (m_w.optVorlage[i]->isChecked())
            return sizes[i];
    return 10;
}

QString AdressenAuswaehlen::templateFile() const
{
    return QStringLiteral("Etiketten_Vorlage_F%1.ttx").arg(templateFontSize());
}

bool AdressenAuswaehlen::withoutTitle() const { return m_w.chkAnrede->isChecked(); }

void AdressenAuswaehlen::runLabels(LabelRun run)
{
    if (!labelRunner())
        return;
    labelRunner()(*this, run);
    // Every run ends the picker; its result is the new document.
    close();
}

void AdressenAuswaehlen::cmdMerge_Click() { runLabels(LabelRun::CurrentOnTemplate); }

void AdressenAuswaehlen::Command1_Click() { runLabels(LabelRun::ChosenOnTemplate); }

void AdressenAuswaehlen::Command2_Click() { runLabels(LabelRun::CurrentAsTable); }

void AdressenAuswaehlen::cmdCancel_Click() { reject(); }

void AdressenAuswaehlen::Image1_Click()
{
    if (helpHandler())
        helpHandler()(this);
}

void AdressenAuswaehlen::paint(QWidget* w, QPalette::ColorRole role, const QColor& c)
{
    QPalette p = w->palette();
    p.setColor(role, c);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

QColor AdressenAuswaehlen::buttonFace() { return QApplication::palette().color(QPalette::Button); }
