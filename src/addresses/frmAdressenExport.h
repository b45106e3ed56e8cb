#pragma once
// "Adressen exportieren": the list a window shows, one group or all addresses,
// written as CSV (UTF-8 or Windows-1252, semicolons, a header the import maps back)
// or as vCard 4.0, to a file the user names.

#include "exchange/AddressExport.h"

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QLabel;
class RecordSource;

class frmAdressenExport : public QDialog {
    Q_OBJECT
public:
    enum Scope { CurrentList, Group, All };

    // `currentList` is the statement of the list the calling window shows; without one
    // only a group or all addresses can be chosen.
    frmAdressenExport(const QString& databasePath, const QString& currentList = {}, QWidget* parent = nullptr);

    // Shows the window; true when a file was written.
    static bool run(QWidget* owner, const QString& databasePath, const QString& currentList = {});

    // The database could be opened; else error() says why.
    bool openOk() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }
    // How many addresses the chosen list holds.
    int count() const;
    AddressExport::Format format() const;
    // What the last export reported to the user.
    QString reportText() const { return m_report; }

    QButtonGroup* scopeChoice() const { return m_scope; }
    QComboBox* groupBox() const { return m_group; }
    QButtonGroup* formatChoice() const { return m_format; }
    QLabel* countLabel() const { return m_count; }

public slots:
    void cmdOK_Click();
    // The chosen list is read again and its size shown.
    void optScope_Click();

private:
    QString statement() const;

    QString m_currentList;
    QString m_error;
    QString m_report;
    RecordSource* m_source = nullptr;
    QButtonGroup* m_scope = nullptr;
    QComboBox* m_group = nullptr;
    QButtonGroup* m_format = nullptr;
    QLabel* m_count = nullptr;
};
