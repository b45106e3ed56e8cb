#include "frmSerienKontorix.h"
#include "SerialChecks.h"

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
#include "engine/spelling/SpellMarks.h"
#include "engine/surface/TextControl.h"
#include "letters/ComposerOptions.h"
#include "letters/DigitField.h"
#include "letters/LetterBindings.h"
#include "letters/LetterFrames.h"
#include "letters/LetterInput.h"
#include "letters/LetterTemplate.h"
#include "letters/SmallLayout.h"
#include "textblocks/FontTextFile.h"
#include "textblocks/TextBlockFile.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>

namespace {

frmSerienKontorix::HelpHandler& helpHandler()
{
    static frmSerienKontorix::HelpHandler h;
    return h;
}

const QString CR = QStringLiteral("\r");

} // namespace

frmSerienKontorix::frmSerienKontorix(AppState& state, SerialHost host, QWidget* parent)
    : QDialog(parent), m_state(state), m_host(std::move(host)), m_w(this), m_data1(new RecordSource(this)),
      m_data2(new RecordSource(this)), m_dataOpt(new RecordSource(this)), m_bind1(new FieldBinder(m_data1, this)),
      m_bind2(new FieldBinder(m_data2, this)), m_bindOpt(new FieldBinder(m_dataOpt, this))
{
    // Another desk changed addresses on the server: the list follows at once, unless
    // addresses are being chosen from it.
    connect(m_data1, &RecordSource::changedOnServer, this, [this] {
        if (m_activatedOnce && m_w.List2->count() == 0)
            AddressStore::refreshIfChanged(*m_data1, m_w.List1,
                                           m_w.chkSortPlz->isChecked() ? AddressStore::Entry::PostCode
                                                                        : AddressStore::Entry::Name,
                                           false);
    });
    setObjectName(QStringLiteral("frmSerienKontorix"));
    setWindowTitle(QStringLiteral(" Serienbriefe erstellen aus Kontorix"));
    setModal(false);

    for (RecordSource* s : {m_data1, m_data2, m_dataOpt})
        connect(s, &RecordSource::dataError, this, [this](const QString& text) {
            prompter().message(this, QString(), QStringLiteral("Fehler in der Adressen-Datenbank: ") + text);
        });
    bindFields();
    SpellMarks::prepare(m_w.txtSerienbrief);
    AddressStore::linkList(m_w.List1, m_data1);
    connect(m_w.List1, &AddressListBox::entryDoubleClicked, this, &frmSerienKontorix::List1_DblClick);
    connect(m_w.Command8, &QToolButton::clicked, this, &frmSerienKontorix::Command8_Click);
    connect(m_w.Command7, &QToolButton::clicked, this, &frmSerienKontorix::Command7_Click);
    connect(m_w.cmdUebern, &QPushButton::clicked, this, &frmSerienKontorix::cmdUebern_Click);
    connect(m_w.chkSortPlz, &QCheckBox::clicked, this, &frmSerienKontorix::chkSortPlz_Click);
    connect(m_w.cboGruppe, qOverload<int>(&QComboBox::activated), this, &frmSerienKontorix::cboGruppe_Click);
    connect(m_w.cmdImport, &QPushButton::clicked, this, &frmSerienKontorix::cmdImport_Click);
    connect(m_w.cmdExport, &QPushButton::clicked, this, &frmSerienKontorix::cmdExport_Click);
    connect(m_w.chkAdrRechts, &QCheckBox::toggled, this, &frmSerienKontorix::chkAdrRechts_Click);
    for (int i = 0; i < m_w.Option1.size(); ++i)
        connect(m_w.Option1[i], &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
    connect(m_w.Command2, &QPushButton::clicked, this, &frmSerienKontorix::Command2_Click);
    connect(m_w.Command3, &QPushButton::clicked, this, &frmSerienKontorix::Command3_Click);
    connect(m_w.Command4, &QPushButton::clicked, this, &frmSerienKontorix::Command4_Click);
    connect(m_w.Command1, &QPushButton::clicked, this, &frmSerienKontorix::Command1_Click);
    connect(m_w.Command5, &QPushButton::clicked, this, &frmSerienKontorix::Command5_Click);
    connect(m_w.Command6, &QPushButton::clicked, this, &frmSerienKontorix::Command6_Click);
    connect(m_w.Image1, &QToolButton::clicked, this, &frmSerienKontorix::Image1_Click);
    connect(m_w.txtAnlage, &QLineEdit::textEdited, m_w.chkAnlage, [this] { m_w.chkAnlage->setChecked(true); });
    DigitField::attach(m_w.Text6, 5, 30);
    DigitField::attach(m_w.txtAdrRechts, 80, 120);

    // The common-text editor: its own context menu and the Insert key.
    TextControl* editor = m_w.txtSerienbrief;
    connect(editor, &TextControl::MouseDown, this, [this, editor](Qt::MouseButton button, QPoint pos) {
        if (button != Qt::RightButton)
            return;
        QMenu menu(this);
        menu.setObjectName(QStringLiteral("mnuSerienbrief"));
        menu.addAction(QStringLiteral("Kopieren"), editor, [editor] { editor->Clip(2); });
        menu.addAction(QStringLiteral("Ausschneiden"), editor, [editor] { editor->Clip(1); });
        menu.addAction(QStringLiteral("Einfügen"), editor, [editor] { editor->Clip(3); });
        menu.exec(editor->viewport()->mapToGlobal(pos));
    });
    connect(editor, &TextControl::KeyDown, this, [editor](int key, Qt::KeyboardModifiers mods) {
        if (key == Qt::Key_Insert && !(mods & Qt::ShiftModifier))
            editor->setInsertionMode(!editor->InsertionMode());
    });
    qApp->installEventFilter(this);
    Form_Load();
}

frmSerienKontorix::~frmSerienKontorix() { qApp->removeEventFilter(this); }

void frmSerienKontorix::setHelpHandler(HelpHandler handler) { helpHandler() = std::move(handler); }

void frmSerienKontorix::bindFields()
{
    m_bind1->bind({{m_w.Text1[0], "Anrede"}, {m_w.Text1[1], "Vorname"}, {m_w.Text1[2], "Nachname"},
                  {m_w.Text1[3], "NamezHd"}, {m_w.Text1[4], "AnredezHd"}, {m_w.Text1[5], "Adresse"},
                  {m_w.Text1[6], "Postleitzahl"}, {m_w.Text1[7], "Ort"}, {m_w.Text1[8], "MitgliedsNr"},
                  {m_w.txtLkennz, "LaenderKZ"}});
    LetterBindings::bindSender(*m_bind2, {m_w.txtName1, m_w.txtStrasse1, m_w.txtOrt1, m_w.txtTelefon1, m_w.txtFax,
                                          m_w.txtMail, m_w.txtInternet, m_w.txtPostfach, m_w.txtAbs, m_w.txtFont,
                                          m_w.txtSize});
    LetterBindings::bindOptions(*m_bindOpt, m_w.chkAdrRechts, m_w.Text6, m_w.txtAdrRechts);
}

void frmSerienKontorix::Form_Load()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen && screen->geometry().width() == 800)
        SmallLayout::shrink(this);
    if (Folders::dirExists(m_state.WorkFolder))
        QDir::setCurrent(m_state.WorkFolder);
    AddressStore::openSources(m_state.AddressDbPath, *m_data1, m_data2, m_dataOpt);
    m_choice.resize(m_data1->recordCount());
    AddressStore::fillGroups(m_w.cboGruppe, m_state.WorkFolder, m_data1);
    refillList(int(AddressStore::Entry::Name));
    m_bind2->show();
    m_bindOpt->show();
    m_shown2 = m_bind2->values();
    m_shownOpt = m_bindOpt->values();
    chkAdrRechts_Click();
}

