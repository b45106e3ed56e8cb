#include "AutoHyphens.h"

#include "Hyphenator.h"
#include "engine/Document.h"
#include "engine/EngineProperties.h"

#include <QTextBlock>
#include <QTextDocument>

namespace {
// The block state of a paragraph that holds soft hyphens of ours: they go when its
// option is switched off, while soft hyphens typed into other paragraphs stay.
constexpr int kHyphenated = 0x48594e; // "HYN"
} // namespace

AutoHyphens::AutoHyphens(Document* doc, bool followEdits) : QObject(doc), m_doc(doc)
{
    m_timer.setSingleShot(true);
    if (!followEdits)
        return;
    connect(&m_timer, &QTimer::timeout, this, &AutoHyphens::settle);
    connect(doc->body(), &QTextDocument::contentsChange, this, &AutoHyphens::onContentsChange);
    connect(doc, &Document::languageChanged, this, &AutoHyphens::wakeAll);
}

bool AutoHyphens::isOn(const QTextBlock& b)
{
    return b.blockFormat().boolProperty(EngineProperty::Hyphenate);
}

bool AutoHyphens::anyOn(const QTextDocument* d)
{
    for (QTextBlock b = d->begin(); b.isValid(); b = b.next())
        if (isOn(b))
            return true;
    return false;
}

void AutoHyphens::strip(QTextDocument* d, bool everywhere)
{
    QTextCursor c(d);
    for (QTextBlock b = d->begin(); b.isValid(); b = b.next()) {
        if (!everywhere && !isOn(b))
            continue;
        const QString text = b.text();
        for (int i = int(text.size()) - 1; i >= 0; --i) {
            if (text.at(i) != QChar::SoftHyphen)
                continue;
            c.setPosition(b.position() + i);
            c.deleteChar();
        }
    }
}

void AutoHyphens::onContentsChange(int pos, int removed, int added)
{
    if (m_applying || m_all)
        return;
    const QTextDocument* d = m_doc->body();
    // A paragraph of ours or one that asks for hyphens: others cost nothing.
    for (QTextBlock b = d->findBlock(pos); b.isValid() && b.position() <= pos + added; b = b.next()) {
        if (!isOn(b) && b.userState() != kHyphenated)
            continue;
        if (m_pending.size() > 200) {
            wakeAll();
            return;
        }
        m_pending.append(QTextCursor(b));
    }
    if (!m_pending.isEmpty())
        m_timer.start(0);
}

void AutoHyphens::wakeAll()
{
    m_all = true;
    m_pending.clear();
    m_timer.start(0);
}

void AutoHyphens::settle()
{
    m_timer.stop();
    if (isIdle())
        return;
    QTextDocument* d = m_doc->body();
    const bool wasModified = d->isModified();
    const bool hadHistory = d->isUndoAvailable();
    QTextCursor edit(d);
    bool editing = false;
    m_applying = true;
    auto visit = [&](const QTextBlock& b) {
        if (!isOn(b) && b.userState() != kHyphenated)
            return;
        if (!editing) {
            // Hyphens follow the edit that caused them: one undo step with it.
            hadHistory ? edit.joinPreviousEditBlock() : edit.beginEditBlock();
            editing = true;
        }
        apply(edit, b);
    };
    if (m_all) {
        for (QTextBlock b = d->begin(); b.isValid(); b = b.next())
            visit(b);
    } else {
        for (const QTextCursor& c : std::as_const(m_pending))
            visit(c.block());
    }
    m_pending.clear();
    m_all = false;
    if (editing)
        edit.endEditBlock();
    m_applying = false;
    // A document just opened stays unmodified, without an undo step of its hyphens.
    if (editing && !hadHistory)
        d->clearUndoRedoStacks(QTextDocument::UndoStack);
    if (!wasModified)
        d->setModified(false);
}

void AutoHyphens::apply(QTextCursor& edit, const QTextBlock& b)
{
    const QString text = b.text();
    QString wanted = plain(text);
    const bool on = isOn(b);
    if (on) {
        if (const Hyphenator* h = Hyphenator::forLanguage(m_doc->language()))
            wanted = h->hyphenated(wanted);
    }
    const_cast<QTextBlock&>(b).setUserState(on ? kHyphenated : -1);
    if (wanted == text)
        return;
    // Both texts differ in soft hyphens only; edits run from the end so that the
    // positions before them hold.
    QList<QPair<int, bool>> edits; // position in the paragraph, true to insert
    int i = 0, j = 0;
    while (i < text.size() || j < wanted.size()) {
        const bool hereText = i < text.size() && text.at(i) == QChar::SoftHyphen;
        const bool hereWanted = j < wanted.size() && wanted.at(j) == QChar::SoftHyphen;
        if (hereText && !hereWanted) {
            edits.append({i++, false});
        } else if (hereWanted && !hereText) {
            edits.append({i, true});
            ++j;
        } else {
            ++i;
            ++j;
        }
    }
    const int base = b.position();
    for (auto it = edits.crbegin(); it != edits.crend(); ++it) {
        edit.setPosition(base + it->first);
        if (!it->second) {
            edit.deleteChar();
            continue;
        }
        // Names, dates and links of fields are the program's text: left whole.
        if (edit.charFormat().intProperty(EngineProperty::FieldId) > 0)
            continue;
        edit.insertText(QString(QChar::SoftHyphen));
    }
}
