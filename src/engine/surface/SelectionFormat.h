#pragma once
// Character formats of a selection and what they have in common, for the character
// members of the editing surface (a mixed attribute is absent from the common format).

#include <QFont>
#include <QList>
#include <QTextCharFormat>

class QTextCursor;

class SelectionFormat {
public:
    // The distinct formats of the fragments the selection touches; `atCaret` when
    // nothing is selected.
    static QList<QTextCharFormat> collect(const QTextCursor& selection, const QTextCharFormat& atCaret);
    // Properties equal in all formats, after filling in `defaults` for what a format
    // leaves unset (family, size, weight, italic, underline, strike-out, black text).
    static QTextCharFormat common(const QList<QTextCharFormat>& formats, const QFont& defaults);
};