void frmSerienKontorix::refillList(int entryStyle)
{
    AddressStore::fillList(m_w.List1, *m_data1, AddressStore::Entry(entryStyle));
    m_data1->moveFirst();
}

// --- Activation ------------------------------------------------------------------

void frmSerienKontorix::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    // Where the window system gives no activation (no display), showing is the first.
    QTimer::singleShot(0, this, [this] {
        if (!m_activatedOnce)
            Form_Activate();
    });
}

void frmSerienKontorix::changeEvent(QEvent* e)
{
    QDialog::changeEvent(e);
    if (e->type() != QEvent::ActivationChange)
        return;
    if (!isActiveWindow())
        return;
    // Addresses changed by another program or window show at once; while addresses are
    // chosen the list stays, because the choice is tied to its entries.
    if (m_activatedOnce && m_w.List2->count() == 0)
        AddressStore::refreshIfChanged(*m_data1, m_w.List1,
                                       m_w.chkSortPlz->isChecked() ? AddressStore::Entry::PostCode
                                                                    : AddressStore::Entry::Name,
                                       false);
    if (m_ownDialogActive) {
        m_ownDialogActive = false;
        return;
    }
    Form_Activate();
}

bool frmSerienKontorix::eventFilter(QObject* watched, QEvent* e)
{
    // One of this window's message boxes or dialogs taking over is remembered, so
    // that coming back from it does not count as an activation.
    if (e->type() == QEvent::WindowActivate && watched != this && watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        if (w->isWindow() && w->parentWidget() && w->parentWidget()->window() == this)
            m_ownDialogActive = true;
    }
    return false;
}

