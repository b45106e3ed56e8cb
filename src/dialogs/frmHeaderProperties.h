#pragma once
// "Einstellung Kopf und Fußzeilen ": the distances of header and footer from the
// page edge in whole millimetres, and whether the first page has its own parts.

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class TextControl;

class frmHeaderProperties : public QDialog {
    Q_OBJECT
public:
    explicit frmHeaderProperties(QWidget* parent = nullptr);

    // Shows the dialog modally for `surface`; true when it was confirmed.
    static bool edit(TextControl* surface, QWidget* parent = nullptr);

    TextControl* surface = nullptr;

    QLineEdit* txtHeader;
    QLineEdit* txtFooter;
    QCheckBox* chkFirstPageDifferent;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

public Q_SLOTS:
    void Form_Load();
    void txtHeader_LostFocus();
    void txtFooter_LostFocus();
    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
