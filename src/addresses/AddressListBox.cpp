#include "AddressListBox.h"

#include <QItemSelectionModel>
#include <QStringListModel>

AddressListBox::AddressListBox(QWidget* parent) : QListView(parent), m_model(new QStringListModel(this))
{
    setModel(m_model);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { emit currentRowChanged(current.isValid() ? current.row() : -1); });
    connect(this, &QListView::doubleClicked, this, [this](const QModelIndex& i) {
        if (i.isValid())
            emit entryDoubleClicked(i.row());
    });
}

int AddressListBox::count() const { return m_model->rowCount(); }

QString AddressListBox::text(int row) const
{
    return m_model->data(m_model->index(row), Qt::DisplayRole).toString();
}

QStringList AddressListBox::entries() const { return m_model->stringList(); }

void AddressListBox::setEntries(const QStringList& entries)
{
    const QSignalBlocker block(selectionModel());
    m_model->setStringList(entries);
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
