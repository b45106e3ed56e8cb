#pragma once
// What the letter composer holds when "Brief erstellen" is pressed, and the one
// function that turns it into LetterData. The composer window and the command-line
// letters both fill their values here, so both build the same letter.

#include <QString>

struct AppState;

struct ComposerInput {
    // Letterhead and layout ("Einstellungen Briefkopf", "Voreinstellung Schrift").
    QString HeadTopMm = QStringLiteral("17");         // Text6
    QString HeadFont = QStringLiteral("Arial");       // txtFont
    QString HeadSize = QStringLiteral("10");          // txtSize
    bool ShowLetterhead = true;                       // Check1
    bool AddressWindowLeft = false;                   // chkAdrRechts
    QString AddressIndentMm = QStringLiteral("90");   // txtAdrRechts
    QString TextFont = QStringLiteral("Arial");       // txtFont2
    QString TextSize = QStringLiteral("10");          // txtSize2
    bool UseOwnTemplate = false;                      // chkEigeneVorl

    // Sender (table Briefkopf).
    QString SenderName, SenderStreet, SenderCity;     // txtName1, txtStra_e1, txtOrt1
    QString SenderPostBox, SenderPhone, SenderFax, SenderMail, SenderInternet;
    bool ShowSenderWindowLine = false;                // chkAbs
    QString SenderWindowLine;                         // txtAbs

    // Recipient (table Addressen).
    QString Title;                                    // Combo1
    QString FirstName, LastName;                      // Text1(1), Text1(2)
    QString ContactTitle, ContactName;                // Combo2, Text1(3)
    QString Street, PostCode, City;                   // Text1(4), Text1(5), Text1(6)
    QString CountryCode;                              // txtLkennz
    QString Country;                                  // column Land of the current row
    bool UseMemberNumber = false;                     // chkMitglNr
    QString MemberNumber;                             // txtMitglNr

    // Business letter, salutation, closing, attachments, text block.
    QString OurReference, YourReference, Subject, RegardingLine; // Text2..Text5
    bool UseSalutation = true;                        // chkAnrede
    bool UseClosing = true;                           // chkMfg
    QString Closing = QStringLiteral("Mit freundlichen Grüßen"); // Combo3
    bool UseAttachments = false;                      // chkAnlage
    QString Attachments;                              // txtAnlage
    int BlockNumber = 0;                              // the chosen Option1 (0 = none)
};

namespace LetterInput {

// The leading number of `text` as the composer reads its fields ("12 mm" is 12,
// "abc" is 0), written back as text.
QString numericText(const QString& text);

// Fills app.LetterText / app.LetterFlags (and switches UseOwnTemplate on when asked)
// as "Brief erstellen" does, reading text block BlockNumber from app.WorkFolder.
// Returns false when a chosen block (> 0) could not be read; every slot is filled all
// the same, the block's with empty values. Without UseMemberNumber the member number
// slot is emptied.
bool fill(const ComposerInput& in, AppState& app);

} // namespace LetterInput
