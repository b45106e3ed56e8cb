#include "ListDialog.h"

#include "DialogParts.h"

#include <QComboBox>
#include <QFormLayout>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
const int kTypes[] = {0, 2, 4};
}

ListDialog::ListDialog(const ListAttributes& current, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("listDialog"));
    setWindowTitle(QStringLiteral("Aufzählung und Nummerierung"));

    m_type = new QComboBox;
    m_type->setObjectName(QStringLiteral("type"));
    m_type->addItems({QStringLiteral("Keine"), QStringLiteral("Aufzählungszeichen"),
                      QStringLiteral("Nummerierung")});
    m_type->setCurrentIndex(current.type == 2 ? 1 : (current.type == 4 ? 2 : 0));
    m_style = new QComboBox;
    m_style->setObjectName(QStringLiteral("style"));
    m_style->addItems({QStringLiteral("1, 2, 3"), QStringLiteral("A, B, C"),
                       QStringLiteral("a, b, c"), QStringLiteral("I, II, III, IV"),
                       QStringLiteral("i, ii, iii, iv")});
    m_style->setCurrentIndex(qBound(3, current.style, 7) - 3);
    m_level = new QSpinBox;
    m_level->setObjectName(QStringLiteral("level"));
    m_level->setRange(1, 9);
    m_level->setValue(qBound(1, current.level, 9));
    m_marker = new DialogParts::LengthBox(QStringLiteral("markerIndent"), DialogParts::TwipsPerCm,
                                          0, 31680);
    m_marker->setTwips(current.markerIndent);
    m_text =
        new DialogParts::LengthBox(QStringLiteral("textIndent"), DialogParts::TwipsPerCm, 0, 31680);
    m_text->setTwips(current.textIndent);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Art:"), m_type);
    form->addRow(QStringLiteral("&Format:"), m_style);
    form->addRow(QStringLiteral("&Ebene:"), m_level);
    form->addRow(QStringLiteral("Einzug &Zeichen:"), m_marker);
    form->addRow(QStringLiteral("Einzug &Text:"), m_text);
    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    top->addWidget(DialogParts::okCancel(this));
    connect(m_type, &QComboBox::currentIndexChanged, this, &ListDialog::updateEnabled);
    updateEnabled();
}

void ListDialog::updateEnabled() {
    const int type = kTypes[m_type->currentIndex()];
    m_style->setEnabled(type == 4);
    m_level->setEnabled(type != 0);
    m_marker->setEnabled(type != 0);
    m_text->setEnabled(type != 0);
}

ListAttributes ListDialog::attributes() const {
    ListAttributes a;
    a.type = kTypes[m_type->currentIndex()];
    a.style = m_style->currentIndex() + 3;
    a.level = m_level->value();
    a.markerIndent = m_marker->twips();
    a.textIndent = m_text->twips();
    return a;
}
