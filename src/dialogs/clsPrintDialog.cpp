#include "clsPrintDialog.h"

#include "app/AppState.h"
#include "app/CurrentPrinter.h"
#include "app/Prompter.h"

#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace {
QString title() { return QStringLiteral("Drucken"); }
} // namespace

QString clsPrintDialog::CopyRight() const
{
    return QStringLiteral("Druckdialog der Textverarbeitung, alle Rechte vorbehalten");
}

void clsPrintDialog::setPD_AllPages(bool on)
{
    if (on)
        m_flags &= ~quint32(PageNums | Selection);
}

QString clsPrintDialog::ClipNullChar(const QString& text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

void clsPrintDialog::raiseError(qint32 code, QString description)
{
    bool cancel = false;
    if (DialogError)
        DialogError(code, description, cancel);
    if (code == NoDefaultPrinter) {
        prompter().message(nullptr, title(),
                           QStringLiteral("Es ist kein Drucker eingerichtet.\r\n\r\n"
                                          "Bitte richten Sie in den Systemeinstellungen einen "
                                          "Drucker ein. Als PDF-Datei speichern Sie ein Dokument "
                                          "mit „Datei › Export...“."),
                           QMessageBox::Ok, Prompter::Icon::Exclamation);
        return;
    }
    prompter().message(nullptr, title(),
                       cancel ? QStringLiteral("Das Drucken wurde abgebrochen.")
                              : QStringLiteral("Beim Drucken ist ein Fehler aufgetreten."));
}

void clsPrintDialog::ShowPrinter(QWidget* owner)
{
    m_cancelled = false;
    appState().PrintCancelled = false;
    QPrinter& printer = currentPrinter();
    // Without a print system Qt falls back to PDF output; with no file chosen that is
    // no printer at all.
    if (printer.outputFileName().isEmpty() && installedPrinters().isEmpty()) {
        raiseError(NoDefaultPrinter, QStringLiteral("Es ist kein Drucker eingerichtet."));
        // Nothing can be printed: the print commands stop as after a cancelled dialog.
        m_cancelled = true;
        appState().PrintCancelled = true;
        return;
    }

    PrintOptions options;
    options.minPage = qMax<int>(1, PDnMinPage);
    options.maxPage = qMax<int>(options.minPage, PDnMaxPage);
    options.pageRange = !PD_NoPageNums();
    options.selection = PD_Selection() && !PD_NoSelection();
    options.printToFile = !PD_DisablePrintToFile() && !PD_HidePrintToFile();
    printer.setCopyCount(PDnCopies > 0 ? PDnCopies : 1);
    if (PD_Collate())
        printer.setCollateCopies(true);
    const int from = qBound(options.minPage, int(PDnFromPage), options.maxPage);
    const int to = qBound(from, int(PDnToPage), options.maxPage);
    printer.setFromTo(from, to);
    printer.setPrintRange(PD_PageNums() ? QPrinter::PageRange
                          : PD_Selection() ? QPrinter::Selection
                                           : QPrinter::AllPages);

    if (!prompter().print(owner, &printer, options)) {
        m_cancelled = true;
        appState().PrintCancelled = true;
        return;
    }
    // "All pages" hands the range back as it was given.
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        PDnFromPage = qint16(printer.fromPage());
        PDnToPage = qint16(qMax(printer.fromPage(), printer.toPage()));
    }
    PDnMinPage = qint16(options.minPage);
    PDnMaxPage = qint16(options.maxPage);
    readDeviceSettings(printer);
}

void clsPrintDialog::readDeviceSettings(QPrinter& printer)
{
    m_fields = FOrientation | FPaperSize | FPaperLength | FPaperWidth | FCopies | FPrintQuality
             | FColor | FDuplex | FYResolution | FCollate | FFormName;
    m_deviceName = printer.printerName();
    const QPageLayout layout = printer.pageLayout();
    m_orientation = layout.orientation() == QPageLayout::Landscape ? 2 : 1;
    const QPageSize size = layout.pageSize();
    m_paperSize = qint16(size.windowsId());
    m_formName = ClipNullChar(size.name());
    // Tenths of a millimetre of the upright sheet; swapped while the printer is landscape.
    const QSizeF mm = size.size(QPageSize::Millimeter);
    const auto length = qint16(qRound(mm.height() * 10)), width = qint16(qRound(mm.width() * 10));
    m_paperLength = m_orientation == 1 ? length : width;
    m_paperWidth = m_orientation == 1 ? width : length;
    if (printer.copyCount() < 1)
        printer.setCopyCount(1);
    else
        m_copies = qint16(printer.copyCount());
    m_printQuality = qint16(printer.resolution());
    m_yResolution = qint16(printer.resolution());
    m_color = printer.colorMode() == QPrinter::Color ? 2 : 1;
    switch (printer.duplex()) {
    case QPrinter::DuplexNone: m_duplex = 1; break;
    case QPrinter::DuplexShortSide: m_duplex = 3; break;
    default: m_duplex = 2; break;
    }
    m_collate = printer.collateCopies() ? 1 : 0;
}

QString clsPrintDialog::GetDefaultPrinterName(QWidget*)
{
    const QStringList printers = installedPrinters();
    if (printers.isEmpty()) {
        raiseError(NoDefaultPrinter, QStringLiteral("Es ist kein Drucker eingerichtet."));
        return {};
    }
    const QString name = QPrinterInfo::defaultPrinterName();
    return ClipNullChar(printers.contains(name) ? name : printers.first());
}

void clsPrintDialog::ChangeDocProperties(const QString& deviceName, QWidget* owner)
{
    const QString name = ClipNullChar(deviceName);
    if (!installedPrinters().contains(name)) {
        // The print system's code for an unknown printer name.
        raiseError(1801, QStringLiteral("Fehler in ChangeDocProperties"));
        return;
    }
    QPrinter& current = currentPrinter();
    QPrinter other(QPrinterInfo::printerInfo(name), QPrinter::HighResolution);
    QPageSetupDialog dlg(current.printerName() == name ? &current : &other, owner);
    prompter().exec(&dlg);
}
