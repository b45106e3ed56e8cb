#pragma once
// "  Grafik Optionen": the distances of the selected image to the text (in the
// page-setup unit), whether the image shows as a grey box on screen, and the format
// images are exported in; "Bild speichern..." writes the image's pixels to a file.

#include "LengthTexts.h"

#include <QDialog>
#include <array>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TextControl;

class frmImageDlg : public QDialog {
    Q_OBJECT
public:
    explicit frmImageDlg(QWidget* parent = nullptr);

    // Shows the dialog modally for `surface` with lengths in `unit` (1 inch, 2 cm);
    // true when it was confirmed.
    static bool edit(TextControl* surface, int unit, QWidget* parent = nullptr);

    TextControl* surface = nullptr;
    int unit = 2;

    QGroupBox* fraBorders;
    QLineEdit* txtLeftBorder;
    QLineEdit* txtTopBorder;
    QLineEdit* txtRightBorder;
    QLineEdit* txtBottomBorder;
    std::array<QLabel*, 4> lblBorder;
    std::array<QLabel*, 4> lblMeasurement;
    QRadioButton* optSaveToFile;
    QRadioButton* optEmbed;
    QComboBox* cboFileFormats;
    QPushButton* cmdSaveImage;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

public Q_SLOTS:
    void Form_Load();
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdSaveImage_Click();

private:
    // Reads the display setting and writes it back unchanged; false when the surface
    // does not keep it.
    bool displaySettingAvailable() const;
    std::array<QLineEdit*, 4> borderFields() const;

    LengthTexts m_lengths;
};
