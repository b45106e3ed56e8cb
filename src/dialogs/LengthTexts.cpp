#include "LengthTexts.h"

#include "PageSetup.h"

#include <QLineEdit>

void LengthTexts::show(QLineEdit* field, int twips, int unit)
{
    const QString text = PageSetup::Twips2DlgString(float(twips), unit);
    m_exact.insert(field, {text, twips});
    field->setText(text);
}

int LengthTexts::read(const QLineEdit* field, int unit) const
{
    const auto exact = m_exact.constFind(field);
    if (exact != m_exact.cend() && exact->first == field->text())
        return exact->second;
    return PageSetup::DlgString2Twips(field->text(), unit);
}
