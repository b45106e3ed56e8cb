#pragma once
// "Tabelle einfügen": rows and columns of a new table at the input position of one
// document's editing surface.

#include <QDialog>

class QComboBox;
class QPushButton;
class TextControl;

class frmTableDlg : public QDialog {
    Q_OBJECT
public:
    explicit frmTableDlg(QWidget* parent = nullptr);

    // Shows the dialog modally for `surface`; true when it was confirmed.
    static bool edit(TextControl* surface, QWidget* parent = nullptr);

    TextControl* surface = nullptr;

    QComboBox* cboRows;
    QComboBox* cboColumns;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

public Q_SLOTS:
    void Form_Load();
    void cmdOK_Click();
    void cmdCancel_Click();
};
