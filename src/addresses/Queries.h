#pragma once
// Every statement the program runs on the address table, one function each. User
// input is spliced in as typed; only an apostrophe is doubled so the statement runs.

#include <QString>

namespace Queries {

// "O'Neill" -> "O''Neill".
QString spliced(const QString& input);

// Name order: window opening, "show all", switching the database file.
QString nameOrder();
// Last-name order: after a search that found nothing, after adding an address.
QString lastNameOrder();
// Search button: the word anywhere in last name, first name, street or town.
QString search(const QString& word);
// Search as you type: the word anywhere in last or first name.
QString typeSearch(const QString& word);
// Group choice: groups starting with the text.
QString group(const QString& group);
// Postal-code order of the mail merge.
QString postcodeOrder();
// Criterion that finds the address with record number n.
QString recordNumber(qint64 n);

// Which of the statements above `statement` is, as far as the name index can answer
// it: exactly the text one of them makes, else None.
struct Recognised {
    enum Kind { None, NameOrder, LastNameOrder, TypeSearch } kind = None;
    QString word; // TypeSearch: the word it was made from
};
Recognised recognise(const QString& statement);

// The three tables and the record sources of the other two.
QString addressTable();
QString letterheadTable();
QString optionsTable();

} // namespace Queries
