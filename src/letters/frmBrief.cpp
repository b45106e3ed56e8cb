#include "frmBrief.h"

#include "BriefFields.h"
#include "BriefKeys.h"
#include "LetterBindings.h"
#include "LetterAddressSearch.h"
#include "LetterFrames.h"
#include "SmallLayout.h"

#include "addresses/AddressDatabase.h"
#include "addresses/AddressListBox.h"
#include "addresses/AddressStore.h"
#include "addresses/FieldBinder.h"
#include "addresses/Queries.h"
#include "addresses/RecordSource.h"
#include "addresses/frmAdressenExport.h"
#include "addresses/frmAdressenImport.h"
#include "app/AppState.h"
#include "app/Folders.h"
#include "app/Prompter.h"
#include "textblocks/FontTextFile.h"
#include "textblocks/TextBlockFile.h"
#include "textblocks/frmBausteine.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

namespace {
frmBrief::HelpHandler& helpHandler()
{
    static frmBrief::HelpHandler h;
    return h;
}
} // namespace

frmBrief::frmBrief(AppState& state, QWidget* parent)
    : QDialog(parent), m_state(state), m_w(this), m_data1(new RecordSource(this)), m_data2(new RecordSource(this)),
      m_dataOpt(new RecordSource(this)), m_bind1(new FieldBinder(m_data1, this)),
      m_bind2(new FieldBinder(m_data2, this)), m_bindOpt(new FieldBinder(m_dataOpt, this)),
      m_search(this, m_data1, m_w, m_searching, {[this] { return commitPending(); }, [this] { refillList(); }})
{
    // Another desk changed addresses on the server: the list follows at once.
    connect(m_data1, &RecordSource::changedOnServer, this, &frmBrief::followOtherChanges);
    setObjectName(QStringLiteral("frmBrief"));
    setWindowTitle(QStringLiteral("Brief erstellen"));
    setModal(true);

    for (RecordSource* s : {m_data1, m_data2})
        connect(s, &RecordSource::dataError, this, [this](const QString& text) {
            prompter().message(this, QString(), QStringLiteral("Fehler in der Adressen-Datenbank: ") + text);
        });
    bindFields();
    // After the binder's own connection, so the fields already show the new row.
    connect(m_data1, &RecordSource::positionChanged, this, &frmBrief::Data1_Reposition);
    connect(m_w.List1, &AddressListBox::currentRowChanged, this, &frmBrief::List1_Click);

    connect(m_w.Command1, &QPushButton::clicked, this, &frmBrief::Command1_Click);
    connect(m_w.Command6, &QPushButton::clicked, this, &frmBrief::Command6_Click);
    connect(m_w.Command10, &QPushButton::clicked, this, &frmBrief::Command10_Click);
    for (int i = 0; i < m_w.Option1.size(); ++i)
        connect(m_w.Option1[i], &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
    connect(m_w.Command2, &QPushButton::clicked, this, &frmBrief::Command2_Click);
    connect(m_w.Command3, &QPushButton::clicked, this, &frmBrief::Command3_Click);
    connect(m_w.Command4, &QPushButton::clicked, this, &frmBrief::Command4_Click);
    connect(m_w.Command5, &QToolButton::clicked, this, &frmBrief::Command5_Click);
    connect(m_w.Command7, &QToolButton::clicked, this, &frmBrief::Command7_Click);
    connect(m_w.Command8, &QToolButton::clicked, this, &frmBrief::Command8_Click);
    connect(m_w.Command9, &QToolButton::clicked, this, &frmBrief::Command9_Click);
    connect(m_w.cmdAlle, &QPushButton::clicked, this, &frmBrief::cmdAlle_Click);
    connect(m_w.Timer, &QTimer::timeout, this, &frmBrief::Timer_Timer);
    connect(m_w.imgOpen, &QToolButton::clicked, this, &frmBrief::imgOpen_Click);
    connect(m_w.cmdImport, &QPushButton::clicked, this, &frmBrief::cmdImport_Click);
    connect(m_w.cmdExport, &QPushButton::clicked, this, &frmBrief::cmdExport_Click);
    connect(m_w.Image1, &QToolButton::clicked, this, &frmBrief::Image1_Click);
    connect(m_w.chkAdrRechts, &QCheckBox::toggled, this, &frmBrief::chkAdrRechts_Click);
    connect(m_w.txtAnlage, &QLineEdit::textEdited, m_w.chkAnlage, [this] { m_w.chkAnlage->setChecked(true); });
    connect(m_w.cboBriefKopf, &QComboBox::activated, this, [this](int i) { m_w.txtFont->setText(m_w.cboBriefKopf->itemText(i)); });
    connect(m_w.cboBrieftext, &QComboBox::activated, this, [this](int i) { m_w.txtFont2->setText(m_w.cboBrieftext->itemText(i)); });
    connect(m_w.cboSize, &QComboBox::activated, this, [this](int i) { m_w.txtSize->setText(m_w.cboSize->itemText(i)); });
    connect(m_w.cboSize2, &QComboBox::activated, this, [this](int i) { m_w.txtSize2->setText(m_w.cboSize2->itemText(i)); });

    auto* help = new QAction(QStringLiteral("&Schnellhilfe"), this);
    help->setObjectName(QStringLiteral("mnuSchnellhilfe"));
    help->setShortcut(QKeySequence::HelpContents);
    addAction(help);
    connect(help, &QAction::triggered, this, &frmBrief::mnuSchnellhilfe_Click);

    m_keys = new BriefKeys(m_w, this);
    connect(m_keys, &BriefKeys::lastNameTyped, this, [this] { m_lastNameEdited = true; });
    connect(m_keys, &BriefKeys::findKeyReleased, this, &frmBrief::txtFind_KeyUp);
    Form_Load();
}

frmBrief::~frmBrief() = default;

void frmBrief::setHelpHandler(HelpHandler handler) { helpHandler() = std::move(handler); }

void frmBrief::bindFields()
{
    m_bind1->bind({{m_w.Combo1, "Anrede"}, {m_w.Text1[1], "Vorname"}, {m_w.Text1[2], "Nachname"},
                  {m_w.Combo2, "AnredezHd"}, {m_w.Text1[3], "NamezHd"}, {m_w.Street, "Adresse"},
                  {m_w.Text1[5], "Postleitzahl"}, {m_w.Text1[6], "Ort"}, {m_w.txtLkennz, "LaenderKZ"},
                  {m_w.txtLand, "Land"}, {m_w.txtMitglNr, "MitgliedsNr"}, {m_w.cboGruppe, "Gruppe"}});
    LetterBindings::bindSender(*m_bind2, {m_w.txtName1, m_w.txtStra_e1, m_w.txtOrt1, m_w.txtTelefon1, m_w.txtFax,
                                          m_w.txtMail, m_w.txtInternet, m_w.txtPostfach, m_w.txtAbs, m_w.txtFont,
                                          m_w.txtSize});
    LetterBindings::bindOptions(*m_bindOpt, m_w.chkAdrRechts, m_w.Text6, m_w.txtAdrRechts);
}

void frmBrief::Form_Load()
{
    adaptToSmallScreen();
    // As wide as a 1024-pixel screen allows: room for the list and the long names.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        resize(qMin(1000, screen->availableGeometry().width()), sizeHint().height());
    const QStringList families = QFontDatabase::families();
    m_w.cboBriefKopf->addItems(families);
    m_w.cboBrieftext->addItems(families);

    m_searching = true;
    if (Folders::fileExists(m_state.AddressDbPath) || AddressDatabase::isServerAddress(m_state.AddressDbPath)) {
        if (Folders::dirExists(m_state.WorkFolder))
            QDir::setCurrent(m_state.WorkFolder);
        AddressStore::openSources(m_state.AddressDbPath, *m_data1, m_data2, m_dataOpt);
        if (m_data1->recordCount() > 0) {
            AddressStore::fillList(m_w.List1, *m_data1, AddressStore::Entry::Name);
            m_data1->moveFirst();
        }
    }
    m_searching = false;
    showDatabase();
    m_row1.takeShown();
    m_row2.takeShown();
    m_rowOpt.takeShown();
}

void frmBrief::adaptToSmallScreen()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || !BriefFields::needsSmallLayout(screen->geometry().width(), screen->logicalDotsPerInch()))
        return;
    SmallLayout::shrink(this);
}

