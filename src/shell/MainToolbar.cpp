#include "MainToolbar.h"

#include <QAction>
#include <QIcon>
#include <QToolBar>

namespace MainToolbar {

const QList<Button>& buttons()
{
    static const QList<Button> list = [] {
        auto b = [](const char* key, const char* tip, const char* icon, bool end = false) {
            return Button{QString::fromLatin1(key), QString::fromUtf8(tip),
                          QStringLiteral(":/icons/") + QString::fromLatin1(icon) +
                              QStringLiteral(".svg"),
                          end};
        };
        return QList<Button>{
            b("New", "Neu", "new"),
            b("Open", "Öffnen", "open"),
            b("Save", "Speichern", "save", true),
            b("Print", "Drucken", "print"),
            b("PrintPreview", "Druckvorschau", "preview", true),
            b("Cut", "Ausschneiden", "cut"),
            b("Copy", "Kopieren", "copy"),
            b("Paste", "Einfügen", "paste", true),
            b("Undo", "Rückgängig", "undo"),
            b("Redo", "Wiederholen", "redo", true),
            b("Find", "Suchen", "find", true),
            b("HeaderProperties", "Einstellungen Kopf- und Fußzeile", "headerprops"),
            b("SwitchBetweenHeaderAndFooter", "Umschalten zwischen Kopf- und Fußzeile", "headerswitch"),
            b("GoToFirstPage", "Kopf- oder Fußzeile erste Seite", "headerfirst"),
            b("GoToDefault", "Aktuelle Kopf- oder Fußzeile", "headerdefault", true),
            b("Schriften", "Schrift auswählen", "fonts", true),
            b("Kontorix", "Kontorix öffnen", "letter"),
            b("Serienbrief", "Serienkontorix", "serial"),
            b("Etiketten", "Etiketten drucken", "labels", true),
            b("Querformat", "Querformat", "landscape"),
            b("Hochformat", "Hochformat", "portrait"),
            b("Tabelle", "Tabelle einfügen", "table", true),
            b("Rechner", "Taschenrechner benutzen", "calculator", true),
            b("Ende", "Textverarbeitung schließen", "exit"),
        };
    }();
    return list;
}

QToolBar* build(QWidget* parent)
{
    auto* bar = new QToolBar(QStringLiteral("Symbolleiste"), parent);
    bar->setObjectName(QStringLiteral("Toolbar1"));
    bar->setIconSize(QSize(22, 22));
    for (const Button& b : buttons()) {
        QAction* a = bar->addAction(QIcon(b.icon), b.tooltip);
        a->setObjectName(b.key);
        a->setToolTip(b.tooltip);
        if (QWidget* w = bar->widgetForAction(a))
            w->setObjectName(b.key);
        if (b.groupEnd)
            bar->addSeparator();
    }
    return bar;
}

} // namespace MainToolbar
