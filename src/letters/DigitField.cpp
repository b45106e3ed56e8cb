#include "DigitField.h"

#include "BriefFields.h"

#include <QEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace {

class Clamp : public QObject {
public:
    Clamp(QLineEdit* field, int lo, int hi) : QObject(field), m_field(field), m_lo(lo), m_hi(hi)
    {
        field->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), field));
        field->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::FocusOut)
            m_field->setText(BriefFields::clamped(m_field->text(), m_lo, m_hi));
        return false;
    }

private:
    QLineEdit* m_field;
    int m_lo, m_hi;
};

} // namespace

namespace DigitField {

void attach(QLineEdit* field, int lo, int hi) { new Clamp(field, lo, hi); }

} // namespace DigitField
