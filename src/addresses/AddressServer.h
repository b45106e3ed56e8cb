#pragma once
// Setting up the address store on a PostgreSQL server, and copying a store's contents
// (addresses, letterhead, options) from one place to another, file or server.

#include <QString>
#include <QtGlobal>

namespace AddressServer {

// The role that may read and change rows, and nothing else (no tables, no indexes).
QString deskRole();
// How many changes back the server remembers which addresses they touched.
qint64 logKept();

// Creates the tables, indexes and triggers and the desk role in the database at
// `url` (connected as its owner). Safe to run again. Empty on success, with what was
// done in `report`; else a German text, and nothing is left half made.
QString create(const QString& url, QString* report);

// Copies every address, the letterhead and the options from the store at `from` to
// the store at `to` (each a file path or a server address; both must exist with their
// tables). Addresses keep their record numbers: one that is there already is replaced,
// and one the source does not hold is deleted, so the target ends up equal to the source
// and a second run changes nothing. One transaction: all or nothing.
QString copy(const QString& from, const QString& to, QString* report);

} // namespace AddressServer
