#include "KuvertWidgets.h"

#include "EnvelopeLayout.h"

#include "addresses/AddressListBox.h"

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

template <class W>
W* named(W* w, const QString& name)
{
    w->setObjectName(name);
    return w;
}

QLineEdit* edit(const QString& name) { return named(new QLineEdit, name); }

QLabel* label(const QString& text, QWidget* buddy)
{
    auto* l = new QLabel(text);
    l->setBuddy(buddy);
    return l;
}

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
    txtPostfach = edit(QStringLiteral("txtPostfach"));
    txtPostfach->setToolTip(QStringLiteral("Dieses Feld erscheint nur im Briefkopf wenn Sie eine Eingabe machen"));
    auto* sender = named(new QGroupBox(QStringLiteral("Absender")), QStringLiteral("fraAbsender"));
    auto* sg = new QGridLayout(sender);
    sg->addWidget(label(QStringLiteral("Name"), txtName1), 0, 0);
    sg->addWidget(txtName1, 0, 1);
    sg->addWidget(label(QStringLiteral("Straße"), txtStrasse1), 1, 0);
    sg->addWidget(txtStrasse1, 1, 1);
    sg->addWidget(label(QStringLiteral("PLZ/Ort"), txtOrt1), 2, 0);
    sg->addWidget(txtOrt1, 2, 1);
    sg->addWidget(label(QStringLiteral("Postfach"), txtPostfach), 3, 0);
    sg->addWidget(txtPostfach, 3, 1);

    // --- Recipient ---
    Text1.resize(8, nullptr);
    for (int i : {0, 1, 2, 3, 5, 6, 7})
        Text1[i] = edit(QStringLiteral("Text1(%1)").arg(i));
    Street = named(new QPlainTextEdit, QStringLiteral("Text1(4)"));
    Street->setTabChangesFocus(true);
    Street->setLineWrapMode(QPlainTextEdit::NoWrap);
    Street->setFixedHeight(Street->fontMetrics().lineSpacing() * 2 + 14);
    txtLkennz = edit(QStringLiteral("txtLkennz"));
    txtLkennz->setToolTip(QStringLiteral("Länderkennzeichen"));
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
    auto* recipient = named(new QGroupBox(QStringLiteral("Empfänger")), QStringLiteral("fraEmpfaenger"));
    auto* rg = new QGridLayout(recipient);
    rg->addWidget(label(QStringLiteral("Anrede"), Text1[0]), 0, 0);
    rg->addWidget(Text1[0], 0, 1, 1, 2);
    rg->addWidget(label(QStringLiteral("Vorname"), Text1[1]), 1, 0);
    rg->addWidget(Text1[1], 1, 1, 1, 2);
    rg->addWidget(label(QStringLiteral("Nachname"), Text1[2]), 2, 0);
    rg->addWidget(Text1[2], 2, 1, 1, 2);
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
    cmdFind = named(new QToolButton, QStringLiteral("cmdFind"));
    cmdFind->setIcon(QIcon::fromTheme(QStringLiteral("edit-find"),
                                      w->style()->standardIcon(QStyle::SP_FileDialogContentsView)));
    cmdFind->setToolTip(QStringLiteral("Suchen"));
    cmdAlle = named(new QPushButton(QStringLiteral("Alle anzeigen")), QStringLiteral("cmdAlle"));
    cmdAlle->setEnabled(false);
    List1 = named(new AddressListBox, QStringLiteral("List1"));
    List1->setMinimumWidth(200);
    auto* addresses = named(new QGroupBox(QStringLiteral("Adressen")), QStringLiteral("fraAdressen"));
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
    chkBen = named(new QCheckBox(QStringLiteral("Benutzerdefiniertes &Format")), QStringLiteral("chkBen"));
    txtfB = millimetres(QStringLiteral("txtfB"));
    txtfH = millimetres(QStringLiteral("txtfH"));
    // The sizes count only for the user's own format.
    for (QLineEdit* e : {txtfB, txtfH}) {
        e->setEnabled(false);
        QObject::connect(chkBen, &QCheckBox::toggled, e, &QWidget::setEnabled);
    }
    chkFett = named(new QCheckBox(QStringLiteral("Schrift &Fett")), QStringLiteral("chkFett"));
    auto* format = named(new QGroupBox(QStringLiteral("Format")), QStringLiteral("fraFormat"));
    auto* fg = new QGridLayout(format);
    fg->addWidget(label(QStringLiteral("&Format auswählen"), List2), 0, 0, 1, 2);
    fg->addWidget(List2, 1, 0, 1, 2);
    fg->addWidget(chkBen, 2, 0, 1, 2);
    fg->addWidget(label(QStringLiteral("&Breite in mm"), txtfB), 3, 0);
    fg->addWidget(txtfB, 3, 1);
    fg->addWidget(label(QStringLiteral("&Höhe in mm"), txtfH), 4, 0);
    fg->addWidget(txtfH, 4, 1);
    fg->addWidget(chkFett, 5, 0, 1, 2);

    Command1 = named(new QPushButton(QStringLiteral("Briefkuvert  erstellen")), QStringLiteral("Command1"));
    Command1->setMinimumWidth(160);
    // Enter in the search box searches; it never builds the envelope.
    for (QPushButton* b : {cmdAlle, Command1}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

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
