#include "PickerWidgets.h"

#include "AddressListBox.h"

#include "app/FormControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

using namespace FormControls;

QLabel* valueLabel(const QString& name)
{
    auto* l = named(new QLabel, name);
    l->setTextFormat(Qt::PlainText);
    l->setFrameShape(QFrame::StyledPanel);
    l->setMinimumWidth(60);
    return l;
}

} // namespace

PickerWidgets::PickerWidgets(QDialog* w)
{
    lblAnrede = valueLabel(QStringLiteral("lblAnrede"));
    lblVorname = valueLabel(QStringLiteral("lblVorname"));
    lblNachname = valueLabel(QStringLiteral("lblNachname"));
    lblStrasse = valueLabel(QStringLiteral("lblStrasse"));
    lblPLZ = valueLabel(QStringLiteral("lblPLZ"));
    lblOrt = valueLabel(QStringLiteral("lblOrt"));
    lblLKZ = valueLabel(QStringLiteral("lblLKZ"));
    lblAnredezHd = valueLabel(QStringLiteral("lblAnredezHd"));
    lblNamezHd = valueLabel(QStringLiteral("lblNamezHd"));

    List3 = named(new AddressListBox, QStringLiteral("List3"), QStringLiteral("Mit Doppelklick Adresse übernehmen"));
    List1 = named(new QListWidget, QStringLiteral("List1"));
    List2 = named(new QListWidget, QStringLiteral("List2"));
    List2->setVisible(false);

    txtFind = edit(QStringLiteral("txtFind"));
    cmdFind = tool(w, QStringLiteral("cmdFind"), QStyle::SP_FileDialogContentsView);
    // Not combo(): the picker keeps the combo box's own insert policy.
    cboGruppe = named(new QComboBox, QStringLiteral("cboGruppe"));
    cboGruppe->setEditable(true);
    Command4 = button(QStringLiteral("Command4"), QStringLiteral("Alle Adressen anzeigen"));
    cmdInsert = button(QStringLiteral("cmdInsert"), QStringLiteral("Adresse übernehmen  >>"));
    cmdLoeschen = button(QStringLiteral("cmdLoeschen"), QStringLiteral("<<  Eintrag entfernen"));
    cmdUebern = button(QStringLiteral("cmdUebern"), QString());
    Command3 = button(QStringLiteral("Command3"), QStringLiteral("Ab Auswahl im Listenfeld links 24 Adressen  übernehmen"));
    cmdMerge = button(QStringLiteral("cmdMerge"), QString(), QStringLiteral("Erstellt 24 Etiketten aus einer Vorlage"));
    Command1 = button(QStringLiteral("Command1"), QStringLiteral("Auswahl  &Adressen  übernehmen"),
                      QStringLiteral("Adressen aus Liste  übernehmen. Je Adresse ein Etikett"));
    Command1->setEnabled(false);
    Command2 = button(QStringLiteral("Command2"), QString(), QStringLiteral("Erstellt editierbare Etiketten ohne Vorlage"));
    cmdCancel = button(QStringLiteral("cmdCancel"), QStringLiteral("&Schließen"));
    Image1 = named(new QToolButton, QStringLiteral("Image1"), QStringLiteral("Hilfe"));
    Image1->setText(QStringLiteral("?"));

    lblPosition = named(new QLabel(QStringLiteral("1")), QStringLiteral("lblPosition"));
    lblPosition->setFrameShape(QFrame::StyledPanel);
    auto* sheet = new QGridLayout;
    sheet->setSpacing(2);
    for (int k = 0; k < 24; ++k) {
        auto* l = named(new QLabel(QString::number(k + 1)), QStringLiteral("lblPos(%1)").arg(k));
        l->setAlignment(Qt::AlignCenter);
        l->setFrameShape(QFrame::Box);
        l->setAutoFillBackground(true);
        l->setMinimumSize(28, 16);
        lblPos << l;
        sheet->addWidget(l, k / 3, k % 3);
    }

    auto* templates = frame(QStringLiteral("fraVorlage"), QStringLiteral("Schrift Vorlage"));
    QStringList sizes;
    for (int size : {10, 11, 12, 14})
        sizes << QStringLiteral("Schriftgröße %1").arg(size);
    addOptions(new QGridLayout(templates), optVorlage, QStringLiteral("optVorlage"), sizes);
    optVorlage[0]->setChecked(true);
    chkAnrede = check(QStringLiteral("chkAnrede"), QStringLiteral("Ohne Anrede"), false);

    // Left: search, groups and the result; middle: the current address and the
    // buttons; right: the choice, the sheet and the label runs.
    auto* left = new QVBoxLayout;
    auto* findLabel = label(QStringLiteral("Adresse &suchen:"), txtFind);
    auto* find = new QHBoxLayout;
    find->addWidget(txtFind);
    find->addWidget(cmdFind);
    left->addWidget(findLabel);
    left->addLayout(find);
    left->addWidget(cboGruppe);
    left->addWidget(Command4);
    left->addWidget(new QLabel(QStringLiteral("Mit Doppelklick Adresse übernehmen")));
    left->addWidget(List3, 1);
    left->addWidget(Command3);

    auto* address = new QGridLayout;
    address->addWidget(new QLabel(QStringLiteral("Anrede:")), 0, 0);
    address->addWidget(lblAnrede, 0, 1, 1, 2);
    address->addWidget(new QLabel(QStringLiteral("Vorname / Nachname:")), 1, 0);
    address->addWidget(lblVorname, 1, 1);
    address->addWidget(lblNachname, 1, 2);
    address->addWidget(new QLabel(QStringLiteral("Straße / Postfach:")), 2, 0);
    address->addWidget(lblStrasse, 2, 1, 1, 2);
    address->addWidget(new QLabel(QStringLiteral("PLZ / Ort:")), 3, 0);
    auto* town = new QHBoxLayout;
    town->addWidget(lblLKZ);
    town->addWidget(lblPLZ);
    address->addLayout(town, 3, 1);
    address->addWidget(lblOrt, 3, 2);
    address->addWidget(new QLabel(QStringLiteral("Z. Hd.")), 4, 0);
    address->addWidget(lblAnredezHd, 4, 1);
    address->addWidget(lblNamezHd, 4, 2);
    auto* middle = new QVBoxLayout;
    middle->addLayout(address);
    middle->addWidget(cmdInsert);
    middle->addWidget(cmdLoeschen);
    middle->addWidget(cmdUebern);
    middle->addWidget(templates);
    middle->addWidget(chkAnrede);
    middle->addStretch(1);
    auto* close = new QHBoxLayout;
    close->addWidget(Image1);
    close->addStretch(1);
    close->addWidget(cmdCancel);
    middle->addLayout(close);

    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("Auswahl Adressen")));
    right->addWidget(List1, 1);
    right->addWidget(List2);
    auto* start = new QHBoxLayout;
    start->addWidget(new QLabel(QStringLiteral("Beginnen bei Etikett:")));
    start->addWidget(lblPosition);
    right->addLayout(start);
    right->addLayout(sheet);
    right->addWidget(Command1);
    right->addWidget(cmdMerge);
    right->addWidget(Command2);

    auto* top = new QHBoxLayout(w);
    top->addLayout(left, 3);
    top->addLayout(middle, 3);
    top->addLayout(right, 2);
}
