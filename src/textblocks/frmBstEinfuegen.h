#pragma once
// The insert window: previews one of the ten text blocks and writes it into a
// document's editing surface at the caret.

#include "BlockWidgets.h"

#include <QDialog>
#include <QPointer>

class QPushButton;
class QTextEdit;
class TextControl;
struct AppState;

class frmBstEinfuegen : public QDialog {
    Q_OBJECT
public:
    // `surface`: the editing surface of the active document window.
    frmBstEinfuegen(AppState& state, TextControl* surface, QWidget* parent = nullptr);
    ~frmBstEinfuegen() override;

    // The block number chosen last; 0 for none.
    int blockNumber() const { return m_number; }
    QTextEdit* txtText() const { return m_txtText; }
    const BlockOptions& options() const { return m_options; }

public slots:
    void Form_Activate();
    void Option1_Click(int n);
    void Command3_Click();
    void Command1_Click();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void showError(int number, const QString& description);

    AppState& m_state;
    QPointer<TextControl> m_surface;
    BlockOptions m_options;
    QTextEdit* m_txtText;
    QPushButton* m_Command3;
    QPushButton* m_Command1;
    int m_number = 0;
    bool m_activated = false;
};