void frmSerienKontorix::Form_Activate()
{
    m_activatedOnce = true;
    if (m_helpUsed)
        return;
    for (int n = 1; n <= TextBlockFile::Count; ++n)
        m_w.Option1[n]->setText(TextBlockFile::caption(m_state.WorkFolder, n));
    if (LetterTextFont font; FontTextFile::read(m_state.WorkFolder, &font)) {
        m_w.txtFont2->setText(font.Name);
        m_w.txtSize2->setText(LetterInput::numericText(font.Size));
    }
    for (QLineEdit* e : {m_w.Text6, m_w.txtAdrRechts})
        if (e->text().trimmed().isEmpty())
            e->setText(e == m_w.Text6 ? QStringLiteral("17") : QStringLiteral("90"));
    TextControl* editor = m_w.txtSerienbrief;
    editor->setFontName(m_w.txtFont2->text());
    editor->setFontSize(LetterInput::numericText(m_w.txtSize2->text()).toDouble());
    if (!m_clipboardAsked) {
        m_clipboardAsked = true;
        askClipboard();
    }
    chkAdrRechts_Click();
    m_w.List1->setFocus();
}

void frmSerienKontorix::askClipboard()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !(data->hasText() || data->hasHtml() || data->hasFormat(QStringLiteral("text/rtf"))))
        return;
    const auto answer = prompter().message(
        this, QStringLiteral(" Serienbrief erstellen"),
        QStringLiteral("Sie haben Text in der Zwischenablage. ") + CR +
            QStringLiteral("Soll der Text für den Serienbrief verwendet werden") + CR,
        QMessageBox::Yes | QMessageBox::No, Prompter::Icon::Question);
    setEditorShown(true);
    if (answer != QMessageBox::Yes)
        return;
    m_w.txtSerienbrief->Clip(3);
    prompter().message(this, QString(),
                       QStringLiteral("Der Text aus der Zwischenablage wurde in den Serienbrief übernommen ") + CR +
                           QStringLiteral("Sie können diesen über die Schaltfläche  'Text für Serienbriefe "
                                          "erstellen'  anpassen"));
}

// --- Choosing addresses ----------------------------------------------------------

void frmSerienKontorix::showChosen()
{
    m_w.List2->clear();
    m_w.List2->addItems(m_choice.chosen());
}

void frmSerienKontorix::List1_DblClick(int row)
{
    m_w.List1->setCurrentRow(row);
    Command8_Click();
}

void frmSerienKontorix::Command8_Click()
{
    const int row = m_w.List1->currentRow();
    if (row < 0)
        return;
    m_choice.add(row, m_w.List1->text(row));
    showChosen();
    m_w.List2->scrollToBottom();
}

void frmSerienKontorix::Command7_Click()
{
    const int row = m_w.List2->currentRow();
    if (row < 0 || !m_w.List2->item(row)->isSelected()) {
        prompter().message(this, QString(), QStringLiteral("Es ist kein Eintrag ausgewählt."));
        return;
    }
    m_choice.remove(row, m_w.List1->entries());
    showChosen();
}