void frmBrief::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!m_shown) {
        m_shown = true;
        Form_Activate();
    }
}

void frmBrief::Form_Activate()
{
    if (m_helpShown)
        return;
    m_w.cboSize->setEditText(m_w.txtSize->text());
    m_w.cboSize2->setEditText(m_w.txtSize2->text());
    for (int n = 1; n <= TextBlockFile::Count; ++n)
        m_w.Option1[n]->setText(TextBlockFile::caption(m_state.WorkFolder, n));
    LetterTextFont font;
    if (FontTextFile::read(m_state.WorkFolder, &font)) {
        m_w.txtFont2->setText(font.Name);
        m_w.txtSize2->setText(LetterInput::numericText(font.Size));
    }
    m_w.showFonts();
    for (QLineEdit* e : {m_w.Text6, m_w.txtAdrRechts})
        if (e->text().isEmpty() || e->text() == QLatin1String(" "))
            e->setText(e == m_w.Text6 ? QStringLiteral("17") : QStringLiteral("90"));

    m_state.StartOption = Folders::readStartOption(m_state.WorkFolder, m_state.ProgramFolder);
    const qint64 n = BriefFields::handedOverRecord(m_state.StartOption);
    m_state.StartOption.clear();
    if (n > 0 && commitPending() && m_data1->findFirst(Queries::recordNumber(n)))
        m_w.List1->setCurrentRow(m_data1->absolutePosition());
    chkAdrRechts_Click();
}

