#include "frmBrief.h"

#include "BriefFields.h"
#include "BriefKeys.h"
#include "LetterBindings.h"
#include "LetterFrames.h"
#include "SmallLayout.h"

#include "addresses/AddressListBox.h"
#include "addresses/AddressStore.h"
#include "addresses/FieldBinder.h"
#include "addresses/Queries.h"
#include "addresses/RecordSource.h"
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
const QColor LightGreen(192, 255, 192);
} // namespace

frmBrief::frmBrief(AppState& state, QWidget* parent)
    : QDialog(parent), m_state(state), m_w(this), m_data1(new RecordSource(this)), m_data2(new RecordSource(this)),
      m_dataOpt(new RecordSource(this)), m_bind1(new FieldBinder(m_data1, this)),
      m_bind2(new FieldBinder(m_data2, this)), m_bindOpt(new FieldBinder(m_dataOpt, this))
{
    setObjectName(QStringLiteral("frmBrief"));
    setWindowTitle(QStringLiteral("Brief erstellen"));
    setModal(true);

    for (RecordSource* s : {m_data1, m_data2})
        connect(s, &RecordSource::dataError, this, [this](const QString& text) {
            prompter().message(this, QString(), QStringLiteral("Data error event hit err:") + text);
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
                  {m_w.txtLand, "Land"}, {m_w.txtMitglNr, "MitgliedsNr"}});
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
    if (Folders::fileExists(m_state.AddressDbPath)) {
        if (Folders::dirExists(m_state.WorkFolder))
            QDir::setCurrent(m_state.WorkFolder);
        AddressStore::openSources(m_state.AddressDbPath, *m_data1, m_data2, m_dataOpt);
        if (m_data1->recordCount() > 0) {
            AddressStore::fillList(m_w.List1, *m_data1, AddressStore::Entry::Name);
            m_data1->moveFirst();
        }
    }
    m_searching = false;
    m_shown1 = m_bind1->values();
    m_shown2 = m_bind2->values();
    m_shownOpt = m_bindOpt->values();
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
    if (n > 0) {
        commitPending();
        if (m_data1->findFirst(Queries::recordNumber(n)))
            m_w.List1->setCurrentRow(m_data1->absolutePosition());
    }
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
    // The row's own country is read; an edited one is stored first.
    commitPending();
    const ComposerInput in = input();
    if (!LetterInput::fill(in, m_state))
        prompter().message(this, QString(),
                           QStringLiteral("Der Textbaustein %1 existiert nicht! Sie müssen ihn erst anlegen.")
                               .arg(in.BlockNumber));
    accept();
}

void frmBrief::keyPressEvent(QKeyEvent* e)
{
    // Escape is "Schließen", not the title-bar close that would still build a letter.
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        Command6_Click();
        return;
    }
    QDialog::keyPressEvent(e);
}

void frmBrief::Command6_Click()
{
    m_state.LetterCancelled = true;
    reject();
}

void frmBrief::done(int result)
{
    // Write errors are of no concern to the user here.
    FontTextFile::write(m_state.WorkFolder, {m_w.txtFont2->text(), m_w.txtSize2->text()});
    commitPending();
    commit(m_bind2, m_data2, m_shown2);
    commit(m_bindOpt, m_dataOpt, m_shownOpt);
    m_w.Timer->stop();
    m_state.ToolbarRefreshOff = false;
    QDialog::done(result);
}

// --- Bound rows ------------------------------------------------------------------

void frmBrief::commit(FieldBinder* binder, RecordSource* source, QHash<QString, QString>& shown)
{
    if (!source->isOpen())
        return;
    const QHash<QString, QString> now = binder->values();
    if (now == shown)
        return;
    // The sender and options tables hold one row; an empty table gets it now.
    if (source->absolutePosition() < 0 && source != m_data1 && !source->addNew())
        return;
    if (source->absolutePosition() >= 0 && binder->save())
        shown = now;
}

