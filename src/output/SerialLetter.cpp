#include "SerialLetter.h"

#include "app/AppState.h"
#include "app/Prompter.h"
#include "engine/surface/FragmentMimeData.h"
#include "engine/surface/TextControl.h"
#include "letters/LetterAssembly.h"
#include "textblocks/TextBlockFile.h"

#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>

namespace SerialLetter {

CommonText CommonText::fromMimeData(const QMimeData* data)
{
    CommonText t;
    if (!data)
        return t;
    if (const auto* ours = qobject_cast<const FragmentMimeData*>(data)) {
        t.m_fragment = ours->fragment();
    } else if (data->hasFormat(FragmentMimeData::mimeType())) {
        // From another instance: decoded through a scratch document.
        QTextDocument scratch;
        QTextCursor c(&scratch);
        if (FragmentMimeData::insertInto(data, c))
            t.m_fragment = QTextDocumentFragment(&scratch);
    }
    if (t.m_fragment.isEmpty() && data->hasHtml())
        t.m_fragment = QTextDocumentFragment::fromHtml(data->html());
    if (t.m_fragment.isEmpty() && data->hasText())
        t.m_fragment = QTextDocumentFragment::fromPlainText(data->text());
    return t;
}

CommonText CommonText::fromPlainText(const QString& text)
{
    CommonText t;
    t.m_fragment = QTextDocumentFragment::fromPlainText(text);
    return t;
}

CommonText CommonText::fromFragment(const QTextDocumentFragment& fragment)
{
    CommonText t;
    t.m_fragment = fragment;
    return t;
}

void CommonText::insertInto(TextControl& s) const
{
    if (m_fragment.isEmpty())
        return;
    QTextCursor c = s.textCursor();
    c.insertFragment(m_fragment);
    s.setTextCursor(c);
}

QString missingBlockMessage(int n)
{
    return QStringLiteral("Der Textbaustein %1 existiert nicht! Sie müssen ihn erst anlegen.").arg(n);
}

namespace {

// Fills LetterData from the controls; a chosen block whose file is missing is reported
// and dropped from the letter.
bool prepare(AppState& app, const ComposerInput& given, const Options& o, ComposerInput* in)
{
    *in = given;
    bool blockFound = true;
    if (in->BlockNumber > 0 && !TextBlockFile::exists(app.WorkFolder, in->BlockNumber)) {
        if (!o.quietMissingBlock)
            prompter().message(nullptr, QString(), missingBlockMessage(in->BlockNumber));
        in->BlockNumber = 0;
        blockFound = false;
    }
    // The window has no letterhead switch; the template choice is the caller's.
    in->ShowLetterhead = true;
    in->UseOwnTemplate = false;
    LetterInput::fill(*in, app);
    return blockFound;
}

LetterAssembly::Variant variant(const CommonText& text, const Options& o)
{
    LetterAssembly::Variant v;
    v.alwaysLetterhead = true;
    v.companyLine = true;
    v.referencesBesideDate = true;
    v.date = o.date;
    v.subjectPrefix = false;
    v.body = [&text](TextControl& s) { text.insertInto(s); };
    v.placement = o.placement.get();
    return v;
}

} // namespace

bool write(TextControl& s, AppState& app, const ComposerInput& in, const CommonText& text, const Options& o)
{
    ComposerInput filled;
    const bool found = prepare(app, in, o, &filled);
    LetterAssembly::buildLetter(s, app, o.today, variant(text, o));
    return found;
}

bool writeOnTemplate(TextControl& s, AppState& app, const ComposerInput& in, const CommonText& text,
                     const Options& o)
{
    ComposerInput filled;
    const bool found = prepare(app, in, o, &filled);
    LetterAssembly::buildOnTemplate(s, app, o.today, variant(text, o));
    return found;
}

} // namespace SerialLetter
