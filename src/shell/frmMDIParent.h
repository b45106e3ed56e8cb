#pragma once
// The main frame: the program's one top-level window. It works out the folders at
// load, opens the first document on its first activation, owns the toolbar, the
// formatting bar and the status bar that all document windows share, and carries
// the application-wide editing helpers that act on the active document.

#include "DocumentHost.h"

#include <QMainWindow>
#include <QPointer>
#include <QUrl>
#include <memory>

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class TextButtonBar;
class TextStatusBar;
class TextControl;
class frmMDIChild;
class clsPrintDialog;

class frmMDIParent : public QMainWindow, public DocumentHost {
    Q_OBJECT
public:
    // `commandLine` is the program's arguments joined by blanks.
    explicit frmMDIParent(const QString& commandLine = {}, QWidget* parent = nullptr);
    ~frmMDIParent() override;

    // The frame of this run; null before it is created and after it is gone.
    static frmMDIParent* instance();

    QWidget* hostWidget() override { return this; }
    QMdiArea* mdiArea() const override { return m_area; }
    // The frame's active document window (also while a dialog has the focus).
    frmMDIChild* activeDocument() const override;
    QList<frmMDIChild*> documents() const;
    int documentCount() const override { return int(documents().size()); }
    // The reusable document window of the letter and label commands; created on first
    // use and never shown (it owns the file and colour dialogs).
    frmMDIChild* sharedWindow();
    frmMDIChild* existingSharedWindow() const;

    bool IsDocumentActive() const;
    // The editing surface of the active document window; null when there is none.
    TextControl* activeSurface() const;
    bool firstActivationDone() const { return m_activated; }
    // True when the start found no address database and the program must end.
    bool startAborted() const { return m_startAborted; }

    // Shows a fresh print dialog for the active document and writes the program-wide
    // print settings; everything that prints runs it first.
    void PrintSetup() override;
    // The dialog object of the last PrintSetup; null before the first.
    clsPrintDialog* printDialog() const { return m_printDialog.get(); }
    // "Drucken alle": prints every open document window.
    void GetMDIChildCount();
    // Print preview of the active document.
    void ShowPreview();

    // Ties the formatting bar and the status bar to `surface` (null: none).
    void setTextControl(TextControl* surface);
    // Header/footer buttons as the active window's header/footer events decide.
    void setHeaderFooterButtons(bool inPart, bool firstPage, bool defaultPart);

    // Tiles the windows in rows (Qt::Vertical: one above the other) or in columns.
    void tileWindows(Qt::Orientation stack);
    void arrangeIcons();
    // Called by a document window once it has passed its close check.
    void documentClosed(frmMDIChild* w) override;

public Q_SLOTS:
    void MDIForm_Activate();
    void UpdateToolbar() override;
    void Toolbar1_ButtonClick(const QString& key);
    void mnuFile_New_Click();
    void mnuFile_Open_Click();
    // Files dropped on the frame: the first one is opened.
    void OpenDroppedFiles(const QList<QUrl>& urls);

    void EditCut();
    void EditCopy();
    void EditPaste() override;
    void EditDelete();
    void EditFind(int mode);
    void EditSelectAll();
    void RunCalculator();
    void ChooseDocumentColour(int which);

protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    void MDIForm_Load();
    void buildFrameMenu();
    void buildBars();
    void onSubWindowActivated(QMdiSubWindow* sw);
    void showMenusOf(frmMDIChild* w);
    void enable(const char* key, bool on);
    void showDatabase();

    QMdiArea* m_area = nullptr;
    QToolBar* m_toolbar = nullptr;
    TextButtonBar* m_buttonBar = nullptr;
    TextStatusBar* m_statusBar = nullptr;
    QLabel* m_database = nullptr;
    QMenu* m_fileMenu = nullptr;
    QPointer<frmMDIChild> m_shared;
    QPointer<frmMDIChild> m_menuOwner;
    QPointer<TextControl> m_surface;
    std::unique_ptr<clsPrintDialog> m_printDialog;
    QString m_commandLine;
    QString m_startFolder;
    bool m_activated = false;
    bool m_startAborted = false;
};
