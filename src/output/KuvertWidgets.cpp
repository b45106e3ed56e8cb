#include "KuvertWidgets.h"

#include "EnvelopeLayout.h"

#include "addresses/AddressListBox.h"
#include "app/FormControls.h"

#include <QCheckBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

using namespace FormControls;

// Width or height in whole millimetres: digits only, so letters typed are dropped.
QLineEdit* millimetres(const QString& name)
{
    QLineEdit* e = edit(name);
    e->setText(QStringLiteral("0"));
    e->setMaxLength(4);
    e->setMaximumWidth(60);
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
    return e;
}

} // namespace

KuvertWidgets::KuvertWidgets(QDialog* w)
{
    // --- Sender ---
    txtName1 = edit(QStringLiteral("txtName1"));
    txtStrasse1 = edit(QStringLiteral("txtStraße1"));
    txtOrt1 = edit(QStringLiteral("txtOrt1"));
    txtPostfach = edit(QStringLiteral("txtPostfach"),
                       QStringLiteral("Dieses Feld erscheint nur im Briefkopf wenn Sie eine Eingabe machen"));
    auto* sender = frame(QStringLiteral("fraAbsender"), QStringLiteral("Absender"));
    addLabelled(new QGridLayout(sender), {{"Name", txtName1, 0},
                                          {"Straße", txtStrasse1, 1},
                                          {"PLZ/Ort", txtOrt1, 2},
                                          {"Postfach", txtPostfach, 3}});

    // --- Recipient ---
    Text1.resize(8, nullptr);
    for (int i : {0, 1, 2, 3, 5, 6, 7})
        Text1[i] = edit(QStringLiteral("Text1(%1)").arg(i));
    Street = twoLineEdit(QStringLiteral("Text1(4)"));
    Street->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtLkennz = edit(QStringLiteral("txtLkennz"), QStringLiteral("Länderkennzeichen"));
    txtLkennz->setMaximumWidth(36);
    for (int i : {0, 1, 2})
        Text1[i]->setMinimumWidth(200);
    Text1[3]->setMinimumWidth(130);
    Text1[6]->setMinimumWidth(120);
    Text1[5]->setMinimumWidth(56);
    Text1[5]->setMaximumWidth(64);
    Text1[7]->setMinimumWidth(60);
    Text1[7]->setMaximumWidth(80);
    lblzHd = label(QStringLiteral("zu Händen"), Text1[7]);
    auto* recipient = frame(QStringLiteral("fraEmpfaenger"), QStringLiteral("Empfänger"));
    auto* rg = new QGridLayout(recipient);
    addLabelled(rg, {{"Anrede", Text1[0], 0, 0, 2}, {"Vorname", Text1[1], 1, 0, 2}, {"Nachname", Text1[2], 2, 0, 2}});
    rg->addWidget(lblzHd, 3, 0);
    rg->addWidget(Text1[7], 3, 1);
    rg->addWidget(Text1[3], 3, 2);
    rg->addWidget(label(QStringLiteral("Straße"), Street), 4, 0, Qt::AlignTop);
    rg->addWidget(Street, 4, 1, 1, 2);
    rg->addWidget(label(QStringLiteral("PLZ/Ort"), Text1[5]), 5, 0);
    auto* town = new QHBoxLayout;
    town->addWidget(txtLkennz);
    town->addWidget(Text1[5]);
    town->addWidget(Text1[6], 1);
    rg->addLayout(town, 5, 1, 1, 2);
    rg->setColumnStretch(2, 1);

    // --- Addresses ---
    txtFind = edit(QStringLiteral("txtFind"));
    txtFind->setClearButtonEnabled(true);
    cmdFind = tool(w, QStringLiteral("cmdFind"), QStyle::SP_FileDialogContentsView, QStringLiteral("Suchen"));
    cmdFind->setIcon(QIcon::fromTheme(QStringLiteral("edit-find"), cmdFind->icon()));
    cmdAlle = button(QStringLiteral("cmdAlle"), QStringLiteral("Alle anzeigen"));
    cmdAlle->setEnabled(false);
    List1 = named(new AddressListBox, QStringLiteral("List1"));
    List1->setMinimumWidth(200);
    auto* addresses = frame(QStringLiteral("fraAdressen"), QStringLiteral("Adressen"));
    auto* al = new QVBoxLayout(addresses);
    al->addWidget(label(QStringLiteral("&Suchen nach Adresse"), txtFind));
    auto* find = new QHBoxLayout;
    find->addWidget(txtFind, 1);
    find->addWidget(cmdFind);
    al->addLayout(find);
    al->addWidget(cmdAlle);
    al->addWidget(List1, 1);

    // --- Format ---
    List2 = named(new QListWidget, QStringLiteral("List2"));
    for (const EnvelopeLayout::Format& f : EnvelopeLayout::formats())
        List2->addItem(f.listText);
    List2->setFixedHeight(List2->sizeHintForRow(0) * 3 + 2 * List2->frameWidth() + 4);
    chkBen = check(QStringLiteral("chkBen"), QStringLiteral("Benutzerdefiniertes &Format"), false);
    txtfB = millimetres(QStringLiteral("txtfB"));
    txtfH = millimetres(QStringLiteral("txtfH"));
    // The sizes count only for the user's own format.
    for (QLineEdit* e : {txtfB, txtfH}) {
        e->setEnabled(false);
        QObject::connect(chkBen, &QCheckBox::toggled, e, &QWidget::setEnabled);
    }
    chkFett = check(QStringLiteral("chkFett"), QStringLiteral("Schrift &Fett"), false);
    auto* format = frame(QStringLiteral("fraFormat"), QStringLiteral("Format"));
    auto* fg = new QGridLayout(format);
    fg->addWidget(label(QStringLiteral("&Format auswählen"), List2), 0, 0, 1, 2);
    fg->addWidget(List2, 1, 0, 1, 2);
    fg->addWidget(chkBen, 2, 0, 1, 2);
    addLabelled(fg, {{"&Breite in mm", txtfB, 3}, {"&Höhe in mm", txtfH, 4}});
    fg->addWidget(chkFett, 5, 0, 1, 2);

    // Enter in the search box searches; it never builds the envelope.
    Command1 = button(QStringLiteral("Command1"), QStringLiteral("Briefkuvert erstellen"));
    Command1->setMinimumWidth(160);

    auto* right = new QVBoxLayout;
    right->addWidget(sender);
    right->addWidget(format);
    right->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command1);
    auto* middle = new QVBoxLayout;
    middle->addWidget(recipient);
    middle->addStretch(1);
    middle->addLayout(buttons);
    auto* grid = new QHBoxLayout(w);
    grid->addWidget(addresses, 2);
    grid->addLayout(middle, 3);
    grid->addLayout(right, 2);
}
