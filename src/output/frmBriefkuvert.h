#pragma once
// The envelope window: pick the recipient from the address list (or find one), check
// the sender, choose the format, then "Briefkuvert  erstellen" writes the envelope into
// the document it was opened for and closes the window.

#include "EnvelopeLayout.h"
#include "KuvertWidgets.h"

#include "addresses/AddressStore.h"
#include "addresses/BoundRow.h"

#include <QDialog>
#include <QHash>
#include <QPointer>

class FieldBinder;
class RecordSource;
class TextControl;
struct AppState;

class frmBriefkuvert : public QDialog {
    Q_OBJECT
public:
    // `target` is the editing surface of the fresh document that receives the envelope.
    frmBriefkuvert(AppState& state, TextControl* target, QWidget* parent = nullptr);
    ~frmBriefkuvert() override;

    const KuvertWidgets& controls() const { return m_w; }
    RecordSource& addresses() { return *m_data1; }
    // The format the build would use now; width 0 when there is none to lay out.
    EnvelopeLayout::Format chosenFormat() const;
    EnvelopeLayout::Sender sender() const;
    EnvelopeLayout::Recipient recipient() const;

    // Closing by any means stores what was edited in the bound fields.
    void done(int result) override;

public slots:
    void Form_Activate();
    void List1_Click(int row);
    void cmdFind_Click();
    void cmdAlle_Click();
    void Command1_Click();

protected:
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void Form_Load();
    void bindFields();
    // Hides the attention-line boxes while the address has no contact person.
    void applyContactRule();
    // After the list was filled anew: DL again, and the boxes of the first row.
    void listRebuilt();
    void setFiltered(bool filtered);
    // Stores the edited address; false (the input kept) when it was not stored.
    bool commitAddress();

    AppState& m_state;
    QPointer<TextControl> m_target;
    KuvertWidgets m_w;
    RecordSource* m_data1; // addresses
    RecordSource* m_data2; // sender
    FieldBinder* m_bind1;
    FieldBinder* m_bind2;
    BoundRow m_row1{m_bind1, m_data1, QStringLiteral("Die Adresse"), BoundRow::Kind::Address};
    BoundRow m_row2{m_bind2, m_data2, QStringLiteral("Die Absenderangaben"), BoundRow::Kind::SingleRow};
    bool m_activated = false;
};
