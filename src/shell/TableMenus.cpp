#include "TableMenus.h"

#include "MenuWiring.h"
#include "frmMDIChild.h"

#include "engine/surface/TextControl.h"
#include "engine/dialogs/SurfaceDialogs.h"

namespace TableMenus {

void mnuTable_Click(frmMDIChild* w) {
    using MenuWiring::enable;
    const TextControl* s = w->surface();
    if (QAction* grid = MenuWiring::item(w, QStringLiteral("mnuTable_GridLines")))
        grid->setChecked(s->TableGridLines());
    const bool col = s->TableCanInsertColumn(), row = s->TableCanInsertLines();
    enable(w, QStringLiteral("mnuTable_InsertColLeft"), col);
    enable(w, QStringLiteral("mnuTable_InsertColRight"), col);
    enable(w, QStringLiteral("mnuTable_InsertRowAbove"), row);
    enable(w, QStringLiteral("mnuTable_InsertRowBelow"), row);
    const bool deleteRows = s->TableCanDeleteLines();
    enable(w, QStringLiteral("mnuTable_DeleteTable"), deleteRows);
    enable(w, QStringLiteral("mnuTable_DeleteRows"), deleteRows);
    enable(w, QStringLiteral("mnuTable_DeleteCols"), s->TableCanDeleteColumn());
    enable(w, QStringLiteral("mnuTable_SelectTable"), s->TableAtInputPos() != 0);
    const bool inColumn = s->TableColAtInputPos() != 0;
    enable(w, QStringLiteral("mnuTable_SelectRow"), inColumn);
    enable(w, QStringLiteral("mnuTable_SelectCell"), inColumn);
}

void connect(frmMDIChild* w) {
    using MenuWiring::onTriggered;
    TextControl* s = w->surface();
    MenuWiring::onShow(w, QStringLiteral("mnuTable"), [w] { mnuTable_Click(w); });
    // Structural changes are steps of their own for the edit menu.
    auto step = [s](auto change) {
        return [s, change] {
            s->beginEditStep(4);
            change();
            s->endEditStep();
        };
    };
    onTriggered(w, QStringLiteral("mnuTable_InsertColLeft"),
                step([s] { s->TableInsertColumn(1); }));
    onTriggered(w, QStringLiteral("mnuTable_InsertColRight"),
                step([s] { s->TableInsertColumn(2); }));
    onTriggered(w, QStringLiteral("mnuTable_InsertRowAbove"),
                step([s] { s->TableInsertLines(1, 1); }));
    onTriggered(w, QStringLiteral("mnuTable_InsertRowBelow"),
                step([s] { s->TableInsertLines(2, 1); }));
    onTriggered(w, QStringLiteral("mnuTable_DeleteTable"), step([s] {
                    if (s->TableSelect(1))
                        s->TableDeleteLines();
                }));
    onTriggered(w, QStringLiteral("mnuTable_DeleteCols"), step([s] { s->TableDeleteColumns(); }));
    onTriggered(w, QStringLiteral("mnuTable_DeleteRows"), step([s] { s->TableDeleteLines(); }));
    onTriggered(w, QStringLiteral("mnuTable_SelectTable"), [s] { s->TableSelect(1); });
    onTriggered(w, QStringLiteral("mnuTable_SelectRow"), [s] { s->TableSelect(2); });
    onTriggered(w, QStringLiteral("mnuTable_SelectCell"), [s] { s->TableSelect(3); });
    onTriggered(w, QStringLiteral("mnuTable_GridLines"),
                [s] { s->setTableGridLines(!s->TableGridLines()); });
    onTriggered(w, QStringLiteral("mnuTable_Settings"), [s] { SurfaceDialogs::tableSettings(s); });
}

} // namespace TableMenus