ComposerInput frmBrief::input() const
{
    ComposerInput in;
    LetterFrames::readShared(m_w, m_w.txtStra_e1, in);
    in.ShowLetterhead = m_w.Check1->isChecked();
    in.Title = m_w.Combo1->currentText();
    in.FirstName = m_w.Text1[1]->text();
    in.LastName = m_w.Text1[2]->text();
    in.ContactTitle = m_w.Combo2->currentText();
    in.ContactName = m_w.Text1[3]->text();
    in.Street = m_bind1->value(QStringLiteral("Adresse")); // CR LF between two lines
    in.PostCode = m_w.Text1[5]->text();
    in.City = m_w.Text1[6]->text();
    in.CountryCode = m_w.txtLkennz->text();
    in.Country = m_data1->field(QStringLiteral("Land"));
    in.MemberNumber = m_w.txtMitglNr->text();
    in.BlockNumber = 0;
    for (int n = 1; n <= TextBlockFile::Count; ++n)
        if (m_w.Option1[n]->isChecked()) {
            in.BlockNumber = n;
            break;
        }
    return in;
}

void frmBrief::Command1_Click()
{
    // The row's own country is read; an edited one is stored first. The letter takes
    // the fields as they stand even when they could not be stored, if the user agrees.
    if (!commitPending()) {
        if (!AddressStore::closeUnsaved(this))
            return;
        m_closeAnyway = true;
    }
    const ComposerInput in = input();
    if (!LetterInput::fill(in, m_state))
        prompter().message(this, QString(),
                           QStringLiteral("Der Textbaustein %1 existiert nicht! Sie müssen ihn erst anlegen.")
                               .arg(in.BlockNumber));
    accept();
}

void frmBrief::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        Command6_Click();
        return;
    }
    QDialog::keyPressEvent(e);
}

void frmBrief::closeEvent(QCloseEvent* e)
{
    // The title-bar button is "Schließen": a letter only ever comes from "Brief erstellen".
    m_state.LetterCancelled = true;
    QDialog::closeEvent(e);
}

