#pragma once
// How the letter windows tie their sender and layout fields to the database: the one
// row of `Briefkopf` (letterhead lines, sender window line, letterhead font) and the
// one row of `Optionen` (address window side and the two distances).

class FieldBinder;
class QWidget;

struct SenderWidgets {
    QWidget* name;
    QWidget* street;
    QWidget* city;
    QWidget* phone;
    QWidget* fax;
    QWidget* mail;
    QWidget* internet;
    QWidget* postBox;
    QWidget* windowLine;
    QWidget* font;
    QWidget* size;
};

namespace LetterBindings {

void bindSender(FieldBinder& binder, const SenderWidgets& w);
void bindOptions(FieldBinder& binder, QWidget* addressLeft, QWidget* headTopMm, QWidget* addressIndentMm);

} // namespace LetterBindings
