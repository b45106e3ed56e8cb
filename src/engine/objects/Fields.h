#pragma once
// Fields: runs of characters whose char format carries a field id (see
// EngineProperties.h). All functions work on a QTextDocument so that the body and the
// header/footer parts behave alike; every change is one undo step.

#include <QList>
#include <QString>
#include <QTextCharFormat>

class QTextCursor;
class QTextDocument;

namespace Fields {

struct Range {
    int id = 0;
    int start = 0; // first position
    int end = 0;   // position after the last character
};

// Enumeration kind that selects link fields only.
constexpr int KindHyperlinks = 512;

QList<Range> all(const QTextDocument* doc); // in document order
Range find(const QTextDocument* doc, int id); // id 0 when absent
// The field that holds `pos` or ends right at it; 0 when none.
int atPosition(const QTextDocument* doc, int pos);
// The field after `id` (the first for 0) of `kind` (0 all, 512 links, else that field
// type); 0 after the last.
int next(const QTextDocument* doc, int id, int kind = 0);
int highestId(const QTextDocument* doc);

// Inserts a field showing `text` at the cursor (replacing its selection) and leaves the
// cursor after it with a plain char format. An empty text makes an empty placeholder
// character. Returns the new id.
int insert(QTextCursor& cursor, const QString& text, int id = 0);

QString text(const QTextDocument* doc, int id);
bool setText(QTextDocument* doc, int id, const QString& text);
QString data(const QTextDocument* doc, int id);
bool setData(QTextDocument* doc, int id, const QString& data);
int type(const QTextDocument* doc, int id);
bool setType(QTextDocument* doc, int id, int type); // 3 page number, 4 page count
int linkKind(const QTextDocument* doc, int id);
bool setLinkKind(QTextDocument* doc, int id, int kind);
QString linkTarget(const QTextDocument* doc, int id);
bool setLinkTarget(QTextDocument* doc, int id, const QString& target);
// Removes the field; with keepText its characters stay as ordinary text.
bool remove(QTextDocument* doc, int id, bool keepText);

// The inline object a field of `fieldType` shows instead of text (page number, page
// count); 0 for fields that show their text.
int objectTypeFor(int fieldType);
bool isFieldObject(int objectType);

// `f` without any field property and without an object type.
QTextCharFormat plainFormat(QTextCharFormat f);

} // namespace Fields
