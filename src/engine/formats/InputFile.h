#pragma once
// Reading a document or a picture from disk without trusting the path: only a regular
// file is read (a device such as /dev/zero never ends, a named pipe blocks), and only
// up to a size no real document or picture reaches. Pictures are decoded with an
// allocation limit. Errors are German texts naming the cause.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace InputFile {

// Larger files are refused; the messages name these limits.
constexpr qint64 MaxDocumentBytes = 256LL * 1024 * 1024;
constexpr qint64 MaxPictureBytes = 64LL * 1024 * 1024;
// Decoded pixels may take at most this many megabytes (an A4 page at 600 dpi takes 134).
constexpr int MaxPictureMegabytes = 256;

// The file's bytes after the first `offset`. False with a German `error` when the path
// is missing, a folder, not a regular file, unreadable or larger than `limit`.
bool read(const QString& path, qint64 offset, QByteArray* data, QString* error,
          qint64 limit = MaxDocumentBytes);

// The picture in the file `path`; a null image with `error` set when it is no regular
// file, too large, or its pixels would exceed the allocation limit.
QImage readPicture(const QString& path, QString* error = nullptr);
// The same for picture bytes already in memory (embedded pictures, data URLs).
QImage decodePicture(const QByteArray& bytes);

} // namespace InputFile
