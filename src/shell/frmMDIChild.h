#pragma once
// A document window: one document in an editing surface, its title (the path), its
// modified flag and the menu bar the frame shows while it is active.

#include <QMdiSubWindow>
#include <QPointer>

class QMenu;
class TextRuler;
class TextControl;

class frmMDIChild : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit frmMDIChild(QWidget* parent = nullptr);
    ~frmMDIChild() override;

    // A new empty window titled "Unbenannt", shown in the frame.
    static frmMDIChild* NewDocument();

    TextControl* surface() const { return TXTextControl1; }
    QWidget* ruler() const;
    // The menus shown in the frame's menu bar while this window is active.
    const QList<QMenu*>& menus() const { return m_menus; }

    // The displayed title: "Unbenannt", "Etiketten" or the path of the file.
    QString Title() const { return m_title; }
    // The file the document was loaded from or saved to; empty when it has none.
    QString FilePath() const { return m_filePath; }
    void setTitle(const QString& title, const QString& filePath = {});

    // Adds the window to the frame and shows it.
    void showDocument();

    bool DirtyFlag = false;
    int HeaderFooterActive = 0;
    // Unit of the page setup: 1 inch, 2 centimetre.
    int Unit = 2;
    bool magnifierOn() const { return m_magnifier; }
    void setMagnifierOn(bool on)
    {
        m_magnifier = on;
        updateMagnifierCaption();
    }

    // The header/footer part `part` becomes the one being edited.
    void activateHeaderFooter(int part);

    // Prints this document once (the mail merge prints each letter through it).
    bool SerienDruck();

    // The close check; true when the window may close.
    bool Form_QueryUnload();

    // The letter from LetterData in a new "Unbenannt" window: with the letterhead
    // written from the sender fields, or behind the template "Briefkopf.txm".
    void BuildLetter();
    void BuildLetterFromTemplate();

public Q_SLOTS:
    void mnuEdit_Click();
    void mnuView_Click();
    void mnuWindow_Click();
    void mnuView_Layout_Click(int index);
    void mnuView_ZoomItem_Click(int index);
    void mnuView_Bar_Click();
    void mnuView_Ruler_Click();
    void mnuView_ControlChars_Click();
    void mnuCurPos_Click();
    void mnuInfoFeld_Click();
    void mnuExtras_TextblockEdit_Click();
    void mnuExtras_TextblockInsert_Click();
    void mnuBrief_Click();
    void mnuEtiketten_Click();
    void mnuEdit_Paste_Click();
    void mnuFile_Print_Click();

protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    // A letterhead too long for the address window above the address.
    static void warnAddressOutsideWindow();
    void Form_Load();
    void connectMenus();
    void updateMagnifierCaption();
    QAction* action(const char* name) const;

    TextControl* TXTextControl1 = nullptr;
    TextRuler* TXRuler1 = nullptr;
    QList<QMenu*> m_menus;
    QList<QAction*> m_windowList;
    QString m_title;
    QString m_filePath;
    bool m_magnifier = false;
};
