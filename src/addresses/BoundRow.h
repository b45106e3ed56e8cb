#pragma once
// One record source's current row as a window's bound fields show it: remembers what
// the fields were filled with and stores them when the user changed them, asking
// where the row changed elsewhere (AddressStore::saveBound).

#include "AddressStore.h"

#include <QHash>
#include <QString>

class FieldBinder;
class QWidget;
class RecordSource;

class BoundRow {
public:
    enum class Kind {
        Address,   // refused without any name; no current row means nothing to store
        SingleRow, // the one row of the sender or options table, added when missing
    };
    BoundRow(FieldBinder* binder, RecordSource* source, const QString& what, Kind kind);

    // The fields were filled anew: this is what they show unedited.
    void takeShown();
    bool edited() const;
    // Stores edited fields. Saved when nothing is left unsaved.
    AddressStore::SaveResult commit(QWidget* owner);
    // Runs the statement again when another connection changed the file and the
    // fields hold no edits; true when the fields show the file's row now.
    bool followOtherChanges();

    FieldBinder* binder() const { return m_binder; }
    RecordSource* source() const { return m_source; }

private:
    FieldBinder* m_binder;
    RecordSource* m_source;
    QString m_what;
    Kind m_kind;
    QHash<QString, QString> m_shown;
};
