#pragma once
// Setting up the address store on a PostgreSQL server, and copying a store's contents
// (addresses, letterhead, options) from one place to another, file or server.

#include <QString>

namespace AddressServer {

// The role that may read and change rows, and nothing else (no tables, no indexes).
QString deskRole();

// Creates the tables, indexes and triggers and the desk role in the database at
// `url` (connected as its owner). Safe to run again. Empty on success, with what was
// done in `report`; else a German text, and nothing is left half made.
QString create(const QString& url, QString* report);

// Copies every address, the letterhead and the options from the store at `from` to
// the store at `to` (each a file path or a server address; both must exist with their
// tables). Addresses keep their record numbers: one that is there already is replaced,
// so a second run changes nothing. One transaction: all or nothing.
QString copy(const QString& from, const QString& to, QString* report);

} // namespace AddressServer
