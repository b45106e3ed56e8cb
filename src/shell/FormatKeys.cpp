#include "FormatKeys.h"

#include "frmMDIChild.h"

#include "engine/surface/TextControl.h"

#include <QAction>
#include <QKeySequence>
#include <QToolButton>
#include <functional>

namespace FormatKeys {

namespace {

struct Key {
    const char* name;    // the formatting bar's button of the same format
    const char* tip;
    QList<QKeySequence> keys;
    std::function<void(TextControl*)> apply;
};

const QList<Key>& keys()
{
    static const QList<Key> list = {
        {"bold", "Fett (Strg+B)", {QKeySequence(Qt::CTRL | Qt::Key_B), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F)},
         [](TextControl* s) { s->setFontBold(!s->FontBold()); }},
        {"italic", "Kursiv (Strg+I)", {QKeySequence(Qt::CTRL | Qt::Key_I), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_K)},
         [](TextControl* s) { s->setFontItalic(!s->FontItalic()); }},
        {"underline", "Unterstrichen (Strg+U)",
         {QKeySequence(Qt::CTRL | Qt::Key_U), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_U)},
         [](TextControl* s) { s->setFontUnderline(!s->FontUnderline()); }},
        {"alignLeft", "Linksbündig (Strg+L)", {QKeySequence(Qt::CTRL | Qt::Key_L)},
         [](TextControl* s) { s->setAlignment(0); }},
        {"alignCenter", "Zentriert (Strg+E)", {QKeySequence(Qt::CTRL | Qt::Key_E)},
         [](TextControl* s) { s->setAlignment(2); }},
        {"alignRight", "Rechtsbündig (Strg+R)", {QKeySequence(Qt::CTRL | Qt::Key_R)},
         [](TextControl* s) { s->setAlignment(1); }},
        {"alignJustify", "Blocksatz (Strg+J)", {QKeySequence(Qt::CTRL | Qt::Key_J)},
         [](TextControl* s) { s->setAlignment(3); }},
    };
    return list;
}

} // namespace

void install(frmMDIChild* w)
{
    for (const Key& k : keys()) {
        auto* a = new QAction(QString::fromUtf8(k.tip), w);
        a->setObjectName(QStringLiteral("key_") + QLatin1String(k.name));
        a->setShortcuts(k.keys);
        // Only while this window holds the focus: every window has its own set.
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        const auto apply = k.apply;
        QObject::connect(a, &QAction::triggered, w, [w, apply] {
            if (TextControl* s = w->surface())
                apply(s);
        });
        w->addAction(a);
    }
}

void describe(QWidget* formattingBar)
{
    for (const Key& k : keys())
        if (auto* b = formattingBar->findChild<QToolButton*>(QLatin1String(k.name)))
            b->setToolTip(QString::fromUtf8(k.tip));
}

} // namespace FormatKeys
