#include "LetterTemplate.h"

#include "app/AppState.h"
#include "app/Folders.h"
#include "app/Prompter.h"

namespace LetterTemplate {

QString fileName() { return QStringLiteral("Briefkopf.txm"); }

QString path(const AppState& app)
{
    const QString work = app.WorkFolder + fileName();
    return Folders::fileExists(work) ? work : app.ProgramFolder + fileName();
}

bool existsAnywhere(const AppState& app) { return Folders::fileExists(path(app)); }

QString missingText(const AppState& app)
{
    return QStringLiteral("Vorlage  Briefkopf.txm   nicht gefunden! Legen Sie zuerst im Verzeichnis dieses "
                          "Programmes ") +
           app.WorkFolder + QStringLiteral(" eine Vorlage Namens Briefkopf.txm an");
}

void reportMissing(QWidget* owner, const AppState& app)
{
    prompter().message(owner, QStringLiteral("Fehler beim Öffnen"), missingText(app), QMessageBox::Ok,
                       Prompter::Icon::Critical);
}

} // namespace LetterTemplate
