#pragma once
// Calls `fn` for every paragraph the cursor's selection touches (the cursor's own
// paragraph without a selection).

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

template<typename Fn>
void forEachSelectedBlock(const QTextCursor& c, Fn fn)
{
    const QTextDocument* d = c.document();
    const QTextBlock last = d->findBlock(c.selectionEnd());
    for (QTextBlock b = d->findBlock(c.selectionStart()); b.isValid(); b = b.next()) {
        fn(b);
        if (b == last)
            break;
    }
}
