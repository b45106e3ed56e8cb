#include "Formats.h"

#include "engine/Document.h"
#include "app/WrittenRecord.h"

#include <QTextCursor>
#include <QTextDocumentFragment>

namespace Formats {

bool read(int format, const QByteArray& data, Document& doc, QTextCursor* insertAt,
          QString* error)
{
    if (format != 1) {
        if (error)
            *error = QStringLiteral("Dieses Dateiformat kann nicht gelesen werden.");
        return false;
    }
    QString text = decodeText(data);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (insertAt) {
        insertAt->insertText(text);
    } else {
        QTextCursor c(doc.body());
        c.select(QTextCursor::Document);
        c.insertText(text);
    }
    return true;
}

bool write(int format, const Document& doc, const QTextCursor* selection, QByteArray* out,
           QString* error)
{
    if (format != 1) {
        if (error)
            *error = QStringLiteral("Dieses Dateiformat kann nicht geschrieben werden.");
        return false;
    }
    QString text = selection ? selection->selection().toPlainText() : doc.body()->toPlainText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    *out = text.toUtf8();
    return true;
}

} // namespace Formats
