#include "PlainTextReader.h"

#include "app/WrittenRecord.h"
#include "engine/Document.h"
#include "engine/Paginator.h"

#include <QTextCursor>

namespace {

// Qt's line breaking looks ahead to the end of the current word for every line, so a
// word of a million characters (a long line without blanks) takes hours to lay out.
// An invisible break opportunity (zero-width space) every so many characters keeps
// the layout linear; ordinary text never gets one.
constexpr int kLongestUnbrokenRun = 1000;

QString withBreakOpportunities(const QString& text)
{
    QString out;
    bool copying = false;
    int run = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        run = c.isSpace() ? 0 : run + 1;
        if (run > kLongestUnbrokenRun && !c.isLowSurrogate()) {
            if (!copying) {
                out.reserve(text.size() + text.size() / kLongestUnbrokenRun + 1);
                out = text.left(i);
                copying = true;
            }
            out += QChar(0x200B);
            run = 1;
        }
        if (copying)
            out += c;
    }
    return copying ? out : text;
}

} // namespace

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
    Paginator::insertText(c, withBreakOpportunities(decodeText(data)));
    body->setUndoRedoEnabled(true);
    return true;
}