void frmBrief::Command6_Click()
{
    m_state.LetterCancelled = true;
    reject();
    // The user kept the window open for input that could not be stored: no decision yet.
    if (isVisible())
        m_state.LetterCancelled = false;
}

void frmBrief::done(int result)
{
    if (result != Accepted)
        m_state.LetterCancelled = true;
    // Write errors are of no concern to the user here.
    FontTextFile::write(m_state.WorkFolder, {m_w.txtFont2->text(), m_w.txtSize2->text()});
    const Saved saved[] = {m_row1.commit(this), m_row2.commit(this), m_rowOpt.commit(this)};
    bool failed = false;
    for (Saved s : saved) {
        // The user chose to go on editing, or to look at the other version first.
        if (s == Saved::Editing || s == Saved::OtherShown)
            return;
        failed = failed || s == Saved::Kept;
    }
    if (failed && !m_closeAnyway && !AddressStore::closeUnsaved(this))
        return;
    m_closeAnyway = false;
    m_w.Timer->stop();
    m_state.ToolbarRefreshOff = false;
    QDialog::done(result);
}

// --- Bound rows ------------------------------------------------------------------

bool frmBrief::commitPending()
{
    if (m_row1.commit(this) == Saved::Saved)
        return true;
    keepListOnCurrent();
    return false;
}

void frmBrief::keepListOnCurrent()
{
    const QSignalBlocker block(m_w.List1);
    m_w.List1->setCurrentRow(m_data1->absolutePosition());
}

void frmBrief::refillList()
{
    AddressStore::fillList(m_w.List1, *m_data1, AddressStore::Entry::Name);
}

void frmBrief::changeEvent(QEvent* e)
{
    QDialog::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow())
        followOtherChanges();
}

void frmBrief::followOtherChanges()
{
    m_searching = true;
    if (AddressStore::refreshIfChanged(*m_data1, m_w.List1, AddressStore::Entry::Name, m_row1.edited()))
        m_row1.takeShown();
    m_searching = false;
    m_row2.followOtherChanges();
    m_rowOpt.followOtherChanges();
}

void frmBrief::showDatabase()
{
    const QString path = AddressDatabase::displayName(m_state.AddressDbPath);
    m_w.lblDatenbank->setText(QStringLiteral("Adressen-Datenbank: ") + path);
    m_w.lblDatenbank->setToolTip(path);
    AddressStore::fillGroups(m_w.cboGruppe, m_state.WorkFolder, m_data1);
    // The box lists the groups; its text is the address's own group.
    const QSignalBlocker block(m_w.cboGruppe);
    m_w.cboGruppe->setEditText(m_data1->field(QStringLiteral("Gruppe")));
}

void frmBrief::Data1_Reposition(int position)
{
    m_row1.takeShown();
    if (m_lastNameEdited && !m_searching) {
        m_lastNameEdited = false;
        // The list shows the edited name; the row stays the current one.
        const QSignalBlocker block(m_data1);
        refillList();
        m_data1->setAbsolutePosition(position);
    }
    if (position >= 0 && position < m_w.List1->count() && m_w.List1->currentRow() != position) {
        const QSignalBlocker block(m_w.List1);
        m_w.List1->setCurrentRow(position);
    }
}

void frmBrief::List1_Click(int row)
{
    if (row >= 0 && row != m_data1->absolutePosition())
        m_search.moveTo(row);
}

// --- Navigation and search -------------------------------------------------------

void frmBrief::Command5_Click() { m_search.first(); }
void frmBrief::Command9_Click() { m_search.last(); }
void frmBrief::Command8_Click() { m_search.next(); }
void frmBrief::Command7_Click() { m_search.previous(); }

void frmBrief::txtFind_KeyUp() { m_search.typed(); }
void frmBrief::Timer_Timer() { m_search.blink(); }
void frmBrief::cmdAlle_Click() { m_search.showAll(); }

