#include "SerialMenus.h"

#include "DocumentFiles.h"
#include "PrintCommands.h"
#include "frmMDIChild.h"
#include "frmMDIParent.h"

#include "app/AppState.h"
#include "output/frmSerienKontorix.h"

#include <QAction>
#include <QPointer>

namespace SerialMenus {

namespace {

SerialDocument documentOf(frmMDIChild* w) { return {w->surface(), w->Title()}; }

} // namespace

void connect(frmMDIChild* window)
{
    for (const char* name : {"mnuExtras_Serienbrief", "mnuInsert_Serienbrief"})
        if (auto* a = window->findChild<QAction*>(QLatin1String(name)))
            QObject::connect(a, &QAction::triggered, window, [] { open(); });
}

frmSerienKontorix* open()
{
    static QPointer<frmSerienKontorix> shown;
    if (!shown) {
        shown = new frmSerienKontorix(appState(), host(), frmMDIParent::instance());
        shown->setAttribute(Qt::WA_DeleteOnClose);
    }
    shown->show();
    shown->raise();
    shown->activateWindow();
    return shown;
}

SerialHost host()
{
    SerialHost h;
    h.newDocument = [] { return documentOf(frmMDIChild::NewDocument()); };
    h.openTemplate = [](const QString& path) {
        QString file = path;
        frmMDIChild* w = DocumentFiles::LoadDocument(file, 3);
        if (!w) {
            frmMDIParent* frame = frmMDIParent::instance();
            w = frame ? frame->activeDocument() : nullptr;
            if (!w)
                w = frmMDIChild::NewDocument();
        }
        w->setTitle(QStringLiteral("Unbenannt"));
        return documentOf(w);
    };
    h.printSetup = [] {
        if (frmMDIParent* f = frmMDIParent::instance())
            f->PrintSetup();
        else
            appState().PrintCancelled = true;
    };
    h.printFirstPage = [](const SerialDocument& doc) {
        int copies = 1;
        return PrintCommands::PrintDocument(doc.surface, copies, doc.caption, 1, 1);
    };
    return h;
}

} // namespace SerialMenus
