#pragma once
// The table dialog "Tabelleneigenschaften": border width, inner cell distance, cell
// spacing and the table's alignment on the page; yields only what the user changed.

#include <QDialog>
#include <QTextTableFormat>

class QComboBox;
namespace DialogParts {
class LengthBox;
}

class TableSettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit TableSettingsDialog(const QTextTableFormat& current, QWidget* parent = nullptr);
    QTextTableFormat changes() const;

private:
    DialogParts::LengthBox* m_border;
    DialogParts::LengthBox* m_padding;
    DialogParts::LengthBox* m_spacing;
    QComboBox* m_alignment;
    int m_initialAlignment = 0;
};
