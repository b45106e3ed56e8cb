#pragma once
// The controls of the mail-merge window and their layout, created under one window.
// Object names are the control names the program and the tests look for.

#include <QList>

class AddressListBox;
class QCheckBox;
class QComboBox;
class QDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QToolButton;
class TextControl;

struct SerialWidgets {
    // Addresses: the left list over Data1, the chosen ones on the right.
    AddressListBox* List1;
    QListWidget* List2;
    QToolButton* Command8; // choose
    QToolButton* Command7; // remove from the choice
    QPushButton* cmdUebern; // "Alle"
    QCheckBox* chkSortPlz;
    QComboBox* cboGruppe;
    QPushButton* cmdImport; // "Adressen importieren..."
    QPushButton* cmdExport; // "Adressen exportieren..."

    // Hidden fields of the current address: Text1(0..8) are Anrede, Vorname,
    // Nachname, NamezHd, AnredezHd, Adresse, Postleitzahl, Ort, MitgliedsNr.
    QList<QLineEdit*> Text1;
    QLineEdit* txtLkennz;

    // Sender (Briefkopf).
    QLineEdit* txtName1;
    QLineEdit* txtStrasse1; // "txtStraße1"
    QLineEdit* txtPostfach;
    QLineEdit* txtOrt1;
    QLineEdit* txtTelefon1;
    QLineEdit* txtFax;
    QLineEdit* txtMail;
    QLineEdit* txtInternet;
    QCheckBox* chkAbs;
    QLineEdit* txtAbs;

    // Layout and fonts.
    QLineEdit* Text6;
    QLineEdit* txtFont;
    QLineEdit* txtSize;
    QLineEdit* txtFont2;
    QLineEdit* txtSize2;
    QCheckBox* chkAdrRechts;
    QLineEdit* txtAdrRechts;
    QLabel* lblAdrRechts;
    QCheckBox* chkEigeneVorl;

    // Letter parts.
    QLineEdit* Text2;
    QLineEdit* Text3;
    QGroupBox* fraDatum;
    QLineEdit* txtDatum;
    QLineEdit* Text4;
    QLineEdit* Text5;
    QCheckBox* chkMitglNr;
    QCheckBox* chkAnrede;
    QCheckBox* chkMfg;
    QComboBox* Combo3;
    QCheckBox* chkAnlage;
    QLineEdit* txtAnlage;
    QList<QRadioButton*> Option1; // 0..10
    QGroupBox* fraOptionen;

    // The common text and its buttons.
    TextControl* txtSerienbrief;
    QPushButton* Command2; // show the editor
    QPushButton* Command3; // hide it (and copy its text)
    QPushButton* Command4; // font of the selection

    // Runs.
    QGroupBox* fraZeit;
    QComboBox* cboTime;
    QPushButton* Command1; // every letter as a document
    QPushButton* Command5; // print
    QPushButton* Command6; // close
    QToolButton* Image1;   // help

    explicit SerialWidgets(QDialog* window);
};
