#pragma once
// The letterhead template "Briefkopf.txm": looked for in the work folder, then in the
// program folder; its absence is reported with one message.

#include <QString>

class QWidget;
struct AppState;

namespace LetterTemplate {

QString fileName();
// The template to load: the work folder's when it exists, else the program folder's
// (which may be missing too; existsAnywhere() tells).
QString path(const AppState& app);
bool existsAnywhere(const AppState& app);
// "Vorlage  Briefkopf.txm   nicht gefunden! Legen Sie zuerst ..." naming the work folder.
QString missingText(const AppState& app);
// That text under "Fehler beim öffnen", stop icon.
void reportMissing(QWidget* owner, const AppState& app);

} // namespace LetterTemplate
