#pragma once
// The controls of the letter composer and their layout in frames, created under one
// window. Object names are the control names the program and the tests look for.

#include <QList>

class AddressListBox;
class QCheckBox;
class QComboBox;
class QDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimer;
class QToolButton;

struct BriefWidgets {
    // Recipient ("Anschrift"). Text1[0] is unused: the fields are numbered from 1.
    QComboBox* Combo1;            // title
    QList<QLineEdit*> Text1;      // (1) first name, (2) last name, (3) attention, (5) post code, (6) town
    QPlainTextEdit* Street;       // Text1(4): the street may hold two lines
    QComboBox* Combo2;            // attention title
    QLineEdit* txtLkennz;
    QLineEdit* txtLand;
    QCheckBox* chkMitglNr;
    QLineEdit* txtMitglNr;
    QComboBox* cboGruppe;         // the address's group; the known groups to choose from

    // Sender.
    QLineEdit* txtName1;
    QLineEdit* txtStra_e1;
    QLineEdit* txtOrt1;
    QLineEdit* txtTelefon1;
    QLineEdit* txtFax;
    QLineEdit* txtMail;
    QLineEdit* txtInternet;
    QLineEdit* txtPostfach;
    QLineEdit* txtAbs;

    // Fonts.
    QLineEdit* txtFont;
    QLineEdit* txtSize;
    QLineEdit* txtFont2;
    QLineEdit* txtSize2;
    QComboBox* cboBriefKopf;
    QComboBox* cboBrieftext;
    QComboBox* cboSize;
    QComboBox* cboSize2;

    // Layout options.
    QCheckBox* Check1;
    QCheckBox* chkAbs;
    QCheckBox* chkAnrede;
    QCheckBox* chkEigeneVorl;
    QCheckBox* chkAdrRechts;
    QLineEdit* Text6;
    QLineEdit* txtAdrRechts;
    QLabel* lblAdrRechts;   // "Abstand Anschrift"
    QLabel* lblAdrRechtsMm; // "in mm von links"

    // Business letter, closing, attachments.
    QLineEdit* Text2;
    QLineEdit* Text3;
    QLineEdit* Text4;
    QLineEdit* Text5;
    QCheckBox* chkMfg;
    QComboBox* Combo3;
    QCheckBox* chkAnlage;
    QLineEdit* txtAnlage;

    // Text blocks.
    QList<QRadioButton*> Option1; // 0..10
    QPushButton* Command10;

    // Addresses.
    AddressListBox* List1;
    QLineEdit* txtFind;
    QPushButton* cmdAlle;
    QToolButton* Command5; // first
    QToolButton* Command7; // previous
    QToolButton* Command8; // next
    QToolButton* Command9; // last
    QPushButton* Command2;
    QPushButton* Command3;
    QPushButton* Command4;
    QToolButton* imgOpen;
    QToolButton* Image1;
    QTimer* Timer;
    QLabel* lblDatenbank;  // the address database in use
    QPushButton* cmdImport; // "Adressen importieren..."
    QPushButton* cmdExport; // "Adressen exportieren..."

    QPushButton* Command1; // "Brief &erstellen"
    QPushButton* Command6; // "&Schließen"

    // Creates every control with its caption and hint and lays them out in `window`.
    explicit BriefWidgets(QDialog* window);

    // Sets the two font lists to the names in txtFont and txtFont2. A name the system
    // does not have is added to its list, so the user still sees which font the
    // letter asks for (the text falls back to a similar one).
    void showFonts();
};
