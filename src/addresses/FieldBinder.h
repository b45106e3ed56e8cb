#pragma once
// Ties widgets to columns of a record source's current row: they show the row's
// values whenever the position changes, and save() writes their contents back.
// QLineEdit, QComboBox (its text), QLabel, QCheckBox and QPlainTextEdit (lines ended by
// CR LF, as the database holds them) are supported.

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <initializer_list>

#include "RecordSource.h"

class FieldBinder : public QObject {
    Q_OBJECT
public:
    explicit FieldBinder(RecordSource* source, QObject* parent = nullptr);

    void bind(QWidget* widget, const QString& column);
    // A window's table of widgets and their columns (names in UTF-8), bound in order.
    struct Column {
        QWidget* widget;
        const char* column;
    };
    void bind(std::initializer_list<Column> columns);
    // Shows the current row's values in every bound widget (empty when there is none).
    void show();
    // What the bound widgets hold now, by column (labels are shown, not saved).
    QHash<QString, QString> values() const;
    // Writes the widgets' values into the current row, provided the file still holds
    // there what the widgets were filled with. Whatever the outcome short of Done, the
    // widgets keep what they show; a failure is reported by the record source.
    RecordSource::Write save();
    // Writes the widgets' values over whatever the row holds now.
    bool overwrite();
    // True when a widget holds something else than it was filled with.
    bool edited() const { return values() != m_shownValues; }
    // Writes one value into a bound widget, as the user would.
    void setValue(const QString& column, const QString& value);
    QString value(const QString& column) const;

    // How a check box reads a yes/no column: Jet writes -1 for yes, a text column may
    // hold a word; empty, "0", "false", "falsch" and "nein" are no.
    static bool isYes(const QString& value);

private:
    struct Binding {
        QPointer<QWidget> widget;
        QString column;
    };
    static QString read(const QWidget* w);
    static void write(QWidget* w, const QString& value);

    void remember();

    RecordSource* m_source;
    QList<Binding> m_bindings;
    QHash<QString, QString> m_read;        // column -> text as read from the row
    QHash<QString, QString> m_shownValues; // values() right after filling
    qint64 m_readVersion = -1;             // the row's version as read, where kept
};
