#pragma once
// Moves content between documents: the result of a reader into the real document
// (replacing it or inserting at a cursor) and a selection into a document of its own
// for the writers. Image resources travel with the content.

#include <QImage>
#include <QStringList>

class Document;
class QTextCursor;
class QTextDocument;

namespace DocumentTransfer {

// Replaces everything of `target` (body, page, header/footer parts) by `source`.
// The undo history of the body is cleared.
void replace(Document& target, const Document& source);
// Inserts the body of `source` at `at` as one undo step; page settings are not taken.
void insert(QTextCursor& at, const Document& source);
// Fills the empty `into` with the selection of `selection` plus the page settings and
// header/footer parts of `from`.
void copySelection(const QTextCursor& selection, const Document& from, Document& into);
// Copies all content of one text document into another, which is emptied first.
void copyText(const QTextDocument* from, QTextDocument* to);

// Names of the images the document's characters refer to, in document order.
QStringList imageNames(const QTextDocument* doc);
// The image of a resource name (added resource or a file the name points to).
QImage image(const QTextDocument* doc, const QString& name);
// The encoded bytes of an image resource: the original bytes when the resource was
// added as bytes, else PNG. `format` receives "png", "jpeg" ... when known.
QByteArray imageBytes(const QTextDocument* doc, const QString& name, QByteArray* format = nullptr);

} // namespace DocumentTransfer
