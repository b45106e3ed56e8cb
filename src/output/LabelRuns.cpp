#include "LabelRuns.h"

#include "addresses/RecordSource.h"
#include "app/AppState.h"
#include "app/Prompter.h"
#include "app/WaitCursor.h"
#include "engine/surface/TextControl.h"

#include <QFileInfo>
#include <QLabel>
#include <QListWidget>

namespace LabelRuns {

namespace {

// The template's surface: the new label sheet, or whatever window is active when the
// template could not be opened (its fields are then usually missing and skipped).
TextControl* templateSurface(AdressenAuswaehlen& picker, AppState& app, const ShellOps& shell)
{
    TextControl* s = openLabelTemplate(app, picker.templateFile(), &picker, shell);
    return s ? s : (shell.activeSurface ? shell.activeSurface() : nullptr);
}

LabelValues currentValues(AdressenAuswaehlen& picker)
{
    return LabelFill::valuesFor(currentAddress(picker), picker.HomeCountry);
}

void currentOnTemplate(AdressenAuswaehlen& picker, AppState& app, const ShellOps& shell)
{
    const WaitCursor wait;
    const LabelValues values = currentValues(picker);
    TextControl* s = templateSurface(picker, app, shell);
    if (!s)
        return;
    app.ToolbarRefreshOff = true;
    LabelFill::fillAll(*s, values, picker.withoutTitle());
}

void chosenOnTemplate(AdressenAuswaehlen& picker, AppState& app, const ShellOps& shell)
{
    const WaitCursor wait;
    TextControl* s = templateSurface(picker, app, shell);
    if (!s)
        return;
    app.ToolbarRefreshOff = true;
    const PickerWidgets& w = picker.controls();
    const int start = picker.startPosition();
    // Each chosen address in turn becomes the current one and leaves the lists.
    QList<LabelValues> labels;
    // Found by key: a search since the choice cannot put another address on the label;
    // an address deleted meanwhile gets none.
    for (int n = start; n <= 24 && w.List1->count() > 0;) {
        w.List1->setCurrentRow(0);
        if (picker.moveToChosen(0)) {
            labels << currentValues(picker);
            ++n;
        }
        delete w.List2->takeItem(0);
        delete w.List1->takeItem(0);
    }
    LabelFill::fillChosen(*s, start, labels, picker.withoutTitle());
}

void currentAsTable(AdressenAuswaehlen& picker, AppState& app, const ShellOps& shell)
{
    const WaitCursor wait;
    TextControl* s = shell.newDocument ? shell.newDocument() : nullptr;
    if (!s)
        return;
    app.ToolbarRefreshOff = true;
    LabelFill::buildTable(*s, currentAddress(picker));
}

} // namespace

LabelAddress currentAddress(AdressenAuswaehlen& picker)
{
    const PickerWidgets& w = picker.controls();
    LabelAddress a;
    a.Anrede = w.lblAnrede->text();
    a.Vorname = w.lblVorname->text();
    a.Nachname = w.lblNachname->text();
    a.Strasse = w.lblStrasse->text();
    a.PLZ = w.lblPLZ->text();
    a.Ort = w.lblOrt->text();
    a.LKZ = w.lblLKZ->text();
    a.AnredezHd = w.lblAnredezHd->text();
    a.NamezHd = w.lblNamezHd->text();
    a.Land = picker.data1().field(QStringLiteral("Land"));
    return a;
}

TextControl* openLabelTemplate(AppState& app, const QString& file, QWidget* owner, const ShellOps& shell)
{
    QString path = app.WorkFolder + file;
    if (!QFileInfo(path).isFile()) {
        prompter().message(owner, QStringLiteral("Fehler beim Öffnen"),
                           QStringLiteral("Vorlage  Etiketten.ttx nicht gefunden!\r"
                                          "Die Vorlage finden Sie auf der CD-ROM im Verzeichnis Vorlagen"),
                           QMessageBox::Ok, Prompter::Icon::Critical);
        return nullptr;
    }
    app.LabelMode = true;
    TextControl* s = shell.loadDocument ? shell.loadDocument(path) : nullptr;
    app.LabelMode = false;
    return s;
}

void run(AdressenAuswaehlen& picker, AdressenAuswaehlen::LabelRun run, AppState& app, const ShellOps& shell)
{
    switch (run) {
    case AdressenAuswaehlen::LabelRun::CurrentOnTemplate:
        currentOnTemplate(picker, app, shell);
        break;
    case AdressenAuswaehlen::LabelRun::ChosenOnTemplate:
        chosenOnTemplate(picker, app, shell);
        break;
    case AdressenAuswaehlen::LabelRun::CurrentAsTable:
        currentAsTable(picker, app, shell);
        break;
    }
}

} // namespace LabelRuns
