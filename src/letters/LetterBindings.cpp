#include "LetterBindings.h"

#include "addresses/FieldBinder.h"

namespace LetterBindings {

void bindSender(FieldBinder& binder, const SenderWidgets& w)
{
    binder.bind({{w.name, "BriefKName"}, {w.street, "BriefKStraße"}, {w.city, "BriefKOrt"},
                {w.phone, "BriefKTel"}, {w.fax, "Fax"}, {w.mail, "eMail"},
                {w.internet, "Internet"}, {w.postBox, "Postfach"}, {w.windowLine, "AbsFenster"},
                {w.font, "Schrift"}, {w.size, "SchriftSize"}});
}

void bindOptions(FieldBinder& binder, QWidget* addressLeft, QWidget* headTopMm, QWidget* addressIndentMm)
{
    binder.bind(addressLeft, QStringLiteral("Freizjn"));
    binder.bind(headTopMm, QStringLiteral("Freiztxt"));
    binder.bind(addressIndentMm, QStringLiteral("Freiytxt"));
}

} // namespace LetterBindings
