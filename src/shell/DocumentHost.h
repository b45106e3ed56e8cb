#pragma once
// What a document window asks of the frame that holds it. The frame knows its
// windows; a window knows only this, so neither header includes the other.

class QMdiArea;
class QWidget;
class frmMDIChild;

class DocumentHost {
public:
    // The frame of this run; null before it is created, after it is gone and in
    // headless runs that have no frame.
    static DocumentHost* instance();
    // The frame's widget, or null without a frame.
    static QWidget* frameWidget();

    // The frame as a parent for message boxes and for finding its bars.
    virtual QWidget* hostWidget() = 0;
    virtual QMdiArea* mdiArea() const = 0;
    virtual int documentCount() const = 0;
    virtual frmMDIChild* activeDocument() const = 0;
    virtual void PrintSetup() = 0;
    virtual void UpdateToolbar() = 0;
    virtual void EditPaste() = 0;
    virtual void documentClosed(frmMDIChild* w) = 0;

protected:
    DocumentHost();
    virtual ~DocumentHost();
    DocumentHost(const DocumentHost&) = delete;
    DocumentHost& operator=(const DocumentHost&) = delete;
};
