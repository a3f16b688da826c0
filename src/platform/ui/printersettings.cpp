#include "platform/ui/printersettings.h"

#include <QPrinter>

namespace zav::platform {

void PrinterSettings::applyTo(QPrinter &printer) const
{
    if (!printerName.isEmpty())
        printer.setPrinterName(printerName);
    printer.setPageOrientation(orientation);
    printer.setPageSize(pageSize);
    if (resolution > 0)
        printer.setResolution(resolution);
    printer.setCopyCount(copies);
}

PrinterSettings PrinterSettings::fromPrinter(const QPrinter &printer)
{
    PrinterSettings settings;
    settings.printerName = printer.printerName();
    settings.orientation = printer.pageLayout().orientation();
    settings.pageSize = printer.pageLayout().pageSize();
    settings.resolution = printer.resolution();
    settings.copies = printer.copyCount();
    return settings;
}

PrinterSettings &PrinterSettings::program()
{
    static PrinterSettings settings;
    return settings;
}

} // namespace zav::platform
