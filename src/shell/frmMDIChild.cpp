#include "frmMDIChild.h"

#include "ChildMenus.h"
#include "DocumentFiles.h"
#include "DocumentMenus.h"
#include "EditorCommands.h"
#include "EnvelopeMenus.h"
#include "FormatDialogMenus.h"
#include "FormatKeys.h"
#include "InfoMenus.h"
#include "LabelMenus.h"
#include "MenuState.h"
#include "PrintCommands.h"
#include "SerialMenus.h"
#include "ShellRules.h"
#include "SpellOption.h"
#include "SurfaceNotifications.h"
#include "DocumentHost.h"

#include "app/AppState.h"
#include "app/Prompter.h"
#include "engine/Document.h"
#include "engine/surface/TextControl.h"
#include "engine/surface/TextRuler.h"
#include "letters/AddressPlacement.h"
#include "letters/LetterAssembly.h"
#include "letters/LetterTemplate.h"
#include "letters/frmBrief.h"
#include "textblocks/frmBausteine.h"
#include "textblocks/frmBstEinfuegen.h"

#include <QCloseEvent>
#include <QDate>
#include <QLayout>
#include <QMdiArea>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

frmMDIChild::frmMDIChild(QWidget* parent) : QMdiSubWindow(parent)
{
    setObjectName(QStringLiteral("frmMDIChild"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    TXRuler1 = new TextRuler(content);
    TXRuler1->setObjectName(QStringLiteral("TXRuler1"));
    TXTextControl1 = new TextControl(content);
    TXTextControl1->setObjectName(QStringLiteral("TXTextControl1"));
    TXRuler1->setTextControl(TXTextControl1);
    layout->addWidget(TXRuler1);
    layout->addWidget(TXTextControl1, 1);
    setWidget(content);
    setWindowIcon(QIcon(QStringLiteral(":/icons/document.svg")));
    m_menus = ChildMenus::build(this);
    Form_Load();
    connectMenus();
    SurfaceNotifications::connect(this);
    SpellOption::connect(this);
    setTitle(QStringLiteral("Unbenannt"));
    DirtyFlag = false;
}

frmMDIChild::~frmMDIChild() = default;

QWidget* frmMDIChild::ruler() const { return TXRuler1; }

void frmMDIChild::Form_Load()
{
    TextControl* s = TXTextControl1;
    s->setViewMode(2);
    s->setLoadSaveAttribute(38, true);
    Unit = 2;
    s->setPageWidth(11906);
    s->setPageHeight(16837);
    HeaderFooterActive = 0;
    // Setting up the page is not a step the user can undo.
    s->document()->clearUndoRedoStacks();
}

void frmMDIChild::mnuFile_Print_Click()
{
    DocumentHost* f = DocumentHost::instance();
    if (!f)
        return;
    f->PrintSetup();
    if (appState().PrintCancelled)
        return;
    // The pages chosen in the dialog; the copies stay with the printer.
    int copies = 1;
    const AppState& app = appState();
    PrintCommands::PrintDocument(TXTextControl1, copies, m_title, app.PrintFromPage, app.PrintToPage);
}

bool frmMDIChild::SerienDruck()
{
    int copies = 1;
    return PrintCommands::PrintDocument(TXTextControl1, copies, m_title);
}

frmMDIChild* frmMDIChild::NewDocument()
{
    auto* w = new frmMDIChild();
    w->setTitle(QStringLiteral("Unbenannt"));
    w->showDocument();
    if (DocumentHost* frame = DocumentHost::instance())
        frame->UpdateToolbar();
    return w;
}

void frmMDIChild::setTitle(const QString& title, const QString& filePath)
{
    m_title = title;
    m_filePath = filePath;
    setWindowTitle(title);
}

void frmMDIChild::showDocument()
{
    DocumentHost* frame = DocumentHost::instance();
    if (frame) {
        // Each new window a step below and right of the one before, inside the area.
        const int step = 26 * int(frame->documentCount() % 8);
        frame->mdiArea()->addSubWindow(this);
        const QSize area = frame->mdiArea()->viewport()->size();
        resize(area * 0.8);
        move(qMin(step, qMax(0, area.width() - width())), qMin(step, qMax(0, area.height() - height())));
    }
    show();
    if (frame)
        frame->mdiArea()->setActiveSubWindow(this);
    TXTextControl1->setFocus();
    // The load steps above may have counted as changes.
    DirtyFlag = false;
}

QAction* frmMDIChild::action(const char* name) const
{
    return findChild<QAction*>(QLatin1String(name));
}

void frmMDIChild::connectMenus()
{
    auto on = [this](const char* name, auto slot) {
        if (QAction* a = action(name))
            connect(a, &QAction::triggered, this, slot);
    };
    for (QMenu* m : m_menus) {
        if (m->objectName() == QLatin1String("mnuEdit"))
            connect(m, &QMenu::aboutToShow, this, &frmMDIChild::mnuEdit_Click);
        if (m->objectName() == QLatin1String("mnuView"))
            connect(m, &QMenu::aboutToShow, this, &frmMDIChild::mnuView_Click);
        if (m->objectName() == QLatin1String("mnuWindow"))
            connect(m, &QMenu::aboutToShow, this, &frmMDIChild::mnuWindow_Click);
    }
    // File, edit and window menus.
    DocumentMenus::connect(this);
    // View menu.
    for (int i = 0; i < 3; ++i)
        if (QAction* a = findChild<QAction*>(QStringLiteral("mnuView_Layout(%1)").arg(i)))
            connect(a, &QAction::triggered, this, [this, i] { mnuView_Layout_Click(i); });
    for (int i = 1; i <= 11; ++i)
        if (QAction* a = findChild<QAction*>(QStringLiteral("mnuView_ZoomItem(%1)").arg(i)))
            connect(a, &QAction::triggered, this, [this, i] { mnuView_ZoomItem_Click(i); });
    on("mnuView_Toolbar", &frmMDIChild::mnuView_Bar_Click);
    on("mnuView_FormatBar", &frmMDIChild::mnuView_Bar_Click);
    on("mnuView_StatusBar", &frmMDIChild::mnuView_Bar_Click);
    on("mnuView_Ruler", &frmMDIChild::mnuView_Ruler_Click);
    on("mnuView_ControlChars", &frmMDIChild::mnuView_ControlChars_Click);
    // Letters, text blocks and the commands of their own modules.
    on("mnuBrief", &frmMDIChild::mnuBrief_Click);
    on("mnuCurPos", &frmMDIChild::mnuCurPos_Click);
    on("mnuExtras_TextblockEdit", &frmMDIChild::mnuExtras_TextblockEdit_Click);
    on("mnuExtras_TextblockInsert", &frmMDIChild::mnuExtras_TextblockInsert_Click);
    LabelMenus::connect(this);
    on("mnuInsert_Textbaustein", &frmMDIChild::mnuExtras_TextblockInsert_Click);
    SerialMenus::connect(this);
    EnvelopeMenus::connect(this);
    FormatDialogMenus::connectMenus(this);
    InfoMenus::connect(this);
    EditorCommands::connect(this);
    FormatKeys::install(this);
}

void frmMDIChild::activateHeaderFooter(int part)
{
    // The one place that moves editing into a header or footer part; the surface
    // reports the result through its header/footer notifications.
    TXTextControl1->HeaderFooterActivate(part);
}

void frmMDIChild::updateMagnifierCaption() { MenuState::updateMagnifierCaption(this); }

bool frmMDIChild::Form_QueryUnload()
{
    if (!DirtyFlag)
        return true;
    const auto answer = prompter().message(
        DocumentHost::frameWidget(), ShellRules::frameCaption(), ShellRules::closeQuestion(m_title),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, Prompter::Icon::Exclamation);
    if (answer == QMessageBox::No)
        return true;
    if (answer != QMessageBox::Yes)
        return false;
    const QString path = DocumentFiles::AskSaveAsName(this);
    if (path.isEmpty())
        return false;
    // A failed save has shown its error; the window stays so nothing is lost.
    return DocumentFiles::SaveDocument(path, this);
}

void frmMDIChild::closeEvent(QCloseEvent* e)
{
    if (!Form_QueryUnload()) {
        e->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(e);
    if (e->isAccepted()) {
        if (DocumentHost* f = DocumentHost::instance())
            f->documentClosed(this);
    }
}

void frmMDIChild::resizeEvent(QResizeEvent* e)
{
    QMdiSubWindow::resizeEvent(e);
    // The layout gives the surface the inner height less the visible ruler.
    if (isMinimized())
        return;
    const int zoom = ShellRules::zoomForWidth(ShellRules::pixelsToTwips(width()));
    if (zoom > 0)
        TXTextControl1->setZoomFactor(zoom);
}

void frmMDIChild::mnuEdit_Click() { MenuState::updateEditMenu(this); }

void frmMDIChild::mnuView_Click() { MenuState::updateViewMenu(this); }

void frmMDIChild::mnuWindow_Click() { MenuState::updateWindowList(this, m_windowList); }

void frmMDIChild::mnuView_Layout_Click(int index)
{
    for (int i = 0; i < 3; ++i)
        findChild<QAction*>(QStringLiteral("mnuView_Layout(%1)").arg(i))->setChecked(i == index);
    TXTextControl1->setViewMode(index);
}

void frmMDIChild::mnuView_ZoomItem_Click(int index)
{
    QAction* a = findChild<QAction*>(QStringLiteral("mnuView_ZoomItem(%1)").arg(index));
    if (!a)
        return;
    TXTextControl1->setZoomFactor(ShellRules::zoomFromCaption(a->text()));
}

void frmMDIChild::mnuView_Bar_Click()
{
    auto* a = qobject_cast<QAction*>(sender());
    DocumentHost* f = DocumentHost::instance();
    if (!a || !f)
        return;
    QWidget* bar = nullptr;
    if (a->objectName() == QLatin1String("mnuView_Toolbar"))
        bar = f->hostWidget()->findChild<QToolBar*>(QStringLiteral("Toolbar1"));
    else if (a->objectName() == QLatin1String("mnuView_FormatBar"))
        bar = f->hostWidget()->findChild<QToolBar*>(QStringLiteral("TXButtonBar1"));
    else
        bar = f->hostWidget()->findChild<QStatusBar*>(QStringLiteral("TXStatusBar1"));
    // The check mark is this window's own; it flips whatever the bar does.
    const bool checked = a->isChecked();
    if (bar)
        bar->setVisible(bar->isHidden());
    a->setChecked(checked);
}

void frmMDIChild::mnuView_Ruler_Click()
{
    TXRuler1->setVisible(TXRuler1->isHidden());
    if (QLayout* l = widget()->layout())
        l->activate();
}

void frmMDIChild::mnuView_ControlChars_Click()
{
    TXTextControl1->setControlChars(!TXTextControl1->ControlChars());
}

void frmMDIChild::mnuCurPos_Click()
{
    const InputPosition p = TXTextControl1->CurrentInputPosition();
    prompter().message(DocumentHost::frameWidget(), ShellRules::frameCaption(),
                       ShellRules::positionMessage(p), QMessageBox::Ok);
    TXTextControl1->setCurrentInputPosition(p);
    TXTextControl1->setFocus();
}

void frmMDIChild::mnuBrief_Click()
{
    AppState& app = appState();
    {
        frmBrief composer(app, DocumentHost::frameWidget());
        prompter().exec(&composer);
    }
    if (app.LetterCancelled) {
        app.LetterCancelled = false;
        NewDocument();
    } else if (!app.UseOwnTemplate) {
        BuildLetter();
    } else {
        app.UseOwnTemplate = false;
        BuildLetterFromTemplate();
    }
}

void frmMDIChild::BuildLetter()
{
    AppState& app = appState();
    if (app.LetterCancelled)
        return;
    frmMDIChild* w = NewDocument();
    if (!LetterAssembly::buildLetter(*w->surface(), app, QDate::currentDate()))
        warnAddressOutsideWindow();
}

void frmMDIChild::warnAddressOutsideWindow()
{
    prompter().message(DocumentHost::frameWidget(), QStringLiteral("Brief erstellen"),
                       AddressPlacement::letterheadTooLongText(), QMessageBox::Ok, Prompter::Icon::Exclamation);
}

void frmMDIChild::BuildLetterFromTemplate()
{
    AppState& app = appState();
    QString path = LetterTemplate::path(app);
    if (!LetterTemplate::existsAnywhere(app))
        LetterTemplate::reportMissing(DocumentHost::frameWidget(), app);
    frmMDIChild* w = DocumentFiles::LoadDocument(path, 3);
    // A failed load leaves the letter to the window that is active now; without one
    // it gets a new window rather than being lost.
    if (!w) {
        DocumentHost* frame = DocumentHost::instance();
        w = frame ? frame->activeDocument() : nullptr;
        if (!w)
            w = NewDocument();
    }
    w->setTitle(QStringLiteral("Unbenannt"));
    if (!LetterAssembly::buildOnTemplate(*w->surface(), app, QDate::currentDate()))
        warnAddressOutsideWindow();
}

void frmMDIChild::mnuEtiketten_Click()
{
    LabelMenus::showPicker(this);
    appState().LabelMode = false;
    appState().ToolbarRefreshOff = false;
}

void frmMDIChild::mnuEdit_Paste_Click()
{
    if (DocumentHost* f = DocumentHost::instance())
        f->EditPaste();
}

void frmMDIChild::mnuExtras_TextblockEdit_Click()
{
    frmBausteine editor(appState(), this);
    prompter().exec(&editor);
}

void frmMDIChild::mnuExtras_TextblockInsert_Click()
{
    frmBstEinfuegen insert(appState(), TXTextControl1, this);
    prompter().exec(&insert);
}
