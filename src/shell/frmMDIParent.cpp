#include "frmMDIParent.h"

#include "CrashRecovery.h"
#include "DocumentFiles.h"
#include "FormatDialogMenus.h"
#include "FormatKeys.h"
#include "FrameBars.h"
#include "FrameStart.h"
#include "FrameWindows.h"
#include "MainToolbar.h"
#include "PrintCommands.h"
#include "ShellRules.h"
#include "SpellOption.h"
#include "WaitCursor.h"
#include "frmMDIChild.h"

#include "app/AppState.h"
#include "app/Prompter.h"
#include "dialogs/FarbAuswahl.h"
#include "dialogs/clsPrintDialog.h"
#include "dialogs/frmPrintPreview.h"
#include "engine/spelling/SpellMarks.h"
#include "engine/surface/TextButtonBar.h"
#include "engine/surface/TextControl.h"
#include "addresses/AddressDatabase.h"
#include "engine/surface/TextStatusBar.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QToolBar>

static void initShellResources() { Q_INIT_RESOURCE(shell); }

frmMDIParent::frmMDIParent(const QString& commandLine, QWidget* parent)
    : QMainWindow(parent), m_commandLine(commandLine), m_startFolder(QDir::currentPath())
{
    initShellResources();
    setObjectName(QStringLiteral("frmMDIParent"));
    setWindowTitle(ShellRules::frameCaption());
    setWindowIcon(QIcon(QStringLiteral(":/icons/letter.svg")));
    setAcceptDrops(true);
    m_area = new QMdiArea(this);
    m_area->setObjectName(QStringLiteral("MDIArea"));
    m_area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_area->setBackground(QColor(0x80, 0x80, 0x80));
    setCentralWidget(m_area);
    connect(m_area, &QMdiArea::subWindowActivated, this, &frmMDIParent::onSubWindowActivated);
    buildBars();
    buildFrameMenu();
    frmPrintPreview::setPrintSetup([this] { PrintSetup(); });
    // Every editor checks spelling, also those of windows opened before any document.
    SpellMarks::setSetup(&SpellOption::attach);
    MDIForm_Load();
    new CrashRecovery(this);
    UpdateToolbar();
    resize(1000, 720);
}

frmMDIParent::~frmMDIParent()
{
    // The windows go after this object's own part; they must not call back into it.
    disconnect(m_area, nullptr, this, nullptr);
}

frmMDIParent* frmMDIParent::instance() { return static_cast<frmMDIParent*>(DocumentHost::instance()); }

void frmMDIParent::MDIForm_Load()
{
    // Without a database the message has been shown; the program ends.
    m_startAborted = !FrameStart::prepare(appState());
}

void frmMDIParent::buildBars()
{
    m_toolbar = MainToolbar::build(this);
    addToolBar(Qt::TopToolBarArea, m_toolbar);
    for (QAction* a : m_toolbar->actions()) {
        if (a->isSeparator())
            continue;
        const QString key = a->objectName();
        connect(a, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
    }
    FormatDialogMenus::connectToolbar(this);
    // Enabled only while a header or footer is being edited.
    for (const char* key : {"SwitchBetweenHeaderAndFooter",
                            "GoToFirstPage", "GoToDefault"})
        enable(key, false);

    // The editing component's formatting bar and status bar, shared by all windows.
    addToolBarBreak();
    m_buttonBar = new TextButtonBar(this);
    FormatKeys::describe(m_buttonBar);
    addToolBar(Qt::TopToolBarArea, m_buttonBar);
    m_statusBar = new TextStatusBar(this);
    setStatusBar(m_statusBar);
    m_database = new QLabel(m_statusBar);
    m_database->setObjectName(QStringLiteral("lblDatenbank"));
    m_statusBar->addPermanentWidget(m_database);
}

// The letter composer may switch the database; the frame is active again afterwards.
void frmMDIParent::showDatabase()
{
    const QString path = AddressDatabase::displayName(appState().AddressDbPath);
    m_database->setText(path.isEmpty() ? QString() : QStringLiteral("Adressen: ") + path);
    m_database->setToolTip(QStringLiteral("Adressen-Datenbank, die in Gebrauch ist"));
}

void frmMDIParent::buildFrameMenu()
{
    m_fileMenu = FrameBars::buildFileMenu(this);
    menuBar()->addMenu(m_fileMenu);
}

// --- Activation and the first document -------------------------------------------

bool frmMDIParent::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate)
        showDatabase();
    if (e->type() == QEvent::WindowActivate && !m_activated)
        QTimer::singleShot(0, this, &frmMDIParent::MDIForm_Activate);
    return QMainWindow::event(e);
}

