#pragma once
// The controls of the envelope window and their layout, created under one window.
// Object names are the control names the program and the tests look for.

#include <QList>

class AddressListBox;
class QCheckBox;
class QDialog;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

struct KuvertWidgets {
    // Sender ("Absender"), bound to the letterhead record.
    QLineEdit* txtName1;
    QLineEdit* txtStrasse1; // object name "txtStraße1"
    QLineEdit* txtOrt1;
    QLineEdit* txtPostfach;

    // Recipient, bound to the address row. Text1[4] is null: the street may hold two
    // lines and lives in Street (object name "Text1(4)").
    QList<QLineEdit*> Text1; // 0..7
    QPlainTextEdit* Street;
    QLabel* lblzHd; // hidden with Text1(3) and Text1(7)
    QLineEdit* txtLkennz;

    // Addresses.
    AddressListBox* List1;
    QLineEdit* txtFind;
    QToolButton* cmdFind;
    QPushButton* cmdAlle;

    // Format and build.
    QListWidget* List2;
    QCheckBox* chkBen;
    QLineEdit* txtfB;
    QLineEdit* txtfH;
    QCheckBox* chkFett;
    QPushButton* Command1;

    explicit KuvertWidgets(QDialog* window);
};
