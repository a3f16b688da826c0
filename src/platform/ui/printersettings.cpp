#include "platform/ui/printersettings.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace zav::platform {

namespace {

PrinterSettings::PrinterList &printerList()
{
    static PrinterSettings::PrinterList list;
    return list;
}

} // namespace

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

void PrinterSettings::apply(const PrinterSettings &chosen)
{
    if (chosen.printerName != printerName) {
        const QStringList installed = installedPrinters();
        for (const QString &name : installed) {
            if (name == chosen.printerName) {
                printerName = name;
                break;
            }
        }
    }
    orientation = chosen.orientation;
    pageSize = chosen.pageSize;
    resolution = chosen.resolution;
    copies = chosen.copies;
}

QStringList PrinterSettings::installedPrinters()
{
    if (printerList().names)
        return printerList().names();
    return QPrinterInfo::availablePrinterNames();
}

QString PrinterSettings::defaultPrinter()
{
    if (printerList().defaultName)
        return printerList().defaultName();
    return QPrinterInfo::defaultPrinterName();
}

void PrinterSettings::setPrinterList(PrinterList list)
{
    printerList() = std::move(list);
}

PrinterSettings &PrinterSettings::program()
{
    static PrinterSettings settings;
    return settings;
}

} // namespace zav::platform
