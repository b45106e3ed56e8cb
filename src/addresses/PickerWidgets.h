#pragma once
// The controls of the address picker and their layout, created under one window.
// Object names are the control names the rest of the program and the tests look for.

#include <QList>

class AddressListBox;
class QCheckBox;
class QComboBox;
class QDialog;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QToolButton;

struct PickerWidgets {
    // Current address.
    QLabel* lblAnrede;
    QLabel* lblVorname;
    QLabel* lblNachname;
    QLabel* lblStrasse;
    QLabel* lblPLZ;
    QLabel* lblOrt;
    QLabel* lblLKZ;
    QLabel* lblAnredezHd;
    QLabel* lblNamezHd;

    AddressListBox* List3; // addresses of the current result
    QListWidget* List1; // chosen addresses
    QListWidget* List2; // hidden: their positions

    QLineEdit* txtFind;
    QToolButton* cmdFind;
    QComboBox* cboGruppe;
    QPushButton* Command4; // show all
    QPushButton* cmdInsert;
    QPushButton* cmdLoeschen;
    QPushButton* cmdUebern;
    QPushButton* Command3;
    QPushButton* cmdMerge;
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* cmdCancel;
    QToolButton* Image1;

    QLabel* lblPosition;
    QList<QLabel*> lblPos; // 24, a map of the sheet

    QList<QRadioButton*> optVorlage; // sizes 10, 11, 12, 14
    QCheckBox* chkAnrede;

    // Creates every control with its caption and lays them out in `window`.
    explicit PickerWidgets(QDialog* window);
};
