#include "PlainTextReader.h"

#include "app/WrittenRecord.h"
#include "engine/Document.h"

#include <QTextCursor>

bool PlainTextReader::sniff(const QByteArray& data) const { return !data.contains('\0'); }

bool PlainTextReader::read(const QByteArray& data, Document& into, QString* error)
{
    if (!sniff(data)) {
        FormatErrors::set(error, QStringLiteral("Die Datei enthält keinen lesbaren Text."));
        return false;
    }
    QString text = decodeText(data);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QTextDocument* body = into.body();
    body->setUndoRedoEnabled(false);
    QTextCursor c(body);
    c.insertText(text);
    body->setUndoRedoEnabled(true);
    return true;
}
