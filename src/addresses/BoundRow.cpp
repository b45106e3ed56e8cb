#include "BoundRow.h"

#include "FieldBinder.h"
#include "RecordSource.h"

BoundRow::BoundRow(FieldBinder* binder, RecordSource* source, const QString& what, Kind kind)
    : m_binder(binder), m_source(source), m_what(what), m_kind(kind)
{
}

void BoundRow::takeShown() { m_shown = m_binder->values(); }

bool BoundRow::edited() const { return m_binder->values() != m_shown; }

AddressStore::SaveResult BoundRow::commit(QWidget* owner)
{
    using AddressStore::SaveResult;
    if (!m_source->isOpen() || !edited())
        return SaveResult::Saved;
    if (m_kind == Kind::Address) {
        // No current row (an add that failed): the names wait in the fields for the next add.
        if (m_source->absolutePosition() < 0)
            return SaveResult::Saved;
        if (AddressStore::refuseNameless(owner, m_binder->value(QStringLiteral("Vorname")),
                                         m_binder->value(QStringLiteral("Nachname")), QStringLiteral("Speichern")))
            return SaveResult::Editing;
    } else if (m_source->absolutePosition() < 0 && !m_source->addNew()) {
        return SaveResult::Kept;
    }
    const SaveResult s = AddressStore::saveBound(owner, *m_binder, *m_source, m_what);
    if (s == SaveResult::Saved || s == SaveResult::OtherShown)
        takeShown();
    return s;
}

bool BoundRow::followOtherChanges()
{
    if (edited() || !m_source->changedElsewhere() || !m_source->refresh())
        return false;
    takeShown();
    return true;
}
