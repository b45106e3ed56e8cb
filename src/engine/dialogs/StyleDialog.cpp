#include "StyleDialog.h"

#include "DialogParts.h"
#include "engine/Document.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace {

ParagraphStyle makeStyle(const QString& name, int heading, double size, bool bold, bool italic,
                         int beforeTwips, int afterTwips, int indentTwips) {
    ParagraphStyle s{name, {}, {}};
    s.block.setHeadingLevel(heading);
    s.block.setTopMargin(Document::twipsToPixels(beforeTwips));
    s.block.setBottomMargin(Document::twipsToPixels(afterTwips));
    s.block.setLeftMargin(Document::twipsToPixels(indentTwips));
    s.block.setRightMargin(Document::twipsToPixels(indentTwips));
    s.chars.setFontPointSize(size);
    s.chars.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    s.chars.setFontItalic(italic);
    return s;
}

} // namespace

QList<ParagraphStyle> StyleDialog::styles(const QFont& defaultFont) {
    const double base = defaultFont.pointSizeF() > 0 ? defaultFont.pointSizeF() : 11;
    return {makeStyle(QStringLiteral("Standard"), 0, base, false, false, 0, 0, 0),
            makeStyle(QStringLiteral("Überschrift 1"), 1, 16, true, false, 240, 120, 0),
            makeStyle(QStringLiteral("Überschrift 2"), 2, 14, true, false, 240, 120, 0),
            makeStyle(QStringLiteral("Überschrift 3"), 3, 12, true, false, 120, 60, 0),
            makeStyle(QStringLiteral("Zitat"), 0, base, false, true, 120, 120, 567)};
}

StyleDialog::StyleDialog(const QFont& defaultFont, int currentHeading, QWidget* parent)
    : QDialog(parent), m_styles(styles(defaultFont)) {
    setObjectName(QStringLiteral("styleDialog"));
    setWindowTitle(QStringLiteral("Formatvorlage"));
    m_list = new QListWidget;
    m_list->setObjectName(QStringLiteral("styleList"));
    for (const ParagraphStyle& s : std::as_const(m_styles))
        m_list->addItem(s.name);
    m_list->setCurrentRow(qBound(0, currentHeading, 3));
    QGroupBox* sampleBox = DialogParts::preview(m_sample);
    auto* top = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("&Formatvorlagen:"));
    label->setBuddy(m_list);
    top->addWidget(label);
    top->addWidget(m_list);
    top->addWidget(sampleBox);
    top->addWidget(DialogParts::okCancel(this));
    connect(m_list, &QListWidget::currentRowChanged, this, &StyleDialog::updateSample);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    updateSample();
}

ParagraphStyle StyleDialog::chosen() const {
    const int row = m_list->currentRow();
    return row >= 0 && row < m_styles.size() ? m_styles.at(row) : ParagraphStyle{};
}

void StyleDialog::updateSample() {
    const ParagraphStyle s = chosen();
    QFont f = m_sample->font();
    f.setPointSizeF(qMin(s.chars.fontPointSize() > 0 ? s.chars.fontPointSize() : 11, 24.0));
    f.setBold(s.chars.fontWeight() >= QFont::DemiBold);
    f.setItalic(s.chars.fontItalic());
    m_sample->setFont(f);
}
