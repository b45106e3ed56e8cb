#include "frmBriefkuvert.h"

#include "addresses/AddressDatabase.h"
#include "addresses/AddressListBox.h"
#include "addresses/AddressStore.h"
#include "addresses/FieldBinder.h"
#include "addresses/Queries.h"
#include "addresses/RecordSource.h"
#include "app/AppState.h"
#include "app/Folders.h"
#include "app/Prompter.h"
#include "engine/surface/TextControl.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

namespace {
const QColor LightGreen(192, 255, 192);
}

frmBriefkuvert::frmBriefkuvert(AppState& state, TextControl* target, QWidget* parent)
    : QDialog(parent), m_state(state), m_target(target), m_w(this), m_data1(new RecordSource(this)),
      m_data2(new RecordSource(this)), m_bind1(new FieldBinder(m_data1, this)), m_bind2(new FieldBinder(m_data2, this))
{
    // Another desk changed addresses on the server: the list follows at once.
    connect(m_data1, &RecordSource::changedOnServer, this, [this] {
        if (m_activated &&
            AddressStore::refreshIfChanged(*m_data1, m_w.List1, AddressStore::Entry::Name, m_row1.edited()))
            m_row1.takeShown();
    });
    setObjectName(QStringLiteral("frmBriefkuvert"));
    setWindowTitle(QStringLiteral("Adressenauswahl   Briefkuvert"));
    setModal(true);
    // A write that fails is told: the input stays in the boxes and nothing is stored.
    for (RecordSource* s : {m_data1, m_data2})
        connect(s, &RecordSource::dataError, this, [this](const QString& text) {
            prompter().message(this, QStringLiteral("Adressen-Datenbank"), text, QMessageBox::Ok,
                               Prompter::Icon::Exclamation);
        });
    bindFields();
    // After the binder's own connection, so the boxes already show the new row.
    connect(m_data1, &RecordSource::positionChanged, this, [this] {
        m_row1.takeShown();
        applyContactRule();
    });
    connect(m_w.List1, &AddressListBox::currentRowChanged, this, &frmBriefkuvert::List1_Click);
    connect(m_w.cmdFind, &QToolButton::clicked, this, &frmBriefkuvert::cmdFind_Click);
    connect(m_w.txtFind, &QLineEdit::returnPressed, this, &frmBriefkuvert::cmdFind_Click);
    connect(m_w.cmdAlle, &QPushButton::clicked, this, &frmBriefkuvert::cmdAlle_Click);
    connect(m_w.Command1, &QPushButton::clicked, this, &frmBriefkuvert::Command1_Click);
    Form_Load();
}

frmBriefkuvert::~frmBriefkuvert() = default;

void frmBriefkuvert::bindFields()
{
    m_bind1->bind({{m_w.Text1[0], "Anrede"}, {m_w.Text1[1], "Vorname"}, {m_w.Text1[2], "Nachname"},
                  {m_w.Text1[3], "NamezHd"}, {m_w.Street, "Adresse"}, {m_w.Text1[5], "Postleitzahl"},
                  {m_w.Text1[6], "Ort"}, {m_w.Text1[7], "AnredezHd"}, {m_w.txtLkennz, "LaenderKZ"}});
    m_bind2->bind({{m_w.txtName1, "BriefKName"}, {m_w.txtStrasse1, "BriefKStraße"}, {m_w.txtOrt1, "BriefKOrt"},
                  {m_w.txtPostfach, "Postfach"}});
}

void frmBriefkuvert::Form_Load()
{
    if (Folders::dirExists(m_state.ProgramFolder))
        QDir::setCurrent(m_state.ProgramFolder);
    // A missing or unreadable database leaves the list and the boxes empty.
    if (Folders::fileExists(m_state.AddressDbPath) || AddressDatabase::isServerAddress(m_state.AddressDbPath))
        AddressStore::openSources(m_state.AddressDbPath, *m_data1, m_data2, nullptr);
    m_row1.takeShown();
    m_row2.takeShown();
}

void frmBriefkuvert::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!m_activated)
        Form_Activate();
}

void frmBriefkuvert::Form_Activate()
{
    m_activated = true;
    AddressStore::fillList(m_w.List1, *m_data1, AddressStore::Entry::Name);
    listRebuilt();
}

void frmBriefkuvert::listRebuilt()
{
    m_w.List2->setCurrentRow(EnvelopeLayout::DefaultFormat);
    applyContactRule();
}

void frmBriefkuvert::applyContactRule()
{
    const bool contact = !m_w.Text1[3]->text().isEmpty();
    for (QWidget* w : {static_cast<QWidget*>(m_w.Text1[3]), static_cast<QWidget*>(m_w.Text1[7]),
                       static_cast<QWidget*>(m_w.lblzHd)})
        w->setVisible(contact);
}

