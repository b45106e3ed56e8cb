#pragma once
// Reading and writing documents by format code. One reader and one writer per
// format live beside this file; these functions choose between them.
// Format codes: 1 plain text, 3 own format, 4 HTML, 5 RTF, 9 Word (RTF content), 10 XML,
// 11 CSS, 12 PDF, 13 DOCX, 14 ODT.

#include "FormatIO.h"

#include <QByteArray>
#include <QString>
#include <memory>

class Document;
class QTextCursor;
struct PageGeometry;

namespace Formats {

// Reads `data` in `format`. With `insertAt` the content is inserted there (one undo
// step) and page settings of the file are ignored; without it the document is
// replaced. On failure returns false, leaves the document unchanged and sets `error`
// to a German description. A file that could be read only in part (cut off, bytes
// dropped) or holds what the document cannot show still succeeds; `note` then says so
// in German.
bool read(int format, const QByteArray& data, Document& doc, QTextCursor* insertAt,
          QString* error, QString* note = nullptr);

// The same for data read from the file at `sourcePath`: links in it (HTML pictures,
// style sheets) are taken from that file's folder, not from the current one.
bool readFrom(int format, const QByteArray& data, const QString& sourcePath, Document& doc,
              QTextCursor* insertAt, QString* error, QString* note = nullptr);

// Writes the document (or only the selection of `selection` when given) in `format`.
// On failure returns false and sets `error` to a German description.
bool write(int format, const Document& doc, const QTextCursor* selection, QByteArray* out,
           QString* error);
// The same with writer options (HTML style-sheet mode and file).
bool write(int format, const Document& doc, const QTextCursor* selection, QByteArray* out,
           QString* error, const WriteOptions& options);

// Reads the file at `path`, skipping `offset` leading bytes. Only a regular file of
// sensible size is read.
bool readFile(int format, const QString& path, qint64 offset, Document& doc,
              QTextCursor* insertAt, QString* error, QString* note = nullptr);
// Writes `header` and then the document to `path` through a save file, so a failure
// leaves an existing file whole. For HTML with style-sheet mode 2 the style sheet is
// written to options.styleSheetFile (relative names beside `path`).
bool writeFile(int format, const Document& doc, const QTextCursor* selection,
               const QString& path, const QByteArray& header, const WriteOptions& options,
               QString* error);

// The format code of a path: last three characters upper-cased decide ("HTML" and
// "DOCX" on four).
int typeOfPath(const QString& path);
// The 30-byte page header in front of own-format files (little-endian: 23, margins
// left, top, right, bottom, height, width, a 16-bit 0).
QByteArray pageHeader(const PageGeometry& page);
constexpr int PageHeaderSize = 30;

// The reader and writer of a format code, or nullptr when the format has none.
std::unique_ptr<FormatReader> readerFor(int format);
std::unique_ptr<FormatWriter> writerFor(int format);

} // namespace Formats