void frmMDIParent::showEvent(QShowEvent* e)
{
    QMainWindow::showEvent(e);
    showDatabase();
    // Not every platform activates a window on show (offscreen, some window managers).
    if (!m_activated)
        QTimer::singleShot(0, this, &frmMDIParent::MDIForm_Activate);
}

void frmMDIParent::MDIForm_Activate()
{
    if (m_activated)
        return;
    m_activated = true;
    FrameStart::openFirstDocument(this, m_commandLine, m_startFolder);
}

frmMDIChild* frmMDIParent::existingSharedWindow() const { return m_shared; }

frmMDIChild* frmMDIParent::sharedWindow()
{
    // Never shown: the letter and label commands open their results in windows of
    // their own, so no empty "Unbenannt" stands beside them.
    if (!m_shared) {
        m_shared = new frmMDIChild(this);
        m_shared->hide();
    }
    return m_shared;
}

// --- Windows ---------------------------------------------------------------------

frmMDIChild* frmMDIParent::activeDocument() const
{
    return qobject_cast<frmMDIChild*>(m_area->currentSubWindow());
}

QList<frmMDIChild*> frmMDIParent::documents() const
{
    QList<frmMDIChild*> list;
    for (QMdiSubWindow* sw : m_area->subWindowList())
        if (auto* w = qobject_cast<frmMDIChild*>(sw); w && !w->isHidden())
            list << w;
    return list;
}

bool frmMDIParent::IsDocumentActive() const
{
    frmMDIChild* w = activeDocument();
    return w && !w->isHidden();
}

TextControl* frmMDIParent::activeSurface() const
{
    frmMDIChild* w = activeDocument();
    return w && !w->isHidden() ? w->surface() : nullptr;
}

void frmMDIParent::onSubWindowActivated(QMdiSubWindow*)
{
    frmMDIChild* w = IsDocumentActive() ? activeDocument() : nullptr;
    if (!w && !documents().isEmpty())
        return; // the frame itself lost the focus; keep what is shown
    showMenusOf(w);
    setTextControl(w ? w->surface() : nullptr);
    UpdateToolbar();
}

void frmMDIParent::showMenusOf(frmMDIChild* w)
{
    if (w && w == m_menuOwner)
        return;
    m_menuOwner = w;
    menuBar()->clear();
    if (!w) {
        menuBar()->addMenu(m_fileMenu);
        return;
    }
    for (QMenu* m : w->menus())
        menuBar()->addMenu(m);
}

void frmMDIParent::documentClosed(frmMDIChild* w)
{
    if (m_menuOwner == w) {
        menuBar()->clear();
        m_menuOwner = nullptr;
    }
    if (m_surface == w->surface())
        setTextControl(nullptr);
    // The area activates the next window, if any, once this one is gone.
    QTimer::singleShot(0, this, [this] { onSubWindowActivated(nullptr); });
    UpdateToolbar();
}

void frmMDIParent::tileWindows(Qt::Orientation stack) { FrameWindows::tile(m_area, documents(), stack); }

void frmMDIParent::arrangeIcons() { FrameWindows::arrangeIcons(m_area, documents()); }

// --- Bars ------------------------------------------------------------------------

void frmMDIParent::enable(const char* key, bool on)
{
    if (QAction* a = m_toolbar->findChild<QAction*>(QLatin1String(key)))
        a->setEnabled(on);
}

void frmMDIParent::UpdateToolbar()
{
    TextControl* s = activeSurface();
    const bool active = s != nullptr;
    enable("Save", active);
    enable("Print", active);
    enable("PrintPreview", active);
    enable("Find", active);
    enable("Cut", active && s->CanCopy());
    enable("Copy", active && s->CanCopy());
    enable("Paste", active && s->CanPaste());
    enable("Undo", active && s->CanUndo());
    enable("Redo", active && s->CanRedo());
}

void frmMDIParent::setHeaderFooterButtons(bool inPart, bool firstPage, bool defaultPart)
{
    // The properties dialog is not built yet; its button stays off.
    enable("SwitchBetweenHeaderAndFooter", inPart);
    enable("GoToFirstPage", inPart && firstPage);
    enable("GoToDefault", inPart && defaultPart);
}

