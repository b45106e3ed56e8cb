#pragma once
// "Adressen importieren": the first rows of a CSV or vCard file, a field for every
// column (guessed from the header, changeable), a group for all addresses and what to
// do with duplicates; "Übernehmen" writes them in one transaction and shows the summary.

#include "exchange/AddressImport.h"

#include <QDialog>
#include <QList>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;

class frmAdressenImport : public QDialog {
    Q_OBJECT
public:
    frmAdressenImport(const QString& file, const QString& databasePath, QWidget* parent = nullptr);

    // Asks for the file, reads it (a file that cannot be taken is reported) and shows
    // the window. True when addresses were written.
    static bool run(QWidget* owner, const QString& databasePath);

    // The file could be read; else error() says why.
    bool readOk() const { return m_table.error.isEmpty(); }
    QString error() const { return m_table.error; }
    // The field chosen for each column of the file (empty: not taken).
    QStringList mapping() const;
    // What the last "Übernehmen" wrote, shown to the user as well.
    QString summaryText() const { return m_summary; }

    QTableWidget* preview() const { return m_preview; }
    QTableWidget* mappingTable() const { return m_mapping; }
    QComboBox* fieldBox(int column) const { return m_fields.value(column); }
    QComboBox* addressKind() const { return m_kind; }
    QLineEdit* groupText() const { return m_group; }
    QButtonGroup* duplicateChoice() const { return m_duplicates; }

public slots:
    void cmdOK_Click();
    void cboKind_Change();

private:
    void fill();

    QString m_file;
    QString m_databasePath;
    bool m_vcard = false;
    ExchangeTable m_table;
    QString m_summary;
    QLabel* m_info = nullptr;
    QTableWidget* m_preview = nullptr;
    QTableWidget* m_mapping = nullptr;
    QList<QComboBox*> m_fields;
    QComboBox* m_kind = nullptr;
    QLineEdit* m_group = nullptr;
    QButtonGroup* m_duplicates = nullptr;
};
