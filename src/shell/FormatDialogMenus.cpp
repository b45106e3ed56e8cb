#include "FormatDialogMenus.h"

#include "frmMDIChild.h"
#include "frmMDIParent.h"

#include "dialogs/frmFramesDlg.h"
#include "dialogs/frmHeaderProperties.h"
#include "dialogs/frmHyperlink.h"
#include "dialogs/frmImageDlg.h"
#include "dialogs/frmTableDlg.h"
#include "engine/surface/SettingStep.h"
#include "engine/surface/TextControl.h"

#include <QAction>
#include <QMenu>

namespace FormatDialogMenus {

namespace {
using Show = void (*)(frmMDIChild*);

void connectAction(QObject* owner, const char* name, QObject* context, std::function<void()> f)
{
    if (auto* a = owner->findChild<QAction*>(QLatin1String(name)))
        QObject::connect(a, &QAction::triggered, context, std::move(f));
}
} // namespace

void showTableDialog(frmMDIChild* w) { frmTableDlg::edit(w->surface(), w); }
void showFramesDialog(frmMDIChild* w) { frmFramesDlg::edit(w->surface(), w); }
void showImageDialog(frmMDIChild* w) { frmImageDlg::edit(w->surface(), w->Unit, w); }
void showHeaderDialog(frmMDIChild* w)
{
    // Distances and parts are no text change, so the window's modified flag is set here.
    const SettingStep::HeaderFooterSnapshot before(*w->surface()->doc());
    if (frmHeaderProperties::edit(w->surface(), w) && before.differsFrom(*w->surface()->doc()))
        w->DirtyFlag = true;
}
void showHyperlinkDialog(frmMDIChild* w) { frmHyperlink::edit(w->surface(), w); }

void connectMenus(frmMDIChild* window)
{
    const std::pair<const char*, Show> items[] = {{"mnuTable_InsertTable", &showTableDialog},
                                                  {"mnuFormat_Frames", &showFramesDialog},
                                                  {"mnuFormat_Image", &showImageDialog},
                                                  {"mnuInsert_Hyperlink", &showHyperlinkDialog}};
    for (const auto& [name, show] : items)
        connectAction(window, name, window, [window, show = show] { show(window); });
    // "&Grafik..." needs a selected image, "&Tabelle" a place where a table may go.
    for (QMenu* m : window->menus()) {
        if (m->objectName() == QLatin1String("mnuFormat"))
            QObject::connect(m, &QMenu::aboutToShow, window, [window] {
                if (auto* a = window->findChild<QAction*>(QStringLiteral("mnuFormat_Image")))
                    a->setEnabled(window->surface()->ObjectSelected() != 0);
            });
        if (m->objectName() == QLatin1String("mnuTable"))
            QObject::connect(m, &QMenu::aboutToShow, window, [window] {
                if (auto* a = window->findChild<QAction*>(QStringLiteral("mnuTable_InsertTable")))
                    a->setEnabled(window->surface()->TableCanInsert());
            });
    }
}

void connectToolbar(frmMDIParent* frame)
{
    const std::pair<const char*, Show> buttons[] = {{"HeaderProperties", &showHeaderDialog},
                                                    {"Tabelle", &showTableDialog}};
    for (const auto& [name, show] : buttons)
        connectAction(frame, name, frame, [frame, show = show] {
            if (frmMDIChild* w = frame->IsDocumentActive() ? frame->activeDocument() : nullptr)
                show(w);
        });
}

} // namespace FormatDialogMenus
