#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <QStringList>

#include <functional>

class QPrinter;

namespace zav::platform {

/**
 * @brief The program's printer: which printer, orientation, paper size, print quality and copies.
 *
 * The page set-up fills it; every print run applies it to the QPrinter it prints on. Margins are
 * not part of it: each report lays out its own.
 */
struct PrinterSettings
{
    QString printerName; ///< empty = the system's default printer
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QPageSize pageSize = QPageSize(QPageSize::A4);
    int resolution = 0; ///< print quality in dots per inch; 0 = the printer's own
    int copies = 1;

    bool operator==(const PrinterSettings &other) const = default;

    /** @brief Sets a printer to these settings. */
    void applyTo(QPrinter &printer) const;
    /** @brief The settings a printer holds. */
    static PrinterSettings fromPrinter(const QPrinter &printer);

    /**
     * @brief Takes what a page set-up chose: the chosen printer, by its whole name, when it
     * differs from this one's and an installed printer bears exactly that name (the first one
     * that does); otherwise the printer stays. The orientation, paper size, print quality and
     * copies chosen are taken in any case.
     */
    void apply(const PrinterSettings &chosen);

    /** @brief The program's printer settings, one for the whole program. */
    static PrinterSettings &program();

    /** @brief The names of the installed printers, in the system's order. */
    static QStringList installedPrinters();
    /** @brief The name of the system's default printer; empty when there is none. */
    static QString defaultPrinter();
    /** @brief What lists the installed printers and names the default one. */
    struct PrinterList
    {
        std::function<QStringList()> names;
        std::function<QString()> defaultName;
    };
    /** @brief Replaces the system's list of printers (tests); empty functions restore it. */
    static void setPrinterList(PrinterList list);
};

} // namespace zav::platform