void frmSerienKontorix::cmdUebern_Click()
{
    m_choice.takeAll(m_w.List1->entries());
    showChosen();
}

void frmSerienKontorix::chkSortPlz_Click()
{
    m_choice.clear();
    showChosen();
    // Until the new order is read the list keeps the rows it shows.
    m_data1->setRecordSource(Queries::postcodeOrder());
    if (m_data1->refresh())
        refillList(int(AddressStore::Entry::PostCode));
}

void frmSerienKontorix::cboGruppe_Click(int index)
{
    const QString group = index >= 0 ? m_w.cboGruppe->itemText(index) : m_w.cboGruppe->currentText();
    m_data1->setRecordSource(Queries::group(group));
    if (!m_data1->refresh())
        return; // reported; the list stays as it is
    // The choice stays: a kept slot only counts where the entry at its index matches.
    refillList(int(m_w.chkSortPlz->isChecked() ? AddressStore::Entry::PostCode : AddressStore::Entry::Name));
}

void frmSerienKontorix::cmdImport_Click()
{
    if (!frmAdressenImport::run(this, m_state.AddressDbPath))
        return;
    // The list shows the new addresses; what was chosen stays chosen wherever the new
    // rows move it, and the group box keeps its text.
    QList<qint64> keys;
    for (const int row : m_choice.letters(m_w.List1->entries()))
        keys << m_data1->keyAt(row);
    if (!m_data1->refresh())
        return;
    refillList(int(m_w.chkSortPlz->isChecked() ? AddressStore::Entry::PostCode : AddressStore::Entry::Name));
    m_choice.resize(m_data1->recordCount());
    for (const qint64 key : std::as_const(keys))
        if (const int row = m_data1->rowOfKey(key); row >= 0)
            m_choice.keep(row, m_w.List1->text(row));
    const QString group = m_w.cboGruppe->currentText();
    AddressStore::fillGroups(m_w.cboGruppe, m_state.WorkFolder, m_data1);
    const QSignalBlocker block(m_w.cboGruppe);
    m_w.cboGruppe->setEditText(group);
}

void frmSerienKontorix::cmdExport_Click() { frmAdressenExport::run(this, m_state.AddressDbPath, m_data1->recordSource()); }

// --- Options ---------------------------------------------------------------------

void frmSerienKontorix::chkAdrRechts_Click()
{
    const bool show = !m_w.chkAdrRechts->isChecked();
    m_w.txtAdrRechts->setVisible(show);
    m_w.lblAdrRechts->setVisible(show);
}

void frmSerienKontorix::Option1_Click(int index) { m_block = index; }

// --- The common text -------------------------------------------------------------

void frmSerienKontorix::setEditorShown(bool shown)
{
    TextControl* editor = m_w.txtSerienbrief;
    if (shown) {
        // Measured in button heights; the frames hidden meanwhile give most of the room.
        editor->setMinimumHeight(m_w.Command2->sizeHint().height() * 7);
        editor->setFontName(m_w.txtFont2->text());
        editor->setFontSize(LetterInput::numericText(m_w.txtSize2->text()).toDouble());
    } else {
        // 1000 twips.
        editor->setMinimumHeight(0);
        editor->resize(editor->width(), int(1000.0 / 1440.0 * logicalDpiY()));
    }
    editor->setVisible(shown);
    if (shown)
        editor->setFocus();
    m_w.Command2->setEnabled(!shown);
    m_w.Command3->setEnabled(shown);
    m_w.Command4->setEnabled(shown);
    for (QWidget* w : std::initializer_list<QWidget*>{m_w.fraDatum, m_w.fraZeit, m_w.chkAdrRechts, m_w.chkEigeneVorl,
                                                      m_w.chkAnrede})
        w->setVisible(!shown);
}

void frmSerienKontorix::Command2_Click() { setEditorShown(true); }

void frmSerienKontorix::Command3_Click()
{
    TextControl* editor = m_w.txtSerienbrief;
    editor->setSelStart(0);
    editor->setSelLength(-1);
    editor->Clip(2);
    setEditorShown(false);
}

