#pragma once
// The mail-merge window: addresses are chosen from the database into a second list,
// the common text is written or taken from the clipboard, the letter options are set
// as in the letter composer, and then every letter is opened as a document, printed
// one after the other, or built on the letterhead template. Modeless; it closes
// itself after a run.

#include "ChosenEntries.h"
#include "SerialRun.h"
#include "SerialWidgets.h"

#include <QDialog>
#include <QHash>
#include <functional>

class FieldBinder;
class RecordSource;
struct AppState;

class frmSerienKontorix : public QDialog {
    Q_OBJECT
public:
    using HelpHandler = std::function<void(QWidget* owner)>;

    frmSerienKontorix(AppState& state, SerialHost host, QWidget* parent = nullptr);
    ~frmSerienKontorix() override;

    static void setHelpHandler(HelpHandler handler);

    const SerialWidgets& controls() const { return m_w; }
    const ChosenEntries& choice() const { return m_choice; }
    RecordSource& data1() { return *m_data1; }
    int chosenBlock() const { return m_block; }
    bool helpUsed() const { return m_helpUsed; }
    // What the letter of the current address is written from.
    ComposerInput input() const;

    // Waits `seconds` on the tick counter while the window keeps handling events.
    // False when the window was asked to close meanwhile.
    bool Delay(int seconds);

public slots:
    void Form_Activate();
    void List1_DblClick(int row);
    void Command8_Click();
    void Command7_Click();
    void cmdUebern_Click();
    void chkSortPlz_Click();
    void cboGruppe_Click(int index);
    void cmdImport_Click();
    void cmdExport_Click();
    void chkAdrRechts_Click();
    void Option1_Click(int index);
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command1_Click();
    void Command5_Click();
    void Command6_Click();
    void Image1_Click();
    // Opens the mail-merge help screen.
    void showHelp();

protected:
    void changeEvent(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    enum class Run { Documents, Print };
    void Form_Load();
    void bindFields();
    void refillList(int entryStyle);
    void showChosen();
    void setEditorShown(bool shown);
    void askClipboard();
    void runLetters(Run run);
    ComposerInput inputFor(int row);
    void saveOnClose();

    AppState& m_state;
    SerialHost m_host;
    SerialWidgets m_w;
    RecordSource* m_data1;
    RecordSource* m_data2;
    RecordSource* m_dataOpt;
    FieldBinder* m_bind1;
    FieldBinder* m_bind2;
    FieldBinder* m_bindOpt;
    QHash<QString, QString> m_shown2, m_shownOpt;
    ChosenEntries m_choice;
    int m_block = 0;
    bool m_helpUsed = false;
    bool m_clipboardAsked = false;
    bool m_activatedOnce = false;
    // Set when one of the window's own dialogs took the activation: coming back from
    // it is no activation of the window.
    bool m_ownDialogActive = false;
    bool m_running = false;
    bool m_closeRequested = false;
    bool m_saved = false;
};
