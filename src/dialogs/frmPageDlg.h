#pragma once
// "Seite einrichten": paper size, the four page margins and the HTML save options of
// one document. The caller hands over the document's editing surface and the unit of
// the length fields; the dialog reads on load and writes back only on OK.

#include "LengthTexts.h"

#include <QDialog>
#include <array>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TextControl;

class frmPageDlg : public QDialog {
    Q_OBJECT
public:
    explicit frmPageDlg(QWidget* parent = nullptr);

    // Shows the dialog modally for `surface`; true when it was confirmed.
    static bool edit(TextControl* surface, int unit, QWidget* parent = nullptr);

    TextControl* surface = nullptr;
    int unit = 2; // 1 inch, 2 centimetre

    QLineEdit* txtLeftMargin;
    QLineEdit* txtTopMargin;
    QLineEdit* txtRightMargin;
    QLineEdit* txtBottomMargin;
    QComboBox* cboPaperSize;
    QLineEdit* txtPaperWidth;
    QLineEdit* txtPaperHeight;
    std::array<QLabel*, 6> lblMeasurement;
    std::array<QRadioButton*, 4> optStylesheetOptions;
    QLabel* lblStylesheetFile;
    QLineEdit* txtStylesheetFile;
    QLabel* lblHint; // why OK is disabled
    QPushButton* btnOK;
    QPushButton* btnCancel;

public Q_SLOTS:
    void Form_Load();
    void cboPaperSize_Click(int index);
    void txtPaperSize_LostFocus();
    void optStylesheetOptions_Click();
    void btnOK_Click();
    void btnCancel_Click();

private:
    void validate();
    void setLength(QLineEdit* e, int twips);
    int twips(const QLineEdit* e) const;

    LengthTexts m_lengths;
};