void frmSerienKontorix::Command4_Click()
{
    if (m_w.txtSerienbrief->SelLength() <= 0) {
        prompter().message(this, QString(), QStringLiteral("Sie müssen zuerst Text markieren"));
        return;
    }
    m_w.txtSerienbrief->FontDialog();
}

// --- Runs ------------------------------------------------------------------------

ComposerInput frmSerienKontorix::input() const
{
    ComposerInput in;
    LetterFrames::readShared(m_w, m_w.txtStrasse1, in);
    in.ShowLetterhead = true;
    // Read from the row itself: the street keeps its second line.
    ComposerOptions::setRecipient(in, *m_data1);
    in.BlockNumber = m_block;
    return in;
}

ComposerInput frmSerienKontorix::inputFor(int row)
{
    m_w.List1->setCurrentRow(row);
    m_data1->setAbsolutePosition(row);
    return input();
}

void frmSerienKontorix::runLetters(Run run)
{
    if (m_running
        || !SerialChecks::readyToRun(this, m_choice.isEmpty(), m_block == 0 && m_w.txtSerienbrief->Text().isEmpty()))
        return;
    m_running = true;
    const QList<int> rows = m_choice.letters(m_w.List1->entries());
    SerialLetter::Options options;
    options.date = m_w.txtDatum->text();
    // The common text reaches the letters through the clipboard.
    SerialRun runner(m_state, m_host, SerialLetter::CommonText::fromMimeData(QGuiApplication::clipboard()->mimeData()),
                     options, [this](int row) { return inputFor(row); });
    if (m_w.chkEigeneVorl->isChecked()) {
        if (!LetterTemplate::existsAnywhere(m_state))
            LetterTemplate::reportMissing(this, m_state);
        runner.onTemplate(rows, LetterTemplate::path(m_state));
    } else if (run == Run::Documents) {
        runner.openAsDocuments(rows);
    } else {
        const int seconds = m_w.cboTime->currentText().toInt();
        runner.print(rows, seconds, [this](int s) { return Delay(s); });
    }
    m_running = false;
    close();
}

bool frmSerienKontorix::Delay(int seconds)
{
    return SerialChecks::waitSeconds(seconds, [this] { return m_closeRequested; });
}

void frmSerienKontorix::Command1_Click() { runLetters(Run::Documents); }

void frmSerienKontorix::Command5_Click() { runLetters(Run::Print); }

// --- Closing and help ------------------------------------------------------------

void frmSerienKontorix::Command6_Click() { close(); }

void frmSerienKontorix::closeEvent(QCloseEvent* e)
{
    // During a run the window stays until the run has stopped after the letter in hand.
    if (m_running) {
        m_closeRequested = true;
        e->ignore();
        return;
    }
    saveOnClose();
    QDialog::closeEvent(e);
}

void frmSerienKontorix::saveOnClose()
{
    if (m_saved)
        return;
    m_saved = true;
    if (Folders::dirExists(m_state.WorkFolder))
        QDir::setCurrent(m_state.WorkFolder);
    // A file that cannot be written is no concern of the user here.
    FontTextFile::write(m_state.WorkFolder, {m_w.txtFont2->text(), m_w.txtSize2->text()});
    // Edited sender and option fields are kept, as in the letter composer.
    const struct {
        FieldBinder* binder;
        RecordSource* source;
        const QHash<QString, QString>* shown;
        QString what;
    } rows[] = {{m_bind2, m_data2, &m_shown2, QStringLiteral("Die Absenderangaben")},
                {m_bindOpt, m_dataOpt, &m_shownOpt, QStringLiteral("Die Einstellungen")}};
    for (const auto& r : rows) {
        if (!r.source->isOpen() || r.binder->values() == *r.shown)
            continue;
        if (r.source->absolutePosition() < 0 && !r.source->addNew())
            continue;
        AddressStore::saveBound(this, *r.binder, *r.source, r.what);
    }
}

void frmSerienKontorix::Image1_Click()
{
    m_helpUsed = true;
    showHelp();
}

void frmSerienKontorix::showHelp()
{
    if (helpHandler())
        helpHandler()(this);
}
