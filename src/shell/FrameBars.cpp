#include "FrameBars.h"

#include "DocumentFiles.h"
#include "PrintCommands.h"
#include "RecentFiles.h"
#include "SerialMenus.h"
#include "ShellRules.h"
#include "frmMDIChild.h"
#include "frmMDIParent.h"

#include "app/AppState.h"
#include "dialogs/clsPrintDialog.h"
#include "dialogs/frmFonts.h"
#include "engine/Document.h"
#include "engine/surface/SettingStep.h"
#include "engine/surface/TextControl.h"

#include <QKeySequence>
#include <QMenu>

namespace FrameBars {

QMenu* buildFileMenu(frmMDIParent* frame)
{
    auto* menu = new QMenu(QStringLiteral("&Datei"), frame);
    menu->setObjectName(QStringLiteral("mnuFile"));
    // The same keys as in a document window's menu, so Strg+N works with no window open.
    QAction* n = menu->addAction(QStringLiteral("&Neu"));
    n->setObjectName(QStringLiteral("mnuFile_New"));
    n->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    QObject::connect(n, &QAction::triggered, frame, &frmMDIParent::mnuFile_New_Click);
    QAction* o = menu->addAction(QStringLiteral("&Öffnen..."));
    o->setObjectName(QStringLiteral("mnuFile_Open"));
    o->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    QObject::connect(o, &QAction::triggered, frame, &frmMDIParent::mnuFile_Open_Click);
    RecentFiles::fillMenu(menu, nullptr);
    QObject::connect(menu, &QMenu::aboutToShow, menu, [menu] { RecentFiles::fillMenu(menu, nullptr); });
    return menu;
}

namespace {

void print(frmMDIParent* frame, TextControl* s, frmMDIChild* w)
{
    if (!s)
        return;
    frame->PrintSetup();
    if (appState().PrintCancelled)
        return;
    int copies = frame->printDialog()->Copies();
    const AppState& app = appState();
    PrintCommands::PrintDocument(s, copies, w ? w->Title() : QString(), app.PrintFromPage, app.PrintToPage);
}

void stepHeaderFooter(frmMDIChild* w, const QString& key)
{
    if (!w)
        return;
    const auto step = ShellRules::headerFooterStep(key, w->HeaderFooterActive);
    if (!step)
        return;
    if (step->store)
        w->HeaderFooterActive = step->part;
    w->activateHeaderFooter(step->part);
}

void turnPage(TextControl* s)
{
    if (!s)
        return;
    // One undo step that marks the document changed, like OK in the page dialog.
    PageGeometry page;
    page.width = s->PageHeight();
    page.height = s->PageWidth();
    page.marginL = s->PageMarginL();
    page.marginT = s->PageMarginT();
    page.marginR = s->PageMarginR();
    page.marginB = s->PageMarginB();
    SettingStep::changePage(*s, page);
}

} // namespace

void runButton(frmMDIParent* frame, const QString& key)
{
    TextControl* s = frame->activeSurface();
    frmMDIChild* w = frame->IsDocumentActive() ? frame->activeDocument() : nullptr;
    auto is = [&key](const char* k) { return key == QLatin1String(k); };
    if (is("New"))
        frmMDIChild::NewDocument();
    else if (is("Open"))
        DocumentFiles::OpenDocument();
    else if (is("Save"))
        DocumentFiles::SaveActiveDocument();
    else if (is("Print"))
        print(frame, s, w);
    else if (is("PrintPreview"))
        frame->ShowPreview();
    else if (is("Cut"))
        frame->EditCut();
    else if (is("Copy"))
        frame->EditCopy();
    else if (is("Paste"))
        frame->EditPaste();
    else if (is("Undo") && s)
        s->Undo();
    else if (is("Redo") && s)
        s->Redo();
    else if (is("Find"))
        frame->EditFind(1);
    else if (is("SwitchBetweenHeaderAndFooter") || is("GoToFirstPage") || is("GoToDefault"))
        stepHeaderFooter(w, key);
    else if (is("Kontorix"))
        frame->sharedWindow()->mnuBrief_Click();
    else if (is("Etiketten"))
        frame->sharedWindow()->mnuEtiketten_Click();
    else if (is("Querformat") || is("Hochformat"))
        turnPage(s);
    else if (is("Schriften"))
        frmFonts::browse(s, frame);
    else if (is("Serienbrief"))
        SerialMenus::open();
    else if (is("Rechner"))
        frame->RunCalculator();
    else if (is("Ende"))
        frame->close();
    // HeaderProperties and Tabelle are connected by FormatDialogMenus.
}

} // namespace FrameBars
