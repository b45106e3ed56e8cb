#pragma once
// The address picker: browse, search and group the addresses, show the current one and
// collect up to 24 of them for a sheet of labels. The label runs themselves live with
// the labels; the picker hands them over through one runner (setLabelRunner).

#include "PickerWidgets.h"

#include <QColor>
#include <QDialog>
#include <QLocale>
#include <functional>

class FieldBinder;
class RecordSource;
struct AppState;

class AdressenAuswaehlen : public QDialog {
    Q_OBJECT
public:
    enum class LabelRun {
        CurrentOnTemplate, // cmdMerge: the current address on all 24 labels of a template
        ChosenOnTemplate,  // Command1: one label per chosen address from the start position
        CurrentAsTable,    // Command2: the current address in a table of 24 blocks
    };
    using LabelRunner = std::function<void(AdressenAuswaehlen&, LabelRun)>;
    using HelpHandler = std::function<void(QWidget*)>;

    static const QColor LightGreen;

    explicit AdressenAuswaehlen(AppState& state, QWidget* parent = nullptr);
    ~AdressenAuswaehlen() override;

    // Opened for labels: not modal, deletes itself when closed.
    static AdressenAuswaehlen* showForLabels(AppState& state, QWidget* parent);
    // Opened to pick an address for a template: modal through the prompter.
    static int pickForTemplate(AppState& state, QWidget* parent);

    // Installed by the labels; the three label buttons call it.
    static void setLabelRunner(LabelRunner runner);
    static void setHelpHandler(HelpHandler handler);

    // International dialling code of the user's country; 0 when unknown.
    int HomeCountry = 0;
    static int diallingCodeOf(const QLocale& locale);

    RecordSource& data1() { return *m_data1; }
    const PickerWidgets& controls() const { return m_w; }
    // 1 to 24: the first label of the sheet to fill.
    int startPosition() const;
    // 10, 11, 12 or 14.
    int templateFontSize() const;
    QString templateFile() const;
    bool withoutTitle() const;
    // True when label n (1..24) will be filled by the one-label-per-address run.
    static bool labelFilled(int n, int start, int chosen);
    // Makes the address of chosen entry `index` the current one, by its key: a search
    // or group choice since cannot make it another address. Shows all addresses again
    // when the list shown now lacks it; false when it is gone from the file.
    bool moveToChosen(int index);

public slots:
    void LocalSettings();
    void Form_Activate();
    void List3_DblClick();
    void cmdFind_Click();
    void cboGruppe_Click(int index);
    void Command4_Click();
    void cmdInsert_Click();
    void cmdLoeschen_Click();
    void cmdUebern_Click();
    void Command3_Click();
    void List1_Click(int index);
    void lblPos_Click(int index);
    void cmdMerge_Click();
    void Command1_Click();
    void Command2_Click();
    void cmdCancel_Click();
    void Image1_Click();

protected:
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void Form_Load();
    void runLabels(LabelRun run);
    void takeFrom(int start);
    void addCurrent();
    void refreshSheetMap();
    static void paint(QWidget* w, QPalette::ColorRole role, const QColor& c);
    static QColor buttonFace();

    AppState& m_state;
    PickerWidgets m_w;
    RecordSource* m_data1;
    FieldBinder* m_binder;
    bool m_activated = false;
    int m_entryStyle = 0; // AddressStore::Entry of the list shown
};
