#include "AddressStore.h"

#include "AddressListBox.h"
#include "FieldBinder.h"
#include "Queries.h"
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

namespace AddressStore {

namespace {
struct Hourglass {
    Hourglass() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Hourglass() { QGuiApplication::restoreOverrideCursor(); }
};
} // namespace

namespace {
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
        const QString name = s.valueAt(row, last) + QLatin1Char(' ') + s.valueAt(row, first);
        switch (style) {
        case Entry::PostCode:
            return s.valueAt(row, postCode) + QLatin1Char('\t') + name;
        case Entry::Numbered:
            return QString::number(row + 1) + QStringLiteral("  ") + name;
        case Entry::Name:
            break;
        }
        return name;
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
    QStringList entries;
    const int n = source.recordCount();
    entries.reserve(n);
    const EntryColumns columns(source);
    for (int i = 0; i < n; ++i)
        entries << columns.text(source, i, style);
    list->setEntries(entries);
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
    // A failed statement is reported by the source (dataError); its previous result,
    // position and the list showing them stay.
    if (!source.refresh())
        return false;
    if (source.recordCount() == 0) {
        prompter().message(owner, QString(),
                           QStringLiteral("Unter dem eingegebenen Suchwort   (") + word +
                               QStringLiteral(")  wurden keine Daten gefunden."));
        source.setRecordSource(Queries::lastNameOrder());
        source.refresh();
        return false;
    }
    fillList(list, source, style);
    return true;
}

bool searchButton(QWidget* owner, RecordSource& source, AddressListBox* list, const QString& word)
{
    if (word.isEmpty()) {
        prompter().message(owner, QString(),
                           QStringLiteral("Sie müssen im Textfeld 'Suchen nach Adresse' (links) erst ein Suchwort "
                                          "einbgeben!"));
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

void fillGroups(QComboBox* box, const QString& workFolder)
{
    Hourglass wait;
    if (Folders::dirExists(workFolder))
        QDir::setCurrent(workFolder);
    const QSignalBlocker block(box);
    box->clear();
    box->addItems(readGroups(workFolder));
    box->setEditable(true);
    box->setCurrentIndex(-1);
    box->setEditText(QStringLiteral("Gruppe auswählen"));
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
    const int row = source.recordCount() - 1;
    fillList(list, source, Entry::Name);
    source.setAbsolutePosition(row);
    list->setCurrentRow(row);
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
    if (choice.cancelled() || !Folders::fileExists(choice.path))
        return false;
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
