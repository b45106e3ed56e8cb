#include "ViewCommands.h"

#include "MenuWiring.h"
#include "frmMDIChild.h"

#include "app/Prompter.h"
#include "engine/surface/TextControl.h"
#include "engine/surface/UndoKindTracker.h"

namespace ViewCommands {

void showHeaderFooter(frmMDIChild* w, int item) {
    TextControl* s = w->surface();
    int part = 0;
    if (item == 1) {
        if (s->HeaderFooterSet() == 0)
            s->setHeaderFooterSet(1 | 4);
        part = (s->HeaderFooterSet() & 2) ? 2 : 1;
    } else {
        const int bit = item == 2 ? 1 : 4;
        if (s->HeaderFooterSet() == 0)
            s->setHeaderFooterSet(bit);
        part = bit * 2; // the first page's part
    }
    s->setHeaderFooterDisplay(1);
    // Without parts of its own the first page shows the common ones; those are edited.
    if (!s->HeaderFooterActivate(part) && part != 1)
        s->HeaderFooterActivate(part == 2 ? 1 : 4);
    // Headers and footers are edited on the pages of the layout view.
    if (s->ViewMode() == 1)
        w->mnuView_Layout_Click(1);
    w->HeaderFooterActive = part;
}

void mnuInfoFeld_Click(TextControl* s, QWidget* owner) {
    const int id = s->FieldCurrent();
    if (id <= 0)
        return;
    s->setFieldCurrent(id);
    prompter().message(owner, QStringLiteral("Feldinformationen"),
                       QStringLiteral("Feld Nr.: ") + QString::number(id) +
                           QStringLiteral("   Text ist: ") + s->FieldText() +
                           QStringLiteral("    Feld-Daten   ") + s->FieldData(id),
                       QMessageBox::Ok, Prompter::Icon::Information);
}

} // namespace ViewCommands

// The window's public field-information operation lives beside the other field items.
void frmMDIChild::mnuInfoFeld_Click() {
    ViewCommands::mnuInfoFeld_Click(surface(), this);
}

namespace ViewCommands {

void connect(frmMDIChild* w) {
    using MenuWiring::onTriggered;
    TextControl* s = w->surface();
    onTriggered(w, QStringLiteral("mnuView_HeaderFooter"), [w] { showHeaderFooter(w, 1); });
    onTriggered(w, QStringLiteral("mnuView_HeaderOnly"), [w] { showHeaderFooter(w, 2); });
    onTriggered(w, QStringLiteral("mnuView_FooterOnly"), [w] { showHeaderFooter(w, 3); });
    onTriggered(w, QStringLiteral("mnuInfoFeld"), [w] { w->mnuInfoFeld_Click(); });
    onTriggered(w, QStringLiteral("mnuView_FieldDelete"), [s] {
        s->beginEditStep(UndoKindTracker::Deleting);
        s->FieldDelete(true);
        s->endEditStep();
    });
}

} // namespace ViewCommands
