#include "TableSettingsDialog.h"

#include "DialogParts.h"
#include "engine/Document.h"

#include <QComboBox>
#include <QFormLayout>
#include <QVBoxLayout>

using DialogParts::LengthBox;

namespace {
const Qt::Alignment kAlignments[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};

int twips(qreal px) {
    return qRound(Document::pixelsToTwips(px));
}
} // namespace

TableSettingsDialog::TableSettingsDialog(const QTextTableFormat& current, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("tableSettingsDialog"));
    setWindowTitle(QStringLiteral("Tabelleneigenschaften"));
    const double pt = DialogParts::TwipsPerPoint, cm = DialogParts::TwipsPerCm;
    m_border = new LengthBox(QStringLiteral("borderWidth"), pt, 0, 200);
    m_border->setTwips(twips(current.border()));
    m_padding = new LengthBox(QStringLiteral("cellPadding"), cm, 0, 1134);
    m_padding->setTwips(twips(current.cellPadding()));
    m_spacing = new LengthBox(QStringLiteral("cellSpacing"), cm, 0, 1134);
    m_spacing->setTwips(twips(current.cellSpacing()));
    m_alignment = new QComboBox;
    m_alignment->setObjectName(QStringLiteral("alignment"));
    m_alignment->addItems(
        {QStringLiteral("Links"), QStringLiteral("Zentriert"), QStringLiteral("Rechts")});
    const Qt::Alignment a = current.alignment();
    m_initialAlignment = (a & Qt::AlignHCenter) ? 1 : ((a & Qt::AlignRight) ? 2 : 0);
    m_alignment->setCurrentIndex(m_initialAlignment);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Rahmenlinie:"), m_border);
    form->addRow(QStringLiteral("&Innenabstand der Zellen:"), m_padding);
    form->addRow(QStringLiteral("&Zellenabstand:"), m_spacing);
    form->addRow(QStringLiteral("&Ausrichtung:"), m_alignment);
    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    top->addWidget(DialogParts::okCancel(this));
}

QTextTableFormat TableSettingsDialog::changes() const {
    // Built from a plain format: a QTextTableFormat starts with a border, spacing and
    // border style of its own that would overwrite the table's.
    QTextFormat f(QTextFormat::FrameFormat);
    f.setObjectType(QTextFormat::TableObject);
    auto px = [](const LengthBox* b) { return Document::twipsToPixels(b->twips()); };
    if (m_border->changed()) {
        f.setProperty(QTextFormat::FrameBorder, px(m_border));
        f.setProperty(QTextFormat::FrameBorderStyle, QTextFrameFormat::BorderStyle_Solid);
    }
    if (m_padding->changed())
        f.setProperty(QTextFormat::TableCellPadding, px(m_padding));
    if (m_spacing->changed())
        f.setProperty(QTextFormat::TableCellSpacing, px(m_spacing));
    if (m_alignment->currentIndex() != m_initialAlignment)
        f.setProperty(QTextFormat::BlockAlignment, int(kAlignments[m_alignment->currentIndex()]));
    return f.toTableFormat();
}