void frmBrief::commitPending() { commit(m_bind1, m_data1, m_shown1); }

void frmBrief::refillList()
{
    m_w.List1->setVisible(false);
    AddressStore::fillList(m_w.List1, *m_data1, AddressStore::Entry::Name);
    m_w.List1->setVisible(true);
}

void frmBrief::moveTo(int position)
{
    commitPending();
    m_data1->setAbsolutePosition(position);
}

void frmBrief::Data1_Reposition(int position)
{
    m_shown1 = m_bind1->values();
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
        moveTo(row);
}

// --- Navigation and search -------------------------------------------------------

void frmBrief::Command5_Click()
{
    commitPending();
    m_data1->moveFirst();
}

void frmBrief::Command9_Click()
{
    commitPending();
    m_data1->moveLast();
}

void frmBrief::Command8_Click()
{
    const int n = m_data1->recordCount();
    if (n > 0)
        moveTo((m_data1->absolutePosition() + 1) % n);
}

void frmBrief::Command7_Click()
{
    const int n = m_data1->recordCount();
    if (n > 0)
        moveTo(m_data1->absolutePosition() <= 0 ? n - 1 : m_data1->absolutePosition() - 1);
}

void frmBrief::txtFind_KeyUp()
{
    const QString word = m_w.txtFind->text();
    commitPending();
    m_searching = true;
    m_data1->setRecordSource(Queries::typeSearch(word));
    m_data1->refresh();
    m_searching = false;
    m_w.cmdAlle->setEnabled(true);
    if (m_data1->recordCount() == 0) {
        prompter().message(this, QString(),
                           QStringLiteral("Unter dem eingegebenen Suchwort   (") + word +
                               QStringLiteral(")  wurden keine Daten gefunden."));
        m_data1->setRecordSource(Queries::lastNameOrder());
        m_data1->refresh();
        return;
    }
    refillList();
    m_data1->moveFirst();
    m_w.Timer->start();
}

void frmBrief::Timer_Timer()
{
    QPushButton* b = m_w.cmdAlle;
    const QColor face = QApplication::palette().color(QPalette::Button);
    QPalette p = b->palette();
    p.setColor(QPalette::Button, p.color(QPalette::Button) == face ? LightGreen : face);
    b->setPalette(p);
    b->setAutoFillBackground(true);
}

void frmBrief::cmdAlle_Click()
{
    m_w.Timer->stop();
    m_w.cmdAlle->setPalette(QApplication::palette());
    m_w.cmdAlle->setEnabled(false);
    commitPending();
    m_data1->setRecordSource(Queries::nameOrder());
    m_data1->refresh();
    refillList();
}

// --- Addresses -------------------------------------------------------------------

void frmBrief::Command2_Click()
{
    commitPending();
    AddressStore::addAddress(this, *m_data1, *m_bind1, m_w.List1);
    m_shown1 = m_bind1->values();
}

void frmBrief::Command3_Click()
{
    m_lastNameEdited = false;
    const int pos = m_data1->absolutePosition();
    // The edits of the address shown are stored before the statement runs again.
    commitPending();
    m_data1->setRecordSource(Queries::lastNameOrder());
    m_data1->refresh();
    refillList();
    m_data1->moveFirst();
    m_data1->setAbsolutePosition(pos);
}

void frmBrief::Command4_Click()
{
    commitPending();
    AddressStore::deleteAddress(this, *m_data1, m_w.List1);
}

void frmBrief::imgOpen_Click()
{
    commitPending();
    commit(m_bind2, m_data2, m_shown2);
    commit(m_bindOpt, m_dataOpt, m_shownOpt);
    if (!AddressStore::switchDatabase(this, m_state, *m_data1, m_data2, m_dataOpt, m_w.List1))
        return;
    m_bind2->show();
    m_bindOpt->show();
    m_shown1 = m_bind1->values();
    m_shown2 = m_bind2->values();
    m_shownOpt = m_bindOpt->values();
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
