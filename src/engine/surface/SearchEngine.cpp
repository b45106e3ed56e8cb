#include "SearchEngine.h"

#include "engine/spelling/AutoHyphens.h"

#include <QRegularExpression>
#include <QTextDocument>

namespace {
QTextDocument::FindFlags flags(const SearchOptions& o)
{
    QTextDocument::FindFlags f;
    if (o.matchCase)
        f |= QTextDocument::FindCaseSensitively;
    if (o.wholeWords)
        f |= QTextDocument::FindWholeWords;
    if (o.backward)
        f |= QTextDocument::FindBackward;
    return f;
}

// Hyphenated paragraphs carry soft hyphens inside their words: the search reads past them.
QRegularExpression pastSoftHyphens(const QString& what, const SearchOptions& o)
{
    QString pattern;
    for (qsizetype i = 0; i < what.size(); ++i) {
        if (i > 0 && !what.at(i).isLowSurrogate())
            pattern += QStringLiteral("\\x{00AD}?");
        pattern += QRegularExpression::escape(what.mid(i, 1));
    }
    if (o.wholeWords)
        pattern = QStringLiteral("\\b") + pattern + QStringLiteral("\\b");
    return QRegularExpression(pattern, o.matchCase ? QRegularExpression::UseUnicodePropertiesOption
                                                   : QRegularExpression::UseUnicodePropertiesOption
                                                         | QRegularExpression::CaseInsensitiveOption);
}
} // namespace

QTextCursor SearchEngine::find(const QString& what, const QTextCursor& from,
                               const SearchOptions& o) const
{
    if (what.isEmpty())
        return {};
    // Searching forward starts at the selection's end so that the current match is
    // skipped; backward at its start.
    const int pos = o.backward ? from.selectionStart() : from.selectionEnd();
    QTextCursor r = AutoHyphens::anyOn(m_doc)
                        ? m_doc->find(pastSoftHyphens(what, o), pos, flags(o) & QTextDocument::FindBackward)
                        : m_doc->find(what, pos, flags(o));
    return r.isNull() ? QTextCursor() : r;
}

QTextCursor SearchEngine::findFromEdge(const QString& what, const SearchOptions& o) const
{
    QTextCursor edge(m_doc);
    if (o.backward)
        edge.movePosition(QTextCursor::End);
    return find(what, edge, o);
}

bool SearchEngine::selectsMatch(const QTextCursor& c, const QString& what,
                                const SearchOptions& o) const
{
    if (!c.hasSelection() || what.isEmpty())
        return false;
    QTextCursor start(m_doc);
    start.setPosition(c.selectionStart());
    SearchOptions fwd = o;
    fwd.backward = false;
    const QTextCursor m = find(what, start, fwd);
    return !m.isNull() && m.selectionStart() == c.selectionStart()
           && m.selectionEnd() == c.selectionEnd();
}

int SearchEngine::replaceAll(const QString& what, const QString& with, const SearchOptions& o) const
{
    SearchOptions fwd = o;
    fwd.backward = false;
    int n = 0;
    QTextCursor at(m_doc);
    for (;;) {
        QTextCursor m = find(what, at, fwd);
        if (m.isNull())
            break;
        m.insertText(with);
        ++n;
        at = m; // continue after the inserted text, never inside it
        at.clearSelection();
    }
    return n;
}
