#pragma once
// The frames the letter composer and the mail-merge window share: the reference lines
// of a business letter, the closing with the attachments line, and the text blocks;
// and the reading of the fields both windows hold.

#include "LetterInput.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QList>
#include <QStringList>

class QGridLayout;
class QGroupBox;
class QRadioButton;

namespace LetterFrames {

// "Für Geschäftsbriefe": Text2 and Text3 (our and your reference, at most 20
// characters), Text4 (subject) and Text5 (reference line) in rows 0 to 2 of `grid`;
// row 3 is the caller's.
struct Business {
    QGroupBox* frame;
    QGridLayout* grid;
    QLineEdit* Text2;
    QLineEdit* Text3;
    QLineEdit* Text4;
    QLineEdit* Text5;
};
Business business(const QString& yourReferenceCaption);

// "Grußformel": chkMfg with the choice Combo3 (first entry chosen), chkAnlage with
// txtAnlage.
struct Closing {
    QGroupBox* frame;
    QCheckBox* chkMfg;
    QComboBox* Combo3;
    QCheckBox* chkAnlage;
    QLineEdit* txtAnlage;
};
Closing closing(const QStringList& greetings, bool editable);

// "Textbausteine" with the options Option1(0) ("Textbaustein 0", no block) to
// Option1(10), three to a row.
QGroupBox* textBlockOptions(QList<QRadioButton*>& options);

// Reads into `in` what both windows' controls `w` hold alike: layout and fonts, the
// sender (whose street field each window names its own way) and the letter parts.
template <class Widgets>
void readShared(const Widgets& w, const QLineEdit* senderStreet, ComposerInput& in)
{
    in.HeadTopMm = w.Text6->text();
    in.HeadFont = w.txtFont->text();
    in.HeadSize = w.txtSize->text();
    in.AddressWindowLeft = w.chkAdrRechts->isChecked();
    in.AddressIndentMm = w.txtAdrRechts->text();
    in.TextFont = w.txtFont2->text();
    in.TextSize = w.txtSize2->text();
    in.UseOwnTemplate = w.chkEigeneVorl->isChecked();
    in.SenderName = w.txtName1->text();
    in.SenderStreet = senderStreet->text();
    in.SenderCity = w.txtOrt1->text();
    in.SenderPostBox = w.txtPostfach->text();
    in.SenderPhone = w.txtTelefon1->text();
    in.SenderFax = w.txtFax->text();
    in.SenderMail = w.txtMail->text();
    in.SenderInternet = w.txtInternet->text();
    in.ShowSenderWindowLine = w.chkAbs->isChecked();
    in.SenderWindowLine = w.txtAbs->text();
    in.UseMemberNumber = w.chkMitglNr->isChecked();
    in.OurReference = w.Text2->text();
    in.YourReference = w.Text3->text();
    in.Subject = w.Text4->text();
    in.RegardingLine = w.Text5->text();
    in.UseSalutation = w.chkAnrede->isChecked();
    in.UseClosing = w.chkMfg->isChecked();
    in.Closing = w.Combo3->currentText();
    in.UseAttachments = w.chkAnlage->isChecked();
    in.Attachments = w.txtAnlage->text();
}

} // namespace LetterFrames
