#include "frmMDIChild.h"

#include "ChildMenus.h"
#include "DocumentFiles.h"
#include "EditorCommands.h"
#include "EnvelopeMenus.h"
#include "FileAssociation.h"
#include "FileDropFilter.h"
#include "FormatDialogMenus.h"
#include "InfoMenus.h"
#include "LabelMenus.h"
#include "PrintCommands.h"
#include "SerialMenus.h"
#include "ShellRules.h"
#include "frmMDIParent.h"

#include "app/AppState.h"
#include "app/Folders.h"
#include "app/Prompter.h"
#include "dialogs/frmPageDlg.h"
#include "engine/Document.h"
#include "engine/TextControl.h"
#include "engine/TextRuler.h"
#include "letters/LetterAssembly.h"
#include "letters/LetterTemplate.h"
#include "letters/frmBrief.h"
#include "textblocks/frmBausteine.h"
#include "textblocks/frmBstEinfuegen.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDate>
#include <QDesktopServices>
#include <QMdiArea>
#include <QLayout>
#include <QMenu>
#include <QToolBar>
#include <QStatusBar>
#include <QUrl>
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
    connectSurface();
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
    frmMDIParent* f = frmMDIParent::instance();
    if (!f)
        return;
    f->PrintSetup();
    if (appState().PrintCancelled)
        return;
    // The whole document; the copies stay with the printer. The dialog's page range
    // is kept in the print settings for the preview, which prints page by page.
    int copies = 1;
    PrintCommands::PrintDocument(TXTextControl1, copies, m_title);
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
    if (frmMDIParent* frame = frmMDIParent::instance())
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
    frmMDIParent* frame = frmMDIParent::instance();
    if (frame) {
        // Each new window a step below and right of the one before, inside the area.
        const int step = 26 * int(frame->documents().size() % 8);
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
    auto frameCall = [](auto member) {
        return [member] {
            if (frmMDIParent* f = frmMDIParent::instance())
                (f->*member)();
        };
    };
    for (QMenu* m : m_menus) {
        if (m->objectName() == QLatin1String("mnuEdit"))
            connect(m, &QMenu::aboutToShow, this, &frmMDIChild::mnuEdit_Click);
        if (m->objectName() == QLatin1String("mnuView"))
            connect(m, &QMenu::aboutToShow, this, &frmMDIChild::mnuView_Click);
        if (m->objectName() == QLatin1String("mnuWindow"))
            connect(m, &QMenu::aboutToShow, this, &frmMDIChild::mnuWindow_Click);
    }
    // File menu.
    on("mnuFile_New", [] { frmMDIChild::NewDocument(); });
    on("mnuFile_Open", [] { DocumentFiles::OpenDocument(); });
    on("mnuFile_Close", [] {
        if (frmMDIParent* f = frmMDIParent::instance())
            f->mdiArea()->closeActiveSubWindow();
    });
    on("mnuFile_Save", [] { DocumentFiles::SaveActiveDocument(); });
    on("mnuFile_SaveAs", [] { DocumentFiles::SaveActiveDocumentAs(); });
    on("mnuFile_Export", [] { DocumentFiles::ExportActiveDocument(); });
    on("mnuFile_PageSetup", [this] { frmPageDlg::edit(TXTextControl1, Unit, this); });
    on("mnuFile_PrintPreview", frameCall(&frmMDIParent::ShowPreview));
    on("mnuFile_Print", &frmMDIChild::mnuFile_Print_Click);
    on("mnuFile_PrintAll", frameCall(&frmMDIParent::GetMDIChildCount));
    on("mnuCommand", [] {
        // The result is not shown, as with every file-association failure.
        FileAssociation::RegisterFileType(
            QStringLiteral(".txm"), QStringLiteral("Textdokument"), QStringLiteral("QX-Text.exe"),
            QLatin1Char('"') + QCoreApplication::applicationFilePath() + QStringLiteral("\" %1"));
    });
    on("mnuFile_Exit", [] {
        if (frmMDIParent* f = frmMDIParent::instance())
            f->close();
    });
    // Edit menu.
    on("mnuEdit_Undo", [this] { TXTextControl1->Undo(); });
    on("mnuEdit_Redo", [this] { TXTextControl1->Redo(); });
    on("mnuEdit_Cut", frameCall(&frmMDIParent::EditCut));
    on("mnuEdit_Copy", frameCall(&frmMDIParent::EditCopy));
    on("mnuEdit_Paste", frameCall(&frmMDIParent::EditPaste));
    on("mnuEdit_Delete", frameCall(&frmMDIParent::EditDelete));
    on("mnuEdit_Find", [] {
        if (frmMDIParent* f = frmMDIParent::instance())
            f->EditFind(1);
    });
    on("mnuEdit_Replace", [] {
        if (frmMDIParent* f = frmMDIParent::instance())
            f->EditFind(2);
    });
    on("mnuEdit_SelectAll", frameCall(&frmMDIParent::EditSelectAll));
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
    // Insert, format and extras items of this area.
    on("mnuInsert_Text", [] { DocumentFiles::InsertTextFile(); });
    on("mnuInsert_Vorlage", [this] { DocumentFiles::OpenTemplate(this); });
    on("mnuFormat_TextColour", [] {
        if (frmMDIParent* f = frmMDIParent::instance())
            f->ChooseDocumentColour(1);
    });
    on("mnuFormat_BackColour", [] {
        if (frmMDIParent* f = frmMDIParent::instance())
            f->ChooseDocumentColour(2);
    });
    on("mnuBrief", &frmMDIChild::mnuBrief_Click);
    on("mnuExtras_Calculator", frameCall(&frmMDIParent::RunCalculator));
    on("mnuCurPos", &frmMDIChild::mnuCurPos_Click);
    on("mnuExtras_TextblockEdit", &frmMDIChild::mnuExtras_TextblockEdit_Click);
    on("mnuExtras_TextblockInsert", &frmMDIChild::mnuExtras_TextblockInsert_Click);
    LabelMenus::connect(this);
    on("mnuInsert_Textbaustein", &frmMDIChild::mnuExtras_TextblockInsert_Click);
    SerialMenus::connect(this);
    EnvelopeMenus::connect(this);
    FormatDialogMenus::connectMenus(this);
    InfoMenus::connect(this);
    // Window menu.
    auto arrange = [this](auto member) {
        return [this, member] {
            if (QMdiArea* area = mdiArea())
                (area->*member)();
        };
    };
    on("mnuWindow_Cascade", arrange(&QMdiArea::cascadeSubWindows));
    on("mnuWindow_TileH", [this] {
        if (frmMDIParent* f = frmMDIParent::instance())
            f->tileWindows(Qt::Vertical);
    });
    on("mnuWindow_TileV", [this] {
        if (frmMDIParent* f = frmMDIParent::instance())
            f->tileWindows(Qt::Horizontal);
    });
    on("mnuWindow_Arrange", [this] {
        if (frmMDIParent* f = frmMDIParent::instance())
            f->arrangeIcons();
    });
    EditorCommands::connect(this);
}

