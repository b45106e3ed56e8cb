#pragma once
// One envelope written into an empty editing surface: the page set to the envelope's
// size, the sender in small type in a one-column table at the top (table 10) and the
// recipient block in the right-hand column of a second table further down (table 11).

#include <QString>
#include <QStringList>
#include <array>

class TextControl;

namespace EnvelopeLayout {

// Page geometry in twips (56.7 to the millimetre).
struct Format {
    QString listText;
    int width = 0;
    int height = 0;
    int marginT = 0;
    int marginB = 0;
    int marginL = 0;
    int marginR = 0;
    int lineBreaks = 0;    // empty lines between the two tables
    int finalFontSize = 0; // set at the end; 0 leaves the size at 12
    // The address window, from the top edge; a bottom of 0: no window to keep to.
    int windowTop = 0;
    int windowBottom = 0;
};

// The smallest type a recipient block is shrunk to when it does not fit its window.
constexpr double MinRecipientPoints = 9;

constexpr int SenderTable = 10;
constexpr int AddressTable = 11;
constexpr int DefaultFormat = 1; // DL

// C6, DL and E5, in the order of the format list.
const std::array<Format, 3>& formats();

// A format of the user's size: millimetres x 567, then the integer tenth. A width or
// height outside MinMm..MaxMm gives a format of width 0, which build() skips.
constexpr int MinMm = 50;
constexpr int MaxMm = 1000;
Format customFormat(int widthMm, int heightMm);

struct Sender {
    QString name;
    QString street;
    QString place;
    QString postBox;
};
// Rows 1 to 3 of the sender table; the post-office box replaces an empty street or
// follows a filled one.
QStringList senderRows(const Sender& s);

struct Recipient {
    QString title;      // Anrede
    QString firstName;  // Vorname
    QString lastName;   // Nachname
    QString contact;    // NamezHd
    QString street;     // Adresse
    QString postCode;   // Postleitzahl
    QString town;       // Ort
    QString contactTitle; // AnredezHd
    QString countryCode;  // LaenderKZ
    QString country;      // Land
};
// The recipient's lines from the top of the column, 6 rows: the line above the name as
// in a letter ("Herrn Dr." for "Herr Dr."), the name, the "zHd." line, the street, the
// place and, abroad, the country in capitals; the rows below stay empty.
QStringList recipientRows(const Recipient& r);
// The country line of an address: the country in capitals, empty at home (code "D",
// or no code and the country Deutschland) and without a country.
QString countryLine(const QString& countryCode, const QString& country);

// The bottom of every envelope stays free for the post's barcode.
constexpr int BarcodeZone = 851; // 15 mm

// Writes the envelope at the caret of `s`. `bold` sets bold type before anything is
// inserted; without it the weight is left as it is. A recipient block that would run
// below the format's window moves up to the window's top and, when that is not
// enough, gets smaller type, down to MinRecipientPoints.
void build(TextControl& s, const Format& f, const Sender& sender, const Recipient& recipient, bool bold);

} // namespace EnvelopeLayout
