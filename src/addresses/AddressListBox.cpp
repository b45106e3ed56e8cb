#include "AddressListBox.h"

#include <QAbstractListModel>
#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>

class AddressEntryModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : m_count; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_count || (role != Qt::DisplayRole && role != Qt::EditRole))
            return {};
        return m_text(index.row());
    }
    QString text(int row) const { return row >= 0 && row < m_count ? m_text(row) : QString(); }
    void reset(int count, std::function<QString(int)> text)
    {
        beginResetModel();
        m_count = text ? count : 0;
        m_text = std::move(text);
        endResetModel();
    }

private:
    int m_count = 0;
    std::function<QString(int)> m_text;
};

AddressListBox::AddressListBox(QWidget* parent) : QTableView(parent), m_model(new AddressEntryModel(this))
{
    setModel(m_model);
    // As a list box looks and behaves: one column as wide as the box, no headers or grid,
    // one line per entry, Tab leaves the box.
    horizontalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    setShowGrid(false);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    fitRowHeight();
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { emit currentRowChanged(current.isValid() ? current.row() : -1); });
    connect(this, &QTableView::doubleClicked, this, [this](const QModelIndex& i) {
        if (i.isValid())
            emit entryDoubleClicked(i.row());
    });
}

void AddressListBox::fitRowHeight()
{
    // A line of text and the small margin a list entry has.
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
}

void AddressListBox::changeEvent(QEvent* e)
{
    QTableView::changeEvent(e);
    if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange)
        fitRowHeight();
}

int AddressListBox::count() const { return m_model->rowCount(); }

QString AddressListBox::text(int row) const { return m_model->text(row); }

QStringList AddressListBox::entries() const
{
    QStringList all;
    all.reserve(count());
    for (int i = 0; i < count(); ++i)
        all << m_model->text(i);
    return all;
}

void AddressListBox::setEntries(const QStringList& entries)
{
    setEntries(int(entries.size()), [entries](int row) { return entries.at(row); });
}

void AddressListBox::setEntries(int count, std::function<QString(int)> text)
{
    const QSignalBlocker block(selectionModel());
    m_model->reset(count, std::move(text));
}

int AddressListBox::currentRow() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() : -1;
}

void AddressListBox::setCurrentRow(int row)
{
    if (row < 0 || row >= count()) {
        setCurrentIndex(QModelIndex());
        return;
    }
    setCurrentIndex(m_model->index(row));
}
