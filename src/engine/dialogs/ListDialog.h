#pragma once
// The list dialog "Aufzählung und Nummerierung": kind of list, numbering style, level
// and the two indents of the current paragraph's list.

#include <QDialog>

class QComboBox;
class QSpinBox;
namespace DialogParts {
class LengthBox;
}

struct ListAttributes {
    int type = 0;  // 0 none, 2 bullets, 4 numbering
    int style = 3; // numbering style 3..7
    int level = 1;
    int markerIndent = 0; // twips
    int textIndent = 360; // twips
    bool operator==(const ListAttributes&) const = default;
};

class ListDialog : public QDialog {
    Q_OBJECT
public:
    explicit ListDialog(const ListAttributes& current, QWidget* parent = nullptr);
    ListAttributes attributes() const;

private:
    void updateEnabled();

    QComboBox* m_type;
    QComboBox* m_style;
    QSpinBox* m_level;
    DialogParts::LengthBox* m_marker;
    DialogParts::LengthBox* m_text;
};
