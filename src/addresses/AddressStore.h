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

// Runs `statement` (made from `word`); with no rows shows the not-found message and
// keeps the statement, result and current row that the list shows (false).
// Otherwise refills the list from the result (true).
bool searchWithFallback(QWidget* owner, RecordSource& source, AddressListBox* list, const QString& statement,
                        const QString& word, Entry style = Entry::Name);
// The not-found message of a search.
void reportNotFound(QWidget* owner, const QString& word);

// Runs the source's statement again when another program or window changed the file,
// refills the list and keeps the current address (by key) where it is still listed;
// where it is not, says so and shows the address that took its place in the list.
// Nothing happens while `edited` (unsaved input in the fields stays). True when rerun.
bool refreshIfChanged(RecordSource& source, AddressListBox* list, Entry style, bool edited);

// Saving bound fields. Saved: stored. Kept: not stored (the failure was reported), the
// fields keep the input. Editing: not stored, the user goes on editing. OtherShown:
// the fields now show what the other workplace stored.
enum class SaveResult { Saved, Kept, Editing, OtherShown };
// Stores the fields when the row still holds what was read; otherwise asks whether to
// overwrite the other workplace's version, show it, or go on editing. A row deleted
// there can be added again with the input, or the input dropped. `what` names the row
// in the messages ("Die Adresse", "Die Absenderangaben").
SaveResult saveBound(QWidget* owner, FieldBinder& binder, RecordSource& source, const QString& what);
// Asked before a window closes with input that could not be stored: true to close.
bool closeUnsaved(QWidget* owner);

// The group names of "ListeGruppe.txt" in `workFolder`, in file order; empty when the
// file is missing.
QStringList readGroups(const QString& workFolder);
// The distinct groups the addresses of `source`'s file carry, sorted.
QStringList databaseGroups(const RecordSource& source);
// Fills the group box from the group list file, or from the database's groups when
// there is no such file, and sets its text to "Gruppe auswählen".
void fillGroups(QComboBox* box, const QString& workFolder, const RecordSource* source = nullptr);
// The group box shows "Gruppe auswählen" again (no group chosen).
void resetGroupBox(QComboBox* box);

// Refuses, with a message under `title`, an address that has neither a first nor a
// last name; true when refused.
bool refuseNameless(QWidget* owner, const QString& first, const QString& last, const QString& title);

// Asks for the two names and adds the address, sorted into the list at once; false
// when cancelled, refused (no name at all) or failed.
bool addAddress(QWidget* owner, RecordSource& source, FieldBinder& binder, AddressListBox* list);
// Warns, refuses to delete the last row, else deletes the current row and refills.
bool deleteAddress(QWidget* owner, RecordSource& source, AddressListBox* list);

// Lets the user choose another database file and reopens the sources on it. A file
// that cannot be used is reported and the sources stay on the file in use.
bool switchDatabase(QWidget* owner, AppState& state, RecordSource& data1, RecordSource* data2,
                    RecordSource* dataOpt, AddressListBox* list);

} // namespace AddressStore
