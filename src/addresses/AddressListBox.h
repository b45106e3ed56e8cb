#pragma once
// The address name list: one entry per row of a record source's result, entry i being
// row i. A list view over a plain list of texts, so that 100,000 entries fill quickly.

#include <QListView>
#include <QStringList>

class QStringListModel;

class AddressListBox : public QListView {
    Q_OBJECT
public:
    explicit AddressListBox(QWidget* parent = nullptr);

    int count() const;
    QString text(int row) const;
    QStringList entries() const;
    // Replaces all entries; no entry is current afterwards and no signal is sent.
    void setEntries(const QStringList& entries);
    void clear() { setEntries({}); }

    // -1 when no entry is current.
    int currentRow() const;
    void setCurrentRow(int row);

signals:
    void currentRowChanged(int row);
    void entryDoubleClicked(int row);

private:
    QStringListModel* m_model;
};
