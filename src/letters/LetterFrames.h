#pragma once
// The frames the letter composer and the mail-merge window share: the reference lines
// of a business letter, the closing with the attachments line, and the text blocks.

#include <QList>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLineEdit;
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

} // namespace LetterFrames
