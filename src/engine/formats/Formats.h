#pragma once
// Reading and writing documents by format code. One reader and one writer per
// format live beside this file; these two functions choose between them.
// Format codes: 1 plain text, 3 own format, 4 HTML, 5 RTF, 9 Word, 10 XML, 11 CSS, 12 PDF.

#include <QByteArray>
#include <QString>

class Document;
class QTextCursor;

namespace Formats {

// Reads `data` in `format`. With `insertAt` the content is inserted there (one undo
// step) and page settings of the file are ignored; without it the document is
// replaced. On failure returns false, leaves the document unchanged and sets `error`
// to a German description.
bool read(int format, const QByteArray& data, Document& doc, QTextCursor* insertAt,
          QString* error);

// Writes the document (or only the selection of `selection` when given) in `format`.
// On failure returns false and sets `error` to a German description.
bool write(int format, const Document& doc, const QTextCursor* selection, QByteArray* out,
           QString* error);

} // namespace Formats
