#pragma once
// The tab dialog "Tabulatoren": the tab stops of the current paragraph, to set at a
// position with a type and a leader, to delete one by one or all at once.

#include <QDialog>
#include <QList>
#include <QTextOption>

class QComboBox;
class QListWidget;
namespace DialogParts {
class LengthBox;
}

class TabDialog : public QDialog {
    Q_OBJECT
public:
    explicit TabDialog(const QList<QTextOption::Tab>& tabs, QWidget* parent = nullptr);

    // The stops as the user left them, sorted.
    QList<QTextOption::Tab> tabs() const { return m_tabs; }

public Q_SLOTS:
    void cmdSet_Click();
    void cmdDelete_Click();
    void cmdDeleteAll_Click();

private:
    void refill();
    void showSelected();

    QList<QTextOption::Tab> m_tabs;
    QListWidget* m_list;
    DialogParts::LengthBox* m_pos;
    QComboBox* m_type;
    QComboBox* m_leader;
};