// --- Addresses -------------------------------------------------------------------

void frmBrief::Command2_Click()
{
    if (!commitPending())
        return;
    AddressStore::addAddress(this, *m_data1, *m_bind1, m_w.List1);
    m_row1.takeShown();
}

void frmBrief::Command3_Click()
{
    // The edits of the address shown are stored before the statement runs again; a
    // save that did not happen leaves the fields and the list as they are.
    if (!commitPending())
        return;
    m_lastNameEdited = false;
    const qint64 key = m_data1->keyAt(m_data1->absolutePosition());
    m_data1->setRecordSource(Queries::lastNameOrder());
    if (!m_data1->refresh())
        return;
    refillList();
    // The saved address stays on screen, wherever its name sorts it now.
    const int row = m_data1->rowOfKey(key);
    if (row >= 0)
        m_data1->setAbsolutePosition(row);
    AddressStore::fillGroups(m_w.cboGruppe, m_state.WorkFolder, m_data1);
    const QSignalBlocker block(m_w.cboGruppe);
    m_w.cboGruppe->setEditText(m_data1->field(QStringLiteral("Gruppe")));
    m_row1.takeShown();
}

void frmBrief::Command4_Click()
{
    // The address goes: its unsaved edits need no storing first.
    if (AddressStore::deleteAddress(this, *m_data1, m_w.List1))
        m_row1.takeShown();
    else
        keepListOnCurrent();
}

void frmBrief::imgOpen_Click()
{
    for (const Saved s : {m_row1.commit(this), m_row2.commit(this), m_rowOpt.commit(this)})
        if (s != Saved::Saved)
            return;
    if (!AddressStore::switchDatabase(this, m_state, *m_data1, m_data2, m_dataOpt, m_w.List1))
        return;
    // Every field shows the new file's rows; nothing of the old sender stays.
    m_bind1->show();
    m_bind2->show();
    m_bindOpt->show();
    showDatabase();
    m_row1.takeShown();
    m_row2.takeShown();
    m_rowOpt.takeShown();
}

void frmBrief::cmdImport_Click()
{
    if (!commitPending() || !frmAdressenImport::run(this, m_state.AddressDbPath))
        return;
    // The new addresses and groups show at once, the address on screen stays.
    followOtherChanges();
    showDatabase();
}

void frmBrief::cmdExport_Click()
{
    // Typed changes belong in the file before it is written out.
    if (commitPending())
        frmAdressenExport::run(this, m_state.AddressDbPath, m_data1->recordSource());
}

// --- Text blocks, options, help --------------------------------------------------

void frmBrief::Option1_Click(int index) { m_block = index; }

void frmBrief::Command10_Click()
{
    frmBausteine editor(m_state, this);
    editor.setTag(QString());
    for (int n = 1; n <= TextBlockFile::Count; ++n)
        if (m_w.Option1[n]->isChecked()) {
            editor.setTag(QString::number(n));
            break;
        }
    if (editor.Tag().isEmpty()) {
        prompter().message(this, QString(),
                           QStringLiteral("Wählen Sie zuerst einen Textbaustein aus!\r Klicken Sie dafür auf einen der "
                                          "Options-Button unten links in diesem Fenster."));
        return;
    }
    prompter().exec(&editor);
    // Coming back from the editor is an activation (new captions). Message boxes are
    // not windows of their own in this sense and do not re-activate.
    Form_Activate();
}

void frmBrief::chkAdrRechts_Click()
{
    const bool show = !m_w.chkAdrRechts->isChecked();
    m_w.txtAdrRechts->setVisible(show);
    m_w.lblAdrRechts->setVisible(show);
    m_w.lblAdrRechtsMm->setVisible(show);
}

void frmBrief::Image1_Click()
{
    m_helpShown = true;
    if (helpHandler())
        helpHandler()(this);
}

void frmBrief::mnuSchnellhilfe_Click() { Image1_Click(); }
