#pragma once
// What the address windows do with the store: fill an address name list from a record
// source, keep list index and position together, search with fallback, read the group
// list, add and delete an address, switch to another database file. Messages go
// through the prompter.

#include <QString>
#include <QStringList>

class FieldBinder;
class QComboBox;
class AddressListBox;
class QWidget;
class RecordSource;
struct AppState;

namespace AddressStore {

enum class Entry {
    Name,     // Nachname, blank, Vorname
    PostCode, // Postleitzahl, tab, Nachname, blank, Vorname
    Numbered, // running number from 1, two blanks, Nachname, blank, Vorname
};

QString entryText(const RecordSource& source, int row, Entry style);

// Opens a window's record sources: addresses in name order (moved last and first),
// the letterhead and (when given) the options table. False when the addresses could
// not be opened; the error is in data1.lastError().
bool openSources(const QString& path, RecordSource& data1, RecordSource* data2, RecordSource* dataOpt);

// Refills `list` from the whole result, moves to the first row and selects entry 0.
void fillList(AddressListBox* list, RecordSource& source, Entry style);

// Clicking an entry moves the source there; moving the source selects the entry.
void linkList(AddressListBox* list, RecordSource* source);

// The search button of the address windows: an empty word is refused with a message;
// otherwise searchWithFallback with the search over names, street and town.
bool searchButton(QWidget* owner, RecordSource& source, AddressListBox* list, const QString& word);

// Runs `statement` (made from `word`); with no rows shows the not-found message, runs
// the last-name statement and leaves the list alone (false). Otherwise refills the list
// from the result (true).
bool searchWithFallback(QWidget* owner, RecordSource& source, AddressListBox* list, const QString& statement,
                        const QString& word, Entry style = Entry::Name);

// The group names of "ListeGruppe.txt" in `workFolder`, in file order; empty when the
// file is missing.
QStringList readGroups(const QString& workFolder);
// Fills the group box and sets its text to "Gruppe auswählen".
void fillGroups(QComboBox* box, const QString& workFolder);

// Asks for the two names and adds the address; false when cancelled or failed.
bool addAddress(QWidget* owner, RecordSource& source, FieldBinder& binder, AddressListBox* list);
// Warns, refuses to delete the last row, else deletes the current row and refills.
bool deleteAddress(QWidget* owner, RecordSource& source, AddressListBox* list);

// Lets the user choose another database file and reopens the sources on it.
bool switchDatabase(QWidget* owner, AppState& state, RecordSource& data1, RecordSource* data2,
                    RecordSource* dataOpt, AddressListBox* list);

} // namespace AddressStore
