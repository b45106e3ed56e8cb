#pragma once
// The paragraph dialog "Absatz": alignment, indents, spacing, line spacing and automatic
// hyphenation of the selected paragraphs. It starts from the first paragraph and yields only the
// properties the user changed, so a mixed selection keeps what was not touched.

#include <QDialog>
#include <QTextBlockFormat>

class QCheckBox;
class QComboBox;
namespace DialogParts {
class LengthBox;
}

class ParagraphDialog : public QDialog {
    Q_OBJECT
public:
    explicit ParagraphDialog(const QTextBlockFormat& first, QWidget* parent = nullptr);

    // The properties to merge into the selected paragraphs; empty when nothing changed.
    QTextBlockFormat changes() const;

private:
    QComboBox* m_alignment;
    QComboBox* m_lineSpacing;
    DialogParts::LengthBox* m_left;
    DialogParts::LengthBox* m_right;
    DialogParts::LengthBox* m_firstLine;
    DialogParts::LengthBox* m_before;
    DialogParts::LengthBox* m_after;
    QCheckBox* m_hyphenate;
    bool m_initialHyphenate = false;
    int m_initialAlignment = 0;
    int m_initialSpacing = 0;
};
