#pragma once
// "  Absatzrahmen": the lines around the selected paragraphs (which sides, lines at tab
// positions, single or double, connected frames), their width and their distance to
// the text in points.

#include <QDialog>

class QCheckBox;
class QComboBox;
class QPushButton;
class TextControl;

class frmFramesDlg : public QDialog {
    Q_OBJECT
public:
    explicit frmFramesDlg(QWidget* parent = nullptr);

    // Shows the dialog modally for `surface`; true when it was confirmed.
    static bool edit(TextControl* surface, QWidget* parent = nullptr);

    TextControl* surface = nullptr;

    QCheckBox* chkLeft;
    QCheckBox* chkRight;
    QCheckBox* chkTop;
    QCheckBox* chkBottom;
    QCheckBox* chkTabLines;
    QCheckBox* chkDoubleLines;
    QCheckBox* chkConnectedFrames;
    QComboBox* cboLineWidth;
    QComboBox* cboTextDistance;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

public Q_SLOTS:
    void Form_Load();
    void cmdOK_Click();
    void cmdCancel_Click();
};
