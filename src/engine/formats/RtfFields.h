#pragma once
// Fields in RTF ({\field{\*\fldinst ...}{\fldrslt ...}}), read and written.
//
// Other office programs' PAGE and NUMPAGES fields become our page-number and
// page-count objects, HYPERLINK fields links; any other field keeps its result text.
// Our own fields carry their id, type, data and link in a private destination inside
// the instruction, {\*\qxfield\qxfidN\qxftypeN\qxflinkkindN{\qxfdata ...}{\qxflink ...}},
// which other programs skip; the instruction beside it says what they should show.

#include <QByteArray>
#include <QString>
#include <QTextCharFormat>

class QTextDocument;

namespace RtfFields {

// What a field read from RTF is.
struct Field {
    QString instruction;
    bool own = false; // carried our \qxfield destination
    int id = 0, type = 0, linkKind = 0;
    QString data, link;
    bool shown = false; // its result (or object) went into the text
};

enum class Kind { Result, PageNumber, PageCount, Hyperlink };
Kind kindOf(const Field& f);
// The link target of a HYPERLINK instruction ("target" plus "#bookmark" for \l).
QString hyperlinkTarget(const QString& instruction);

// `cf` with the field's properties; fields from other programs get `provisionalId`
// (negative) until numberProvisional() gives them their real ids.
QTextCharFormat fieldFormat(QTextCharFormat cf, const Field& f, int provisionalId);
// Page-number or page-count objects, and empty own fields, are one character.
QString objectText();
// Gives fields read with provisional ids the next free ids of `doc`.
void numberProvisional(QTextDocument* doc);
// Copies the anchor and field properties, which a \plain inside a field must keep.
void keepAcrossPlain(const QTextCharFormat& from, QTextCharFormat& to);

// Writing: the opening of a field for the run `f` (up to and including "\fldrslt "),
// and its close. `escape` writes text as RTF.
using Escape = QByteArray (*)(QStringView);
QByteArray open(const QTextCharFormat& f, Escape escape);
QByteArray close();
// The result text written for a page-number or page-count object ("1"); empty for
// anything else.
QString resultText(const QTextCharFormat& f);

} // namespace RtfFields
