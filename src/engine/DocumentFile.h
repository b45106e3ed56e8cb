#pragma once
// The file side of loading and saving: reading past a number of leading bytes, and
// writing a head and a body together through SafeSave, so the target is replaced only
// when everything was written. Errors are German texts for the user.

#include <QByteArray>
#include <QString>

class DocumentFile {
public:
    // The file's bytes after the first `offset`.
    static bool read(const QString& path, int offset, QByteArray* data, QString* error);
    // Keeps the first `offset` bytes of the existing file (zeros when it is shorter or
    // missing) and writes `body` after them.
    static bool write(const QString& path, int offset, const QByteArray& body, QString* error);
    // Writes `head` (the own format's page header) and `body` as one file.
    static bool write(const QString& path, const QByteArray& head, const QByteArray& body, QString* error);
};
