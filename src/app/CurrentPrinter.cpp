#include "CurrentPrinter.h"

#include <QPrinter>
#include <QPrinterInfo>
#include <memory>

namespace {
std::unique_ptr<QPrinter>& printerSlot()
{
    static std::unique_ptr<QPrinter> p;
    return p;
}

std::function<QStringList()>& printersSource()
{
    static std::function<QStringList()> f;
    return f;
}
} // namespace

QPrinter& currentPrinter()
{
    if (!printerSlot())
        printerSlot() = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printerSlot();
}

void resetCurrentPrinter() { printerSlot().reset(); }

QStringList installedPrinters()
{
    if (printersSource())
        return printersSource()();
    return QPrinterInfo::availablePrinterNames();
}

void setInstalledPrintersSource(std::function<QStringList()> source)
{
    printersSource() = std::move(source);
}
