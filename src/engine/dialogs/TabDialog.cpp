#include "TabDialog.h"

#include "DialogParts.h"
#include "engine/objects/TabStops.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QStringList typeNames() {
    return {QStringLiteral("Links"), QStringLiteral("Rechts"), QStringLiteral("Zentriert"),
            QStringLiteral("Dezimal")};
}
} // namespace

TabDialog::TabDialog(const QList<QTextOption::Tab>& tabs, QWidget* parent)
    : QDialog(parent), m_tabs(tabs) {
    setObjectName(QStringLiteral("tabDialog"));
    setWindowTitle(QStringLiteral("Tabulatoren"));
    TabStops::sort(m_tabs);

    m_list = new QListWidget;
    m_list->setObjectName(QStringLiteral("tabList"));
    m_pos =
        new DialogParts::LengthBox(QStringLiteral("position"), DialogParts::TwipsPerCm, 0, 31680);
    m_pos->setTwips(1134);
    m_type = new QComboBox;
    m_type->setObjectName(QStringLiteral("type"));
    m_type->addItems(typeNames());

    auto* set = new QPushButton(QStringLiteral("&Setzen"));
    set->setObjectName(QStringLiteral("cmdSet"));
    auto* del = new QPushButton(QStringLiteral("&Löschen"));
    del->setObjectName(QStringLiteral("cmdDelete"));
    auto* delAll = new QPushButton(QStringLiteral("&Alle löschen"));
    delAll->setObjectName(QStringLiteral("cmdDeleteAll"));
    connect(set, &QPushButton::clicked, this, &TabDialog::cmdSet_Click);
    connect(del, &QPushButton::clicked, this, &TabDialog::cmdDelete_Click);
    connect(delAll, &QPushButton::clicked, this, &TabDialog::cmdDeleteAll_Click);
    connect(m_list, &QListWidget::currentRowChanged, this, &TabDialog::showSelected);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Position:"), m_pos);
    form->addRow(QStringLiteral("&Ausrichtung:"), m_type);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(set);
    buttons->addWidget(del);
    buttons->addWidget(delAll);
    buttons->addStretch();
    auto* row = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addLayout(form);
    left->addWidget(m_list);
    row->addLayout(left);
    row->addLayout(buttons);
    auto* top = new QVBoxLayout(this);
    top->addLayout(row);
    top->addWidget(DialogParts::okCancel(this));
    refill();
}

void TabDialog::refill() {
    const QLocale de(QLocale::German, QLocale::Germany);
    const QStringList names = typeNames();
    m_list->clear();
    for (const QTextOption::Tab& t : std::as_const(m_tabs))
        m_list->addItem(QStringLiteral("%1 cm\t%2")
                            .arg(de.toString(TabStops::twips(t) / DialogParts::TwipsPerCm, 'f', 2),
                                 names.value(TabStops::typeCode(t.type) - 1)));
}

void TabDialog::showSelected() {
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_tabs.size())
        return;
    m_pos->setTwips(TabStops::twips(m_tabs.at(row)));
    m_type->setCurrentIndex(TabStops::typeCode(m_tabs.at(row).type) - 1);
}

void TabDialog::cmdSet_Click() {
    const int twips = m_pos->twips();
    const int at = TabStops::indexAt(m_tabs, twips);
    const QTextOption::Tab t = TabStops::make(twips, m_type->currentIndex() + 1);
    // A stop at the same place takes the new type.
    if (at >= 0)
        m_tabs[at] = t;
    else
        m_tabs.append(t);
    TabStops::sort(m_tabs);
    refill();
}

void TabDialog::cmdDelete_Click() {
    int row = m_list->currentRow();
    if (row < 0)
        row = TabStops::indexAt(m_tabs, m_pos->twips());
    if (row < 0 || row >= m_tabs.size())
        return;
    m_tabs.removeAt(row);
    refill();
}

void TabDialog::cmdDeleteAll_Click() {
    m_tabs.clear();
    refill();
}
