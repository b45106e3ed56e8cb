#include "TabDialog.h"

#include "DialogParts.h"
#include "engine/objects/TabLeaders.h"
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

// The leaders the dialog offers, by the character a stop keeps.
const QChar kLeaders[] = {QChar(), QLatin1Char('.'), QLatin1Char('-'), QLatin1Char('_')};
QStringList leaderNames() {
    return {QStringLiteral("Ohne"), QStringLiteral("Punkte"), QStringLiteral("Striche"),
            QStringLiteral("Linie")};
}
int leaderIndex(const QTextOption::Tab& t) {
    const QChar leader = TabLeaders::of(t);
    if (leader.isNull())
        return 0;
    // Other leaders read from files show as their nearest: a middle dot as dots, a
    // thick line as a line.
    return leader == u'-' ? 2 : (leader == u'_' || leader == u'=') ? 3 : 1;
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
    m_leader = new QComboBox;
    m_leader->setObjectName(QStringLiteral("leader"));
    m_leader->addItems(leaderNames());
    // A decimal stop keeps its decimal comma where a leader would go.
    connect(m_type, &QComboBox::currentIndexChanged, this, [this](int type) {
        if (type == 3)
            m_leader->setCurrentIndex(0);
        m_leader->setEnabled(type != 3);
    });

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
    form->addRow(QStringLiteral("&Füllzeichen:"), m_leader);
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
    const QStringList leaders = leaderNames();
    m_list->clear();
    for (const QTextOption::Tab& t : std::as_const(m_tabs)) {
        QString item = QStringLiteral("%1 cm\t%2")
                           .arg(de.toString(TabStops::twips(t) / DialogParts::TwipsPerCm, 'f', 2),
                                names.value(TabStops::typeCode(t.type) - 1));
        if (leaderIndex(t) > 0)
            item += QStringLiteral(", ") + leaders.value(leaderIndex(t));
        m_list->addItem(item);
    }
}

void TabDialog::showSelected() {
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_tabs.size())
        return;
    m_pos->setTwips(TabStops::twips(m_tabs.at(row)));
    m_type->setCurrentIndex(TabStops::typeCode(m_tabs.at(row).type) - 1);
    m_leader->setCurrentIndex(leaderIndex(m_tabs.at(row)));
}

void TabDialog::cmdSet_Click() {
    const int twips = m_pos->twips();
    const int at = TabStops::indexAt(m_tabs, twips);
    QTextOption::Tab t = TabStops::make(twips, m_type->currentIndex() + 1);
    const int leader = m_leader->currentIndex();
    // A leader read from a file that the list shows as its nearest stays as it was.
    if (at >= 0 && leader > 0 && leader == leaderIndex(m_tabs.at(at)))
        t = TabLeaders::with(t, TabLeaders::of(m_tabs.at(at)));
    else
        t = TabLeaders::with(t, kLeaders[qBound(0, leader, 3)]);
    // A stop at the same place takes the new type and leader.
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
