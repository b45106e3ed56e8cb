#include "InfoMenus.h"

#include "frmMDIChild.h"

#include "addresses/AdressenAuswaehlen.h"
#include "app/AppState.h"
#include "dialogs/frmWordCount.h"
#include "help/HelpScreens.h"
#include "letters/frmBrief.h"
#include "output/frmSerienKontorix.h"

#include <QAction>

namespace InfoMenus {

namespace {

// The toolbar does not follow the document while these help screens are up.
void withoutToolbarRefresh(void (*show)(QWidget*), QWidget* owner)
{
    AppState& app = appState();
    const bool before = app.ToolbarRefreshOff;
    app.ToolbarRefreshOff = true;
    show(owner);
    app.ToolbarRefreshOff = before;
}

} // namespace

void connect(frmMDIChild* w)
{
    frmBrief::setHelpHandler(&HelpScreens::showKontorix);
    AdressenAuswaehlen::setHelpHandler(&HelpScreens::showEtikett);
    frmSerienKontorix::setHelpHandler(&HelpScreens::showSerienbrief);

    auto on = [w](const char* name, auto slot) {
        if (QAction* a = w->findChild<QAction*>(QLatin1String(name)))
            QObject::connect(a, &QAction::triggered, w, slot);
    };
    on("mnuExtras_WordCount", [w] { frmWordCount::showStatistics(w->surface(), w); });
    on("mnuHelpBrief", [w] { withoutToolbarRefresh(&HelpScreens::showKontorix, w); });
    on("mnuHelp2", [w] { withoutToolbarRefresh(&HelpScreens::showSerienbrief, w); });
    on("mnuHelpEtikett", [w] { HelpScreens::showEtikett(w); });
    on("mnuHelp_About", [w] { HelpScreens::showAbout(w); });
}

} // namespace InfoMenus
