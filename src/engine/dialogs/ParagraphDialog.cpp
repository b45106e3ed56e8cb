#include "ParagraphDialog.h"

#include "DialogParts.h"
#include "engine/AlignmentCodes.h"
#include "engine/Document.h"
#include "engine/EngineProperties.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QVBoxLayout>

using DialogParts::LengthBox;

namespace {

const int kSpacings[] = {100, 150, 200}; // proportional line height in percent

int spacingIndex(const QTextBlockFormat& f) {
    if (f.lineHeightType() != QTextBlockFormat::ProportionalHeight)
        return 0;
    const qreal h = f.lineHeight();
    return h >= 175 ? 2 : (h >= 125 ? 1 : 0);
}

int twips(qreal pixels) {
    return qRound(Document::pixelsToTwips(pixels));
}

} // namespace

ParagraphDialog::ParagraphDialog(const QTextBlockFormat& first, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("paragraphDialog"));
    setWindowTitle(QStringLiteral("Absatz"));

    m_alignment = new QComboBox;
    m_alignment->setObjectName(QStringLiteral("alignment"));
    m_alignment->addItems({QStringLiteral("Links"), QStringLiteral("Rechts"),
                           QStringLiteral("Zentriert"), QStringLiteral("Blocksatz")});
    m_initialAlignment = AlignmentCodes::code(first.alignment());
    m_alignment->setCurrentIndex(m_initialAlignment);

    const double cm = DialogParts::TwipsPerCm, pt = DialogParts::TwipsPerPoint;
    m_left = new LengthBox(QStringLiteral("indentLeft"), cm, 0, 31680);
    m_right = new LengthBox(QStringLiteral("indentRight"), cm, 0, 31680);
    m_firstLine = new LengthBox(QStringLiteral("indentFirst"), cm, -31680, 31680);
    m_before = new LengthBox(QStringLiteral("spaceBefore"), pt, 0, 1440 * 2);
    m_after = new LengthBox(QStringLiteral("spaceAfter"), pt, 0, 1440 * 2);
    m_left->setTwips(twips(first.leftMargin()));
    m_right->setTwips(twips(first.rightMargin()));
    m_firstLine->setTwips(twips(first.textIndent()));
    m_before->setTwips(twips(first.topMargin()));
    m_after->setTwips(twips(first.bottomMargin()));

    m_lineSpacing = new QComboBox;
    m_lineSpacing->setObjectName(QStringLiteral("lineSpacing"));
    m_lineSpacing->addItems(
        {QStringLiteral("Einfach"), QStringLiteral("1,5 Zeilen"), QStringLiteral("Doppelt")});
    m_initialSpacing = spacingIndex(first);
    m_lineSpacing->setCurrentIndex(m_initialSpacing);

    auto* indents = new QGroupBox(QStringLiteral("Einzug"));
    auto* indentForm = new QFormLayout(indents);
    indentForm->addRow(QStringLiteral("&Links:"), m_left);
    indentForm->addRow(QStringLiteral("&Rechts:"), m_right);
    indentForm->addRow(QStringLiteral("&Erste Zeile:"), m_firstLine);
    auto* spacing = new QGroupBox(QStringLiteral("Abstand"));
    auto* spacingForm = new QFormLayout(spacing);
    spacingForm->addRow(QStringLiteral("&Vor:"), m_before);
    spacingForm->addRow(QStringLiteral("&Nach:"), m_after);
    spacingForm->addRow(QStringLiteral("&Zeilenabstand:"), m_lineSpacing);

    m_hyphenate = new QCheckBox(QStringLiteral("&Silbentrennung"));
    m_hyphenate->setObjectName(QStringLiteral("hyphenate"));
    m_hyphenate->setToolTip(QStringLiteral("Lange Wörter am Zeilenende automatisch trennen"));
    m_initialHyphenate = first.boolProperty(EngineProperty::Hyphenate);
    m_hyphenate->setChecked(m_initialHyphenate);

    auto* top = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Ausrichtung:"), m_alignment);
    top->addLayout(form);
    top->addWidget(indents);
    top->addWidget(spacing);
    top->addWidget(m_hyphenate);
    top->addWidget(DialogParts::okCancel(this));
}

QTextBlockFormat ParagraphDialog::changes() const {
    QTextBlockFormat f;
    if (m_alignment->currentIndex() != m_initialAlignment)
        f.setAlignment(AlignmentCodes::flags(m_alignment->currentIndex()));
    auto px = [](const LengthBox* b) { return Document::twipsToPixels(b->twips()); };
    if (m_left->changed())
        f.setLeftMargin(px(m_left));
    if (m_right->changed())
        f.setRightMargin(px(m_right));
    if (m_firstLine->changed())
        f.setTextIndent(px(m_firstLine));
    if (m_before->changed())
        f.setTopMargin(px(m_before));
    if (m_after->changed())
        f.setBottomMargin(px(m_after));
    if (m_lineSpacing->currentIndex() != m_initialSpacing)
        f.setLineHeight(kSpacings[m_lineSpacing->currentIndex()],
                        QTextBlockFormat::ProportionalHeight);
    if (m_hyphenate->isChecked() != m_initialHyphenate)
        f.setProperty(EngineProperty::Hyphenate, m_hyphenate->isChecked());
    return f;
}
