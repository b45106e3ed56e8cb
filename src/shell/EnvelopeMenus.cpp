#include "EnvelopeMenus.h"

#include "frmMDIChild.h"
#include "frmMDIParent.h"

#include "app/AppState.h"
#include "app/Prompter.h"
#include "output/frmBriefkuvert.h"

#include <QAction>

namespace EnvelopeMenus {

void connect(frmMDIChild* window)
{
    if (QAction* a = window->findChild<QAction*>(QStringLiteral("mnuUmschlagStandard")))
        QObject::connect(a, &QAction::triggered, window, [] { mnuUmschlagStandard_Click(); });
}

void mnuUmschlagStandard_Click()
{
    frmMDIChild* w = frmMDIChild::NewDocument();
    appState().ToolbarRefreshOff = true;
    frmMDIParent* frame = frmMDIParent::instance();
    frmBriefkuvert envelope(appState(), w ? w->surface() : nullptr, frame);
    prompter().exec(&envelope);
    // The window clears the refresh switch as it closes; the toolbar catches up now.
    if (frame)
        frame->UpdateToolbar();
}

} // namespace EnvelopeMenus
