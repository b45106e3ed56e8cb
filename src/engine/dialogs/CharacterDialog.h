#pragma once
// The character dialog "Zeichen": font family, size, style, underline,
// strike-through and colour with a sample. It starts from the attributes the whole
// selection shares (a mixed attribute shows empty or undecided) and yields only what
// the user changed.

#include <QColor>
#include <QDialog>
#include <QTextCharFormat>

class QCheckBox;
class QComboBox;
class QFontComboBox;
class QLabel;
class QPushButton;

class CharacterDialog : public QDialog {
    Q_OBJECT
public:
    // `common` holds the properties that are equal over the whole selection.
    explicit CharacterDialog(const QTextCharFormat& common, QWidget* parent = nullptr);

    // The properties to merge into the selection; empty when nothing was changed.
    QTextCharFormat changes() const;

private:
    void updateSample();
    QTextCharFormat current() const;

    QTextCharFormat m_initial;
    QFontComboBox* m_family;
    QComboBox* m_size;
    QComboBox* m_style;
    QCheckBox* m_underline;
    QCheckBox* m_strike;
    QPushButton* m_colourButton;
    QColor m_colour;
    QLabel* m_sample;
};