void frmBriefkuvert::changeEvent(QEvent* e)
{
    QDialog::changeEvent(e);
    if (e->type() != QEvent::ActivationChange || !isActiveWindow() || !m_activated)
        return;
    // What another program or window stored meanwhile shows at once.
    if (AddressStore::refreshIfChanged(*m_data1, m_w.List1, AddressStore::Entry::Name, m_row1.edited()))
        m_row1.takeShown();
    m_row2.followOtherChanges();
}

void frmBriefkuvert::List1_Click(int row)
{
    if (row < 0 || row == m_data1->absolutePosition())
        return;
    if (commitAddress())
        m_data1->setAbsolutePosition(row);
    applyContactRule();
}

bool frmBriefkuvert::commitAddress()
{
    if (m_row1.commit(this) == AddressStore::SaveResult::Saved)
        return true;
    // The list stays on the address whose input is kept.
    const QSignalBlocker block(m_w.List1);
    m_w.List1->setCurrentRow(m_data1->absolutePosition());
    return false;
}

void frmBriefkuvert::cmdFind_Click()
{
    if (!commitAddress())
        return;
    if (!AddressStore::searchButton(this, *m_data1, m_w.List1, m_w.txtFind->text()))
        return;
    setFiltered(true);
    listRebuilt();
}

void frmBriefkuvert::cmdAlle_Click()
{
    if (!commitAddress())
        return;
    m_data1->setRecordSource(Queries::nameOrder());
    if (!m_data1->refresh())
        return;
    setFiltered(false);
    AddressStore::fillList(m_w.List1, *m_data1, AddressStore::Entry::Name);
    listRebuilt();
}

void frmBriefkuvert::setFiltered(bool filtered)
{
    QPushButton* b = m_w.cmdAlle;
    b->setEnabled(filtered);
    QPalette p = QApplication::palette();
    if (filtered)
        p.setColor(QPalette::Button, LightGreen);
    b->setPalette(p);
    b->setAutoFillBackground(filtered);
}

EnvelopeLayout::Format frmBriefkuvert::chosenFormat() const
{
    if (m_w.chkBen->isChecked())
        return EnvelopeLayout::customFormat(m_w.txtfB->text().toInt(), m_w.txtfH->text().toInt());
    const int index = m_w.List2->currentRow();
    const auto& formats = EnvelopeLayout::formats();
    if (index < 0 || index >= int(formats.size()))
        return {};
    return formats[std::size_t(index)];
}

EnvelopeLayout::Sender frmBriefkuvert::sender() const
{
    return {m_w.txtName1->text(), m_w.txtStrasse1->text(), m_w.txtOrt1->text(), m_w.txtPostfach->text()};
}

EnvelopeLayout::Recipient frmBriefkuvert::recipient() const
{
    return {m_w.Text1[0]->text(), m_w.Text1[1]->text(), m_w.Text1[2]->text(),
            m_w.Text1[3]->text(), m_bind1->value(QStringLiteral("Adresse")), m_w.Text1[5]->text(),
            m_w.Text1[6]->text(), m_w.Text1[7]->text(), m_w.txtLkennz->text(),
            m_data1->field(QStringLiteral("Land"))};
}

void frmBriefkuvert::Command1_Click()
{
    m_state.ToolbarRefreshOff = true;
    const EnvelopeLayout::Format format = chosenFormat();
    if (m_w.chkBen->isChecked() && format.width == 0) {
        prompter().message(this, QString(),
                           QStringLiteral("Geben Sie für das benutzerdefinierte Format eine Breite und eine Höhe "
                                          "zwischen %1 und %2 mm ein.")
                               .arg(EnvelopeLayout::MinMm)
                               .arg(EnvelopeLayout::MaxMm));
        m_w.txtfB->setFocus();
        return;
    }
    if (m_target)
        EnvelopeLayout::build(*m_target, format, sender(), recipient(), m_w.chkFett->isChecked());
    accept();
}

void frmBriefkuvert::done(int result)
{
    using AddressStore::SaveResult;
    const SaveResult saved[] = {m_row1.commit(this), m_row2.commit(this)};
    bool failed = false;
    for (SaveResult s : saved) {
        if (s == SaveResult::Editing || s == SaveResult::OtherShown)
            return;
        failed = failed || s == SaveResult::Kept;
    }
    if (failed && !AddressStore::closeUnsaved(this))
        return;
    // The envelope is written: the toolbar follows the caret again.
    m_state.ToolbarRefreshOff = false;
    QDialog::done(result);
}
