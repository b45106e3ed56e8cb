#include "AddressStore.h"

#include "AddressDatabase.h"
#include "AddressListBox.h"
#include "FieldBinder.h"
#include "Queries.h"
#include "RecordResult.h"
#include "RecordSource.h"

#include "app/AppState.h"
#include "app/Folders.h"
#include "app/Prompter.h"
#include "app/WrittenRecord.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QSignalBlocker>

#include <algorithm>
#include <memory>

namespace AddressStore {

namespace {
struct Hourglass {
    Hourglass() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Hourglass() { QGuiApplication::restoreOverrideCursor(); }
};
} // namespace

namespace {
QString compose(int row, Entry style, const QString& last, const QString& first, const QString& postCode)
{
    const QString name = last + QLatin1Char(' ') + first;
    switch (style) {
    case Entry::PostCode:
        return postCode + QLatin1Char('\t') + name;
    case Entry::Numbered:
        return QString::number(row + 1) + QStringLiteral("  ") + name;
    case Entry::Name:
        break;
    }
    return name;
}

// The columns of the entry texts, looked up once per list.
struct EntryColumns {
    int last, first, postCode;
    explicit EntryColumns(const RecordSource& s)
        : last(s.columnIndex(QStringLiteral("Nachname"))), first(s.columnIndex(QStringLiteral("Vorname"))),
          postCode(s.columnIndex(QStringLiteral("Postleitzahl")))
    {
    }
    QString text(const RecordSource& s, int row, Entry style) const
    {
        return compose(row, style, s.valueAt(row, last), s.valueAt(row, first),
                       style == Entry::PostCode ? s.valueAt(row, postCode) : QString());
    }
};
} // namespace

QString entryText(const RecordSource& s, int row, Entry style) { return EntryColumns(s).text(s, row, style); }

bool openSources(const QString& path, RecordSource& data1, RecordSource* data2, RecordSource* dataOpt)
{
    const bool ok = data1.open(path, Queries::nameOrder());
    data1.moveLast();
    data1.moveFirst();
    for (RecordSource* s : {data2, dataOpt}) {
        if (!s)
            continue;
        s->open(path, s == data2 ? Queries::letterheadTable() : Queries::optionsTable());
        s->moveLast();
        s->moveFirst();
    }
    return ok;
}

void fillList(AddressListBox* list, RecordSource& source, Entry style)
{
    Hourglass wait;
    const int n = source.recordCount();
    // The list keeps its own copy of the result: its entries stay what they were filled
    // with until the next fill, whatever the source runs meanwhile. The rows' texts are
    // shared, never changed once read; only the row numbers are copied.
    const RecordResult& r = source.result();
    const EntryColumns columns(source);
    auto slotOf = [&r](int column) { return column >= 0 ? r.slot[size_t(column)] : -1; };
    if (r.allKept() || (slotOf(columns.last) >= 0 && slotOf(columns.first) >= 0 &&
                        (style != Entry::PostCode || slotOf(columns.postCode) >= 0))) {
        auto names = std::make_shared<const RecordResult>(r);
        const int last = slotOf(columns.last), first = slotOf(columns.first), postCode = slotOf(columns.postCode);
        auto cell = [names](int row, int slot) { return slot < 0 ? QString() : names->cellText(row, slot); };
        list->setEntries(n, [cell, last, first, postCode, style](int row) {
            return compose(row, style, cell(row, last), cell(row, first), cell(row, postCode));
        });
    } else {
        QStringList entries;
        entries.reserve(n);
        for (int i = 0; i < n; ++i)
            entries << columns.text(source, i, style);
        list->setEntries(entries);
    }
    source.moveFirst();
    if (n)
        list->setCurrentRow(0);
}

void linkList(AddressListBox* list, RecordSource* source)
{
    QObject::connect(list, &AddressListBox::currentRowChanged, source, [list, source](int row) {
        if (row >= 0 && source->recordCount() > 0 && row != source->absolutePosition()) {
            source->setAbsolutePosition(row);
            // A row that could not be read did not become current: neither does its entry.
            if (source->absolutePosition() != row)
                list->setCurrentRow(source->absolutePosition());
        }
    });
    QObject::connect(source, &RecordSource::positionChanged, list, [list](int pos) {
        if (pos >= 0 && pos < list->count() && list->currentRow() != pos)
            list->setCurrentRow(pos);
    });
}

bool searchWithFallback(QWidget* owner, RecordSource& source, AddressListBox* list, const QString& statement,
                        const QString& word, Entry style)
{
    source.setRecordSource(statement);
    // A search that finds nothing (or fails, reported by the source) keeps the result
    // the list shows, so that every entry still leads to its own address.
    if (!source.refreshUnlessEmpty()) {
        if (source.lastError().isEmpty())
            reportNotFound(owner, word);
        if (source.absolutePosition() >= 0)
            list->setCurrentRow(source.absolutePosition());
        return false;
    }
    fillList(list, source, style);
    return true;
}

void reportNotFound(QWidget* owner, const QString& word)
{
    prompter().message(owner, QString(),
                       QStringLiteral("Unter dem eingegebenen Suchwort   (") + word +
                           QStringLiteral(")  wurden keine Daten gefunden."));
}

bool refreshIfChanged(RecordSource& source, AddressListBox* list, Entry style, bool edited)
{
    if (edited || !source.changedElsewhere())
        return false;
    const int oldRow = source.absolutePosition();
    const qint64 key = source.keyAt(oldRow);
    if (!source.refresh())
        return false;
    fillList(list, source, style);
    int row = source.rowOfKey(key);
    if (row < 0 && key != 0) {
        // The address shown is gone: the user learns why another one shows now.
        row = std::min(oldRow, source.recordCount() - 1);
        prompter().message(list->window(), QStringLiteral("Adressen"),
                           QStringLiteral("Die angezeigte Adresse ist nicht mehr in der Liste: Sie wurde an einem "
                                          "anderen Arbeitsplatz oder in einem anderen Programm gelöscht oder "
                                          "geändert. Angezeigt wird jetzt die Adresse daneben."));
    } else if (row < 0) {
        row = std::min(oldRow, source.recordCount() - 1);
    }
    if (row > 0) {
        source.setAbsolutePosition(row);
        list->setCurrentRow(source.absolutePosition());
    }
    return true;
}

SaveResult saveBound(QWidget* owner, FieldBinder& binder, RecordSource& source, const QString& what)
{
    const QString title = QStringLiteral("Speichern");
    switch (binder.save()) {
    case RecordSource::Write::Done:
        return SaveResult::Saved;
    case RecordSource::Write::Failed:
        return SaveResult::Kept; // reported by the source
    case RecordSource::Write::DeletedElsewhere: {
        const Prompter::Button answer = prompter().message(
            owner, title,
            what + QStringLiteral(" wurde inzwischen an einem anderen Arbeitsplatz gelöscht.\r\r"
                                  "Ja: mit Ihren Eingaben wieder anlegen\r"
                                  "Nein: Ihre Eingaben verwerfen\r"
                                  "Abbrechen: weiter bearbeiten (nichts wird gespeichert)"),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, Prompter::Icon::Exclamation);
        if (answer == QMessageBox::Yes)
            return source.addRow(binder.values()) ? SaveResult::Saved : SaveResult::Kept;
        // Nothing is left to store: the window may move on.
        return answer == QMessageBox::No ? SaveResult::Saved : SaveResult::Editing;
    }
    case RecordSource::Write::ChangedElsewhere:
        break;
    }
    const Prompter::Button answer = prompter().message(
        owner, title,
        what + QStringLiteral(" wurde inzwischen an einem anderen Arbeitsplatz geändert.\r\r"
                              "Ja: Ihre Fassung speichern (die andere Fassung wird überschrieben)\r"
                              "Nein: die andere Fassung anzeigen (Ihre Eingaben werden verworfen)\r"
                              "Abbrechen: weiter bearbeiten (nichts wird gespeichert)"),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, Prompter::Icon::Exclamation);
    if (answer == QMessageBox::Yes)
        return binder.overwrite() ? SaveResult::Saved : SaveResult::Kept;
    if (answer == QMessageBox::No)
        return source.reloadRow() ? SaveResult::OtherShown : SaveResult::Kept;
    return SaveResult::Editing;
}

bool closeUnsaved(QWidget* owner)
{
    return prompter().message(owner, QStringLiteral("Speichern"),
                              QStringLiteral("Ihre Änderungen konnten nicht gespeichert werden.\rSoll das Fenster "
                                             "trotzdem geschlossen werden? Die Änderungen gehen dann verloren."),
                              QMessageBox::Yes | QMessageBox::No, Prompter::Icon::Exclamation) == QMessageBox::Yes;
}

bool searchButton(QWidget* owner, RecordSource& source, AddressListBox* list, const QString& word)
{
    if (word.isEmpty()) {
        prompter().message(owner, QString(),
                           QStringLiteral("Sie müssen im Textfeld 'Suchen nach Adresse' (links) erst ein Suchwort "
                                          "eingeben!"));
        return false;
    }
    return searchWithFallback(owner, source, list, Queries::search(word), word);
}

QStringList readGroups(const QString& workFolder)
{
    QStringList groups;
    bool ok = false;
    WrittenRecordReader r =
        WrittenRecordReader::fromFile(Folders::withSlash(workFolder) + QStringLiteral("ListeGruppe.txt"), &ok);
    if (!ok)
        return groups;
    while (!r.atEnd())
        groups << r.next().toString();
    return groups;
}

QStringList databaseGroups(const RecordSource& source)
{
    return source.distinctValues(QStringLiteral("Gruppe"));
}

void fillGroups(QComboBox* box, const QString& workFolder, const RecordSource* source)
{
    Hourglass wait;
    if (Folders::dirExists(workFolder))
        QDir::setCurrent(workFolder);
    const QSignalBlocker block(box);
    box->clear();
    const bool listFile = Folders::fileExists(Folders::withSlash(workFolder) + QStringLiteral("ListeGruppe.txt"));
    box->addItems(listFile || !source ? readGroups(workFolder) : databaseGroups(*source));
    box->setEditable(true);
    resetGroupBox(box);
}

void resetGroupBox(QComboBox* box)
{
    const QSignalBlocker block(box);
    box->setCurrentIndex(-1);
    box->setEditText(QStringLiteral("Gruppe auswählen"));
}

bool refuseNameless(QWidget* owner, const QString& first, const QString& last, const QString& title)
{
    if (!first.trimmed().isEmpty() || !last.trimmed().isEmpty())
        return false;
    prompter().message(owner, title,
                       QStringLiteral("Eine Adresse braucht einen Vornamen oder einen Nachnamen (oder einen "
                                      "Firmennamen). Ohne Namen wird sie nicht gespeichert."),
                       QMessageBox::Ok, Prompter::Icon::Exclamation);
    return true;
}

bool addAddress(QWidget* owner, RecordSource& source, FieldBinder& binder, AddressListBox* list)
{
    const QString title = QStringLiteral("Neue Adresse anlegen");
    const QString firstColumn = QStringLiteral("Vorname");
    const QString lastColumn = QStringLiteral("Nachname");
    // Names left in the fields by an add that failed are offered again.
    const bool retry = source.absolutePosition() < 0 && source.recordCount() > 0;
    const auto first = prompter().input(owner, title, QStringLiteral("Geben Sie den Vornamen oder Firmennamen ein!"),
                                        retry ? binder.value(firstColumn) : QString());
    if (!first)
        return false;
    const auto last = prompter().input(owner, title, QStringLiteral("Geben Sie den Nachnamen oder Firmennamen ein!"),
                                       retry ? binder.value(lastColumn) : QString());
    if (!last)
        return false;
    if (refuseNameless(owner, *first, *last, title))
        return false;
    bool listed = false;
    bool added = false;
    {
        // One message for the whole add, below, instead of the source's own.
        const QSignalBlocker quiet(&source);
        source.setRecordSource(Queries::lastNameOrder());
        listed = source.refresh();
        // One statement: the row with both names, or no row at all.
        added = listed && source.addRow({{firstColumn, *first}, {lastColumn, *last}});
    }
    if (!added) {
        if (listed)
            fillList(list, source, Entry::Name);
        // No current row, so the names in the fields cannot be saved over another address.
        source.clearPosition();
        list->setCurrentRow(-1);
        binder.setValue(firstColumn, *first);
        binder.setValue(lastColumn, *last);
        prompter().message(owner, title,
                           QStringLiteral("Die neue Adresse wurde nicht angelegt. ") + source.lastError() +
                               QStringLiteral("\nVorname und Nachname stehen noch in den Feldern und werden beim "
                                              "nächsten Anlegen wieder vorgeschlagen."),
                           QMessageBox::Ok, Prompter::Icon::Exclamation);
        return false;
    }
    // Sorted in at once: the statement runs again and the new row is found by its key.
    const qint64 key = source.keyAt(source.recordCount() - 1);
    {
        const QSignalBlocker quiet(&source);
        source.refresh();
    }
    fillList(list, source, Entry::Name);
    const int row = std::max(0, source.rowOfKey(key));
    source.setAbsolutePosition(row);
    list->setCurrentRow(source.absolutePosition());
    return true;
}

bool deleteAddress(QWidget* owner, RecordSource& source, AddressListBox* list)
{
    if (prompter().message(owner, QStringLiteral(" Achtung !!!"), QStringLiteral("Der aktuelle Datensatz wird gelöscht !!!"),
                           QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
        return false;
    if (source.recordCount() == 1) {
        prompter().message(owner, QString(),
                           QStringLiteral("Dies ist der letzte Datensatz! \rLegen Sie zuerst eine neue Adresse an!\r"
                                          "Löschen Sie anschließend diesen Datensatz."));
        return false;
    }
    if (!source.deleteRow())
        return false;
    const int pos = source.absolutePosition();
    fillList(list, source, Entry::Name);
    source.setAbsolutePosition(pos);
    if (pos >= 0)
        list->setCurrentRow(pos);
    return true;
}

bool switchDatabase(QWidget* owner, AppState& state, RecordSource& data1, RecordSource* data2,
                    RecordSource* dataOpt, AddressListBox* list)
{
    QString folder = QStringLiteral("/");
    if (Folders::dirExists(state.AddressFolder))
        folder = state.AddressFolder;
    else if (Folders::dirExists(state.WorkFolder))
        folder = state.WorkFolder;
    const FileChoice choice = prompter().openFile(owner, QStringLiteral("Adressendatenbank öffnen"),
                                                  QStringLiteral("Adressendatenbank (*.qxa *.adr)|*.qxa; *.adr|"),
                                                  folder);
    const bool server = AddressDatabase::isServerAddress(choice.path);
    if (choice.cancelled() || (!server && !Folders::fileExists(choice.path)))
        return false;
    // Tried first on the side: a file that cannot serve leaves the one in use in force.
    {
        RecordSource probe;
        QStringList sources{Queries::nameOrder()};
        if (data2)
            sources << Queries::letterheadTable();
        if (dataOpt)
            sources << Queries::optionsTable();
        for (const QString& s : std::as_const(sources)) {
            if (probe.open(choice.path, s))
                continue;
            prompter().message(owner, QStringLiteral("Adressendatenbank öffnen"),
                               (server ? QStringLiteral("Die Datenbank ") + AddressDatabase::displayName(choice.path)
                                       : QStringLiteral("Die Datei ") + choice.path) +
                                   QStringLiteral(" kann nicht als Adressen-Datenbank verwendet werden.\r") +
                                   probe.lastError() + QStringLiteral("\rEs bleibt bei der Adressen-Datenbank ") +
                                   AddressDatabase::displayName(state.AddressDbPath) + QLatin1Char('.'),
                               QMessageBox::Ok, Prompter::Icon::Exclamation);
            return false;
        }
    }
    state.AddressDbPath = choice.path;
    data1.close();
    if (data2)
        data2->close();
    if (dataOpt)
        dataOpt->close();
    const bool ok = openSources(state.AddressDbPath, data1, data2, dataOpt);
    fillList(list, data1, Entry::Name);
    return ok;
}

} // namespace AddressStore
