#pragma once
// A server address "postgresql://host[:port]/database[?user=...&sslmode=...]". The
// host may be a socket folder written with %2F for each slash. A password is never
// part of what is kept or shown: it comes from ~/.pgpass (read by the client library)
// or is asked once per run and kept in memory only.

#include <QString>

#include <optional>

struct ServerAddress {
    QString host;     // name, IP address or socket folder
    int port = 5432;
    QString database;
    QString user;     // empty: the client library's default (the login name)
    QString sslmode;  // passed through to the client library
    bool passwordGiven = false; // the address held a password (which was dropped)

    // Reads `text`; false and a German reason in `error` when it is not a server address.
    static bool parse(const QString& text, ServerAddress* out, QString* error);
    // "Server host:port, Datenbank name" for the status bar and messages.
    QString display() const;
    // The address without any password, as it may be written to a file.
    QString url() const;
};

namespace ServerPasswords {
// The password asked for `key` (user@host:port/database) earlier in this run.
QString remembered(const QString& key);
void remember(const QString& key, const QString& password);
void forget(const QString& key);
// Asks for a password (title, prompt); null when cancelled. By default the
// application's prompter asks; a null asker asks nothing.
using Asker = std::optional<QString> (*)(const QString& title, const QString& prompt);
void setAsker(Asker asker);
Asker asker();
} // namespace ServerPasswords
