#pragma once
// Page numbers as a letter's footer holds them.

#include "engine/EngineProperties.h"
#include "engine/objects/Fields.h"

#include <QTextCursor>
#include <QTextDocument>

// Writes "Seite <page> von <pages>" at `c` in `d`, both numbers fields, and leaves the
// cursor at the end of `d`.
inline void insertPageNumbers(QTextDocument* d, QTextCursor& c)
{
    c.insertText(QStringLiteral("Seite "));
    Fields::setType(d, Fields::insert(c, QString()), FieldTypes::PageNumber);
    c.movePosition(QTextCursor::End);
    c.setCharFormat(QTextCharFormat());
    c.insertText(QStringLiteral(" von "));
    Fields::setType(d, Fields::insert(c, QString()), FieldTypes::PageCount);
    c.movePosition(QTextCursor::End);
}
