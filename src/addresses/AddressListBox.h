#pragma once
// The address name list: one entry per row of a record source's result, entry i being
// row i. The entries are made when the view shows them, so that a list of 100,000
// addresses fills at once; the scroll bar still covers every entry. A table view of one
// column without headers or grid: a list view lays out every entry on each fill (4 ms
// at 100,000), a table view only the rows on screen.

#include <QTableView>
#include <QStringList>

#include <functional>

class AddressEntryModel;

class AddressListBox : public QTableView {
    Q_OBJECT
public:
    explicit AddressListBox(QWidget* parent = nullptr);

    int count() const;
    QString text(int row) const;
    QStringList entries() const;
    // Replaces all entries; no entry is current afterwards and no signal is sent.
    void setEntries(const QStringList& entries);
    // The same for `count` entries whose texts `text` gives when asked; it must keep
    // giving the same texts until the entries are replaced.
    void setEntries(int count, std::function<QString(int)> text);
    void clear() { setEntries({}); }

    // -1 when no entry is current.
    int currentRow() const;
    void setCurrentRow(int row);

protected:
    void changeEvent(QEvent* e) override;

signals:
    void currentRowChanged(int row);
    void entryDoubleClicked(int row);

private:
    void fitRowHeight();
    AddressEntryModel* m_model;
};
