#pragma once
// "Hyperlink einfügen": a text shown in the document that links to an internet
// address. In a field it edits that field; elsewhere it inserts a new link field.

#include <QDialog>

class QLineEdit;
class QPushButton;
class TextControl;

class frmHyperlink : public QDialog {
    Q_OBJECT
public:
    explicit frmHyperlink(QWidget* parent = nullptr);

    // Shows the dialog modally for `surface`; true when it was confirmed.
    static bool edit(TextControl* surface, QWidget* parent = nullptr);

    TextControl* surface = nullptr;

    QLineEdit* txtLinkedText;
    QLineEdit* txtLinkTarget;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

public Q_SLOTS:
    void Form_Load();
    void cmdOK_Click();
    void cmdCancel_Click();
};
