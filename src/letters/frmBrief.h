#pragma once
// The letter composer: pick or edit the recipient, keep the sender data, choose the
// layout, fonts, references, closing and a text block, then "Brief erstellen" fills
// LetterData for the letter command. The help screen lives elsewhere and is reached
// through a hook.

#include "BriefWidgets.h"
#include "LetterAddressSearch.h"
#include "LetterInput.h"

#include "addresses/AddressStore.h"
#include "addresses/BoundRow.h"

#include <QDialog>
#include <QHash>
#include <functional>

class BriefKeys;
class FieldBinder;
class RecordSource;
struct AppState;

class frmBrief : public QDialog {
    Q_OBJECT
public:
    using HelpHandler = std::function<void(QWidget* owner)>;

    explicit frmBrief(AppState& state, QWidget* parent = nullptr);
    ~frmBrief() override;

    static void setHelpHandler(HelpHandler handler);

    const BriefWidgets& controls() const { return m_w; }
    RecordSource& data1() { return *m_data1; }
    // What "Brief erstellen" would hand over now.
    ComposerInput input() const;
    int chosenBlock() const { return m_block; }
    bool lastNameEdited() const { return m_lastNameEdited; }
    bool helpShown() const { return m_helpShown; }

    // Closing by any means ends here: the letter-text font is written, pending edits
    // of the bound fields are saved; anything but "Brief erstellen" builds no letter.
    void done(int result) override;

public slots:
    void Form_Activate();
    void Command1_Click();
    void Command6_Click();
    void Command10_Click();
    void Option1_Click(int index);
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void List1_Click(int row);
    void txtFind_KeyUp();
    void cmdAlle_Click();
    void Timer_Timer();
    void imgOpen_Click();
    void cmdImport_Click();
    void cmdExport_Click();
    void Image1_Click();
    void mnuSchnellhilfe_Click();
    void chkAdrRechts_Click();
    void Data1_Reposition(int position);

protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void Form_Load();
    void adaptToSmallScreen();
    void bindFields();
    using Saved = AddressStore::SaveResult;
    // Saves the bound fields of the current address when they were edited; true when
    // nothing is left unsaved, so that the caller may move on. Otherwise the fields keep
    // the input and the list stays on the address.
    bool commitPending();
    void keepListOnCurrent();
    void refillList();
    // The lists and fields follow what another program or window stored meanwhile.
    void followOtherChanges();
    void showDatabase();

    AppState& m_state;
    BriefWidgets m_w;
    RecordSource* m_data1;
    RecordSource* m_data2;
    RecordSource* m_dataOpt;
    FieldBinder* m_bind1;
    FieldBinder* m_bind2;
    FieldBinder* m_bindOpt;
    BriefKeys* m_keys;
    BoundRow m_row1{m_bind1, m_data1, QStringLiteral("Die Adresse"), BoundRow::Kind::Address};
    BoundRow m_row2{m_bind2, m_data2, QStringLiteral("Die Absenderangaben"), BoundRow::Kind::SingleRow};
    BoundRow m_rowOpt{m_bindOpt, m_dataOpt, QStringLiteral("Die Einstellungen"), BoundRow::Kind::SingleRow};
    int m_block = 0;
    bool m_lastNameEdited = false;
    bool m_searching = false;
    bool m_helpShown = false;
    bool m_shown = false;
    bool m_closeAnyway = false;
    LetterAddressSearch m_search;
};
