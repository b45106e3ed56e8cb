#pragma once
// The about box: name and version of the program and the system-information command.

#include <QDialog>

class QLabel;
class QPushButton;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    // "Version " and the build's major, minor and revision numbers.
    static QString versionText();
    // The maker's web page behind Image2; empty when the build names none.
    static QString makerAddress();

    QLabel* Picture1;
    QLabel* lblCompanyProduct;
    QLabel* lblVersion;
    QPushButton* cmdOK;
    QPushButton* cmdSysInfo;
    QLabel* Image2;

public Q_SLOTS:
    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void Image2_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
};