void frmMDIParent::setTextControl(TextControl* surface)
{
    if (m_surface == surface)
        return;
    m_surface = surface;
    m_buttonBar->setTextControl(surface);
    m_statusBar->setTextControl(surface);
}

// --- Toolbar ---------------------------------------------------------------------

void frmMDIParent::Toolbar1_ButtonClick(const QString& key) { FrameBars::runButton(this, key); }

void frmMDIParent::mnuFile_New_Click() { frmMDIChild::NewDocument(); }

// --- Printing --------------------------------------------------------------------

void frmMDIParent::PrintSetup() { PrintCommands::PrintSetup(m_printDialog, activeSurface(), this); }

void frmMDIParent::GetMDIChildCount()
{
    PrintSetup();
    if (appState().PrintCancelled)
        return;
    const int copies = m_printDialog->Copies() == 0 ? 1 : m_printDialog->Copies();
    QList<TextControl*> surfaces;
    for (frmMDIChild* w : documents())
        surfaces << w->surface();
    PrintCommands::PrintAll(surfaces, copies);
}

void frmMDIParent::ShowPreview()
{
    if (TextControl* s = activeSurface())
        frmPrintPreview::ShowPreview(s, this);
}
void frmMDIParent::mnuFile_Open_Click() { DocumentFiles::OpenDocument(); }

// --- Editing helpers -------------------------------------------------------------

void frmMDIParent::EditCut()
{
    if (TextControl* s = activeSurface())
        s->Clip(1);
}

void frmMDIParent::EditCopy()
{
    if (TextControl* s = activeSurface())
        s->Clip(2);
}

void frmMDIParent::EditPaste()
{
    if (TextControl* s = activeSurface())
        s->Clip(3);
}

void frmMDIParent::EditDelete()
{
    if (TextControl* s = activeSurface())
        s->Clip(4);
}

void frmMDIParent::EditFind(int mode)
{
    if (TextControl* s = activeSurface())
        s->FindReplace(mode);
}

void frmMDIParent::EditSelectAll()
{
    TextControl* s = activeSurface();
    if (!s)
        return;
    WaitCursor wait;
    s->setSelStart(0);
    s->setSelLength(-1);
}

void frmMDIParent::RunCalculator()
{
    const QString own = appState().ProgramFolder + QStringLiteral("Rechner");
    if (QFileInfo(own).isExecutable() && QProcess::startDetached(own, {}))
        return;
    for (const char* name : {"gnome-calculator", "kcalc", "galculator", "xcalc"}) {
        const QString exe = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!exe.isEmpty() && QProcess::startDetached(exe, {}))
            return;
    }
    prompter().message(this, ShellRules::frameCaption(),
                       QStringLiteral("Es wurde kein Taschenrechner gefunden.\r\nBitte installieren Sie einen "
                                      "Rechner, zum Beispiel gnome-calculator oder kcalc."),
                       QMessageBox::Ok, Prompter::Icon::Information);
}

void frmMDIParent::ChooseDocumentColour(int which)
{
    TextControl* s = activeSurface();
    if (!s)
        return;
    const QColor current = which == 1 ? s->ForeColor() : s->TextBkColor();
    QWidget* owner = m_shared ? static_cast<QWidget*>(m_shared) : this;
    const int rgb = FarbAuswahl::ShowColorDialog(owner, false);
    if (rgb == -1)
        return;
    const QColor chosen(rgb & 0xff, (rgb >> 8) & 0xff, (rgb >> 16) & 0xff);
    if (current.isValid() && chosen == current)
        return;
    if (which == 1)
        s->setForeColor(chosen);
    else
        s->setTextBkColor(chosen);
}

// --- Program end and drops -------------------------------------------------------

void frmMDIParent::closeEvent(QCloseEvent* e)
{
    if (FrameWindows::closeAll(m_area))
        e->accept();
    else
        e->ignore();
}

void frmMDIParent::dragEnterEvent(QDragEnterEvent* e)
{
    if (e->mimeData()->hasUrls())
        e->acceptProposedAction();
}

void frmMDIParent::dropEvent(QDropEvent* e)
{
    e->acceptProposedAction();
    OpenDroppedFiles(e->mimeData()->urls());
}

void frmMDIParent::OpenDroppedFiles(const QList<QUrl>& urls)
{
    if (!urls.isEmpty() && urls.first().isLocalFile())
        DocumentFiles::OpenDocument(urls.first().toLocalFile());
}
