#include "SerialWidgets.h"

#include "addresses/AddressListBox.h"
#include "app/FormControls.h"
#include "engine/surface/TextControl.h"
#include "letters/LetterFrames.h"

#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QListWidget>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace FormControls;

SerialWidgets::SerialWidgets(QDialog* w)
{
    // --- Addresses ---
    List1 = named(new AddressListBox, QStringLiteral("List1"), QStringLiteral("Adressen der Datenbank"));
    List2 = named(new QListWidget, QStringLiteral("List2"), QStringLiteral("Ausgewählte Adressen"));
    // Wide enough for "Nachname Vorname" of the usual lengths without scrolling.
    for (QAbstractItemView* list : {static_cast<QAbstractItemView*>(List1), static_cast<QAbstractItemView*>(List2)})
        list->setMinimumWidth(list->fontMetrics().horizontalAdvance(QStringLiteral("Holzmann GmbH Schreinerei")) + 24);
    Command8 = tool(w, QStringLiteral("Command8"), QStyle::SP_ArrowRight, QStringLiteral("Adresse übernehmen"));
    Command7 = tool(w, QStringLiteral("Command7"), QStyle::SP_ArrowLeft, QStringLiteral("Adresse entfernen"));
    cmdUebern = button(QStringLiteral("cmdUebern"), QStringLiteral("&Alle"), QStringLiteral("Alle Adressen übernehmen"));
    chkSortPlz = check(QStringLiteral("chkSortPlz"), QStringLiteral("Sortiert nach Postleitzahlen"), false);
    cboGruppe = combo(QStringLiteral("cboGruppe"), {}, true, QStringLiteral("Adressen einer Gruppe zeigen"));
    cmdImport = button(QStringLiteral("cmdImport"), QStringLiteral("Adressen &importieren..."),
                       QStringLiteral("Adressen aus einer CSV- oder vCard-Datei übernehmen"));
    cmdExport = button(QStringLiteral("cmdExport"), QStringLiteral("Adressen e&xportieren..."),
                       QStringLiteral("Die Adressen der linken Liste als CSV- oder vCard-Datei speichern"));

    Text1.resize(9, nullptr);
    for (int i = 0; i < Text1.size(); ++i) {
        Text1[i] = edit(QStringLiteral("Text1(%1)").arg(i));
        Text1[i]->setParent(w);
        Text1[i]->hide();
    }
    txtLkennz = edit(QStringLiteral("txtLkennz"));
    txtLkennz->setParent(w);
    txtLkennz->hide();

    auto* addresses = frame(QStringLiteral("fraAdressen"), QStringLiteral("Adressen"));
    auto* ag = new QGridLayout(addresses);
    addLabelled(ag, {{"&Gruppe:", cboGruppe, 0, 0, 3}});
    ag->addWidget(chkSortPlz, 1, 0, 1, 4);
    ag->addWidget(label(QStringLiteral("Adressen"), List1), 2, 0, 1, 2);
    ag->addWidget(label(QStringLiteral("Ausgewählt"), List2), 2, 3);
    ag->addWidget(List1, 3, 0, 1, 2);
    auto* arrows = new QVBoxLayout;
    arrows->addStretch(1);
    arrows->addWidget(Command8);
    arrows->addWidget(Command7);
    arrows->addWidget(cmdUebern);
    arrows->addStretch(1);
    ag->addLayout(arrows, 3, 2);
    ag->addWidget(List2, 3, 3);
    auto* exchange = new QHBoxLayout;
    exchange->addWidget(cmdImport);
    exchange->addWidget(cmdExport);
    exchange->addStretch(1);
    ag->addLayout(exchange, 4, 0, 1, 4);
    ag->setRowStretch(3, 1);
    ag->setColumnStretch(1, 1);
    ag->setColumnStretch(3, 1);

    // --- Sender ---
    txtName1 = edit(QStringLiteral("txtName1"));
    txtStrasse1 = edit(QStringLiteral("txtStraße1"));
    txtPostfach = edit(QStringLiteral("txtPostfach"));
    txtOrt1 = edit(QStringLiteral("txtOrt1"));
    txtTelefon1 = edit(QStringLiteral("txtTelefon1"));
    txtFax = edit(QStringLiteral("txtFax"));
    txtMail = edit(QStringLiteral("txtMail"));
    txtInternet = edit(QStringLiteral("txtInternet"));
    chkAbs = check(QStringLiteral("chkAbs"), QStringLiteral("Absenderfenster"), false);
    txtAbs = edit(QStringLiteral("txtAbs"));
    auto* sender = frame(QStringLiteral("fraBriefkopf"), QStringLiteral("Briefkopf"));
    auto* sg = new QGridLayout(sender);
    addLabelled(sg, {{"Name", txtName1, 0, 0},
                     {"Straße", txtStrasse1, 1, 0},
                     {"PLZ / Ort", txtOrt1, 2, 0},
                     {"Postfach", txtPostfach, 3, 0},
                     {"Telefon", txtTelefon1, 0, 2},
                     {"Fax", txtFax, 1, 2},
                     {"E-Mail", txtMail, 2, 2},
                     {"Internet", txtInternet, 3, 2}});
    sg->addWidget(chkAbs, 4, 0);
    sg->addWidget(txtAbs, 4, 1, 1, 3);
    sg->setColumnStretch(1, 1);
    sg->setColumnStretch(3, 1);

    // --- Layout and fonts ---
    Text6 = edit(QStringLiteral("Text6"), QStringLiteral("Abstand Briefkopf in mm von oben (5 bis 30)"));
    txtAdrRechts = edit(QStringLiteral("txtAdrRechts"), QStringLiteral("Abstand Anschrift in mm von links (80 bis 120)"));
    for (QLineEdit* e : {Text6, txtAdrRechts}) {
        e->setMaximumWidth(44);
        e->setMaxLength(3);
    }
    txtFont = edit(QStringLiteral("txtFont"));
    txtSize = edit(QStringLiteral("txtSize"));
    txtFont2 = edit(QStringLiteral("txtFont2"));
    txtSize2 = edit(QStringLiteral("txtSize2"));
    txtFont2->setText(QStringLiteral("Arial"));
    txtSize2->setText(QStringLiteral("10"));
    for (QLineEdit* e : {txtSize, txtSize2})
        e->setMaximumWidth(40);
    for (QLineEdit* e : {txtFont, txtFont2})
        e->setMinimumWidth(120);
    chkAdrRechts = check(QStringLiteral("chkAdrRechts"), QStringLiteral("Adressenfenster links (Absender rechts)"), false);
    lblAdrRechts = named(label(QStringLiteral("Abstand Anschrift in mm von links"), txtAdrRechts),
                         QStringLiteral("lblAdrRechts"));
    chkEigeneVorl = check(QStringLiteral("chkEigeneVorl"), QStringLiteral("Eigene &Vorlage für Briefkopf benutzen"), false);
    chkAnrede = check(QStringLiteral("chkAnrede"), QStringLiteral("Anrede (Sehr geehrte ...) benutzen"), true);
    auto* settings = frame(QStringLiteral("fraEinstellungen"), QStringLiteral("Einstellungen Briefkopf"));
    auto* eg = new QGridLayout(settings);
    addLabelled(eg, {{"Abstand Briefkopf in mm von oben", Text6, 0}});
    eg->addWidget(chkAdrRechts, 1, 0, 1, 4);
    eg->addWidget(lblAdrRechts, 2, 0);
    eg->addWidget(txtAdrRechts, 2, 1);
    eg->addWidget(chkEigeneVorl, 3, 0, 1, 4);
    eg->addWidget(chkAnrede, 4, 0, 1, 4);
    addLabelled(eg, {{"Schrift Briefkopf", txtFont, 5, 0, 2}});
    eg->addWidget(txtSize, 5, 3);
    addLabelled(eg, {{"Schrift Brieftext", txtFont2, 6, 0, 2}});
    eg->addWidget(txtSize2, 6, 3);
    eg->setColumnStretch(2, 1);

    // --- Letter parts ---
    chkMitglNr = check(QStringLiteral("chkMitglNr"), QStringLiteral("Mitglieds-Nr. eintragen"), false);
    const LetterFrames::Business business = LetterFrames::business(QStringLiteral("Ihr Zeichen"));
    Text2 = business.Text2;
    Text3 = business.Text3;
    Text4 = business.Text4;
    Text5 = business.Text5;
    business.grid->addWidget(chkMitglNr, 3, 0, 1, 4);

    txtDatum = edit(QStringLiteral("txtDatum"), QStringLiteral("Wenn leer wird aktuelles Systemdatum im Brief eingefügt"));
    fraDatum = frame(QStringLiteral("fraDatum"), QStringLiteral("Datum"));
    auto* dl = new QVBoxLayout(fraDatum);
    dl->addWidget(txtDatum);
    auto* dateHint = label(QStringLiteral("Wenn leer wird aktuelles Systemdatum im Brief eingefügt"), txtDatum);
    dateHint->setWordWrap(true);
    dl->addWidget(dateHint);

    const LetterFrames::Closing closing = LetterFrames::closing(
        {QStringLiteral("Mit freundlichen Grüßen"), QStringLiteral("Mit freundlichen Grüssen"),
         QStringLiteral("Mit herzlichen Grüßen"), QStringLiteral("Mit besten Empfehlungen"),
         QStringLiteral("Viele Grüße"), QStringLiteral("Liebe Grüße"), QStringLiteral("Gruß"),
         QStringLiteral("Bis bald"), QStringLiteral("Alles Liebe"), QStringLiteral("Hochachtungsvoll!")},
        false);
    chkMfg = closing.chkMfg;
    Combo3 = closing.Combo3;
    chkAnlage = closing.chkAnlage;
    txtAnlage = closing.txtAnlage;

    QGroupBox* blocks = LetterFrames::textBlockOptions(Option1);
    Option1[0]->setChecked(true);

    // --- Pause and runs ---
    cboTime = combo(QStringLiteral("cboTime"), {}, false, QStringLiteral("Pause in Sekunden nach jedem Brief"));
    for (int s = 0; s <= 10; ++s)
        cboTime->addItem(QString::number(s));
    cboTime->setCurrentIndex(0);
    fraZeit = frame(QStringLiteral("fraZeit"), QStringLiteral("Zeit je Druck"));
    auto* zl = new QHBoxLayout(fraZeit);
    zl->addWidget(cboTime);
    zl->addWidget(label(QStringLiteral("Empfohlen bei mehr als 30 Serienbriefen"), cboTime), 1);

    // --- The common text ---
    txtSerienbrief = named(new TextControl, QStringLiteral("txtSerienbrief"));
    txtSerienbrief->hide();
    Command2 = button(QStringLiteral("Command2"), QStringLiteral("Text für Serienbriefe erstellen"));
    Command3 = button(QStringLiteral("Command3"), QStringLiteral("Text für Serienbriefe ausblenden"));
    Command4 = button(QStringLiteral("Command4"), QStringLiteral("Schrift für markierten Text formatieren"));
    Command3->setEnabled(false);
    Command4->setEnabled(false);

    Command1 = button(QStringLiteral("Command1"), QStringLiteral("Serienbriefe &öffnen"),
                      QStringLiteral("Alle Serienbriefe werden als eigenes Dokument geöffnet. Nur für kleine Anzahl "
                                     "von Briefen geeignet. "));
    Command5 = button(QStringLiteral("Command5"), QStringLiteral("Serienbriefe &drucken"));
    Command6 = button(QStringLiteral("Command6"), QStringLiteral("&Schließen"));
    Image1 = tool(w, QStringLiteral("Image1"), QStyle::SP_MessageBoxQuestion, QStringLiteral("Hilfe zu diesem Fenster"));

    // The common-text editor stands above the option area and covers part of it
    // while shown; the frames it hides make the room.
    auto* textButtons = new QHBoxLayout;
    textButtons->addWidget(Command2);
    textButtons->addWidget(Command3);
    textButtons->addWidget(Command4);
    textButtons->addStretch(1);
    fraOptionen = frame(QStringLiteral("fraOptionen"), QString());
    fraOptionen->setFlat(true);
    auto* og = new QGridLayout(fraOptionen);
    og->setContentsMargins(0, 0, 0, 0);
    og->addWidget(sender, 0, 0, 1, 2);
    og->addWidget(settings, 1, 0, 2, 1);
    og->addWidget(business.frame, 1, 1);
    og->addWidget(closing.frame, 2, 1);
    og->addWidget(blocks, 3, 0, 1, 2);
    og->addWidget(fraDatum, 4, 0);
    og->addWidget(fraZeit, 4, 1);
    auto* right = new QVBoxLayout;
    right->addLayout(textButtons);
    right->addWidget(txtSerienbrief, 1);
    right->addWidget(fraOptionen);

    auto* runs = new QHBoxLayout;
    runs->addWidget(Image1);
    auto* note = label(QStringLiteral("Alle Serienbriefe werden als eigenes Dokument geöffnet. Nur für kleine Anzahl von "
                                      "Briefen geeignet. "),
                       Command1);
    note->setWordWrap(true);
    runs->addWidget(note, 1);
    runs->addWidget(Command1);
    runs->addWidget(Command5);
    runs->addWidget(Command6);

    auto* grid = new QGridLayout(w);
    grid->addWidget(addresses, 0, 0);
    grid->addLayout(right, 0, 1);
    grid->addLayout(runs, 1, 0, 1, 2);
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(1, 3);
}
