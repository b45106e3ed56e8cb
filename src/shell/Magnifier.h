#pragma once
// The magnifier ("Lupe") of a document window: while it is on, the text under the
// mouse is selected and shown enlarged in a second, borderless surface beside the
// mouse (`TXTextControl3`).

#include <QObject>
#include <QPoint>

class frmMDIChild;
class TextControl;

class Magnifier : public QObject {
    Q_OBJECT
public:
    explicit Magnifier(frmMDIChild* window);

    TextControl* lens() const { return TXTextControl3; }
    // "Lupe": switches the window's magnifier.
    void mnuLupe_Click();
    // A mouse movement over the main surface, in its viewport's pixels.
    void follow(QPoint pos);

private:
    frmMDIChild* m_window;
    TextControl* TXTextControl3;
};
