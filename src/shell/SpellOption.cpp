#include "SpellOption.h"

#include "MenuWiring.h"
#include "frmMDIChild.h"

#include "app/AppState.h"
#include "engine/Document.h"
#include "engine/dialogs/SpellDialog.h"
#include "engine/spelling/SpellChecker.h"
#include "engine/spelling/SpellMarks.h"
#include "engine/surface/TextControl.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <map>
#include <memory>

namespace SpellOption {

namespace {
const QString kLanguage = QStringLiteral("de_DE");

QString optionFile() { return QDir(appState().WorkFolder).filePath(QStringLiteral("Rechtschreibung.txt")); }
} // namespace

SpellChecker* checker(const QString& language)
{
    static std::map<QString, std::unique_ptr<SpellChecker>> shared;
    static QString folder;
    if (folder != appState().WorkFolder) {
        folder = appState().WorkFolder;
        shared.clear();
    }
    std::unique_ptr<SpellChecker>& c = shared[language];
    if (!c)
        c = std::make_unique<SpellChecker>(language, folder);
    return c.get();
}

bool isOn()
{
    QFile f(optionFile());
    if (!f.open(QIODevice::ReadOnly))
        return true; // on unless the user turned it off
    return f.readAll().trimmed() != "0";
}

void setOn(bool on)
{
    QFile f(optionFile());
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(on ? "1\n" : "0\n");
    for (QWidget* widget : QApplication::allWidgets())
        if (auto* s = qobject_cast<TextControl*>(widget))
            s->spellMarks()->setEnabled(on);
    for (QWidget* widget : QApplication::allWidgets())
        if (auto* child = qobject_cast<frmMDIChild*>(widget))
            if (QAction* a = MenuWiring::item(child, QStringLiteral("mnuExtras_Spelling")))
                a->setChecked(on);
}

void attach(TextControl* s)
{
    if (!SpellChecker::isInstalled(kLanguage))
        return;
    s->spellMarks()->setEnabled(isOn());
    s->spellMarks()->setChecker(checker(s->doc()->language()));
    QObject::connect(s->doc(), &Document::languageChanged, s,
                     [s](const QString& language) { s->spellMarks()->setChecker(checker(language)); });
}

void connect(frmMDIChild* w)
{
    TextControl* s = w->surface();
    QAction* a = MenuWiring::item(w, QStringLiteral("mnuExtras_Spelling"));
    // Without a dictionary the dialog says what to install.
    if (QAction* dialog = MenuWiring::item(w, QStringLiteral("mnuExtras_SpellDialog")))
        QObject::connect(dialog, &QAction::triggered, w,
                         [w]() { SpellDialog::run(w->surface(), &checker, w); });
    if (!SpellChecker::isInstalled(kLanguage)) {
        if (a) {
            a->setText(QStringLiteral("Rechtschreibprüfung: kein deutsches Wörterbuch installiert "
                                      "(Paket hunspell-de-de installieren)"));
            a->setCheckable(false);
            a->setEnabled(false);
        }
        return;
    }
    attach(s);
    if (a) {
        a->setChecked(isOn());
        QObject::connect(a, &QAction::triggered, w, [](bool on) { setOn(on); });
    }
}

} // namespace SpellOption