void frmMDIChild::connectSurface()
{
    TextControl* s = TXTextControl1;
    // A file dropped on the text opens as a document, as on the frame.
    s->viewport()->installEventFilter(
        new FileDropFilter(this, [](const QString& path) { DocumentFiles::OpenDocument(path); }));
    connect(s, &TextControl::Change, this, [this] { DirtyFlag = true; });
    connect(s, &TextControl::PosChange, this, [] {
        frmMDIParent* f = frmMDIParent::instance();
        if (f && !appState().ToolbarRefreshOff)
            f->UpdateToolbar();
    });
    connect(s, &TextControl::KeyDown, this, [this](int key, Qt::KeyboardModifiers mods) {
        if (key == Qt::Key_Insert &&
            !(mods & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)))
            TXTextControl1->setInsertionMode(!TXTextControl1->InsertionMode());
    });
    connect(s, &TextControl::MouseDown, this, &frmMDIChild::onMouseDown);
    connect(s, &TextControl::UserActivated, this, [this] {
        if (QMdiArea* area = mdiArea())
            area->setActiveSubWindow(this);
    });
    connect(s, &TextControl::HeaderFooterActivated, this, [this](int n) {
        const bool firstPageParts = (TXTextControl1->HeaderFooterSet() & (2 | 8)) != 0;
        if (frmMDIParent* f = frmMDIParent::instance())
            f->setHeaderFooterButtons(true, (n == 1 || n == 4) && firstPageParts, n == 2 || n == 8);
        HeaderFooterActive = n;
    });
    connect(s, &TextControl::HeaderFooterLeft, this, [] {
        if (frmMDIParent* f = frmMDIParent::instance())
            f->setHeaderFooterButtons(false, false, false);
    });
    connect(s, &TextControl::HyperlinkClicked, this, [](const QString& target) {
        if (!target.isEmpty())
            QDesktopServices::openUrl(QUrl::fromUserInput(target));
    });
}

void frmMDIChild::activateHeaderFooter(int part)
{
    // The one place that moves editing into a header or footer part; the surface
    // reports the result through its header/footer notifications.
    TXTextControl1->HeaderFooterActivate(part);
}

void frmMDIChild::onMouseDown(Qt::MouseButton button, QPoint pos)
{
    raise();
    if (button == Qt::RightButton && TXTextControl1->ObjectSelected() != 0) {
        FormatDialogMenus::showImageDialog(this);
    } else if (button == Qt::RightButton) {
        for (QMenu* m : m_menus)
            if (m->objectName() == QLatin1String("mnuEdit"))
                m->popup(TXTextControl1->viewport()->mapToGlobal(pos));
    }
    updateMagnifierCaption();
}

