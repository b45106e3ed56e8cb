#include "PlainTextReader.h"

#include "BreakOpportunities.h"
#include "TextDecoding.h"
#include "engine/Document.h"
#include "engine/pages/Paginator.h"

#include <QTextCursor>

bool PlainTextReader::sniff(const QByteArray& data) const
{
    return TextDecoding::hasByteOrderMark(data) || !data.contains('\0');
}

bool PlainTextReader::read(const QByteArray& data, Document& into, QString*)
{
    bool droppedNul = false;
    const QString text = TextDecoding::decode(data, &droppedNul);
    if (droppedNul)
        addNote(TextDecoding::nulNote());
    QTextDocument* body = into.body();
    body->setUndoRedoEnabled(false);
    QTextCursor c(body);
    // One edit block: the layout runs once at the end instead of after every line.
    c.beginEditBlock();
    Paginator::insertText(c, BreakOpportunities::insert(text));
    c.endEditBlock();
    body->setUndoRedoEnabled(true);
    return true;
}
