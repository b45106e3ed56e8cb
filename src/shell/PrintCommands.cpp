#include "PrintCommands.h"

#include "WaitCursor.h"

#include "app/AppState.h"
#include "app/Prompter.h"
#include "dialogs/clsPrintDialog.h"
#include "engine/pages/PagePrinter.h"
#include "engine/surface/TextControl.h"

#include <QApplication>
#include <QProgressDialog>

namespace PrintCommands {

namespace {

// Jobs with more sheets than this show a progress window.
constexpr int kProgressFrom = 8;

// Shows a progress window with "Abbrechen" while long jobs print, for its lifetime.
class PrintProgress {
public:
    explicit PrintProgress(const QString& jobName)
    {
        PagePrinter::setProgress([this, jobName](int sheet, int sheets) {
            if (sheets <= kProgressFrom)
                return true;
            if (!m_dialog) {
                m_dialog = std::make_unique<QProgressDialog>(
                    QString(), QStringLiteral("Abbrechen"), 0, sheets, QApplication::activeWindow());
                m_dialog->setObjectName(QStringLiteral("frmPrintProgress"));
                m_dialog->setWindowTitle(QStringLiteral("Drucken"));
                m_dialog->setWindowModality(Qt::ApplicationModal);
                m_dialog->setMinimumDuration(0);
                m_dialog->setAutoReset(false);
            }
            m_dialog->setLabelText(QStringLiteral("„%1“\nSeite %2 von %3 wird gedruckt ...")
                                       .arg(jobName)
                                       .arg(sheet)
                                       .arg(sheets));
            m_dialog->setValue(sheet - 1);
            QApplication::processEvents();
            return !m_dialog->wasCanceled();
        });
    }
    ~PrintProgress() { PagePrinter::setProgress({}); }
    PrintProgress(const PrintProgress&) = delete;
    PrintProgress& operator=(const PrintProgress&) = delete;

private:
    std::unique_ptr<QProgressDialog> m_dialog;
};

bool printOne(TextControl* surface, const QString& jobName, int copies, int first = 1, int last = 0)
{
    PrintProgress progress(jobName);
    return surface->PrintDoc(jobName, first, last > 0 ? last : surface->CurrentPages(), copies);
}

} // namespace

void PrintSetup(std::unique_ptr<clsPrintDialog>& dialog, TextControl* surface, QWidget* owner)
{
    dialog = std::make_unique<clsPrintDialog>();
    clsPrintDialog& d = *dialog;
    d.setPD_AllPages(true);
    d.setPD_Selection(false);
    d.setPD_PageNums(false);
    d.setPD_NoSelection(false);
    d.setPD_NoPageNums(false);
    d.setPD_Collate(false);
    d.setPD_PrintToFile(false);
    d.setPD_PrintSetup(true);
    d.setPD_NoWarning(false);
    d.setPD_ReturnDC(false);
    d.setPD_ReturnIC(false);
    d.setPD_ReturnDefault(false);
    d.setPD_HelpButton(false);
    d.setPD_UseDevModeCopies(false);
    d.setPD_DisablePrintToFile(false);
    d.setPD_HidePrintToFile(false);
    d.setPD_NONETWORKBUTTON(false);
    d.PDnFromPage = 1;
    d.PDnToPage = qint16(surface ? surface->CurrentPages() : 1);
    d.PDnMinPage = d.PDnFromPage;
    d.PDnMaxPage = d.PDnToPage;
    d.ShowPrinter(owner);
    AppState& app = appState();
    app.PrintCopies = d.Copies();
    app.PrintPage = d.PDnFromPage;
    app.PrintFromPage = d.PDnFromPage;
    app.PrintToPage = d.PDnToPage;
}

bool PrintDocument(TextControl* surface, int& copies, const QString& jobName, int first, int last)
{
    if (!surface)
        return false;
    if (copies == 0)
        copies = 1;
    WaitCursor wait;
    if (printOne(surface, jobName, copies, first, last) || PagePrinter::lastCancelled())
        return true;
    wait.restore();
    prompter().message(surface, QStringLiteral("Drucken"),
                       QStringLiteral("Das Dokument „%1“ konnte nicht gedruckt werden.\r\n"
                                      "Bitte prüfen Sie den Drucker.")
                           .arg(jobName));
    return false;
}

void PrintAll(const QList<TextControl*>& surfaces, int copies)
{
    WaitCursor wait;
    for (TextControl* s : surfaces) {
        if (!s)
            continue;
        if (!printOne(s, QStringLiteral("MyPrintJob"), copies) && PagePrinter::lastCancelled())
            break;
    }
}

} // namespace PrintCommands
