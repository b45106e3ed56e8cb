#include "BriefWidgets.h"

#include "LetterFrames.h"

#include "addresses/AddressListBox.h"
#include "app/FormControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

using namespace FormControls;

BriefWidgets::BriefWidgets(QDialog* w)
{
    const QString notEmptyOnly = QStringLiteral("Dieses Feld erscheint nur im Briefkopf wenn Sie eine Eingabe machen");

    // --- Recipient ---
    Combo1 = combo(QStringLiteral("Combo1"),
                   {QStringLiteral("Herrn"), QStringLiteral("Frau"), QStringLiteral("Firma"), QStringLiteral("Herr Dr."),
                    QStringLiteral("Frau Dr."), QStringLiteral("Liebe"), QStringLiteral("Lieber"),
                    QStringLiteral("Familie"), QStringLiteral("An die"), QStringLiteral("An das")},
                   true);
    Text1.resize(7, nullptr);
    for (int i : {1, 2, 3, 5, 6})
        Text1[i] = edit(QStringLiteral("Text1(%1)").arg(i));
    Street = twoLineEdit(QStringLiteral("Text1(4)"));
    Combo2 = combo(QStringLiteral("Combo2"),
                   {QStringLiteral("Firma"), QStringLiteral("Frau"), QStringLiteral("Frl."), QStringLiteral("Herrn")}, true);
    txtLkennz = edit(QStringLiteral("txtLkennz"), QStringLiteral("Länderkennzeichen"));
    txtLkennz->setMaximumWidth(36);
    Text1[5]->setMinimumWidth(56);
    Text1[5]->setMaximumWidth(64);
    Text1[6]->setMinimumWidth(110);
    txtLand = edit(QStringLiteral("txtLand"));
    chkMitglNr = check(QStringLiteral("chkMitglNr"), QStringLiteral("Mitglieds-Nr. eintragen"), false);
    txtMitglNr = edit(QStringLiteral("txtMitglNr"));
    cboGruppe = combo(QStringLiteral("cboGruppe"), {}, true, QStringLiteral("Gruppe der Adresse"));

    auto* anschrift = frame(QStringLiteral("fraAnschrift"), QStringLiteral("Anschrift"));
    auto* ag = new QGridLayout(anschrift);
    addLabelled(ag, {{"A&nrede", Combo1, 0, 0, 2}, {"Vorname / Firma", Text1[1], 1, 0, 2},
                     {"Nachname / Firma", Text1[2], 2, 0, 2}});
    ag->addWidget(label(QStringLiteral(" zu Händen"), Text1[3]), 3, 0);
    ag->addWidget(Combo2, 3, 1);
    ag->addWidget(Text1[3], 3, 2);
    ag->addWidget(label(QStringLiteral(" Straße"), Street), 4, 0, Qt::AlignTop);
    ag->addWidget(Street, 4, 1, 1, 2);
    ag->addWidget(label(QStringLiteral("PLZ / Ort"), Text1[5]), 5, 0);
    auto* town = new QHBoxLayout;
    town->addWidget(txtLkennz);
    town->addWidget(Text1[5]);
    town->addWidget(Text1[6], 1);
    ag->addLayout(town, 5, 1, 1, 2);
    addLabelled(ag, {{"Land", txtLand, 6, 0, 2}, {"&Gruppe", cboGruppe, 7, 0, 2}});
    ag->setColumnStretch(2, 1);
    Combo2->setMaximumWidth(80);

    // --- Business letter, closing, attachments ---
    const LetterFrames::Business business = LetterFrames::business(QStringLiteral("Ihre Zeichen"));
    Text2 = business.Text2;
    Text3 = business.Text3;
    Text4 = business.Text4;
    Text5 = business.Text5;
    business.grid->addWidget(chkMitglNr, 3, 0, 1, 2);
    business.grid->addWidget(txtMitglNr, 3, 2, 1, 2);

    const LetterFrames::Closing closing = LetterFrames::closing(
        {QStringLiteral("Mit freundlichen Grüßen"), QStringLiteral("Mit herzlichen Grüßen"),
         QStringLiteral("Mit besten Empfehlungen"), QStringLiteral("Viele Grüße"), QStringLiteral("Liebe Grüße"),
         QStringLiteral("Gruß"), QStringLiteral("Bis bald"), QStringLiteral("Alles Liebe"),
         QStringLiteral("Hochachtungsvoll!")},
        true);
    chkMfg = closing.chkMfg;
    Combo3 = closing.Combo3;
    chkAnlage = closing.chkAnlage;
    txtAnlage = closing.txtAnlage;

    // --- Sender ---
    txtName1 = edit(QStringLiteral("txtName1"));
    txtStra_e1 = edit(QStringLiteral("txtStra_e1"));
    txtOrt1 = edit(QStringLiteral("txtOrt1"));
    txtTelefon1 = edit(QStringLiteral("txtTelefon1"));
    txtFax = edit(QStringLiteral("txtFax"), notEmptyOnly);
    txtMail = edit(QStringLiteral("txtMail"), notEmptyOnly);
    txtInternet = edit(QStringLiteral("txtInternet"), notEmptyOnly);
    txtPostfach = edit(QStringLiteral("txtPostfach"), notEmptyOnly);
    txtAbs = edit(QStringLiteral("txtAbs"));
    auto* sender = frame(QStringLiteral("fraBriefkopf"),
                         QStringLiteral("Briefkopf geben Sie hier Ihre Anschrift ein. Ihre Eingaben werden gespeichert"));
    auto* sg = new QGridLayout(sender);
    addLabelled(sg, {{"Name", txtName1, 0, 0},
                     {"Straße", txtStra_e1, 1, 0},
                     {"PLZ / Ort", txtOrt1, 2, 0},
                     {"Telefon", txtTelefon1, 0, 2},
                     {"E-Mail", txtMail, 1, 2},
                     {"Postfach", txtPostfach, 2, 2},
                     {"Fax", txtFax, 0, 4},
                     {"Internet", txtInternet, 1, 4}});
    for (int c : {1, 3, 5})
        sg->setColumnStretch(c, 1);
    auto* senderWindow = frame(QStringLiteral("fraAbsender"), QStringLiteral("Absenderfenster"));
    auto* swl = new QHBoxLayout(senderWindow);
    swl->addWidget(txtAbs);

    // --- Fonts ---
    txtFont = edit(QStringLiteral("txtFont"));
    txtSize = edit(QStringLiteral("txtSize"));
    txtFont2 = edit(QStringLiteral("txtFont2"));
    txtSize2 = edit(QStringLiteral("txtSize2"));
    txtSize->setMaximumWidth(40);
    txtSize2->setMaximumWidth(40);
    // The letter text's font until "FontText.txt" says otherwise.
    txtFont2->setText(QStringLiteral("Arial"));
    txtSize2->setText(QStringLiteral("10"));
    const QStringList sizes = {QStringLiteral("8"),  QStringLiteral("9"),  QStringLiteral("10"), QStringLiteral("11"),
                               QStringLiteral("12"), QStringLiteral("14"), QStringLiteral("16"), QStringLiteral("18"),
                               QStringLiteral("20"), QStringLiteral("22"), QStringLiteral("24")};
    cboBriefKopf = combo(QStringLiteral("cboBriefKopf"), {}, false, QStringLiteral("Schriftauswahl für Briefkopf"));
    cboBrieftext = combo(QStringLiteral("cboBrieftext"), {}, false, QStringLiteral("Schriftauswahl für Brieftext"));
    cboSize = combo(QStringLiteral("cboSize"), sizes, true, QStringLiteral("Schriftgröße Briefkopf"));
    cboSize2 = combo(QStringLiteral("cboSize2"), sizes, true, QStringLiteral("Schriftgröße Brieftext"));
    for (QComboBox* c : {cboSize, cboSize2}) {
        c->setCurrentIndex(2); // "10"
        c->setMaximumWidth(64);
    }
    for (QComboBox* c : {cboBriefKopf, cboBrieftext}) {
        c->setMaximumWidth(130);
        c->setMaxVisibleItems(20);
    }
    auto* fonts = frame(QStringLiteral("fraSchrift"), QStringLiteral("Voreinstellung Schrift"));
    auto* fg = new QGridLayout(fonts);
    fg->addWidget(label(QStringLiteral("Briefkopf"), txtFont), 0, 0);
    fg->addWidget(txtFont, 0, 1);
    fg->addWidget(cboBriefKopf, 0, 2);
    fg->addWidget(txtSize, 0, 3);
    fg->addWidget(cboSize, 0, 4);
    fg->addWidget(label(QStringLiteral("Brieftext"), txtFont2), 1, 0);
    fg->addWidget(txtFont2, 1, 1);
    fg->addWidget(cboBrieftext, 1, 2);
    fg->addWidget(txtSize2, 1, 3);
    fg->addWidget(cboSize2, 1, 4);
    fg->setColumnStretch(1, 1);

    // --- Layout options ---
    Check1 = check(QStringLiteral("Check1"), QStringLiteral("Briefkopf"), true);
    chkAbs = check(QStringLiteral("chkAbs"), QStringLiteral("Absenderfenster anzeigen"), false);
    chkAnrede = check(QStringLiteral("chkAnrede"), QStringLiteral("Anrede (Sehr geehrte ...) benutzen"), true);
    chkEigeneVorl = check(QStringLiteral("chkEigeneVorl"), QStringLiteral("Eigene &Vorlage benutzen"), false);
    chkAdrRechts = check(QStringLiteral("chkAdrRechts"), QStringLiteral("Adressenfenster links (Absender rechts)"), false);
    Text6 = edit(QStringLiteral("Text6"));
    txtAdrRechts = edit(QStringLiteral("txtAdrRechts"));
    for (QLineEdit* e : {Text6, txtAdrRechts}) {
        e->setMaximumWidth(44);
        e->setMaxLength(3);
    }
    lblAdrRechts = named(label(QStringLiteral("Abstand Anschrift"), txtAdrRechts), QStringLiteral("lblAdrRechts"));
    lblAdrRechtsMm = named(label(QStringLiteral("in mm von links")), QStringLiteral("lblAdrRechtsMm"));
    auto* options = frame(QStringLiteral("fraEinstellungen"), QStringLiteral("Einstellungen Briefkopf"));
    auto* og = new QGridLayout(options);
    og->addWidget(Check1, 0, 0);
    og->addWidget(chkAbs, 0, 1, 1, 3);
    og->addWidget(chkAnrede, 1, 0, 1, 4);
    og->addWidget(chkEigeneVorl, 2, 0, 1, 4);
    og->addWidget(chkAdrRechts, 3, 0, 1, 4);
    og->addWidget(label(QStringLiteral("Abstand Briefkopf"), Text6), 4, 0);
    og->addWidget(Text6, 4, 1);
    og->addWidget(label(QStringLiteral("in mm von oben")), 4, 2);
    og->addWidget(lblAdrRechts, 5, 0);
    og->addWidget(txtAdrRechts, 5, 1);
    og->addWidget(lblAdrRechtsMm, 5, 2);
    og->setColumnStretch(3, 1);

    // --- Text blocks ---
    QGroupBox* blocks = LetterFrames::textBlockOptions(Option1);
    Command10 = button(QStringLiteral("Command10"), QStringLiteral("Textbaustein anlegen"));
    static_cast<QGridLayout*>(blocks->layout())->addWidget(Command10, 3, 2);

    // --- Addresses ---
    List1 = named(new AddressListBox, QStringLiteral("List1"));
    txtFind = edit(QStringLiteral("txtFind"), QStringLiteral("Suchen nach Nachname oder Vorname"));
    txtFind->setClearButtonEnabled(true);
    txtFind->setMinimumWidth(60);
    cmdAlle = button(QStringLiteral("cmdAlle"), QStringLiteral("&Alle"), QStringLiteral("Alle Adressen zeigen"));
    cmdAlle->setEnabled(false);
    Command5 = tool(w, QStringLiteral("Command5"), QStyle::SP_MediaSkipBackward, QStringLiteral("erster Datensatz"));
    Command7 = tool(w, QStringLiteral("Command7"), QStyle::SP_MediaSeekBackward, QStringLiteral("vorheriger Datensatz"));
    Command8 = tool(w, QStringLiteral("Command8"), QStyle::SP_MediaSeekForward, QStringLiteral("nächster Datensatz"));
    Command9 = tool(w, QStringLiteral("Command9"), QStyle::SP_MediaSkipForward, QStringLiteral("letzter Datensatz"));
    imgOpen = tool(w, QStringLiteral("imgOpen"), QStyle::SP_DialogOpenButton,
                   QStringLiteral("Adressen-Datenbank suchen und öffnen"));
    Image1 = tool(w, QStringLiteral("Image1"), QStyle::SP_MessageBoxQuestion, QStringLiteral("Hilfe zu diesem Fenster"));
    Command2 = button(QStringLiteral("Command2"), QStringLiteral("Neue Adresse anlegen"));
    Command3 = button(QStringLiteral("Command3"), QStringLiteral("Adresse speichern"));
    Command4 = button(QStringLiteral("Command4"), QStringLiteral("Adresse löschen"));
    cmdImport = button(QStringLiteral("cmdImport"), QStringLiteral("Adressen &importieren..."),
                       QStringLiteral("Adressen aus einer CSV- oder vCard-Datei übernehmen"));
    cmdExport = button(QStringLiteral("cmdExport"), QStringLiteral("Adressen e&xportieren..."),
                       QStringLiteral("Adressen als CSV- oder vCard-Datei speichern"));
    Timer = named(new QTimer(w), QStringLiteral("Timer"));
    Timer->setInterval(500);
    lblDatenbank = named(new QLabel, QStringLiteral("lblDatenbank"));
    lblDatenbank->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long path must not widen the window; the tooltip holds it whole.
    lblDatenbank->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    auto* addresses = frame(QStringLiteral("fraAdressen"), QStringLiteral("Adressen"));
    auto* al = new QVBoxLayout(addresses);
    al->addWidget(label(QStringLiteral("S&uchen nach Name:"), txtFind));
    auto* find = new QHBoxLayout;
    find->addWidget(txtFind, 1);
    find->addWidget(cmdAlle);
    al->addLayout(find);
    al->addWidget(List1, 1);
    auto* nav = new QHBoxLayout;
    for (QToolButton* b : {Command5, Command7, Command8, Command9})
        nav->addWidget(b);
    nav->addStretch(1);
    nav->addWidget(imgOpen);
    al->addLayout(nav);
    al->addWidget(Command2);
    al->addWidget(Command3);
    al->addWidget(Command4);
    al->addWidget(cmdImport);
    al->addWidget(cmdExport);

    Command1 = button(QStringLiteral("Command1"), QStringLiteral("Brief &erstellen"));
    Command6 = button(QStringLiteral("Command6"), QStringLiteral("&Schließen"));
    Command1->setMinimumWidth(140);

    // Addresses on the left; recipient and letter parts in the middle; options, fonts
    // and text blocks on the right; the sender across the bottom with the buttons.
    auto* middle = new QVBoxLayout;
    middle->addWidget(anschrift);
    middle->addWidget(business.frame);
    middle->addWidget(closing.frame);
    middle->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(options);
    right->addWidget(fonts);
    right->addWidget(blocks);
    right->addWidget(senderWindow);
    right->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Image1);
    buttons->addWidget(lblDatenbank, 1);
    buttons->addWidget(Command1);
    buttons->addWidget(Command6);

    auto* grid = new QGridLayout(w);
    grid->addWidget(addresses, 0, 0, 3, 1);
    grid->addLayout(middle, 0, 1);
    grid->addLayout(right, 0, 2);
    grid->addWidget(sender, 1, 1, 1, 2);
    grid->addLayout(buttons, 2, 1, 1, 2);
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(2, 3);
}

namespace {
void showFont(QComboBox* list, const QString& name)
{
    if (name.trimmed().isEmpty()) {
        list->setCurrentIndex(-1);
        return;
    }
    int at = list->findText(name, Qt::MatchFixedString);
    if (at < 0) {
        // In alphabetical place among the installed ones.
        at = 0;
        while (at < list->count() && QString::compare(list->itemText(at), name, Qt::CaseInsensitive) < 0)
            ++at;
        list->insertItem(at, name);
        list->setItemData(at, QStringLiteral("Diese Schrift ist nicht installiert; der Text erscheint in einer "
                                             "ähnlichen Schrift."),
                          Qt::ToolTipRole);
    }
    list->setCurrentIndex(at);
}
} // namespace

void BriefWidgets::showFonts()
{
    showFont(cboBriefKopf, txtFont->text());
    showFont(cboBrieftext, txtFont2->text());
}