void frmMDIChild::updateMagnifierCaption()
{
    if (QAction* a = action("mnuLupe"))
        a->setText(m_magnifier ? QStringLiteral("Lupe ausschalten")
                               : QStringLiteral("Lupe einschalten"));
}

bool frmMDIChild::Form_QueryUnload()
{
    if (!DirtyFlag)
        return true;
    const auto answer = prompter().message(
        frmMDIParent::instance(), ShellRules::frameCaption(), ShellRules::closeQuestion(m_title),
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
        if (frmMDIParent* f = frmMDIParent::instance())
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

void frmMDIChild::mnuEdit_Click()
{
    const int undo = TXTextControl1->UndoKind();
    const int redo = TXTextControl1->RedoKind();
    QAction* u = action("mnuEdit_Undo");
    QAction* r = action("mnuEdit_Redo");
    u->setText(ShellRules::undoCaption(undo));
    r->setText(ShellRules::redoCaption(redo));
    u->setEnabled(undo != 0);
    r->setEnabled(redo != 0);
    const bool canCopy = TXTextControl1->CanCopy();
    action("mnuEdit_Cut")->setEnabled(canCopy);
    action("mnuEdit_Copy")->setEnabled(canCopy);
    action("mnuEdit_Paste")->setEnabled(TXTextControl1->CanPaste());
}

void frmMDIChild::mnuView_Click()
{
    action("mnuView_HeaderFooter")->setEnabled(TXTextControl1->ViewMode() != 0);
    const int zoom = TXTextControl1->ZoomFactor();
    for (int i = 1; i <= 11; ++i) {
        QAction* a = findChild<QAction*>(QStringLiteral("mnuView_ZoomItem(%1)").arg(i));
        a->setChecked(ShellRules::zoomFromCaption(a->text()) == zoom);
    }
}

void frmMDIChild::mnuWindow_Click()
{
    QMenu* menu = findChild<QMenu*>(QStringLiteral("mnuWindow"));
    for (QAction* a : std::as_const(m_windowList))
        delete a;
    m_windowList.clear();
    QMdiArea* area = mdiArea();
    if (!menu || !area)
        return;
    m_windowList << menu->addSeparator();
    int n = 0;
    for (QMdiSubWindow* sw : area->subWindowList()) {
        if (!sw->isVisible() && !sw->isMinimized())
            continue;
        QAction* a = menu->addAction(QStringLiteral("&%1 %2").arg(++n).arg(sw->windowTitle()));
        a->setObjectName(QStringLiteral("mnuWindowList(%1)").arg(n));
        a->setCheckable(true);
        a->setChecked(sw == area->currentSubWindow());
        QPointer<QMdiSubWindow> target(sw);
        connect(a, &QAction::triggered, this, [area, target] {
            if (target)
                area->setActiveSubWindow(target);
        });
        m_windowList << a;
    }
}

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
    frmMDIParent* f = frmMDIParent::instance();
    if (!a || !f)
        return;
    QWidget* bar = nullptr;
    if (a->objectName() == QLatin1String("mnuView_Toolbar"))
        bar = f->findChild<QToolBar*>(QStringLiteral("Toolbar1"));
    else if (a->objectName() == QLatin1String("mnuView_FormatBar"))
        bar = f->findChild<QToolBar*>(QStringLiteral("TXButtonBar1"));
    else
        bar = f->findChild<QStatusBar*>(QStringLiteral("TXStatusBar1"));
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
    prompter().message(frmMDIParent::instance(), ShellRules::frameCaption(),
                       ShellRules::positionMessage(p), QMessageBox::Ok);
    TXTextControl1->setCurrentInputPosition(p);
    TXTextControl1->setFocus();
}

void frmMDIChild::mnuBrief_Click()
{
    AppState& app = appState();
    {
        frmBrief composer(app, frmMDIParent::instance());
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
    LetterAssembly::buildLetter(*w->surface(), app, QDate::currentDate());
}

void frmMDIChild::BuildLetterFromTemplate()
{
    AppState& app = appState();
    QString path = LetterTemplate::path(app);
    if (!LetterTemplate::existsAnywhere(app))
        LetterTemplate::reportMissing(frmMDIParent::instance(), app);
    frmMDIChild* w = DocumentFiles::LoadDocument(path, 3);
    // A failed load leaves the letter to the window that is active now; without one
    // it gets a new window rather than being lost.
    if (!w) {
        frmMDIParent* frame = frmMDIParent::instance();
        w = frame ? frame->activeDocument() : nullptr;
        if (!w)
            w = NewDocument();
    }
    w->setTitle(QStringLiteral("Unbenannt"));
    LetterAssembly::buildOnTemplate(*w->surface(), app, QDate::currentDate());
}

void frmMDIChild::mnuEtiketten_Click()
{
    LabelMenus::showPicker(this);
    appState().LabelMode = false;
    appState().ToolbarRefreshOff = false;
}

void frmMDIChild::mnuEdit_Paste_Click()
{
    if (frmMDIParent* f = frmMDIParent::instance())
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
