#pragma once
// Pieces the surface's own dialogs share: German OK/Abbrechen buttons, the font
// preview, and length fields that show twips as centimetres or points with a decimal
// comma.

#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace DialogParts {

inline QDialogButtonBox* okCancel(QDialog* dialog) {
    // Made a child of the dialog before OK becomes its default: otherwise the dialog
    // picks the first other button as default and Enter presses that one.
    auto* buttons = new QDialogButtonBox(dialog);
    auto* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    auto* cancel = buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancel"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

// "Vorschau": a frame with the centred sample text `sample` that shows a font.
inline QGroupBox* preview(QLabel*& sample) {
    sample = new QLabel(QStringLiteral("AaBbYyZz ÄäÖöÜüß"));
    sample->setObjectName(QStringLiteral("sample"));
    sample->setAlignment(Qt::AlignCenter);
    sample->setMinimumHeight(60);
    auto* box = new QGroupBox(QStringLiteral("Vorschau"));
    (new QVBoxLayout(box))->addWidget(sample);
    return box;
}

// A length field in `twipsPerUnit` steps (567 cm, 20 pt) between min and max twips.
class LengthBox : public QDoubleSpinBox {
public:
    LengthBox(const QString& name, double twipsPerUnit, int minTwips, int maxTwips)
        : m_perUnit(twipsPerUnit) {
        setObjectName(name);
        setLocale(QLocale(QLocale::German, QLocale::Germany));
        const bool cm = twipsPerUnit > 100;
        setDecimals(cm ? 2 : 1);
        setSingleStep(cm ? 0.25 : 1);
        setSuffix(cm ? QStringLiteral(" cm") : QStringLiteral(" pt"));
        setRange(minTwips / m_perUnit, maxTwips / m_perUnit);
    }
    // An untouched field gives back the exact twips it was set to, not the rounded
    // figure it shows.
    int twips() const { return changed() ? qRound(value() * m_perUnit) : m_initial; }
    void setTwips(int t) {
        setValue(t / m_perUnit);
        m_initial = t;
        m_shown = value();
    }
    // True when the user changed the value the dialog started with.
    bool changed() const { return value() != m_shown; }

private:
    double m_perUnit;
    int m_initial = 0;
    double m_shown = 0;
};

constexpr double TwipsPerCm = 567.0;
constexpr double TwipsPerPoint = 20.0;

} // namespace DialogParts
