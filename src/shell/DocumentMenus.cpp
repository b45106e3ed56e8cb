#include "DocumentMenus.h"

#include "DocumentFiles.h"
#include "FileAssociation.h"
#include "MenuWiring.h"
#include "RecentFiles.h"
#include "frmMDIChild.h"
#include "frmMDIParent.h"
#include "addresses/frmAdressenExport.h"
#include "addresses/frmAdressenImport.h"
#include "app/AppState.h"

#include "dialogs/frmPageDlg.h"
#include "engine/surface/TextControl.h"

#include <QCoreApplication>
#include <QMdiArea>

namespace DocumentMenus {

namespace {

// Most commands act on the frame's active document; without a frame they do nothing.
template <typename Fn> auto onFrame(Fn fn)
{
    return [fn] {
        if (frmMDIParent* f = frmMDIParent::instance())
            fn(f);
    };
}

void connectFileMenu(frmMDIChild* w)
{
    using MenuWiring::onTriggered;
    onTriggered(w, QStringLiteral("mnuFile_New"), [] { frmMDIChild::NewDocument(); });
    onTriggered(w, QStringLiteral("mnuFile_Open"), [] { DocumentFiles::OpenDocument(); });
    onTriggered(w, QStringLiteral("mnuFile_Close"),
                onFrame([](frmMDIParent* f) { f->mdiArea()->closeActiveSubWindow(); }));
    onTriggered(w, QStringLiteral("mnuFile_Save"), [] { DocumentFiles::SaveActiveDocument(); });
    onTriggered(w, QStringLiteral("mnuFile_SaveAs"), [] { DocumentFiles::SaveActiveDocumentAs(); });
    onTriggered(w, QStringLiteral("mnuFile_Export"), [] { DocumentFiles::ExportActiveDocument(); });
    onTriggered(w, QStringLiteral("mnuFile_PageSetup"), [w] { frmPageDlg::edit(w->surface(), w->Unit, w); });
    onTriggered(w, QStringLiteral("mnuFile_PrintPreview"), onFrame([](frmMDIParent* f) { f->ShowPreview(); }));
    onTriggered(w, QStringLiteral("mnuFile_Print"), [w] { w->mnuFile_Print_Click(); });
    onTriggered(w, QStringLiteral("mnuFile_PrintAll"), onFrame([](frmMDIParent* f) { f->GetMDIChildCount(); }));
    onTriggered(w, QStringLiteral("mnuCommand"), [] {
        // The result is not shown, as with every file-association failure.
        FileAssociation::RegisterFileType(
            QStringLiteral(".txm"), QStringLiteral("Textdokument"), QStringLiteral("QX-Text.exe"),
            QLatin1Char('"') + QCoreApplication::applicationFilePath() + QStringLiteral("\" %1"));
    });
    onTriggered(w, QStringLiteral("mnuFile_Exit"), onFrame([](frmMDIParent* f) { f->close(); }));
    MenuWiring::onShow(w, QStringLiteral("mnuFile"), [w] {
        if (auto* m = w->findChild<QMenu*>(QStringLiteral("mnuFile")))
            RecentFiles::fillMenu(m, MenuWiring::item(w, QStringLiteral("mnuFile_Exit")));
    });
}

void connectEditMenu(frmMDIChild* w)
{
    using MenuWiring::onTriggered;
    onTriggered(w, QStringLiteral("mnuEdit_Undo"), [w] { w->surface()->Undo(); });
    onTriggered(w, QStringLiteral("mnuEdit_Redo"), [w] { w->surface()->Redo(); });
    onTriggered(w, QStringLiteral("mnuEdit_Cut"), onFrame([](frmMDIParent* f) { f->EditCut(); }));
    onTriggered(w, QStringLiteral("mnuEdit_Copy"), onFrame([](frmMDIParent* f) { f->EditCopy(); }));
    onTriggered(w, QStringLiteral("mnuEdit_Paste"), onFrame([](frmMDIParent* f) { f->EditPaste(); }));
    onTriggered(w, QStringLiteral("mnuEdit_Delete"), onFrame([](frmMDIParent* f) { f->EditDelete(); }));
    onTriggered(w, QStringLiteral("mnuEdit_Find"), onFrame([](frmMDIParent* f) { f->EditFind(1); }));
    onTriggered(w, QStringLiteral("mnuEdit_Replace"), onFrame([](frmMDIParent* f) { f->EditFind(2); }));
    onTriggered(w, QStringLiteral("mnuEdit_SelectAll"), onFrame([](frmMDIParent* f) { f->EditSelectAll(); }));
}

void connectWindowMenu(frmMDIChild* w)
{
    using MenuWiring::onTriggered;
    onTriggered(w, QStringLiteral("mnuWindow_Cascade"), [w] {
        if (QMdiArea* area = w->mdiArea())
            area->cascadeSubWindows();
    });
    onTriggered(w, QStringLiteral("mnuWindow_TileH"),
                onFrame([](frmMDIParent* f) { f->tileWindows(Qt::Vertical); }));
    onTriggered(w, QStringLiteral("mnuWindow_TileV"),
                onFrame([](frmMDIParent* f) { f->tileWindows(Qt::Horizontal); }));
    onTriggered(w, QStringLiteral("mnuWindow_Arrange"), onFrame([](frmMDIParent* f) { f->arrangeIcons(); }));
}

} // namespace

void connect(frmMDIChild* w)
{
    connectFileMenu(w);
    connectEditMenu(w);
    using MenuWiring::onTriggered;
    onTriggered(w, QStringLiteral("mnuInsert_Text"), [] { DocumentFiles::InsertTextFile(); });
    onTriggered(w, QStringLiteral("mnuInsert_Vorlage"), [w] { DocumentFiles::OpenTemplate(w); });
    onTriggered(w, QStringLiteral("mnuFormat_TextColour"),
                onFrame([](frmMDIParent* f) { f->ChooseDocumentColour(1); }));
    onTriggered(w, QStringLiteral("mnuFormat_BackColour"),
                onFrame([](frmMDIParent* f) { f->ChooseDocumentColour(2); }));
    onTriggered(w, QStringLiteral("mnuExtras_Calculator"), onFrame([](frmMDIParent* f) { f->RunCalculator(); }));
    onTriggered(w, QStringLiteral("mnuExtras_AddressImport"),
                [w] { frmAdressenImport::run(w, appState().AddressDbPath); });
    onTriggered(w, QStringLiteral("mnuExtras_AddressExport"),
                [w] { frmAdressenExport::run(w, appState().AddressDbPath); });
    connectWindowMenu(w);
}

} // namespace DocumentMenus
