#include "LabelMenus.h"

#include "DocumentFiles.h"
#include "frmMDIChild.h"
#include "frmMDIParent.h"

#include "addresses/AdressenAuswaehlen.h"
#include "app/AppState.h"
#include "output/LabelRuns.h"

#include <QAction>

namespace LabelMenus {

namespace {

LabelRuns::ShellOps shellOps()
{
    LabelRuns::ShellOps ops;
    ops.loadDocument = [](QString& path) -> TextControl* {
        frmMDIChild* w = DocumentFiles::LoadDocument(path, 3);
        return w ? w->surface() : nullptr;
    };
    ops.activeSurface = []() -> TextControl* {
        frmMDIParent* f = frmMDIParent::instance();
        frmMDIChild* w = f ? f->activeDocument() : nullptr;
        return w ? w->surface() : nullptr;
    };
    ops.newDocument = [] { return frmMDIChild::NewDocument()->surface(); };
    return ops;
}

void installRunner()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    AdressenAuswaehlen::setLabelRunner([](AdressenAuswaehlen& picker, AdressenAuswaehlen::LabelRun run) {
        LabelRuns::run(picker, run, appState(), shellOps());
    });
}

// The picker belongs to the frame, so that it outlives the window it was opened from.
QWidget* owner(frmMDIChild* w)
{
    frmMDIParent* f = frmMDIParent::instance();
    return f ? static_cast<QWidget*>(f) : static_cast<QWidget*>(w);
}

} // namespace

void connect(frmMDIChild* w)
{
    installRunner();
    if (QAction* a = w->findChild<QAction*>(QStringLiteral("mnuEtiketten")))
        QObject::connect(a, &QAction::triggered, w, &frmMDIChild::mnuEtiketten_Click);
    if (QAction* a = w->findChild<QAction*>(QStringLiteral("mnuInsert_AdresseVorlage")))
        QObject::connect(a, &QAction::triggered, w,
                         [w] { AdressenAuswaehlen::pickForTemplate(appState(), owner(w)); });
}

void showPicker(frmMDIChild* w)
{
    installRunner();
    AdressenAuswaehlen::showForLabels(appState(), owner(w));
}

} // namespace LabelMenus
