#include "FormatMenus.h"

#include "MenuWiring.h"
#include "frmMDIChild.h"

#include "engine/objects/Lists.h"
#include "engine/surface/TextControl.h"
#include "engine/surface/UndoKindTracker.h"
#include "engine/dialogs/SurfaceDialogs.h"

namespace FormatMenus {

void connect(frmMDIChild* w) {
    using MenuWiring::onTriggered;
    TextControl* s = w->surface();
    onTriggered(w, QStringLiteral("mnuFormat_Char"), [s] { s->FontDialog(); });
    onTriggered(w, QStringLiteral("mnuFormat_Paragraph"), [s] { SurfaceDialogs::paragraph(s); });
    onTriggered(w, QStringLiteral("mnuFormat_ListAttributes"),
                [s] { SurfaceDialogs::listAttributes(s); });
    onTriggered(w, QStringLiteral("mnuFormat_Tabs"), [s] { SurfaceDialogs::tabs(s); });
    onTriggered(w, QStringLiteral("mnuFormat_Style"), [s] { SurfaceDialogs::style(s); });
    // List commands are formatting steps the edit menu names as such.
    auto listStep = [s](auto change) {
        return [s, change] {
            s->beginEditStep(UndoKindTracker::Formatting);
            change();
            s->endEditStep();
        };
    };
    onTriggered(w, QStringLiteral("mnuFormat_IndentMore"),
                listStep([s] { s->ListIndentChange(+1); }));
    onTriggered(w, QStringLiteral("mnuFormat_IndentLess"),
                listStep([s] { s->ListIndentChange(-1); }));
    for (int style = 3; style <= 7; ++style)
        onTriggered(w, QStringLiteral("mnuFormat_Numbering(%1)").arg(style),
                    listStep([s, style] { s->ListNumberingStyle(style); }));
    onTriggered(w, QStringLiteral("mnuFormat_Bullets"),
                listStep([s] { s->setListType(Lists::Bullets); }));
}

} // namespace FormatMenus
