#include "PlainTextReader.h"

#include "BreakOpportunities.h"
#include "app/WrittenRecord.h"
#include "engine/Document.h"
#include "engine/Paginator.h"

#include <QTextCursor>

bool PlainTextReader::sniff(const QByteArray& data) const { return !data.contains('\0'); }

bool PlainTextReader::read(const QByteArray& data, Document& into, QString* error)
{
    if (!sniff(data)) {
        FormatErrors::set(error, QStringLiteral("Die Datei enthält keinen lesbaren Text."));
        return false;
    }
    QTextDocument* body = into.body();
    body->setUndoRedoEnabled(false);
    QTextCursor c(body);
    Paginator::insertText(c, BreakOpportunities::insert(decodeText(data)));
    body->setUndoRedoEnabled(true);
    return true;
}
