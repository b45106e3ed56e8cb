#include "CharacterDialog.h"

#include "app/Prompter.h"
#include "engine/dialogs/DialogParts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
enum Style { Regular, Italic, Bold, BoldItalic };

void setSwatch(QPushButton* b, const QColor& c)
{
    QPixmap pm(16, 16);
    pm.fill(c.isValid() ? c : QColor(Qt::transparent));
    b->setIcon(QIcon(pm));
}
} // namespace

CharacterDialog::CharacterDialog(const QTextCharFormat& common, QWidget* parent)
    : QDialog(parent), m_initial(common)
{
    setObjectName(QStringLiteral("characterDialog"));
    setWindowTitle(QStringLiteral("Zeichen"));

    m_family = new QFontComboBox;
    m_family->setObjectName(QStringLiteral("family"));
    m_family->setEditable(true);
    if (common.hasProperty(QTextFormat::FontFamilies) && !common.fontFamilies().toStringList().isEmpty()) {
        const QString family = common.fontFamilies().toStringList().constFirst();
        m_family->setCurrentFont(QFont(family));
        // A family the system maps to another one keeps its own name.
        if (m_family->currentText() != family)
            m_family->setEditText(family);
    } else
        m_family->setEditText(QString());

    m_size = new QComboBox;
    m_size->setObjectName(QStringLiteral("size"));
    m_size->setEditable(true);
    for (int s : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
        m_size->addItem(QString::number(s));
    m_size->setEditText(common.hasProperty(QTextFormat::FontPointSize)
                            ? QLocale(QLocale::German).toString(common.fontPointSize())
                            : QString());

    m_style = new QComboBox;
    m_style->setObjectName(QStringLiteral("style"));
    m_style->addItems({QStringLiteral("Standard"), QStringLiteral("Kursiv"), QStringLiteral("Fett"),
                       QStringLiteral("Fett Kursiv")});
    if (common.hasProperty(QTextFormat::FontWeight) && common.hasProperty(QTextFormat::FontItalic)) {
        const bool bold = common.fontWeight() >= QFont::DemiBold;
        const bool italic = common.fontItalic();
        m_style->setCurrentIndex(bold ? (italic ? BoldItalic : Bold) : (italic ? Italic : Regular));
    } else {
        m_style->setCurrentIndex(-1);
    }

    auto tri = [](QCheckBox* b, const QTextCharFormat& f, int prop) {
        const bool known = f.hasProperty(prop);
        const bool on = prop == QTextFormat::TextUnderlineStyle ? f.fontUnderline() : f.boolProperty(prop);
        b->setTristate(!known);
        b->setCheckState(!known ? Qt::PartiallyChecked : (on ? Qt::Checked : Qt::Unchecked));
    };
    m_underline = new QCheckBox(QStringLiteral("&Unterstrichen"));
    m_underline->setObjectName(QStringLiteral("underline"));
    tri(m_underline, common, QTextFormat::TextUnderlineStyle);
    m_strike = new QCheckBox(QStringLiteral("&Durchgestrichen"));
    m_strike->setObjectName(QStringLiteral("strikeOut"));
    tri(m_strike, common, QTextFormat::FontStrikeOut);

    if (common.hasProperty(QTextFormat::ForegroundBrush))
        m_colour = common.foreground().color();
    m_colourButton = new QPushButton(QStringLiteral("&Farbe..."));
    m_colourButton->setObjectName(QStringLiteral("colour"));
    setSwatch(m_colourButton, m_colour);
    connect(m_colourButton, &QPushButton::clicked, this, [this] {
        if (const auto c = prompter().colour(this, m_colour)) {
            m_colour = *c;
            setSwatch(m_colourButton, m_colour);
            updateSample();
        }
    });

    QGroupBox* sampleBox = DialogParts::preview(m_sample);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Schriftart:"), m_family);
    form->addRow(QStringLiteral("Schrift&grad:"), m_size);
    form->addRow(QStringLiteral("Schrifts&til:"), m_style);
    form->addRow(QString(), m_underline);
    form->addRow(QString(), m_strike);
    form->addRow(QStringLiteral("Schriftfarbe:"), m_colourButton);

    QDialogButtonBox* buttons = DialogParts::okCancel(this);

    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    top->addWidget(sampleBox);
    top->addWidget(buttons);

    connect(m_family, &QFontComboBox::currentTextChanged, this, &CharacterDialog::updateSample);
    connect(m_size, &QComboBox::currentTextChanged, this, &CharacterDialog::updateSample);
    connect(m_style, &QComboBox::currentIndexChanged, this, &CharacterDialog::updateSample);
    connect(m_underline, &QCheckBox::stateChanged, this, &CharacterDialog::updateSample);
    connect(m_strike, &QCheckBox::stateChanged, this, &CharacterDialog::updateSample);
    updateSample();
}

QTextCharFormat CharacterDialog::current() const
{
    QTextCharFormat f;
    const QString family = m_family->currentText().trimmed();
    if (!family.isEmpty())
        f.setFontFamilies({family});
    bool ok = false;
    const double size = QLocale(QLocale::German).toDouble(m_size->currentText().trimmed(), &ok);
    if (ok && size >= 1 && size <= 1638)
        f.setFontPointSize(size);
    if (m_style->currentIndex() >= 0) {
        const int s = m_style->currentIndex();
        f.setFontWeight(s == Bold || s == BoldItalic ? QFont::Bold : QFont::Normal);
        f.setFontItalic(s == Italic || s == BoldItalic);
    }
    if (m_underline->checkState() != Qt::PartiallyChecked)
        f.setFontUnderline(m_underline->checkState() == Qt::Checked);
    if (m_strike->checkState() != Qt::PartiallyChecked)
        f.setFontStrikeOut(m_strike->checkState() == Qt::Checked);
    if (m_colour.isValid())
        f.setForeground(m_colour);
    return f;
}

QTextCharFormat CharacterDialog::changes() const
{
    const QTextCharFormat now = current();
    QTextCharFormat diff;
    const auto props = now.properties();
    for (auto it = props.cbegin(); it != props.cend(); ++it)
        if (!m_initial.hasProperty(it.key()) || m_initial.property(it.key()) != it.value())
            diff.setProperty(it.key(), it.value());
    return diff;
}

void CharacterDialog::updateSample()
{
    const QTextCharFormat f = current();
    QFont font = m_sample->font();
    if (f.hasProperty(QTextFormat::FontFamilies))
        font.setFamilies(f.fontFamilies().toStringList());
    if (f.hasProperty(QTextFormat::FontPointSize))
        font.setPointSizeF(qMin(f.fontPointSize(), 36.0));
    font.setBold(f.fontWeight() >= QFont::DemiBold);
    font.setItalic(f.fontItalic());
    font.setUnderline(f.fontUnderline());
    font.setStrikeOut(f.fontStrikeOut());
    m_sample->setFont(font);
    QPalette pal = m_sample->palette();
    pal.setColor(QPalette::WindowText, m_colour.isValid() ? m_colour : QColor(Qt::black));
    m_sample->setPalette(pal);
}
