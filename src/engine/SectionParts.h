#pragma once
// Header and footer parts of later sections, in sets that a section break names by id
// (Sections). A set holds the parts a section has of its own (1 header, 2 first-page
// header, 4 footer, 8 first-page footer); the others it takes from the sections before
// it. The sets live beside the document, owned by it.

#include <QList>

class Document;
class QTextDocument;

namespace SectionParts {

// A new empty set; its id.
int add(Document& doc);
// The part of set `id`, created if `create`; nullptr when the set or the part is absent.
QTextDocument* part(Document& doc, int id, int part, bool create);
QTextDocument* part(const Document& doc, int id, int part);
QList<int> ids(const Document& doc);
void clear(Document& doc);
// Gives `to` clones of `from`'s sets under the same ids (for a painting copy).
void cloneInto(const Document& from, Document& to);

} // namespace SectionParts
